// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/integer_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/run_context.h"

namespace engine {
namespace {

const Extended Inf = std::numeric_limits<Extended>::infinity();
const Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

// The context the routines report to in these tests; the wrappers below call
// the routines with it.
RunContext context;

Extended BINO(Extended a, Extended b) {
  return engine::BINO(context, a, b);
}
Extended FAC(Extended x) {
  return engine::FAC(context, x);
}
Extended BNOT(Extended x) {
  return engine::BNOT(context, x);
}
Extended NOT(Extended x) {
  return engine::NOT(context, x);
}
Extended IF(Extended c, Extended a, Extended b) {
  return engine::IF(context, c, a, b);
}
Extended ODD(Extended x) {
  return engine::ODD(context, x);
}

// What a routine reports: its value, and how a dispatcher would see it.
struct Outcome {
  Extended Value;
  bool Ok;
  std::string Message;
  bool MathFailure;
};

Outcome Call(const std::function<Extended()>& routine) {
  context = RunContext{};
  ClearFloatingPointFailures();
  const Extended value = routine();
  Outcome outcome{value, context.Ok, context.Pending, FloatingPointFailed()};
  context = RunContext{};
  return outcome;
}

// One call of a routine and what it must report: a value, an error message,
// or (Math) a floating-point failure for the dispatcher.
struct Case {
  const char* Name;
  std::function<Extended()> Routine;
  Extended Expected;
  const char* Error = nullptr;
  bool Math = false;
};

void CheckCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const Outcome got = Call(c.Routine);
    if (c.Math) {
      EXPECT_TRUE(got.MathFailure);
    } else if (c.Error != nullptr) {
      EXPECT_FALSE(got.Ok);
      EXPECT_EQ(got.Message, c.Error);
      EXPECT_FALSE(got.MathFailure);
    } else {
      EXPECT_TRUE(got.Ok);
      EXPECT_EQ(got.Message, "");
      EXPECT_FALSE(got.MathFailure);
      EXPECT_EQ(got.Value, c.Expected);
    }
  }
}

TEST(IntegerTest, CountsValuesWithinEpsilonOfAWholeNumber) {
  struct {
    Extended X;
    bool Integer;
  } const cases[] = {
      {0, true},
      {-3, true},
      {1E30L, true},
      {2.000000000000001L, true},
      {1.999999999999999L, true},
      {-2.000000000000001L, true},
      {-1.999999999999999L, true},
      {1E-15L, true},
      {2.0000000001L, false},
      {0.5L, false},
      {-2.5L, false},
      {1E-13L, false},
      // Both comparisons are strict: a fraction of exactly Epsilon is too much.
      {1E-14L, false},
      {-1E-14L, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.X));
    const Outcome got = Call([&] { return BooleanValue(IntegerTest(c.X)); });
    EXPECT_EQ(got.Value, BooleanValue(c.Integer));
    EXPECT_FALSE(got.MathFailure);
  }
}

TEST(IntegerTest, NonFiniteValuesAreInvalidOperations) {
  for (Extended x : {Inf, -Inf, NaN}) {
    bool integer = true;
    const Outcome got = Call([&] {
      integer = IntegerTest(x);
      return 0;
    });
    EXPECT_FALSE(integer);
    EXPECT_TRUE(got.MathFailure);
  }
}

TEST(Bino, ValuesAndMessages) {
  const char* integers = "Binomial coefficient:  Integer arguments required";
  const char* order = "Binomial coefficient:   2nd argument must be smaller than 1st";
  CheckCases({
      {"5 over 2", [] { return BINO(5, 2); }, 10},
      {"5 over 3", [] { return BINO(5, 3); }, 10},
      {"5 over 5", [] { return BINO(5, 5); }, 1},
      {"5 over 0", [] { return BINO(5, 0); }, 1},
      {"negative k gives 1", [] { return BINO(5, -2); }, 1},
      {"both negative", [] { return BINO(-3, -5); }, 1},
      {"k = n - 1 uses k = 1", [] { return BINO(3000, 2999); }, 3000},
      {"nearly integer arguments", [] { return BINO(5.000000000000001L, 1.999999999999999L); }, 10},
      {"n < k", [] { return BINO(2, 3); }, 0, order},
      {"n not integer", [] { return BINO(5.5L, 2); }, 0, integers},
      {"k not integer", [] { return BINO(5, 2.5L); }, 0, integers},
      {"k checked before the order", [] { return BINO(2, 3.5L); }, 0, integers},
      // Arguments beyond 32 bits must not wrap around (2^32 + 5 would be 5).
      {"n beyond 32 bits", [] { return BINO(4294967301.0L, 2); }, 0, nullptr, true},
      {"k beyond 32 bits", [] { return BINO(5, 4294967298.0L); }, 0, nullptr, true},
      // K beyond the factorial's 16-bit range must not wrap into a small one.
      {"k beyond 16 bits", [] { return BINO(100000, 40000); }, 0, nullptr, true},
      {"1/k! overflows", [] { return BINO(5000, 2000); }, 0, nullptr, true},
      {"NaN", [] { return BINO(NaN, 2); }, 0, nullptr, true},
  });
}

