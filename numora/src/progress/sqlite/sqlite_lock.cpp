// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlite_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

namespace numora {

FileLock::FileLock(const QString& path) {
  fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileLock::TryExclusive() {
  return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

bool FileLock::TryShared() {
  return fd_ >= 0 && ::flock(fd_, LOCK_SH | LOCK_NB) == 0;
}

void FileLock::Unlock() {
  if (fd_ >= 0) ::flock(fd_, LOCK_UN);
}

}  // namespace numora
