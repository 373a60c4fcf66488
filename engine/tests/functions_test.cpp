// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The built-in functions as a term's author meets them: through TTermParser
// (names, argument order, angle modes, messages and warnings), and on hand-made
// programs where a term cannot reach (a short stack, unknown codes, NaN).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/interpreter.h"
#include "engine/parser.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "engine/special_functions.h"
#include "test_support.h"

namespace engine {
namespace {

using test::ProgramBuilder;

const char* const General = "Function is not defined for the given argument\n\ror division by zero";
const Extended Inf = std::numeric_limits<Extended>::infinity();
const Extended Pi = ExtPi;

struct Evaluation {
  Extended Value;
  int Status;
  std::string Message;
};

// One parser with its declarations, as a host program holds them.
class Calculator {
 public:
  Calculator() { parser_.SetDeclarations(&declarations_); }

  void SetTerm(const std::string& term, TAngleMode mode = RAD) {
    parser_.SetAnglemode(mode);
    parser_.SetTerm(term);
  }
  Evaluation Evaluate() {
    const Extended value = parser_.Evaluate();
    return {value, parser_.EvalError(), parser_.ErrorText()};
  }
  Evaluation Run(const std::string& term, TAngleMode mode = RAD) {
    SetTerm(term, mode);
    return Evaluate();
  }

