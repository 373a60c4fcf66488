// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The status of one analysis or evaluation, handed by reference to every
// stage that can fail: the compiler, the interpreter, the operators and the
// functions with their routines. Nothing in the engine keeps such status
// anywhere else, so a second evaluator shares these rules by taking the same
// context.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <string>

#include "engine/engine_state.h"
#include "engine/extended.h"

namespace engine {

class FunctionMemo;

// Values of a costly routine kept for its next calls with the same argument,
// the oldest replaced first.
class ValueMemo {
 public:
  // The value kept for key, or null.
  const Extended* Find(Extended key) const {
    for (std::size_t i = 0; i < used_; ++i) {
      if (keys_[i] == key) return &values_[i];
    }
    return nullptr;
  }
  void Keep(Extended key, Extended value) {
    ++kept_;
    keys_[next_] = key;
    values_[next_] = value;
    next_ = (next_ + 1) % kSize;
    if (used_ < kSize) ++used_;
  }
  // How many values were kept so far: each one was computed at full cost.
  std::size_t KeptCount() const { return kept_; }

 private:
  static constexpr std::size_t kSize = 8;
  std::array<Extended, kSize> keys_{};
  std::array<Extended, kSize> values_{};
  std::size_t used_ = 0;
  std::size_t next_ = 0;
  std::size_t kept_ = 0;
};

// e, 0x4000 ADF85458A2BB4A9B: the value of the constant E, from its bits, as
// exp(1) would depend on the host's rounding mode.
inline const Extended ExtE = ExtendedFromBits(0x4000, 0xADF85458A2BB4A9BULL);

struct RunContext {
  // True while the running analysis or evaluation has not failed.
  bool Ok = true;
  // A routine's error or warning text; the end of each operator and function
  // step (EndStep) moves it into the caller's message.
  std::string Pending;
  // The message of a constant's evaluation while compiling, also written by
  // CheckParentheses.
  std::string ConstantMessage;
  // Nesting depth of constant evaluation inside the compiler.
  int ConstantDepth = 0;
  // The value of the constant E; set to e whenever a TParserDeclarations is
  // created.
  Extended E = ExtE;
  // Set during a batch of evaluations of one program: the one-argument
  // built-in functions reuse the results they gave before (function_memo.h).
  FunctionMemo* Memo = nullptr;
  // GAMMA's product of 100,000 factors by the reduced argument it depends on
  // alone: a term often needs the same one several times (a user function
  // puts its argument in once for each use of the parameter), and so do the
  // evaluations that follow.
  ValueMemo GammaProducts;

  // Reports an error the way every routine does: message, and the run fails.
  void Fail(const char* message) {
    Pending = message;
    Ok = false;
  }
  // A warning: the message, and the run goes on.
  void Warn(const char* message) { Pending = message; }
};

// The end of an operator or function step. A math failure (a floating-point
// failure flag the step raised) fails the run with the general message, which
// outranks any message a routine left before it. Otherwise the routine's
// pending message becomes the caller's message, or the caller's message is
// emptied when there is none. Nothing stays pending afterwards. message may
// be null (a step run without a caller's text).
inline void EndStep(RunContext& context, bool mathFailure, std::string* message) {
  if (mathFailure) {
    context.Ok = false;
    context.Pending.clear();
    if (message != nullptr) *message = MsgGeneral;
  } else if (!context.Pending.empty()) {
    if (message != nullptr) *message = context.Pending;
    context.Pending.clear();
  } else if (message != nullptr) {
    message->clear();
  }
}

// The context of the parsers on the calling thread. Each thread has its own,
// so threads that each own a parser do not disturb each other; one thread
// sees the status of its last analysis or evaluation here, as the engine has
// always kept it.
RunContext& ThreadRunContext();

}  // namespace engine
