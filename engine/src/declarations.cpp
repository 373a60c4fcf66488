// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The declarations a parser may use: the string lists that hold them, the
// preparation of function lines and variable names, and the expansion of
// user function calls in a term.
#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

#include "call_expansion.h"
#include "engine/parser.h"
#include "engine/run_context.h"
#include "engine/term_text.h"

namespace engine {

namespace {

constexpr const char* kLineBreak = "\n\r";

// Parameter k is written '?' and the character '0' + k, and the count of
// parameters as '0' + count. 118 keeps every such character below 167, the
// mark that stands for '?' while a body is copied into a term.
constexpr int kMaxArguments = 118;

bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c) {
  return IsUpperLetter(c) || IsDigit(c);
}

// Characters that may follow a parameter name for it to be a word of its own.
bool IsWordEnd(char c) {
  return c == ')' || (c != '(' && IsWordStart(c));
}

char CountChar(int count) {
  return static_cast<char>('0' + count);
}

// Everything before the first '#'.
std::string WithoutComment(const std::string& line) {
  return line.substr(0, line.find('#'));
}

// The length of the run of letters A..Z and digits starting at pos.
std::size_t IdentifierLength(const std::string& text, std::size_t pos) {
  std::size_t end = pos;
  while (end < text.size() && IsLetterOrDigit(text[end])) ++end;
  return end - pos;
}

// Replaces every whole-word occurrence of name in line by '?' and the
// character '0' + number. Occurrences inside longer words stay as they are.
void SubstituteArgument(std::string& line, const std::string& name, int number) {
  const std::string placeholder{'?', CountChar(number)};
  std::size_t pos = 0;
  while ((pos = line.find(name, pos)) != std::string::npos) {
    std::size_t end = pos + name.size();
    bool startsWord = pos == 0 || IsWordStart(line[pos - 1]);
    bool endsWord = end == line.size() || IsWordEnd(line[end]);
    if (startsWord && endsWord) {
      line.replace(pos, name.size(), placeholder);
      pos += placeholder.size();
    } else {
      pos = end;
    }
  }
}

// Runs an expansion; running out of memory while copying bodies means the
// text is too much to expand.
ExpansionResult RunExpansion(CallExpansion& expansion, std::string& text) {
  try {
    return expansion.Run(text);
  } catch (...) {
    return ExpansionResult::kTooComplex;
  }
}

bool IsValidVariableName(const std::string& name) {
  if (name.empty()) return false;
  if (!IsUpperLetter(name[0]) && name[0] != '_') return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return IsLetterOrDigit(c) || c == '_'; });
}

}  // namespace

// ---------------------------------------------------------------------------
// TStringList

void TStringList::Changed() {
  if (onChange_) onChange_();
}

void TStringList::Add(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
}

void TStringList::Insert(int index, std::string line) {
  if (index < 0 || index > Count()) return;
  lines_.insert(lines_.begin() + index, std::move(line));
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  lines_.erase(lines_.begin() + index);
  Changed();
}

void TStringList::Put(int index, std::string line) {
  if (index < 0 || index >= Count()) return;
  lines_[static_cast<std::size_t>(index)] = std::move(line);
  Changed();
}

void TStringList::Clear() {
  lines_.clear();
  Changed();
}

void TStringList::Assign(const std::vector<std::string>& lines) {
  lines_ = lines;
  Changed();
}

void TStringList::SetText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  lines_ = std::move(lines);
  Changed();
}

// ---------------------------------------------------------------------------
// TParserDeclarations

TParserDeclarations::TParserDeclarations() {
  constants_.SetOnChange([this] { changedLists_ |= 4; });
  functions_.SetOnChange([this] { changedLists_ |= 2; });
  varNames_.SetOnChange([this] { changedLists_ |= 1; });
  varNames_.Assign({"t", "x", "y", "z"});
  changedLists_ = 3;
  ThreadRunContext().E = ExtE;
}

TParserDeclarations::~TParserDeclarations() {
  // The parsers do not own this object; they must not keep a dangling
  // reference, so they forget it and report code 9 at their next SetTerm.
  const std::lock_guard<std::mutex> lock(mutex_);
  for (TTermParser* parser : users_) parser->declarations_ = nullptr;
}

void TParserDeclarations::Attach(TTermParser& parser) {
  const std::lock_guard<std::mutex> lock(mutex_);
  users_.push_back(&parser);
}