 private:
  TParserDeclarations declarations_;
  TTermParser parser_;
};

struct ValueCase {
  const char* Term;
  Extended Expected;
  Extended Tolerance;  // absolute
};

// Reference values are those of the exact functions; the tolerances allow
// the last bits of the extended arithmetic, or the prescribed algorithm's own
// error where a comment says so.
TEST(Functions, EveryFunctionComputesItsValue) {
  const ValueCase cases[] = {
      {"CABS(3;4)", 5, 0},
      {"CABS(-5;0)", 5, 0},
      {"CABS(0;-2)", 2, 0},
      {"SQRT(2)", 1.414213562373095048802L, 2e-19L},
      {"LN(2)", 0.6931471805599453094172L, 2e-19L},
      {"EXP(1)", 2.71828182845904523536L, 5e-19L},
      {"EXP(-20000)", 0, 0},
      {"ARCSIN(0.5)", Pi / 6, 2e-19L},
      {"ARCSIN(-1)", -Pi / 2, 2e-19L},
      {"ARCCOS(0.5)", Pi / 3, 2e-19L},
      {"ARCCOS(-1)", Pi, 0},
      {"ARCTAN(1)", Pi / 4, 0},
      {"ARTANH(0.5)", 0.5493061443340548457L, 2e-19L},
      {"ARTANH(1)", Inf, 0},
      {"ARTANH(-1)", -Inf, 0},
      {"REZ(4)", 0.25L, 0},
      {"INVERF(0.6)", 0.2533471031357997988L, 1e-14L},
      {"SGN(-3)", -1, 0},
      {"SGN(0)", 0, 0},
      {"CBRT(-27)", -3, 1e-17L},
      {"ARSINH(1)", 0.8813735870195430252L, 2e-19L},
      {"ARSINH(-1E10)", -23.718998110500402150L, 1e-17L},
      {"ARCOSH(2)", 1.316957896924816708625L, 2e-19L},
      {"ARCOSH(1)", 0, 0},
      {"SINH(1)", 1.175201193643801456882L, 2e-19L},
      {"SINH(1E-17)", 0, 0},
      {"COSH(1)", 1.543080634815243778478L, 2e-19L},
      {"COSH(-1E-17)", 1, 0},
      {"TANH(1)", 0.7615941559557648881195L, 2e-19L},
      {"TANH(11000)", 1, 0},
      // tanh is bounded: where sinh and cosh overflow, it is +-1.
      {"TANH(11357.3)", 1, 0},
      {"TANH(-1E4000)", -1, 0},
      {"TANH(64.5)", 1, 0},
      {"COTH(11357.3)", 1, 0},
      {"COTH(-1E4000)", -1, 0},
      {"TAN(1)", 1.557407724654902230507L, 5e-19L},
      {"ERF(1)", 0.8413447460685429486L, 1e-15L},
      {"ERF(6)", 1, 0},
      {"GAUSS(1)", 0.2419707245191433498L, 1e-15L},
      {"LG(1000)", 3, 5e-19L},
      {"LG(2)", 0.3010299956639811952L, 1e-19L},
      {"J0(1)", 0.76519768655796655145L, 1e-14L},
      {"J1(1)", 0.44005058574493351596L, 1e-14L},
      {"J2(1)", 0.11490348493190048047L, 1e-14L},
      {"J3(1)", 0.019563353982668405919L, 1e-14L},
      {"J4(1)", 0.0024766389641099550438L, 1e-14L},
      {"J5(1)", 0.00024975773021123443138L, 1e-14L},
      {"SIN(1)", 0.8414709848078965066525L, 2e-19L},
      {"COS(1)", 0.5403023058681397174009L, 2e-19L},
      {"THETA(0)", 0, 0},
      {"THETA(2)", 1, 0},
      {"FRAC(-2.75)", -0.75L, 0},
      {"FRAC(7)", 0, 0},
      {"INT(-2.75)", -2, 0},
      {"INT(1E30)", 1E30L, 0},  // any size, not only 64 bits
      {"SI(1)", 0.94608307036718301494L, 1e-15L},
      {"CI(1)", 0.3374039229009681347L, 2e-15L},
      {"EI(1)", 1.8951178163559367555L, 2e-15L},
      {"LI(2)", 1.045163780117492784845L, 2e-15L},
      // The gamma product is cut after 100000 factors: 23.99988, not 24.
      {"GAMMA(5)", 23.99988L, 1e-5L},
      {"LB(1024)", 10, 0},
      {"SQR(-3)", 9, 0},
      {"ARCCOT(2)", 0.4636476090008061162L, 2e-19L},
      {"ARCCOT(-2)", -0.4636476090008061162L, 2e-19L},
      {"ARCCOT(0)", Pi / 2, 0},
      {"ARCOTH(2)", 0.5493061443340548457L, 2e-19L},
      {"COTH(1)", 1.313035285499331303636L, 5e-19L},
      {"COT(1)", 0.6420926159343307030L, 5e-19L},
      {"MAX(3;7)", 7, 0},
      {"MAX(7;3)", 7, 0},
      {"MIN(3;7)", 3, 0},
      {"MIN(-7;3)", -7, 0},
      {"ROOT(3;27)", 3, 1e-17L},
      {"ROOT(3;-27)", -3, 1e-17L},
      {"ROOT(-2;4)", 0.5L, 1e-18L},
      {"LOG(2;8)", 3, 0},
      {"LOG(10;0.001)", -3, 1e-18L},
      {"J(2;1)", 0.11490348493190048047L, 1e-14L},
      {"ATAN2(1;0)", Pi / 2, 0},
      {"ATAN2(0;-1)", Pi, 0},
      {"ATAN2(-1;-1)", -3 * Pi / 4, 5e-19L},
      {"ATAN2(0;1)", 0, 0},
      {"POISSON(2;3)", 0.180447044315483589192L, 1e-18L},
      {"MODULO(-7.5;2)", -1.5L, 0},
      {"MODULO(7;2)", 1, 0},
      {"BINO(5;2)", 10, 0},
      {"ABS(-3.5)", 3.5L, 0},
      {"FAC(5)", 120, 0},
      {"FAC(-3)", 1, 0},
      {"BNOT(0)", -1, 0},
      {"BNOT(-1)", 0, 0},
      {"IF(1;10;20)", 10, 0},
      {"IF(0;10;20)", 20, 0},
      {"IF(2>1;10;20)", 10, 0},
      {"NOT(0)", 1, 0},
      {"NOT(1)", 0, 0},
      {"CEIL(2.1)", 3, 0},
      {"CEIL(-2.1)", -2, 0},
      {"CEIL(5)", 5, 0},
      {"FLOOR(2.1)", 2, 0},
      {"FLOOR(-2.1)", -3, 0},
      // The full 64-bit truncation, not its low 32 bits (which give 1).
      {"CEIL(4294967296.5)", 4294967297.0L, 0},
      {"FLOOR(-4294967296.5)", -4294967297.0L, 0},
      {"FLOOR(9223372036854775807)", 9223372036854775807.0L, 0},
      {"ODD(3)", 1, 0},
      {"ODD(-4)", 0, 0},
      {"ROUND(2.5)", 2, 0},
      {"ROUND(-2.5)", -2, 0},
      {"ROUND(3.5)", 4, 0},
      {"ROUND(2.6)", 3, 0},
      {"ROUND(-9223372036854775807)", -9223372036854775807.0L, 0},
      {"POIRAND(0)", 0, 0},
      {"RAND(2;2)", 2, 0},
      {"POICUM(2;3)", 0.857123460498547048662L, 1e-18L},
      // n far beyond any count stops once the terms no longer count.
      {"POICUM(3;1E30)", 1, 1e-17L},
  };
  Calculator calc;
  for (const ValueCase& c : cases) {
    const Evaluation got = calc.Run(c.Term);
    EXPECT_EQ(got.Status, 0) << c.Term << ": " << got.Message;
    EXPECT_EQ(got.Message, "") << c.Term;
    if (std::isinf(c.Expected)) {
      EXPECT_EQ(got.Value, c.Expected) << c.Term;
    } else {
      EXPECT_LE(std::fabs(got.Value - c.Expected), c.Tolerance)
          << c.Term << " = " << std::setprecision(21) << got.Value;
    }
  }
}

TEST(Functions, WholeNumberResultsHaveNoNegativeZero) {
  Calculator calc;
  for (const char* term : {"CEIL(-0.5)", "ROUND(-0.4)", "CEIL(-0.0001)", "ROUND(-0.5)"}) {
    const Evaluation got = calc.Run(term);
    EXPECT_EQ(got.Value, 0) << term;
    EXPECT_FALSE(std::signbit(got.Value)) << term;
  }
}

struct FailureCase {
  const char* Term;
  const char* Message;
};

TEST(Functions, FailuresEndTheEvaluationWithTheirMessage) {
  const FailureCase cases[] = {
      {"SQRT(-1)", General},
      {"LN(0)", General},
      {"LN(-1)", General},
      {"EXP(12000)", General},
      {"ARCSIN(2)", General},
      {"ARCCOS(-1.5)", General},
      {"ARTANH(2)", General},
      {"ARCOSH(0.5)", General},
      {"SINH(12000)", General},
      {"COSH(-12000)", General},
      {"LG(0)", General},
      {"J0(-40)", General},
      {"J3(-50)", General},
      {"CI(0)", General},
      {"EI(0)", General},
      {"LI(1)", General},
      {"LI(0)", General},
      {"LI(-2)", General},
      {"GAMMA(0)", General},
      {"GAMMA(-2)", General},
      {"GAMMA(1756)", General},
      {"LB(-1)", General},
      {"SQR(1E3000)", General},
      {"ARCOTH(1)", General},
      {"ARCOTH(0.5)", General},
      {"COTH(0)", General},
      {"COTH(1E-17)", General},
      {"COT(0)", General},
      {"ROOT(2;-4)", General},
      {"ROOT(4;-16)", General},
      {"ROOT(0;5)", General},
      {"ROOT(-2;0)", General},  // 1/sqrt(0): a division by zero, not 0
      {"LOG(1;8)", General},
      {"LOG(0;8)", General},
      {"LOG(-2;8)", General},
      {"LOG(2;0)", General},
      {"J(-1;2)", General},
      {"J(0;-40)", General},
      {"MODULO(1;0)", General},
      {"FAC(1800)", General},
      {"FRAC(ARTANH(1))", General},
      {"POISSON(2;ARTANH(1))", General},  // the infinity outranks the message
      // An infinite mean has no distribution; e^-lambda is an exact infinity
      // or zero there and raises no flag of its own.
      {"POISSON(-ARTANH(1);5)", General},
      {"POISSON(ARTANH(1);5)", General},
      {"POICUM(-ARTANH(1);5)", General},
      {"POICUM(ARTANH(1);0)", General},
      {"IF(1;10;1/0)", General},
      // 2^63 and beyond have no 64-bit integer.
      {"CEIL(9223372036854775808)", General},
      {"FLOOR(-1E19)", General},
      {"ROUND(9223372036854775808)", General},
      {"ROUND(-1E30)", General},
      {"ROUND(-9223372036854775808)", General},
      // Integers beyond the 16 or 32 bits they are taken as fail instead of
      // wrapping around: ROOT(65538;4) is not ROOT(2;4).
      {"ROOT(65538;4)", General},
      {"ROOT(-32769;4)", General},
      {"J(65536;1)", General},
      {"POISSON(1;4294967298)", General},
      // e^(-12000) is 0: no sum of Poisson terms can reach the draw.
      {"POIRAND(12000)", General},
      {"INVERF(0.05)", "Argument of inverse Errorfunction is out of the converging region"},
      {"INVERF(0.95)", "Argument of inverse Errorfunction is out of the converging region"},
      {"ROOT(2.5;4)", "Unvalid argument for root function"},
      {"J(1.5;2)", "Order of bessel function must be natural"},
      {"POISSON(2;2.5)", "Poisson distribution:  Discrete argument required"},
      {"POICUM(2;2.5)", "Poisson distribution:  Discrete argument required"},
      {"BINO(2.5;1)", "Binomial coefficient:  Integer arguments required"},
      {"BINO(2;5)", "Binomial coefficient:   2nd argument must be smaller than 1st"},
      {"FAC(2.5)", "Factorial argument must be natural"},
      {"BNOT(0.5)", "Bitwise NOT: Integer argument required"},
      {"IF(2;10;20)", "IF: Boolean condition expected "},
      {"IF(0.5;10;20)", "IF: Boolean condition expected "},
      {"NOT(0.5)", "Logical NOT:  Boolean argument required"},
      {"ODD(2.5)", "Odd: integer argument required"},
      // A failure inside an argument ends the run before the function.
      {"SIN(SQRT(-1))", General},
      {"ABS(ROOT(2.5;4))", "Unvalid argument for root function"},
  };
  Calculator calc;
  for (const FailureCase& c : cases) {
    const Evaluation got = calc.Run(c.Term);
    EXPECT_EQ(got.Status, 7) << c.Term;
    EXPECT_EQ(got.Value, 0) << c.Term;
    EXPECT_EQ(got.Message, c.Message) << c.Term;
  }
}

struct WarningCase {
  const char* Term;
  Extended Expected;
  const char* Message;  // "" when a later instruction has replaced it
};

TEST(Functions, WarningsReachTheCallerOnlyFromTheLastInstruction) {
  const char* const rez = "Division by zero. Large value inserted.";
  const char* const si = "Argument of integral sine is too large. Result is only approximated";
  const char* const ci = "Argument of integral cosine is too large. Result is only approximated";
  const WarningCase cases[] = {
      {"REZ(0)", 1E4000L, rez},
      {"REZ(1E-200)", 1E4000L, rez},
      {"REZ(-1E-200)", -1E4000L, rez},
      {"REZ(1E-200*1)", 1E4000L, rez},
      {"SI(50)", Pi / 2, si},
      {"SI(-50)", -Pi / 2, si},
      {"CI(50)", 0, ci},
      {"CI(-1E300)", 0, ci},
      {"REZ(0)*1", 1E4000L, ""},
      {"SI(50)+0", Pi / 2, ""},
      {"2*CI(50)", 0, ""},
      {"ABS(SI(-50))", Pi / 2, ""},
  };
  Calculator calc;
  for (const WarningCase& c : cases) {
    const Evaluation got = calc.Run(c.Term);
    EXPECT_EQ(got.Status, 0) << c.Term;
    EXPECT_EQ(got.Value, c.Expected) << c.Term;
    EXPECT_EQ(got.Message, c.Message) << c.Term;
  }
  // A warning does not linger into the next evaluation.
  calc.Run("SI(50)");
  EXPECT_EQ(calc.Run("SI(1)").Message, "");
}

struct AngleCase {
  TAngleMode Mode;
  const char* Term;
  Extended Expected;
  Extended Tolerance;
};

TEST(Functions, TrigonometryFollowsTheAngleMode) {
  // The four trigonometric functions scale their argument, the five inverse
  // ones their result.
  const AngleCase cases[] = {
      {DEG, "SIN(90)", 1, 0},
      {DEG, "SIN(30)", 0.5L, 1e-18L},
      {DEG, "COS(180)", -1, 0},
      {DEG, "TAN(45)", 1, 1e-18L},
      {DEG, "COT(45)", 1, 1e-18L},
      {DEG, "ARCSIN(1)", 90, 1e-16L},
      {DEG, "ARCCOS(0)", 90, 1e-16L},
      {DEG, "ARCTAN(1)", 45, 1e-16L},
      {DEG, "ARCCOT(1)", 45, 1e-16L},
      {DEG, "ARCCOT(0)", 90, 1e-16L},
      {DEG, "ATAN2(1;0)", 90, 1e-16L},
      {DEG, "ATAN2(0;-1)", 180, 1e-16L},
      {GON, "SIN(100)", 1, 0},
      {GON, "COS(200)", -1, 0},
      {GON, "TAN(50)", 1, 1e-18L},
      {GON, "ARCSIN(1)", 100, 1e-16L},
      {GON, "ARCTAN(-1)", -50, 1e-16L},
      {GON, "ATAN2(-1;0)", -100, 1e-16L},
      {RAD, "SIN(1)", 0.8414709848078965066525L, 2e-19L},
      {RAD, "ARCSIN(1)", Pi / 2, 0},
  };
  Calculator calc;
  for (const AngleCase& c : cases) {
    const Evaluation got = calc.Run(c.Term, c.Mode);
    EXPECT_EQ(got.Status, 0) << c.Term;
    EXPECT_LE(std::fabs(got.Value - c.Expected), c.Tolerance)
        << c.Term << " in mode " << int{c.Mode} << " = " << std::setprecision(21) << got.Value;
  }
}

TEST(Functions, HyperbolicAndOtherFunctionsIgnoreTheAngleMode) {
  Calculator calc;
  for (const char* term : {"SINH(1)", "COSH(1)", "TANH(1)", "COTH(1)", "ARSINH(1)", "ARCOSH(2)",
                           "ARTANH(0.5)", "ARCOTH(2)", "EXP(1)", "SI(1)", "J0(1)", "GAUSS(1)"}) {
    const Extended rad = calc.Run(term, RAD).Value;
    EXPECT_EQ(calc.Run(term, DEG).Value, rad) << term;
    EXPECT_EQ(calc.Run(term, GON).Value, rad) << term;
  }
}

TEST(Functions, RandomFunctionsDrawOnceFromTheGenerator) {
  Calculator calc;
  const std::uint32_t seed = 987654321;
  RandomGenerator lcg(seed);
  calc.SetTerm("RND(6)");
  SetRandomSeed(seed);
  for (int i = 0; i < 10; ++i) {
    const Extended u = lcg.Unit();
    EXPECT_EQ(calc.Evaluate().Value, u * 6);  // a fresh draw on every evaluation
  }
  calc.SetTerm("RAND(5;10)");
  for (int i = 0; i < 10; ++i) {
    const Extended u = lcg.Unit();
    const Extended got = calc.Evaluate().Value;
    EXPECT_EQ(got, 5 + u * (10 - 5));
    EXPECT_TRUE(got >= 5 && got < 10);
  }
  // The first argument's draw comes first.
  calc.SetTerm("RAND(0;1)-2*RAND(0;1)");
  const Extended first = lcg.Unit();
  const Extended second = lcg.Unit();
  EXPECT_EQ(calc.Evaluate().Value, first - 2 * second);
  // NORMRAND maps its draw into [0.16, 0.84), inside INVERF's region: it
  // never fails, and its values stay within about m +- 0.99 s.
  calc.SetTerm("NORMRAND(10;2)");
  for (int i = 0; i < 50; ++i) {
    const Extended u = lcg.Unit();
    const Evaluation got = calc.Evaluate();
    ASSERT_EQ(got.Status, 0);
    RunContext inverf;
    EXPECT_EQ(got.Value, 10 + 2 * INVERF(inverf, 0.16L + u * (0.84L - 0.16L)));
    EXPECT_LT(std::fabs(got.Value - 10), 2 * 0.995L);
  }
  // POIRAND: the smallest count whose cumulative probability reaches u.
  calc.SetTerm("POIRAND(2)");
  const Extended e2 = std::exp(-2.0L);
  const Extended cumulative[] = {e2, 3 * e2, 5 * e2, 19 * e2 / 3, 7 * e2, 109 * e2 / 15};
  for (int i = 0; i < 30; ++i) {
    const Extended u = lcg.Unit();
    int expected = 0;
    while (expected < 6 && u > cumulative[expected]) ++expected;
    if (expected == 6) {
      calc.Evaluate();  // counts above 5 are not worth a table entry
      continue;
    }
    EXPECT_EQ(calc.Evaluate().Value, expected) << static_cast<double>(u);
  }
}

// The context of the runs of Execute.
RunContext context;

Evaluation Execute(ProgramBuilder& builder) {
  Evaluation got{-1, -1, "previous text"};
  got.Value = RunProgram(context, builder.Build(), {}, 1, got.Status, got.Message);
  return got;
}

TEST(Functions, TooFewArgumentsNeverReachBelowTheStack) {
  struct ShortCall {
    int Code;
    int Arity;
  };
  // CABS, SIN, MAX, ATAN2, BINO, IF, RAND, POICUM
  const ShortCall calls[] = {{1, 2}, {28, 1}, {45, 2}, {50, 2}, {54, 2}, {59, 3}, {66, 2}, {67, 2}};
  for (const ShortCall& call : calls) {
    for (int given = 0; given <= call.Arity; ++given) {
      ProgramBuilder builder;
      for (int i = 0; i < given; ++i) builder.Number(0);
      builder.Function(call.Code);
      const Evaluation got = Execute(builder);
      if (given < call.Arity) {
        EXPECT_EQ(got.Status, 7) << call.Code << " with " << given;
        EXPECT_EQ(got.Message, "Missing or Wrong Operand") << call.Code << " with " << given;
        EXPECT_FALSE(context.Ok);
        EXPECT_EQ(context.Pending, "");
      } else {
        EXPECT_EQ(got.Status, 0) << call.Code;
      }
    }
  }
}

TEST(Functions, ArgumentsComeInTheirOrderAndTheResultReplacesTheFirst) {
  // Values below the call's own arguments stay where they are.
  ProgramBuilder builder;
  builder.Number(100).Number(8).Number(2).Function(47);  // 100, then ROOT(8;2)
  Evaluation got = Execute(builder);
  EXPECT_EQ(got.Status, 0);
  EXPECT_EQ(got.Value, 100);  // the bottom of the stack is the result

  ProgramBuilder root;
  root.Number(3).Number(8).Function(47);  // ROOT(3;8): index first, radicand on top
  got = Execute(root);
  EXPECT_LE(std::fabs(got.Value - 2), 1e-18L);

  ProgramBuilder choice;
  choice.Number(0).Number(10).Number(20).Function(59);  // IF(0;10;20)
  EXPECT_EQ(Execute(choice).Value, 20);
}

TEST(Functions, DamagedProgramsFailCleanly) {
  // Codes that name no function, and NaN arguments (which no term can
  // produce), end the run with the general message.
  for (const int code : {0, 58, 68, -1, 1000}) {
    ProgramBuilder builder;
    builder.Number(1).Number(1).Number(1).Function(code);
    const Evaluation got = Execute(builder);
    EXPECT_EQ(got.Status, 7) << code;
    EXPECT_EQ(got.Message, General) << code;
  }
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  for (const int code : {2, 11, 19, 33, 35, 37, 45, 55, 65, 67}) {
    ProgramBuilder builder;
    builder.Number(nan).Number(nan).Function(code);
    const Evaluation got = Execute(builder);
    EXPECT_EQ(got.Status, 7) << code;
    EXPECT_EQ(got.Message, General) << code;
  }
}

}  // namespace
}  // namespace engine
