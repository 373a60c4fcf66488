// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/special_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <iomanip>
#include <limits>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "test_support.h"

namespace engine {
namespace {

const Extended Inf = std::numeric_limits<Extended>::infinity();
const Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

// The context the routines report to in these tests. The routines that can
// report are called through the wrappers below, so that the tables hold them
// beside those that cannot.
RunContext context;

Extended POISSON(Extended lambda, Extended n) {
  return engine::POISSON(context, lambda, n);
}
Extended POICUM(Extended lambda, Extended n) {
  return engine::POICUM(context, lambda, n);
}
Extended ROOT(Extended n, Extended x) {
  return engine::ROOT(context, n, x);
}
Extended REZ(Extended x) {
  return engine::REZ(context, x);
}
Extended INVERF(Extended p) {
  return engine::INVERF(context, p);
}
Extended J(Extended n, Extended x) {
  return engine::J(context, n, x);
}
Extended SI(Extended x) {
  return engine::SI(context, x);
}
Extended CI(Extended x) {
  return engine::CI(context, x);
}
Extended GAMMA(Extended x) {
  return engine::GAMMA(context, x);
}

// What one call of a routine left behind.
struct Outcome {
  Extended Value;
  bool MathFailed;  // a floating-point failure flag is raised
  bool Ok;          // the context's flag
  std::string Message;
};

Outcome Call(const std::function<Extended()>& routine) {
  ClearFloatingPointFailures();
  context = RunContext{};
  Outcome out{};
  out.Value = routine();
  out.MathFailed = FloatingPointFailed();
  out.Ok = context.Ok;
  out.Message = context.Pending;
  ClearFloatingPointFailures();
  context = RunContext{};
  return out;
}

using Unary = Extended (*)(Extended);
using Binary = Extended (*)(Extended, Extended);

// A value case: routine, argument(s), reference value and the absolute
// tolerance that the routine's own algorithm allows there.
struct ValueCase {
  const char* Name;
  std::function<Extended()> Routine;
  Extended Reference;
  Extended Tolerance;
};

void ExpectValues(const std::vector<ValueCase>& cases) {
  for (const ValueCase& c : cases) {
    const Outcome out = Call(c.Routine);
    EXPECT_FALSE(out.MathFailed) << c.Name;
    EXPECT_TRUE(out.Ok) << c.Name;
    EXPECT_EQ(out.Message, "") << c.Name;
    // Compared in extended precision: several tolerances lie below the
    // resolution of a double.
    EXPECT_LE(std::fabs(out.Value - c.Reference), c.Tolerance)
        << std::setprecision(21) << out.Value << " vs " << c.Reference << ": " << c.Name;
  }
}

ValueCase U(const char* name, Unary f, Extended x, Extended ref, Extended tol) {
  return {name, [f, x] { return f(x); }, ref, tol};
}
ValueCase B(const char* name, Binary f, Extended a, Extended b, Extended ref, Extended tol) {
  return {name, [f, a, b] { return f(a, b); }, ref, tol};
}

// Reference values are those of the exact functions (Abramowitz & Stegun
// tables, to 20 digits). The routines sum power series with an absolute stop
// test of 1e-14 and use a 16-digit literal for Euler's constant (5.6e-16 low),
// so about 1e-15 is their best; where the alternating series cancel heavily
// (large |x|) the tolerance grows with the largest term of the series.
TEST(SpecialFunctions, IntegralFunctionsMatchTables) {
  ExpectValues({
      U("SI(0)", SI, 0, 0, 0),
      U("SI(0.5)", SI, 0.5L, 0.49310741804306668916L, 1e-16L),
      U("SI(1)", SI, 1, 0.94608307036718301494L, 1e-16L),
      U("SI(-2)", SI, -2, -1.6054129768026948486L, 1e-16L),
      U("SI(5)", SI, 5, 1.5499312449446741373L, 1e-16L),
      U("SI(10)", SI, 10, 1.6583475942188740493L, 1e-14L),
      U("SI(20)", SI, 20, 1.5482417010434398402L, 1e-12L),
      U("SI(30)", SI, 30, 1.566756540030351111L, 1e-8L),
      // At the edge of the series' range its largest terms reach 1e15.
      U("SI(43)", SI, 43, 1.5583489966293347194L, 2e-3L),
      U("CI(0.1)", CI, 0.1L, -1.727868386657296639L, 2e-15L),
      U("CI(1)", CI, 1, 0.33740392290096813466L, 2e-15L),
      U("CI(-1)", CI, -1, 0.33740392290096813466L, 2e-15L),  // ln|x|: the real part
      U("CI(2)", CI, 2, 0.4229808287748649957L, 2e-15L),
      U("CI(5)", CI, 5, -0.19002974965664387862L, 2e-15L),
      U("CI(10)", CI, 10, -0.045456433004455372635L, 1e-14L),
      U("CI(20)", CI, 20, 0.04441982084535331654L, 1e-12L),
      U("CI(43)", CI, 43, -0.019622068619766029164L, 2e-3L),
      U("EI(0.5)", EI, 0.5L, 0.45421990486317357992L, 2e-15L),
      U("EI(1)", EI, 1, 1.8951178163559367555L, 2e-15L),
      U("EI(-1)", EI, -1, -0.21938393439552027368L, 2e-15L),
      U("EI(2)", EI, 2, 4.9542343560018901634L, 2e-15L),
      U("EI(10)", EI, 10, 2492.2289762418777591L, 1e-12L),
      U("EI(40)", EI, 40, 6039718263611241.5784L, 6039718263611241.5784L * 1e-15L),
      // Negative arguments: an alternating series whose terms reach 1e2.
      U("EI(-10)", EI, -10, -4.1569689296853242774e-6L, 1e-14L),
      // Below -10 the continued fraction of E1 takes over: the series would
      // give +3.7E+20 for EI(-100).
      U("EI(-10.001)", EI, -10.001L, -4.1524314327823391665e-6L, 1e-23L),
      U("EI(-50)", EI, -50, -3.7832640295504590187e-24L, 1e-40L),
      U("EI(-100)", EI, -100, -3.6835977616820321802e-46L, 1e-62L),
      U("EI(-1E6)", EI, -1E6L, 0, 0),  // below the extended range
      U("LI(1E-10)", LI, 1E-10L, -4.1688877500196479816e-12L, 1e-28L),
      U("LI(0.5)", LI, 0.5L, -0.3786710430610879767L, 2e-15L),
      U("LI(2)", LI, 2, 1.045163780117492784845L, 2e-15L),
      U("LI(10)", LI, 10, 6.165599504787297937523L, 2e-15L),
      U("LI(100)", LI, 100, 30.1261415840796299259L, 1e-13L),
  });
}

TEST(SpecialFunctions, NormalDistributionMatchesTables) {
  // The 15-digit density factor lies 3.2e-16 above 1/sqrt(2 pi).
  ExpectValues({
      U("ERF(0)", ERF, 0, 0.5L, 0),
      U("ERF(0.5)", ERF, 0.5L, 0.6914624612740131036L, 1e-15L),
      U("ERF(1)", ERF, 1, 0.8413447460685429486L, 1e-15L),
      U("ERF(-1)", ERF, -1, 0.1586552539314570514L, 1e-15L),
      U("ERF(2)", ERF, 2, 0.9772498680518207928L, 1e-15L),
      U("ERF(3)", ERF, 3, 0.9986501019683699055L, 1e-14L),
      U("ERF(5)", ERF, 5, 0.9999997133484281208L, 1e-13L),
      U("ERF(-5)", ERF, -5, 2.866515718791939117e-7L, 1e-13L),
      // Beyond 5 the routine gives the limits themselves.
      U("ERF(5.0001)", ERF, 5.0001L, 1, 0),
      U("ERF(6)", ERF, 6, 1, 0),
      U("ERF(-6)", ERF, -6, 0, 0),
      U("ERF(inf)", ERF, Inf, 1, 0),
      U("GAUSS(0)", GAUSS, 0, 0.398942280401433L, 0),  // the literal itself
      U("GAUSS(1)", GAUSS, 1, 0.2419707245191433498L, 1e-15L),
      U("GAUSS(-1)", GAUSS, -1, 0.2419707245191433498L, 1e-15L),
      U("GAUSS(200)", GAUSS, 200, 0, 0),
      U("GAUSS(1E3000)", GAUSS, 1E3000L, 0, 0),  // no overflow of x*x
      // The quantile series stops at a^25: exact near p = 0.5, a few 1e-5
      // off at the edges of its region.
      U("INVERF(0.5)", INVERF, 0.5L, 0, 0),
      U("INVERF(0.6)", INVERF, 0.6L, 0.2533471031357997988L, 1e-14L),
      U("INVERF(0.3)", INVERF, 0.3L, -0.52440051270804078404L, 1e-10L),
      U("INVERF(0.8)", INVERF, 0.8L, 0.84162123357291420518L, 1e-7L),
      U("INVERF(0.89)", INVERF, 0.89L, 1.2265281200366100804L, 1e-4L),
      U("INVERF(0.11)", INVERF, 0.11L, -1.2265281200366100804L, 1e-4L),
  });
}

TEST(SpecialFunctions, InverfRegionEndsWhereItsSeriesStopsConverging) {
  // The region is 0.5 +- (1 - 1e-14)/sqrt(2 pi) = 0.10105771959857...
  // to 0.89894228040142...
  const Extended inside[] = {0.1010577195986L, 0.8989422804014L, 0.5L};
  const Extended outside[] = {0.1010577195985L, 0.8989422804015L, 0.05L, 0.95L, 0, 1, -Inf, Inf};
  for (const Extended p : inside) {
    const Outcome out = Call([p] { return INVERF(p); });
    EXPECT_TRUE(out.Ok && !out.MathFailed && out.Message.empty()) << static_cast<double>(p);
  }
  for (const Extended p : outside) {
    const Outcome out = Call([p] { return INVERF(p); });
    EXPECT_FALSE(out.Ok) << static_cast<double>(p);
    EXPECT_EQ(out.Message, MsgInverfRegion);
  }
  EXPECT_STREQ(MsgInverfRegion,
               "Argument of inverse Errorfunction is out of the converging region");
}

TEST(SpecialFunctions, BesselFunctionsMatchTables) {
  ExpectValues({
      B("J(0;0)", J, 0, 0, 1, 0),
      B("J(1;0)", J, 1, 0, 0, 0),
      B("J(5;0)", J, 5, 0, 0, 0),
      B("J(0;0.1)", J, 0, 0.1L, 0.99750156206604003228L, 1e-16L),
      B("J(0;1)", J, 0, 1, 0.76519768655796655145L, 1e-14L),
      B("J(1;1)", J, 1, 1, 0.44005058574493351596L, 1e-14L),
      B("J(0;2)", J, 0, 2, 0.22389077914123566805L, 1e-14L),
      B("J(1;-2)", J, 1, -2, -0.5767248077568733872L, 1e-14L),  // odd order: odd function
      B("J(2;3)", J, 2, 3, 0.48609126058589107691L, 1e-14L),
      B("J(3;5)", J, 3, 5, 0.36483123061366699446L, 1e-14L),
      B("J(4;-5)", J, 4, -5, 0.39123236045864817782L, 1e-14L),
      B("J(5;10)", J, 5, 10, -0.23406152818679364044L, 1e-13L),
      // An order given within 1e-14 of a whole number is that order.
      B("J(2+1e-15;3)", J, 2 + 1e-15L, 3, 0.48609126058589107691L, 1e-14L),
      B("J(0;20)", J, 0, 20, 0.16702466434058315473L, 1e-11L),
      B("J(3;30)", J, 3, 30, 0.12921122875972498304L, 1e-7L),
      // For |x| >= 40 the first term of the asymptotic expansion stands in;
      // its error is about (4m^2 - 1)/(8x) of the amplitude sqrt(2/(pi x)).
      B("J(0;50)", J, 0, 50, 0.055812327669251815005L, 3e-3L),
      B("J(1;50)", J, 1, 50, -0.097511828125175137661L, 3e-3L),
      B("J(3;50)", J, 3, 50, 0.092734804061634432021L, 1e-2L),
      B("J(0;100)", J, 0, 100, 0.019985850304223122424L, 2e-4L),
      // Near 40 the series' terms reach 1e15 and cancel: about 1e-4 is left.
      B("J(1;39.9)", J, 1, 39.9L, 0.12498710161884172626L, 1e-3L),
  });
}

TEST(SpecialFunctions, GammaIsTheTruncatedWeierstrassProduct) {
  // The product is cut after 100000 factors, which leaves every result low by
  // the factor exp(-y*y/200000), y the argument reduced to [1, 2]: GAMMA(1)
  // is 0.999995, GAMMA(5) 23.99988. Each case is the exact gamma value times
  // that factor; what remains is rounding and terms of order y^2/N^2.
  struct GammaCase {
    Extended X;
    Extended Exact;
    Extended Reduced;
  };
  const GammaCase cases[] = {
      {1, 1, 1},
      {2, 1, 1},
      {5, 24, 1},
      {10, 362880, 1},
      {0.5L, 1.7724538509055160273L, 1.5L},
      {1.5L, 0.88622692545275801365L, 1.5L},
      {0.1L, 9.5135076986687312858L, 1.1L},
      {-0.5L, -3.5449077018110320546L, 1.5L},
      {-1.5L, 2.3632718012073547031L, 1.5L},
      {170.5L, 5.5620924145599996107e+305L, 1.5L},
      {1000, 4.0238726007709377354e+2564L, 1},
  };
  for (const GammaCase& c : cases) {
    const Outcome out = Call([&c] { return GAMMA(c.X); });
    ASSERT_FALSE(out.MathFailed) << static_cast<double>(c.X);
    const Extended expected = c.Exact * std::exp(-c.Reduced * c.Reduced / (2 * GammaTerms));
    EXPECT_LT(std::fabs(out.Value / expected - 1), 1e-9L) << static_cast<double>(c.X);
  }
  EXPECT_NEAR(static_cast<double>(GAMMA(1)), 0.999995, 1e-6);
  EXPECT_NEAR(static_cast<double>(GAMMA(5)), 23.99988, 1e-5);
}

TEST(SpecialFunctions, GammaFromItsMemoIsTheComputedValue) {
  // Arguments that share a reduced argument (0.5, 2.5, -0.5, -1.5) share a
  // kept product; more reduced arguments than the memo holds replace older
  // ones. Every value must be the bits of a computation from scratch.
  const std::vector<Extended> xs = {0.5L,  2.5L,  -0.5L, 0.1L,  1.1L, 3.7L, -2.3L, 5,
                                    0.25L, 0.75L, 1.9L,  -1.5L, 12,   0.1L, 0.5L,  4};
  std::vector<Extended> expected;
  for (const Extended x : xs) {
    RunContext fresh;
    expected.push_back(engine::GAMMA(fresh, x));
  }
  RunContext shared;
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < xs.size(); ++i) {
      EXPECT_EQ(BitsOf(engine::GAMMA(shared, xs[i])), BitsOf(expected[i]))
          << static_cast<double>(xs[i]);
    }
  }
}

