// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A look at a shared library's file before the dynamic loader maps it. The
// loader trusts the file's headers: a copy cut short is mapped beyond its
// end, and the first read there ends the process with SIGBUS, long before
// any error could be returned. Here the headers are read from the bytes
// alone, and every part of the file they point to must lie inside it. The
// check reads nothing but the bytes it is given and never runs anything.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string_view>

namespace zelv {

enum class SharedObjectFault : std::uint8_t {
  None,        // the headers describe a file of this size
  Empty,       // no bytes at all
  NotElf,      // no ELF file: no library of any kind
  WrongKind,   // ELF, but not for this computer (class, byte order, machine)
  NotShared,   // ELF for this computer, but no shared library
  Truncated,   // shorter than its headers say
  BadHeaders,  // headers that contradict themselves
  Unreadable,  // the file could not be opened or read
};

struct SharedObjectCheck {
  SharedObjectFault fault = SharedObjectFault::None;
  // The file's size, and for Truncated the size its headers need.
  std::uint64_t size = 0;
  std::uint64_t needed = 0;
  // For developers and logs: which header or part is at fault, in English.
  std::string_view detail;

  bool Ok() const { return fault == SharedObjectFault::None; }
};

// Checks the bytes of a whole file as this computer's dynamic loader would
// need them: the ELF identification for this machine, a shared object, the
// program and section header tables, every segment's and section's bytes
// inside the file, and a dynamic segment inside a loaded one.
SharedObjectCheck CheckSharedObject(std::string_view bytes);

// The same for a file; files larger than `limit` bytes are not read and
// count as unreadable.
SharedObjectCheck CheckSharedObjectFile(const QString& path,
                                        std::uint64_t limit = 512ull * 1024 * 1024);

// The folders the dynamic loader searches after LD_LIBRARY_PATH: those
// named in /etc/ld.so.conf (and the files it includes) and the system's own
// library folders, in that order, each once; so that a library's file can be
// found, and checked, before the loader is asked for it by name.
QStringList SystemLibraryFolders();

}  // namespace zelv
