// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "calculator.h"

#include "engine/random.h"
#include "engine/term_text.h"
#include "format.h"

namespace termcalc {

namespace {

// A declared name as the engine prepares it: comment cut off, blanks
// dropped, upper case.
std::string PreparedName(const std::string& text) {
  std::string name = text.substr(0, text.find('#'));
  engine::NormaliseTerm(name, false);
  return name;
}

// True when a variable, constant or function of the options has this name.
bool Declares(const Options& options, const std::string& name) {
  for (const Variable& variable : options.variables) {
    if (PreparedName(variable.name) == name) return true;
  }
  for (const std::string& line : options.constants) {
    const std::string prepared = PreparedName(line);
    if (prepared.substr(0, prepared.find('=')) == name) return true;
  }
  for (const std::string& line : options.functions) {
    const std::string prepared = PreparedName(line);
    if (prepared.substr(0, prepared.find('(')) == name) return true;
  }
  return false;
}

}  // namespace

Calculator::Calculator(const Options& options, bool keepAnswer)
    : digits_(options.digits), keepAnswer_(keepAnswer && !Declares(options, kAnswerName)) {
  declarations_.SetConstants(options.constants);
  declarations_.SetFunctions(options.functions);
  if (!options.variables.empty() || keepAnswer_) {
    std::vector<std::string> names;
    if (options.variables.empty()) names = {"t", "x", "y", "z"};
    for (const Variable& variable : options.variables) names.push_back(variable.name);
    if (keepAnswer_) names.emplace_back(kAnswerName);
    declarations_.SetVarNames(names);
  }
  parser_.SetAnglemode(options.angle);
  parser_.SetDeclarations(&declarations_);  // prepares the declarations

  // The values go into the prepared slots, found by the name as the engine
  // prepared it (comment cut off, blanks dropped, upper case). Of equal
  // names the first slot is the one terms read, so the last value given wins.
  for (const Variable& variable : options.variables) {
    parser_.SetVarValue(PreparedName(variable.name), variable.value);
  }
  // Creating the parser seeded the generator from the clock; a seed given
  // by the user replaces that.
  if (options.seed) engine::SetRandomSeed(*options.seed);
}

bool Calculator::Run(const std::string& term, std::string& out) {
  parser_.SetTerm(term);
  if (parser_.EvalError() != 0) {
    AppendResult(out, parser_.EvalError(), 0, parser_.ErrorText(), digits_);
    return false;
  }
  const engine::Extended value = parser_.Evaluate();
  AppendResult(out, parser_.EvalError(), value, parser_.ErrorText(), digits_);
  if (parser_.EvalError() != 0) return false;
  if (keepAnswer_) parser_.SetVarValue(kAnswerName, value);
  return true;
}

}  // namespace termcalc
