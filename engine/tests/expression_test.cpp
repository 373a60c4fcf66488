// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The embedders' facade: compile errors with their codes and positions,
// values equal to TTermParser's, batches equal to single evaluations, and
// evaluation from several threads.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/expression.h"
#include "engine/parser.h"
#include "engine/random.h"

namespace engine {
namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kMax = std::numeric_limits<long double>::max();

struct CompileCase {
  const char* text;
  std::vector<std::string> variables;
  ErrorCode code;
  std::optional<std::size_t> position;
};

TEST(ExpressionTest, CompileErrorsHaveCodeOneLineMessageAndPosition) {
  const std::vector<CompileCase> cases = {
      // Terms the analysis passes but whose operands cannot work out.
      {"x==y", {"x", "y"}, ErrorCode::kSyntaxError, 2},
      {"x=>y", {"x", "y"}, ErrorCode::kSyntaxError, 2},
      {"(2)3", {}, ErrorCode::kSyntaxError, 3},
      {"(2) (3)", {}, ErrorCode::kSyntaxError, 4},
      {"max(1;2;3)", {}, ErrorCode::kSyntaxError, 7},
      // Parentheses, names, operands.
      {"(1+2", {}, ErrorCode::kWrongParentheses, 0},
      {"1 + 2)", {}, ErrorCode::kWrongParentheses, 5},
      {"sin(cos(x)", {"x"}, ErrorCode::kWrongParentheses, 3},
      {"2;3", {}, ErrorCode::kWrongParentheses, 1},
      {"", {}, ErrorCode::kCannotAnalyse, std::nullopt},
      {"  ", {}, ErrorCode::kCannotAnalyse, std::nullopt},
      {"2 + foo(x)", {"x"}, ErrorCode::kSyntaxError, 4},
      {"2 + zz", {"x"}, ErrorCode::kSyntaxError, 4},
      {"2*", {}, ErrorCode::kMissingOperand, 1},
      {"2*/3", {}, ErrorCode::kMissingOperand, 2},
      {"nan+1", {}, ErrorCode::kNaNConstant, std::nullopt},
      // Variable names the declarations refuse, or give twice.
      {"x", {"x", "X"}, ErrorCode::kInvalidDeclaration, std::nullopt},
      {"x", {"x", "2x"}, ErrorCode::kInvalidDeclaration, std::nullopt},
      {"x", {"x", ""}, ErrorCode::kInvalidDeclaration, std::nullopt},
      {"x", {"x-1"}, ErrorCode::kInvalidDeclaration, std::nullopt},
  };
  for (const CompileCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto compiled = Expression::Compile(c.text, c.variables);
    ASSERT_FALSE(compiled.has_value());
    EXPECT_EQ(compiled.error().code, c.code) << compiled.error().message;
    EXPECT_EQ(compiled.error().position, c.position) << compiled.error().message;
    EXPECT_FALSE(compiled.error().message.empty());
    EXPECT_EQ(compiled.error().message.find_first_of("\r\n"), std::string::npos);
  }
}

TEST(ExpressionTest, TermsThatFitCompile) {
  for (const char* text : {"-x", "(-x)^2", "max(x;-y)", "if(x>y;x;y)", "(x)and(y)", "2e-3*x",
                           "x <> y", "x<=y", "(x) mod (3)", "bino(x;y)"}) {
    SCOPED_TRACE(text);
    const auto compiled = Expression::Compile(text, {"x", "y"});
    EXPECT_TRUE(compiled.has_value()) << (compiled ? "" : compiled.error().message);
  }
}

TEST(ExpressionTest, DeclarationsAndAngleMode) {
  CompileOptions options;
  options.angle_mode = AngleMode::kDegrees;
  options.constants = {"G=9.81"};
  options.functions = {"HYPOT(A;B)=SQRT(A*A+B*B)"};
  const auto compiled = Expression::Compile("hypot(x;4)*g + sin(90)", {"x"}, options);
  ASSERT_TRUE(compiled.has_value()) << compiled.error().message;
  const auto value = compiled->Evaluate({3.0L});
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, 5 * 9.81L + 1);
  EXPECT_EQ(compiled->Angles(), AngleMode::kDegrees);
  EXPECT_EQ(compiled->Variables(), (std::vector<std::string>{"x"}));

