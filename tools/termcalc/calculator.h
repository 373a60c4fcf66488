// One declarations object and one parser, set up from the command line and
// reused for every term.
#pragma once

#include <string>
#include <string_view>

#include "engine/parser.h"
#include "options.h"

namespace termcalc {

class Calculator {
 public:
  explicit Calculator(const Options& options);

  // The engine's report on invalid declarations and variable names; empty
  // when all were valid.
  const std::string& DeclarationErrors() const { return declarations_.DeclarationErrors(); }

  // Analyses and evaluates one term and appends its output line (without the
  // line break) to out. Returns true when the term succeeded.
  bool Run(const std::string& term, std::string& out);

 private:
  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
};

}  // namespace termcalc
