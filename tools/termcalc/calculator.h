// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// One declarations object and one parser, set up from the command line and
// reused for every term.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/parser.h"
#include "options.h"

namespace termcalc {

class Calculator {
 public:
  // With keepAnswer, the variable ANS holds the last successful result
  // (0 before the first), unless the options declare ANS themselves.
  explicit Calculator(const Options& options, bool keepAnswer = false);

  // The engine's report on invalid declarations and variable names; empty
  // when all were valid.
  const std::string& DeclarationErrors() const { return declarations_.DeclarationErrors(); }

  // Analyses and evaluates one term and appends its output line (without the
  // line break) to out. Returns true when the term succeeded.
  bool Run(const std::string& term, std::string& out);

  // The status code and message of the last Run.
  std::uint8_t LastCode() const { return parser_.EvalError(); }
  const std::string& LastMessage() const { return parser_.ErrorText(); }

  static constexpr const char* kAnswerName = "ANS";

 private:
  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
  int digits_ = 0;
  bool keepAnswer_ = false;
};

}  // namespace termcalc
