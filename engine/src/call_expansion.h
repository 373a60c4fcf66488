// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Expanding the calls of user functions in a term: each call is replaced by
// the function's body with the arguments put in for its parameters, until no
// call is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // was. The work of all runs of one object counts against one bound, so
  // expanding many texts (the bodies of a set of declarations) costs no more
  // than expanding one.
  ExpansionResult Run(std::string& term);

 private:
  struct Group {
    std::size_t start;
    std::size_t length;
  };

  ExpansionResult ExpandAt(std::size_t p, std::size_t k);
  // Counts work done; false once the bound is passed.
  bool Spend(std::size_t units);
  ExpansionResult BuildBody(std::size_t k, std::uint16_t origin);
  void AppendToBody(const char* text, const std::uint16_t* origins, std::size_t count);
  void AppendToBody(char c, std::uint16_t origin);
  // Whether the new generation of the body, as far as it is built, holds an
  // empty pair of parentheses.
  bool BodyHasEmptyPair();

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
  // Whether the new generation has a "()" within its first
  // emptyPairScanned_ characters, and what looking for it cost.
  bool bodyHasEmptyPair_ = false;
  std::size_t emptyPairScanned_ = 0;
  std::size_t emptyPairWork_ = 0;

  std::size_t limit_ = 0;
  // The work done by all runs, and what their texts' lengths add to the
  // shared bound.
  std::size_t work_ = 0;
  std::size_t allowance_ = 0;
  int searches_ = 0;
};

// The calls between the prepared functions (same layout as for
// CallExpansion), read once from their bodies. Expanding a text that leads
// into a circle of calls (F calls G, G calls F) never ends: each body put in
// brings the next call with it. Such a circle is found here on the graph
// rather than by expanding until a limit stops it.
class CallGraph {
 public:
  CallGraph(const std::vector<std::string>& prepared, const std::string& arities);

  // Whether the body of function k leads, through the functions whose arity
  // is not '#' at the time of asking, into a circle of calls that the
  // expansion certainly follows.
  bool LeadsIntoCircle(std::size_t k);

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // An argument group of a call (which function, which parameter), inside
  // the group Parent, or kNone at the top of the body. A text in the group
  // stays in the expanded text only if every group up the chain keeps it.
  struct Group {
    std::size_t Function;
    std::size_t Parameter;
    std::size_t Parent;
  };
  // A call (of function Index) or a parameter's placeholder (parameter
  // Index, from 0) in a body, and the innermost argument group it stands in
  // (kNone for none): the body called there may drop the argument.
  struct Occurrence {
    std::size_t Index;
    std::size_t Group;
  };
  enum class Mark : std::uint8_t { kUnseen, kOnPath, kNoCircle };

  void ReadBody(std::size_t k, const std::string& body,
                const std::unordered_map<std::string_view, std::size_t>& byName);
  bool Valid(std::size_t k) const { return k < arities_.size() && arities_[k] != '#'; }
  // Whether whatever stands in the group stays in the text, with the
  // functions valid now; kNone stands for the top of a body.
  bool Kept(std::size_t group) const { return group == kNone || groupKept_[group]; }
  // Finds groupKept_ from kept_, parents before their children.
  void FindKeptGroups();
  // Which parameters each valid body certainly puts in, with the functions
  // valid now.
  void FindKeptParameters();

  const std::string& arities_;
  std::vector<std::vector<Occurrence>> calls_;
  std::vector<std::vector<Occurrence>> placeholders_;
  // The argument groups of all bodies, each after its parent.
  std::vector<Group> groups_;
  std::vector<bool> groupKept_;
  // For each function and parameter, whether the body puts the argument in
  // for certain.
  std::vector<std::vector<bool>> kept_;
  // kNoCircle holds while the same functions are valid.
  std::vector<Mark> marks_;
  // The number of invalid functions the marks and kept_ were found for.
  std::size_t invalidWhenMarked_ = static_cast<std::size_t>(-1);
};

// Whether a name after this character is a word of its own (and so may be a
// call or a parameter), rather than the tail of a longer name or number.
bool IsWordStart(char c);

}  // namespace engine