  options.functions = {"F(A)=F(A)+1"};
  const auto recursive = Expression::Compile("f(x)", {"x"}, options);
  ASSERT_FALSE(recursive.has_value());
  EXPECT_EQ(recursive.error().code, ErrorCode::kInvalidDeclaration);
}

// Terms and points where the engine's own parser is the reference: values,
// codes and messages must be the same.
const std::vector<const char*>& Terms() {
  static const std::vector<const char*> terms = {
      "(x+y)*(x-y)/(x*x+1)",
      "sin(x)*cos(y)/(x-y)",
      "sqrt(x^2+y^2)*exp(-x/10)",
      "ln(1+abs(x))+tanh(y/4)",
      "max(x;y)-min(x;y)",
      "2.5*x^3-4*x^2+0.5*x-7",
      "x/y",
      "ln(x)+arcsin(y)",
      "erf(x)+si(y)",
      "cbrt(x)*arccot(y)+lg(y)",
      "fac(x)",
      "(x) mod (y)",
      "x>y",
      "rez(x)",
      "exp(x)*exp(y)",
      "sin(x)^2+cos(x)^2-ln(x)*ln(x)",
      "sin(-x)+cos(2*y)+sqrt(x)",
  };
  return terms;
}

const std::vector<long double>& Points() {
  static const std::vector<long double> points = {
      0.0L, -0.0L, 0.5L, 1.0L, -1.0L, 3.0L, 1e-4000L, 1e300L, 20000.0L, kMax, -kMax, kInf, kNaN};
  return points;
}

TEST(ExpressionTest, EvaluateGivesWhatTheParserGives) {
  for (const char* term : Terms()) {
    SCOPED_TRACE(term);
    TParserDeclarations declarations;
    declarations.SetVarNames({"X", "Y"});
    TTermParser parser;
    parser.SetDeclarations(&declarations);
    parser.SetTerm(term);
    ASSERT_EQ(parser.EvalError(), 0);
    const auto compiled = Expression::Compile(term, {"x", "y"});
    ASSERT_TRUE(compiled.has_value()) << compiled.error().message;
    for (const long double x : Points()) {
      for (const long double y : Points()) {
        parser.SetVarValue(0, x);
        parser.SetVarValue(1, y);
        const long double expected = parser.Evaluate();
        const auto actual = compiled->Evaluate({x, y});
        SCOPED_TRACE(std::to_string(static_cast<double>(x)) + ", " +
                     std::to_string(static_cast<double>(y)));
        if (parser.EvalError() == 0) {
          ASSERT_TRUE(actual.has_value()) << actual.error().message;
          EXPECT_EQ(BitsOf(*actual), BitsOf(expected));
        } else {
          ASSERT_FALSE(actual.has_value());
          EXPECT_EQ(static_cast<int>(actual.error().code), parser.EvalError());
          EXPECT_FALSE(actual.error().position.has_value());
          std::string oneLine = parser.ErrorText();
          for (std::size_t at; (at = oneLine.find("\n\r")) != std::string::npos;) {
            oneLine.replace(at, 2, " ");
          }
          EXPECT_EQ(actual.error().message, oneLine);
        }
      }
    }
  }
}