TEST(Bino, CoefficientsAreExactWhileTheyFitTheSignificand) {
  const struct {
    Extended N, K, Expected;
  } cases[] = {
      {10, 4, 210},
      {49, 6, 13983816},
      {60, 30, 118264581564861424.0L},
      {2147483647, 2, 2305843005992468481.0L},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.N));
    const Outcome got = Call([&] { return BINO(c.N, c.K); });
    ASSERT_TRUE(got.Ok);
    EXPECT_EQ(got.Value, c.Expected);
  }
}

TEST(Bino, HugeCoefficientsStayAccurate) {
  // C(2000, 1000) = 2.048151626989489714...E600
  const Outcome got = Call([] { return BINO(2000, 1000); });
  ASSERT_TRUE(got.Ok);
  EXPECT_FALSE(got.MathFailure);
  EXPECT_NEAR(got.Value / 2.048151626989489714335E600L, 1, 1E-15L);
}

TEST(Fac, ValuesAndMessages) {
  const char* natural = "Factorial argument must be natural";
  CheckCases({
      {"0!", [] { return FAC(0); }, 1},
      {"1!", [] { return FAC(1); }, 1},
      {"5!", [] { return FAC(5); }, 120},
      {"20!", [] { return FAC(20); }, 2432902008176640000.0L},
      {"negative gives 1", [] { return FAC(-3); }, 1},
      {"-32768 is still 16-bit", [] { return FAC(-32768); }, 1},
      {"nearly 5", [] { return FAC(4.999999999999999L); }, 120},
      {"not integer", [] { return FAC(2.5L); }, 0, natural},
      {"1755! overflows", [] { return FAC(1755); }, 0, nullptr, true},
      {"32767! overflows", [] { return FAC(32767); }, 0, nullptr, true},
      // Beyond 16 bits the argument must not wrap: 65541 would be 5, 40000
      // would be negative.
      {"65541", [] { return FAC(65541); }, 0, nullptr, true},
      {"40000", [] { return FAC(40000); }, 0, nullptr, true},
      {"-40000", [] { return FAC(-40000); }, 0, nullptr, true},
      {"infinity", [] { return FAC(Inf); }, 0, nullptr, true},
  });
  const Outcome largest = Call([] { return FAC(1754); });
  EXPECT_TRUE(largest.Ok);
  EXPECT_FALSE(largest.MathFailure);
  EXPECT_TRUE(std::isfinite(largest.Value));
  EXPECT_GT(largest.Value, 1E4930L);
}

TEST(LogicalRoutines, ValuesAndMessages) {
  const char* bnot = "Bitwise NOT: Integer argument required";
  const char* lnot = "Logical NOT:  Boolean argument required";
  const char* cond = "IF: Boolean condition expected ";
  const char* odd = "Odd: integer argument required";
  CheckCases({
      {"BNOT 0", [] { return BNOT(0); }, -1},
      {"BNOT 5", [] { return BNOT(5); }, -6},
      {"BNOT -1", [] { return BNOT(-1); }, 0},
      {"BNOT max", [] { return BNOT(2147483647); }, -2147483648.0L},
      {"BNOT reads the low 32 bits", [] { return BNOT(4294967296.0L); }, -1},
      {"BNOT 0.5", [] { return BNOT(0.5L); }, 0, bnot},
      {"BNOT 2^63", [] { return BNOT(9223372036854775808.0L); }, 0, nullptr, true},
      {"BNOT NaN", [] { return BNOT(NaN); }, 0, nullptr, true},
      {"NOT 0", [] { return NOT(0); }, 1},
      {"NOT -0", [] { return NOT(-0.0L); }, 1},
      {"NOT 1", [] { return NOT(1); }, 0},
      {"NOT 0.5", [] { return NOT(0.5L); }, 0, lnot},
      {"NOT 2", [] { return NOT(2); }, 0, lnot},
      {"NOT nearly 1", [] { return NOT(1.000000000000001L); }, 0, lnot},
      {"NOT NaN", [] { return NOT(NaN); }, 0, nullptr, true},
      {"IF true", [] { return IF(1, 2, 3); }, 2},
      {"IF false", [] { return IF(0, 2, 3); }, 3},
      {"IF 2", [] { return IF(2, 2, 3); }, 0, cond},
      {"IF -1", [] { return IF(-1, 2, 3); }, 0, cond},
      {"IF NaN", [] { return IF(NaN, 2, 3); }, 0, nullptr, true},
      {"ODD -3", [] { return ODD(-3); }, 1},
      {"ODD 4", [] { return ODD(4); }, 0},
      {"ODD 0", [] { return ODD(0); }, 0},
      {"ODD -4", [] { return ODD(-4); }, 0},
      {"ODD nearly 3", [] { return ODD(3.000000000000001L); }, 1},
      {"ODD 2^53 + 1", [] { return ODD(9007199254740993.0L); }, 1},
      {"ODD beyond 64 bits", [] { return ODD(1E20L); }, 0},
      {"ODD 2.5", [] { return ODD(2.5L); }, 0, odd},
      {"ODD infinity", [] { return ODD(Inf); }, 0, nullptr, true},
  });
}

}  // namespace
}  // namespace engine
