// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The term interpreter: runs a compiled program on a value stack.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "engine/extended.h"
#include "engine/program_format.h"
#include "engine/run_context.h"

namespace engine {

// The state of one running program, seen by ApplyOperator and ApplyFunction.
struct TMachine {
  std::array<Extended, ProgramSize + 1> ValueStack;  // positions 1..500
  int Top = 0;                                       // 0 = empty
  Extended AngleFactor = 1;
  std::string* Message = nullptr;  // the caller's message text
};

// Runs program with the given variable values. status is set to scSuccess
// or scCannotEvaluate;
// message is cleared and then holds the last message. Returns the value at
// the bottom of the stack, or 0 after a failure. context.Ok tells whether the
// run succeeded. failureFlagsClear tells that the caller has just cleared the
// failure flags, so the run need not test them first.
// program is a whole buffer or the records of one up to its end record
// (element 0 unused in both).
Extended RunProgram(RunContext& context, std::span<const TInstruction> program,
                    std::span<const Extended> varValues, Extended angleFactor, int& status,
                    std::string& message, bool failureFlagsClear = false);

// The end of every successful run, whichever evaluator ran it: a NaN is no
// value. Arithmetic on a NaN the host put into a variable raises no flag, so
// the run fails here with the general message (status 7, context.Ok false,
// 0 returned). Any other value, or a run that failed already, passes as it is.
Extended FinishRun(RunContext& context, Extended value, int& status, std::string& message);

// Operator dispatch (codes 1..20), on the running machine; ends the step with
// EndStep.
void ApplyOperator(RunContext& context, TMachine& machine, int code);

// a raised to the whole number n by square-and-multiply. The base is squared
// only while bits remain, so no overflow is raised that the result does not
// have itself.
inline Extended IntegerPower(Extended base, std::uint32_t n) {
  Extended result = 1;
  for (;;) {
    if ((n & 1U) != 0) result *= base;
    n >>= 1;
    if (n == 0) return result;
    base *= base;
  }
}

// a ^ b as the power operator computes it. exactFlags is set where a failure
// shows in the result alone (an infinite or NaN value).
Extended Power(Extended a, Extended b, bool& exactFlags);

// The number of arguments of a function code; 0 for a code that names none.
int FunctionArity(int code);
// A built-in function's value for its arguments (first argument first): the
// computation of ApplyFunction without taking the arguments from the stack.
// Failures are reported as ApplyFunction's are, through context and the
// floating-point flags; the step is not ended.
Extended FunctionValue(RunContext& context, int code, std::span<const Extended> args,
                       Extended angleFactor);

// Function dispatch (codes 1..67), on the running machine. Takes the function's
// arguments from the stack (first argument deepest), leaves the result in place
// of the first one, and fails with "Missing or Wrong Operand" instead of
// reading below the bottom of the stack. Ends the step with EndStep.
void ApplyFunction(RunContext& context, TMachine& machine, int code);

}  // namespace engine