TEST(ExpressionTest, BulkGivesWhatSingleEvaluationsGive) {
  // A grid over the points, each row holding one y, as plots do; twice, so
  // that remembered function values are reused across rows.
  std::vector<long double> xs, ys;
  for (int round = 0; round < 2; ++round) {
    for (const long double y : Points()) {
      for (const long double x : Points()) {
        xs.push_back(x);
        ys.push_back(y);
      }
    }
  }
  for (const AngleMode mode : {AngleMode::kRadians, AngleMode::kGradians}) {
    CompileOptions options;
    options.angle_mode = mode;
    for (const char* term : Terms()) {
      SCOPED_TRACE(term);
      const auto compiled = Expression::Compile(term, {"x", "y"}, options);
      ASSERT_TRUE(compiled.has_value());
      std::vector<long double> results(xs.size(), -1);
      std::vector<ErrorCode> status(xs.size(), ErrorCode::kWrongArgument);
      const auto failures = compiled->EvaluateBulk({xs, ys}, results, status);
      ASSERT_TRUE(failures.has_value());
      std::size_t expectedFailures = 0;
      for (std::size_t i = 0; i < xs.size(); ++i) {
        const auto single = compiled->Evaluate({xs[i], ys[i]});
        if (single) {
          ASSERT_EQ(status[i], ErrorCode::kOk) << i;
          ASSERT_EQ(BitsOf(results[i]), BitsOf(*single)) << i;
        } else {
          ++expectedFailures;
          ASSERT_EQ(status[i], single.error().code) << i;
          ASSERT_EQ(results[i], 0) << i;
        }
      }
      EXPECT_EQ(*failures, expectedFailures);
    }
  }
}

TEST(ExpressionTest, BulkDrawsRandomNumbersAsSingleEvaluationsDo) {
  const auto compiled = Expression::Compile("x+rand(0;1)", {"x"});
  ASSERT_TRUE(compiled.has_value());
  const std::vector<long double> xs(50, 1.0L);
  std::vector<long double> results(xs.size());
  std::vector<ErrorCode> status(xs.size());
  SetRandomSeed(7);
  ASSERT_TRUE(compiled->EvaluateBulk({xs}, results, status).has_value());
  SetRandomSeed(7);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    EXPECT_EQ(BitsOf(results[i]), BitsOf(*compiled->Evaluate({xs[i]})));
  }
  EXPECT_NE(results[0], results[1]);
}

TEST(ExpressionTest, WrongArgumentsAreRefused) {
  const auto compiled = Expression::Compile("x*y", {"x", "y"});
  ASSERT_TRUE(compiled.has_value());
  EXPECT_EQ(compiled->Evaluate({1.0L}).error().code, ErrorCode::kWrongArgument);
  EXPECT_EQ(Expression().Evaluate({}).error().code, ErrorCode::kWrongArgument);
  std::vector<long double> two(2), three(3), results(2);
  std::vector<ErrorCode> status(2);
  EXPECT_EQ(compiled->EvaluateBulk({two}, results, status).error().code, ErrorCode::kWrongArgument);
  EXPECT_EQ(compiled->EvaluateBulk({two, three}, results, status).error().code,
            ErrorCode::kWrongArgument);
  EXPECT_EQ(compiled->EvaluateBulk({three, three}, results, status).error().code,
            ErrorCode::kWrongArgument);
  // Without variables the outputs give the number of points.
  const auto constant = Expression::Compile("6*7");
  ASSERT_TRUE(constant.has_value());
  EXPECT_EQ(*constant->EvaluateBulk(Span<const Column>(), results, status), 0U);
  EXPECT_EQ(results, (std::vector<long double>{42, 42}));
}

