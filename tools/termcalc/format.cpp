// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "format.h"

#include <algorithm>
#include <array>
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
  int count = 0;
  int exponent = 0;
  // At most 21 significant digits (the --digits limit; shortest texts of the
  // 80-bit format need at most 21 too).
  char digits[24] = {};
};

// Any value by the standard library's conversion: exact, but for the 80-bit
// format it works with big integers and takes most of termcalc's time.
Decimal ToDecimalGeneral(engine::Extended value, int significantDigits) {
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
    if (*p != '.' && decimal.count < static_cast<int>(sizeof decimal.digits)) {
      decimal.digits[decimal.count++] = *p;
    }
  }
  if (p < end) decimal.exponent = std::atoi(std::string(p + 1, end).c_str());
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
  if (decimal.count == 0) decimal.digits[decimal.count++] = '0';
  return decimal;
}

// 10^0 to 10^27: each exact in the 80-bit format (5^27 < 2^63).
constexpr int kLargestExactPower = 27;
constexpr std::array<engine::Extended, kLargestExactPower + 1> kPowersOfTen = [] {
  std::array<engine::Extended, kLargestExactPower + 1> powers{};
  engine::Extended power = 1;
  for (engine::Extended& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

// The digits of n > 0 without trailing zeros, and the number of digits n
// had before they were dropped.
int SetDigits(Decimal& decimal, std::uint64_t n) {
  int dropped = 0;
  for (; n % 10 == 0; n /= 10) ++dropped;
  char reversed[20];
  int length = 0;
  for (; n != 0; n /= 10) reversed[length++] = static_cast<char>('0' + n % 10);
  decimal.count = length;
  for (int i = 0; i < length; ++i) decimal.digits[i] = reversed[length - 1 - i];
  return length + dropped;
}

// True when the x87 rounds to nearest at 64-bit precision, the setting the
// check of a short decimal relies on (termcalc never changes it, and the
// engine gives the host's setting back after every call).
bool RoundsToNearestExtended() {
  std::uint16_t control = 0;
  asm volatile("fnstcw %0" : "=m"(control));
  return (control & 0x0F00) == 0x0300;
}

// The shortest text of the values nearly all terms give, without the
// general conversion: integers below 2^64 and values that are the rounding
// of a decimal of at most 18 significant digits (0.002, 17.25, 1E-9).
// Exact: an integer below 2^64 is its own shortest text, as its neighbours
// are at most 1 apart. For decimals, a 64-bit significand keeps two
// different decimals of 18 digits apart (their relative distance is at
// least 1E-18, an 80-bit value's rounding interval at most 2^-63 ~ 1.1E-19
// wide), so a value that is the rounding of such a decimal has it as its
// only text of 18 digits or fewer, and so as its shortest. False for every
// other value: the general conversion decides those.
bool ToShortDecimal(engine::Extended value, Decimal& decimal) {
  const engine::ExtendedBytes bits = engine::BitsOf(value);
  decimal.negative = (bits.SignExponent & 0x8000) != 0;
  const int biased = bits.SignExponent & 0x7FFF;
  if (biased == 0 && bits.Significand == 0) {
    decimal.count = 1;
    decimal.digits[0] = '0';
    decimal.exponent = 0;
    return true;
  }
  // Unnormals, pseudo-denormals and the like are left to the general path.
  if ((bits.Significand >> 63) == 0 || biased == 0x7FFF) return false;
  // value = significand * 2^(exponent - 63), 1 <= |value| / 2^exponent < 2
  const int exponent = biased - 16383;
  if (exponent >= 0 && exponent <= 63) {
    const int fractionBits = 63 - exponent;
    if (fractionBits == 0 || (bits.Significand << (64 - fractionBits)) == 0) {
      const int length = SetDigits(decimal, bits.Significand >> fractionBits);
      decimal.exponent = length - 1;
      return true;
    }
  }
  // Non-integers from 2^-34 (about 6E-11) up: scale to 17 or 18 digits before the point
  // with an exact power of ten; a decimal of at most 18 digits lands within
  // 0.11 of an integer n. The value is that decimal's rounding exactly when
  // n / 10^k, correctly rounded, gives it back.
  if (exponent < -34 || exponent > 59 || !RoundsToNearestExtended()) return false;
  // floor(log10 |value|) is lowerDecimal or lowerDecimal + 1.
  const int lowerDecimal = (exponent * 1233) >> 12;  // 1233 / 4096 ~ log10(2)
  int scale = 16 - lowerDecimal;
  if (scale < 0 || scale > kLargestExactPower) return false;
  const engine::Extended magnitude = decimal.negative ? -value : value;
  engine::Extended scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(scale)];
  if (scaled < 1e17L && scale < kLargestExactPower) {
    ++scale;
    scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(scale)];
  }
  const auto n = static_cast<std::uint64_t>(scaled + 0.5L);
  constexpr std::uint64_t kLargestN = 1000000000000000000ULL;  // 10^18
  if (n == 0 || n > kLargestN ||
      static_cast<engine::Extended>(n) / kPowersOfTen[static_cast<std::size_t>(scale)] !=
          magnitude) {
    return false;
  }
  const int length = SetDigits(decimal, n);
  decimal.exponent = length - 1 - scale;
  return true;
}

Decimal ToDecimal(engine::Extended value, int significantDigits) {
  Decimal decimal;
  if (significantDigits == 0 && ToShortDecimal(value, decimal)) return decimal;
  return ToDecimalGeneral(value, significantDigits);
}

// The decimal in plain or exponent form.
void AppendDecimal(std::string& out, const Decimal& decimal) {
  const std::string_view digits(decimal.digits, static_cast<std::size_t>(decimal.count));
  const int exponent = decimal.exponent;
  const int count = decimal.count;
  if (decimal.negative) out += '-';
  if (exponent < kSmallestPlainExponent || exponent > kLargestPlainExponent) {
    out += digits[0];
    if (count > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    char text[8];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, exponent);
    out.append(text, written.ptr);
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

// nan and the infinities; false for finite values.
bool AppendNonFinite(std::string& out, engine::Extended value) {
  if (std::isnan(value)) {
    out += "nan";
    return true;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-inf" : "inf";
    return true;
  }
  return false;
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
  if (!AppendNonFinite(out, value)) AppendDecimal(out, ToDecimal(value, significantDigits));
}

void AppendValueGeneral(std::string& out, engine::Extended value, int significantDigits) {
  if (!AppendNonFinite(out, value)) {
    AppendDecimal(out, ToDecimalGeneral(value, significantDigits));
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
