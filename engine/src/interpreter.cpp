// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/interpreter.h"

#include <cfenv>
#include <cmath>
#include <cstdint>

#include "engine/engine_state.h"
#include "engine/integer_routines.h"
#include "engine/run_context.h"
#include "engine/status.h"

namespace engine {

namespace {

constexpr const char* MsgStackOverflow = "Stack overflow";

}  // namespace

// a ^ b. a^0 is 1 for every a, NaN included. Otherwise a NaN operand cannot
// be compared with the cases below; like every comparison with NaN that is
// an invalid operation. exactFlags is set where the result alone tells a
// failure (see FlagTest below): a positive whole exponent takes only
// multiplications, and once a factor overflows the product stays infinite.
// A negative one does not qualify: 1 / infinity is 0.
Extended Power(Extended a, Extended b, bool& exactFlags) {
  exactFlags = false;
  if (std::isnan(b)) {
    std::feraiseexcept(FE_INVALID);
    return 0;
  }
  if (b == 0) return 1;
  if (std::isnan(a)) {
    std::feraiseexcept(FE_INVALID);
    return 0;
  }
  if (a == 0 && b > 0) return 0;
  if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
    exactFlags = b > 0;
    const Extended power = IntegerPower(a, static_cast<std::uint32_t>(std::fabs(b)));
    return b < 0 ? 1 / power : power;
  }
  // A negative base makes the logarithm an invalid operation.
  return std::exp(b * std::log(a));
}

namespace {

// A failure of the run itself rather than of a routine: no routine's message
// stays pending.
void FailRun(TMachine& machine, RunContext& context, const char* message) {
  context.Ok = false;
  context.Pending.clear();
  if (machine.Message != nullptr) *machine.Message = message;
}

// How an operator's floating-point failure is found. Reading the flags waits
// for the FPU to finish and costs more than the arithmetic itself, so they
// are read only where a failure is possible. Under round-to-nearest an
// invalid operation yields NaN and a division by zero or an overflow yields
// an infinity, so a finite sum, difference, product or quotient cannot have
// failed; the flags only tell a failure from arithmetic on operands that
// were already infinite or NaN.
enum class FlagTest { None, IfNotFinite, Always, Failed };

// An exact comparison; NaN compares with nothing, which is an invalid
// operation. The NaN test is explicit so that no optimisation can lose it.
FlagTest Compare(Extended& a, Extended b, int code) {
  if (std::isnan(a) || std::isnan(b)) return FlagTest::Failed;
  bool truth = false;
  switch (code) {
    case opEqual:
      truth = a == b;
      break;
    case opNotEqual:
      truth = a != b;
      break;
    case opGreaterEqual:
      truth = a >= b;
      break;
    case opLessEqual:
      truth = a <= b;
      break;
    case opGreater:
      truth = a > b;
      break;
    default:
      truth = a < b;
      break;
  }
  a = BooleanValue(truth);
  return FlagTest::None;
}

void Operate(RunContext& context, TMachine& machine, int code) {
  // A well-formed program never lets an operator reach below the bottom of
  // the stack; a malformed one fails instead of reading there.
  if (machine.Top < (code == opNegate ? 1 : 2)) {
    FailRun(machine, context, MsgWrongOperand);
    return;
  }
  Extended& a = machine.ValueStack[static_cast<std::size_t>(machine.Top - 1)];
  Extended& b = machine.ValueStack[static_cast<std::size_t>(machine.Top)];
  FlagTest test = FlagTest::Always;
  switch (code) {
    case opSubtract:
      a = a - b;
      test = FlagTest::IfNotFinite;
      break;
    case opAdd:
      a = a + b;
      test = FlagTest::IfNotFinite;
      break;
    case opMultiply:
      a = a * b;
      test = FlagTest::IfNotFinite;
      break;
    case opDivide:
      a = a / b;
      test = FlagTest::IfNotFinite;
      break;
    case opNegate:
      b = -b;
      test = FlagTest::None;
      break;
    case opPower: {
      bool exactFlags = false;
      a = Power(a, b, exactFlags);
      if (exactFlags) test = FlagTest::IfNotFinite;
      break;
    }
    case opAnd:
      a = AndOp(context, a, b);
      break;
    case opDiv:
      a = DivOp(context, a, b);
      break;
    case opShl:
      a = ShlOp(context, a, b);
      break;
    case opOr:
      a = OrOp(context, a, b);
      break;
    case opShr:
      a = ShrOp(context, a, b);
      break;
    case opOver:
      a = BINO(context, a, b);
      break;
    case opXor:
      a = XorOp(context, a, b);
      break;
    case opMod:
      a = ModOp(context, a, b);
      break;
    case opEqual:
    case opNotEqual:
    case opGreaterEqual:
    case opLessEqual:
    case opGreater:
    case opLess:
      test = Compare(a, b, code);
      break;
    default:
      // Any other code computes nothing.
      test = FlagTest::None;
      break;
  }
  bool mathFailure = false;
  switch (test) {
    case FlagTest::None:
      break;
    case FlagTest::IfNotFinite:
      mathFailure = !std::isfinite(a) && FloatingPointFailed();
      break;
    case FlagTest::Always:
      mathFailure = FloatingPointFailed();
      break;
    case FlagTest::Failed:
      mathFailure = true;
      break;
  }
  EndStep(context, mathFailure, machine.Message);
  if (code != opNegate) --machine.Top;
}

}  // namespace

