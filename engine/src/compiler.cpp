// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/compiler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string_view>

#include "engine/engine_state.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/status.h"
#include "engine/term_text.h"

namespace engine {

namespace {

constexpr char FunctionMark = '"';
constexpr char EndMark = '|';
// A marked call keeps one character in front of its FunctionMark, whose code is
// this base plus the function code.
constexpr int FunctionCharBase = 170;
// Declared constants are evaluated up to this depth of nesting.
constexpr int MaxConstantDepth = 100;

constexpr const char* MsgInvalidTerm = "Invalid Function Term";
constexpr const char* MsgMissingOperand = "Missing Operand in Function Term";
constexpr const char* MsgUndefinedFunction = "Undefined Function: ";
constexpr const char* MsgDetected = " was detected in the string. Unknown or recursive call";
constexpr const char* MsgSyntaxError = "Syntax Error";
constexpr const char* MsgNaN = "NaN: Evaluation aborted";
constexpr const char* MsgRecursiveConstants = "Recursive call of constants";
constexpr const char* MsgCannotReadConstants = "Cannot read constants";
constexpr const char* MsgCannotAnalyze = "Cannot analyze given Term";

// Character classes of a prepared term, looked up once per character.
enum CharClass : std::uint8_t {
  // operators that must not follow directly after another one (sign pass)
  ccBinary = 1,
  // characters that must not follow an operator (sign pass)
  ccNoOperand = 2,
  // characters that may not end a term (sign pass)
  ccNoEnd = 4,
  // characters the translation acts on
  ccTranslate = 8,
  // characters after which '(' opens a group rather than a call
  ccGroupAfter = 16,
  // characters that end a name when reading back from its '('
  ccNameBoundary = 32,
};

constexpr std::array<std::uint8_t, 256> MakeCharClasses() {
  std::array<std::uint8_t, 256> classes{};
  auto add = [&classes](std::string_view chars, std::uint8_t bits) {
    for (char c : chars) classes[static_cast<unsigned char>(c)] |= bits;
  };
  add("*+-/<=>^~", ccBinary);
  add(")*+-/<^~", ccNoOperand);
  add("(*+-/<=>^", ccNoEnd);
  add("\"()*+-/<=>\\^adlmorvx", ccTranslate);
  add("\"()*+-/<=>\\^adlmorvx", ccGroupAfter);
  // '(' , ')' and the FunctionMark also end a name, so that the message names
  // the function and not the text around it.
  add("*+-/<=>\\^adlmorvx()\"", ccNameBoundary);
  return classes;
}

constexpr std::array<std::uint8_t, 256> CharClasses = MakeCharClasses();

bool Is(char c, CharClass cls) {
  return (CharClasses[static_cast<unsigned char>(c)] & cls) != 0;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// The name part of a Constants line, compared as a term would be written:
// blanks and control characters do not count, nor does case.
bool ConstantNameMatches(std::string_view namePart, std::string_view name) {
  std::size_t j = 0;
  for (char c : namePart) {
    auto code = static_cast<unsigned char>(c);
    if (code >= 1 && code <= 32) continue;
    if (j >= name.size() || UpperAscii(c) != UpperAscii(name[j])) return false;
    ++j;
  }
  return j == name.size();
}

// The term after the first '=' of the first Constants line that declares name,
// or null.
const std::string* FindConstantLine(const std::vector<std::string>& constants,
                                    std::string_view name, std::size_t& valueStart) {
  for (const std::string& line : constants) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (ConstantNameMatches(std::string_view(line).substr(0, equals), name)) {
      valueStart = equals + 1;
      return &line;
    }
  }
  return nullptr;
}

struct DepthGuard {
  explicit DepthGuard(RunContext& context) : context_(context) { ++context_.ConstantDepth; }
  ~DepthGuard() { --context_.ConstantDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  RunContext& context_;
};

Extended FailConstant(RunContext& context, int& code, TStatusCode failCode, const char* message) {
  context.Ok = false;
  code = failCode;
  context.ConstantMessage = message;
  return 0;
}

// A declared constant: its term is compiled into a buffer of its own and run at
// once, so the program that uses it holds only the number.
Extended DeclaredConstantValue(RunContext& context, std::string_view name,
                               const std::vector<std::string>& constants, int& code,
                               Extended angleFactor) {
  std::size_t valueStart = 0;
  const std::string* line = FindConstantLine(constants, name, valueStart);
  if (line == nullptr || valueStart >= line->size())
    return FailConstant(context, code, scRecursiveCall, MsgCannotReadConstants);
  try {
    std::string term = line->substr(valueStart);
    NormaliseTerm(term, true);
    auto program = std::make_unique<TProgram>();
    int count = 0;
    const int compiled = CompileTerm(context, term, context.ConstantMessage, *program, constants,
                                     nullptr, angleFactor, count);
    if (compiled != scSuccess) {
      code = compiled;
      return 0;
    }
    return RunProgram(context, *program, std::span<const Extended>(), angleFactor, code,
                      context.ConstantMessage);
  } catch (...) {
    return FailConstant(context, code, scRecursiveCall, MsgCannotReadConstants);
  }
}

// The value of an operand that is no variable: a built-in constant, a number
// or a declared constant. No built-in name is a number, so numbers, by far the
// most frequent operands, are tried first.
Extended ConstantValue(RunContext& context, std::string_view text,
                       const std::vector<std::string>& constants, int& code, Extended angleFactor) {
  code = scSuccess;
  if (context.ConstantDepth > MaxConstantDepth) {
    return FailConstant(context, code, scRecursiveCall, MsgRecursiveConstants);
  }
  DepthGuard depth(context);
  if (Extended value = 0; ReadNumber(text, value)) {
    // A literal beyond the extended range has no value; it must not enter the
    // program as infinity.
    if (!std::isfinite(value))
      return FailConstant(context, code, scRecursiveCall, MsgCannotReadConstants);
    return value;
  }
  if (text == "PI") return ExtPi;
  if (text == "E") return context.E;
  if (text == "C") return ExtEulerGamma;
  if (text == "TRUE") return 1;
  if (text == "FALSE") return 0;
  if (text == "NAN") {
    FailConstant(context, code, scNaN, MsgNaN);
    return ExtNanConstant;
  }
  return DeclaredConstantValue(context, text, constants, code, angleFactor);
}

// Function codes by the last letter of their name (the character before its
// '('), each list in table order, so that a '(' is matched against the few
// names that can end there.
class FunctionIndex {
 public:
  FunctionIndex() {
    for (int code = 1; code <= FunctionCount; ++code) {
      const std::string_view name = FunctionName(code);
      if (name.size() < 2 || name.back() != '(') continue;
      byLastLetter_[static_cast<unsigned char>(name[name.size() - 2])].push_back(code);
    }
  }
  const std::vector<int>& CodesEndingWith(char letter) const {
    return byLastLetter_[static_cast<unsigned char>(letter)];
  }

