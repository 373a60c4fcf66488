// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own random generator: the engine's 32-bit linear congruential
// generator, s := s * 134775813 + 1 (mod 2^32), each draw yielding s / 2^32,
// with the draws the game makes in double precision.
#pragma once

#include <cstdint>

#include "engine/random.h"

namespace bildwort {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed) : generator_(seed) {}

  // Seeded from the clock, once for the program's life.
  static RandomGenerator SeededFromClock();

  // A value in [0, 1).
  double Next();

  // A whole number in 0 .. n-1; 0 for n < 1.
  int Below(int n);

  std::uint32_t Seed() const { return generator_.Seed(); }

 private:
  engine::RandomGenerator generator_;
};

}  // namespace bildwort
