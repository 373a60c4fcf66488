// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/term_text.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "engine/run_context.h"

namespace engine {

// The position of a name is its function code. A name that ends another name
// stands after it, because the compiler marks names in table order.
const std::array<std::string_view, 67> FunctionNames = {
    "CABS(",    "SQRT(",    "LN(",      "EXP(",      "ARCSIN(", "ARCCOS(", "ARCTAN(", "ARTANH(",
    "REZ(",     "INVERF(",  "SGN(",     "CBRT(",     "ARSINH(", "ARCOSH(", "SINH(",   "COSH(",
    "TANH(",    "TAN(",     "ERF(",     "GAUSS(",    "LG(",     "J0(",     "J1(",     "J2(",
    "J3(",      "J4(",      "J5(",      "SIN(",      "COS(",    "THETA(",  "FRAC(",   "INT(",
    "SI(",      "CI(",      "EI(",      "LI(",       "GAMMA(",  "LB(",     "SQR(",    "ARCCOT(",
    "ARCOTH(",  "COTH(",    "COT(",     "RND(",      "MAX(",    "MIN(",    "ROOT(",   "LOG(",
    "J(",       "ATAN2(",   "POISSON(", "NORMRAND(", "MODULO(", "BINO(",   "ABS(",    "FAC(",
    "BNOT(",    "        ", "IF(",      "NOT(",      "CEIL(",   "FLOOR(",  "ODD(",    "ROUND(",
    "POIRAND(", "RAND(",    "POICUM(",
};

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Operator words are recognised only between a closing and an opening
// parenthesis; the order matters for nothing but is kept fixed.
struct OperatorWord {
  std::string_view Word;
  std::string_view Letter;
};
constexpr std::array<OperatorWord, 8> kOperatorWords = {{
    {")AND(", ")a("},
    {")OR(", ")o("},
    {")XOR(", ")x("},
    {")SHL(", ")l("},
    {")SHR(", ")r("},
    {")MOD(", ")m("},
    {")DIV(", ")d("},
    {")OVER(", ")v("},
}};

// Replaces occurrences from left to right without looking at the replacement
// again; used only when the replacement contains the search text, where the
// repeated search from the start would never end.
std::string ReplaceOnce(const std::string& text, std::string_view search,
                        std::string_view replacement) {
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
    out.append(text, from, at - from);
    out.append(replacement);
    from = at + search.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

// Length of the run of digits starting at position i.
std::size_t DigitRun(std::string_view text, std::size_t i) {
  std::size_t start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i - start;
}

// The "C" locale, so that a number is read with '.' whatever the process's
// locale. Created once and kept for the life of the process.
locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

// 10^0 .. 10^19, each exact in 64 bits and so in the extended format.
constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

// The value of a literal accepted by IsNumber with at most 19 significant
// digits and a decimal scale within 10^-19 .. 10^19. The digits and the power
// of ten are both exact extended values, so one division or multiplication
// rounds the exact decimal value once, as the full conversion would; most
// literals in terms are of this kind and need no more. False for any other.
bool ShortNumberValue(std::string_view text, long double& value) {
  std::size_t i = 0;
  const bool negative = text[0] == '-';
  if (text[0] == '-' || text[0] == '+') ++i;
  std::uint64_t digits = 0;
  int significant = 0;
  int scale = 0;
  bool fraction = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      fraction = true;
      continue;
    }
    if (!IsDigit(c)) break;
    if (digits != 0 || c != '0') {
      if (++significant > 19) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (fraction) --scale;
  }
  if (i < text.size()) {  // the exponent
    ++i;
    const bool negativeExponent = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    int exponent = 0;
    for (; i < text.size(); ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > 1000) return false;
    }
    scale += negativeExponent ? -exponent : exponent;
  }
  if (scale < -19 || scale > 19) return false;
  const auto mantissa = static_cast<long double>(digits);
  const auto power =
      static_cast<long double>(kPowersOfTen[static_cast<std::size_t>(std::abs(scale))]);
  value = scale < 0 ? mantissa / power : mantissa * power;
  if (negative) value = -value;
  return true;
}

}  // namespace