TEST(ExpressionTest, HostFloatingPointFlagsAreLeftAsFound) {
  const auto compiled = Expression::Compile("1/x", {"x"});
  ASSERT_TRUE(compiled.has_value());
  std::vector<long double> xs = {0.0L, 2.0L};
  std::vector<long double> results(2);
  std::vector<ErrorCode> status(2);
  // Flags of the x87 unit (long double arithmetic), of SSE (double) and both.
  volatile long double bigLong = std::numeric_limits<long double>::max();
  volatile double big = std::numeric_limits<double>::max();
  volatile double zero = 0;
  const std::vector<std::function<void()>> raise = {[] {}, [&] { bigLong = bigLong * 2; },
                                                    [&] { big = big * 2; },
                                                    [&] {
                                                      bigLong = bigLong * 2;
                                                      big = zero / zero;
                                                    },
                                                    [] { std::feraiseexcept(FE_INEXACT); }};
  for (const auto& raiseFlags : raise) {
    std::feclearexcept(FE_ALL_EXCEPT);
    raiseFlags();
    const int flags = std::fetestexcept(FE_ALL_EXCEPT);
    EXPECT_FALSE(compiled->Evaluate({0.0L}).has_value());
    EXPECT_TRUE(compiled->Evaluate({2.0L}).has_value());
    EXPECT_EQ(*compiled->EvaluateBulk({xs}, results, status), 1U);
    EXPECT_TRUE(Expression::Compile("1/0+x", {"x"}).has_value());
    // The host's flags stay raised and the engine leaves no failure flag;
    // inexact and underflow may stay, as after any arithmetic.
    constexpr int kFailures = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT) & flags, flags);
    EXPECT_EQ(std::fetestexcept(kFailures), flags & kFailures);
  }
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(ExpressionTest, HostRoundingModeChangesNothingAndStays) {
  const auto compiled = Expression::Compile("x/3+sin(x)+1.1", {"x"});
  ASSERT_TRUE(compiled.has_value());
  const std::vector<long double> xs = {1, 2, 1e300L};
  std::vector<long double> nearest(xs.size()), results(xs.size());
  std::vector<ErrorCode> status(xs.size());
  ASSERT_TRUE(compiled->EvaluateBulk({xs}, nearest, status).has_value());
  for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    const auto again = Expression::Compile("x/3+sin(x)+1.1", {"x"});
    const bool analysed = again.has_value();
    const bool bulk = analysed && again->EvaluateBulk({xs}, results, status).has_value();
    const auto single = analysed ? again->Evaluate({xs[0]}) : Result<long double>(0.0L);
    const int after = std::fegetround();
    std::fesetround(FE_TONEAREST);
    ASSERT_TRUE(bulk);
    EXPECT_EQ(after, mode);
    for (std::size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(BitsOf(results[i]), BitsOf(nearest[i]));
    ASSERT_TRUE(single.has_value());
    EXPECT_EQ(BitsOf(*single), BitsOf(nearest[0]));
  }
}

TEST(ExpressionTest, CompilingLeavesTheRandomSequenceAlone) {
  SetRandomSeed(12345);
  std::thread([] {
    SetRandomSeed(99);
    ASSERT_TRUE(Expression::Compile("rand(0;1)").has_value());
    EXPECT_EQ(RandomSeed(), 99U);
  }).join();
}

TEST(ExpressionTest, OneExpressionFromSeveralThreads) {
  const auto compiled = Expression::Compile("sin(x)*cos(y)/(x-y)", {"x", "y"});
  ASSERT_TRUE(compiled.has_value());
  constexpr int kPoints = 2000;
  std::vector<long double> xs(kPoints), ys(kPoints), expected(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    xs[i] = -3 + i * 0.003L;
    ys[i] = 1 - (i % 40) * 0.05L;
    expected[i] = compiled->Evaluate({xs[i], ys[i]}).value_or(0);
  }
  std::vector<std::thread> threads;
  std::vector<int> mismatches(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      const Expression copy = *compiled;
      std::vector<long double> results(kPoints);
      std::vector<ErrorCode> status(kPoints);
      for (int round = 0; round < 5; ++round) {
        if (!copy.EvaluateBulk({xs, ys}, results, status)) ++mismatches[t];
        for (int i = 0; i < kPoints; ++i) {
          const long double single = compiled->Evaluate({xs[i], ys[i]}).value_or(0);
          if (BitsOf(single) != BitsOf(expected[i]) || BitsOf(results[i]) != BitsOf(expected[i])) {
            ++mismatches[t];
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(8, 0));
}

}  // namespace
}  // namespace engine
