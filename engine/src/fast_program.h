// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The fast execution form of a compiled program: built from the postfix
// program for a term that is evaluated again and again, and run instead of the
// interpreter where it can decide the outcome alone.
//
// The interpreter stays the reference. A fast run either gives exactly what
// the interpreter would give for a successful run (the same value bit for
// bit, status 0, no message), or it declines and the caller runs the
// interpreter, which then decides everything: failures, messages, warnings.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/extended.h"
#include "engine/program_format.h"
#include "executable_code.h"

namespace engine {

struct RunContext;

class FastProgram {
 public:
  FastProgram() = default;
  FastProgram(const FastProgram&) = delete;
  FastProgram& operator=(const FastProgram&) = delete;

  // Translates program. false, leaving an empty form that declines every run,
  // when the program holds anything left to the interpreter: random
  // functions (a declined run would draw twice), unknown codes, a stack that
  // would run empty, a result that is not a single value, or the 500th
  // record.
  // When a form without routines is made into machine code (see
  // fast_program_native.cpp), where the platform allows. Making it costs as
  // much as thousands of runs save, so by default it waits until the form
  // has run that often; tests choose either way.
  enum class MachineCode : std::uint8_t { AfterManyRuns, Now, Never };
  static constexpr std::uint32_t kRunsBeforeMachineCode = 16384;
  // Once made, the code waits in the shared code arena until its page is
  // closed (executable_code.h); after this many more runs the form closes
  // the page itself, giving up the rest of it.
  static constexpr std::uint32_t kRunsBeforeClosingPage = 4096;
  bool Build(const TProgram& program, MachineCode machineCode = MachineCode::AfterManyRuns);
  // The runs before machine code that AfterManyRuns waits for in forms built
  // from now on, in this process; for tests that need many forms to get
  // there. 0 restores kRunsBeforeMachineCode.
  static void SetRunsBeforeMachineCodeForTesting(std::uint32_t runs);

  bool Empty() const { return steps_.empty(); }
  // Whether runs go through machine code.
  bool Native() const { return nativeEntry_.load(std::memory_order_acquire) != nullptr; }
  // Whether a run calls shared routines (the C library among them) and reads
  // the flags; without them a run is x87 arithmetic alone.
  bool UsesRoutines() const { return usesRoutines_; }
  // The variable slots a run reads: varValues must hold at least this many.
  std::size_t SlotsNeeded() const { return slotsNeeded_; }

  // Runs the form with the given variable values. true: value is the
  // interpreter's result of a successful run. false: undecided here.
  // Steps that call shared routines report through context, as in the
  // interpreter; a run they fail or warn in is declined.
  //
  // The form never changes after Build, except for the one step to machine
  // code, which is taken once and safely while other threads run it: any
  // number of threads may run one form at once, each with its own context.
  bool Run(RunContext& context, std::span<const Extended> varValues, Extended angleFactor,
           Extended& value) const;
  // Run for a form without routines (UsesRoutines() false): x87 arithmetic
  // alone, with no run status to keep and no angle factor to use.
  bool RunArithmetic(std::span<const Extended> varValues, Extended& value) const {
    if (const NativeEntry entry = nativeEntry_.load(std::memory_order_acquire)) {
      return varValues.size() >= slotsNeeded_ && entry(varValues.data(), &value) != 0;
    }
    return RunSteps(varValues, value);
  }

  // The operations of the form. The accumulator holds the value computed
  // last; A and B are fused operands (a variable or a constant); Pop takes
  // the left operand from the stack. Push saves the accumulator first.
  enum Op : std::uint8_t {
    Load,           // A
    PushLoad,       // A
    Add,            // accumulator + A
    Sub,            // accumulator - A
    Mul,            // accumulator * A
    Div,            // accumulator / A
    RevSub,         // A - accumulator
    RevDiv,         // A / accumulator
    AddLeaves,      // A + B
    SubLeaves,      // A - B
    MulLeaves,      // A * B
    DivLeaves,      // A / B
    PushAddLeaves,  // A + B
    PushSubLeaves,  // A - B
    PushMulLeaves,  // A * B
    PushDivLeaves,  // A / B
    AddPop,
    SubPop,
    MulPop,
    DivPop,
    Negate,
    Square,
    Cube,
    PowerInt,  // Count: a positive whole constant exponent
    Abs,
    SquareLeaf,      // A * A
    PushSquareLeaf,  // A * A
    MaxLeaves,       // MAX(A; B)
    MinLeaves,       // MIN(A; B)
    PushMaxLeaves,   // MAX(A; B)
    PushMinLeaves,   // MIN(A; B)
    MaxPop,
    MinPop,
    ComparePop,   // Code: the comparison operator
    OperatorPop,  // Code: any other operator, by its shared routine
    Call1,        // Code: a built-in function, by its shared routine
    Call2,
    Call3,
    Finish,
    OpCount
  };
  // How many fused operands (A, then B) a step of the kind reads.
  static int OperandCount(Op kind);

  // A fused operand is an index: a variable slot from 0 up, or a constant
  // counted back from the end of the constants (-1 the last). So the steps
  // hold no address and one form serves every caller's values at once.
  struct Step {
    Op Kind = Finish;
    std::uint8_t Code = 0;
    std::int32_t A = 0;
    std::int32_t B = 0;
    std::uint32_t Count = 0;
  };

 private:
  struct Node;
  class Translator;
  using NativeEntry = int (*)(const Extended* variables, Extended* result);
  // Where the form stands on its way to machine code.
  enum class NativeState : std::uint8_t { Counting, Making, Waiting, Settled };

  bool RunSteps(std::span<const Extended> varValues, Extended& value) const;
  // Counts a run of the step loop and takes the next step to machine code
  // when it is due.
  void Advance() const;
  // Writes the machine code of a form without routines into the code arena;
  // false, keeping the step loop, where it cannot be made.
  bool WriteNative() const;
  // Publishes the machine code once its page has closed; with close, closes
  // the page first.
  bool PublishNative(bool close) const;
  // The run itself; context is null where kRoutines is false.
  template <bool kRoutines>
  bool Execute(RunContext* context, std::span<const Extended> varValues, Extended angleFactor,
               Extended& value) const;

  std::vector<Step> steps_;
  std::vector<Extended> constants_;
  std::size_t slotsNeeded_ = 0;
  // Calls shared routines that report through the run status and the
  // floating-point flags, which are then read once at the end of the run.
  bool usesRoutines_ = false;

  // The machine code: 1 with the result written, 0 declined. Set once.
  mutable std::atomic<NativeEntry> nativeEntry_{nullptr};
  mutable std::atomic<NativeState> nativeState_{NativeState::Settled};
  // Runs counted towards the next step: making the code, closing its page.
  mutable std::atomic<std::uint32_t> runs_{0};
  std::uint32_t runsBeforeNative_ = 0;
  // Written only by the thread that moved nativeState_ to Making.
  mutable ExecutableCode native_;
};

}  // namespace engine
