// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "expression_text.h"

#include <array>

#include "engine/interpreter.h"
#include "engine/term_text.h"

namespace engine {

namespace {

// Characters that end a name or number; everything else belongs to one.
bool IsBoundary(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
    case '<':
    case '>':
    case '\\':
    case '(':
    case ')':
    case ';':
      return true;
    default:
      return false;
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The operator words, recognised between ')' and '(' as the engine does.
bool IsOperatorWord(std::string_view word) {
  static constexpr std::array<std::string_view, 8> kWords = {"AND", "OR",  "XOR", "SHL",
                                                             "SHR", "MOD", "DIV", "OVER"};
  for (const std::string_view w : kWords) {
    if (w == word) return true;
  }
  return false;
}

// The number of arguments of a built-in function named name; 0 for a name
// that is none (a user function: its count is the declarations' business).
int BuiltInArity(std::string_view name) {
  for (int code = 1; code <= FunctionCount; ++code) {
    const std::string_view entry = FunctionName(code);
    if (entry.size() == name.size() + 1 && entry.substr(0, name.size()) == name) {
      return FunctionArity(code);
    }
  }
  return 0;
}

struct Token {
  enum Kind { Operand, Call, Open, Close, Separator, Operator } Type;
  std::size_t Start;      // in the normalised text
  std::string_view Text;  // a call's name without its '('
};

std::vector<Token> Tokens(const std::string& text) {
  std::vector<Token> tokens;
  const std::size_t size = text.size();
  std::size_t p = 0;
  while (p < size) {
    const char c = text[p];
    const std::size_t start = p;
    if (c == '(' || c == ')' || c == ';') {
      tokens.push_back({c == '('   ? Token::Open
                        : c == ')' ? Token::Close
                                   : Token::Separator,
                        p, std::string_view(text).substr(p, 1)});
      ++p;
      continue;
    }
    if (IsBoundary(c)) {
      // <=, >=, <>, << and >> are one operator each.
      const char next = p + 1 < size ? text[p + 1] : '\0';
      const bool pair = (c == '<' && (next == '=' || next == '>' || next == '<')) ||
                        (c == '>' && (next == '=' || next == '>'));
      p += pair ? 2 : 1;
      tokens.push_back({Token::Operator, start, std::string_view(text).substr(start, p - start)});
      continue;
    }
    const bool number = IsDigit(c) || c == '.';
    while (p < size && !IsBoundary(text[p])) {
      // An exponent's sign belongs to its number.
      if (number && text[p] == 'E' && p + 1 < size && (text[p + 1] == '-' || text[p + 1] == '+')) {
        ++p;
      }
      ++p;
    }
    const std::string_view word = std::string_view(text).substr(start, p - start);
    const bool call = p < size && text[p] == '(';
    if (call && !tokens.empty() && tokens.back().Type == Token::Close && IsOperatorWord(word)) {
      tokens.push_back({Token::Operator, start, word});
    } else if (call) {
      tokens.push_back({Token::Call, start, word});
      ++p;
    } else {
      tokens.push_back({Token::Operand, start, word});
    }
  }
  return tokens;
}

}  // namespace

TermLocator::TermLocator(std::string_view text) {
  normal_.reserve(text.size());
  origin_.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 1 && c <= 32) continue;
    normal_.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c));
    origin_.push_back(i);
  }
}

std::optional<std::size_t> TermLocator::UnbalancedParenthesis() const {
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < normal_.size(); ++i) {
    const char c = normal_[i];
    // ';' separates arguments as ")(" does: it closes one and opens the next.
    if (c == ')' || c == ';') {
      if (open.empty()) return origin_[i];
      open.pop_back();
    }
    if (c == '(' || c == ';') open.push_back(i);
  }
  if (open.empty()) return std::nullopt;
  return origin_[open.back()];
}

std::optional<std::size_t> TermLocator::FirstMisfit() const {
  struct Frame {
    bool call;
    int arity;  // 0: not known
    int arguments;
  };
  std::vector<Frame> frames;
  bool operandDue = true;
  std::optional<std::size_t> lastOperator;
  const std::vector<Token> tokens = Tokens(normal_);
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    const Token& token = tokens[k];
    const std::size_t at = origin_[token.Start];
    switch (token.Type) {
      case Token::Operand:
        if (!operandDue) return at;
        operandDue = false;
        break;
      case Token::Call:
        if (!operandDue) return at;
        frames.push_back({true, BuiltInArity(token.Text), 1});
        break;
      case Token::Open:
        if (!operandDue) return at;
        frames.push_back({false, 0, 0});
        break;
      case Token::Close: {
        if (operandDue || frames.empty()) return at;
        const Frame frame = frames.back();
        frames.pop_back();
        if (frame.call && frame.arguments < frame.arity) return at;
        break;
      }
      case Token::Separator:
        if (operandDue || frames.empty() || !frames.back().call) return at;
        if (frames.back().arity > 0 && ++frames.back().arguments > frames.back().arity) return at;
        operandDue = true;
        break;
      case Token::Operator: {
        // A sign may open the term, a group or an argument.
        const bool sign = token.Text == "-" || token.Text == "+";
        const bool opening = k == 0 || tokens[k - 1].Type == Token::Open ||
                             tokens[k - 1].Type == Token::Call ||
                             tokens[k - 1].Type == Token::Separator;
        if (operandDue && !(sign && opening)) return at;
        operandDue = true;
        lastOperator = at;
        break;
      }
    }
  }
  if (operandDue && !tokens.empty()) return lastOperator;
  return std::nullopt;
}

std::optional<std::size_t> TermLocator::FindName(std::string_view name, bool call) const {
  for (const Token& token : Tokens(normal_)) {
    if (token.Type == (call ? Token::Call : Token::Operand) && token.Text == name) {
      return origin_[token.Start];
    }
  }
  return std::nullopt;
}

std::string OneLine(std::string_view message) {
  std::string line;
  line.reserve(message.size());
  bool pendingBlank = false;
  for (const char c : message) {
    if (c == '\n' || c == '\r') {
      pendingBlank = !line.empty();
      continue;
    }
    if (pendingBlank) line.push_back(' ');
    pendingBlank = false;
    line.push_back(c);
  }
  return line;
}

}  // namespace engine
