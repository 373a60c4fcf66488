// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A lock on a file beside the progress file that every running copy holds
// shared while it uses the store. Whoever gets it exclusive knows that no
// other copy has the store open: only then may a damaged file be set aside.
// The system drops the lock when a process ends, however it ends (kill -9
// included), so a crashed copy never blocks the next start.
#pragma once

#include <QString>

namespace numora {

class FileLock {
 public:
  explicit FileLock(const QString& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the lock file cannot be opened (a folder that cannot be
  // written): then nothing can be locked.
  bool Usable() const { return fd_ >= 0; }
  // Without waiting; false when another holder (another copy) prevents it.
  bool TryExclusive();
  bool TryShared();
  void Unlock();

 private:
  int fd_ = -1;
};

}  // namespace numora
