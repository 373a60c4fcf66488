// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The engine computes in the x87 80-bit extended format. Exact constants are
// built from their bit patterns, so they do not depend on how a compiler rounds
// a decimal literal.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>

namespace engine {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the engine needs the 80-bit extended format (64-bit significand) as long double");
static_assert(sizeof(long double) >= 10);

using Extended = long double;

namespace detail {
struct ExtendedBits {
  std::uint64_t Significand;
  std::uint16_t SignExponent;
  std::uint16_t Padding[(sizeof(long double) - 10) / 2];
};
static_assert(sizeof(ExtendedBits) == sizeof(long double));
}  // namespace detail

// The value whose sign/exponent word is signExponent and whose 64-bit
// significand (explicit integer bit included) is significand.
// Not constexpr: the compiler cannot constant-evaluate every pattern (EngineNaN
// has no integer bit, an encoding the x87 calls a pseudo-infinity).
inline Extended ExtendedFromBits(std::uint16_t signExponent, std::uint64_t significand) {
  return std::bit_cast<Extended>(detail::ExtendedBits{significand, signExponent, {}});
}

// The ten meaningful bytes of an extended value, lowest address first.
struct ExtendedBytes {
  std::uint64_t Significand;
  std::uint16_t SignExponent;
  friend bool operator==(const ExtendedBytes&, const ExtendedBytes&) = default;
};

inline ExtendedBytes BitsOf(Extended value) {
  auto bits = std::bit_cast<detail::ExtendedBits>(value);
  return {bits.Significand, bits.SignExponent};
}

// pi, 0x4000 C90FDAA22168C235
inline const Extended ExtPi = ExtendedFromBits(0x4000, 0xC90FDAA22168C235ULL);
// Euler's constant gamma, 0x3FFE 93C467E37DB09F3F
inline const Extended ExtEulerGamma = ExtendedFromBits(0x3FFE, 0x93C467E37DB09F3FULL);
// pi/180, the DEG angle factor
inline const Extended ExtDegFactor = ExtendedFromBits(0x3FF9, 0x8EFA351294E9C8AEULL);
// pi/200, the GON angle factor
inline const Extended ExtGonFactor = ExtendedFromBits(0x3FF9, 0x80ADFC90B938CE36ULL);
// The value of the constant NAN: 0xFFFF C000000000000000
inline const Extended ExtNanConstant = ExtendedFromBits(0xFFFF, 0xC000000000000000ULL);
// EngineNaN: eight zero bytes, then 0xFF 0xFF (sign and exponent set, significand 0)
inline const Extended ExtEngineNaN = ExtendedFromBits(0xFFFF, 0x0000000000000000ULL);

}  // namespace engine
