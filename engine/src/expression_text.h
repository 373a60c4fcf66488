// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Where in a term's text a compile error lies. The compiler works on the
// normalised, expanded term and keeps no positions, so the facade reads the
// text the embedder gave (blanks, case, operator words, ';' and all) once
// more when a compilation fails, and points at the first place that explains
// the failure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class TermLocator {
 public:
  explicit TermLocator(std::string_view text);

  // The parenthesis that has no partner: the first ')' too many, or else the
  // last '(' left open.
  std::optional<std::size_t> UnbalancedParenthesis() const;
  // The first token where operands and operators stop fitting together: an
  // operand or '(' where an operator is due, an operator where an operand is
  // due, a ';' outside a call or beyond a built-in function's arguments, a
  // call closed before all its arguments; at the end, the dangling operator.
  std::optional<std::size_t> FirstMisfit() const;
  // The first use of name (upper case, no blanks, as the engine reports it)
  // as an operand, or as a function when call is true.
  std::optional<std::size_t> FindName(std::string_view name, bool call) const;

 private:
  // The text without characters 1..32, upper-cased, and where each of its
  // characters stood in the original text.
  std::string normal_;
  std::vector<std::size_t> origin_;
};

// The engine's messages as one line: every run of line breaks becomes one
// blank, and none is left at either end.
std::string OneLine(std::string_view message);

}  // namespace engine
