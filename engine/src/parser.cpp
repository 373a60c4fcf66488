#include "engine/parser.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "engine/compiler.h"
#include "engine/engine_state.h"
#include "engine/interpreter.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "engine/term_text.h"
#include "fast_program.h"

namespace engine {

namespace {

// Parsers alive on this thread; the first one seeds the thread's random
// generator.
thread_local int liveParsers = 0;

TMessageHook& MessageHook() {
  static TMessageHook hook;
  return hook;
}

TAboutHook& AboutHook() {
  static TAboutHook hook;
  return hook;
}

constexpr const char* kLineBreak = "\n\r";
constexpr const char* kNotAnalysed = "Term is not properly analyzed yet";
constexpr const char* kNoDeclarations = "No declarations assigned";

// Stands for a parameter inside a body while it is copied into a term, so
// that '?' placeholders carried in by an argument are never taken for it.
constexpr char kBodyPlaceholder = static_cast<char>(167);
// Marks a name found inside a longer identifier while the term is searched.
constexpr char kMaskChar = '#';

// An expansion must stay below this many characters. The search limit alone
// bounds the number of expansions, not the size: a function whose body uses
// its argument four times, nested a few dozen times, would otherwise grow the
// term exponentially.
constexpr std::size_t kMaxExpandedLength = std::size_t{1} << 16;
// Every search for a call counts; more than this many means recursion.
constexpr int kMaxSearches = 1000;
// Arity and parameter numbers are stored as the character '0' + count; more
// than this would no longer fit one byte.
constexpr int kMaxArguments = 200;

bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c) {
  return IsUpperLetter(c) || IsDigit(c);
}

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

// Characters that may follow a parameter name for it to be a word of its own.
bool IsWordEnd(char c) {
  return c == ')' || (c != '(' && IsWordStart(c));
}

char CountChar(int count) {
  return static_cast<char>('0' + count);
}
int CharCount(char c) {
  return static_cast<unsigned char>(c) - '0';
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

bool IsValidVariableName(const std::string& name) {
  if (name.empty()) return false;
  if (!IsUpperLetter(name[0]) && name[0] != '_') return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return IsLetterOrDigit(c) || c == '_'; });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
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
  ThreadRunContext().E = std::exp(1.0L);
}

TParserDeclarations::~TParserDeclarations() {
  // The parsers do not own this object; they must not keep a dangling
  // reference, so they forget it and report code 9 at their next SetTerm.
  for (TTermParser* parser : users_) parser->declarations_ = nullptr;
}

