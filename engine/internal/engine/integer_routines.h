// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Whole-number and logical routines shared by the operators and the built-in
// functions. Errors go to the run's context (RunContext::Fail); math failures
// raise the floating-point flags that the dispatchers test.
#pragma once

#include "engine/extended.h"
#include "engine/run_context.h"

namespace engine {

// Tolerance of IntegerTest: a value this close to a whole number counts as one.
inline constexpr Extended Epsilon = 1E-14L;

// True when x lies within Epsilon of a whole number.
bool IntegerTest(Extended x);
// The engine's truth values: 1 for true, 0 for false.
Extended BooleanValue(bool value);

// Binomial coefficient n over k (also the operator OVER).
Extended BINO(RunContext& context, Extended n, Extended k);
// Factorial of a whole number.
Extended FAC(RunContext& context, Extended x);
// Bitwise complement of the 32-bit pattern.
Extended BNOT(RunContext& context, Extended x);
// Logical negation of a truth value (0 or 1).
Extended NOT(RunContext& context, Extended x);
// a when c is true (1), b when c is false (0).
Extended IF(RunContext& context, Extended c, Extended a, Extended b);
// 1 when x is an odd whole number, 0 when even.
Extended ODD(RunContext& context, Extended x);

// The routines of the integer operators.
Extended AndOp(RunContext& context, Extended a, Extended b);
Extended OrOp(RunContext& context, Extended a, Extended b);
Extended XorOp(RunContext& context, Extended a, Extended b);
Extended ShlOp(RunContext& context, Extended a, Extended b);
Extended ShrOp(RunContext& context, Extended a, Extended b);
Extended DivOp(RunContext& context, Extended a, Extended b);
Extended ModOp(RunContext& context, Extended a, Extended b);

}  // namespace engine
