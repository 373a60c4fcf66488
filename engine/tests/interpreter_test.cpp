// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/interpreter.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "test_support.h"

namespace engine {
namespace {

using test::ProgramBuilder;

const char* const General = "Function is not defined for the given argument\n\ror division by zero";
const char* const WrongOperand = "Missing or Wrong Operand";
const Extended Inf = std::numeric_limits<Extended>::infinity();

struct Result {
  Extended Value;
  int Status;
  std::string Message;
};

// The context of the runs in these tests.
RunContext context;

Result Execute(ProgramBuilder& builder, const std::vector<Extended>& vars = {}) {
  Result result{-1, -1, "previous text"};
  result.Value = RunProgram(context, builder.Build(), vars, 1, result.Status, result.Message);
  return result;
}

ProgramBuilder Binary(Extended a, int code, Extended b) {
  ProgramBuilder builder;
  builder.Number(a).Number(b).Operator(code);
  return builder;
}

void ExpectFailure(const Result& got, const std::string& message) {
  EXPECT_EQ(got.Status, 7);
  EXPECT_EQ(got.Value, 0);
  EXPECT_EQ(got.Message, message);
  EXPECT_FALSE(context.Ok);
  EXPECT_EQ(context.Pending, "");
}

struct OperatorCase {
  Extended A;
  int Code;
  Extended B;
  Extended Expected;
};

TEST(Operators, ComputeTheirResults) {
  const OperatorCase cases[] = {
      {1, opSubtract, 3, -2},
      {1, opAdd, 2, 3},
      {6, opMultiply, 7, 42},
      {6, opDivide, 4, 1.5L},
      {1E-4000L, opMultiply, 1E-4000L, 0},  // underflow is no failure
      {7, opDiv, 2, 3},
      {-7, opDiv, 2, -3},
      {-2147483648.0L, opDiv, 1, -2147483648.0L},
      {-7, opMod, 2, -1},
      {7, opMod, -2, 1},
      {2147483647, opMod, 2, 1},
      {2.000000000000001L, opAnd, 3, 2},
      {-1, opAnd, 255, 255},
      {4294967297.0L, opAnd, 3, 1},  // the low 32 bits of the rounded value
      {12, opOr, 3, 15},
      {4294967295.0L, opOr, 0, -1},
      {12, opXor, 10, 6},
      {1, opShl, 33, 2},
      {1, opShl, 31, -2147483648.0L},
      {1, opShl, -1, -2147483648.0L},
      {-1, opShr, 1, 2147483647},
      {-1, opShr, 0, -1},
      {8, opShr, 33, 4},
      {5, opOver, 3, 10},
      {5, opOver, 2, 10},
      {0, opPower, 0, 1},
      {-2, opPower, 3, -8},
      {-2, opPower, -3, -0.125L},
      {2, opPower, -1, 0.5L},
      {2, opPower, 10, 1024},
      {0, opPower, 2, 0},
      {0, opPower, 0.5L, 0},
      {1E3000L, opPower, 1, 1E3000L},  // no overflow from a needless squaring
      {1E-3000L, opPower, 2, 0},       // an underflow is no failure
      {Inf, opPower, 2, Inf},          // infinite already, nothing overflows
      {3, opGreater, 2, 1},
      {2, opGreater, 3, 0},
      {2, opNotEqual, 2, 0},
      {2, opNotEqual, 3, 1},
      {2, opEqual, 2, 1},
      {-0.0L, opEqual, 0, 1},
      {2.000000000000001L, opEqual, 2, 0},  // no tolerance
      {2, opGreaterEqual, 2, 1},
      {1, opGreaterEqual, 2, 0},
      {2, opLessEqual, 1, 0},
      {2, opLessEqual, 2, 1},
      {1, opLess, 2, 1},
      {2, opLess, 2, 0},
      {Inf, opGreater, 1E4000L, 1},
  };
  for (const OperatorCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<double>(c.A) << " op" << c.Code << " " << static_cast<double>(c.B));
    ProgramBuilder program = Binary(c.A, c.Code, c.B);
    const Result got = Execute(program);
    EXPECT_EQ(got.Status, 0);
    EXPECT_EQ(got.Message, "");
    EXPECT_EQ(got.Value, c.Expected);
  }
}

TEST(Operators, PowerWithRealExponent) {
  ProgramBuilder program = Binary(4, opPower, 0.5L);
  const Result got = Execute(program);
  EXPECT_EQ(got.Status, 0);
  EXPECT_NEAR(got.Value, 2, 1E-18L);
}

TEST(Operators, UnaryMinusNegatesInPlace) {
  ProgramBuilder program;
  program.Number(3).Number(5).Operator(opNegate).Operator(opSubtract);
  EXPECT_EQ(Execute(program).Value, 8);
}

struct FailureCase {
  Extended A;
  int Code;
  Extended B;
  const char* Message;
};

TEST(Operators, FailWithTheirMessages) {
  const Extended nan = ExtNanConstant;
  const FailureCase cases[] = {
      {1, opDivide, 0, General},
      {0, opDivide, 0, General},
      {1E4000L, opMultiply, 1E4000L, General},
      {Inf, opSubtract, Inf, General},
      {-8, opPower, 1.0L / 3, General},
      {0, opPower, -1, General},
      {-2, opPower, 0.5L, General},
      {-2, opPower, 1E10L, General},  // beyond the integer exponents
      {1E2000L, opPower, 3, General},
      {1E300L, opPower, -170, General},  // 1 / overflow looks finite
      {2, opPower, 2147483647, General},
      {nan, opPower, 2, General},
      {7, opDiv, 0, WrongOperand},
      {7, opMod, 0, WrongOperand},
      {-2147483648.0L, opDiv, -1, WrongOperand},
      {-2147483648.0L, opMod, -1, WrongOperand},
      {2.5L, opAnd, 1, "Bitwise AND:  Integer arguments required"},
      {1, opAnd, 2.5L, "Bitwise AND:  Integer arguments required"},
      {2.5L, opOr, 1, "Bitwise OR:  Integer arguments required"},
      {2.5L, opXor, 1, "Bitwise XOR:  Integer arguments required"},
      {2.5L, opShl, 1, "Shift left:  Integer arguments required"},
      {2.5L, opShr, 1, "Shift right:  Integer arguments required"},
      {2.5L, opDiv, 1, "Integer division:  Integer arguments required"},
      {1, opMod, 2.5L, "Modulo:  Integer arguments required"},
      {2.5L, opOver, 1, "Binomial coefficient:  Integer arguments required"},
      {2, opOver, 3, "Binomial coefficient:   2nd argument must be smaller than 1st"},
      // DIV and MOD refuse operands beyond 32 bits instead of wrapping
      // around ((2^32) DIV 2 would give 0).
      {4294967296.0L, opDiv, 2, "Integer division:  Integer arguments required"},
      {2, opDiv, 4294967296.0L, "Integer division:  Integer arguments required"},
      {2147483648.0L, opDiv, 1, "Integer division:  Integer arguments required"},
      {4294967296.0L, opMod, 3, "Modulo:  Integer arguments required"},
      {1E19L, opDiv, 1, General},
      {1, opMod, -1E19L, General},
      // The bitwise operators read 32-bit patterns, but a value of 2^63 or
      // more has no 64-bit rounding at all.
      {1E19L, opAnd, 1, General},
      {1, opShl, 9.3E18L, General},
      {Inf, opAnd, 1, General},
      {nan, opOr, 1, General},
      {4294967296.0L * 4294967296.0L, opOver, 2, General},
      {nan, opEqual, 1, General},
      {1, opNotEqual, nan, General},
      {nan, opGreaterEqual, nan, General},
      {1, opLessEqual, nan, General},
      {nan, opGreater, 1, General},
      {1, opLess, nan, General},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<double>(c.A) << " op" << c.Code << " " << static_cast<double>(c.B));
    ProgramBuilder program = Binary(c.A, c.Code, c.B);
    ExpectFailure(Execute(program), c.Message);
  }
}

