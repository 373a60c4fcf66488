// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Memory holding machine code that the engine made at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace engine {

// One chunk of the process's code arena (executable_code.cpp).
struct CodeChunk;

// The machine code of one fast form, in the process's code arena: the code
// of many forms shares its pages, so that a program with many thousands of
// compiled terms uses a few memory mappings, not one each. A page is
// written while it is writable only and then made read-only and executable,
// never writable again, never both at once. Code written into a page that
// is not full yet can only run once the page is closed: when it fills up,
// when its chunk is left for a new one, or when Seal asks for it.
//
// Where the platform offers no such memory (a system other than x86-64
// with POSIX memory mapping, or one whose policy refuses executable
// mappings) nothing is made and the callers keep their portable path. A
// refusal is remembered for the rest of the process: asking again would
// only be refused again (and under some security modules logged each time).
//
// Thread safety: the arena is shared by all threads; one ExecutableCode is
// written (Assign, Seal, Clear) by one thread at a time, and Entry may be
// called from any thread once the writer has published it.
class ExecutableCode {
 public:
  ExecutableCode() noexcept;
  ~ExecutableCode();
  ExecutableCode(const ExecutableCode&) = delete;
  ExecutableCode& operator=(const ExecutableCode&) = delete;

  // Whether this build can make machine code at all.
  static bool Supported();
  // Whether machine code is made in this process: Supported, not turned off
  // by the environment variable ZELV_ENGINE_NO_MACHINE_CODE (any value but
  // empty or 0), and no executable mapping refused so far.
  static bool Available();
  // Turns machine code off (or on again, as far as Available allows) for
  // the calling process; for tests and benchmarks.
  static void SetDisabledForTesting(bool disabled);
  // The number of chunks the arena maps at most at once; the executable
  // part of each is one mapping. Beyond it forms keep their step loops.
  static constexpr int kMaxChunks = 48;

  // Copies code into the arena, 16-byte aligned. false, holding nothing,
  // when the memory cannot be had (Available false, no memory, the chunk
  // limit reached). Never throws.
  bool Assign(std::span<const std::uint8_t> code) noexcept;
  // The code's first instruction once it may run; null while its page is
  // still open for writing, or when nothing is held.
  const void* Entry() const noexcept;
  // Closes the page holding the code now, leaving the rest of the page
  // unused. false when it cannot be made executable.
  bool Seal() noexcept;
  void Clear() noexcept;

 private:
  std::shared_ptr<CodeChunk> chunk_;
  std::size_t offset_ = 0;
  std::size_t end_ = 0;
};

}  // namespace engine
