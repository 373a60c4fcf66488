// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "call_expansion.h"

#include <algorithm>

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
