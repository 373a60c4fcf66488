// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Term text: normalisation, the parentheses check and the small text
// operations that declarations and compiler share. Positions are 1-based where
// the algorithms speak of them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace engine {

struct RunContext;

// Built-in function names with their '('; the 1-based position is the function
// code. Entry 58 is eight blanks and never matches a normalised term.
extern const std::array<std::string_view, 67> FunctionNames;
inline std::string_view FunctionName(int code) {
  return FunctionNames[code - 1];
}

// Drops characters 1..32, upper-cases a..z, turns ';' into ")(" and, when
// asked, the operator words between ")" and "(" into their letters.
void NormaliseTerm(std::string& text, bool replaceOperatorWords);

// Every occurrence of search replaced, searching from the start after each
// replacement.
std::string ReplaceAll(std::string text, std::string_view search, std::string_view replacement);

// True when the parentheses balance; also sets the context's ConstantMessage
// to "" or "Wrong parentheses".
bool CheckParentheses(std::string_view text, RunContext& context);

// The contents of the first parenthesised group at or after position p
// (1-based); false when there is no complete group.
bool ExtractGroup(std::string_view text, std::size_t p, std::string& group);

// True when the whole text is a real-number literal ("12", "1.5", "2E-3").
bool IsNumber(std::string_view text);
// When the whole text is a real-number literal: true, and its value in value,
// read with '.' as decimal point whatever the locale. Otherwise false, and
// value is left as it was. One pass for callers that check and read.
bool ReadNumber(std::string_view text, long double& value);
// The value of a literal accepted by IsNumber; 0 for any other text.
long double NumberValue(std::string_view text);

}  // namespace engine
