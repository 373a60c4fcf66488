// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Problems with the progress store, kept until the window shows them. The
// store and the recorder only post here: they run inside the game's answer
// handling, where a message box would block the round half done. The window
// is told that something waits and takes the problems when it is its turn;
// the words for people are the interface's (store_problem_text.h).
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "store_result.h"

namespace numora {

enum class StoreEvent : std::uint8_t {
  NotOpened,        // the file cannot be used: this run plays without saving
  SetAside,         // the file was damaged and now lies at Path; a new one is used
  DamagedButInUse,  // damaged, but another running copy uses it: no saving
  NotSaving,        // a write failed; the answers wait in memory
  SavingAgain,      // the store works again; the waiting answers are written
  ProfileGone,      // the child practising was deleted by another running copy
  ReadFailed,       // something could not be read; what is shown is incomplete
};

struct StoreProblem {
  StoreEvent Event = StoreEvent::NotOpened;
  StoreError Error;
  QString Path;              // the file, or where it was set aside
  std::int64_t Profile = 0;  // the child deleted, for ProfileGone
  friend bool operator==(const StoreProblem&, const StoreProblem&) = default;
};

class StoreProblems {
 public:
  // Queues a problem, unless the same one already waits, and tells the
  // listener.
  void Post(StoreProblem problem);
  // The waiting problems, oldest first; the queue is empty afterwards.
  std::vector<StoreProblem> Take();
  bool Empty() const { return waiting_.empty(); }
  // Called after each post; it must not show anything at once (post an event
  // to itself instead), since posts come from deep inside an answer.
  void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  std::vector<StoreProblem> waiting_;
  std::function<void()> listener_;
};

}  // namespace numora
