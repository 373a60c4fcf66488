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
  FastProgram(const FastProgram&) = delete;  // steps point into constants_
  FastProgram& operator=(const FastProgram&) = delete;

  // Translates program. false, leaving an empty form that declines every run,
  // when the program holds anything left to the interpreter: random
  // functions (a declined run would draw twice), unknown codes, a stack that
  // would run empty, a result that is not a single value, or the 500th
  // record.
  // When a form without routines is made into machine code (see
  // fast_program_native.cpp), where the platform allows. Making it maps
  // memory, which costs as much as thousands of runs save, so by default it
  // waits until the form has run that often; tests choose either way.
  enum class MachineCode : std::uint8_t { AfterManyRuns, Now, Never };
  static constexpr std::uint32_t kRunsBeforeMachineCode = 16384;
  bool Build(const TProgram& program, MachineCode machineCode = MachineCode::AfterManyRuns);
  bool Empty() const { return steps_.empty(); }
  // Whether runs go through machine code.
  bool Native() const { return nativeEntry_ != nullptr; }
  // Whether a run calls shared routines (the C library among them) and reads
  // the flags; without them a run is x87 arithmetic alone.
  bool UsesRoutines() const { return usesRoutines_; }

  // Runs the form with the given variable values. true: value is the
  // interpreter's result of a successful run. false: undecided here.
  // Steps that call shared routines report through context, as in the
  // interpreter; a run they fail or warn in is declined.
  bool Run(RunContext& context, std::span<const Extended> varValues, Extended angleFactor,
           Extended& value);
  // Run for a form without routines (UsesRoutines() false): x87 arithmetic
  // alone, with no run status to keep and no angle factor to use.
  bool RunArithmetic(std::span<const Extended> varValues, Extended& value);

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

  struct Step {
    Op Kind = Finish;
    std::uint8_t Code = 0;
    std::uint32_t Count = 0;
    const Extended* A = nullptr;
    const Extended* B = nullptr;
  };

 private:
  struct Node;
  class Translator;
  // A fused operand that reads a variable: its step, which operand, the slot.
  struct VariableUse {
    std::uint32_t StepIndex;
    bool SecondOperand;
    std::uint16_t Slot;
  };
  // The machine code of a form without routines; false, keeping the step
  // loop, where it cannot be made.
  bool BuildNative();
  // Points the variable operands at the given values.
  void Bind(const Extended* varValues);
  // The run itself; context is null where kRoutines is false.
  template <bool kRoutines>
  bool Execute(RunContext* context, std::span<const Extended> varValues, Extended angleFactor,
               Extended& value);

  std::vector<Step> steps_;
  std::vector<Extended> constants_;
  std::vector<VariableUse> variableUses_;
  const Extended* boundValues_ = nullptr;
  std::size_t slotsNeeded_ = 0;
  // Calls shared routines that report through the run status and the
  // floating-point flags, which are then read once at the end of the run.
  bool usesRoutines_ = false;
  // The machine code: 1 with the result written, 0 declined.
  using NativeEntry = int (*)(const Extended* variables, Extended* result);
  ExecutableCode native_;
  NativeEntry nativeEntry_ = nullptr;
  // Runs of the step loop left until the machine code is made; 0 when it
  // is not to be made (any more).
  std::uint32_t runsBeforeNative_ = 0;
};

}  // namespace engine