void TParserDeclarations::Detach(TTermParser& parser) {
  const std::lock_guard<std::mutex> lock(mutex_);
  users_.erase(std::remove(users_.begin(), users_.end(), &parser), users_.end());
}

bool TParserDeclarations::Prepare(TTermParser& parser) {
  return PrepareLists(parser, false);
}

bool TParserDeclarations::PrepareLists(TTermParser& parser, bool all) {
  // Unchanged declarations are only read, so that parsers on other threads
  // may use them meanwhile; changed ones are prepared by one thread at a time.
  std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
  std::uint8_t changed = 0;
  bool result = true;
  bool outOfMemory = false;
  try {
    if (changedLists_ != 0) {
      lock.lock();
      changed = changedLists_;
      if (changed != 0 && all) changed = 7;
    }
    if (changed & 2) PrepareFunctions(result);
    if (changed & 1) PrepareVarNames(result);
    if (changed != 0) declarationErrors_ = functionErrors_ + varNameErrors_;
    if (preparedVarNames_.size() != parser.varValues_.size()) {
      parser.ResizeVarValues(preparedVarNames_.size());
    }
  } catch (...) {
    // Out of memory: the lists stay marked as changed, so the next Prepare
    // starts again from them.
    outOfMemory = true;
    result = false;
  }
  if (changed != 0) {
    lastPrepareResult_ = result;
    changedLists_ = outOfMemory ? 7 : 0;
  }
  return result;
}

const std::string& TParserDeclarations::SourceLine(std::size_t entry) const {
  static const std::string none;
  if (entry >= functionSourceLines_.size()) return none;
  int line = functionSourceLines_[entry];
  return line < functions_.Count() ? functions_[line] : none;
}

void TParserDeclarations::PrepareFunctions(bool& result) {
  preparedFunctions_.clear();
  functionArities_.clear();
  functionSources_.clear();
  functionSourceLines_.clear();
  functionErrors_.clear();

  // Keep the lines whose parentheses balance.
  for (int i = 0; i < functions_.Count(); ++i) {
    std::string line = WithoutComment(functions_[i]);
    NormaliseTerm(line, true);
    if (line.empty()) continue;
    if (CheckParentheses(line, ThreadRunContext())) {
      preparedFunctions_.push_back(std::move(line));
      functionSources_.push_back(CountChar(i));
      functionSourceLines_.push_back(i);
    } else {
      result = false;
      functionErrors_ += kLineBreak;
      functionErrors_ += "Wrong Parentheses in Function " + functions_[i];
    }
  }

  // Split each line into NAME=body with numbered parameters, and append the
  // bare names behind the lines.
  const std::size_t n = preparedFunctions_.size();
  for (std::size_t i = 0; i < n; ++i) ParseDeclaration(i);
  PurgeInvalid();

  // Expand the calls of other functions inside each body; a body that cannot
  // be expanded calls itself, directly or through others. A circle of calls
  // is found on the call graph, before expanding it until a limit stops it.
  const std::size_t count = preparedFunctions_.size() / 2;
  CallGraph calls(preparedFunctions_, functionArities_);
  // One expansion for all bodies, so that their work counts against one
  // bound: many declarations that each just stay within it would otherwise
  // cost that many times as much.
  CallExpansion expansion(preparedFunctions_, functionArities_);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& entry = preparedFunctions_[i];
    std::string body = entry.substr(entry.find('=') + 1);
    if (calls.LeadsIntoCircle(i) || RunExpansion(expansion, body) != ExpansionResult::kExpanded) {
      result = false;
      functionArities_[i] = '#';
      functionErrors_ += kLineBreak;
      functionErrors_ += "Recursive Function: " + SourceLine(i);
      body = "##";
      // assign() rather than = "#": GCC 12 at -O3 warns falsely of an
      // overlapping copy for the literal assignment here.
      preparedFunctions_[count + i].assign(1, '#');
    }
    preparedFunctions_[i] = preparedFunctions_[count + i] + "=" + body;
  }
  PurgeInvalid();
  // A malformed or duplicate declaration is left out as well; the result
  // says so too, so that a caller who checks it learns of every rejection.
  if (!functionErrors_.empty()) result = false;
}

