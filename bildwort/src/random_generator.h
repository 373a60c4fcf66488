// The game's own random generator: a 32-bit linear congruential generator,
// s := s * 134775813 + 1 (mod 2^32), each draw yielding s / 2^32.
#pragma once

#include <cstdint>

namespace bildwort {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed) : seed_(seed) {}

  // Seeded from the clock, once for the program's life.
  static RandomGenerator SeededFromClock();

  // A value in [0, 1).
  double Next();

  // A whole number in 0 .. n-1; 0 for n < 1.
  int Below(int n);

  std::uint32_t Seed() const { return seed_; }

 private:
  std::uint32_t seed_;
};

}  // namespace bildwort