void ApplyOperator(RunContext& context, TMachine& machine, int code) {
  Operate(context, machine, code);
}

Extended RunProgram(RunContext& context, std::span<const TInstruction> program,
                    std::span<const Extended> varValues, Extended angleFactor, int& status,
                    std::string& message, bool failureFlagsClear) {
  message.clear();
  status = scSuccess;
  context.Ok = true;
  // A message left over from outside a run must not surface in this one.
  context.Pending.clear();
  // Clearing the flags costs far more than reading them, and they are
  // almost always clear already.
  if (!failureFlagsClear && FloatingPointFailed()) ClearFloatingPointFailures();

  TMachine machine;  // the stack is written before it is read, so not zeroed
  machine.Top = 0;
  machine.AngleFactor = angleFactor;
  machine.Message = &message;
  Extended* const stack = machine.ValueStack.data();

  // The top of the stack is kept in top while the program pushes numbers and
  // variables and applies the four basic operations, the bulk of most terms:
  // storing and reloading an 80-bit value costs more than the arithmetic.
  // stack[depth] is stale meanwhile; it is written before anything else
  // reads the stack.
  int depth = 0;
  Extended top = 0;
  auto push = [&](Extended value) {
    if (depth >= 1) stack[depth] = top;
    top = value;
    ++depth;
  };

  for (int position = 1; context.Ok; ++position) {
    // A shortened program without its end record ends where it ends.
    if (static_cast<std::size_t>(position) >= program.size()) break;
    const TInstruction& instruction = program[static_cast<std::size_t>(position)];
    if (instruction.Kind == ikEnd) break;
    switch (instruction.Kind) {
      case ikNumber:
        push(instruction.Value);
        break;
      case ikVariable:
        if (instruction.Code < 0 ||
            static_cast<std::size_t>(instruction.Code) >= varValues.size()) {
          FailRun(machine, context, MsgWrongOperand);
        } else {
          push(varValues[static_cast<std::size_t>(instruction.Code)]);
        }
        break;
      case ikOperator: {
        const int code = instruction.Code;
        if (code >= opSubtract && code <= opDivide && depth >= 2) {
          // As Operate does it, with the operands in hand; a finite result
          // cannot have failed.
          const Extended a = stack[depth - 1];
          switch (code) {
            case opSubtract:
              top = a - top;
              break;
            case opAdd:
              top = a + top;
              break;
            case opMultiply:
              top = a * top;
              break;
            default:
              top = a / top;
              break;
          }
          --depth;
          EndStep(context, !std::isfinite(top) && FloatingPointFailed(), &message);
          break;
        }
        if (depth >= 1) stack[depth] = top;
        machine.Top = depth;
        Operate(context, machine, code);
        depth = machine.Top;
        top = depth >= 1 ? stack[depth] : 0;
        break;
      }
      case ikFunction:
        if (depth >= 1) stack[depth] = top;
        machine.Top = depth;
        ApplyFunction(context, machine, instruction.Code);
        depth = machine.Top;
        top = depth >= 1 ? stack[depth] : 0;
        break;
      default:
        break;
    }
    // The buffer holds no end record after the 500th; a program that needs
    // it is too long, even when its last instruction has just run.
    if (position == ProgramSize) {
      context.Ok = false;
      message = MsgStackOverflow;
    }
  }

  // A program that leaves no value (never made by the compiler) has no
  // result to read.
  if (context.Ok && depth < 1) {
    context.Ok = false;
    message = MsgWrongOperand;
  }
  if (!context.Ok) {
    status = scCannotEvaluate;
    return 0;
  }
  return FinishRun(context, depth == 1 ? top : stack[1], status, message);
}

Extended FinishRun(RunContext& context, Extended value, int& status, std::string& message) {
  if (status != 0 || !std::isnan(value)) return value;
  context.Ok = false;
  status = 7;
  message = MsgGeneral;
  return 0;
}

}  // namespace engine
