// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/interpreter.h"
#include "engine/special_functions.h"
#include "engine/term_text.h"

namespace engine {
namespace {

const std::string Detected = " was detected in the string. Unknown or recursive call";
const std::string MissingOperand = "Missing Operand in Function Term";
const std::string CannotAnalyze = "Cannot analyze given Term";

struct Options {
  std::vector<std::string> VarNames = {"X", "Y"};
  std::vector<std::string> Constants;
  Extended AngleFactor = 1;
};

// The context of the compilations and runs in these tests.
RunContext context;

// What Analyse hands the compiler: the normalised term.
struct Compiled {
  int Code = -1;
  std::string Message = "previous text";
  int Count = -1;
  std::unique_ptr<TProgram> Program = std::make_unique<TProgram>();

  const TInstruction& operator[](int record) const {
    return (*Program)[static_cast<std::size_t>(record)];
  }
};

Compiled Compile(const std::string& text, const Options& options = {}) {
  Compiled result;
  std::string term = text;
  NormaliseTerm(term, true);
  result.Code = CompileTerm(context, term, result.Message, *result.Program, options.Constants,
                            &options.VarNames, options.AngleFactor, result.Count);
  return result;
}

struct Evaluated {
  int Code;
  std::string Message;
  Extended Value;
  int Status;
};

Evaluated Evaluate(const std::string& text, const Options& options = {},
                   std::vector<Extended> varValues = {0, 0}) {
  Compiled compiled = Compile(text, options);
  Evaluated result{compiled.Code, compiled.Message, 0, -1};
  if (compiled.Code == 0) {
    result.Value = RunProgram(context, *compiled.Program, varValues, options.AngleFactor,
                              result.Status, result.Message);
  }
  return result;
}

// A record as the tests write it: kind, code or value.
struct Record {
  std::uint8_t Kind;
  Extended ValueOrCode;
};
Record Num(Extended value) {
  return {ikNumber, value};
}
Record Var(int slot) {
  return {ikVariable, static_cast<Extended>(slot)};
}
Record Op(int code) {
  return {ikOperator, static_cast<Extended>(code)};
}
Record Fn(int code) {
  return {ikFunction, static_cast<Extended>(code)};
}

struct ProgramCase {
  std::string Term;
  std::vector<Record> Records;
};

TEST(CompileTerm, WritesPostfixPrograms) {
  const ProgramCase cases[] = {
      {"2*3+4", {Num(2), Num(3), Op(opMultiply), Num(4), Op(opAdd)}},
      {"(1+2)*3", {Num(1), Num(2), Op(opAdd), Num(3), Op(opMultiply)}},
      {"-X", {Var(0), Op(opNegate)}},
      {"(-y)", {Var(1), Op(opNegate)}},
      {"MAX(2;3)", {Num(2), Num(3), Fn(45)}},
      {"SIN(X)", {Var(0), Fn(28)}},
      {"2*SIN(X)^2", {Num(2), Var(0), Fn(28), Num(2), Op(opPower), Op(opMultiply)}},
      // Sign pass: a leading minus binds more weakly than power, a plus
      // after '(' is dropped, an exponent's sign stays in the number.
      {"-2^2", {Num(2), Num(2), Op(opPower), Op(opNegate)}},
      {"(+3)", {Num(3)}},
      {"1E-5", {Num(1E-5L)}},
      {"1E+5", {Num(1E5L)}},
      {"1.E-5", {Num(1E-5L)}},
      {"2*E-3", {Num(2), Num(context.E), Op(opMultiply), Num(3), Op(opSubtract)}},
      {"2^3^2", {Num(2), Num(3), Op(opPower), Num(2), Op(opPower)}},
      {"1+2=3", {Num(1), Num(2), Op(opAdd), Num(3), Op(opEqual)}},
      {"1<>2", {Num(1), Num(2), Op(opNotEqual)}},
      {"1<=2", {Num(1), Num(2), Op(opLessEqual)}},
      {"1>=2", {Num(1), Num(2), Op(opGreaterEqual)}},
      {"1<2", {Num(1), Num(2), Op(opLess)}},
      {"1>2", {Num(1), Num(2), Op(opGreater)}},
      {"(1)and(2)or(3)", {Num(1), Num(2), Op(opAnd), Num(3), Op(opOr)}},
      {"(1)xor(2)shl(3)", {Num(1), Num(2), Num(3), Op(opShl), Op(opXor)}},
      {"(1)shr(2)div(3)", {Num(1), Num(2), Num(3), Op(opDiv), Op(opShr)}},
      {"(5)over(2)mod(3)", {Num(5), Num(2), Op(opOver), Num(3), Op(opMod)}},
      // ">>" keeps both characters as operators; the program lacks an operand.
      {"(2)>>(3)", {Num(2), Op(opShr), Num(3), Op(opGreater)}},
  };
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.Term);
    const Compiled got = Compile(c.Term);
    ASSERT_EQ(got.Code, 0) << got.Message;
    EXPECT_EQ(got.Message, "");
    EXPECT_TRUE(context.Ok);
    ASSERT_EQ(got.Count, static_cast<int>(c.Records.size()));
    for (int r = 1; r <= got.Count; ++r) {
      const Record& want = c.Records[static_cast<std::size_t>(r - 1)];
      EXPECT_EQ(got[r].Kind, want.Kind) << "record " << r;
      if (want.Kind == ikNumber) {
        EXPECT_EQ(got[r].Value, want.ValueOrCode) << "record " << r;
        EXPECT_EQ(got[r].Priority, 0) << "record " << r;
      } else {
        EXPECT_EQ(got[r].Code, static_cast<int>(want.ValueOrCode)) << "record " << r;
      }
    }
    EXPECT_EQ(got[got.Count + 1].Kind, ikEnd);
  }
}

