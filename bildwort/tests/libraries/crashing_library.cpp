// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture library whose file is sound but whose loading ends the process,
// as a library with damaged code or data would: its constructor raises the
// signal a read beyond a file's end raises. Only a trial process ever loads
// it.
#include <csignal>

namespace {

__attribute__((constructor)) void EndTheLoadingProcess() {
  std::raise(SIGBUS);
}

}  // namespace