// Arithmetic on NaN raises no flag, but a NaN is never a run's value; a^0
// is 1 for every a.
TEST(Operators, ANaNResultFailsTheRunButNaNToTheZeroIsOne) {
  ProgramBuilder sum = Binary(ExtNanConstant, opAdd, 1);
  ExpectFailure(Execute(sum), General);
  ProgramBuilder bare;
  bare.Variable(0);
  ExpectFailure(Execute(bare, {ExtNanConstant}), General);
  ProgramBuilder power = Binary(ExtNanConstant, opPower, 0);
  const Result got = Execute(power);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 1);
  ProgramBuilder nanPower = Binary(2, opPower, ExtNanConstant);
  ExpectFailure(Execute(nanPower), General);
}

TEST(Operators, NeverReachBelowTheStack) {
  ProgramBuilder binaryOnOne;
  binaryOnOne.Number(2).Operator(opGreater);
  ProgramBuilder binaryOnNone;
  binaryOnNone.Operator(opAdd);
  ProgramBuilder negateOnNone;
  negateOnNone.Operator(opNegate);
  ProgramBuilder secondOperatorShort;
  secondOperatorShort.Number(2).Number(3).Operator(opAdd).Operator(opAdd);
  ProgramBuilder unknownOnOne;
  unknownOnOne.Number(2).Operator(21);
  for (ProgramBuilder* program :
       {&binaryOnOne, &binaryOnNone, &negateOnNone, &secondOperatorShort, &unknownOnOne}) {
    SCOPED_TRACE(program->Count());
    ExpectFailure(Execute(*program), WrongOperand);
  }
}

