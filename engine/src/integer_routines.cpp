// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/integer_routines.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/engine_state.h"
#include "engine/run_context.h"

namespace engine {

namespace {

constexpr const char* MsgBinoIntegers = "Binomial coefficient:  Integer arguments required";
constexpr const char* MsgBinoOrder =
    "Binomial coefficient:   2nd argument must be smaller than 1st";
constexpr const char* MsgAnd = "Bitwise AND:  Integer arguments required";
constexpr const char* MsgOr = "Bitwise OR:  Integer arguments required";
constexpr const char* MsgXor = "Bitwise XOR:  Integer arguments required";
constexpr const char* MsgShl = "Shift left:  Integer arguments required";
constexpr const char* MsgShr = "Shift right:  Integer arguments required";
constexpr const char* MsgDiv = "Integer division:  Integer arguments required";
constexpr const char* MsgMod = "Modulo:  Integer arguments required";
constexpr const char* MsgBnot = "Bitwise NOT: Integer argument required";
constexpr const char* MsgNot = "Logical NOT:  Boolean argument required";
constexpr const char* MsgFac = "Factorial argument must be natural";
constexpr const char* MsgIf = "IF: Boolean condition expected ";
constexpr const char* MsgOdd = "Odd: integer argument required";

constexpr Extended TwoPow63 = 9223372036854775808.0L;

// A math failure is reported like any other floating-point failure: through
// the invalid-operation flag, which the operator and function dispatch test.
void RaiseInvalid() {
  std::feraiseexcept(FE_INVALID);
}

// round(x), ties to even, without touching the inexact flag.
Extended RoundEven(Extended x) {
  return std::nearbyint(x);
}

// x rounded to a 64-bit integer; a magnitude of 2^63 or more cannot be held
// and is an invalid operation.
bool RoundTo64(Extended x, std::int64_t& result) {
  const Extended r = RoundEven(x);
  if (!(std::fabs(r) < TwoPow63)) {
    RaiseInvalid();
    return false;
  }
  result = static_cast<std::int64_t>(r);
  return true;
}

// x taken as 32-bit: rounded, and the low 32 bits read as a signed number.
bool TakeAs32(Extended x, std::int32_t& result) {
  std::int64_t wide = 0;
  if (!RoundTo64(x, wide)) return false;
  result = static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
  return true;
}

// True when the rounded x fits the range of T without wrapping around.
template <typename T>
bool RoundedFits(Extended x) {
  const Extended r = RoundEven(x);
  return r >= static_cast<Extended>(std::numeric_limits<T>::min()) &&
         r <= static_cast<Extended>(std::numeric_limits<T>::max());
}

// Checks both operands of an integer operator, the left one first, and takes
// them as 32-bit patterns. False after an error or a math failure.
bool IntegerOperands(RunContext& context, Extended a, Extended b, const char* message,
                     std::int32_t& A, std::int32_t& B) {
  if (!IntegerTest(a) || !IntegerTest(b)) {
    context.Fail(message);
    return false;
  }
  return TakeAs32(a, A) && TakeAs32(b, B);
}

// DIV and MOD compute with the numbers themselves, not with bit patterns, so
// an operand beyond the 32-bit range must not wrap around into a different
// number: it is refused with the operator's own message. An operand of 2^63
// or more has no integer reading at all; like the bitwise operators, DIV and
// MOD report that as an invalid operation.
bool DivisionOperands(RunContext& context, Extended a, Extended b, const char* message,
                      std::int32_t& A, std::int32_t& B) {
  if (!IntegerTest(a) || !IntegerTest(b)) {
    context.Fail(message);
    return false;
  }
  if (!(std::fabs(RoundEven(a)) < TwoPow63) || !(std::fabs(RoundEven(b)) < TwoPow63)) {
    RaiseInvalid();
    return false;
  }
  if (!RoundedFits<std::int32_t>(a) || !RoundedFits<std::int32_t>(b)) {
    context.Fail(message);
    return false;
  }
  A = static_cast<std::int32_t>(RoundEven(a));
  B = static_cast<std::int32_t>(RoundEven(b));
  // Division by zero and the one quotient that does not fit are integer
  // failures, not floating-point ones.
  if (B == 0 || (A == std::numeric_limits<std::int32_t>::min() && B == -1)) {
    context.Fail(MsgWrongOperand);
    return false;
  }
  return true;
}

Extended FromBits32(std::uint32_t bits) {
  return static_cast<Extended>(static_cast<std::int32_t>(bits));
}

// The factorial; false after an error or a math failure (which leaves the
// floating-point flag raised for the dispatcher).
bool Factorial(RunContext& context, Extended x, Extended& result) {
  if (!IntegerTest(x)) {
    context.Fail(MsgFac);
    return false;
  }
  // The argument is a 16-bit number; one beyond that range must not wrap
  // around into a small one (65541 would otherwise give 5!).
  if (!RoundedFits<std::int16_t>(x)) {
    RaiseInvalid();
    return false;
  }
  const int m = static_cast<int>(RoundEven(x));
  Extended r = 1;
  for (int j = 2; j <= m; ++j) {
    r *= j;
    // From 1755! on the product overflows; the flag is raised and stays.
    if (std::isinf(r)) return false;
  }
  result = r;
  return true;
}

}  // namespace

bool IntegerTest(Extended x) {
  // Infinities have no fraction and NaN compares with nothing: both are
  // invalid operations, as they are wherever the engine meets them.
  if (!std::isfinite(x)) {
    RaiseInvalid();
    return false;
  }
  const Extended f = std::fabs(x - std::trunc(x));
  return Epsilon > f || Epsilon > 1 - f;
}

Extended BooleanValue(bool value) {
  return value ? 1 : 0;
}

Extended BINO(RunContext& context, Extended n, Extended k) {
  if (!IntegerTest(n)) {
    context.Fail(MsgBinoIntegers);
    return 0;
  }
  // Beyond the 32-bit range the arguments would wrap around into different
  // numbers and give a plainly wrong coefficient.
  if (!RoundedFits<std::int32_t>(n)) {
    RaiseInvalid();
    return 0;
  }
  std::int64_t N = static_cast<std::int32_t>(RoundEven(n));
  if (!IntegerTest(k)) {
    context.Fail(MsgBinoIntegers);
    return 0;
  }
  if (!RoundedFits<std::int32_t>(k)) {
    RaiseInvalid();
    return 0;
  }
  std::int64_t K = static_cast<std::int32_t>(RoundEven(k));
  if (N < K) {
    context.Fail(MsgBinoOrder);
    return 0;
  }
  if (static_cast<Extended>(N) / 2 < static_cast<Extended>(K)) K = N - K;
  // K! itself is not needed for the value, but its failures are BINO's: a K
  // beyond 16 bits, or K >= 1755 where the factorial overflows.
  Extended factorial = 1;
  if (!Factorial(context, static_cast<Extended>(K), factorial)) return 0;
  // Multiplying 1/K! by the K top factors would round 1/K! first and make
  // BINO(10;4) miss 210. Each step below is a whole binomial coefficient,
  // C(N-K+i, i) = C(N-K+i-1, i-1) * (N-K+i) / i, so the result is exact as
  // long as it fits the 64-bit significand.
  Extended r = 1;
  for (std::int64_t i = 1; i <= K; ++i) {
    r = r * static_cast<Extended>(N - K + i) / static_cast<Extended>(i);
  }
  return r;
}

Extended FAC(RunContext& context, Extended x) {
  Extended result = 0;
  Factorial(context, x, result);
  return result;
}

Extended BNOT(RunContext& context, Extended x) {
  if (!IntegerTest(x)) {
    context.Fail(MsgBnot);
    return 0;
  }
  std::int32_t X = 0;
  if (!TakeAs32(x, X)) return 0;
  return FromBits32(~static_cast<std::uint32_t>(X));
}

Extended NOT(RunContext& context, Extended x) {
  if (std::isnan(x)) {
    RaiseInvalid();
    return 0;
  }
  if (x == 1) return 0;
  if (x == 0) return 1;
  context.Fail(MsgNot);
  return 0;
}

Extended IF(RunContext& context, Extended c, Extended a, Extended b) {
  if (std::isnan(c)) {
    RaiseInvalid();
    return 0;
  }
  if (c == 1) return a;
  if (c == 0) return b;
  context.Fail(MsgIf);
  return 0;
}

Extended ODD(RunContext& context, Extended x) {
  if (!IntegerTest(x)) {
    context.Fail(MsgOdd);
    return 0;
  }
  return BooleanValue(std::fmod(RoundEven(x), 2.0L) != 0);
}

Extended AndOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!IntegerOperands(context, a, b, MsgAnd, A, B)) return 0;
  return FromBits32(static_cast<std::uint32_t>(A) & static_cast<std::uint32_t>(B));
}

Extended OrOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!IntegerOperands(context, a, b, MsgOr, A, B)) return 0;
  return FromBits32(static_cast<std::uint32_t>(A) | static_cast<std::uint32_t>(B));
}

Extended XorOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!IntegerOperands(context, a, b, MsgXor, A, B)) return 0;
  return FromBits32(static_cast<std::uint32_t>(A) ^ static_cast<std::uint32_t>(B));
}

Extended ShlOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!IntegerOperands(context, a, b, MsgShl, A, B)) return 0;
  return FromBits32(static_cast<std::uint32_t>(A) << (static_cast<std::uint32_t>(B) & 31U));
}

Extended ShrOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!IntegerOperands(context, a, b, MsgShr, A, B)) return 0;
  return FromBits32(static_cast<std::uint32_t>(A) >> (static_cast<std::uint32_t>(B) & 31U));
}

Extended DivOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!DivisionOperands(context, a, b, MsgDiv, A, B)) return 0;
  return static_cast<Extended>(A / B);
}

Extended ModOp(RunContext& context, Extended a, Extended b) {
  std::int32_t A = 0, B = 0;
  if (!DivisionOperands(context, a, b, MsgMod, A, B)) return 0;
  return static_cast<Extended>(A % B);
}

}  // namespace engine
