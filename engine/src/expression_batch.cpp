// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "expression_batch.h"

#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/function_memo.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/status.h"
#include "fast_program.h"

// How a batch stays exactly what single evaluations give:
//
// Every point is decided by the fast execution form or, where it declines,
// by the interpreter, as a single evaluation would be. The batch only saves
// what does not depend on the point: one context, one fast form, one memo of
// function results.
//
// A plot's term calls functions of its coordinates, SIN(X) or COS(Y), and a
// grid repeats each coordinate in every row or column. Such a call (a
// function of one argument applied directly to a variable) is taken out of
// the program: the batch computes it before the run and the program reads the
// result like one more variable. The fast form then runs on plain values
// without reading the floating-point flags. The result of a call is taken
// from the previous point when the argument's bits are the same, from the
// memo when it was computed before, or computed; only a call that reports
// nothing (no failure, warning or flag) is used this way. A call that reports
// something sends the point to the interpreter with the whole program, which
// then decides everything. A value that is the clean result of the call is,
// to every later step, indistinguishable from the same value in a variable,
// so the fast form's answer is unchanged.

namespace engine {

namespace {

// A call of a one-argument function on a variable, taken out of the program.
struct Site {
  int Code = 0;
  std::int16_t Variable = 0;
  // The argument and result of the previous point.
  ExtendedBytes LastArgument{};
  bool HasLast = false;
  Extended LastValue = 0;
};

// The program with the calls of sites replaced by reads of slots from
// variables on; sites receives the calls. Empty when there is none.
std::vector<Site> TakeOutCalls(const TProgram& program, std::size_t variables, TProgram& out) {
  std::vector<Site> sites;
  int written = 0;
  for (int position = 1; position <= ProgramSize; ++position) {
    const TInstruction& record = program[static_cast<std::size_t>(position)];
    const TInstruction* next =
        position < ProgramSize ? &program[static_cast<std::size_t>(position + 1)] : nullptr;
    TInstruction copy = record;
    if (record.Kind == ikVariable && next != nullptr && next->Kind == ikFunction &&
        FunctionArity(next->Code) == 1 && WorthRemembering(next->Code)) {
      std::size_t index = 0;
      while (index < sites.size() &&
             !(sites[index].Code == next->Code && sites[index].Variable == record.Code)) {
        ++index;
      }
      if (index == sites.size()) {
        Site site;
        site.Code = next->Code;
        site.Variable = record.Code;
        sites.push_back(site);
      }
      copy.Code = static_cast<std::int16_t>(variables + index);
      ++position;
    }
    out[static_cast<std::size_t>(++written)] = copy;
    if (record.Kind == ikEnd) break;
  }
  return sites;
}

// Copies the ten bytes of a value as integers: through the x87 unit, a load
// and a store of the 80-bit format cost several times more.
inline void CopyValue(Extended& to, const Extended& from) {
  std::memcpy(&to, &from, 10);
}

void KeepAsLast(Site& site, const Extended& argument, Extended value) {
  site.LastArgument = BytesIn(argument);
  site.HasLast = true;
  site.LastValue = value;
}

class Batch {
 public:
  Batch(const TProgram& program, std::size_t variables, Extended angleFactor, bool fastForm)
      : program_(program), variables_(variables), angleFactor_(angleFactor) {
    context_.Memo = &memo_;
    if (!fastForm) {
      row_.resize(variables_);
      return;
    }
    auto reduced = std::make_unique<TProgram>();
    sites_ = TakeOutCalls(program, variables_, *reduced);
    if (!sites_.empty() && fast_.Build(*reduced)) {
      row_.resize(variables_ + sites_.size());
      useFast_ = true;
      return;
    }
    sites_.clear();
    row_.resize(variables_);
    useFast_ = fast_.Build(program);
  }

  std::size_t Run(const Column* columns, std::size_t points, long double* results,
                  ErrorCode* status) {
    std::size_t failures = 0;
    for (std::size_t i = 0; i < points; ++i) {
      for (std::size_t v = 0; v < variables_; ++v) CopyValue(row_[v], columns[v][i]);
      if (useFast_ && CallsComputed(columns, i) &&
          fast_.Run(context_, row_, angleFactor_, results[i])) {
        status[i] = ErrorCode::kOk;
        continue;
      }
      int code = scSuccess;
      const Extended value =
          RunProgram(context_, program_, std::span<const Extended>(row_.data(), variables_),
                     angleFactor_, code, message_);
      // A failed run leaves its flags raised; the next point's fast run
      // would read them as its own.
      if (FloatingPointFailed()) ClearFloatingPointFailures();
      if (code == scSuccess) {
        results[i] = value;
        status[i] = ErrorCode::kOk;
      } else {
        results[i] = 0;
        status[i] = static_cast<ErrorCode>(code);
        ++failures;
      }
    }
    return failures;
  }

 private:
  // Puts the results of the calls taken out of the program into the row;
  // false when one of them reports something.
  bool CallsComputed(const Column* columns, std::size_t i) {
    for (std::size_t k = 0; k < sites_.size(); ++k) {
      Site& site = sites_[k];
      const Extended& argument = columns[static_cast<std::size_t>(site.Variable)][i];
      Extended& slot = row_[variables_ + k];
      if (site.HasLast && BytesIn(argument) == site.LastArgument) {
        CopyValue(slot, site.LastValue);
        continue;
      }
      if (const Extended* known = memo_.Find(site.Code, argument)) {
        CopyValue(slot, *known);
        KeepAsLast(site, argument, slot);
        continue;
      }
      // Computed from a clean start, without a second lookup.
      context_.Ok = true;
      context_.Pending.clear();
      if (FloatingPointFailed()) ClearFloatingPointFailures();
      context_.Memo = nullptr;
      slot =
          FunctionValue(context_, site.Code, std::span<const Extended>(&argument, 1), angleFactor_);
      context_.Memo = &memo_;
      if (!context_.Ok || !context_.Pending.empty() || FloatingPointFailed()) return false;
      try {
        memo_.Remember(site.Code, argument, slot);
      } catch (...) {
        // Without memory the value is simply computed again next time.
      }
      KeepAsLast(site, argument, slot);
    }
    return true;
  }

  const TProgram& program_;
  std::size_t variables_;
  Extended angleFactor_;
  RunContext context_;
  FunctionMemo memo_;
  FastProgram fast_;
  bool useFast_ = false;
  std::vector<Site> sites_;
  // The values of the current point, and after them the results of the
  // calls taken out; the fast form is bound to it.
  std::vector<Extended> row_;
  std::string message_;
};

}  // namespace

std::size_t EvaluateBatch(const TProgram& program, std::size_t variables, Extended angleFactor,
                          bool fastForm, const Column* columns, std::size_t points,
                          long double* results, ErrorCode* status) {
  Batch batch(program, variables, angleFactor, fastForm);
  return batch.Run(columns, points, results, status);
}

}  // namespace engine
