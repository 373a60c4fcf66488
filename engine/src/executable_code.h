// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Memory holding machine code that the engine made at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace engine {

// Owns one block of executable memory. The block is written while it is
// writable only and then made executable and read-only, never both writable
// and executable. Where the platform offers no such memory (a system other
// than x86-64 with POSIX memory mapping, or one whose policy refuses
// executable mappings) Assign fails and the caller keeps its portable path.
class ExecutableCode {
 public:
  ExecutableCode() = default;
  ~ExecutableCode() { Clear(); }
  ExecutableCode(const ExecutableCode&) = delete;
  ExecutableCode& operator=(const ExecutableCode&) = delete;

  // Whether this build can make machine code at all.
  static bool Supported();

  // Replaces the block with a copy of code. false, leaving the block empty,
  // when the memory cannot be had.
  bool Assign(std::span<const std::uint8_t> code);
  void Clear();
  const void* Entry() const { return memory_; }

 private:
  void* memory_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace engine