 private:
  std::array<std::vector<int>, 256> byLastLetter_;
};

const FunctionIndex& Functions() {
  static const FunctionIndex index;
  return index;
}

// One compilation: the term, its shadow and the translation state.
class TermCompiler {
 public:
  TermCompiler(RunContext& context, std::string& message, TProgram& buffer,
               const std::vector<std::string>& constants, const std::vector<std::string>* varNames,
               Extended angleFactor)
      : context_(context),
        ok_(context.Ok),
        message_(message),
        buffer_(buffer),
        constants_(constants),
        varNames_(varNames),
        angleFactor_(angleFactor) {}

  int Compile(const std::string& term, int& count) {
    term_ = term;
    result_ = scSuccess;
    ok_ = true;
    message_.clear();
    CheckSigns();
    if (!ok_) return result_;
    shadow_ = term_;
    MarkFunctions();
    TranslateTerm();
    count = n_;
    if (ok_) CheckConsumed();
    return result_;
  }

 private:
  void Fail(TStatusCode code, std::string_view text) {
    ok_ = false;
    result_ = code;
    message_.assign(text);
  }

  void FailBufferFull() { Fail(scCannotAnalyse, MsgCannotAnalyze); }

  // A unary minus is allowed only at the start or after '(' and becomes '\';
  // a plus there is dropped; an exponent's sign is protected from being read
  // as an operator; two operators in a row or a dangling operator fail.
  // The term is rewritten in place: characters before w are the term as it
  // now stands, characters from r on are still to be scanned, so dropping a
  // character costs nothing however long the term is.
  void CheckSigns() {
    std::string& t = term_;
    const std::size_t size = t.size();
    std::size_t r = 0;
    std::size_t w = 0;
    auto keep = [&](char c) { t[w++] = c; };
    auto next = [&]() { return r + 1 < size ? t[r + 1] : '\0'; };

    while (r < size && t[r] == '(') keep(t[r++]);
    if (r < size) {
      const char c = t[r];
      if (c == '-') {
        keep('\\');
        ++r;
      } else if (c == '+') {
        ++r;
      } else if (c == ')' || c == '*' || c == '/' || c == '^') {
        Fail(scMissingOperand, MsgMissingOperand);
        return;
      } else {
        keep(c);
        ++r;
      }
    }
    while (r < size) {
      const char c = t[r];
      if (c == '(') {
        while (r < size && t[r] == '(') keep(t[r++]);
        // The character after the run is a sign or the start of an operand;
        // the scan resumes behind it (behind the dropped '+', that is at the
        // character that followed it).
        if (r < size) {
          if (t[r] == '+') {
            ++r;
          } else {
            keep(t[r] == '-' ? '\\' : t[r]);
            ++r;
          }
        }
        continue;
      }
      if (c == 'E' && w > 0 && (IsDigit(t[w - 1]) || t[w - 1] == '.') && r + 1 < size) {
        if (t[r + 1] == '-') {
          keep('E');
          keep('.');
          r += 2;
          continue;
        }
        if (t[r + 1] == '+') {
          keep('E');
          r += 2;
          continue;
        }
      }
      if (Is(c, ccBinary) && Is(next(), ccNoOperand)) Fail(scMissingOperand, MsgMissingOperand);
      keep(c);
      ++r;
    }
    t.resize(w);
    if (t.empty()) {
      Fail(scCannotAnalyse, MsgInvalidTerm);
    } else if (Is(t.back(), ccNoEnd)) {
      Fail(scMissingOperand, MsgMissingOperand);
    }
  }

