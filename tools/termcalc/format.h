// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc's output: one line per term, texts escaped so that a line never
// breaks and every byte stays visible.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/extended.h"

namespace termcalc {

// LF as \n, CR as \r, TAB as \t, backslash as \\, any other byte below 32 as
// \xHH; every other byte as it is.
void AppendEscaped(std::string& out, std::string_view text);
std::string Escape(std::string_view text);

// Exponents of ten from which on a value is written in exponent form: 1E21
// and 1E-7, but 100000000000000000000 and 0.000001.
inline constexpr int kLargestPlainExponent = 20;
inline constexpr int kSmallestPlainExponent = -6;

// The value as decimal text that termcalc reads back: with significantDigits
// 0 the shortest text that reads back to exactly the same value, else the
// value rounded to that many (1 to 21) significant digits, trailing zeros
// dropped. Plain decimals between the exponents above, else one digit before
// the point and "E" with the exponent ("1.5E-300"). Independent of the locale.
void AppendValue(std::string& out, engine::Extended value, int significantDigits = 0);

// The same text, always made by the standard library's general conversion:
// AppendValue takes an exact short cut for integers and short decimals, and
// the two must agree byte for byte.
void AppendValueGeneral(std::string& out, engine::Extended value, int significantDigits = 0);

// The line for one term, without its line break: the value, the value with a
// warning, or "error CODE: TEXT".
void AppendResult(std::string& out, std::uint8_t code, engine::Extended value,
                  std::string_view text, int significantDigits = 0);

// For a failure that names a token of the term (code 3: an unknown function
// or name), spaces and carets that mark the token when printed under the
// term as typed; empty when the failure names none or it cannot be found.
std::string CaretLine(std::string_view term, std::uint8_t code, std::string_view message);

}  // namespace termcalc