TEST(SpecialFunctions, GammaPolesOverflowAndHugeArguments) {
  // Poles and overflow are math failures; arguments far beyond them end at
  // once instead of running through 1e30 shift steps.
  for (const Extended x : {0.0L, -1.0L, -2.0L, -1e30L, 1756.0L, 1e30L, 1e4000L, Inf, -Inf, NaN}) {
    const Outcome out = Call([x] { return GAMMA(x); });
    EXPECT_TRUE(out.MathFailed) << static_cast<double>(x);
  }
  const Outcome big = Call([] { return GAMMA(1755.4L); });
  EXPECT_FALSE(big.MathFailed);
  EXPECT_GT(big.Value, 1e4900L);
  // Far to the left the value underflows to zero, with the sign of gamma
  // there: negative on (-2001, -2000), positive on (-2002, -2001).
  const Outcome left = Call([] { return GAMMA(-2000.5L); });
  EXPECT_FALSE(left.MathFailed);
  EXPECT_EQ(left.Value, 0);
  EXPECT_TRUE(std::signbit(left.Value));
  const Outcome further = Call([] { return GAMMA(-2001.5L); });
  EXPECT_EQ(further.Value, 0);
  EXPECT_FALSE(std::signbit(further.Value));
  const Outcome far = Call([] { return GAMMA(-1e18L + 0.5L); });
  EXPECT_FALSE(far.MathFailed);
  EXPECT_EQ(far.Value, 0);
}

