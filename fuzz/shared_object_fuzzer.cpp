// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The check of a shared library's file on any bytes. The bytes are only
// read, never loaded: a library is mapped by the loader only after this
// check passed, so the check is what must hold. When it passes, every table
// and every segment and section the headers name lies inside the bytes
// (counted here again, the plain way); a file it calls truncated needs more
// bytes than it has; the answer is the same each time.
#include <elf.h>
#include <link.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "zelvlib/shared_object_check.h"

namespace {

template <typename T>
T At(std::string_view bytes, std::uint64_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// Whether [offset, offset + length) lies in a file of `size` bytes; no sum
// is formed, so none can wrap.
bool Within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

void CheckPassed(std::string_view bytes, const std::string& input) {
  const std::uint64_t size = bytes.size();
  FUZZ_CHECK(size >= sizeof(ElfW(Ehdr)) && std::memcmp(bytes.data(), ELFMAG, SELFMAG) == 0,
             "passed without a whole ELF header", input);
  const auto header = At<ElfW(Ehdr)>(bytes, 0);
  FUZZ_CHECK(header.e_type == ET_DYN, "passed what is no shared object", input);
  FUZZ_CHECK(header.e_phentsize == sizeof(ElfW(Phdr)) && header.e_phnum > 0 &&
                 Within(header.e_phoff, header.e_phnum * sizeof(ElfW(Phdr)), size),
             "passed a program header table outside the file", input);
  bool dynamic = false;
  for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
    const auto segment = At<ElfW(Phdr)>(bytes, header.e_phoff + i * sizeof(ElfW(Phdr)));
    FUZZ_CHECK(Within(segment.p_offset, segment.p_filesz, size),
               "passed a segment outside the file", input);
    dynamic = dynamic || segment.p_type == PT_DYNAMIC;
  }
  FUZZ_CHECK(dynamic, "passed a library without a dynamic segment", input);
  if (header.e_shoff == 0 && header.e_shnum == 0) return;
  FUZZ_CHECK(Within(header.e_shoff, header.e_shnum * sizeof(ElfW(Shdr)), size),
             "passed a section header table outside the file", input);
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    const auto section = At<ElfW(Shdr)>(bytes, header.e_shoff + i * sizeof(ElfW(Shdr)));
    if (section.sh_type == SHT_NOBITS) continue;
    FUZZ_CHECK(Within(section.sh_offset, section.sh_size, size),
               "passed a section outside the file", input);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Described only when an invariant fails; the inputs are whole files.
  auto input = [&] { return "input of " + std::to_string(size) + " bytes"; };
  fuzz::WithinBudget(
      [&] {
        const zelv::SharedObjectCheck check = zelv::CheckSharedObject(bytes);
        const zelv::SharedObjectCheck again = zelv::CheckSharedObject(bytes);
        FUZZ_CHECK(check.fault == again.fault && check.needed == again.needed,
                   "two answers for the same bytes", input());
        FUZZ_CHECK(check.size == size, "wrong size", input());
        FUZZ_CHECK((check.fault == zelv::SharedObjectFault::Empty) == (size == 0), "empty or not",
                   input());
        if (check.Ok()) CheckPassed(bytes, input());
        if (check.fault == zelv::SharedObjectFault::Truncated) {
          FUZZ_CHECK(check.needed > size, "truncated, but needs no more bytes", input());
        }
      },
      std::string(bytes));
  return 0;
}