TEST(CompileTerm, MarksEveryBuiltInFunction) {
  for (int code = 1; code <= FunctionCount; ++code) {
    if (code == 58) continue;
    const std::string term = std::string(FunctionName(code)) + "1)";
    SCOPED_TRACE(term);
    const Compiled got = Compile(term);
    ASSERT_EQ(got.Code, 0) << got.Message;
    ASSERT_EQ(got.Count, 2);
    EXPECT_EQ(got[2].Kind, ikFunction);
    EXPECT_EQ(got[2].Code, code);
  }
}

struct FailureCase {
  std::string Term;
  int Code;
  std::string Message;
};

TEST(CompileTerm, ReportsFailuresWithCodeAndMessage) {
  const FailureCase cases[] = {
      // sign pass
      {"*2", 5, MissingOperand},
      {")2", 5, MissingOperand},
      {"((^2))", 5, MissingOperand},
      {"2+", 5, MissingOperand},
      {"2*/3", 5, MissingOperand},
      {"2*-3", 5, MissingOperand},
      {"2<<3", 5, MissingOperand},
      {"2*(3+)", 5, MissingOperand},
      {"2=", 5, MissingOperand},
      {"(", 5, MissingOperand},
      {"+", 2, "Invalid Function Term"},
      // functions and names
      {"2*FOO(1)", 3, "Undefined Function: FOO"},
      {"2(3)", 3, "Undefined Function: 2"},
      // the message names the function, not the parenthesis or call around it
      {"(FOO(1))", 3, "Undefined Function: FOO"},
      {"SIN(FOO(1))", 3, "Undefined Function: FOO"},
      {"2*Q", 3, "Q" + Detected},
      {"Z+1", 3, "Z" + Detected},
      {"1,5", 3, "1,5" + Detected},
      {"ASIN(1)", 3, "Syntax Error"},
      {"2SIN(1)", 3, "Syntax Error"},
      // a typed function mark names no function
      {"\"(1)", 3, "Syntax Error"},
      {"NAN+1", 8, "NaN: Evaluation aborted"},
      {"2*NAN", 8, "NaN: Evaluation aborted"},
      // a literal beyond the extended range does not become infinity
      {"1E5000", 3, "1E5000" + Detected},
      // '|' typed by the user is no end of the term
      {"2|3", 3, "2|3" + Detected},
  };
  for (const FailureCase& c : cases) {
    const Compiled got = Compile(c.Term);
    EXPECT_EQ(got.Code, c.Code) << c.Term;
    EXPECT_EQ(got.Message, c.Message) << c.Term;
    EXPECT_FALSE(context.Ok) << c.Term;
  }
}