TEST(SpecialFunctions, SmallRoutines) {
  ExpectValues({
      B("MODULO(7;2)", MODULO, 7, 2, 1, 0),
      B("MODULO(-7;2)", MODULO, -7, 2, -1, 0),
      B("MODULO(7.5;2)", MODULO, 7.5L, 2, 1.5L, 0),
      B("MODULO(-7.5;2)", MODULO, -7.5L, 2, -1.5L, 0),
      B("MODULO(7;-2)", MODULO, 7, -2, 1, 0),
      B("MODULO(5.5;0.5)", MODULO, 5.5L, 0.5L, 0, 0),
      U("REZ(4)", REZ, 4, 0.25L, 0),
      U("REZ(1E-100)", REZ, 1E-100L, 1E100L, 1E83L),  // TinyValue itself is no zero
      U("REZ(-8)", REZ, -8, -0.125L, 0),
      U("CBRT(-27)", CBRT, -27, -3, 1e-17L),
      U("CBRT(8)", CBRT, 8, 2, 1e-17L),
      U("CBRT(1E-101)", CBRT, 1E-101L, 0, 0),
      U("CBRT(-1E-101)", CBRT, -1E-101L, 0, 0),
      U("CBRT(1E-100)", CBRT, 1E-100L, 4.64158883361277889241e-34L, 1e-50L),
      U("ARCOTH(2)", ARCOTH, 2, 0.5493061443340548457L, 1e-18L),
      U("ARCOTH(-2)", ARCOTH, -2, -0.5493061443340548457L, 1e-18L),
      U("THETA(0)", THETA, 0, 0, 0),
      U("THETA(1E-4000)", THETA, 1E-4000L, 1, 0),
      U("THETA(-3)", THETA, -3, 0, 0),
      U("SGN(-0.1)", SGN, -0.1L, -1, 0),
      U("SGN(0)", SGN, 0, 0, 0),
      U("SGN(7)", SGN, 7, 1, 0),
  });
  // A warning, not an error: the run goes on with a value of size 1E+4000.
  struct RezCase {
    Extended X;
    Extended Expected;
  };
  for (const RezCase& c : {RezCase{1E-200L, 1E+4000L}, RezCase{-1E-200L, -1E+4000L},
                           RezCase{0, 1E+4000L}, RezCase{-0.0L, -1E+4000L}}) {
    const Outcome out = Call([&c] { return REZ(c.X); });
    EXPECT_EQ(out.Value, c.Expected);
    EXPECT_TRUE(out.Ok);
    EXPECT_FALSE(out.MathFailed);
    EXPECT_EQ(out.Message, "Division by zero. Large value inserted.");
  }
  for (const Extended x : {1.0L, 0.5L, -1.0L}) {
    EXPECT_TRUE(Call([x] { return ARCOTH(x); }).MathFailed) << static_cast<double>(x);
  }
  EXPECT_TRUE(Call([] { return MODULO(1, 0); }).MathFailed);
}

