// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "executable_code.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#if defined(__x86_64__) && defined(__GNUC__) && defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#define ENGINE_EXECUTABLE_MEMORY 1
#else
#define ENGINE_EXECUTABLE_MEMORY 0
#endif

// The arena: chunks of 1 MiB, mapped readable and writable. Code is appended
// at the chunk's fill mark; the pages below the seal mark are read-only and
// executable. Sealing moves the mark up to the next page boundary, so the
// executable part of a chunk grows from its start and the kernel keeps it as
// one mapping. Only the pages written are ever backed by memory. A chunk is
// unmapped when no form holds code in it and the arena has moved on to
// another.

namespace engine {

struct CodeChunk {
  std::uint8_t* Base = nullptr;
  std::size_t Size = 0;
  // Written under the arena's lock.
  std::size_t Filled = 0;
  // Everything below is executable; read without the lock.
  std::atomic<std::size_t> Sealed{0};
  ~CodeChunk();
};

namespace {

#if ENGINE_EXECUTABLE_MEMORY

constexpr std::size_t kChunkSize = std::size_t{1} << 20;
constexpr std::size_t kAlignment = 16;

std::size_t PageSize() {
  static const std::size_t size = [] {
    const long page = sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<std::size_t>(page) : std::size_t{4096};
  }();
  return size;
}

bool TurnedOffByEnvironment() {
  const char* value = std::getenv("ZELV_ENGINE_NO_MACHINE_CODE");
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

class Arena {
 public:
  static Arena& Instance() {
    // Never destroyed: forms in other static objects may outlive it.
    static Arena* const arena = new Arena;
    return *arena;
  }

  bool Available() const {
    return !refused_.load(std::memory_order_relaxed) &&
           !disabled_.load(std::memory_order_relaxed) && !turnedOff_;
  }
  void SetDisabled(bool disabled) { disabled_.store(disabled, std::memory_order_relaxed); }

  bool Place(std::span<const std::uint8_t> code, std::shared_ptr<CodeChunk>& chunk,
             std::size_t& offset) {
    const std::size_t size = (code.size() + kAlignment - 1) / kAlignment * kAlignment;
    if (code.empty() || size > kChunkSize) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!Available()) return false;
    if (!open_ || open_->Size - open_->Filled < size) {
      // The old chunk's last page can close now: nothing more goes there.
      if (open_ && !SealUpTo(*open_, open_->Filled)) return false;
      open_.reset();
      if (!OpenChunk()) return false;
    }
    CodeChunk& target = *open_;
    offset = target.Filled;
    std::memcpy(target.Base + offset, code.data(), code.size());
    std::memset(target.Base + offset + code.size(), 0xCC, size - code.size());  // int3
    target.Filled += size;
    chunk = open_;
    // The full pages close at once.
    const std::size_t full = target.Filled / PageSize() * PageSize();
    if (full > target.Sealed.load(std::memory_order_relaxed)) SealUpTo(target, full);
    return true;
  }

  bool Seal(CodeChunk& chunk, std::size_t end) {
    if (chunk.Sealed.load(std::memory_order_acquire) >= end) return true;
    const std::lock_guard<std::mutex> lock(mutex_);
    return SealUpTo(chunk, end);
  }

  void Released() { chunks_.fetch_sub(1, std::memory_order_relaxed); }

 private:
  Arena() : turnedOff_(TurnedOffByEnvironment()) {}

  bool OpenChunk() {
    if (chunks_.load(std::memory_order_relaxed) >= ExecutableCode::kMaxChunks) return false;
    void* memory =
        mmap(nullptr, kChunkSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    auto* chunk = new (std::nothrow) CodeChunk;
    if (chunk == nullptr) {
      munmap(memory, kChunkSize);
      return false;
    }
    chunk->Base = static_cast<std::uint8_t*>(memory);
    chunk->Size = kChunkSize;
    chunks_.fetch_add(1, std::memory_order_relaxed);
    try {
      open_.reset(chunk);
    } catch (...) {
      // reset has deleted the chunk, which unmaps and counts itself out.
      return false;
    }
    return true;
  }

  // Makes the chunk executable up to the page boundary at or above end;
  // with the lock held.
  bool SealUpTo(CodeChunk& chunk, std::size_t end) {
    const std::size_t sealed = chunk.Sealed.load(std::memory_order_relaxed);
    if (sealed >= end) return true;
    if (refused_.load(std::memory_order_relaxed)) return false;
    const std::size_t page = PageSize();
    const std::size_t upTo = std::min((end + page - 1) / page * page, chunk.Size);
    // A system that forbids executable mappings refuses here, once.
    if (mprotect(chunk.Base + sealed, upTo - sealed, PROT_READ | PROT_EXEC) != 0) {
      refused_.store(true, std::memory_order_relaxed);
      return false;
    }
    chunk.Filled = std::max(chunk.Filled, upTo);
    chunk.Sealed.store(upTo, std::memory_order_release);
    return true;
  }

  std::mutex mutex_;
  std::shared_ptr<CodeChunk> open_;
  std::atomic<int> chunks_{0};
  std::atomic<bool> refused_{false};
  std::atomic<bool> disabled_{false};
  const bool turnedOff_;
};

#endif

}  // namespace

#if ENGINE_EXECUTABLE_MEMORY

CodeChunk::~CodeChunk() {
  if (Base != nullptr) {
    munmap(Base, Size);
    Arena::Instance().Released();
  }
}

bool ExecutableCode::Supported() {
  return true;
}

bool ExecutableCode::Available() {
  return Arena::Instance().Available();
}

void ExecutableCode::SetDisabledForTesting(bool disabled) {
  Arena::Instance().SetDisabled(disabled);
}

bool ExecutableCode::Assign(std::span<const std::uint8_t> code) noexcept {
  Clear();
  if (!Arena::Instance().Place(code, chunk_, offset_)) {
    chunk_.reset();
    return false;
  }
  end_ = offset_ + code.size();
  return true;
}

const void* ExecutableCode::Entry() const noexcept {
  if (!chunk_ || chunk_->Sealed.load(std::memory_order_acquire) < end_) return nullptr;
  return chunk_->Base + offset_;
}

bool ExecutableCode::Seal() noexcept {
  return chunk_ && Arena::Instance().Seal(*chunk_, end_);
}

#else

CodeChunk::~CodeChunk() = default;

bool ExecutableCode::Supported() {
  return false;
}

bool ExecutableCode::Available() {
  return false;
}

void ExecutableCode::SetDisabledForTesting(bool) {}

bool ExecutableCode::Assign(std::span<const std::uint8_t>) noexcept {
  return false;
}

const void* ExecutableCode::Entry() const noexcept {
  return nullptr;
}

bool ExecutableCode::Seal() noexcept {
  return false;
}

#endif

ExecutableCode::ExecutableCode() noexcept = default;

ExecutableCode::~ExecutableCode() {
  Clear();
}

void ExecutableCode::Clear() noexcept {
  chunk_.reset();
  offset_ = 0;
  end_ = 0;
}

}  // namespace engine