TEST(CompileTerm, ClearsTheMessageOnSuccess) {
  const Compiled failed = Compile("2*Q");
  ASSERT_EQ(failed.Code, 3);
  Compiled got;
  std::string term = "1+1";
  const std::vector<std::string> none;
  got.Code = CompileTerm(context, term, got.Message, *got.Program, none, nullptr, 1, got.Count);
  EXPECT_EQ(got.Code, 0);
  EXPECT_EQ(got.Message, "");
  EXPECT_TRUE(context.Ok);
}

struct ValueCase {
  std::string Term;
  Extended Expected;
};

TEST(CompileTerm, ProgramsEvaluateAsWritten) {
  const ValueCase cases[] = {
      {"2^3^2", 64},
      {"-2^2", -4},
      {"-2*3", -6},
      {"2*(-3)", -6},
      {"1+2=3", 1},
      {"1E+2/4", 25},
      {"10-2-3", 5},
      {"2*(3+4)", 14},
      {"1+2*3^2", 19},
      {"(7)mod(3)+1", 2},
      {"1<>2", 1},
      {"2>=2", 1},
      {"(1<2)+(2<=1)", 1},
      {"TRUE+TRUE+FALSE", 2},
      {"x*10+Y", 32},
      {"MAX(2;3)", 3},
      {"SQRT(16)+ABS(-2)", 6},
      // two values without an operator: the bottom one is the result
      {"(2)(3)", 2},
      {"(2)3", 2},
      {"PI", ExtPi},
      {"C", ExtEulerGamma},
      {"E", context.E},
  };
  for (const ValueCase& c : cases) {
    const Evaluated got = Evaluate(c.Term, {}, {3, 2});
    ASSERT_EQ(got.Code, 0) << c.Term << ": " << got.Message;
    EXPECT_EQ(got.Status, 0) << c.Term << ": " << got.Message;
    EXPECT_EQ(got.Value, c.Expected) << c.Term;
  }
}

TEST(CompileTerm, WholeNumbersKeepEveryDigit) {
  // Up to 19 digits a whole number is taken directly; longer ones go through
  // the full reading. Both must give the exactly rounded value.
  const ValueCase cases[] = {
      {"0", 0},
      {"007", 7},
      {"0000000000000000001", 1},
      {"00000000000000000001", 1},
      {"1234567890123456789", 1234567890123456789.0L},
      {"9999999999999999999", 9999999999999999999.0L},
      {"18446744073709551615", 18446744073709551615.0L},
      {"18446744073709551617", 18446744073709551616.0L},
      {"123456789012345678901", 123456789012345678901.0L},
  };
  for (const ValueCase& c : cases) {
    const Compiled compiled = Compile(c.Term);
    ASSERT_EQ(compiled.Code, 0) << c.Term << ": " << compiled.Message;
    EXPECT_EQ(compiled.Message, "") << c.Term;
    ASSERT_EQ(compiled[1].Kind, ikNumber) << c.Term;
    EXPECT_EQ(compiled[1].Value, c.Expected) << c.Term;
    EXPECT_EQ(compiled[1].Value, NumberValue(c.Term)) << c.Term;
    EXPECT_EQ(compiled[2].Kind, ikEnd) << c.Term;
  }
  // A whole number as a constant's value, and in a longer term.
  Options options;
  options.Constants = {"BIG=9999999999999999999"};
  const Evaluated big = Evaluate("BIG-9999999999999999998", options);
  ASSERT_EQ(big.Code, 0) << big.Message;
  EXPECT_EQ(big.Value, 1);
}

TEST(CompileTerm, ExponentLiteralKeepsItsValue) {
  // The literal is read exactly rounded; 0.002 has no exact binary form, so
  // the product lies within a rounding step of 2.
  const Evaluated got = Evaluate("2E-3*1000");
  ASSERT_EQ(got.Code, 0) << got.Message;
  EXPECT_NEAR(static_cast<double>(got.Value - 2), 0.0, 1E-18);
}

TEST(CompileTerm, ProgramWithMissingOperandFailsWhenRun) {
  for (const char* term : {"(2)>>(3)", "2+(*3)", "2+(*)"}) {
    const Evaluated got = Evaluate(term);
    EXPECT_EQ(got.Code, 0) << term;
    EXPECT_EQ(got.Status, 7) << term;
    EXPECT_EQ(got.Message, "Missing or Wrong Operand") << term;
    EXPECT_EQ(got.Value, 0) << term;
  }
}

