// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/shared_object_check.h"

#include <elf.h>
#include <link.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>

namespace zelv {

namespace {

// This computer's kind of ELF file: the loader maps no other.
using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);
using Shdr = ElfW(Shdr);
#if defined(__LP64__)
constexpr unsigned char kHostClass = ELFCLASS64;
#else
constexpr unsigned char kHostClass = ELFCLASS32;
#endif
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kHostByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kHostByteOrder = ELFDATA2MSB;
#endif
#if defined(__x86_64__)
constexpr int kHostMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kHostMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kHostMachine = EM_386;
#elif defined(__arm__)
constexpr int kHostMachine = EM_ARM;
#elif defined(__riscv)
constexpr int kHostMachine = EM_RISCV;
#elif defined(__powerpc64__)
constexpr int kHostMachine = EM_PPC64;
#else
constexpr int kHostMachine = EM_NONE;  // not checked
#endif

// The Debian multiarch folder name of this computer's libraries.
#if defined(__x86_64__)
constexpr const char* kMultiarch = "x86_64-linux-gnu";
#elif defined(__aarch64__)
constexpr const char* kMultiarch = "aarch64-linux-gnu";
#elif defined(__i386__)
constexpr const char* kMultiarch = "i386-linux-gnu";
#elif defined(__arm__)
constexpr const char* kMultiarch = "arm-linux-gnueabihf";
#else
constexpr const char* kMultiarch = nullptr;
#endif

SharedObjectCheck Fault(SharedObjectFault fault, std::uint64_t size, std::string_view detail,
                        std::uint64_t needed = 0) {
  return SharedObjectCheck{fault, size, needed, detail};
}

// start + count * each, or no value when it overflows.
bool End(std::uint64_t start, std::uint64_t count, std::uint64_t each, std::uint64_t& end) {
  if (each != 0 && count > std::numeric_limits<std::uint64_t>::max() / each) return false;
  const std::uint64_t length = count * each;
  if (start > std::numeric_limits<std::uint64_t>::max() - length) return false;
  end = start + length;
  return true;
}

// The headers are copied out, never read in place: the bytes need not be
// aligned for them.
template <typename T>
T ReadAt(std::string_view bytes, std::uint64_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// A table or a part of `size` bytes at `offset` must end inside the file.
// Fills `check` and returns false when it does not.
bool Inside(std::uint64_t offset, std::uint64_t count, std::uint64_t each, std::uint64_t size,
            std::string_view what, SharedObjectCheck& check) {
  std::uint64_t end = 0;
  if (!End(offset, count, each, end)) {
    check = Fault(SharedObjectFault::BadHeaders, size, what);
    return false;
  }
  if (end > size) {
    check = Fault(SharedObjectFault::Truncated, size, what, end);
    return false;
  }
  return true;
}

// The largest end of any part the headers point to, so that a file cut
// short is reported with the whole size it needs, not with the first part
// found missing.
std::uint64_t NeededSize(std::string_view bytes, const Ehdr& header) {
  const std::uint64_t size = bytes.size();
  std::uint64_t needed = 0;
  std::uint64_t end = 0;
  auto note = [&](std::uint64_t offset, std::uint64_t count, std::uint64_t each) {
    if (End(offset, count, each, end) && end > needed) needed = end;
  };
  note(header.e_phoff, header.e_phnum, sizeof(Phdr));
  note(header.e_shoff, header.e_shnum, sizeof(Shdr));
  std::uint64_t tableEnd = 0;
  if (End(header.e_phoff, header.e_phnum, sizeof(Phdr), tableEnd) && tableEnd <= size) {
    for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
      const auto segment = ReadAt<Phdr>(bytes, header.e_phoff + i * sizeof(Phdr));
      note(segment.p_offset, 1, segment.p_filesz);
    }
  }
  if (End(header.e_shoff, header.e_shnum, sizeof(Shdr), tableEnd) && tableEnd <= size) {
    for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
      const auto section = ReadAt<Shdr>(bytes, header.e_shoff + i * sizeof(Shdr));
      if (section.sh_type != SHT_NOBITS) note(section.sh_offset, 1, section.sh_size);
    }
  }
  return needed;
}

