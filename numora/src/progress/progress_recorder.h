// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds a ProgressStore from the trainer game's events: each dealt round with
// its tasks, each answer as it is given, each round's end. Attached to one
// game and one profile at a time; detaching (or destroying the recorder)
// leaves the game as it was. The game's task texts (Windows-1252) become
// text here, once; the stores and everything above keep them as QString.
// The writes go through PendingWrites, so a store that fails for a while
// gets every answer later, in order.
#pragma once

#include <memory>
#include <optional>

#include "pending_writes.h"
#include "progress_store.h"
#include "trainer_game.h"

namespace numora {

class ProgressRecorder {
 public:
  // Records the game's running round at once (it was dealt before). The
  // writes that wait outlive the recorder when they are the caller's (a
  // change of child must not drop the last round's answers).
  ProgressRecorder(TrainerGame& game, PendingWrites& writes, ProfileId profile);
  ProgressRecorder(TrainerGame& game, ProgressStore& store, ProfileId profile);
  ~ProgressRecorder();
  ProgressRecorder(const ProgressRecorder&) = delete;
  ProgressRecorder& operator=(const ProgressRecorder&) = delete;

  ProfileId Profile() const { return profile_; }
  // Ends the recorded round now as abandoned, with its counts so far (the
  // child changes); answers after this are not recorded.
  void AbandonRound();
  ProgressStore& Store() { return writes_.Store(); }
  // False while writes wait for the store.
  bool Saving() const { return writes_.Saving(); }
  // True once the child was found deleted (by another running copy).
  bool ProfileGone() const { return round_ && writes_.Gone(*round_); }

 private:
  void RoundDealt();
  void Answered(const GivenAnswer& answer);
  void RoundFinished(const FinishedRound& round);

  TrainerGame& game_;
  std::unique_ptr<PendingWrites> ownWrites_;
  PendingWrites& writes_;
  ProfileId profile_;
  std::optional<PendingWrites::Handle> round_;
  std::int32_t lastSolvedSecond_ = 0;
  // Listening beside any other listener of the game; the connections end
  // first when the recorder goes.
  EventConnection dealt_;
  EventConnection answered_;
  EventConnection finished_;
};

// Milliseconds since 1970 UTC of a wall-clock time.
StoreTime ToStoreTime(WallClock::time_point time);

}  // namespace numora
