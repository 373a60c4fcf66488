// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two engines behind one small face each, so that the agreement check and
// the timed loops drive them the same way.
#pragma once

#include <muParser.h>

#include <string>

#include "engine/parser.h"

namespace bench {

// One TTermParser with the trainer's declarations (variable names t, x, y,
// z; no constants, no functions, no error handler).
class EngineSide {
 public:
  EngineSide();
  EngineSide(const EngineSide&) = delete;
  EngineSide& operator=(const EngineSide&) = delete;

  void SetTerm(const std::string& term) { parser_.SetTerm(term); }
  engine::Extended Evaluate() { return parser_.Evaluate(); }
  void SetXY(double x, double y) {
    parser_.SetVarValue(xSlot_, x);
    parser_.SetVarValue(ySlot_, y);
  }
  std::uint8_t EvalError() const { return parser_.EvalError(); }
  const std::string& ErrorText() const { return parser_.ErrorText(); }

 private:
  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
  int xSlot_ = -1;
  int ySlot_ = -1;
};

// One muparser instance with the variables x and y.
class MuparserSide {
 public:
  MuparserSide();
  MuparserSide(const MuparserSide&) = delete;
  MuparserSide& operator=(const MuparserSide&) = delete;

  void SetTerm(const std::string& term) { parser_.SetExpr(term); }
  // Throws mu::Parser::exception_type on failure, as muparser does.
  double Evaluate() { return parser_.Eval(); }
  void SetXY(double x, double y) {
    x_ = x;
    y_ = y;
  }

 private:
  mu::Parser parser_;
  double x_ = 0;
  double y_ = 0;
};

// Evaluates every term of both sets on both engines (the scientific ones at
// every variable point) and reports each disagreement to stderr; true when
// both engines succeed everywhere and agree within double precision.
bool EnginesAgree();

}  // namespace bench
