// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Results of one-argument built-in functions remembered during one batch of
// evaluations of one program, keyed by the function and the argument's bits.
//
// Evaluating a term over a grid calls SIN(X) with the same X once per row;
// the long double library routines cost far more than looking a value up.
// A remembered value is the one the routine gave for exactly these argument
// bits, so reusing it changes nothing, provided that the routine depends on
// nothing else (the random functions are never remembered, and one memo
// serves one program, so one angle factor) and that the call it replaces
// reported nothing: only calls that neither failed, warned nor raised a
// failure flag are remembered (FunctionValue decides, functions.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/extended.h"

namespace engine {

// The bits of a value as it lies in memory, read without loading it into
// the x87 unit.
inline ExtendedBytes BytesIn(const Extended& x) {
  ExtendedBytes bits{};
  std::memcpy(&bits.Significand, &x, sizeof bits.Significand);
  std::memcpy(&bits.SignExponent, reinterpret_cast<const unsigned char*>(&x) + 8,
              sizeof bits.SignExponent);
  return bits;
}

// Whether a batch may reuse results of the built-in function code: one that
// depends on its argument alone and costs more than a lookup.
bool WorthRemembering(int code);

class FunctionMemo {
 public:
  // The remembered value of function code for the argument at x, or null.
  // The argument is read from memory as it lies: taking the bits of a value
  // in a register would store it and read it back at once, which costs a
  // stall of its own.
  const Extended* Find(int code, const Extended& x) {
    if (entries_.empty() || givenUp_) return nullptr;
    ++lookups_;
    const ExtendedBytes bits = BytesIn(x);
    const std::size_t mask = entries_.size() - 1;
    for (std::size_t i = Home(code, bits);; i = (i + 1) & mask) {
      const Entry& entry = entries_[i];
      if (!entry.Used) return nullptr;
      if (entry.Significand == bits.Significand && entry.SignExponent == bits.SignExponent &&
          entry.Code == code) {
        ++hits_;
        return &entry.Value;
      }
    }
  }

  // Remembers value for code and x, unless the memo is full. Allocation
  // failures are left to the caller (the memo is only an aid). A full memo
  // that answers fewer than a quarter of the lookups gives up: the arguments
  // do not repeat (scattered points), and looking them up only costs.
  void Remember(int code, const Extended& x, Extended value) {
    if (2 * (used_ + 1) > entries_.size()) {
      if (entries_.size() >= kMaxEntries) {
        givenUp_ = 4 * hits_ < lookups_;
        return;
      }
      Grow();
    }
    const ExtendedBytes bits = BytesIn(x);
    Insert(
        Entry{value, bits.Significand, bits.SignExponent, static_cast<std::uint8_t>(code), true});
  }

  std::size_t Size() const { return used_; }

 private:
  // At most half full, so that a lookup ends after a few probes; 8192
  // entries hold the distinct coordinates of a 4096 x 4096 grid.
  static constexpr std::size_t kFirstEntries = 256;
  static constexpr std::size_t kMaxEntries = 8192;

  struct Entry {
    Extended Value = 0;
    std::uint64_t Significand = 0;
    std::uint16_t SignExponent = 0;
    std::uint8_t Code = 0;
    bool Used = false;
  };

  std::size_t Home(int code, const ExtendedBytes& bits) const {
    std::uint64_t key = bits.Significand ^ (static_cast<std::uint64_t>(bits.SignExponent) << 47) ^
                        static_cast<std::uint64_t>(code);
    key *= 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(key >> 32) & (entries_.size() - 1);
  }

  void Insert(const Entry& entry) {
    const std::size_t mask = entries_.size() - 1;
    std::size_t i = Home(entry.Code, ExtendedBytes{entry.Significand, entry.SignExponent});
    while (entries_[i].Used) i = (i + 1) & mask;
    entries_[i] = entry;
    ++used_;
  }

  void Grow() {
    std::vector<Entry> old(entries_.empty() ? kFirstEntries : 2 * entries_.size());
    old.swap(entries_);
    used_ = 0;
    for (const Entry& entry : old) {
      if (entry.Used) Insert(entry);
    }
  }

  std::vector<Entry> entries_;
  std::size_t used_ = 0;
  std::size_t lookups_ = 0;
  std::size_t hits_ = 0;
  bool givenUp_ = false;
};

}  // namespace engine
