// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Expanding the calls of user functions in a term: each call is replaced by
// the function's body with the arguments put in for its parameters, until no
// call is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

enum class ExpansionResult : std::uint8_t {
  kExpanded,
  // A call that cannot be expanded: recursion, too few arguments, or more
  // searches than any sensible term needs.
  kFailed,
  // The expansion would grow the term too far beyond its own size.
  kTooComplex,
};

// The prepared functions as TParserDeclarations keeps them: entries 0..n-1
// NAME=body with numbered placeholders, entries n..2n-1 the bare names, and
// one arity character per function ('#' for one to skip).
class CallExpansion {
 public:
  CallExpansion(const std::vector<std::string>& prepared, const std::string& arities);

  // Expands the calls in a normalised term; on failure term is left as it
  // was.
  ExpansionResult Run(std::string& term);

 private:
  struct Group {
    std::size_t start;
    std::size_t length;
  };

  ExpansionResult ExpandAt(std::size_t p, std::size_t k);
  ExpansionResult BuildBody(std::size_t k, std::uint16_t origin);
  void AppendToBody(const char* text, const std::uint16_t* origins, std::size_t count);
  void AppendToBody(char c, std::uint16_t origin);

  const std::vector<std::string>& prepared_;
  const std::string& arities_;
  std::size_t count_;

  // The term while it is expanded, and for each character the expansion
  // whose body it came from (numbered from 1; 0 for the term itself).
  std::string text_;
  std::vector<std::uint16_t> from_;
  std::uint16_t expansions_ = 0;
  // The number the first expansion of the current search gets.
  std::uint16_t firstOfSearch_ = 1;
  std::vector<Group> arguments_;
  // The body being built, in two generations: one parameter number at a time.
  std::string body_, next_;
  std::vector<std::uint16_t> bodyFrom_, nextFrom_;
  bool bodyHasEmptyPair_ = false;

  std::size_t limit_ = 0;
  std::size_t produced_ = 0;
  int searches_ = 0;
};

// Whether a name after this character is a word of its own (and so may be a
// call or a parameter), rather than the tail of a longer name or number.
bool IsWordStart(char c);

}  // namespace engine
