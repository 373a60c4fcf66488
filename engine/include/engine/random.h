// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The uniform random generator of the engine's random functions and of the
// programs that embed the engine: a 32-bit linear congruential generator,
//   s := s * 134775813 + 1 (mod 2^32), a draw yields s / 2^32 in [0, 1).
#pragma once

#include <cstdint>

#include "engine/extended.h"

namespace engine {

// The generator as a plain value: no state beyond its seed, no clock, no
// allocation. Copies draw the same sequence.
class RandomGenerator {
 public:
  static constexpr std::uint32_t kMultiplier = 134775813U;

  constexpr explicit RandomGenerator(std::uint32_t seed = 0) : seed_(seed) {}

  constexpr std::uint32_t Seed() const { return seed_; }
  constexpr void SetSeed(std::uint32_t seed) { seed_ = seed; }

  // One step; returns the new seed. Unsigned arithmetic wraps modulo 2^32.
  constexpr std::uint32_t Step() {
    seed_ = seed_ * kMultiplier + 1U;
    return seed_;
  }
  // Advances the seed and returns s / 2^32, exact in the extended format.
  Extended Unit() { return static_cast<Extended>(Step()) / 4294967296.0L; }
  // A whole number in [0, n): trunc(Unit() * n), with the product formed
  // exactly from the seed; 0 for n = 0.
  constexpr std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Step()) * n) >> 32);
  }

  friend constexpr bool operator==(const RandomGenerator&, const RandomGenerator&) = default;

 private:
  std::uint32_t seed_;
};

// The free functions below use one generator per thread, like the rest of the
// engine's state: a program with one thread has one generator, and threads
// do not disturb each other's sequences.

// The current seed.
std::uint32_t RandomSeed();
void SetRandomSeed(std::uint32_t seed);
// Seeds the generator from the clock.
void Randomize();
// Advances the seed and returns s / 2^32.
Extended RandomUnit();
// A whole number in [0, n): trunc(RandomUnit() * n); 0 for n = 0.
std::uint32_t RandomBelow(std::uint32_t n);

}  // namespace engine
