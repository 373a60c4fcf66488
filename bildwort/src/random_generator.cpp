// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "random_generator.h"

#include <chrono>

namespace bildwort {

RandomGenerator RandomGenerator::SeededFromClock() {
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  return RandomGenerator(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

double RandomGenerator::Next() {
  // s / 2^32 is exact in a double as well.
  return static_cast<double>(generator_.Step()) / 4294967296.0;
}

int RandomGenerator::Below(int n) {
  if (n < 1) return 0;
  return static_cast<int>(Next() * n);
}

}  // namespace bildwort
