// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Invariants every answer of the term engine must keep, whatever the input:
// the code is 0 to 9, a failure returns 0 (code 8 the engine's NaN), a
// success comes with an empty text or one of the known warnings and never
// with a NaN, and a second Evaluate of a term without random functions repeats
// the first.
#pragma once

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/extended.h"
#include "engine/parser.h"
#include "engine/run_context.h"
#include "fuzz_check.h"

namespace fuzz {

struct EngineOutcome {
  std::uint8_t Code = 0;
  std::string Text;
  engine::ExtendedBytes Value{};
  friend bool operator==(const EngineOutcome&, const EngineOutcome&) = default;
};

// GAMMA multiplies 100,000 factors, each with an exponential, for every
// argument it is not keeping: 5 to 7 ms in the plain build, a cost the
// function must pay. A term with many different GAMMA arguments gets this
// much more time for each product computed on its thread.
struct GammaProductAllowance {
  static constexpr double kMsPerProduct = 10;
  double operator()() const {
    return kMsPerProduct *
           static_cast<double>(engine::ThreadRunContext().GammaProducts.KeptCount());
  }
};

inline bool IsKnownWarning(std::string_view text) {
  static constexpr std::array<std::string_view, 3> kWarnings = {
      "Division by zero. Large value inserted.",
      "Argument of integral sine is too large. Result is only approximated",
      "Argument of integral cosine is too large. Result is only approximated",
  };
  for (std::string_view warning : kWarnings) {
    if (text == warning) return true;
  }
  return false;
}

inline std::string Describe(const char* stage, const engine::TTermParser& parser,
                            const std::string& input) {
  return std::string(stage) + ": code " + std::to_string(parser.EvalError()) + ", text \"" +
         Printable(parser.ErrorText()) + "\", prepared \"" + Printable(parser.PreparedTerm()) +
         "\", input \"" + Printable(input) + "\"";
}

// After SetTerm.
inline void CheckAnalysis(const engine::TTermParser& parser, const std::string& input) {
  const std::uint8_t code = parser.EvalError();
  FUZZ_CHECK(code <= 9, "SetTerm code out of range", Describe("SetTerm", parser, input));
  if (code == 0) {
    FUZZ_CHECK(parser.ErrorText().empty() || IsKnownWarning(parser.ErrorText()),
               "SetTerm succeeded with an error text", Describe("SetTerm", parser, input));
    FUZZ_CHECK(parser.CodeCount() >= 0 && parser.CodeCount() < 500,
               "program count outside the buffer", Describe("SetTerm", parser, input));
  }
}

// After Evaluate returned value.
inline EngineOutcome CheckEvaluation(const engine::TTermParser& parser, engine::Extended value,
                                     const std::string& input) {
  const std::uint8_t code = parser.EvalError();
  FUZZ_CHECK(code <= 9, "Evaluate code out of range", Describe("Evaluate", parser, input));
  if (code == 0) {
    FUZZ_CHECK(parser.ErrorText().empty() || IsKnownWarning(parser.ErrorText()),
               "Evaluate succeeded with an error text", Describe("Evaluate", parser, input));
    // ARTANH(1) is +infinity by design; a NaN, though, is always a failure.
    FUZZ_CHECK(!std::isnan(value), "Evaluate succeeded with a NaN",
               Describe("Evaluate", parser, input));
  } else if (code == 8) {
    FUZZ_CHECK(engine::BitsOf(value) == engine::BitsOf(engine::EngineNaN()),
               "code 8 without the engine's NaN", Describe("Evaluate", parser, input));
  } else {
    FUZZ_CHECK(engine::BitsOf(value) == engine::BitsOf(engine::Extended{0}),
               "a failed evaluation returned a value other than 0",
               Describe("Evaluate", parser, input));
    FUZZ_CHECK(!parser.ErrorText().empty(), "a failed evaluation has no message",
               Describe("Evaluate", parser, input));
  }
  return {code, parser.ErrorText(), engine::BitsOf(value)};
}

// True when the prepared term may draw random numbers, so that two runs
// differ legitimately.
inline bool UsesRandom(const engine::TTermParser& parser) {
  const std::string& term = parser.PreparedTerm();
  return term.find("RND(") != std::string::npos || term.find("RAND(") != std::string::npos;
}

// Evaluates twice and checks both answers; returns the first.
inline EngineOutcome EvaluateTwice(engine::TTermParser& parser, const std::string& input) {
  const EngineOutcome first = CheckEvaluation(parser, parser.Evaluate(), input);
  const bool wasAnalysed = parser.AnalysisCode() == 0;
  const EngineOutcome second = CheckEvaluation(parser, parser.Evaluate(), input);
  if (wasAnalysed && !UsesRandom(parser)) {
    FUZZ_CHECK(first == second, "a second Evaluate gave another answer",
               Describe("Evaluate", parser, input) + ", first code " + std::to_string(first.Code) +
                   " text \"" + Printable(first.Text) + "\"");
  }
  return first;
}

}  // namespace fuzz
