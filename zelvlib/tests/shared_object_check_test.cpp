// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/shared_object_check.h"

#include <elf.h>
#include <link.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <functional>
#include <string>

namespace {

using zelv::CheckSharedObject;
using zelv::SharedObjectFault;

// A real shared library of this computer, read as bytes only.
std::string RealLibrary() {
  QFile file(QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6"));
  if (!file.open(QIODevice::ReadOnly)) return std::string();
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

template <typename T>
void Patch(std::string& bytes, size_t offset, const T& value) {
  if (offset > bytes.size() || sizeof value > bytes.size() - offset) return;
  bytes.replace(offset, sizeof value, reinterpret_cast<const char*>(&value), sizeof value);
}

ElfW(Ehdr) HeaderOf(const std::string& bytes) {
  ElfW(Ehdr) header{};
  if (bytes.size() >= sizeof header) bytes.copy(reinterpret_cast<char*>(&header), sizeof header);
  return header;
}

// The offset of the first program header of `type`.
size_t SegmentOffset(const std::string& bytes, ElfW(Word) type) {
  const ElfW(Ehdr) header = HeaderOf(bytes);
  for (size_t i = 0; i < header.e_phnum; ++i) {
    const size_t at = header.e_phoff + i * sizeof(ElfW(Phdr));
    ElfW(Phdr) segment{};
    bytes.copy(reinterpret_cast<char*>(&segment), sizeof segment, at);
    if (segment.p_type == type) return at;
  }
  return 0;
}

class SharedObjectCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = RealLibrary();
    ASSERT_GT(library_.size(), 200000u);
  }
  std::string library_;
};

TEST_F(SharedObjectCheckTest, AWholeLibraryPasses) {
  const auto check = CheckSharedObject(library_);
  EXPECT_TRUE(check.Ok()) << check.detail;
  EXPECT_EQ(check.size, library_.size());
}

TEST_F(SharedObjectCheckTest, ACopyCutShortAtAnySizeIsTruncatedAndSaysHowLargeItShouldBe) {
  const size_t full = library_.size();
  for (const size_t size : {size_t{4}, size_t{63}, size_t{64}, size_t{1000}, size_t{200000},
                            full / 2, full - 4096, full - 1}) {
    SCOPED_TRACE(size);
    const auto check = CheckSharedObject(std::string_view(library_).substr(0, size));
    EXPECT_EQ(check.fault, SharedObjectFault::Truncated) << check.detail;
    EXPECT_EQ(check.size, size);
    EXPECT_GT(check.needed, size);
    EXPECT_LE(check.needed, full);
    // Once the headers are there, the whole size they describe is named.
    if (size >= sizeof(ElfW(Ehdr)) + 4096) {
      EXPECT_EQ(check.needed, full);
    }
  }
}

TEST_F(SharedObjectCheckTest, EachKindOfDamageIsNamed) {
  struct Case {
    const char* name;
    std::function<std::string(std::string)> damage;
    SharedObjectFault fault;
  };
  using Bytes = std::string;
  const Case cases[] = {
      {"empty", [](Bytes) { return Bytes(); }, SharedObjectFault::Empty},
      {"text", [](Bytes) { return Bytes("Hund;dog:\r\nKatze;cat:\r\n"); },
       SharedObjectFault::NotElf},
      {"one wrong magic byte",
       [](Bytes b) {
         b[1] = 'e';
         return b;
       },
       SharedObjectFault::NotElf},
      {"other class",
       [](Bytes b) {
         b[EI_CLASS] = b[EI_CLASS] == ELFCLASS64 ? ELFCLASS32 : ELFCLASS64;
         return b;
       },
       SharedObjectFault::WrongKind},
      {"other byte order",
       [](Bytes b) {
         b[EI_DATA] = b[EI_DATA] == ELFDATA2LSB ? ELFDATA2MSB : ELFDATA2LSB;
         return b;
       },
       SharedObjectFault::WrongKind},
      {"other machine",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_machine), ElfW(Half){EM_SPARC});
         return b;
       },
       SharedObjectFault::WrongKind},
      {"a program, not a library",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_type), ElfW(Half){ET_EXEC});
         return b;
       },
       SharedObjectFault::NotShared},
      {"no dynamic segment",
       [](Bytes b) {
         Patch(b, SegmentOffset(b, PT_DYNAMIC), ElfW(Word){PT_NULL});
         return b;
       },
       SharedObjectFault::NotShared},
      {"no program headers",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_phnum), ElfW(Half){0});
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"program header size",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_phentsize), ElfW(Half){12});
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"program header table beyond every size",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_phoff), ~ElfW(Off){0} - 8);
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"program header table beyond the end",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_phoff), static_cast<ElfW(Off)>(b.size() - 8));
         return b;
       },
       SharedObjectFault::Truncated},
      {"segment beyond the end",
       [](Bytes b) {
         const size_t at = SegmentOffset(b, PT_LOAD);
         Patch(b, at + offsetof(ElfW(Phdr), p_filesz), static_cast<ElfW(Xword)>(b.size()));
         Patch(b, at + offsetof(ElfW(Phdr), p_memsz), static_cast<ElfW(Xword)>(b.size()));
         Patch(b, at + offsetof(ElfW(Phdr), p_offset), ElfW(Off){4096});
         Patch(b, at + offsetof(ElfW(Phdr), p_vaddr), ElfW(Addr){4096});
         return b;
       },
       SharedObjectFault::Truncated},
      {"segment larger in the file than in memory",
       [](Bytes b) {
         const size_t at = SegmentOffset(b, PT_LOAD);
         Patch(b, at + offsetof(ElfW(Phdr), p_memsz), ElfW(Xword){0});
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"dynamic segment outside the loaded ones",
       [](Bytes b) {
         const size_t at = SegmentOffset(b, PT_DYNAMIC);
         Patch(b, at + offsetof(ElfW(Phdr), p_vaddr), ~ElfW(Addr){0} - 64);
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"section name table index",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_shstrndx), HeaderOf(b).e_shnum);
         return b;
       },
       SharedObjectFault::BadHeaders},
      {"section header table beyond the end",
       [](Bytes b) {
         Patch(b, offsetof(ElfW(Ehdr), e_shoff), static_cast<ElfW(Off)>(b.size()));
         return b;
       },
       SharedObjectFault::Truncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string damaged = c.damage(library_);
    const auto check = CheckSharedObject(damaged);
    EXPECT_EQ(check.fault, c.fault) << check.detail;
    if (check.fault == SharedObjectFault::Truncated) {
      EXPECT_GT(check.needed, damaged.size());
    }
  }
}