void TParserDeclarations::ParseDeclaration(std::size_t i) {
  const std::string entry = preparedFunctions_[i];
  auto reject = [&](const std::string& message) {
    functionErrors_ += message;
    preparedFunctions_.push_back("###");
  };

  if (!IsUpperLetter(entry[0])) {
    functionArities_.push_back('#');
    reject(std::string(kLineBreak) + "Unvalid function identifier " + " ");
    return;
  }
  const std::size_t nameLength = IdentifierLength(entry, 0);
  const std::string name = entry.substr(0, nameLength);
  if (nameLength + 1 >= entry.size() || entry[nameLength] != '(' ||
      !IsUpperLetter(entry[nameLength + 1])) {
    functionArities_.push_back('#');
    reject(std::string(kLineBreak) + "Unvalid argument identifier in " + name);
    return;
  }

  // Read the parameter names from the unsubstituted entry and number them in
  // a working copy. A parameter list must consist of distinct names, each
  // beginning with a letter, in groups of their own: anything else would
  // silently substitute numbers or expressions in the body.
  std::string working = entry;
  std::vector<std::string> parameters;
  std::size_t pos = nameLength + 1;
  bool wellFormed = true;
  while (true) {
    std::size_t length = IdentifierLength(entry, pos);
    if (length == 0) break;
    std::string parameter = entry.substr(pos, length);
    if (!IsUpperLetter(parameter[0]) ||
        std::find(parameters.begin(), parameters.end(), parameter) != parameters.end() ||
        parameters.size() >= static_cast<std::size_t>(kMaxArguments)) {
      wellFormed = false;
      break;
    }
    parameters.push_back(parameter);
    SubstituteArgument(working, parameter, static_cast<int>(parameters.size()));
    pos += length + 1;
    if (pos < entry.size() && entry[pos] == '(') ++pos;
  }
  functionArities_.push_back(CountChar(static_cast<int>(parameters.size())));

  std::string expectedList;
  for (std::size_t k = 1; k <= parameters.size(); ++k) {
    expectedList += '(';
    expectedList += '?';
    expectedList += CountChar(static_cast<int>(k));
    expectedList += ')';
  }
  expectedList += '=';
  if (!wellFormed || working.compare(nameLength, expectedList.size(), expectedList) != 0) {
    functionArities_.back() = '#';
    reject(std::string(kLineBreak) + "Unvalid argument identifier in " + SourceLine(i));
    return;
  }

  working.erase(nameLength, expectedList.size() - 1);
  preparedFunctions_[i] = working;

  const std::size_t n = functionSources_.size();
  auto namesBegin = preparedFunctions_.begin() + static_cast<std::ptrdiff_t>(n);
  if (std::find(namesBegin, preparedFunctions_.end(), name) != preparedFunctions_.end()) {
    functionArities_.back() = '#';
    reject("Duplicate identifier" + SourceLine(i));
    return;
  }
  preparedFunctions_.push_back(name);
}

void TParserDeclarations::PurgeInvalid() {
  std::size_t p;
  while ((p = functionArities_.find('#')) != std::string::npos) {
    const std::size_t half = preparedFunctions_.size() / 2;
    functionArities_.erase(p, 1);
    preparedFunctions_.erase(preparedFunctions_.begin() + static_cast<std::ptrdiff_t>(half + p));
    preparedFunctions_.erase(preparedFunctions_.begin() + static_cast<std::ptrdiff_t>(p));
    functionSources_.erase(p, 1);
    functionSourceLines_.erase(functionSourceLines_.begin() + static_cast<std::ptrdiff_t>(p));
  }
}

void TParserDeclarations::PrepareVarNames(bool& result) {
  preparedVarNames_.clear();
  varNameErrors_.clear();
  for (const std::string& line : varNames_.Lines()) {
    std::string name = WithoutComment(line);
    NormaliseTerm(name, false);
    if (IsValidVariableName(name)) {
      preparedVarNames_.push_back(std::move(name));
    } else {
      result = false;
      varNameErrors_ += kLineBreak;
      varNameErrors_ += "Invalid variable name: " + line;
    }
  }
}

bool TParserDeclarations::ExpandFunctions(std::string& term) {
  return Expand(term) == ExpansionResult::kExpanded;
}

ExpansionResult TParserDeclarations::Expand(std::string& term) const {
  CallExpansion expansion(preparedFunctions_, functionArities_);
  return RunExpansion(expansion, term);
}

}  // namespace engine