SharedObjectCheck CheckSegments(std::string_view bytes, const Ehdr& header) {
  const std::uint64_t size = bytes.size();
  SharedObjectCheck check;
  if (!Inside(header.e_phoff, header.e_phnum, sizeof(Phdr), size, "program header table", check)) {
    return check;
  }
  bool loads = false;
  bool hasDynamic = false;
  Phdr dynamic{};
  for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
    const auto segment = ReadAt<Phdr>(bytes, header.e_phoff + i * sizeof(Phdr));
    if (!Inside(segment.p_offset, 1, segment.p_filesz, size, "segment", check)) return check;
    if (segment.p_type == PT_LOAD) {
      loads = true;
      if (segment.p_filesz > segment.p_memsz) {
        return Fault(SharedObjectFault::BadHeaders, size, "loaded segment larger in the file");
      }
      if (segment.p_align > 1 && ((segment.p_align & (segment.p_align - 1)) != 0 ||
                                  (segment.p_vaddr - segment.p_offset) % segment.p_align != 0)) {
        return Fault(SharedObjectFault::BadHeaders, size, "loaded segment misaligned");
      }
    } else if (segment.p_type == PT_DYNAMIC) {
      if (hasDynamic) return Fault(SharedObjectFault::BadHeaders, size, "two dynamic segments");
      hasDynamic = true;
      dynamic = segment;
    }
  }
  if (!loads) return Fault(SharedObjectFault::BadHeaders, size, "no loaded segment");
  if (!hasDynamic) return Fault(SharedObjectFault::NotShared, size, "no dynamic segment");
  // The loader reads the dynamic segment from the mapped memory: it must lie
  // within the file's part of one loaded segment.
  std::uint64_t dynamicEnd = 0;
  if (!End(dynamic.p_vaddr, 1, dynamic.p_filesz, dynamicEnd)) {
    return Fault(SharedObjectFault::BadHeaders, size, "dynamic segment");
  }
  for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
    const auto segment = ReadAt<Phdr>(bytes, header.e_phoff + i * sizeof(Phdr));
    if (segment.p_type != PT_LOAD) continue;
    std::uint64_t loadEnd = 0;
    if (!End(segment.p_vaddr, 1, segment.p_filesz, loadEnd)) continue;
    if (dynamic.p_vaddr >= segment.p_vaddr && dynamicEnd <= loadEnd) return check;
  }
  return Fault(SharedObjectFault::BadHeaders, size, "dynamic segment outside the loaded ones");
}

SharedObjectCheck CheckSections(std::string_view bytes, const Ehdr& header) {
  const std::uint64_t size = bytes.size();
  SharedObjectCheck check;
  if (header.e_shoff == 0 && header.e_shnum == 0) return check;  // stripped of its sections
  if (header.e_shnum == 0) {
    // More sections than the header can count; no library of ours has that
    // many, and it is read no further.
    return Fault(SharedObjectFault::BadHeaders, size, "extended section numbering");
  }
  if (header.e_shentsize != sizeof(Shdr)) {
    return Fault(SharedObjectFault::BadHeaders, size, "section header size");
  }
  if (!Inside(header.e_shoff, header.e_shnum, sizeof(Shdr), size, "section header table", check)) {
    return check;
  }
  if (header.e_shstrndx != SHN_UNDEF && header.e_shstrndx >= header.e_shnum) {
    return Fault(SharedObjectFault::BadHeaders, size, "section name table index");
  }
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    const auto section = ReadAt<Shdr>(bytes, header.e_shoff + i * sizeof(Shdr));
    if (section.sh_type == SHT_NOBITS) continue;
    if (!Inside(section.sh_offset, 1, section.sh_size, size, "section", check)) return check;
  }
  return check;
}

}  // namespace