TEST(CompileTerm, RunFailuresOfCompiledTermsKeepTheirMessages) {
  const std::string general =
      "Function is not defined for the given argument\n\ror division by zero";
  const FailureCase cases[] = {
      {"1/0", 7, general},
      {"1E4000*1E4000", 7, general},
      {"(7)div(0)", 7, "Missing or Wrong Operand"},
      {"(-2147483648)div(-1)", 7, "Missing or Wrong Operand"},
      {"(4294967296)div(2)", 7, "Integer division:  Integer arguments required"},
      {"(4294967296)mod(3)", 7, "Modulo:  Integer arguments required"},
      {"(2.5)and(1)", 7, "Bitwise AND:  Integer arguments required"},
      {"FAC(65541)", 7, general},
      {"FAC(40000)", 7, general},
      {"(100000)over(40000)", 7, general},
  };
  for (const FailureCase& c : cases) {
    const Evaluated got = Evaluate(c.Term);
    ASSERT_EQ(got.Code, 0) << c.Term << ": " << got.Message;
    EXPECT_EQ(got.Status, c.Code) << c.Term;
    EXPECT_EQ(got.Message, c.Message) << c.Term;
    EXPECT_EQ(got.Value, 0) << c.Term;
  }
  EXPECT_EQ(Evaluate("1E-4000*1E-4000").Status, 0);
  EXPECT_EQ(Evaluate("(4294967297)and(3)").Value, 1);
}

TEST(CompileTerm, OnlyTheLastInstructionsWarningReachesTheCaller) {
  const Evaluated last = Evaluate("SI(100)");
  EXPECT_EQ(last.Status, 0);
  EXPECT_EQ(last.Message, MsgSiWarning);
  EXPECT_EQ(last.Value, ExtPi / 2);
  for (const char* term : {"SI(100)+0", "2*SI(100)"}) {
    const Evaluated followed = Evaluate(term);
    EXPECT_EQ(followed.Status, 0) << term;
    EXPECT_EQ(followed.Message, "") << term;
  }
}

TEST(Constants, AreFoldedIntoTheProgram) {
  Options options;
  options.Constants = {"TWOPI=2*PI", "half = 1/2", "Q = twopi*HALF", "PI=3", "X=100", "N=NAN"};
  const Evaluated twoPi = Evaluate("TWOPI/2", options);
  EXPECT_EQ(twoPi.Code, 0);
  EXPECT_EQ(twoPi.Value, ExtPi);
  // declared names and terms are matched like terms: without case or blanks
  EXPECT_EQ(Evaluate("Q", options).Value, ExtPi);
  // built-in constants win over declared ones, variables over both
  EXPECT_EQ(Evaluate("PI", options).Value, ExtPi);
  EXPECT_EQ(Evaluate("X", options, {7, 0}).Value, 7);
  const Compiled folded = Compile("TWOPI", options);
  ASSERT_EQ(folded.Count, 1);
  EXPECT_EQ(folded[1].Kind, ikNumber);
  const Compiled nan = Compile("N+1", options);
  EXPECT_EQ(nan.Code, 8);
  EXPECT_EQ(nan.Message, "NaN: Evaluation aborted");
}

TEST(Constants, FoldWithTheAngleFactorOfTheAnalysis) {
  Options options;
  options.Constants = {"S=SIN(90)"};
  options.AngleFactor = ExtDegFactor;
  const Compiled got = Compile("S", options);
  ASSERT_EQ(got.Code, 0) << got.Message;
  ASSERT_EQ(got.Count, 1);
  EXPECT_EQ(got[1].Kind, ikNumber);
  EXPECT_NEAR(static_cast<double>(got[1].Value), 1.0, 1E-15);
  options.AngleFactor = 1;
  EXPECT_NEAR(static_cast<double>(Compile("S", options)[1].Value), std::sin(90.0), 1E-15);
}

