// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_game.h"

#include <cmath>

#include "answer_check.h"
#include "engine/random.h"

namespace numora {
namespace {

// When a template gives up (see TaskMaker), another one is drawn; after this
// many in a row the slot stays empty instead of hanging the program.
constexpr int kTemplatePicksPerSlot = 64;

}  // namespace

TrainerGame::TrainerGame(TTemplateList templates, engine::TTermParser& parser, long attemptLimit,
                         std::function<WallClock::time_point()> clock)
    : templates_(std::move(templates)), maker_(parser, attemptLimit), clock_(std::move(clock)) {
  totals_.Difficulty = 1;
  NewRound();
}

void TrainerGame::SelectLevel(TLevel level) {
  if (level < kLevelCount) totals_.Difficulty = level;
}

void TrainerGame::DealTask(TaskSlot& slot) {
  slot = TaskSlot{};
  if (templates_.empty()) return;
  const TLevel level = Current().Difficulty;
  for (int pick = 0; pick < kTemplatePicksPerSlot; ++pick) {
    const auto index = engine::RandomBelow(static_cast<std::uint32_t>(templates_.size()));
    if (auto text = maker_.MakeTask(templates_[index], level, slot.Expected)) {
      slot.Text = std::move(*text);
      slot.Open = true;
      return;
    }
  }
  slot.Expected = 0;
}

void TrainerGame::ReportRound(RoundEnd end, std::int32_t specialPoints) {
  if (rounds_.empty() || roundReported_) return;
  roundReported_ = true;
  FinishedRound round;
  round.Number = rounds_.size();
  round.Counts = Current();
  round.SpecialPoints = specialPoints;
  round.TasksDealt = tasksDealt_;
  round.Start = roundStart_;
  round.End = end;
  roundFinished_.Emit(round);
}

void TrainerGame::EndSession() {
  ReportRound(roundComplete_ ? RoundEnd::Finished : RoundEnd::OpenAtClose, 0);
}

void TrainerGame::NewRound() {
  Deal({});
}

void TrainerGame::StartRun(TLevel level) {
  ReportRound(roundComplete_ ? RoundEnd::Finished : RoundEnd::Abandoned, 0);
  rounds_.clear();
  totals_ = TGameParams{};
  totals_.Difficulty = level < kLevelCount ? level : TLevel{1};
  specialPoints_ = 0;
  Deal({});  // with no rounds, it has nothing more to report
}

void TrainerGame::NewPracticeRound(const std::vector<PracticeTask>& tasks) {
  Deal(tasks);
}

void TrainerGame::Deal(const std::vector<PracticeTask>& practice) {
  // A completed round whose special points were never drawn still counts as
  // finished.
  ReportRound(roundComplete_ ? RoundEnd::Finished : RoundEnd::Abandoned, 0);
  TGameParams round;
  round.Difficulty = totals_.Difficulty;
  rounds_.push_back(round);
  roundStart_ = clock_();
  roundComplete_ = false;
  roundReported_ = false;
  practice_ = !practice.empty();
  remaining_ = 0;
  std::size_t given = 0;
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      TaskSlot& slot = Slot(column, row);
      if (given < practice.size()) {
        slot = TaskSlot{practice[given].Text, practice[given].Expected, true};
        ++given;
      } else {
        DealTask(slot);
      }
      if (slot.Open) ++remaining_;
    }
  }
  tasksDealt_ = remaining_;
  roundDealt_.Emit(DealtRound{rounds_.size(), practice_});
}

void TrainerGame::CountError() {
  ++totals_.Errors;
  ++Current().Errors;
}

void TrainerGame::CountError(int column, int row, std::string typed) {
  CountError();
  answered_.Emit(GivenAnswer{column, row, std::move(typed), false});
}

const TaskSlot& TrainerGame::Task(int column, int row) const {
  return tasks_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

TaskSlot& TrainerGame::Slot(int column, int row) {
  return tasks_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

bool TrainerGame::IsRightAnswer(int column, int row, std::int32_t answer) const {
  const engine::Extended expected = std::trunc(Task(column, row).Expected);
  // Both sides as 64-bit whole numbers; a value beyond that range (never
  // produced by the shipped templates) cannot equal a 32-bit answer.
  if (!(std::fabs(expected) < 0x1p62L)) return false;
  return static_cast<std::int64_t>(expected) == static_cast<std::int64_t>(answer);
}

std::int32_t TrainerGame::PointsPerTask() const {
  return kPointsPerTask.at(CurrentRound().Difficulty);
}

bool TrainerGame::Solve(int column, int row, std::string typed) {
  TaskSlot& slot = Slot(column, row);
  if (!slot.Open) return false;  // a solved task cannot score twice
  slot.Open = false;
  --remaining_;
  const std::int32_t points = PointsPerTask();
  totals_.Points += points;
  Current().Points += points;
  ++Current().Solved;
  ++totals_.Solved;
  roundComplete_ = remaining_ == 0;
  answered_.Emit(GivenAnswer{column, row, std::move(typed), true});
  return roundComplete_;
}

std::int32_t TrainerGame::AwardSpecialPoints() {
  const std::int32_t special =
      PointsPerTask() * (1 + static_cast<std::int32_t>(engine::RandomBelow(3)));
  specialPoints_ += special;
  totals_.Points += special;
  if (roundComplete_) ReportRound(RoundEnd::Finished, special);
  return special;
}

AnswerOutcome TrainerGame::Answer(TaskPlace task, const QString& typed) {
  if (task.Column < 0 || task.Column >= kTaskColumns || task.Row < 0 || task.Row >= kTaskRows ||
      !Task(task.Column, task.Row).Open) {
    return {AnswerResult::NotOpen, 0};
  }
  std::string utf8 = typed.toStdString();
  const std::optional<std::int32_t> number = ParseAnswer(typed);
  if (!number) {
    CountError(task.Column, task.Row, std::move(utf8));
    return {AnswerResult::Invalid, 0};
  }
  if (!IsRightAnswer(task.Column, task.Row, *number)) {
    CountError(task.Column, task.Row, std::move(utf8));
    return {AnswerResult::Wrong, 0};
  }
  if (!Solve(task.Column, task.Row, std::move(utf8))) return {AnswerResult::Solved, 0};
  return {AnswerResult::RoundComplete, AwardSpecialPoints()};
}

void TrainerGame::Tick() {
  ++totals_.Seconds;
  ++Current().Seconds;
}

}  // namespace numora
