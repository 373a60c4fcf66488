// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The function dispatch of the interpreter: takes a built-in function's
// arguments from the value stack, computes it and leaves the value in place of
// the first argument.
#include <cfenv>
#include <cmath>
#include <limits>
#include <span>

#include "engine/engine_state.h"
#include "engine/function_memo.h"
#include "engine/integer_routines.h"
#include "engine/interpreter.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "engine/special_functions.h"

namespace engine {

namespace {

// Function codes: the 1-based positions of the names in FunctionNames.
enum TFunctionCode : int {
  fnCabs = 1,
  fnSqrt,
  fnLn,
  fnExp,
  fnArcsin,
  fnArccos,
  fnArctan,
  fnArtanh,
  fnRez,
  fnInverf,
  fnSgn,
  fnCbrt,
  fnArsinh,
  fnArcosh,
  fnSinh,
  fnCosh,
  fnTanh,
  fnTan,
  fnErf,
  fnGauss,
  fnLg,
  fnJ0,
  fnJ1,
  fnJ2,
  fnJ3,
  fnJ4,
  fnJ5,
  fnSin,
  fnCos,
  fnTheta,
  fnFrac,
  fnInt,
  fnSi,
  fnCi,
  fnEi,
  fnLi,
  fnGamma,
  fnLb,
  fnSqr,
  fnArccot,
  fnArcoth,
  fnCoth,
  fnCot,
  fnRnd,
  fnMax,
  fnMin,
  fnRoot,
  fnLog,
  fnJ,
  fnAtan2,
  fnPoisson,
  fnNormrand,
  fnModulo,
  fnBino,
  fnAbs,
  fnFac,
  fnBnot,
  fnUnused,  // position 58 holds no callable name
  fnIf,
  fnNot,
  fnCeil,
  fnFloor,
  fnOdd,
  fnRound,
  fnPoirand,
  fnRand,
  fnPoicum,
};
static_assert(fnPoicum == FunctionCount);

// Below this magnitude the hyperbolic functions and ARCCOT use their value at
// zero, and ARTANH counts an argument as +-1.
constexpr Extended NearZero = 1E-16L;
constexpr Extended TwoPow63 = 9223372036854775808.0L;

// Number of arguments; 0 for a code that names no function.
int Arity(int code) {
  if (code < 1 || code > FunctionCount || code == fnUnused) return 0;
  if (code == fnCabs || (code >= fnMax && code <= fnBino) || code == fnRand || code == fnPoicum) {
    return 2;
  }
  if (code == fnIf) return 3;
  return 1;
}

Extended MathFailure() {
  std::feraiseexcept(FE_INVALID);
  return 0;
}

// sqrt(x*x + y*y) without overflowing the squares.
Extended Cabs(Extended x, Extended y) {
  const Extended ax = std::fabs(x);
  const Extended ay = std::fabs(y);
  const Extended m = ax > ay ? ax : ay;
  const Extended s = ax > ay ? ay : ax;
  if (s == 0 || std::isinf(m)) return m;
  const Extended ratio = s / m;
  return m * std::sqrt(1 + ratio * ratio);
}

Extended Artanh(Extended x) {
  if (std::fabs(x - 1) <= NearZero) return std::numeric_limits<Extended>::infinity();
  if (std::fabs(x + 1) <= NearZero) return -std::numeric_limits<Extended>::infinity();
  return std::atanh(x);  // |x| > 1 is an invalid operation
}

Extended Sinh(Extended x) {
  return std::fabs(x) <= NearZero ? 0 : std::sinh(x);
}
Extended Cosh(Extended x) {
  return std::fabs(x) <= NearZero ? 1 : std::cosh(x);
}
// The quotient of SINH and COSH. tanh is bounded: beyond |x| = 64 the
// quotient is exactly +-1 (e^-128 lies far below the last bit), so it is
// taken as that instead of letting SINH and COSH overflow from |x| = 11357 on.
Extended Tanh(Extended x) {
  if (std::fabs(x) <= NearZero) return 0;
  if (std::fabs(x) > 64) return std::copysign(Extended{1}, x);
  return std::sinh(x) / std::cosh(x);
}

Extended Arccot(Extended x, Extended angleFactor) {
  if (std::fabs(x) <= NearZero) return ExtPi / 2 / angleFactor;
  return std::atan(1 / x) / angleFactor;
}

// atan2 in (-pi, pi]: a negative zero y would give -pi for a negative x.
Extended Atan2(Extended y, Extended x) {
  return std::atan2(y == 0 ? 0.0L : y, x);
}

// x truncated to a 64-bit integer, kept as an extended value; |x| >= 2^63
// does not fit and is an invalid operation.
bool Truncate64(Extended x, Extended& result) {
  if (!(std::fabs(x) < TwoPow63)) {
    MathFailure();
    return false;
  }
  result = std::trunc(x);
  return true;
}

// A whole number as a 64-bit integer would hold it: without the negative zero
// that truncating or rounding -0.5 leaves in the extended value.
Extended WholeNumber(Extended r) {
  return r == 0 ? 0 : r;
}

// The full 64-bit truncation, not its low 32 bits: CEIL(4294967296.5) is
// 4294967297, not 1.
Extended Ceil(Extended x) {
  Extended t = 0;
  if (!Truncate64(x, t)) return 0;
  return WholeNumber(x - t > 0 ? t + 1 : t);
}

Extended Floor(Extended x) {
  Extended t = 0;
  if (!Truncate64(x, t)) return 0;
  return WholeNumber(x - t < 0 ? t - 1 : t);
}

// Nearest integer, ties to even, as a 64-bit integer.
Extended Round(Extended x) {
  const Extended r = std::nearbyint(x);
  if (!(std::fabs(x) < TwoPow63) || r == TwoPow63) return MathFailure();
  return WholeNumber(r);
}

// NORMRAND keeps its draw inside the region where INVERF's series converges.
Extended Normrand(RunContext& context, Extended mean, Extended spread) {
  const Extended u = RAND(0.16L, 0.84L);
  return mean + spread * INVERF(context, u);
}

Extended Compute(RunContext& context, int code, std::span<const Extended> a, Extended angleFactor) {
  const Extended x = a[0];
  switch (code) {
    case fnCabs:
      return Cabs(a[0], a[1]);
    case fnSqrt:
      return std::sqrt(x);
    case fnLn:
      return std::log(x);
    case fnExp:
      return std::exp(x);
    case fnArcsin:
      // (1 - x)(1 + x) is 1 - x^2 without the cancellation near |x| = 1.
      return std::atan2(x, std::sqrt((1 - x) * (1 + x))) / angleFactor;
    case fnArccos:
      return std::atan2(std::sqrt((1 - x) * (1 + x)), x) / angleFactor;
    case fnArctan:
      return std::atan(x) / angleFactor;
    case fnArtanh:
      return Artanh(x);
    case fnRez:
      return REZ(context, x);
    case fnInverf:
      return INVERF(context, x);
    case fnSgn:
      return SGN(x);
    case fnCbrt:
      return CBRT(x);
    case fnArsinh:
      return std::asinh(x);
    case fnArcosh:
      return std::acosh(x);  // x < 1 is an invalid operation
    case fnSinh:
      return Sinh(x);
    case fnCosh:
      return Cosh(x);
    case fnTanh:
      return Tanh(x);
    case fnTan:
      return std::tan(x * angleFactor);
    case fnErf:
      return ERF(x);
    case fnGauss:
      return GAUSS(x);
    case fnLg:
      return std::log10(x);
    case fnJ0:
    case fnJ1:
    case fnJ2:
    case fnJ3:
    case fnJ4:
    case fnJ5:
      return J(context, code - fnJ0, x);
    case fnSin:
      return std::sin(x * angleFactor);
    case fnCos:
      return std::cos(x * angleFactor);
    case fnTheta:
      return THETA(x);
    case fnFrac:
      return x - std::trunc(x);
    case fnInt:
      return std::trunc(x);
    case fnSi:
      return SI(context, x);
    case fnCi:
      return CI(context, x);
    case fnEi:
      return EI(x);
    case fnLi:
      return LI(x);
    case fnGamma:
      return GAMMA(context, x);
    case fnLb:
      return std::log2(x);
    case fnSqr:
      return x * x;
    case fnArccot:
      return Arccot(x, angleFactor);
    case fnArcoth:
      return ARCOTH(x);
    case fnCoth:
      return 1 / Tanh(x);
    case fnCot:
      return 1 / std::tan(x * angleFactor);
    case fnRnd:
      return RandomUnit() * x;
    case fnMax:
      return a[0] > a[1] ? a[0] : a[1];
    case fnMin:
      return a[0] < a[1] ? a[0] : a[1];
    case fnRoot:
      return ROOT(context, a[0], a[1]);
    case fnLog:
      return std::log2(a[1]) / std::log2(a[0]);
    case fnJ:
      return J(context, a[0], a[1]);
    case fnAtan2:
      return Atan2(a[0], a[1]) / angleFactor;
    case fnPoisson:
      return POISSON(context, a[0], a[1]);
    case fnNormrand:
      return Normrand(context, a[0], a[1]);
    case fnModulo:
      return MODULO(a[0], a[1]);
    case fnBino:
      return BINO(context, a[0], a[1]);
    case fnAbs:
      return std::fabs(x);
    case fnFac:
      return FAC(context, x);
    case fnBnot:
      return BNOT(context, x);
    case fnIf:
      return IF(context, a[0], a[1], a[2]);
    case fnNot:
      return NOT(context, x);
    case fnCeil:
      return Ceil(x);
    case fnFloor:
      return Floor(x);
    case fnOdd:
      return ODD(context, x);
    case fnRound:
      return Round(x);
    case fnPoirand:
      return POIRAND(x);
    case fnRand:
      return RAND(a[0], a[1]);
    case fnPoicum:
      return POICUM(context, a[0], a[1]);
    default:
      return MathFailure();
  }
}

// FunctionValue with the batch's memo: a call that reports nothing (no
// failure, no warning, no failure flag, judged from a clean start) is
// remembered, and a remembered call reports nothing again.
Extended RememberedValue(RunContext& context, FunctionMemo& memo, int code, const Extended& x,
                         Extended angleFactor) {
  if (const Extended* known = memo.Find(code, x)) return *known;
  const bool cleanStart = context.Ok && context.Pending.empty() && !FloatingPointFailed();
  const Extended value = Compute(context, code, std::span<const Extended>(&x, 1), angleFactor);
  if (cleanStart && context.Ok && context.Pending.empty() && !FloatingPointFailed()) {
    try {
      memo.Remember(code, x, value);
    } catch (...) {
      // Without memory the value is simply computed again next time.
    }
  }
  return value;
}

}  // namespace

// Functions whose result a batch may reuse: those that depend on their
// argument alone and cost more than a lookup. The random ones draw anew at
// every call.
bool WorthRemembering(int code) {
  switch (code) {
    case fnRnd:
    case fnPoirand:
    case fnSgn:
    case fnTheta:
    case fnFrac:
    case fnInt:
    case fnSqr:
    case fnAbs:
    case fnBnot:
    case fnNot:
    case fnCeil:
    case fnFloor:
    case fnOdd:
    case fnRound:
    case fnSqrt:
    case fnRez:
      return false;
    default:
      return true;
  }
}

int FunctionArity(int code) {
  return Arity(code);
}

Extended FunctionValue(RunContext& context, int code, std::span<const Extended> args,
                       Extended angleFactor) {
  // A NaN argument has no value to compute with; like a comparison with NaN
  // it is an invalid operation, and no series runs on it.
  bool hasNaN = false;
  for (const Extended v : args) hasNaN = hasNaN || std::isnan(v);
  if (hasNaN) return MathFailure();
  if (context.Memo != nullptr && args.size() == 1 && WorthRemembering(code)) {
    return RememberedValue(context, *context.Memo, code, args[0], angleFactor);
  }
  return Compute(context, code, args, angleFactor);
}

void ApplyFunction(RunContext& context, TMachine& machine, int code) {
  const int arity = Arity(code);
  bool mathFailure = false;
  if (arity == 0) {
    // No compiled term holds such a code; a damaged program fails cleanly.
    context.Fail(MsgGeneral);
  } else if (machine.Top < arity) {
    // A call with too few arguments would reach below the bottom of the stack.
    context.Fail(MsgWrongOperand);
  } else {
    const std::size_t first = static_cast<std::size_t>(machine.Top - arity + 1);
    const std::span<Extended> args(&machine.ValueStack[first], static_cast<std::size_t>(arity));
    args[0] = FunctionValue(context, code, args, machine.AngleFactor);
    machine.Top -= arity - 1;
    mathFailure = FloatingPointFailed();
  }
  EndStep(context, mathFailure, machine.Message);
}

}  // namespace engine