bool TParserDeclarations::Prepare(TTermParser& parser) {
  bool result = true;
  try {
    if (changedLists_ & 2) PrepareFunctions(result);
    if (changedLists_ & 1) PrepareVarNames(result);
    declarationErrors_ = functionErrors_ + varNameErrors_;
    if (preparedVarNames_.size() != parser.varValues_.size()) {
      parser.ResizeVarValues(preparedVarNames_.size());
    }
    changedLists_ = 0;
  } catch (...) {
    // Out of memory: the lists stay marked as changed, so the next Prepare
    // starts again from them.
    changedLists_ = 7;
    result = false;
  }
  lastPrepareResult_ = result;
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
  // be expanded calls itself, directly or through others.
  const std::size_t count = preparedFunctions_.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& entry = preparedFunctions_[i];
    std::string body = entry.substr(entry.find('=') + 1);
    if (!ExpandFunctions(body)) {
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
  try {
    return ExpandCalls(term);
  } catch (...) {
    // Out of memory while copying bodies: the expansion failed.
    return false;
  }
}

bool TParserDeclarations::ExpandCalls(std::string& term) {
  const std::size_t n = preparedFunctions_.size() / 2;
  int searches = 0;
  bool again = true;
  while (again) {
    again = false;
    for (std::size_t k = n; k < 2 * n; ++k) {
      if (k - n >= functionArities_.size() || functionArities_[k - n] == '#') continue;
      const std::string& name = preparedFunctions_[k];
      const std::string call = name + "(";
      const std::string& entry = preparedFunctions_[k - n];
      const int arity = CharCount(functionArities_[k - n]);
      // Names found inside longer identifiers are masked while the search
      // goes on and restored afterwards. Masked places always lie before the
      // next call found, so expansions never move them.
      std::vector<std::size_t> masked;
      while (true) {
        if (++searches > kMaxSearches) return false;
        const std::size_t p = term.find(call);
        if (p == std::string::npos) break;
        if (p > 0 && !IsWordStart(term[p - 1])) {
          term.replace(p, name.size(), name.size(), kMaskChar);
          masked.push_back(p);
          continue;
        }

        std::string body = "(" + entry.substr(name.size() + 1) + ")";
        std::replace(body.begin(), body.end(), '?', kBodyPlaceholder);
        term.erase(p, name.size());
        for (int j = 1; j <= arity; ++j) {
          // Each argument must be the next group of the call; a call with
          // too few groups would otherwise take a group from the rest of
          // the term and cut it apart.
          std::string argument;
          if (p >= term.size() || term[p] != '(' || !ExtractGroup(term, p + 1, argument)) {
            return false;
          }
          term.erase(p, argument.size() + 2);
          const std::string placeholder{kBodyPlaceholder, CountChar(j)};
          std::size_t at = 0;
          // The first "()" of the body, found without scanning any text twice:
          // edits only happen behind the part already scanned.
          std::size_t emptyPair = std::string::npos;
          std::size_t scanFrom = 0;
          while ((at = body.find(placeholder, at)) != std::string::npos) {
            body.erase(at, placeholder.size());
            if (emptyPair == std::string::npos) {
              emptyPair = std::string_view(body).substr(0, at + 1).find("()", scanFrom);
              if (emptyPair == std::string::npos && at > 0) scanFrom = at - 1;
            }
            const bool bare = emptyPair != std::string::npos && emptyPair + 1 == at;
            std::string inserted = bare ? argument : "(" + argument + ")";
            if (bare) {
              // The pair is filled now; the next one may lie in the argument.
              scanFrom = emptyPair;
              emptyPair = std::string::npos;
            }
            body.insert(at, inserted);
            // Go on behind the inserted text: the argument may itself hold
            // the placeholder's characters.
            at += inserted.size();
            if (body.size() > kMaxExpandedLength) return false;
          }
        }
        term.insert(p, body);
        again = true;
        if (term.size() > kMaxExpandedLength) return false;
      }
      for (std::size_t at : masked) term.replace(at, name.size(), name);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// TTermParser

TTermParser::TTermParser() : codeBuffer_(std::make_unique<TProgram>()), varValues_(1, 0.0L) {
  if (liveParsers++ == 0) Randomize();
}

TTermParser::~TTermParser() {
  SetDeclarations(nullptr);
  // A parser may end on another thread than the one that made it; the count
  // of that thread must not drop below zero.
  if (liveParsers > 0) --liveParsers;
}

void TTermParser::SetAnglemode(TAngleMode mode) {
  anglemode_ = mode;
  switch (mode) {
    case RAD:
      angleFactor_ = 1;
      break;
    case DEG:
      angleFactor_ = ExtDegFactor;
      break;
    case GON:
      angleFactor_ = ExtGonFactor;
      break;
    default:
      break;
  }
}

void TTermParser::SetAbout(bool value) {
  if (value) ShowAboutWindow();
}

void TTermParser::ShowAboutWindow() {
  const TAboutHook& hook = AboutHook();
  if (!hook) return;
  try {
    hook();
  } catch (...) {
    // A failing host window must not break the engine's no-throw promise;
    // there is nothing to report.
  }
}

void TTermParser::SetDeclarations(TParserDeclarations* declarations) {
  if (declarations_ != nullptr && declarations_ != declarations) {
    auto& users = declarations_->users_;
    users.erase(std::remove(users.begin(), users.end(), this), users.end());
  }
  if (declarations != nullptr && declarations_ != declarations) {
    try {
      declarations->users_.push_back(this);
    } catch (...) {
      // Unregistered, the reference could dangle; without it SetTerm
      // reports code 9 instead.
      declarations = nullptr;
    }
  }
  declarations_ = declarations;
  if (declarations_ == nullptr) return;
  declarations_->changedLists_ = 7;
  declarations_->Prepare(*this);
}

void TTermParser::SetTerm(const std::string& term) {
  if (declarations_ == nullptr) {
    const TMessageHook& hook = MessageHook();
    if (hook) {
      try {
        hook(kNoDeclarations);
      } catch (...) {
        // The box is only a notice; the code below reports the failure.
      }
    }
    // The previous program must not be evaluated as if it belonged to this
    // term, so the analysis is marked as failed too.
    errorText_ = kNoDeclarations;
    analysisCode_ = scNoDeclarations;
    evalError_ = scNoDeclarations;
    return;
  }
  try {
    termText_ = term;
    declarations_->Prepare(*this);
    evalError_ = Analyse();
  } catch (...) {
    errorText_ = "Cannot analyze given Term";
    analysisCode_ = scCannotAnalyse;
    evalError_ = scCannotAnalyse;
  }
}

std::uint8_t TTermParser::Analyse() {
  RunContext& context = ThreadRunContext();
  std::uint8_t code = scSuccess;
  fastState_ = FastState::NotEvaluated;
  try {
    errorText_.clear();
    preparedTerm_ = termText_;
    NormaliseTerm(preparedTerm_, true);
    if (preparedTerm_.empty()) {
      errorText_ = "Term is empty string";
      analysisCode_ = scCannotAnalyse;
      FireError();
      return scCannotAnalyse;
    }
    if (!CheckParentheses(preparedTerm_, context)) {
      errorText_ = "Wrong parentheses";
      analysisCode_ = scWrongParentheses;
      FireError();
      return scWrongParentheses;
    }
    if (declarations_ != nullptr && !declarations_->ExpandFunctions(preparedTerm_)) {
      errorText_ = "Recursive or unknown function call";
      // The stored analysis code has always been 1 here, unlike the result;
      // Compute reports it.
      analysisCode_ = scWrongParentheses;
      return scRecursiveCall;
    }
    static const std::vector<std::string> noLines;
    const std::vector<std::string>& constants =
        declarations_ != nullptr ? declarations_->constants_.Lines() : noLines;
    const std::vector<std::string>& varNames =
        declarations_ != nullptr ? declarations_->preparedVarNames_ : noLines;
    int count = 0;
    code = static_cast<std::uint8_t>(CompileTerm(context, preparedTerm_, errorText_, *codeBuffer_,
                                                 constants, &varNames, angleFactor_, count));
    codeCount_ = count;
    if (code == scSuccess) code = CheckVariableSlots();
  } catch (...) {
    errorText_ = "Cannot analyze given Term";
    code = scCannotAnalyse;
  }
  analysisCode_ = code;
  if (code != scSuccess) FireError();
  return code;
}

std::uint8_t TTermParser::CheckVariableSlots() {
  slotsNeeded_ = 0;
  for (int i = 1; i <= ProgramSize && (*codeBuffer_)[static_cast<std::size_t>(i)].Kind != ikEnd;
       ++i) {
    const TInstruction& instruction = (*codeBuffer_)[static_cast<std::size_t>(i)];
    if (instruction.Kind != ikVariable) continue;
    if (instruction.Code < 0) {
      errorText_ = "Cannot analyze given Term";
      return scCannotAnalyse;
    }
    slotsNeeded_ = std::max(slotsNeeded_, static_cast<std::size_t>(instruction.Code) + 1);
  }
  return scSuccess;
}

std::uint8_t TTermParser::Compute() {
  if (analysisCode_ != scSuccess) {
    const std::uint8_t code = analysisCode_;
    try {
      errorText_ += kLineBreak;
      errorText_ += kNotAnalysed;
    } catch (...) {
      // The text could not grow; the code still tells the failure.
    }
    FireError();
    return code;
  }
  int status = scSuccess;
  try {
    errorText_.clear();
    // The variable names may have shrunk since this program was compiled
    // (the same declarations prepared again); it must not read past them.
    if (slotsNeeded_ > varValues_.size()) {
      status = scCannotEvaluate;
      errorText_ = "Cannot evaluate Term with given value";
    } else {
      // The fast form writes its result straight into resultValue_: every
      // copy of an 80-bit value costs a slow store and load.
      RunContext& context = ThreadRunContext();
      if (!ComputeFast(context)) {
        // RunProgram ends with FinishRun: a NaN is no value. The fast form
        // declines every result that is not finite, so it comes here.
        const Extended value =
            RunProgram(context, *codeBuffer_, varValues_, angleFactor_, status, errorText_);
        if (status == scSuccess) resultValue_ = value;
      }
    }
  } catch (...) {
    status = scCannotEvaluate;
    errorText_ = "Cannot evaluate Term with given value";
  }
  const auto code = static_cast<std::uint8_t>(status);
  evalError_ = code;
  if (code != scSuccess) FireError();
  return code;
}

bool TTermParser::ComputeFast(RunContext& context) {
  // The trainer analyses and evaluates each candidate term once; building
  // the fast form for those would only slow task making down.
  if (fastState_ == FastState::NotEvaluated) {
    fastState_ = FastState::EvaluatedOnce;
    return false;
  }
  if (fastState_ == FastState::EvaluatedOnce) {
    try {
      if (!fastForm_) fastForm_ = std::make_unique<FastProgram>();
      fastState_ = fastForm_->Build(*codeBuffer_) ? FastState::Built : FastState::Unavailable;
    } catch (...) {
      // Without memory for the fast form the interpreter does the work.
      fastState_ = FastState::Unavailable;
    }
  }
  return fastState_ == FastState::Built &&
         fastForm_->Run(context, varValues_, angleFactor_, resultValue_);
}

Extended TTermParser::Evaluate() {
  std::uint8_t code;
  try {
    code = Compute();
  } catch (...) {
    // Only a derived Compute can get here.
    code = scCannotEvaluate;
  }
  evalError_ = code;
  if (code == scSuccess) return resultValue_;
  if (code == scNaN) return EngineNaN();
  return 0;
}

void TTermParser::FireError() {
  if (!onError_) return;
  // Copy the handler so that it may replace itself while it runs.
  TErrorEvent handler = onError_;
  try {
    handler(*this, errorText_);
  } catch (...) {
    // The failure is already recorded in EvalError and ErrorText; an
    // exception from the host's handler must not cross the engine's
    // interface, so it is dropped.
  }
}

Extended TTermParser::VarValue(int slot) const {
  if (slot < 0 || static_cast<std::size_t>(slot) >= varValues_.size()) return 0;
  return varValues_[static_cast<std::size_t>(slot)];
}

bool TTermParser::SetVarValue(std::string_view name, Extended value) {
  if (declarations_ == nullptr) return false;
  const auto& names = declarations_->preparedVarNames_;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (EqualIgnoringCase(names[i], name)) return SetVarValue(static_cast<int>(i), value);
  }
  return false;
}

void TTermParser::ResizeVarValues(std::size_t count) {
  varValues_.resize(count, 0.0L);
}

// ---------------------------------------------------------------------------

void SetMessageHook(TMessageHook hook) {
  MessageHook() = std::move(hook);
}

void SetAboutHook(TAboutHook hook) {
  AboutHook() = std::move(hook);
}

Extended EngineNaN() {
  return ExtEngineNaN;
}

}  // namespace engine