SharedObjectCheck CheckSharedObject(std::string_view bytes) {
  const std::uint64_t size = bytes.size();
  if (size == 0) return Fault(SharedObjectFault::Empty, 0, "empty");
  const size_t magicSize = std::min<size_t>(bytes.size(), SELFMAG);
  if (std::memcmp(bytes.data(), ELFMAG, magicSize) != 0) {
    return Fault(SharedObjectFault::NotElf, size, "no ELF magic");
  }
  if (size < sizeof(Ehdr)) {
    return Fault(SharedObjectFault::Truncated, size, "file header", sizeof(Ehdr));
  }
  const auto header = ReadAt<Ehdr>(bytes, 0);
  if (header.e_ident[EI_CLASS] != kHostClass || header.e_ident[EI_DATA] != kHostByteOrder ||
      (kHostMachine != EM_NONE && header.e_machine != kHostMachine)) {
    return Fault(SharedObjectFault::WrongKind, size, "class, byte order or machine");
  }
  if (header.e_ident[EI_VERSION] != EV_CURRENT || header.e_version != EV_CURRENT) {
    return Fault(SharedObjectFault::BadHeaders, size, "version");
  }
  if (header.e_type != ET_DYN) return Fault(SharedObjectFault::NotShared, size, "file type");
  if (header.e_ehsize != sizeof(Ehdr) || header.e_phentsize != sizeof(Phdr) ||
      header.e_phnum == 0 || header.e_phnum == PN_XNUM) {
    return Fault(SharedObjectFault::BadHeaders, size, "program header table");
  }
  SharedObjectCheck check = CheckSegments(bytes, header);
  if (check.Ok()) check = CheckSections(bytes, header);
  check.size = size;
  if (check.fault == SharedObjectFault::Truncated) {
    check.needed = std::max(check.needed, NeededSize(bytes, header));
  }
  return check;
}

SharedObjectCheck CheckSharedObjectFile(const QString& path, std::uint64_t limit) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Fault(SharedObjectFault::Unreadable, 0, "open");
  const auto size = static_cast<std::uint64_t>(file.size());
  if (size > limit) return Fault(SharedObjectFault::Unreadable, size, "too large to read");
  const QByteArray bytes = file.readAll();
  if (static_cast<std::uint64_t>(bytes.size()) != size || file.error() != QFileDevice::NoError) {
    return Fault(SharedObjectFault::Unreadable, size, "read");
  }
  return CheckSharedObject(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

namespace {

// The folders of one ld.so.conf file; `include` lines name further files by
// a pattern, read to a small depth so that a loop of includes ends.
void ReadLoaderConfig(const QString& path, int depth, QStringList& folders) {
  QFile file(path);
  if (depth > 4 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
  const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
  for (QString line : lines) {
    line = line.section(QLatin1Char('#'), 0, 0).trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith(QLatin1String("include")) && line.size() > 7 && line.at(7).isSpace()) {
      const QString pattern = line.mid(8).trimmed();
      const QFileInfo info(QDir(QFileInfo(path).absolutePath()).filePath(pattern));
      const QStringList names = info.dir().entryList({info.fileName()}, QDir::Files, QDir::Name);
      for (const QString& name : names) {
        ReadLoaderConfig(info.dir().filePath(name), depth + 1, folders);
      }
    } else if (line.startsWith(QLatin1Char('/'))) {
      folders << line;
    }
  }
}

}  // namespace

QStringList SystemLibraryFolders() {
  QStringList folders;
  ReadLoaderConfig(QStringLiteral("/etc/ld.so.conf"), 0, folders);
  if (kMultiarch != nullptr) {
    folders << QStringLiteral("/lib/%1").arg(QLatin1String(kMultiarch))
            << QStringLiteral("/usr/lib/%1").arg(QLatin1String(kMultiarch));
  }
  folders << QStringLiteral("/lib") << QStringLiteral("/usr/lib");
  folders.removeDuplicates();
  return folders;
}

}  // namespace zelv
