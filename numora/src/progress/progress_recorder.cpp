// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_recorder.h"

#include <QString>
#include <cmath>

#include "zelvlib/cp1252.h"

namespace numora {

StoreTime ToStoreTime(WallClock::time_point time) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

ProgressRecorder::ProgressRecorder(TrainerGame& game, ProgressStore& store, ProfileId profile)
    : ProgressRecorder(game, *std::make_unique<PendingWrites>(store).release(), profile) {
  ownWrites_.reset(&writes_);
}

ProgressRecorder::ProgressRecorder(TrainerGame& game, PendingWrites& writes, ProfileId profile)
    : game_(game),
      writes_(writes),
      profile_(profile),
      dealt_(game_.OnRoundDealt([this](const DealtRound&) { RoundDealt(); })),
      answered_(game_.OnAnswer([this](const GivenAnswer& answer) { Answered(answer); })),
      finished_(
          game_.OnRoundFinished([this](const FinishedRound& round) { RoundFinished(round); })) {
  RoundDealt();
}

ProgressRecorder::~ProgressRecorder() = default;

void ProgressRecorder::RoundDealt() {
  RoundOpening opening;
  opening.Profile = profile_;
  opening.Start = ToStoreTime(game_.CurrentRoundStart());
  opening.Level = game_.CurrentRound().Difficulty;
  opening.Practice = game_.CurrentRoundIsPractice();
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      const TaskSlot& slot = game_.Task(column, row);
      if (!slot.Open) continue;
      opening.Tasks.push_back({row * kTaskColumns + column, zelv::FromWindows1252(slot.Text),
                               static_cast<std::int64_t>(std::trunc(slot.Expected))});
    }
  }
  round_ = writes_.StartRound(opening);
  lastSolvedSecond_ = 0;
}

void ProgressRecorder::Answered(const GivenAnswer& answer) {
  if (!round_) return;
  AnswerRecord record;
  record.Slot = answer.Row * kTaskColumns + answer.Column;
  record.Typed = QString::fromStdString(answer.Typed);
  record.Right = answer.Right;
  record.Counts = game_.CurrentRound();
  record.Second = record.Counts.Seconds;
  if (answer.Right) {
    record.SecondsToSolve = record.Second - lastSolvedSecond_;
    lastSolvedSecond_ = record.Second;
  }
  writes_.RecordAnswer(*round_, record);
}

void ProgressRecorder::AbandonRound() {
  if (!round_) return;
  writes_.EndRound(*round_, {RoundState::Abandoned, 0, game_.CurrentRound()});
  round_.reset();
}

void ProgressRecorder::RoundFinished(const FinishedRound& round) {
  if (!round_) return;
  RoundClosing closing;
  switch (round.End) {
    case RoundEnd::Finished:
      closing.State = RoundState::Finished;
      break;
    case RoundEnd::Abandoned:
      closing.State = RoundState::Abandoned;
      break;
    case RoundEnd::OpenAtClose:
      closing.State = RoundState::OpenAtClose;
      break;
  }
  closing.SpecialPoints = round.SpecialPoints;
  closing.Counts = round.Counts;
  writes_.EndRound(*round_, closing);
  round_.reset();
}

}  // namespace numora