  // The smallest function code whose name, without its '(', ends the first
  // length characters of term_, or 0.
  int FunctionEndingAt(std::size_t length) const {
    if (length == 0) return 0;
    for (int code : Functions().CodesEndingWith(term_[length - 1])) {
      const std::string_view name = FunctionName(code);
      const std::size_t letters = name.size() - 1;
      if (letters <= length &&
          std::string_view(term_).substr(length - letters, letters) == name.substr(0, letters))
        return code;
    }
    return 0;
  }

  // Each built-in call NAME( becomes the character FunctionCharBase + code
  // followed by the FunctionMark; a '(' left behind a name is an undefined
  // function. Marking one call never changes which names end at another '(',
  // and the marks are no name characters, so a single pass that looks at the
  // text already written gives what marking name after name in table order
  // gives. The term only shrinks, so it is rewritten in place.
  void MarkFunctions() {
    std::size_t w = 0;
    const std::size_t size = term_.size();
    for (std::size_t r = 0; r < size; ++r) {
      const char c = term_[r];
      const int code = c == '(' ? FunctionEndingAt(w) : 0;
      if (code == 0) {
        term_[w] = c;
        shadow_[w] = shadow_[r];
        ++w;
        continue;
      }
      // The name's letters were written unchanged; all but the last go.
      w -= FunctionName(code).size() - 1;
      term_[w] = static_cast<char>(FunctionCharBase + code);
      term_[w + 1] = FunctionMark;
      shadow_[w] = ' ';
      shadow_[w + 1] = ' ';
      w += 2;
    }
    term_.resize(w);
    shadow_.resize(w);
    ReportUndefinedFunction();
    term_.push_back(EndMark);
  }

  void ReportUndefinedFunction() {
    for (std::size_t p = 1; p < term_.size(); ++p) {
      if (term_[p] != '(' || Is(term_[p - 1], ccGroupAfter)) continue;
      std::size_t start = p - 1;
      while (start > 0 && !Is(term_[start - 1], ccNameBoundary)) --start;
      Fail(scSyntaxError, std::string(MsgUndefinedFunction) + term_.substr(start, p - start));
      return;
    }
  }

  // Operator-precedence translation into postfix order. Pending operators wait
  // on a stack in the top of the same buffer, growing down from record 500.
  void TranslateTerm() {
    i_ = 0;
    s_ = 0;
    level_ = 0;
    n_ = 0;
    sp_ = ProgramSize + 1;
    const std::size_t end = term_.size() - 1;
    while (ok_ && i_ < term_.size()) {
      const char c = term_[i_];
      if (i_ == end) {
        Finish();
      } else if (Is(c, ccTranslate)) {
        shadow_[i_] = ' ';
        Act(c);
      }
      ++i_;
    }
  }

