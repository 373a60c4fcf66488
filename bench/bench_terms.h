// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The terms both engines are timed on, each written in the engine's syntax
// and in muparser's (";" against "," between arguments, upper-case function
// names against muparser's lower-case ones).
#pragma once

#include <span>
#include <string>

namespace bench {

struct TermPair {
  const char* Engine;
  const char* Muparser;
  // No function calls: the evaluate-only target asks for parity on these.
  bool ArithmeticOnly;
};

// Trainer-like task texts: constant terms on small whole numbers.
std::span<const TermPair> TrainerTerms();
// Scientific terms on the variables X and Y.
std::span<const TermPair> ScientificTerms();

// Values for X and Y: the agreement check walks all of them; the evaluate-only
// workload cycles through them so that no result can be reused.
struct VarPoint {
  double X;
  double Y;
};
std::span<const VarPoint> VarPoints();

}  // namespace bench
