// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Declarations from the input, then a term. Each input line starts with a
// letter that says where it goes: "F" Functions, "C" Constants, "V"
// VarNames; every other line belongs to the term (joined without a break).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/parser.h"
#include "engine/term_text.h"
#include "engine_check.h"

namespace {

struct Input {
  std::vector<std::string> Functions;
  std::vector<std::string> Constants;
  std::vector<std::string> VarNames;
  std::string Term;
};

Input Split(const std::string& text) {
  Input input;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::string rest = line.empty() ? std::string() : line.substr(1);
    if (!line.empty() && line[0] == 'F') {
      input.Functions.push_back(rest);
    } else if (!line.empty() && line[0] == 'C') {
      input.Constants.push_back(rest);
    } else if (!line.empty() && line[0] == 'V') {
      input.VarNames.push_back(rest);
    } else {
      input.Term += line;
    }
    start = end + 1;
  }
  return input;
}

// What Prepare leaves must be consistent, whatever the declarations were.
void CheckPrepared(const engine::TParserDeclarations& declarations,
                   const engine::TTermParser& parser, const std::string& text) {
  const std::size_t functions = declarations.FunctionArities().size();
  FUZZ_CHECK(declarations.PreparedFunctions().size() == 2 * functions,
             "prepared functions and arities disagree", "input \"" + fuzz::Printable(text) + "\"");
  FUZZ_CHECK(declarations.FunctionSources().size() == functions,
             "function sources and arities disagree", "input \"" + fuzz::Printable(text) + "\"");
  FUZZ_CHECK(declarations.FunctionArities().find('#') == std::string::npos,
             "an invalid function survived Prepare", "input \"" + fuzz::Printable(text) + "\"");
  FUZZ_CHECK(parser.VarCount() == static_cast<int>(declarations.PreparedVarNames().size()),
             "variable slots and names disagree", "input \"" + fuzz::Printable(text) + "\"");
}

// Constants are folded at each analysis, so one that draws a random number
// may differ between two analyses.
bool ConstantsMayDraw(const std::vector<std::string>& constants) {
  for (const std::string& text : constants) {
    // As normalisation sees it: characters 1..32 dropped, letters upper case.
    std::string line;
    for (char c : text) {
      if (c >= 1 && c <= 32) continue;
      line += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (line.find("RND") != std::string::npos || line.find("RAND") != std::string::npos) {
      return true;
    }
  }
  return false;
}

// The declarations and a parser that uses them, prepared from one input.
struct Round {
  engine::TParserDeclarations Declarations;
  engine::TTermParser Parser;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Input input = Split(text);
  std::optional<Round> round;
  // Preparing the declarations and expanding the term's calls have a budget
  // of their own: they should cost microseconds, whatever the input. The
  // prepared declarations then serve the analysis and evaluation.
  fuzz::WithinBudget(
      [&] {
        round.reset();
        round.emplace();
        round->Declarations.SetFunctions(input.Functions);
        round->Declarations.SetConstants(input.Constants);
        if (!input.VarNames.empty()) round->Declarations.SetVarNames(input.VarNames);
        round->Parser.SetDeclarations(&round->Declarations);
        std::string term = input.Term;
        engine::NormaliseTerm(term, true);
        round->Declarations.ExpandFunctions(term);
      },
      text, fuzz::ExpansionBudgetMs());
  engine::TTermParser& parser = round->Parser;
  CheckPrepared(round->Declarations, parser, text);
  fuzz::WithinBudget(
      [&] {
        for (int slot = 0; slot < parser.VarCount(); ++slot) {
          parser.SetVarValue(slot, static_cast<engine::Extended>(slot) + 0.5L);
        }
        parser.SetTerm(input.Term);
        fuzz::CheckAnalysis(parser, text);
        const fuzz::EngineOutcome first = fuzz::EvaluateTwice(parser, text);
        // Analysing the same term again must give the same answer.
        if (parser.AnalysisCode() == 0 && !fuzz::UsesRandom(parser) &&
            !ConstantsMayDraw(input.Constants)) {
          parser.SetTerm(input.Term);
          const fuzz::EngineOutcome again = fuzz::CheckEvaluation(parser, parser.Evaluate(), text);
          FUZZ_CHECK(first == again, "a second SetTerm gave another answer",
                     fuzz::Describe("SetTerm again", parser, text));
        }
      },
      text, fuzz::BudgetMs(), fuzz::GammaProductAllowance{});
  return 0;
}