TEST(SpecialFunctions, RootsAndTheirFailures) {
  ExpectValues({
      B("ROOT(3;27)", ROOT, 3, 27, 3, 1e-17L),
      B("ROOT(3;-27)", ROOT, 3, -27, -3, 1e-17L),
      B("ROOT(2;0)", ROOT, 2, 0, 0, 0),
      B("ROOT(2;-1E-15)", ROOT, 2, -1E-15L, 0, 0),  // within Epsilon of zero
      B("ROOT(-2;4)", ROOT, -2, 4, 0.5L, 1e-18L),
      B("ROOT(-3;-8)", ROOT, -3, -8, -0.5L, 1e-18L),
      B("ROOT(1;-5)", ROOT, 1, -5, -5, 1e-17L),
      B("ROOT(2;1E-20)", ROOT, 2, 1E-20L, 1E-10L, 1e-27L),
      B("ROOT(3+1E-15;8)", ROOT, 3 + 1E-15L, 8, 2, 1e-17L),
      // The whole 16-bit range of the index is usable.
      B("ROOT(32767;2)", ROOT, 32767, 2, 1.000021154042541781975L, 1e-18L),
      B("ROOT(-32768;2)", ROOT, -32768, 2, 0.9999788470504919298265L, 1e-18L),
  });
  // Even roots of negative numbers, the index 0, and an index beyond 16 bits
  // (which would otherwise wrap: 65538 into 2) are math failures. A negative
  // index at zero asks for 1/0, not for 0.
  const std::pair<Extended, Extended> failures[] = {
      {2, -4},     {4, -16},   {0, 5},  {65538, 4}, {32768, 2},
      {-32769, 2}, {1E30L, 2}, {-2, 0}, {-3, 0},    {-1, 1E-4940L}};
  for (const auto& [n, x] : failures) {
    const Outcome out = Call([n, x] { return ROOT(n, x); });
    EXPECT_TRUE(out.MathFailed) << static_cast<double>(n) << " " << static_cast<double>(x);
  }
  const Outcome wrong = Call([] { return ROOT(2.5L, 4); });
  EXPECT_FALSE(wrong.Ok);
  EXPECT_FALSE(wrong.MathFailed);
  EXPECT_EQ(wrong.Message, "Unvalid argument for root function");
}

