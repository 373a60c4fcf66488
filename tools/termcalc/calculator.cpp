#include "calculator.h"

#include "engine/random.h"
#include "engine/term_text.h"
#include "format.h"

namespace termcalc {

Calculator::Calculator(const Options& options) {
  declarations_.SetConstants(options.constants);
  declarations_.SetFunctions(options.functions);
  if (!options.variables.empty()) {
    std::vector<std::string> names;
    names.reserve(options.variables.size());
    for (const Variable& variable : options.variables) names.push_back(variable.name);
    declarations_.SetVarNames(names);
  }
  parser_.SetAnglemode(options.angle);
  parser_.SetDeclarations(&declarations_);  // prepares the declarations

  // The values go into the prepared slots, found by the name as the engine
  // prepared it (comment cut off, blanks dropped, upper case). Of equal
  // names the first slot is the one terms read, so the last value given wins.
  for (const Variable& variable : options.variables) {
    std::string name = variable.name.substr(0, variable.name.find('#'));
    engine::NormaliseTerm(name, false);
    parser_.SetVarValue(name, variable.value);
  }
  // Creating the parser seeded the generator from the clock; a seed given
  // by the user replaces that.
  if (options.seed) engine::SetRandomSeed(*options.seed);
}

bool Calculator::Run(const std::string& term, std::string& out) {
  parser_.SetTerm(term);
  if (parser_.EvalError() != 0) {
    AppendResult(out, parser_.EvalError(), 0, parser_.ErrorText());
    return false;
  }
  const engine::Extended value = parser_.Evaluate();
  AppendResult(out, parser_.EvalError(), value, parser_.ErrorText());
  return parser_.EvalError() == 0;
}

}  // namespace termcalc
