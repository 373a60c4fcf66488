// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "call_expansion.h"

#include <algorithm>
#include <cstring>
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
// The work one CallExpansion may do, counted in characters looked at one by
// one; moving and copying text in bulk costs one unit per kBulkChars
// characters. The time an expansion takes follows the text it reads and
// writes, not the text it ends with: nested calls scan their arguments again
// at each level, each expansion moves the rest of the term, and a long
// argument may be copied into body after body. kMaxWork, two or three
// milliseconds, is shared by all the texts one object expands; it lets a
// thousand nested calls expand, and is far above what any real set of
// declarations needs. Each text adds kWorkPerChar units per character of its
// own, so that a short text after others that used up the shared work still
// expands.
constexpr std::size_t kMaxWork = std::size_t{1} << 22;
constexpr std::size_t kWorkPerChar = 64;
constexpr std::size_t kBulkChars = 8;
// Every search for a call counts; more than this many fail the expansion.
constexpr int kMaxSearches = 1000;

char CountChar(std::size_t count) {
  return static_cast<char>('0' + count);
}
int CharCount(char c) {
  return static_cast<unsigned char>(c) - '0';
}

// The position of the next name followed by '(' at or after from, as
// text.find(name + "(", from) gives it, and in work what the search cost:
// the characters it passed and four more for each '(' it looked behind. A
// text of nested calls holds a candidate for the name's first letter every
// few characters, and a general search compares at each of them; behind a
// '(' the name's last character alone rules out most candidates.
std::size_t FindCall(const std::string& text, const std::string& name, std::size_t from,
                     std::size_t& work) {
  const std::size_t length = name.size();
  const char last = name.back();
  std::size_t q = from + length;
  std::size_t candidates = 0;
  std::size_t found = std::string::npos;
  while (q < text.size()) {
    const void* open = std::memchr(text.data() + q, '(', text.size() - q);
    if (open == nullptr) break;
    q = static_cast<std::size_t>(static_cast<const char*>(open) - text.data());
    ++candidates;
    if (text[q - 1] == last && text.compare(q - length, length, name) == 0) {
      found = q - length;
      break;
    }
    ++q;
  }
  work = (found == std::string::npos ? text.size() : found + length + 1) - from + 4 * candidates;
  return found;
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
  // The ')' that closes each '(', found in one pass.
  std::vector<std::size_t> closing(body.size(), std::string::npos);
  std::vector<std::size_t> open;
  for (std::size_t pos = 0; pos < body.size(); ++pos) {
    if (body[pos] == '(') {
      open.push_back(pos);
    } else if (body[pos] == ')' && !open.empty()) {
      closing[open.back()] = pos;
      open.pop_back();
    }
  }
  // The calls around the position: the function, its groups' ends, which of
  // them the position is in and that group's entry in groups_.
  struct Around {
    std::size_t Function;
    std::vector<std::size_t> Ends;
    std::size_t Parameter;
    std::size_t Group;
  };
  std::vector<Around> around;
  auto innermost = [&around] { return around.empty() ? kNone : around.back().Group; };
  auto enter = [this, &around](Around& call) {
    const std::size_t parent = around.size() < 2 ? kNone : around[around.size() - 2].Group;
    call.Group = groups_.size();
    groups_.push_back({call.Function, call.Parameter, parent});
  };
  auto leave = [&around, &enter](std::size_t pos) {
    while (!around.empty()) {
      Around& top = around.back();
      const std::size_t before = top.Parameter;
      while (top.Parameter < top.Ends.size() && top.Ends[top.Parameter] < pos) ++top.Parameter;
      if (top.Parameter < top.Ends.size()) {
        if (top.Parameter != before) enter(top);
        return;
      }
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
        placeholders_[k].push_back({static_cast<std::size_t>(parameter - 1), innermost()});
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
      calls_[k].push_back({called->second, innermost()});
    }
    Around call{called->second, {}, 0, kNone};
    for (std::size_t at = pos; at < body.size() && body[at] == '(';) {
      if (closing[at] == std::string::npos) return;
      call.Ends.push_back(closing[at]);
      at = closing[at] + 1;
    }
    around.push_back(std::move(call));
    enter(around.back());
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

void CallGraph::FindKeptGroups() {
  groupKept_.resize(groups_.size());
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    const Group& group = groups_[i];
    const bool own = !Valid(group.Function) || group.Parameter >= kept_[group.Function].size() ||
                     kept_[group.Function][group.Parameter];
    groupKept_[i] = own && Kept(group.Parent);
  }
}

void CallGraph::FindKeptParameters() {
  for (std::vector<bool>& parameters : kept_) parameters.assign(parameters.size(), false);
  // A placeholder inside the argument of another call is kept when that
  // call's body keeps the argument: repeated until nothing more is found.
  // The last round changes nothing, so the groups' answers fit the end.
  bool more = true;
  while (more) {
    more = false;
    FindKeptGroups();
    for (std::size_t k = 0; k < placeholders_.size(); ++k) {
      if (!Valid(k)) continue;
      for (const Occurrence& use : placeholders_[k]) {
        if (!kept_[k][use.Index] && Kept(use.Group)) {
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
    if (!Valid(call.Index) || !Kept(call.Group) || marks_[call.Index] == Mark::kNoCircle) {
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
  searches_ = 0;
  allowance_ += kWorkPerChar * term.size();
  bool again = true;
  while (again) {
    again = false;
    for (std::size_t k = 0; k < count_; ++k) {
      if (k >= arities_.size() || arities_[k] == '#') continue;
      const std::string& name = prepared_[count_ + k];
      // Calls are expanded from left to right. The text before an expanded
      // call holds no further call of this name, so the search goes on where
      // the body now begins: it may call the same function again.
      std::size_t from = 0;
      firstOfSearch_ = expansions_ + 1;
      while (true) {
        if (++searches_ > kMaxSearches) return ExpansionResult::kFailed;
        std::size_t work = 0;
        const std::size_t p = FindCall(text_, name, from, work);
        if (!Spend(work)) return ExpansionResult::kTooComplex;
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
    if (!Spend(close - at)) return ExpansionResult::kTooComplex;
    arguments_.push_back(Group{at + 1, close - at - 1});
    at = close + 1;
  }

  const ExpansionResult built = BuildBody(k, origin);
  if (built != ExpansionResult::kExpanded) return built;
  if (text_.size() - (at - p) + body_.size() > limit_) return ExpansionResult::kTooComplex;
  // The rest of the term moves, in the text and in the origins beside it.
  if (!Spend(3 * (text_.size() - p) / kBulkChars)) return ExpansionResult::kTooComplex;
  text_.replace(p, at - p, body_);
  from_.erase(from_.begin() + static_cast<std::ptrdiff_t>(p),
              from_.begin() + static_cast<std::ptrdiff_t>(at));
  from_.insert(from_.begin() + static_cast<std::ptrdiff_t>(p), bodyFrom_.begin(), bodyFrom_.end());
  return ExpansionResult::kExpanded;
}

bool CallExpansion::Spend(std::size_t units) {
  work_ += units;
  if (work_ <= kMaxWork + allowance_) return true;
  // The step that passed the bound is not held against the next text.
  work_ = kMaxWork + allowance_;
  return false;
}

void CallExpansion::AppendToBody(const char* text, const std::uint16_t* origins,
                                 std::size_t count) {
  if (count == 0) return;
  next_.append(text, count);
  nextFrom_.insert(nextFrom_.end(), origins, origins + count);
}

bool CallExpansion::BodyHasEmptyPair() {
  // Looked for only when a placeholder alone in parentheses asks, and only
  // in what was added since: a nested call's long argument is copied level
  // after level without being read again.
  std::size_t i = std::max<std::size_t>(emptyPairScanned_, 1);
  while (!bodyHasEmptyPair_ && i < next_.size()) {
    const void* close = std::memchr(next_.data() + i, ')', next_.size() - i);
    if (close == nullptr) break;
    i = static_cast<std::size_t>(static_cast<const char*>(close) - next_.data());
    emptyPairWork_ += 4;
    bodyHasEmptyPair_ = next_[i - 1] == '(';
    ++i;
  }
  emptyPairWork_ += next_.size() - std::min(emptyPairScanned_, next_.size());
  emptyPairScanned_ = next_.size();
  return bodyHasEmptyPair_;
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
  if (!Spend(body_.size())) return ExpansionResult::kTooComplex;

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
    emptyPairScanned_ = 0;
    emptyPairWork_ = 0;
    std::size_t copied = 0;
    for (; at != std::string::npos; at = body_.find(mark, copied)) {
      AppendToBody(body_.data() + copied, bodyFrom_.data() + copied, at - copied);
      copied = at + 2;
      // A placeholder alone in parentheses takes the argument bare, unless
      // an earlier pair of parentheses in the body is already empty.
      const bool bare = !next_.empty() && next_.back() == '(' && copied < body_.size() &&
                        body_[copied] == ')' && !BodyHasEmptyPair();
      if (!bare) AppendToBody('(', origin);
      AppendToBody(argumentText, argumentFrom, argument.length);
      if (!bare) AppendToBody(')', origin);
      if (next_.size() > limit_) return ExpansionResult::kTooComplex;
    }
    AppendToBody(body_.data() + copied, bodyFrom_.data() + copied, body_.size() - copied);
    body_.swap(next_);
    bodyFrom_.swap(nextFrom_);
    // Searched for the placeholder, copied with the origins, and scanned
    // (in part) for an empty pair of parentheses.
    if (!Spend(3 * body_.size() / kBulkChars + emptyPairWork_)) {
      return ExpansionResult::kTooComplex;
    }
  }
  return ExpansionResult::kExpanded;
}

}  // namespace engine
