// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Checks that termcalc's short cut for integers and short decimals writes
// exactly what the standard library's general conversion writes: AppendValue
// against AppendValueGeneral, byte for byte, on values where the short cut
// applies, where it just fails to, and anywhere else, in every rounding mode.
//   termcalc_format_check [COUNT]        (default 1000000 values)
//   termcalc_format_check --terms COUNT  writes COUNT random terms of the
//                                        same kinds, one per line, for
//                                        comparing two termcalc builds
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "engine/extended.h"
#include "engine/term_text.h"
#include "format.h"

namespace {

using engine::Extended;

constexpr Extended kInfinity = std::numeric_limits<Extended>::infinity();

// A decimal of 1 to 21 random significant digits with a random sign and
// power of ten, as text ("-1234.5", "0.00042", "7E-19").
std::string RandomDecimalText(std::mt19937_64& random) {
  const int digits = 1 + static_cast<int>(random() % 21);
  std::string mantissa;
  for (int i = 0; i < digits; ++i) {
    mantissa += static_cast<char>('0' + random() % 10);
  }
  if (mantissa[0] == '0') mantissa[0] = '1';
  const int exponent = static_cast<int>(random() % 61) - 30;
  std::string text = (random() & 1) != 0 ? "-" : "";
  text += mantissa;
  text += 'E';
  text += std::to_string(exponent - digits + 1);
  return text;
}

// An integer of up to 20 digits (2^64 and a little beyond).
std::string RandomIntegerText(std::mt19937_64& random) {
  const int digits = 1 + static_cast<int>(random() % 20);
  std::string text = (random() & 3) == 0 ? "-" : "";
  for (int i = 0; i < digits; ++i) {
    text += static_cast<char>('0' + random() % 10);
  }
  return text;
}

// What task terms give: sums, products and quotients of short numbers.
std::string RandomTaskText(std::mt19937_64& random) {
  static constexpr char kOperators[] = "+-*/";
  auto operand = [&] {
    std::string text = std::to_string(random() % 2000);
    if ((random() & 3) == 0) text += "." + std::to_string(random() % 1000);
    return text;
  };
  return operand() + kOperators[random() % 4] + operand();
}

// Any finite bit pattern of the format, the integer bit as the format wants.
Extended RandomBits(std::mt19937_64& random) {
  const auto exponent = static_cast<std::uint16_t>(random() % 0x7FFF);
  std::uint64_t significand = random() & 0x7FFFFFFFFFFFFFFFULL;
  if (exponent != 0) significand |= 0x8000000000000000ULL;
  const std::uint16_t sign = (random() & 1) != 0 ? 0x8000 : 0;
  return engine::ExtendedFromBits(static_cast<std::uint16_t>(sign | exponent), significand);
}

// One value of a kind chosen at random; a term text where the kind has one.
Extended RandomValue(std::mt19937_64& random, std::string* term) {
  std::string text;
  Extended value = 0;
  bool task = false;
  switch (random() % 6) {
    case 0:
      text = RandomDecimalText(random);
      break;
    case 1:
      text = RandomIntegerText(random);
      break;
    case 2:
      text = RandomTaskText(random);
      task = true;
      break;
    case 3: {
      // A short decimal's neighbours: the nearest values that are not it.
      text = RandomDecimalText(random);
      Extended base = 0;
      engine::ReadNumber(text, base);
      const int steps = 1 + static_cast<int>(random() % 2);
      value = base;
      for (int i = 0; i < steps; ++i) {
        value = std::nextafter(value, (random() & 1) != 0 ? kInfinity : -kInfinity);
      }
      text.clear();
      break;
    }
    case 4:
      value = RandomBits(random);
      break;
    default:
      // Near the limits of the short cut: 2^64, 1E-10, 1E18.
      value =
          std::ldexp(static_cast<Extended>(random() >> 1), static_cast<int>(random() % 140) - 98);
      break;
  }
  if (!text.empty()) {
    if (task) {
      const std::size_t op = text.find_first_of("+-*/", 1);
      Extended a = 0;
      Extended b = 0;
      engine::ReadNumber(text.substr(0, op), a);
      engine::ReadNumber(text.substr(op + 1), b);
      switch (text[op]) {
        case '+':
          value = a + b;
          break;
        case '-':
          value = a - b;
          break;
        case '*':
          value = a * b;
          break;
        default:
          value = b != 0 ? a / b : a;
          break;
      }
    } else {
      const bool negative = text[0] == '-';
      engine::ReadNumber(negative ? text.substr(1) : text, value);
      if (negative) value = -value;
    }
  }
  if (term != nullptr) {
    if (text.empty()) termcalc::AppendValueGeneral(text, value);
    *term = text;
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  std::mt19937_64 random(20261208);
  if (argc == 3 && std::strcmp(argv[1], "--terms") == 0) {
    const long long count = std::atoll(argv[2]);
    std::string term;
    for (long long i = 0; i < count; ++i) {
      RandomValue(random, &term);
      std::printf("%s\n", term.c_str());
    }
    return 0;
  }
  const long long count = argc > 1 ? std::atoll(argv[1]) : 1000000;
  static constexpr int kModes[] = {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO};
  long long checked = 0;
  long long failures = 0;
  auto check = [&](Extended value, int mode) {
    std::fesetround(mode);
    std::string fast;
    termcalc::AppendValue(fast, value);
    std::fesetround(FE_TONEAREST);
    std::string general;
    termcalc::AppendValueGeneral(general, value);
    ++checked;
    if (fast != general && ++failures <= 10) {
      const engine::ExtendedBytes bits = engine::BitsOf(value);
      std::fprintf(stderr, "0x%04X %016llX in mode %d: %s, the general conversion %s\n",
                   bits.SignExponent, static_cast<unsigned long long>(bits.Significand), mode,
                   fast.c_str(), general.c_str());
    }
  };
  for (const Extended value :
       {0.0L, -0.0L, 1.0L, -1.0L, 0x1p63L, 0x1p64L - 1, 0x1p64L, 1e17L, 1e18L, 1e-10L, 1e-11L, 0.1L,
        0.3L, 1e-6L, 1e20L, 1e21L, 999999999999999999.0L, 0.999999999999999999L}) {
    for (const int mode : kModes) check(value, mode);
  }
  for (long long i = 0; i < count; ++i) {
    // Most values in the default mode, which termcalc runs in; a sample in
    // the others, where the short cut must step aside.
    const int mode = i % 16 == 0 ? kModes[1 + (i / 16) % 3] : FE_TONEAREST;
    check(RandomValue(random, nullptr), mode);
  }
  std::printf("%lld values checked, %lld written differently\n", checked, failures);
  return failures == 0 ? 0 : 1;
}
