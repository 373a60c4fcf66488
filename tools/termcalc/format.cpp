// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace termcalc {

namespace {

constexpr bool IsTokenChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Blanks and control characters, which normalisation drops from a term.
constexpr bool IsDropped(char c) {
  return c >= 1 && c <= 32;
}

// The significant decimal digits of a value (no trailing zeros; "0" for
// zero) and the power of ten of the first: d1.d2d3... * 10^exponent.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

Decimal ToDecimal(engine::Extended value, int significantDigits) {
  // Scientific form holds at most 1 sign + 21 digits + point + "e-4951".
  char buffer[64];
  const std::to_chars_result written =
      significantDigits == 0
          ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific)
          : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                          significantDigits - 1);
  Decimal decimal;
  const char* p = buffer;
  const char* end = written.ec == std::errc() ? written.ptr : buffer;
  if (p < end && *p == '-') {
    decimal.negative = true;
    ++p;
  }
  for (; p < end && *p != 'e'; ++p) {
    if (*p != '.') decimal.digits += *p;
  }
  if (p < end) decimal.exponent = std::atoi(std::string(p + 1, end).c_str());
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  if (decimal.digits.empty()) decimal.digits = "0";
  return decimal;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (byte < 32) {
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 15];
        } else {
          out += c;
        }
    }
  }
}

std::string Escape(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

void AppendValue(std::string& out, engine::Extended value, int significantDigits) {
  if (std::isnan(value)) {
    out += "nan";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-inf" : "inf";
    return;
  }
  const Decimal decimal = ToDecimal(value, significantDigits);
  const std::string& digits = decimal.digits;
  const int exponent = decimal.exponent;
  const auto count = static_cast<int>(digits.size());
  if (decimal.negative) out += '-';
  if (exponent < kSmallestPlainExponent || exponent > kLargestPlainExponent) {
    out += digits[0];
    if (count > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else if (count <= exponent + 1) {
    out += digits;
    out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
  } else {
    out.append(digits, 0, static_cast<std::size_t>(exponent) + 1);
    out += '.';
    out.append(digits, static_cast<std::size_t>(exponent) + 1);
  }
}

void AppendResult(std::string& out, std::uint8_t code, engine::Extended value,
                  std::string_view text, int significantDigits) {
  if (code != 0) {
    out += "error ";
    out += std::to_string(code);
    out += ": ";
    AppendEscaped(out, text);
    return;
  }
  AppendValue(out, value, significantDigits);
  if (!text.empty()) {
    out += "\twarning: ";
    AppendEscaped(out, text);
  }
}

std::string CaretLine(std::string_view term, std::uint8_t code, std::string_view message) {
  if (code != 3) return {};
  // The two messages that name what the compiler could not read.
  static constexpr std::string_view kUndefined = "Undefined Function: ";
  static constexpr std::string_view kDetected = " was detected in the string.";
  std::string_view token;
  if (message.substr(0, kUndefined.size()) == kUndefined) {
    token = message.substr(kUndefined.size());
  } else if (const std::size_t at = message.find(kDetected); at != std::string_view::npos) {
    token = message.substr(0, at);
  }
  if (token.empty()) return {};
  // The token as normalisation left it: upper case, blanks dropped. Find it
  // in the text as typed, as a word of its own.
  for (std::size_t start = 0; start < term.size(); ++start) {
    if (IsDropped(term[start]) || (start > 0 && IsTokenChar(term[start - 1]))) continue;
    std::size_t i = start;
    std::size_t matched = 0;
    while (i < term.size() && matched < token.size()) {
      if (matched > 0 && IsDropped(term[i])) {
        ++i;
        continue;
      }
      if (Upper(term[i]) != token[matched]) break;
      ++i;
      ++matched;
    }
    if (matched < token.size() ||
        (i < term.size() && IsTokenChar(term[i]) && IsTokenChar(token.back()))) {
      continue;
    }
    // Columns count characters, not bytes: a UTF-8 sequence is one column.
    auto columns = [&](std::size_t from, std::size_t to) {
      std::size_t n = 0;
      for (std::size_t k = from; k < to; ++k) {
        if ((static_cast<unsigned char>(term[k]) & 0xC0) != 0x80) ++n;
      }
      return n;
    };
    return std::string(columns(0, start), ' ') +
           std::string(std::max<std::size_t>(columns(start, i), 1), '^');
  }
  return {};
}

}  // namespace termcalc