TEST(Operators, UnknownCodeOnlyLowersTheTop) {
  ProgramBuilder program;
  program.Number(2).Number(3).Operator(0).Number(4).Operator(opAdd);
  const Result got = Execute(program);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 6);
}

TEST(Operators, MovePendingMessageIntoTheMessageText) {
  std::string message;
  TMachine machine;
  machine.Message = &message;
  machine.Top = 2;
  machine.ValueStack[1] = 1;
  machine.ValueStack[2] = 2;
  context.Ok = true;
  ClearFloatingPointFailures();
  context.Pending = "a routine's warning";
  ApplyOperator(context, machine, opAdd);
  EXPECT_TRUE(context.Ok);
  EXPECT_EQ(message, "a routine's warning");
  EXPECT_EQ(context.Pending, "");
  EXPECT_EQ(machine.Top, 1);
  EXPECT_EQ(machine.ValueStack[1], 3);
  // The next operator overwrites the text with the then empty message.
  machine.ValueStack[2] = 5;
  machine.Top = 2;
  ApplyOperator(context, machine, opAdd);
  EXPECT_EQ(message, "");
  EXPECT_EQ(machine.ValueStack[1], 8);
}

TEST(RunProgram, ReadsVariablesBySlot) {
  ProgramBuilder program;
  program.Variable(0).Variable(1).Operator(opSubtract).Variable(0).Operator(opMultiply);
  const Result got = Execute(program, {10, 4});
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 60);
}

TEST(RunProgram, RefusesSlotsOutsideTheVariables) {
  struct {
    int Slot;
    std::vector<Extended> Vars;
  } const cases[] = {{2, {1, 2}}, {-1, {1, 2}}, {0, {}}, {32767, {1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Slot);
    ProgramBuilder program;
    program.Variable(c.Slot);
    ExpectFailure(Execute(program, c.Vars), WrongOperand);
  }
}

TEST(RunProgram, LengthLimit) {
  // 1 + 1 + ... with n instructions in all (n odd), then perhaps one more number.
  auto sum = [](int instructions) {
    ProgramBuilder program;
    program.Number(1);
    while (program.Count() + 2 <= instructions) program.Number(1).Operator(opAdd);
    if (program.Count() < instructions) program.Number(7);
    return program;
  };
  ProgramBuilder longest = sum(499);
  ASSERT_EQ(longest.Count(), 499);
  const Result ok = Execute(longest);
  EXPECT_EQ(ok.Status, 0);
  EXPECT_EQ(ok.Value, 250);

  // All 500 records used: the 500th still runs, then the run fails.
  ProgramBuilder tooLong = sum(500);
  ASSERT_EQ(tooLong.Count(), ProgramSize);
  ExpectFailure(Execute(tooLong), "Stack overflow");
}

TEST(RunProgram, YieldsTheBottomValue) {
  ProgramBuilder program;
  program.Number(2).Number(3);
  const Result got = Execute(program);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 2);
}

TEST(RunProgram, EmptyProgramHasNoValue) {
  ProgramBuilder program;
  ExpectFailure(Execute(program), WrongOperand);
}

TEST(RunProgram, StopsAtTheFirstFailure) {
  // After 1/0 the following SHL message must not replace the failure's.
  ProgramBuilder program;
  program.Number(1).Number(0).Operator(opDivide).Number(2.5L).Operator(opShl);
  ExpectFailure(Execute(program), General);
}

TEST(RunProgram, StopsAtAFailingFunction) {
  // SQRT(-1) fails; the additions after it must not run.
  ProgramBuilder program;
  program.Number(-1).Function(2).Number(5).Operator(opAdd);
  ExpectFailure(Execute(program), General);
}

TEST(RunProgram, StartsFromACleanState) {
  // Flags, status values and the caller's text left over from earlier work
  // must not leak into a run.
  std::feraiseexcept(FE_DIVBYZERO | FE_INVALID);
  context.Ok = false;
  context.Pending = "stale";
  ProgramBuilder program;
  program.Number(1).Number(2).Operator(opAdd);
  const Result got = Execute(program);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 3);
  EXPECT_EQ(got.Message, "");
  EXPECT_TRUE(context.Ok);
}

TEST(RunProgram, SuccessAfterFailureStartsAfresh) {
  ProgramBuilder failing = Binary(7, opDiv, 0);
  ExpectFailure(Execute(failing), WrongOperand);
  ProgramBuilder fine = Binary(7, opDiv, 2);
  const Result got = Execute(fine);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 3);
  EXPECT_EQ(got.Message, "");
}

}  // namespace
}  // namespace engine
