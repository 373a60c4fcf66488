// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The real-valued numeric routines behind the special built-in functions:
// Poisson distribution, roots, reciprocal, gamma, the normal distribution and
// its inverse, Bessel functions, the integral functions and a few small ones.
//
// Each routine reports like the integer routines do: an error fails the run's
// context with a message (RunContext::Fail), a warning leaves a message only
// (RunContext::Warn), and a math failure raises a floating-point failure flag (invalid
// operation, division by zero or overflow) that the function dispatch turns
// into the general message. No routine leaves such a flag raised for a step
// that is not a failure, and every routine ends promptly for every argument,
// NaN and infinities included.
#pragma once

#include <array>

#include "engine/extended.h"
#include "engine/run_context.h"

namespace engine {

// Below this magnitude REZ and CBRT treat their argument as zero.
inline constexpr Extended TinyValue = 1E-100L;
// The value REZ inserts for a division by (nearly) zero.
inline constexpr Extended LargeValue = 1E+4000L;
// Factors of the truncated Weierstrass product of GAMMA.
inline constexpr int GammaTerms = 100000;
// Euler's constant as the 16-digit decimal the routines were tuned with; it
// lies about 5.6e-16 below the exact constant.
inline constexpr Extended EulerGammaLiteral = 0.5772156649015323L;
// 1/sqrt(2*pi) to 15 digits, the factor of the normal density.
inline constexpr Extended NormalDensityFactor = 0.398942280401433L;
// Coefficients c1..c12 of the power series of the normal quantile in
// a = (p - 0.5) / NormalDensityFactor: a + c1*a^3 + c2*a^5 + ... + c12*a^25.
inline constexpr std::array<Extended, 12> ProbitCoefficients = {
    0.16666666667L,   0.05833333333L,   0.025198412L,     0.012039792L,
    0.006103921156L,  0.003217747884L,  0.00174382623L,   0.0009647274734L,
    0.0005422926282L, 0.0003087330308L, 0.0001775964781L, 0.0001030449416L};

// 2/pi, 0x3FFE A2F9836E4E44152A, the nearest extended value.
Extended TwoOverPi();

// Messages (errors unless marked as warnings).
inline constexpr const char* MsgPoissonDiscrete =
    "Poisson distribution:  Discrete argument required";
inline constexpr const char* MsgRootArgument = "Unvalid argument for root function";
inline constexpr const char* MsgRezWarning = "Division by zero. Large value inserted.";
inline constexpr const char* MsgInverfRegion =
    "Argument of inverse Errorfunction is out of the converging region";
inline constexpr const char* MsgBesselOrder = "Order of bessel function must be natural";
inline constexpr const char* MsgSiWarning =
    "Argument of integral sine is too large. Result is only approximated";
inline constexpr const char* MsgCiWarning =
    "Argument of integral cosine is too large. Result is only approximated";

// lo + u*(hi - lo) for one uniform draw u in [0, 1).
Extended RAND(Extended lo, Extended hi);
// y * frac(x / y): the remainder with the sign of x, for real arguments.
Extended MODULO(Extended x, Extended y);
// Poisson probability of exactly n events at mean lambda.
Extended POISSON(RunContext& context, Extended lambda, Extended n);
// Poisson probability of at most n events at mean lambda.
Extended POICUM(RunContext& context, Extended lambda, Extended n);
// A Poisson-distributed random count with mean lambda (one uniform draw).
Extended POIRAND(Extended lambda);
// n-th root of x; an odd n gives the negative root of a negative x.
Extended ROOT(RunContext& context, Extended n, Extended x);
// Gamma function by the truncated Weierstrass product; about y*y/200000 low
// in relative terms (y the argument reduced to [1, 2]). The product is kept in
// the context's memo for the next call with the same reduced argument.
Extended GAMMA(RunContext& context, Extended x);
// 1/x, or LargeValue with x's sign and a warning for |x| < TinyValue.
Extended REZ(RunContext& context, Extended x);
// Inverse of ERF by its power series, for p in about (0.10106, 0.89894).
Extended INVERF(RunContext& context, Extended p);
// Inverse hyperbolic cotangent.
Extended ARCOTH(Extended x);
// Real cube root.
Extended CBRT(Extended x);
// Bessel function of the first kind of integer order n.
Extended J(RunContext& context, Extended n, Extended x);
// Integral sine, integral cosine, exponential and logarithmic integral.
Extended SI(RunContext& context, Extended x);
Extended CI(RunContext& context, Extended x);
Extended EI(Extended x);
Extended LI(Extended x);
// Unit step: 1 for x > 0, else 0.
Extended THETA(Extended x);
// Standard normal distribution function Phi(x).
Extended ERF(Extended x);
// Sign: 1, 0 or -1.
Extended SGN(Extended x);
// Standard normal density.
Extended GAUSS(Extended x);

}  // namespace engine
