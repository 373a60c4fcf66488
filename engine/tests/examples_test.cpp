// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Worked terms end to end through TTermParser, as a host program meets them:
// SetTerm, and Evaluate only when the analysis succeeded. Each table pins the
// value, the code and the exact message of terms that the routine-level tests
// reach only as hand-made programs or not at all: operator words and signs in
// real term text, 32-bit ranges, stack guards, and the gamma product's own
// truncation error.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <string>
#include <vector>

#include "engine/parser.h"

namespace engine {
namespace {

const char* const General = "Function is not defined for the given argument\n\ror division by zero";
const char* const WrongOperand = "Missing or Wrong Operand";
const char* const MissingOperand = "Missing Operand in Function Term";
const char* const Detected = " was detected in the string. Unknown or recursive call";

struct Outcome {
  int Code;
  Extended Value;
  std::string Message;
};

// One parser with its declarations; the default variables t, x, y, z with
// x = 3.
struct Calculator {
  TParserDeclarations decl;
  TTermParser parser;

  Calculator() {
    parser.SetDeclarations(&decl);
    parser.SetVarValue("x", 3);
  }
  Outcome Run(const std::string& term, TAngleMode mode = RAD) {
    parser.SetAnglemode(mode);
    parser.SetTerm(term);
    if (parser.EvalError() != 0) return {parser.EvalError(), 0, parser.ErrorText()};
    const Extended value = parser.Evaluate();
    return {parser.EvalError(), value, parser.ErrorText()};
  }
};

struct TermCase {
  const char* Term;
  int Code;
  Extended Expected;   // ignored unless Code is 0
  Extended Tolerance;  // absolute; 0 asks for the exact value
  std::string Message;
};

void Check(Calculator& calc, const TermCase& c) {
  const Outcome got = calc.Run(c.Term);
  SCOPED_TRACE(c.Term);
  EXPECT_EQ(got.Code, c.Code);
  EXPECT_EQ(got.Message, c.Message);
  if (c.Code != 0) {
    EXPECT_EQ(got.Value, 0);
  } else if (c.Tolerance == 0) {
    EXPECT_EQ(got.Value, c.Expected) << std::setprecision(21) << got.Value;
  } else {
    EXPECT_LE(std::fabs(got.Value - c.Expected), c.Tolerance) << std::setprecision(21) << got.Value;
  }
}

void CheckAll(const std::vector<TermCase>& cases) {
  Calculator calc;
  for (const TermCase& c : cases) Check(calc, c);
}

// Blanks, case, ';' and operator words are normalised before the sign pass;
// a unary minus stands only at the start or after '('; exponent signs belong
// to their number.
TEST(TermText, NormalisationAndSignsReachTheCompiler) {
  CheckAll({
      {"2 * ( 3 + x )", 0, 12, 0, ""},
      {"max(2; 5)", 0, 5, 0, ""},
      {"(7) Div (2)", 0, 3, 0, ""},
      {"(12)and(10)", 0, 8, 0, ""},
      // Operator words need parentheses around their operands.
      {"2 mod 3", 3, 0, 0, std::string("2MOD3") + Detected},
      {"(1)AND", 3, 0, 0, std::string("AND") + Detected},
      {"2!", 3, 0, 0, std::string("2!") + Detected},
      {"((-2))", 0, -2, 0, ""},
      {"-(-2)", 0, 2, 0, ""},
      {"2-(-3)", 0, 5, 0, ""},
      {"-x^2", 0, -9, 0, ""},
      {"x^-2", 5, 0, 0, MissingOperand},
      {"2*3-", 5, 0, 0, MissingOperand},
      {"1.5E+3", 0, 1500, 0, ""},
      {"1e3", 0, 1000, 0, ""},
      {".5+.5", 0, 1, 0, ""},
      {"1E-5*100000", 0, 1, 1e-18L, ""},
      // E after a name is the constant, not an exponent.
      {"E-1", 0, 1.718281828459045235360L, 2e-19L, ""},
      {"2E", 3, 0, 0, std::string("2E") + Detected},
      // Literals beyond the extended range are no numbers; tiny ones are 0.
      {"1E5000", 3, 0, 0, std::string("1E5000") + Detected},
      {"1E-5000", 0, 0, 0, ""},
      {"2(3)", 3, 0, 0, "Undefined Function: 2"},
      {"PI(2)", 3, 0, 0, "Undefined Function: PI"},
      {"XSIN(1)", 3, 0, 0, "Syntax Error"},
      {"1<2<3", 0, 1, 0, ""},
  });
}

// The operators as written in terms, with their 32-bit integer conversions
// and the power rules.
TEST(OperatorsInTerms, ValuesAndMessages) {
  CheckAll({
      {"(7)DIV(2)", 0, 3, 0, ""},
      {"(-7)DIV(2)", 0, -3, 0, ""},
      {"(-7)MOD(2)", 0, -1, 0, ""},
      {"(7)MOD(-2)", 0, 1, 0, ""},
      {"(7)MOD(0)", 7, 0, 0, WrongOperand},
      {"0/0", 7, 0, 0, General},
      {"(2.000000000000001)AND(3)", 0, 2, 0, ""},
      {"(5)OR(3)", 0, 7, 0, ""},
      {"(5)XOR(3)", 0, 6, 0, ""},
      {"(1)SHL(33)", 0, 2, 0, ""},
      {"(1)SHL(31)", 0, -2147483648.0L, 0, ""},
      {"(-1)SHR(1)", 0, 2147483647, 0, ""},
      {"(-1)SHR(0)", 0, -1, 0, ""},
      {"(1)AND(2.5)", 7, 0, 0, "Bitwise AND:  Integer arguments required"},
      {"(2.5)OR(1)", 7, 0, 0, "Bitwise OR:  Integer arguments required"},
      {"(2.5)XOR(1)", 7, 0, 0, "Bitwise XOR:  Integer arguments required"},
      {"(2.5)SHL(1)", 7, 0, 0, "Shift left:  Integer arguments required"},
      {"(2.5)SHR(1)", 7, 0, 0, "Shift right:  Integer arguments required"},
      {"(2.5)DIV(1)", 7, 0, 0, "Integer division:  Integer arguments required"},
      {"(2.5)MOD(1)", 7, 0, 0, "Modulo:  Integer arguments required"},
      // DIV and MOD refuse operands outside 32 bits; the bitwise operators
      // work on the low 32 bits.
      {"(2147483648)DIV(1)", 7, 0, 0, "Integer division:  Integer arguments required"},
      {"(4294967296)MOD(2)", 7, 0, 0, "Modulo:  Integer arguments required"},
      {"(1)MOD(2147483648)", 7, 0, 0, "Modulo:  Integer arguments required"},
      {"(-2147483648)DIV(1)", 0, -2147483648.0L, 0, ""},
      {"(-2147483648)MOD(-1)", 7, 0, 0, WrongOperand},
      {"(2147483648)AND(1)", 0, 0, 0, ""},
      {"(9223372036854775808)AND(1)", 7, 0, 0, General},
      // From 2^63 on an operand has no integer reading: DIV and MOD fail like
      // the bitwise operators; below that the operator's own message stays.
      {"(9223372036854775808)DIV(1)", 7, 0, 0, General},
      {"(1)MOD(-1E19)", 7, 0, 0, General},
      {"(9223372036854774784)DIV(1)", 7, 0, 0, "Integer division:  Integer arguments required"},
      {"(5)OVER(3)", 0, 10, 0, ""},
      {"(2)OVER(5)", 7, 0, 0, "Binomial coefficient:   2nd argument must be smaller than 1st"},
      {"(5.5)OVER(2)", 7, 0, 0, "Binomial coefficient:  Integer arguments required"},
      {"(4294967301)OVER(2)", 7, 0, 0, General},
      {"0^0", 0, 1, 0, ""},
      {"(-2)^3", 0, -8, 0, ""},
      {"2^(-1)", 0, 0.5L, 0, ""},
      {"(-8)^(1/3)", 7, 0, 0, General},
      {"0^(-1)", 7, 0, 0, General},
      {"(-1)^2147483647", 0, -1, 0, ""},
      // Beyond 32 bits the exponent goes through the logarithm of the base.
      {"(-1)^2147483648", 7, 0, 0, General},
      {"2^2147483648", 7, 0, 0, General},
      {"3>2", 0, 1, 0, ""},
      {"2<>2", 0, 0, 0, ""},
      {"2<=2", 0, 1, 0, ""},
      {"2>=3", 0, 0, 0, ""},
      {"2=2.000000000000001", 0, 0, 0, ""},
      // Programs short of an operand never read below the stack.
      {"3=>2", 7, 0, 0, WrongOperand},
      {"MAX(2)", 7, 0, 0, WrongOperand},
      {"CABS(3)", 7, 0, 0, WrongOperand},
      {"SIN()", 7, 0, 0, WrongOperand},
      // A surplus value stays below the result, which is the bottom value.
      {"(2)(3)+1", 0, 2, 0, ""},
  });
}

// Integer functions through the dispatch, with the ranges of their
// conversions.
TEST(FunctionsInTerms, IntegerAndDiscreteArguments) {
  CheckAll({
      {"BNOT(5)", 0, -6, 0, ""},
      {"BINO(5;5)", 0, 1, 0, ""},
      {"BINO(5;0)", 0, 1, 0, ""},
      {"BINO(5;-2)", 0, 1, 0, ""},
      {"BINO(2;3)", 7, 0, 0, "Binomial coefficient:   2nd argument must be smaller than 1st"},
      {"BINO(5.5;2)", 7, 0, 0, "Binomial coefficient:  Integer arguments required"},
      {"BINO(4294967296;1)", 7, 0, 0, General},
      {"ODD(-3)", 0, 1, 0, ""},
      {"ODD(4)", 0, 0, 0, ""},
      {"FAC(0)", 0, 1, 0, ""},
      {"FAC(1755)", 7, 0, 0, General},
      {"FLOOR(-9223372036854775809)", 7, 0, 0, General},
      {"POISSON(1;1)", 0, 0.3678794411714423215955L, 2e-19L, ""},
      {"POISSON(2;-3)", 0, 0.1353352832366126918939L, 2e-19L, ""},
      {"POICUM(2;-3)", 0, 0.1353352832366126918939L, 2e-19L, ""},
      {"POICUM(2;1000000000)", 0, 1, 1e-18L, ""},
      {"POISSON(2;4294967297)", 7, 0, 0, General},
      {"ROOT(3;-8)", 0, -2, 1e-18L, ""},
      {"ROOT(-3;-8)", 0, -0.5L, 1e-18L, ""},
      {"ROOT(1;-5)", 0, -5, 0, ""},
      {"ROOT(3;0)", 0, 0, 0, ""},
      {"J(65538;1)", 7, 0, 0, General},
      {"POIRAND(20000)", 7, 0, 0, General},
  });
}

// Series and products whose prescribed form differs from the exact function.
TEST(FunctionsInTerms, SeriesAndProductValues) {
  // The gamma product stops after 100000 factors, which leaves it low by the
  // factor exp(-y^2/200000), y the argument reduced into [1, 2]; what remains
  // is far below 1e-9 relative.
  const Extended sqrtPi = std::sqrt(3.14159265358979323846L);
  const Extended cut1 = std::exp(-1.0L / 200000);
  const Extended cut15 = std::exp(-2.25L / 200000);
  const Extended sqrt2 = std::sqrt(2.0L);
  CheckAll({
      {"GAMMA(1)", 0, cut1, 1e-9L, ""},
      {"GAMMA(0.5)", 0, sqrtPi * cut15, 2e-9L, ""},
      {"GAMMA(1.5)", 0, sqrtPi / 2 * cut15, 1e-9L, ""},
      {"GAMMA(2.5)", 0, 3 * sqrtPi / 4 * cut15, 2e-9L, ""},
      {"GAMMA(-0.5)", 0, -2 * sqrtPi * cut15, 4e-9L, ""},
      // J(0;x) and J0(x) agree with the reference value of the Bessel function.
      {"J0(1.5)", 0, 0.5118276717359181287L, 1e-15L, ""},
      {"J(0;1.5)", 0, 0.5118276717359181287L, 1e-15L, ""},
      // From |x| = 40 on, the leading asymptotic term stands in for the series
      // (the exact J2(50) is about -0.0597).
      {"J(2;50)", 0,
       std::sqrt(2 / (3.14159265358979323846L * 50)) *
           std::cos(50 - 3.14159265358979323846L * 1.25L),
       1e-17L, ""},
      {"J(2;-50)", 7, 0, 0, General},
      // Twelve terms of the probit series leave about 4e-8 at p = 0.8.
      {"INVERF(0.8)", 0, 0.8416212335729142051L, 1e-7L, ""},
      {"INVERF(0.2)", 0, -0.8416212335729142051L, 1e-7L, ""},
      {"INVERF(0.1)", 7, 0, 0, "Argument of inverse Errorfunction is out of the converging region"},
      {"EI(-1)", 0, -0.2193839343955202736771L, 2e-15L, ""},
      {"CABS(1E3000;1E3000)", 0, sqrt2 * 1E3000L, 1E2982L, ""},
  });
}

// Declarations seen through a whole analysis.
TEST(DeclarationsInTerms, ArgumentsInsideLongerNamesStayNames) {
  Calculator calc;
  calc.decl.SetFunctions({"F(X;Y)=X*Y+XY"});
  calc.decl.SetVarNames({"XY"});
  calc.parser.SetTerm("F(2;3)");
  ASSERT_EQ(calc.parser.EvalError(), 0) << calc.parser.ErrorText();
  ASSERT_TRUE(calc.parser.SetVarValue("XY", 10));
  EXPECT_EQ(calc.parser.Evaluate(), 16);
}

TEST(DeclarationsInTerms, VariableOutranksBuiltInConstant) {
  Calculator calc;
  calc.decl.SetVarNames({"PI"});
  calc.parser.SetTerm("PI*2");
  ASSERT_TRUE(calc.parser.SetVarValue("PI", 5));
  EXPECT_EQ(calc.parser.Evaluate(), 10);
}

TEST(DeclarationsInTerms, ConstantsKeepTheAngleModeOfTheirAnalysis) {
  Calculator calc;
  calc.decl.SetConstants({"K=SIN(90)"});
  EXPECT_NEAR(calc.Run("K", DEG).Value, 1, 1e-18);
  // The folded constant keeps its value until the next analysis.
  calc.parser.SetAnglemode(RAD);
  EXPECT_NEAR(calc.parser.Evaluate(), 1, 1e-18);
  EXPECT_NEAR(calc.Run("K", RAD).Value, 0.8939966636005578905L, 1e-18);
}

}  // namespace
}  // namespace engine