TEST(SharedObjectCheckFile, ReadsTheFileOrSaysItCannot) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("libcut.so"));
  const std::string library = RealLibrary();
  ASSERT_FALSE(library.empty());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(library.data(), 200000);
  file.close();
  const auto cut = zelv::CheckSharedObjectFile(path);
  EXPECT_EQ(cut.fault, SharedObjectFault::Truncated);
  EXPECT_EQ(cut.size, 200000u);
  EXPECT_EQ(cut.needed, library.size());
  EXPECT_EQ(zelv::CheckSharedObjectFile(path, 1000).fault, SharedObjectFault::Unreadable);
  EXPECT_EQ(zelv::CheckSharedObjectFile(folder.filePath(QStringLiteral("none.so"))).fault,
            SharedObjectFault::Unreadable);
}

TEST(SystemLibraryFolders, EndsWithTheSystemsOwnFoldersEachOnce) {
  const QStringList folders = zelv::SystemLibraryFolders();
  ASSERT_GE(folders.size(), 2);
  EXPECT_EQ(folders.last(), QStringLiteral("/usr/lib"));
  EXPECT_TRUE(folders.contains(QStringLiteral("/lib")));
  EXPECT_EQ(folders.size(), QSet<QString>(folders.begin(), folders.end()).size());
}

}  // namespace
