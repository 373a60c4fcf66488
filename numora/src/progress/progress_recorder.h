// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds a ProgressStore from the trainer game's events: each dealt round with
// its tasks, each answer as it is given, each round's end. Attached to one
// game and one profile at a time; detaching (or destroying the recorder)
// leaves the game as it was.
#pragma once

#include <optional>

#include "progress_store.h"
#include "trainer_game.h"

namespace numora {

class ProgressRecorder {
 public:
  // Records the game's running round at once (it was dealt before).
  ProgressRecorder(TrainerGame& game, ProgressStore& store, ProfileId profile);
  ~ProgressRecorder();
  ProgressRecorder(const ProgressRecorder&) = delete;
  ProgressRecorder& operator=(const ProgressRecorder&) = delete;

  ProfileId Profile() const { return profile_; }
  // Ends the recorded round now as abandoned, with its counts so far (the
  // child changes); answers after this are not recorded.
  void AbandonRound();
  ProgressStore& Store() { return store_; }

 private:
  void RoundDealt();
  void Answered(const GivenAnswer& answer);
  void RoundFinished(const FinishedRound& round);

  TrainerGame& game_;
  ProgressStore& store_;
  ProfileId profile_;
  std::optional<RoundId> round_;
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