TEST(SpecialFunctions, BesselOrderChecks) {
  const Outcome fraction = Call([] { return J(1.5L, 2); });
  EXPECT_FALSE(fraction.Ok);
  EXPECT_EQ(fraction.Message, "Order of bessel function must be natural");
  // A negative order fails below |x| = 40 (the series divides by zero), the
  // asymptotic form takes it above; x <= -40 fails for every order. Orders
  // beyond 16 bits fail instead of wrapping around.
  const std::pair<Extended, Extended> failures[] = {
      {-1, 2}, {-3, 0.001L}, {-1, 0}, {0, -40}, {3, -100}, {65536, 1}, {-32769, 50}, {0, Inf}};
  for (const auto& [n, x] : failures) {
    const Outcome out = Call([n, x] { return J(n, x); });
    EXPECT_TRUE(out.MathFailed) << static_cast<double>(n) << " " << static_cast<double>(x);
  }
  EXPECT_FALSE(Call([] { return J(-1, 50); }).MathFailed);
  // The highest order runs its factor loop and ends with a value of zero.
  const Outcome high = Call([] { return J(32767, 39); });
  EXPECT_FALSE(high.MathFailed);
  EXPECT_EQ(high.Value, 0);
}

TEST(SpecialFunctions, IntegralFunctionWarningsAndFailures) {
  const Extended Pi = ExtPi;
  struct WarningCase {
    Unary Routine;
    Extended X;
    Extended Expected;
    const char* Message;
  };
  const char* const si = "Argument of integral sine is too large. Result is only approximated";
  const char* const ci = "Argument of integral cosine is too large. Result is only approximated";
  const WarningCase warnings[] = {
      {SI, 50, Pi / 2, si}, {SI, -43.5L, -Pi / 2, si}, {SI, Inf, Pi / 2, si},
      {CI, 50, 0, ci},      {CI, -1E300L, 0, ci},
  };
  for (const WarningCase& w : warnings) {
    const Outcome out = Call([&w] { return w.Routine(w.X); });
    EXPECT_EQ(out.Value, w.Expected);
    EXPECT_TRUE(out.Ok);
    EXPECT_FALSE(out.MathFailed);
    EXPECT_EQ(out.Message, w.Message);
  }
  // At 43 itself the series still runs, without a warning.
  EXPECT_EQ(Call([] { return SI(43); }).Message, "");
  // Zero, the logarithm's domain, overflowing series and infinite arguments
  // (whose series would never end) are math failures.
  const std::pair<Unary, Extended> failures[] = {
      {CI, 0}, {EI, 0},  {EI, 1E6L}, {EI, 12000}, {EI, Inf}, {EI, -Inf}, {LI, 0},
      {LI, 1}, {LI, -5}, {LI, Inf},  {SI, NaN},   {CI, NaN}, {ERF, NaN}};
  for (const auto& [routine, x] : failures) {
    EXPECT_TRUE(Call([routine, x] { return routine(x); }).MathFailed) << static_cast<double>(x);
  }
}