TEST(Constants, FailuresReachTheCallerAsUnknownNames) {
  struct Case {
    std::vector<std::string> Constants;
    std::string Term;
  };
  const Case cases[] = {
      {{"A=B", "B=A"}, "A"}, {{"A=A+1"}, "A"}, {{"A="}, "A"},
      {{"A= "}, "A"},        {{"A=X"}, "A"},    // no variables inside a constant
      {{"A=2*Q"}, "A"},      {{"A=1/0"}, "A"},  // the constant's run fails
      {{"A"}, "A"},
  };
  for (const Case& c : cases) {
    Options options;
    options.Constants = c.Constants;
    const Compiled got = Compile(c.Term + "*2", options);
    EXPECT_EQ(got.Code, 3) << c.Constants.front();
    EXPECT_EQ(got.Message, c.Term + Detected) << c.Constants.front();
    EXPECT_FALSE(context.Ok);
    EXPECT_EQ(context.ConstantDepth, 0);
  }
}

// K0=K1+1, K1=K2+1, ..., the last one a number.
std::vector<std::string> ConstantChain(int length) {
  std::vector<std::string> lines;
  for (int k = 0; k < length; ++k) {
    lines.push_back("K" + std::to_string(k) + "=" +
                    (k + 1 < length ? "K" + std::to_string(k + 1) + "+1" : "1"));
  }
  return lines;
}

TEST(Constants, NestingIsLimitedToOneHundredLevels) {
  Options options;
  options.Constants = ConstantChain(100);
  const Evaluated deep = Evaluate("K0", options);
  EXPECT_EQ(deep.Code, 0) << deep.Message;
  EXPECT_EQ(deep.Value, 100);
  options.Constants = ConstantChain(101);
  const Compiled tooDeep = Compile("K0", options);
  EXPECT_EQ(tooDeep.Code, 3);
  EXPECT_EQ(tooDeep.Message, "K0" + Detected);
  EXPECT_EQ(context.ConstantDepth, 0);
}

std::string Joined(int count, const std::string& operand, const std::string& separator) {
  std::string term = operand;
  for (int k = 1; k < count; ++k) term += separator + operand;
  return term;
}

TEST(ProgramBuffer, HoldsAtMost499RecordsAndTheEnd) {
  const Evaluated fits = Evaluate(Joined(250, "1", "+"));
  EXPECT_EQ(fits.Code, 0) << fits.Message;
  EXPECT_EQ(fits.Value, 250);
  EXPECT_EQ(Compile(Joined(250, "1", "+")).Count, 499);

  for (const std::string& term :
       {Joined(251, "1", "+"), Joined(251, "1", "*"), Joined(500, "X", "-")}) {
    const Compiled got = Compile(term);
    EXPECT_EQ(got.Code, 2) << term.size();
    EXPECT_EQ(got.Message, CannotAnalyze) << term.size();
    EXPECT_FALSE(context.Ok);
  }
}

// 1-(1-(1-(...(1)...))): every level leaves an operator waiting on the stack
// at the top of the buffer while the numbers fill it from the bottom.
std::string NestedDifference(int depth) {
  std::string term;
  for (int k = 1; k < depth; ++k) term += "1-(";
  return term + "1" + std::string(static_cast<std::size_t>(depth - 1), ')');
}

TEST(ProgramBuffer, PendingOperatorsShareTheBuffer) {
  const Evaluated fits = Evaluate(NestedDifference(250));
  EXPECT_EQ(fits.Code, 0) << fits.Message;
  EXPECT_EQ(fits.Value, 0);
  const Compiled tooLong = Compile(NestedDifference(251));
  EXPECT_EQ(tooLong.Code, 2);
  EXPECT_EQ(tooLong.Message, CannotAnalyze);
}

TEST(DeepNesting, PrioritiesBeyondSixteenBitsKeepTheirOrder) {
  struct Case {
    int Depth;
    std::string Inner;
    Extended Expected;
  };
  // 6553 levels put '*' just below 65536 and the '+' inside just above it.
  const Case cases[] = {
      {6553, "2*(3+4)", 14},
      {6553, "2^(3*2)", 64},
      {7000, "1", 1},
      {7000, "-2^2+1", -3},
  };
  for (const Case& c : cases) {
    const std::string term = std::string(static_cast<std::size_t>(c.Depth), '(') + c.Inner +
                             std::string(static_cast<std::size_t>(c.Depth), ')');
    const Evaluated got = Evaluate(term);
    EXPECT_EQ(got.Code, 0) << c.Inner << ": " << got.Message;
    EXPECT_EQ(got.Status, 0) << c.Inner;
    EXPECT_EQ(got.Value, c.Expected) << c.Inner;
  }
}

}  // namespace
}  // namespace engine
