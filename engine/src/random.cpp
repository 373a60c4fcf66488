// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/random.h"

#include <chrono>

namespace engine {

namespace {
RandomGenerator& ThreadGenerator() {
  thread_local RandomGenerator generator;
  return generator;
}
}  // namespace

std::uint32_t RandomSeed() {
  return ThreadGenerator().Seed();
}

void SetRandomSeed(std::uint32_t value) {
  ThreadGenerator().SetSeed(value);
}

void Randomize() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  ThreadGenerator().SetSeed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

Extended RandomUnit() {
  return ThreadGenerator().Unit();
}

std::uint32_t RandomBelow(std::uint32_t n) {
  return ThreadGenerator().Below(n);
}

}  // namespace engine
