// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Batches of evaluations of a compiled program over columns of values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/expression.h"
#include "engine/extended.h"
#include "engine/program_format.h"
#include "fast_program.h"

namespace engine {

// What a batch of one compiled program needs besides the program: made once
// when the program is compiled, immutable afterwards, and shared by every
// batch and thread.
class BatchPlan {
 public:
  // program: analysed, with variable slots 0..variables-1; fast: its fast
  // form (empty when the program is left to the interpreter), which must
  // outlive the plan. May throw std::bad_alloc.
  BatchPlan(const TProgram& program, std::size_t variables, const FastProgram& fast,
            FastProgram::MachineCode machineCode);

  // A call of a one-argument function on a variable, taken out of the
  // program: the batch computes it before the run, and the form reads the
  // result from slot variables + its index.
  struct Site {
    std::uint8_t Code = 0;
    std::uint16_t Variable = 0;
  };

  // The form a batch runs: the one without the calls where there are any,
  // else the program's own; null when the interpreter does all.
  const FastProgram* Form() const { return form_; }
  const std::vector<Site>& Sites() const { return sites_; }

 private:
  std::vector<Site> sites_;
  // The form of the program with the sites' calls taken out.
  std::unique_ptr<FastProgram> reduced_;
  const FastProgram* form_ = nullptr;
};

// Evaluates program at every point of the columns, each of length points,
// into results and status: exactly what the interpreter gives for each point
// on its own (results rounded once to Output). Returns the number of points
// that failed. Input and Output are long double or double.
template <class Input, class Output>
std::size_t EvaluateBatch(std::span<const TInstruction> program, std::size_t variables,
                          Extended angleFactor, const BatchPlan& plan, const Input* const* columns,
                          std::size_t points, Output* results, ErrorCode* status);

}  // namespace engine
