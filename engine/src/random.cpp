#include "engine/random.h"

#include <chrono>

namespace engine {

namespace {
std::uint32_t seed = 0;  // the one process-wide generator

// One step of the generator: s := s * 134775813 + 1 (mod 2^32).
std::uint32_t NextSeed() {
  seed = seed * 134775813u + 1u;
  return seed;
}
}  // namespace

std::uint32_t RandomSeed() {
  return seed;
}

void SetRandomSeed(std::uint32_t value) {
  seed = value;
}

void Randomize() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  seed = static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

Extended RandomUnit() {
  return static_cast<Extended>(NextSeed()) / 4294967296.0L;
}

std::uint32_t RandomBelow(std::uint32_t n) {
  // The integer part of u * n, with the product formed exactly from the seed.
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(NextSeed()) * n) >> 32);
}

}  // namespace engine
