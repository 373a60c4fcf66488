// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A term from the input through SetTerm and Evaluate, with a fixed set of
// declared constants, functions and variables, in one of the three angle
// modes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../engine/src/fast_program.h"
#include "engine/interpreter.h"
#include "engine/parser.h"
#include "engine/run_context.h"
#include "engine/term_text.h"
#include "engine_check.h"

namespace {

void Declare(engine::TParserDeclarations& declarations) {
  declarations.SetConstants({"TWOPI=2*PI", "HALF=0.5", "BIG=1E4000", "TINY=1E-4000", "LOOP=LOOP+1",
                             "NEG=-3", "FLAG=TRUE or FALSE"});
  declarations.SetFunctions({"SQ(A)=A*A", "F(X;Y)=X*Y+1", "G(X)=SQ(X)+F(X;2)",
                             "H(A;B;C)=IF(A>B;C;-C) # comment", "D(X)=X div 2 mod 7",
                             "R(X)=R(X)+1"});
  declarations.SetVarNames({"t", "x", "y", "z", "_alpha", "n1"});
}

void SetValues(engine::TTermParser& parser) {
  const engine::Extended values[] = {0.0L, 2.0L, -3.5L, 1e300L, 7.25L, -1e-30L};
  for (int slot = 0; slot < parser.VarCount() && slot < 6; ++slot) {
    parser.SetVarValue(slot, values[slot]);
  }
}

// The fast execution form is a second evaluator: wherever it decides a run,
// the interpreter must give the same value bit for bit, status 0 and no
// message.
void CheckFastForm(const engine::TTermParser& parser, const std::string& term) {
  if (parser.AnalysisCode() != 0) return;
  engine::FastProgram fast;
  if (!fast.Build(parser.CodeBuffer(), engine::FastProgram::MachineCode::Now)) return;
  std::vector<engine::Extended> vars;
  for (int slot = 0; slot < parser.VarCount(); ++slot) vars.push_back(parser.VarValue(slot));
  engine::Extended value = 0;
  // The parser's own context (each run starts it afresh): a routine's memo
  // then serves both evaluators alike.
  engine::RunContext& context = engine::ThreadRunContext();
  if (!fast.Run(context, vars, parser.AngleFactor(), value)) return;
  int status = -1;
  std::string message;
  const engine::Extended reference =
      engine::RunProgram(context, parser.CodeBuffer(), vars, parser.AngleFactor(), status, message);
  FUZZ_CHECK(status == 0 && message.empty() && engine::BitsOf(reference) == engine::BitsOf(value),
             "the fast form and the interpreter disagree",
             fuzz::Describe("fast form", parser, term) + ", interpreter status " +
                 std::to_string(status) + " \"" + fuzz::Printable(message) + "\"");
  // Its machine code, where it has one, runs exactly as its step loop.
  if (!fast.Native()) return;
  engine::FastProgram steps;
  engine::Extended stepValue = 0;
  const bool stepDecided =
      steps.Build(parser.CodeBuffer(), engine::FastProgram::MachineCode::Never) &&
      steps.Run(context, vars, parser.AngleFactor(), stepValue);
  FUZZ_CHECK(stepDecided && engine::BitsOf(stepValue) == engine::BitsOf(value),
             "the fast form's machine code and its step loop disagree",
             fuzz::Describe("fast form", parser, term));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string term(reinterpret_cast<const char*>(data), size);
  const auto mode = static_cast<engine::TAngleMode>(size % 3);
  // Prepared once: the recursive declaration alone costs more than most terms.
  static engine::TParserDeclarations declarations;
  static engine::TTermParser parser;
  static const bool prepared = [] {
    Declare(declarations);
    parser.SetDeclarations(&declarations);
    return true;
  }();
  (void)prepared;
  // Expanding the calls of the declared functions has a budget of its own.
  fuzz::WithinBudget(
      [&] {
        std::string expanded = term;
        engine::NormaliseTerm(expanded, true);
        declarations.ExpandFunctions(expanded);
      },
      term, fuzz::ExpansionBudgetMs());
  fuzz::WithinBudget(
      [&] {
        parser.SetAnglemode(mode);
        SetValues(parser);
        parser.SetTerm(term);
        fuzz::CheckAnalysis(parser, term);
        CheckFastForm(parser, term);
        fuzz::EvaluateTwice(parser, term);
        // The same program in another angle mode must keep the invariants too.
        parser.SetAnglemode(static_cast<engine::TAngleMode>((mode + 1) % 3));
        fuzz::CheckEvaluation(parser, parser.Evaluate(), term);
      },
      term, fuzz::BudgetMs(), fuzz::GammaProductAllowance{});
  return 0;
}