TEST(SpecialFunctions, PoissonProbabilities) {
  const Extended e2 = std::exp(-2.0L);
  ExpectValues({
      B("POISSON(2;0)", POISSON, 2, 0, e2, 0),
      B("POISSON(2;-3)", POISSON, 2, -3, e2, 0),
      B("POISSON(2;3)", POISSON, 2, 3, 0.180447044315483589192L, 1e-18L),
      B("POISSON(2;3-1E-15)", POISSON, 2, 3 - 1E-15L, 0.180447044315483589192L, 1e-18L),
      B("POISSON(1;2147483647)", POISSON, 1, 2147483647, 0, 0),  // underflows long before
      B("POICUM(2;0)", POICUM, 2, 0, e2, 0),
      B("POICUM(2;3)", POICUM, 2, 3, 0.857123460498547048662L, 1e-18L),
      B("POICUM(2;-1)", POICUM, 2, -1, e2, 0),
      B("POICUM(3;1E30)", POICUM, 3, 1E30L, 1, 1e-17L),
      B("POICUM(11000;1E4000)", POICUM, 11000, 1E4000L, 1, 1e-13L),
      B("POICUM(1E4000;5)", POICUM, 1E4000L, 5, 0, 0),
  });
  // A huge n stops where the remaining terms can no longer change the sum:
  // exactly the sum over the terms that still count.
  EXPECT_EQ(POICUM(5, 1E30L), POICUM(5, 400));
  EXPECT_EQ(POICUM(-3, 1E30L), POICUM(-3, 400));
  EXPECT_EQ(POICUM(2000, 1E30L), POICUM(2000, 4000));
  // n outside 32 bits would wrap around into an unrelated count.
  EXPECT_TRUE(Call([] { return POISSON(1, 4294967298.0L); }).MathFailed);
  EXPECT_TRUE(Call([] { return POISSON(1, -2147483649.0L); }).MathFailed);
  for (const Binary routine : {POISSON, POICUM}) {
    const Outcome out = Call([routine] { return routine(2, 2.5L); });
    EXPECT_FALSE(out.Ok);
    EXPECT_FALSE(out.MathFailed);
    EXPECT_EQ(out.Message, "Poisson distribution:  Discrete argument required");
  }
}

// A value within a relative tolerance of the reference, without a failure.
struct RelativeCase {
  const char* Name;
  std::function<Extended()> Routine;
  Extended Reference;
  Extended Tolerance;  // relative
};

void ExpectRelative(const std::vector<RelativeCase>& cases) {
  for (const RelativeCase& c : cases) {
    const Outcome out = Call(c.Routine);
    EXPECT_FALSE(out.MathFailed) << c.Name;
    EXPECT_TRUE(out.Ok) << c.Name;
    EXPECT_LE(std::fabs(out.Value / c.Reference - 1), c.Tolerance)
        << std::setprecision(21) << out.Value << " vs " << c.Reference << ": " << c.Name;
  }
}

// Reference values to 25 digits at the arguments' 80-bit values (ARCOTH(x)
// near 1/x, GAMMA(x) near 1/x, so the rounding of a decimal argument moves
// them by less than 1E-19).
TEST(SpecialFunctions, ArcothOfLargeArgumentsDoesNotCancel) {
  ExpectRelative({
      {"ARCOTH(1E20)", [] { return ARCOTH(1E20L); }, 1E-20L, 4e-19L},
      {"ARCOTH(1E10)", [] { return ARCOTH(1E10L); }, 1.000000000000000000003333e-10L, 4e-19L},
      {"ARCOTH(-1E10)", [] { return ARCOTH(-1E10L); }, -1.000000000000000000003333e-10L, 4e-19L},
      {"ARCOTH(1E5)", [] { return ARCOTH(1E5L); }, 1.000000000033333333335333e-5L, 4e-19L},
      {"ARCOTH(40000)", [] { return ARCOTH(40000); }, 2.500000000520833333528646e-5L, 4e-19L},
      {"ARCOTH(36894)", [] { return ARCOTH(36894); }, 2.710467827410657183920459e-5L, 4e-19L},
      {"ARCOTH(1E4000)", [] { return ARCOTH(1E4000L); }, 1E-4000L, 4e-19L},
      {"ARCOTH(-3E300)", [] { return ARCOTH(-3E300L); }, -3.333333333333333333333333e-301L, 4e-19L},
  });
  // Below about 36893 the quotient's formula stays, to the bit.
  for (const Extended x : {2.0L, -7.5L, 1000.25L, 30000.0L, -36893.0L}) {
    EXPECT_EQ(BitsOf(ARCOTH(x)), BitsOf(-0.5L * std::log((x - 1) / (x + 1))))
        << static_cast<double>(x);
  }
  EXPECT_TRUE(Call([] { return ARCOTH(Inf); }).MathFailed);
}

