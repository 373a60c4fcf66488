// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/extended.h"
#include "engine/random.h"

namespace engine {
namespace {

// Reads the ten meaningful bytes of v as the x87 stores them.
void ExpectBytes(Extended v, const unsigned char (&expected)[10]) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &v, sizeof v);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
}

TEST(ExtendedConstants, AreExactBitPatterns) {
  const unsigned char pi[10] = {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40};
  const unsigned char gamma[10] = {0x3F, 0x9F, 0xB0, 0x7D, 0xE3, 0x67, 0xC4, 0x93, 0xFE, 0x3F};
  const unsigned char deg[10] = {0xAE, 0xC8, 0xE9, 0x94, 0x12, 0x35, 0xFA, 0x8E, 0xF9, 0x3F};
  const unsigned char gon[10] = {0x36, 0xCE, 0x38, 0xB9, 0x90, 0xFC, 0xAD, 0x80, 0xF9, 0x3F};
  const unsigned char nan[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF};
  const unsigned char engineNaN[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  ExpectBytes(ExtPi, pi);
  ExpectBytes(ExtEulerGamma, gamma);
  ExpectBytes(ExtDegFactor, deg);
  ExpectBytes(ExtGonFactor, gon);
  ExpectBytes(ExtNanConstant, nan);
  ExpectBytes(ExtEngineNaN, engineNaN);
}

TEST(ExtendedConstants, AreTheNearestValues) {
  // The patterns are the extended values nearest to the exact constants.
  EXPECT_EQ(ExtPi, 3.14159265358979323846264338327950288L);
  // Euler's constant is the engine's own pattern, about 5.6e-16 below the
  // exact constant; only its bytes are prescribed.
  EXPECT_NEAR(ExtEulerGamma, 0.57721566490153286060651209008240243L, 1e-15L);
  EXPECT_EQ(ExtDegFactor, 3.14159265358979323846264338327950288L / 180);
  EXPECT_EQ(ExtGonFactor, 3.14159265358979323846264338327950288L / 200);
  EXPECT_TRUE(std::isnan(ExtNanConstant));
  EXPECT_EQ(BitsOf(ExtPi), (ExtendedBytes{0xC90FDAA22168C235ULL, 0x4000}));
}

TEST(RandomGenerator, FollowsTheLinearCongruentialSequence) {
  SetRandomSeed(0);
  // s1 = 1, s2 = 134775814, s3 = 134775814 * 134775813 + 1 mod 2^32
  EXPECT_EQ(RandomUnit(), 1.0L / 4294967296.0L);
  EXPECT_EQ(RandomSeed(), 1u);
  EXPECT_EQ(RandomUnit(), 134775814.0L / 4294967296.0L);
  const std::uint32_t s3 = 134775814u * 134775813u + 1u;
  EXPECT_EQ(RandomBelow(1000), static_cast<std::uint32_t>(s3 / 4294967296.0L * 1000));
  EXPECT_EQ(RandomSeed(), s3);

  // RandomBelow(n) is the integer part of u * n for the same draw.
  for (std::uint32_t start : {0xFFFFFFFFu, 12345u, 0x80000000u}) {
    for (std::uint32_t n : {1u, 10u, 7u, 100000u, 0xFFFFFFFFu}) {
      SetRandomSeed(start);
      const Extended u = RandomUnit();
      SetRandomSeed(start);
      EXPECT_EQ(RandomBelow(n), static_cast<std::uint32_t>(u * n)) << start << " " << n;
    }
  }
  EXPECT_EQ(RandomBelow(0), 0u);
}

}  // namespace
}  // namespace engine