  void Act(char c) {
    switch (c) {
      case FunctionMark: {
        const int code = i_ == 0 ? 0 : static_cast<unsigned char>(term_[i_ - 1]) - FunctionCharBase;
        // Only a mark set by MarkFunctions carries a valid code; a typed
        // double quote does not name a function.
        if (code < 1 || code > FunctionCount || FunctionName(code).back() != '(') {
          Fail(scSyntaxError, MsgSyntaxError);
          return;
        }
        s_ = i_ + 1;
        PushOperator(ikFunction, static_cast<std::int16_t>(code), level_ + 5);
        level_ += 10;
        return;
      }
      case '(':
        level_ += 10;
        s_ = i_ + 1;
        return;
      case ')':
        if (s_ < i_) EmitOperand();
        if (!ok_) return;
        PopOperators(level_);
        level_ -= 10;
        s_ = i_ + 1;
        return;
      case '<': {
        const char next = term_[i_ + 1];
        const auto code = next == '='   ? opLessEqual
                          : next == '>' ? opNotEqual
                          : next == '<' ? opShl
                                        : opLess;
        PushOperator(ikOperator, code, level_);
        return;
      }
      case '>': {
        const char next = term_[i_ + 1];
        const auto code = next == '=' ? opGreaterEqual : next == '>' ? opShr : opGreater;
        PushOperator(ikOperator, code, level_);
        return;
      }
      default:
        break;
    }
    TOperatorCode code{};
    int rank = 0;
    switch (c) {
      case '-':
        code = opSubtract, rank = 1;
        break;
      case '+':
        code = opAdd, rank = 1;
        break;
      case '*':
        code = opMultiply, rank = 3;
        break;
      case '/':
        code = opDivide, rank = 3;
        break;
      case '\\':
        code = opNegate, rank = 3;
        break;
      case '^':
        code = opPower, rank = 4;
        break;
      case 'a':
        code = opAnd, rank = 2;
        break;
      case 'd':
        code = opDiv, rank = 3;
        break;
      case 'l':
        code = opShl, rank = 2;
        break;
      case 'o':
        code = opOr, rank = 1;
        break;
      case 'r':
        code = opShr, rank = 2;
        break;
      case 'v':
        code = opOver, rank = 4;
        break;
      case 'x':
        code = opXor, rank = 1;
        break;
      case 'm':
        code = opMod, rank = 3;
        break;
      default:
        code = opEqual, rank = 0;
        break;  // '='
    }
    PushOperator(ikOperator, code, level_ + rank);
  }

  void Finish() {
    if (s_ < i_) EmitOperand();
    if (!ok_) return;
    // Unbalanced parentheses in a constant's term can leave priorities below
    // zero; the end takes every pending operator all the same.
    PopOperators(std::numeric_limits<std::int64_t>::min());
    if (n_ + 1 > ProgramSize) {
      FailBufferFull();
      return;
    }
    buffer_[static_cast<std::size_t>(n_ + 1)].Kind = ikEnd;
  }

  // Deep nesting takes a priority beyond the 16-bit Priority field. While an
  // operator waits on the stack, its Value (never read for an operator) holds
  // the full priority, and the translation compares that.
  static Extended Waiting(std::int64_t priority) { return static_cast<Extended>(priority); }
  Extended TopPriority() const { return buffer_[static_cast<std::size_t>(sp_)].Value; }

  void PushOperator(TInstructionKind kind, std::int16_t code, std::int64_t priority) {
    if (s_ < i_) EmitOperand();
    if (!ok_) return;
    if (kind == ikOperator &&
        (code == opNotEqual || code == opGreaterEqual || code == opLessEqual)) {
      ++i_;
      shadow_[i_] = ' ';
    }
    s_ = i_ + 1;
    if (sp_ <= ProgramSize && TopPriority() >= Waiting(priority)) PopOperators(priority);
    // The stack must not grow into the program below it.
    if (sp_ - 1 <= n_) {
      FailBufferFull();
      return;
    }
    --sp_;
    TInstruction& record = buffer_[static_cast<std::size_t>(sp_)];
    record.Value = Waiting(priority);
    record.Kind = kind;
    record.Code = code;
    record.Priority = static_cast<std::uint16_t>(
        std::clamp<std::int64_t>(priority, 0, std::numeric_limits<std::uint16_t>::max()));
  }

