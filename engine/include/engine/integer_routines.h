// Whole-number and logical routines shared by the operators and the built-in
// functions. Errors go through FailWith (engine_state.h); math failures raise
// the floating-point flags that the dispatchers test.
#pragma once

#include "engine/extended.h"

namespace engine {

// Tolerance of IntegerTest: a value this close to a whole number counts as one.
inline constexpr Extended Epsilon = 1E-14L;

// True when x lies within Epsilon of a whole number.
bool IntegerTest(Extended x);
// The engine's truth values: 1 for true, 0 for false.
Extended BooleanValue(bool value);

// Binomial coefficient n over k (also the operator OVER).
Extended BINO(Extended n, Extended k);
// Factorial of a whole number.
Extended FAC(Extended x);
// Bitwise complement of the 32-bit pattern.
Extended BNOT(Extended x);
// Logical negation of a truth value (0 or 1).
Extended NOT(Extended x);
// a when c is true (1), b when c is false (0).
Extended IF(Extended c, Extended a, Extended b);
// 1 when x is an odd whole number, 0 when even.
Extended ODD(Extended x);

// The routines of the integer operators.
Extended AndOp(Extended a, Extended b);
Extended OrOp(Extended a, Extended b);
Extended XorOp(Extended a, Extended b);
Extended ShlOp(Extended a, Extended b);
Extended ShrOp(Extended a, Extended b);
Extended DivOp(Extended a, Extended b);
Extended ModOp(Extended a, Extended b);

}  // namespace engine
