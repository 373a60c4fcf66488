// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "executable_code.h"

#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__) && defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#define ENGINE_EXECUTABLE_MEMORY 1
#else
#define ENGINE_EXECUTABLE_MEMORY 0
#endif

namespace engine {

bool ExecutableCode::Supported() {
  return ENGINE_EXECUTABLE_MEMORY != 0;
}

#if ENGINE_EXECUTABLE_MEMORY

bool ExecutableCode::Assign(std::span<const std::uint8_t> code) {
  Clear();
  if (code.empty()) return false;
  const long page = sysconf(_SC_PAGESIZE);
  if (page <= 0) return false;
  const auto pageSize = static_cast<std::size_t>(page);
  const std::size_t size = (code.size() + pageSize - 1) / pageSize * pageSize;
  void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return false;
  std::memcpy(memory, code.data(), code.size());
  // A system that forbids executable mappings refuses here.
  if (mprotect(memory, size, PROT_READ | PROT_EXEC) != 0) {
    munmap(memory, size);
    return false;
  }
  memory_ = memory;
  size_ = size;
  return true;
}

void ExecutableCode::Clear() {
  if (memory_ != nullptr) munmap(memory_, size_);
  memory_ = nullptr;
  size_ = 0;
}

#else

bool ExecutableCode::Assign(std::span<const std::uint8_t>) {
  return false;
}

void ExecutableCode::Clear() {}

#endif

}  // namespace engine