  void PopOperators(std::int64_t priority) {
    const Extended bound = Waiting(priority);
    while (sp_ <= ProgramSize && TopPriority() >= bound) {
      ++n_;
      TInstruction& record = buffer_[static_cast<std::size_t>(n_)];
      record = buffer_[static_cast<std::size_t>(sp_)];
      record.Value = 0;
      ++sp_;
    }
  }

  // The text from s_ to before i_ is an operand: a variable, or a constant
  // folded into a number.
  void EmitOperand() {
    for (std::size_t k = s_; k < i_; ++k) shadow_[k] = ' ';
    if (n_ + 1 >= sp_) {
      FailBufferFull();
      return;
    }
    ++n_;
    TInstruction& record = buffer_[static_cast<std::size_t>(n_)];
    record = TInstruction{};
    const std::string_view text = std::string_view(term_).substr(s_, i_ - s_);
    if (varNames_ != nullptr) {
      const std::size_t count = varNames_->size();
      for (std::size_t slot = 0; slot < count; ++slot) {
        if (!EqualsIgnoringCase(text, (*varNames_)[slot])) continue;
        if (slot > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
          FailBufferFull();
          return;
        }
        record.Kind = ikVariable;
        record.Code = static_cast<std::int16_t>(slot);
        return;
      }
    }
    // Whole numbers are by far the most frequent operands. Up to 19 digits
    // their value fits the 64-bit significand exactly, so it is taken as it
    // stands, with the outcome the full reading below gives them (which also
    // enforces the nesting limit of constants).
    if (ok_ && text.size() <= 19 && context_.ConstantDepth <= MaxConstantDepth &&
        std::all_of(text.begin(), text.end(), IsDigit)) {
      std::uint64_t digits = 0;
      for (const char c : text) digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      record.Kind = ikNumber;
      record.Value = static_cast<Extended>(digits);
      result_ = scSuccess;
      message_.clear();
      return;
    }
    // The sign pass wrote an exponent's minus as '.'; it is restored here.
    // Turning "E." into "E-" never forms another "E.", so one pass does it.
    std::string_view operand = text;
    std::string restored;
    if (std::size_t at = text.find("E."); at != std::string_view::npos) {
      restored.assign(text);
      for (; at != std::string::npos; at = restored.find("E.", at + 2)) restored[at + 1] = '-';
      operand = restored;
    }
    int code = scSuccess;
    const Extended value = ConstantValue(context_, operand, constants_, code, angleFactor_);
    result_ = code;
    if (code == scNaN) {
      message_ = context_.ConstantMessage;
      return;
    }
    if (ok_) {
      record.Kind = ikNumber;
      record.Value = value;
      result_ = scSuccess;
      message_.clear();
    } else {
      result_ = scSyntaxError;
      message_.assign(operand);
      message_ += MsgDetected;
    }
  }

  void CheckConsumed() {
    if (shadow_.find_first_not_of(' ') != std::string::npos) Fail(scSyntaxError, MsgSyntaxError);
  }

  RunContext& context_;
  // context_.Ok, the flag every pass tests.
  bool& ok_;
  std::string& message_;
  TProgram& buffer_;
  const std::vector<std::string>& constants_;
  const std::vector<std::string>* varNames_;
  Extended angleFactor_;

  std::string term_;
  // The term with every consumed character blanked.
  std::string shadow_;
  int result_ = scSuccess;
  std::size_t i_ = 0;         // current position (0-based)
  std::size_t s_ = 0;         // start of the current operand
  std::int64_t level_ = 0;    // 10 per open parenthesis or call
  int n_ = 0;                 // records of the program so far
  int sp_ = ProgramSize + 1;  // top of the operator stack; ProgramSize + 1 = empty
};

}  // namespace

int CompileTerm(RunContext& context, const std::string& term, std::string& message,
                TProgram& buffer, const std::vector<std::string>& constants,
                const std::vector<std::string>* varNames, Extended angleFactor, int& count) {
  try {
    TermCompiler compiler(context, message, buffer, constants, varNames, angleFactor);
    return compiler.Compile(term, count);
  } catch (...) {
    context.Ok = false;
    message = MsgCannotAnalyze;
    return scCannotAnalyse;
  }
}

}  // namespace engine
