// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/special_functions.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/engine_state.h"
#include "engine/integer_routines.h"
#include "engine/random.h"
#include "engine/run_context.h"

namespace engine {

namespace {

constexpr int kFailureFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// A math failure: the same invalid-operation flag the hardware raises for a
// logarithm of a negative number, which the function dispatch reports with the
// general message.
Extended MathFailure() {
  std::feraiseexcept(FE_INVALID);
  return 0;
}

Extended Frac(Extended x) {
  return x - std::trunc(x);
}

// x (which passed IntegerTest) rounded to a whole number of type T. A number
// beyond T's range would wrap around into an unrelated small one (65538 into
// 2 for a 16-bit order), so it is a math failure instead.
template <typename T>
bool TakeAs(Extended x, long& result) {
  const Extended r = std::nearbyint(x);
  if (!(r >= static_cast<Extended>(std::numeric_limits<T>::min()) &&
        r <= static_cast<Extended>(std::numeric_limits<T>::max()))) {
    MathFailure();
    return false;
  }
  result = static_cast<long>(r);
  return true;
}

// Reports the Poisson routines' argument error; false when n is no integer.
bool DiscreteArgument(RunContext& context, Extended n) {
  if (IntegerTest(n)) return true;
  context.Fail(MsgPoissonDiscrete);
  return false;
}

// Below this argument the alternating series of EI cancels away: its largest
// term grows like e^|x| while the value shrinks like e^-|x|, so at -10 the
// series keeps only 9 digits and beyond -30 none at all (EI(-100) would come
// out as +3.7E+20). There EI(x) = -E1(-x) is taken from the continued fraction
// of E1 instead.
constexpr Extended NegativeSeriesLimit = -10;

// E1(z) for z > 10: e^-z / (z + 1 - 1/(z + 3 - 4/(z + 5 - ...))), evaluated
// from the front (modified Lentz); it needs a few dozen terms at z = 10 and
// fewer beyond.
Extended ExponentialIntegralE1(Extended z) {
  Extended b = z + 1;
  Extended c = 1 / std::numeric_limits<Extended>::min();
  Extended d = 1 / b;
  Extended h = d;
  for (int i = 1; i <= 1000; ++i) {
    const Extended a = -static_cast<Extended>(i) * i;
    b += 2;
    d = 1 / (a * d + b);
    c = b + a / c;
    const Extended step = c * d;
    h *= step;
    if (std::fabs(step - 1) < 1E-19L) break;
  }
  // e^-z underflows to zero for z above about 11355: the value is zero then.
  return h * std::exp(-z);
}

// The truncated Weierstrass product for y in [1, 3): 100,000 exponentials,
// which make it by far the costliest routine (milliseconds). It raises no
// failure flag, so a kept result stands for a new one.
Extended WeierstrassProduct(Extended y) {
  Extended g = std::exp(-EulerGammaLiteral * y) / y;
  for (int k = 1; k <= GammaTerms; ++k) {
    const Extended t = y / static_cast<Extended>(k);
    g = g * std::exp(t) / (1 + t);
  }
  return g;
}

// True when GAMMA's reduced argument y (frac(x) + 1 for x >= 0, + 2 below)
// for an x between -1 and 1 lost more than 1E-15 of the distances to the
// poles it is divided by (y - 1 for x, and y - 2 as well below 0). Elsewhere
// the reduction is exact.
bool ReductionRounded(Extended x, Extended y) {
  const Extended limit = 1E-15L * std::fabs(x);
  if (x >= 0) return std::fabs((y - 1) - x) > limit;
  return std::fabs((y - 2) - x) > limit || std::fabs((y - 1) - (x + 1)) > 1E-15L * (x + 1);
}

// ln(sqrt(2 pi))
constexpr Extended LnSqrtTwoPi = 0.918938533204672741780329736405617639861L;

// ln(n!) - ln(sqrt(2 pi n) (n/e)^n) for a whole n >= 1, the error of
// Stirling's formula: from n! itself while that is exact (n <= 20), else
// from the asymptotic series, whose first omitted term is below 1E-22 there.
Extended StirlingError(Extended n) {
  if (n <= 20) {
    Extended factorial = 1;
    for (Extended k = 2; k <= n; k += 1) factorial *= k;
    return std::log(factorial) - (n + 0.5L) * std::log(n) + n - LnSqrtTwoPi;
  }
  // B(2k) / (2k (2k - 1)) for k = 1 to 8
  static constexpr Extended kCoefficients[] = {1.0L / 12,    -1.0L / 360,      1.0L / 1260,
                                               -1.0L / 1680, 1.0L / 1188,      -691.0L / 360360,
                                               1.0L / 156,   -3617.0L / 122400};
  const Extended inverseSquare = 1 / (n * n);
  Extended sum = 0;
  for (int k = 7; k >= 0; --k) sum = kCoefficients[k] + sum * inverseSquare;
  return sum / n;
}

// x ln(x / mean) + mean - x, the exponent by which the Poisson probability of
// x falls below its largest value, without the cancellation of the plain
// formula when x is near the mean: there it is the series
// 2x (v^3/3 + v^5/5 + ...) + (x - mean) v with v = (x - mean) / (x + mean).
Extended PoissonDeviance(Extended x, Extended mean) {
  if (std::fabs(x - mean) < 0.1L * (x + mean)) {
    const Extended v = (x - mean) / (x + mean);
    const Extended v2 = v * v;
    Extended sum = (x - mean) * v;
    Extended power = 2 * x * v;
    for (int j = 1; j < 1000; ++j) {
      power *= v2;
      const Extended next = sum + power / (2 * j + 1);
      if (next == sum) break;
      sum = next;
    }
    return sum;
  }
  return x * std::log(x / mean) + mean - x;
}

// e^(-mean) mean^n / n! for a whole n >= 1 from the logarithms, for a mean so
// large that e^(-mean) is no normal number: the product of the plain formula
// would start from zero or from a denormal with few bits. A result that
// itself lies below the normal range comes out as a denormal or zero, as
// underflow does everywhere in the engine.
Extended PoissonTermFromLogs(Extended mean, Extended n) {
  return std::exp(-(StirlingError(n) + PoissonDeviance(n, mean))) / std::sqrt(2 * ExtPi * n);
}

// True where the plain products of POISSON and POICUM would start from an
// e^(-lambda) below the normal range although later factors raise them.
bool StartUnderflows(Extended lambda, Extended start, Extended m) {
  return lambda > 0 && start < std::numeric_limits<Extended>::min() && m >= 1;
}

// The most terms the cumulative sum below adds: about 10.5 sqrt(mean) terms
// count around the mean, so this covers every m for means up to about 9E6,
// at a cost of about 0.4 ms, a few times the plain loop's at smaller means.
constexpr long PoissonSumTerms = 1L << 15;

// Sum of the Poisson probabilities of 0 to m for a mean above about 11355,
// where e^(-mean) underflows (m >= 1, whole): from the term of m outwards,
// down to 0 while m is below the mean, else one minus the terms above m, until
// the geometric bound of the remaining terms leaves the sum unchanged. Where
// that takes more than PoissonSumTerms terms (a mean above about 9E6 and m
// within a few standard deviations of it) the value is a math failure, not a
// guess.
Extended PoissonSumFromLogs(Extended mean, Extended m) {
  Extended term = PoissonTermFromLogs(mean, m);
  if (m < mean) {
    Extended sum = term;
    long count = 0;
    for (Extended k = m; k > 0 && term > 0; k -= 1) {
      term = term * k / mean;
      sum += term;
      const Extended ratio = (k - 1) / mean;
      if (term * ratio / (1 - ratio) <= sum * 0x1p-66L) break;
      if (++count > PoissonSumTerms) return MathFailure();
    }
    return sum;
  }
  Extended tail = 0;
  long count = 0;
  for (Extended k = m + 1; term > 0; k += 1) {
    term = term * mean / k;
    tail += term;
    const Extended ratio = mean / (k + 1);
    if (term * ratio / (1 - ratio) <= tail * 0x1p-66L) break;
    if (++count > PoissonSumTerms) return MathFailure();
  }
  return 1 - tail;
}

}  // namespace

Extended TwoOverPi() {
  static const Extended value = ExtendedFromBits(0x3FFE, 0xA2F9836E4E44152AULL);
  return value;
}

Extended RAND(Extended lo, Extended hi) {
  const Extended u = RandomUnit();
  return lo + u * (hi - lo);
}

Extended MODULO(Extended x, Extended y) {
  const Extended q = x / y;
  return y * Frac(q);
}

Extended POISSON(RunContext& context, Extended lambda, Extended n) {
  if (!DiscreteArgument(context, n)) return 0;
  long m = 0;
  if (!TakeAs<std::int32_t>(n, m)) return 0;
  // An infinite mean is no distribution: e^-lambda would be an exact
  // infinity or zero that raises no flag and slips through as a value.
  if (!std::isfinite(lambda)) return MathFailure();
  Extended p = std::exp(-lambda);
  if (StartUnderflows(lambda, p, static_cast<Extended>(m))) {
    return PoissonTermFromLogs(lambda, static_cast<Extended>(m));
  }
  for (long d = 1; d <= m; ++d) {
    // A probability that has underflowed to zero stays zero, and one that has
    // overflowed has already raised its flag: up to two billion further
    // factors would change nothing.
    if (p == 0 || !std::isfinite(p)) break;
    p = p * lambda / static_cast<Extended>(d);
  }
  if (!std::isfinite(p)) return MathFailure();
  return p;
}

Extended POICUM(RunContext& context, Extended lambda, Extended n) {
  if (!DiscreteArgument(context, n)) return 0;
  if (!std::isfinite(lambda)) return MathFailure();
  const Extended m = std::nearbyint(n);
  const Extended size = std::fabs(lambda);
  Extended p = std::exp(-lambda);
  if (StartUnderflows(lambda, p, m)) return PoissonSumFromLogs(lambda, m);
  Extended s = p;
  for (Extended i = 1; i <= m; i += 1) {
    // A zero term stays zero; an overflow has raised its flag.
    if (p == 0 || !std::isfinite(s)) break;
    p = p * lambda / i;
    s = s + p;
    // Beyond i = |lambda| each term is at most r = |lambda|/(i+1) times the
    // one before, so all later terms together are at most |p|*r/(1-r). Once
    // that bound leaves the sum unchanged, so does the rest of the series: n
    // may be astronomically large without the loop running on. (|p| < 1 keeps
    // the bound itself from overflowing.)
    if (i >= size && std::fabs(p) < 1) {
      const Extended tail = std::fabs(p) * size / (i + 1 - size);
      if (s + tail == s && s - tail == s) break;
    }
  }
  if (!std::isfinite(s)) return MathFailure();
  // Rounding in the sum can carry it past 1 (POICUM(2770.94829217630244084;
  // 3679) came to 1 + 3E-18); a probability is at most 1. A negative mean is
  // no distribution, and its sums are left as they come.
  if (lambda >= 0 && s > 1) return 1;
  return s;
}

Extended POIRAND(Extended lambda) {
  const Extended u = RandomUnit();
  if (std::isnan(lambda)) return MathFailure();
  // e^(-lambda) would overflow for a very negative mean, but every
  // cumulative probability is at least 1 there: the count is 0.
  if (lambda <= 0) return 0;
  Extended p = std::exp(-lambda);
  Extended s = p;
  Extended k = 0;
  while (u > s) {
    // For a mean so large that e^(-lambda) is zero or a denormal with few
    // bits, the sum never reaches u: once the terms shrink and no longer
    // change it, the draw has failed rather than loop for ever.
    if (p == 0 || (k >= lambda && s + p == s)) return MathFailure();
    k += 1;
    p = p * lambda / k;
    s = s + p;
  }
  return k;
}

Extended ROOT(RunContext& context, Extended n, Extended x) {
  if (!IntegerTest(n)) {
    context.Fail(MsgRootArgument);
    return 0;
  }
  long m = 0;
  if (!TakeAs<std::int16_t>(n, m)) return 0;
  if (m == 0) {
    std::feraiseexcept(FE_DIVBYZERO);  // the exponent 1/0
    return 0;
  }
  if (std::isnan(x)) return MathFailure();
  const Extended e = 1 / static_cast<Extended>(m);
  // The first attempt may fail (x <= 0); its flags are set aside and only
  // raised again when no rule below rescues the root.
  std::fenv_t saved;
  std::feholdexcept(&saved);
  const Extended r = std::exp(e * std::log(x));
  const int raised = std::fetestexcept(kFailureFlags);
  std::fesetenv(&saved);
  if (raised == 0) return r;
  // A radicand within Epsilon of zero has the root zero. With a negative
  // index the root is a reciprocal, and the reciprocal of zero is a division
  // by zero, not zero.
  if (m > 0 && std::fabs(x) < Epsilon) return 0;
  if (m % 2 != 0) return -std::exp(e * std::log(std::fabs(x)));
  std::feraiseexcept(raised);
  return r;
}

Extended GAMMA(RunContext& context, Extended x) {
  // An infinite argument has no fraction to reduce and no finite shift.
  if (!std::isfinite(x)) return MathFailure();
  Extended y = x >= 0 ? Frac(x) + 1 : Frac(x) + 2;
  Extended g = 0;
  if (const Extended* kept = context.GammaProducts.Find(y)) {
    g = *kept;
  } else {
    g = WeierstrassProduct(y);
    context.GammaProducts.Keep(y, g);
  }
  if (x >= 2) {
    for (Extended count = std::trunc(x) - 1; count > 0; count -= 1) {
      g = g * y;
      y = y + 1;
      // Overflow (near x = 1755.5) has raised its flag; the remaining factors
      // of an argument like 1E30 would never end.
      if (std::isinf(g)) break;
    }
  } else if (x < 1 && x > -1 && ReductionRounded(x, y)) {
    // Near the pole at 0 (and at -1 from above) y = frac(x) + 1 or + 2 has
    // rounded away the low bits of x (GAMMA(1E-19) came out 7.8 % low,
    // GAMMA(5E-20) divided by zero): divide by the distances to the poles
    // taken from x itself.
    if (x < 0) g = g / (x + 1);
    g = g / x;
  } else if (x < 1) {
    Extended s = std::trunc(x);
    if (x < 0) s -= 1;
    for (Extended count = 1 - s; count > 0;) {
      y = y - 1;
      g = g / y;
      count -= 1;
      if (!std::isfinite(g)) break;  // division by zero at a pole: flag raised
      if (g == 0) {
        // Underflowed: each remaining division by a negative y only turns the
        // sign of the zero, and there may be 2^62 of them.
        if (std::fmod(count, 2) != 0) g = -g;
        break;
      }
    }
  }
  return g;
}

Extended REZ(RunContext& context, Extended x) {
  if (std::fabs(x) < TinyValue) {
    context.Warn(MsgRezWarning);
    // copysign, not SGN: at x = 0 the inserted value must still be large.
    return std::copysign(LargeValue, x);
  }
  return 1 / x;
}

Extended INVERF(RunContext& context, Extended p) {
  const Extended distance = std::fabs(p - 0.5L) * std::sqrt(2 * ExtPi);
  if (!(distance < 1 - Epsilon)) {
    context.Fail(MsgInverfRegion);
    return 0;
  }
  const Extended a = (p - 0.5L) / NormalDensityFactor;
  const Extended a2 = a * a;
  Extended s = a;
  Extended t = a;
  for (const Extended c : ProbitCoefficients) {
    t = t * a2;
    s = s + c * t;
  }
  return s;
}

Extended ARCOTH(Extended x) {
  // The quotient near 1 carries a rounding error of up to 2^-64 into the
  // logarithm, a relative error of up to 2^-65 |x| in a value of about 1/x:
  // above 1E-15 from |x| = 1E-15 * 2^65 (about 36893) on, and ARCOTH(1E20)
  // came out as -0. From there the same value is ln(1 + 2/(x - 1)) / 2, whose
  // small argument log1p takes without loss.
  static constexpr Extended kQuotientLimit = 1E-15L * 0x1p65L;
  if (std::fabs(x) >= kQuotientLimit && std::isfinite(x)) {
    return 0.5L * std::log1p(2 / (x - 1));
  }
  return -0.5L * std::log((x - 1) / (x + 1));
}

Extended CBRT(Extended x) {
  if (std::fabs(x) < TinyValue) return 0;
  return SGN(x) * std::exp(std::log(std::fabs(x)) / 3);
}

Extended J(RunContext& context, Extended n, Extended x) {
  if (!IntegerTest(n)) {
    context.Fail(MsgBesselOrder);
    return 0;
  }
  long m = 0;
  if (!TakeAs<std::int16_t>(n, m)) return 0;
  if (std::isnan(x)) return MathFailure();
  const Extended order = static_cast<Extended>(m);
  if (std::fabs(x) >= 40) {
    // For x <= -40 the square root of a negative number is the failure.
    return std::sqrt(TwoOverPi() / x) * std::cos(x - order * ExtPi / 2 - ExtPi / 4);
  }
  // The series for a negative order divides by zero at k = -m; when its terms
  // fall below Epsilon before that step it would return a meaningless number
  // (about x^m), so a negative order always fails here.
  if (m < 0) {
    std::feraiseexcept(FE_DIVBYZERO);
    return 0;
  }
  // d = x^m / (2^m m!), multiplied up factor by factor: the same number,
  // without the spurious overflow of x^m or underflow of 1/(2^m m!) for high
  // orders.
  Extended d = 1;
  for (long i = 1; i <= m; ++i) d = d * x / 2 / static_cast<Extended>(i);
  const Extended q = x * x / 4;
  Extended s = 0;
  Extended k = 1;
  do {
    s = s + d;
    d = -d * q / k / (order + k);
    k += 1;
  } while (!(std::fabs(d) < Epsilon));
  return s;
}

Extended SI(RunContext& context, Extended x) {
  if (std::isnan(x)) return MathFailure();
  if (std::fabs(x) > 43) {
    context.Warn(MsgSiWarning);
    return SGN(x) * ExtPi / 2;
  }
  const Extended x2 = x * x;
  Extended s = x;
  Extended t = x;
  for (Extended j = 1;; j += 1) {
    const Extended odd = 2 * j + 1;
    t = -t * x2 * (2 * j - 1) / (2 * j * odd * odd);
    s = s + t;
    if (std::fabs(t) < Epsilon) break;
  }
  return s;
}

Extended CI(RunContext& context, Extended x) {
  if (std::isnan(x)) return MathFailure();
  if (std::fabs(x) > 43) {
    context.Warn(MsgCiWarning);
    return 0;
  }
  const Extended x2 = x * x;
  Extended t = -x2 / 4;
  Extended s = t;
  for (Extended j = 2;; j += 1) {
    t = -t * x2 * (2 * j - 2) / ((2 * j - 1) * (2 * j) * (2 * j));
    s = s + t;
    if (std::fabs(t) < Epsilon) break;
  }
  return std::log(std::fabs(x)) + s + EulerGammaLiteral;
}

Extended EI(Extended x) {
  // The series of an infinite argument never ends (and a NaN never passes
  // its stop test).
  if (!std::isfinite(x)) return MathFailure();
  if (x < NegativeSeriesLimit) return -ExponentialIntegralE1(-x);
  Extended s = x;
  Extended t = x;
  for (Extended j = 2;; j += 1) {
    t = t * x * (j - 1) / (j * j);
    s = s + t;
    if (std::fabs(t) < Epsilon) break;
    // Beyond |x| of about 11350 the terms overflow (flag raised) before they
    // shrink; an infinite term would never pass the test above.
    if (!std::isfinite(t)) break;
  }
  return std::log(std::fabs(x)) + s + EulerGammaLiteral;
}

Extended LI(Extended x) {
  // x <= 0 fails in the logarithm (its flag is raised), x = 1 in EI(0).
  return EI(std::log(x));
}

Extended THETA(Extended x) {
  return x > 0 ? 1 : 0;
}

Extended ERF(Extended x) {
  if (std::isnan(x)) return MathFailure();
  if (std::fabs(x) > 5) return (SGN(x) + 1) * 0.5L;
  const Extended q = x * x / 2;
  Extended t = x;
  Extended s = 0;
  Extended k = 1;
  do {
    s = s + t / (2 * k - 1);
    t = -t * q / k;
    k += 1;
  } while (!(std::fabs(t) < Epsilon));
  return NormalDensityFactor * s + 0.5L;
}

Extended SGN(Extended x) {
  if (x > 0) return 1;
  if (x < 0) return -1;
  return 0;
}

Extended GAUSS(Extended x) {
  // e^(-x*x/2) is zero long before x*x overflows; the overflow of the
  // intermediate square would fail an argument whose density is simply 0.
  if (std::fabs(x) > 1E200L) return 0;
  return NormalDensityFactor * std::exp(-x * x / 2);
}

}  // namespace engine