void NormaliseTerm(std::string& text, bool replaceOperatorWords) {
  // Dropping and upper-casing never lengthen the text, so it is done in place.
  // The same pass notes whether any later replacement can apply at all.
  bool separators = false;
  bool words = false;
  std::size_t w = 0;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 1 && code <= 32) continue;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    separators = separators || c == ';';
    // every operator word starts with one of these letters, after a ')'
    words = words || (w > 0 && text[w - 1] == ')' &&
                      (c == 'A' || c == 'O' || c == 'X' || c == 'S' || c == 'M' || c == 'D'));
    text[w++] = c;
  }
  text.resize(w);
  if (separators) text = ReplaceAll(std::move(text), ";", ")(");
  if (replaceOperatorWords && (words || separators)) {
    for (const auto& word : kOperatorWords) {
      if (text.find(word.Word) != std::string::npos)
        text = ReplaceAll(std::move(text), word.Word, word.Letter);
    }
  }
}

// The result is the same as searching from the start after every replacement,
// but it is built in one pass: the text before the first occurrence never
// changes, so each character is moved to the output once, and a replacement is
// fed back in front of the rest so that occurrences it forms with the output
// are found as the repeated search would find them.
std::string ReplaceAll(std::string text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return text;
  const std::size_t first = text.find(search);
  if (first == std::string::npos) return text;
  if (replacement.find(search) != std::string_view::npos)
    return ReplaceOnce(text, search, replacement);

  std::string out;
  out.reserve(text.size() + (replacement.size() > search.size() ? text.size() : 0));
  out.append(text, 0, first);
  // Characters still to be fed, the next one last.
  std::string pending;
  std::size_t next = first;
  const char last = search.back();
  for (;;) {
    char c;
    if (!pending.empty()) {
      c = pending.back();
      pending.pop_back();
    } else if (next < text.size()) {
      c = text[next++];
    } else {
      break;
    }
    out.push_back(c);
    if (c == last && out.size() >= search.size() &&
        std::string_view(out).substr(out.size() - search.size()) == search) {
      out.resize(out.size() - search.size());
      pending.append(replacement.rbegin(), replacement.rend());
    }
  }
  return out;
}

bool CheckParentheses(std::string_view text, RunContext& context) {
  std::size_t open = 0;
  std::size_t close = 0;
  for (char c : text) {
    if (c == '(') {
      ++open;
    } else if (c == ')') {
      ++close;
      if (close > open) break;
    }
  }
  const bool balanced = open == close;
  context.ConstantMessage = balanced ? "" : "Wrong parentheses";
  return balanced;
}

bool ExtractGroup(std::string_view text, std::size_t p, std::string& group) {
  const std::size_t from = p == 0 ? 0 : p - 1;
  if (from >= text.size()) return false;
  const std::size_t open = text.find('(', from);
  if (open == std::string_view::npos) return false;
  std::size_t depth = 1;
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')' && --depth == 0) {
      group.assign(text.substr(open + 1, i - open - 1));
      return true;
    }
  }
  return false;
}

// [sign] (digits [. digits*] | . digits) [E [sign] digits]; the exponent letter
// may be written in either case, as the runtime's own reading allows.
bool IsNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t whole = DigitRun(text, i);
  i += whole;
  std::size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    fraction = DigitRun(text, i);
    i += fraction;
  }
  if (whole == 0 && fraction == 0) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent = DigitRun(text, i);
    if (exponent == 0) return false;
    i += exponent;
  }
  return i == text.size();
}

bool ReadNumber(std::string_view text, long double& value) {
  if (!IsNumber(text)) return false;
  if (ShortNumberValue(text, value)) return true;
  // strtold needs a terminated string; literals are short, so this stays in
  // the string's own small buffer.
  const std::string literal(text);
  // Correctly rounded to the nearest extended value; a literal beyond the
  // range gives infinity, one below it a tiny value or zero.
  const locale_t classic = ClassicLocale();
  if (classic == static_cast<locale_t>(nullptr)) {
    value = std::numeric_limits<long double>::quiet_NaN();
  } else {
    value = strtold_l(literal.c_str(), nullptr, classic);
  }
  return true;
}

long double NumberValue(std::string_view text) {
  long double value = 0;
  ReadNumber(text, value);
  return value;
}

}  // namespace engine
