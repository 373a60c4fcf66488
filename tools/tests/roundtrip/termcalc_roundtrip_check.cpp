// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Checks that every value termcalc shows reads back to exactly the same
// 80-bit value: random bit patterns over the whole range (subnormals and
// both signs included) and the extremes, written by AppendValue and read by
// the engine's number reader and, for a sample, through a whole term.
//   termcalc_roundtrip_check [COUNT]   (default 10000000)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calculator.h"
#include "engine/extended.h"
#include "engine/term_text.h"
#include "format.h"

namespace {

using engine::Extended;
using engine::ExtendedFromBits;

// Values where rounding and the choice of form are most likely to go wrong.
std::vector<Extended> Extremes() {
  using Limits = std::numeric_limits<Extended>;
  std::vector<Extended> values = {
      0.0L,
      Limits::denorm_min(),
      Limits::min(),
      Limits::min() - Limits::denorm_min(),  // the largest subnormal
      Limits::max(),
      Limits::epsilon(),
      1.0L,
      1.0L + Limits::epsilon(),
      1.0L - Limits::epsilon() / 2,
      engine::ExtPi,
      2.0L - 0x1p-63L,
      0.002L,
      1e20L,
      1e21L,
      1e-6L,
      1e-7L,
      18446744073709551615.0L,
      18446744073709551616.0L,
  };
  for (int exponent = -4951; exponent <= 4932; exponent += 7) {
    values.push_back(std::strtold(("1E" + std::to_string(exponent)).c_str(), nullptr));
  }
  const std::size_t count = values.size();
  for (std::size_t i = 0; i < count; ++i) values.push_back(-values[i]);
  return values;
}

// A random finite pattern: any exponent, with the integer bit as the format
// requires it (clear for subnormals, set otherwise).
Extended RandomValue(std::mt19937_64& random) {
  const std::uint64_t bits = random();
  const auto exponent = static_cast<std::uint16_t>(random() % 0x7FFF);
  std::uint64_t significand = bits & 0x7FFFFFFFFFFFFFFFULL;
  if (exponent != 0) significand |= 0x8000000000000000ULL;
  const std::uint16_t sign = (random() & 1) != 0 ? 0x8000 : 0;
  return ExtendedFromBits(static_cast<std::uint16_t>(sign | exponent), significand);
}

bool SameBits(Extended a, Extended b) {
  return engine::BitsOf(a) == engine::BitsOf(b);
}

}  // namespace

int main(int argc, char** argv) {
  const long long count = argc > 1 ? std::atoll(argv[1]) : 10000000;
  std::mt19937_64 random(20261207);
  long long failures = 0;
  long long checked = 0;
  auto check = [&](Extended value) {
    std::string text;
    termcalc::AppendValue(text, value);
    Extended back = 0;
    ++checked;
    if (!engine::ReadNumber(text, back) || !SameBits(back, value)) {
      if (++failures <= 10) std::fprintf(stderr, "does not read back: %s\n", text.c_str());
    }
  };
  for (Extended value : Extremes()) check(value);
  for (long long i = 0; i < count; ++i) check(RandomValue(random));

  // A sample through a whole term, as a user would type a result back in;
  // a negative result is typed with its sign in front of the term.
  termcalc::Calculator calculator(termcalc::Options{});
  for (int i = 0; i < 10000; ++i) {
    const Extended value = RandomValue(random);
    std::string text;
    termcalc::AppendValue(text, value);
    std::string out;
    std::string expected;
    termcalc::AppendValue(expected, value);
    ++checked;
    if (!calculator.Run(text, out) || out != expected) {
      if (++failures <= 10) std::fprintf(stderr, "term %s gave %s\n", text.c_str(), out.c_str());
    }
  }
  std::printf("%lld values checked, %lld did not read back\n", checked, failures);
  return failures == 0 ? 0 : 1;
}
