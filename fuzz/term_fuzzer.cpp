// A term from the input through SetTerm and Evaluate, with a fixed set of
// declared constants, functions and variables, in one of the three angle
// modes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/parser.h"
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
  fuzz::WithinBudget(
      [&] {
        parser.SetAnglemode(mode);
        SetValues(parser);
        parser.SetTerm(term);
        fuzz::CheckAnalysis(parser, term);
        fuzz::EvaluateTwice(parser, term);
        // The same program in another angle mode must keep the invariants too.
        parser.SetAnglemode(static_cast<engine::TAngleMode>((mode + 1) % 3));
        fuzz::CheckEvaluation(parser, parser.Evaluate(), term);
      },
      term);
  return 0;
}
