// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "bench_terms.h"

namespace bench {
namespace {

// The engine computes in extended precision, muparser in double; a few
// roundings of double size may separate them, nothing more.
constexpr double kRelativeTolerance = 1e-12;

int SlotOf(const engine::TParserDeclarations& declarations, const std::string& name) {
  const auto& names = declarations.PreparedVarNames();
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) throw std::logic_error("variable " + name + " not prepared");
  return static_cast<int>(found - names.begin());
}

bool Close(double a, double b) {
  const double scale = std::max({1.0, std::fabs(a), std::fabs(b)});
  return std::fabs(a - b) <= kRelativeTolerance * scale;
}

// Compares one term at the current variable values; prints what went wrong.
bool AgreeOn(EngineSide& ours, MuparserSide& theirs, const TermPair& term, const VarPoint& at) {
  ours.SetTerm(term.Engine);
  ours.SetXY(at.X, at.Y);
  const auto engineValue = static_cast<double>(ours.Evaluate());
  if (ours.EvalError() != 0) {
    std::fprintf(stderr, "engine fails on %s (x=%g, y=%g): code %u, %s\n", term.Engine, at.X, at.Y,
                 ours.EvalError(), ours.ErrorText().c_str());
    return false;
  }
  double muparserValue = 0;
  try {
    theirs.SetTerm(term.Muparser);
    theirs.SetXY(at.X, at.Y);
    muparserValue = theirs.Evaluate();
  } catch (const mu::Parser::exception_type& failure) {
    std::fprintf(stderr, "muparser fails on %s: %s\n", term.Muparser, failure.GetMsg().c_str());
    return false;
  }
  if (!Close(engineValue, muparserValue)) {
    std::fprintf(stderr, "disagreement on %s / %s (x=%g, y=%g): engine %.17g, muparser %.17g\n",
                 term.Engine, term.Muparser, at.X, at.Y, engineValue, muparserValue);
    return false;
  }
  return true;
}

}  // namespace

EngineSide::EngineSide() {
  declarations_.SetVarNames({"t", "x", "y", "z"});
  parser_.SetDeclarations(&declarations_);
  xSlot_ = SlotOf(declarations_, "X");
  ySlot_ = SlotOf(declarations_, "Y");
}

MuparserSide::MuparserSide() {
  parser_.DefineVar("x", &x_);
  parser_.DefineVar("y", &y_);
}

bool EnginesAgree() {
  EngineSide ours;
  MuparserSide theirs;
  bool agree = true;
  for (const TermPair& term : TrainerTerms()) agree &= AgreeOn(ours, theirs, term, VarPoint{});
  for (const TermPair& term : ScientificTerms()) {
    for (const VarPoint& at : VarPoints()) agree &= AgreeOn(ours, theirs, term, at);
  }
  return agree;
}

}  // namespace bench
