// The process-wide uniform random generator shared by the engine's random
// functions and by the programs that embed the engine:
//   s := s * 134775813 + 1 (mod 2^32), a draw yields s / 2^32 in [0, 1).
#pragma once

#include <cstdint>

#include "engine/extended.h"

namespace engine {

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
