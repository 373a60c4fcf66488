// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// One batch of evaluations of a compiled program over columns of values.
#pragma once

#include <cstddef>

#include "engine/expression.h"
#include "engine/extended.h"
#include "engine/program_format.h"

namespace engine {

// Evaluates program (analysed, with variables slots 0..variables-1) at every
// point of the columns, each of length points, into results and status:
// exactly what the interpreter gives for each point on its own. Returns the
// number of points that failed. May throw std::bad_alloc (before any point
// is written).
std::size_t EvaluateBatch(const TProgram& program, std::size_t variables, Extended angleFactor,
                          bool fastForm, const Column* columns, std::size_t points,
                          long double* results, ErrorCode* status);

}  // namespace engine