TEST(SpecialFunctions, GammaNearThePoleAtZeroIsFiniteAndAsCloseAsTheProduct) {
  // The reduced argument 1 + x (or 2 + x) rounded away the low bits of x:
  // GAMMA(1E-19) came out 7.8 % low and GAMMA(5E-20) and GAMMA(-1E-25)
  // divided by zero. Now within the product's own error (y^2/200000 at most,
  // 2E-5).
  ExpectRelative({
      {"GAMMA(1E-19)", [] { return GAMMA(1E-19L); }, 9.999999999999999999422784e+18L, 2.1e-5L},
      {"GAMMA(5E-20)", [] { return GAMMA(5E-20L); }, 1.999999999999999999942278e+19L, 2.1e-5L},
      {"GAMMA(-1E-25)", [] { return GAMMA(-1E-25L); }, -1.0e+25L, 2.1e-5L},
      {"GAMMA(1E-30)", [] { return GAMMA(1E-30L); }, 1.0e+30L, 2.1e-5L},
      {"GAMMA(2^-70)", [] { return GAMMA(0x1p-70L); }, 1.180591620717411303423423e+21L, 2.1e-5L},
      {"GAMMA(-1+2^-63)", [] { return GAMMA(-1 + 0x1p-63L); }, -9.223372036854775808422784e+18L,
       2.1e-5L},
      {"GAMMA(1E-4000)", [] { return GAMMA(1E-4000L); }, 1.0e+4000L, 2.1e-5L},
      {"GAMMA(-1E-4000)", [] { return GAMMA(-1E-4000L); }, -1.0e+4000L, 2.1e-5L},
  });
  // Where the reduction loses less than 1E-15 the product's value stays, to
  // the bit: the product at y divided by y - 1 (and y - 2 below zero).
  for (const Extended x : {0.3L, 1e-3L, 0.5L, 1e-4L, -0.3L, -0.999L, -1e-3L}) {
    const Extended y = x >= 0 ? x + 1 : x + 2;
    Extended expected = GAMMA(y) / (y - 1);
    if (x < 0) expected = expected / (y - 2);
    EXPECT_EQ(BitsOf(GAMMA(x)), BitsOf(expected)) << static_cast<double>(x);
  }
  // Beyond the range the value is an overflow, as at the poles themselves.
  EXPECT_TRUE(Call([] { return GAMMA(1E-4940L); }).MathFailed);
  EXPECT_TRUE(Call([] { return GAMMA(0); }).MathFailed);
}

