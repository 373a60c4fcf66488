// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "call_expansion.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace engine {

namespace {

// Stands for a parameter inside a body while it is copied into a term, so
// that '?' placeholders carried in by an argument are never taken for it.
constexpr char kBodyPlaceholder = static_cast<char>(167);
// How far an expansion may grow a term beyond its own length. Nested calls
// of a function that uses its parameter several times grow a term
// exponentially; this stops them within a millisecond or two, far above
// what any real term needs.
constexpr std::size_t kMaxGrowth = std::size_t{1} << 16;
// All the text the building of bodies may write; copying a long argument into
// body after body costs this much even when the term itself stays short.
constexpr std::size_t kMaxProduced = std::size_t{1} << 22;
// Every search for a call counts; more than this many fail the expansion.
constexpr int kMaxSearches = 1000;

char CountChar(std::size_t count) {
  return static_cast<char>('0' + count);
}
int CharCount(char c) {
  return static_cast<unsigned char>(c) - '0';
}

// The position of the ')' that closes the '(' at open; npos when none does.
std::size_t ClosingParenthesis(const std::string& text, std::size_t open) {
  std::size_t depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string::npos;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

// Characters that may stand before a name for it to be a word of its own.
bool IsWordStart(char c) {
  switch (c) {
    case '(':
    case '*':
    case '+':
    case '-':
    case '/':
    case ';':
    case '<':
    case '=':
    case '>':
    case '^':
    case '~':
      return true;
    default:
      return false;
  }
}

void CallGraph::ReadBody(std::size_t k, const std::string& body,
                         const std::unordered_map<std::string_view, std::size_t>& byName) {
  // The argument groups of the calls around the position: the function, its
  // groups' ends and which of them the position is in.
  struct Around {
    std::size_t Function;
    std::vector<std::size_t> Ends;
    std::size_t Group;
  };
  std::vector<Around> around;
  auto leave = [&around](std::size_t pos) {
    while (!around.empty()) {
      Around& top = around.back();
      while (top.Group < top.Ends.size() && top.Ends[top.Group] < pos) ++top.Group;
      if (top.Group < top.Ends.size()) return;
      around.pop_back();
    }
  };
  for (std::size_t pos = 0; pos < body.size(); ++pos) {
    if (body[pos] == '?') {
      // A placeholder, paired as the expansion pairs them.
      leave(pos);
      const char number = pos + 1 < body.size() ? body[pos + 1] : ')';
      const int parameter = static_cast<unsigned char>(number) - '0';
      if (parameter >= 1 && parameter <= static_cast<int>(kept_[k].size())) {
        Occurrence use{static_cast<std::size_t>(parameter - 1), {}};
        for (const Around& a : around) use.Enclosing.push_back({a.Function, a.Group});
        placeholders_[k].push_back(std::move(use));
      }
      ++pos;
      continue;
    }
    if (body[pos] != '(') continue;
    leave(pos);
    std::size_t start = pos;
    while (start > 0 && IsNameChar(body[start - 1])) --start;
    const auto called = byName.find(std::string_view(body).substr(start, pos - start));
    if (start == pos || called == byName.end()) continue;
    // The end of a longer name or number: no call.
    if (start > 0 && !IsWordStart(body[start - 1])) continue;
    // A name is a call at the start of the body or after a word start, as
    // the expansion searches for it. Behind a '?' pair (a placeholder, or
    // what the expansion takes for one) the word start may be a parameter
    // number instead; such a call is left out, but its groups count as
    // arguments all the same. Leaving calls out can only miss a circle,
    // which the expansion's own limits then stop.
    if (start < 2 || (body[start - 2] != '?' && body[start - 2] != kBodyPlaceholder)) {
      Occurrence found{called->second, {}};
      for (const Around& a : around) found.Enclosing.push_back({a.Function, a.Group});
      calls_[k].push_back(std::move(found));
    }
    Around groups{called->second, {}, 0};
    for (std::size_t open = pos; open < body.size() && body[open] == '(';) {
      const std::size_t close = ClosingParenthesis(body, open);
      if (close == std::string::npos) return;
      groups.Ends.push_back(close);
      open = close + 1;
    }
    around.push_back(std::move(groups));
  }
}

CallGraph::CallGraph(const std::vector<std::string>& prepared, const std::string& arities)
    : arities_(arities) {
  const std::size_t count = prepared.size() / 2;
  std::unordered_map<std::string_view, std::size_t> byName;
  for (std::size_t k = 0; k < count; ++k) byName.emplace(prepared[count + k], k);
  calls_.resize(count);
  placeholders_.resize(count);
  kept_.resize(count);
  for (std::size_t k = 0; k < count; ++k) {
    kept_[k].assign(k < arities.size() && arities[k] != '#' ? CharCount(arities[k]) : 0, false);
    ReadBody(k, prepared[k].substr(prepared[count + k].size() + 1), byName);
  }
  marks_.assign(count, Mark::kUnseen);
}

bool CallGraph::Kept(const std::vector<Argument>& groups) const {
  return std::all_of(groups.begin(), groups.end(), [this](const Argument& a) {
    return !Valid(a.Function) || a.Group >= kept_[a.Function].size() || kept_[a.Function][a.Group];
  });
}

void CallGraph::FindKeptParameters() {
  for (std::vector<bool>& parameters : kept_) parameters.assign(parameters.size(), false);
  // A placeholder inside the argument of another call is kept when that
  // call's body keeps the argument: repeated until nothing more is found.
  bool more = true;
  while (more) {
    more = false;
    for (std::size_t k = 0; k < placeholders_.size(); ++k) {
      if (!Valid(k)) continue;
      for (const Occurrence& use : placeholders_[k]) {
        if (!kept_[k][use.Index] && Kept(use.Enclosing)) {
          kept_[k][use.Index] = true;
          more = true;
        }
      }
    }
  }
}

bool CallGraph::LeadsIntoCircle(std::size_t k) {
  // A function marked '#' since the last question leaves its calls' groups
  // in the text, so the calls inside them now count: start afresh.
  const auto invalid = static_cast<std::size_t>(std::count(arities_.begin(), arities_.end(), '#'));
  if (invalid != invalidWhenMarked_) {
    marks_.assign(marks_.size(), Mark::kUnseen);
    FindKeptParameters();
    invalidWhenMarked_ = invalid;
  }
  if (!Valid(k) || marks_[k] == Mark::kNoCircle) return false;
  // Depth first along the certain calls; a call back into a function still
  // on the path closes a circle.
  struct Step {
    std::size_t function;
    std::size_t next;
  };
  std::vector<Step> path{{k, 0}};
  std::vector<std::size_t> visited{k};
  marks_[k] = Mark::kOnPath;
  bool circle = false;
  while (!path.empty() && !circle) {
    Step& step = path.back();
    if (step.next == calls_[step.function].size()) {
      marks_[step.function] = Mark::kNoCircle;
      path.pop_back();
      continue;
    }
    const Occurrence& call = calls_[step.function][step.next++];
    // A call inside an argument the enclosing body drops is never reached.
    if (!Valid(call.Index) || !Kept(call.Enclosing) || marks_[call.Index] == Mark::kNoCircle) {
      continue;
    }
    if (marks_[call.Index] == Mark::kOnPath) {
      circle = true;
    } else {
      marks_[call.Index] = Mark::kOnPath;
      visited.push_back(call.Index);
      path.push_back({call.Index, 0});
    }
  }
  if (circle) {
    // The functions seen may lead elsewhere once the circle loses a member.
    for (const std::size_t seen : visited) {
      if (marks_[seen] == Mark::kOnPath) marks_[seen] = Mark::kUnseen;
    }
  }
  return circle;
}

CallExpansion::CallExpansion(const std::vector<std::string>& prepared, const std::string& arities)
    : prepared_(prepared), arities_(arities), count_(prepared.size() / 2) {}

ExpansionResult CallExpansion::Run(std::string& term) {
  text_ = term;
  from_.assign(text_.size(), 0);
  expansions_ = 0;
  limit_ = term.size() + kMaxGrowth;
  produced_ = 0;
  searches_ = 0;
  bool again = true;
  while (again) {
    again = false;
    for (std::size_t k = 0; k < count_; ++k) {
      if (k >= arities_.size() || arities_[k] == '#') continue;
      const std::string& name = prepared_[count_ + k];
      const std::string call = name + "(";
      // Calls are expanded from left to right. The text before an expanded
      // call holds no further call of this name, so the search goes on where
      // the body now begins: it may call the same function again.
      std::size_t from = 0;
      firstOfSearch_ = expansions_ + 1;
      while (true) {
        if (++searches_ > kMaxSearches) return ExpansionResult::kFailed;
        const std::size_t p = text_.find(call, from);
        if (p == std::string::npos) break;
        if (p > 0 && !IsWordStart(text_[p - 1])) {
          // The end of a longer identifier.
          from = p + name.size();
          continue;
        }
        const ExpansionResult result = ExpandAt(p, k);
        if (result != ExpansionResult::kExpanded) return result;
        again = true;
        from = p;
      }
    }
  }
  term.swap(text_);
  return ExpansionResult::kExpanded;
}

ExpansionResult CallExpansion::ExpandAt(std::size_t p, std::size_t k) {
  // A call in text that an expansion of this same search put in comes from
  // the function's own body: expanding it puts in the body again, with the
  // call again, and so on for ever. Nothing but this search changes the text
  // meanwhile, so the expansion cannot end.
  if (from_[p] >= firstOfSearch_) return ExpansionResult::kFailed;
  // At most kMaxSearches expansions happen, so the numbers fit 16 bits.
  const auto origin = static_cast<std::uint16_t>(++expansions_);

  // Each argument must be the next group of the call; a call with too few
  // groups would otherwise take a group from the rest of the term.
  const int arity = CharCount(arities_[k]);
  std::size_t at = p + prepared_[count_ + k].size();
  arguments_.clear();
  for (int j = 0; j < arity; ++j) {
    if (at >= text_.size() || text_[at] != '(') return ExpansionResult::kFailed;
    const std::size_t close = ClosingParenthesis(text_, at);
    if (close == std::string::npos) return ExpansionResult::kFailed;
    arguments_.push_back(Group{at + 1, close - at - 1});
    at = close + 1;
  }

  const ExpansionResult built = BuildBody(k, origin);
  if (built != ExpansionResult::kExpanded) return built;
  if (text_.size() - (at - p) + body_.size() > limit_) return ExpansionResult::kTooComplex;
  text_.replace(p, at - p, body_);
  from_.erase(from_.begin() + static_cast<std::ptrdiff_t>(p),
              from_.begin() + static_cast<std::ptrdiff_t>(at));
  from_.insert(from_.begin() + static_cast<std::ptrdiff_t>(p), bodyFrom_.begin(), bodyFrom_.end());
  return ExpansionResult::kExpanded;
}

void CallExpansion::AppendToBody(const char* text, const std::uint16_t* origins,
                                 std::size_t count) {
  if (count == 0) return;
  if (!bodyHasEmptyPair_) {
    const std::string_view chunk(text, count);
    bodyHasEmptyPair_ = (!next_.empty() && next_.back() == '(' && chunk.front() == ')') ||
                        chunk.find("()") != std::string_view::npos;
  }
  next_.append(text, count);
  nextFrom_.insert(nextFrom_.end(), origins, origins + count);
}

void CallExpansion::AppendToBody(char c, std::uint16_t origin) {
  AppendToBody(&c, &origin, 1);
}

// The body of function k in parentheses, with the arguments put in for the
// placeholders, into body_ and bodyFrom_. One parameter number after the
// other: an argument may carry the placeholder of a later number.
ExpansionResult CallExpansion::BuildBody(std::size_t k, std::uint16_t origin) {
  const std::string& entry = prepared_[k];
  const std::size_t bodyStart = prepared_[count_ + k].size() + 1;
  body_.assign(1, '(');
  body_.append(entry, bodyStart);
  body_ += ')';
  // Each '?' starts a placeholder; the character after it is the number,
  // which may be '?' itself (the 15th parameter).
  for (std::size_t i = 1; i + 1 < body_.size(); ++i) {
    if (body_[i] == '?') body_[i++] = kBodyPlaceholder;
  }
  bodyFrom_.assign(body_.size(), origin);
  produced_ += body_.size();

  for (std::size_t j = 0; j < arguments_.size(); ++j) {
    const char placeholder[] = {kBodyPlaceholder, CountChar(j + 1)};
    const std::string_view mark(placeholder, 2);
    std::size_t at = body_.find(mark);
    if (at == std::string::npos) continue;
    const Group argument = arguments_[j];
    const char* argumentText = text_.data() + argument.start;
    const std::uint16_t* argumentFrom = from_.data() + argument.start;
    next_.clear();
    nextFrom_.clear();
    bodyHasEmptyPair_ = false;
    std::size_t copied = 0;
    for (; at != std::string::npos; at = body_.find(mark, copied)) {
      AppendToBody(body_.data() + copied, bodyFrom_.data() + copied, at - copied);
      copied = at + 2;
      // A placeholder alone in parentheses takes the argument bare, unless
      // an earlier pair of parentheses in the body is already empty.
      const bool bare = !bodyHasEmptyPair_ && !next_.empty() && next_.back() == '(' &&
                        copied < body_.size() && body_[copied] == ')';
      if (!bare) AppendToBody('(', origin);
      AppendToBody(argumentText, argumentFrom, argument.length);
      if (!bare) AppendToBody(')', origin);
      if (next_.size() > limit_) return ExpansionResult::kTooComplex;
    }
    AppendToBody(body_.data() + copied, bodyFrom_.data() + copied, body_.size() - copied);
    body_.swap(next_);
    bodyFrom_.swap(nextFrom_);
    produced_ += body_.size();
    if (produced_ > kMaxProduced) return ExpansionResult::kTooComplex;
  }
  return ExpansionResult::kExpanded;
}

}  // namespace engine