TEST(SpecialFunctions, PoissonWithAMeanWhoseExponentialUnderflows) {
  // e^(-lambda) is no normal number above lambda = 11355.1: the products
  // started from zero and reported 0 as a success.
  ExpectRelative({
      {"POISSON(12000;12000)", [] { return POISSON(12000, 12000); }, 0.003641802811588486322692277L,
       1e-16L},
      {"POISSON(11400;11400)", [] { return POISSON(11400, 11400); }, 0.00373640948160564720002171L,
       1e-16L},
      {"POISSON(1E6;1E6)", [] { return POISSON(1E6L, 1E6L); }, 0.000398942247156244029704544L,
       1e-16L},
      {"POISSON(50000;50123)", [] { return POISSON(50000, 50123); }, 0.001531934562836221195355078L,
       1e-16L},
      {"POISSON(1E9;1E9)", [] { return POISSON(1E9L, 1E9L); }, 1.261566260904949502377115e-5L,
       1e-16L},
      {"POISSON(12000;11000)", [] { return POISSON(12000, 11000); },
       9.117973240101431877303904e-22L, 1e-14L},
      {"POISSON(12000;13000)", [] { return POISSON(12000, 13000); },
       8.531711065379877910612225e-21L, 1e-14L},
      {"POISSON(20000;19000)", [] { return POISSON(20000, 19000); },
       2.621494610470115140275145e-14L, 1e-14L},
      {"POICUM(12000;12000)", [] { return POICUM(12000, 12000); }, 0.5024278595490246531388654L,
       1e-16L},
      {"POICUM(12000;11800)", [] { return POICUM(12000, 11800); }, 0.03402064656437229555941926L,
       1e-15L},
      {"POICUM(12000;12500)", [] { return POICUM(12000, 12500); }, 0.9999971767214263713645125L,
       1e-16L},
      {"POICUM(20000;19500)", [] { return POICUM(20000, 19500); }, 0.0001958066781690795169392463L,
       1e-15L},
      {"POICUM(30000;31000)", [] { return POICUM(30000, 31000); }, 0.9999999954223149429272124L,
       1e-16L},
      {"POICUM(1E6;999000)", [] { return POICUM(1E6L, 999000); }, 0.1587762998117256122761716L,
       1e-15L},
      {"POICUM(1E6;1E6)", [] { return POICUM(1E6L, 1E6L); }, 0.5002659614862836527853817L, 1e-15L},
  });
  // What truly underflows is zero, quietly; sums beyond every term are 1.
  ExpectValues({
      B("POISSON(12000;5)", POISSON, 12000, 5, 0, 0),
      B("POISSON(1E4000;2000000000)", POISSON, 1E4000L, 2000000000, 0, 0),
      B("POISSON(12000;0)", POISSON, 12000, 0, 0, 0),
      B("POICUM(12000;5)", POICUM, 12000, 5, 0, 0),
      B("POICUM(12000;1E30)", POICUM, 12000, 1E30L, 1, 0),
      B("POICUM(1E20;1E30)", POICUM, 1E20L, 1E30L, 1, 0),
  });
  // Around a mean far above 9E6 the sum would take too many terms: a failure,
  // not a value. Away from the mean it stays short.
  EXPECT_TRUE(Call([] { return POICUM(1E8L, 1E8L); }).MathFailed);
  EXPECT_TRUE(Call([] { return POICUM(1E12L, 1E12L); }).MathFailed);
  ExpectValues({
      B("POICUM(1E12;9E11)", POICUM, 1E12L, 9E11L, 0, 0),
      B("POICUM(1E12;1.1E12)", POICUM, 1E12L, 1.1E12L, 1, 0),
  });
  // Below the limit the products stay, to the bit.
  for (const Extended lambda : {100.0L, 5000.5L, 11355.0L}) {
    Extended p = std::exp(-lambda);
    for (int d = 1; d <= 200; ++d) p = p * lambda / d;
    EXPECT_EQ(BitsOf(POISSON(lambda, 200)), BitsOf(p)) << static_cast<double>(lambda);
  }
}

TEST(SpecialFunctions, PoissonSumsNeverExceedOne) {
  // Rounding carried the sum to 1 + 3E-18 here.
  EXPECT_EQ(POICUM(2770.94829217630244084L, 3679), 1);
  for (const Extended lambda : {0.5L, 7.25L, 300.0L, 2770.94829217630244084L, 11000.0L}) {
    for (const Extended n : {lambda, 2 * lambda + 50, 1E30L}) {
      EXPECT_LE(POICUM(lambda, std::round(n)), 1) << static_cast<double>(lambda);
    }
  }
}

// The smallest k whose cumulative Poisson probability reaches u, from the
// probabilities computed in double with lgamma.
int PoissonQuantile(double lambda, double u) {
  double cumulative = 0;
  for (int k = 0;; ++k) {
    cumulative += std::exp(k * std::log(lambda) - lambda - std::lgamma(k + 1.0));
    if (u <= cumulative || k > 1000) return k;
  }
}

TEST(SpecialFunctions, RandomRoutinesFollowTheGenerator) {
  SetRandomSeed(20240607);
  RandomGenerator lcg(20240607);
  for (int i = 0; i < 20; ++i) {
    const Extended lo = -3 + i;
    const Extended hi = 10 - 2 * i;  // also hi < lo
    EXPECT_EQ(RAND(lo, hi), lo + lcg.Unit() * (hi - lo));
  }
  EXPECT_EQ(RAND(2, 2), 2);
  lcg.Unit();
  for (const double lambda : {0.5, 3.0, 7.25, 40.0}) {
    for (int i = 0; i < 25; ++i) {
      const double u = static_cast<double>(lcg.Unit());
      EXPECT_EQ(POIRAND(lambda), PoissonQuantile(lambda, u)) << lambda << " " << u;
    }
  }
  // Each call draws once, also where the count is 0 or where the mean is so
  // large that e^(-mean) is 0: no sum of terms can reach the draw then, and
  // the call fails at once instead of counting for ever.
  const std::uint32_t before = RandomSeed();
  EXPECT_EQ(POIRAND(0), 0);
  EXPECT_EQ(POIRAND(-5), 0);
  EXPECT_EQ(POIRAND(-1E4000L), 0);
  EXPECT_TRUE(Call([] { return POIRAND(12000); }).MathFailed);
  EXPECT_TRUE(Call([] { return POIRAND(1E4000L); }).MathFailed);
  std::uint32_t expected = before;
  for (int i = 0; i < 5; ++i) expected = static_cast<std::uint32_t>(expected * 134775813ULL + 1);
  EXPECT_EQ(RandomSeed(), expected);
}

}  // namespace
}  // namespace engine
