// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The state of a training session: the templates, the 15 tasks of the current
// round, the record of every round and the running totals. The main window
// shows this state and feeds it the child's actions; tests drive it directly.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/extended.h"
#include "game_params.h"
#include "task_maker.h"
#include "task_templates.h"

namespace numora {

inline constexpr int kTaskColumns = 5;
inline constexpr int kTaskRows = 3;
inline constexpr int kTasksPerRound = kTaskColumns * kTaskRows;

// One task of the current round.
struct TaskSlot {
  std::string Text;  // Windows-1252, e.g. "250/25+7"
  engine::Extended Expected = 0;
  bool Open = false;  // shown and not yet solved
};

using WallClock = std::chrono::system_clock;

// How a round ended.
enum class RoundEnd : std::uint8_t {
  Finished,     // every task solved; the special points are drawn
  Abandoned,    // a new round was dealt before (Neu, a level change)
  OpenAtClose,  // the session ended with the round still running
};

// What the round-finished event reports: one round's record as the history
// shows it, with the time it was dealt and how it ended.
struct FinishedRound {
  std::size_t Number = 0;  // 1-based, as in the history
  TGameParams Counts;
  std::int32_t SpecialPoints = 0;  // awarded for this round; 0 unless Finished
  std::uint8_t TasksDealt = 0;     // tasks shown at the start (15 unless templates fail)
  WallClock::time_point Start;
  RoundEnd End = RoundEnd::Abandoned;
};

// An answer the child gave to a task, reported after it was counted.
struct GivenAnswer {
  int Column = 0;
  int Row = 0;
  std::string Typed;  // as typed, UTF-8
  bool Right = false;
};

// A task given again in a practice round: its text and value as once dealt.
struct PracticeTask {
  std::string Text;
  engine::Extended Expected = 0;
};

class TrainerGame {
 public:
  using RoundFinishedHandler = std::function<void(const FinishedRound&)>;
  using RoundDealtHandler = std::function<void()>;
  using AnswerHandler = std::function<void(const GivenAnswer&)>;

  // Starts round 1 at "mittel". The random generator should be seeded before.
  // The clock gives the start time of each round.
  TrainerGame(TTemplateList templates, engine::TTermParser& parser,
              long attemptLimit = TaskMaker::kDefaultAttemptLimit,
              std::function<WallClock::time_point()> clock = &WallClock::now);

  // Called exactly once per round, when it ends: after AwardSpecialPoints for
  // a completed round, on NewRound for one left unfinished, on EndSession for
  // the running one. Rounds that ended before the handler was set are not
  // reported again.
  void SetRoundFinishedHandler(RoundFinishedHandler handler) {
    onRoundFinished_ = std::move(handler);
  }
  // Called after each deal, when the new round's tasks are in place.
  void SetRoundDealtHandler(RoundDealtHandler handler) { onRoundDealt_ = std::move(handler); }
  // Called for each answer to a task, after it was counted.
  void SetAnswerHandler(AnswerHandler handler) { onAnswer_ = std::move(handler); }

  // Deals a new round of 15 tasks at the selected level and appends its
  // record; the previous round's record stays with the counts it had.
  void NewRound();
  // Like NewRound, but the first slots (in reading order) get the given tasks
  // again; with fewer than 15, the rest are made as usual.
  void NewPracticeRound(const std::vector<PracticeTask>& tasks);
  // The program closes: reports the running round, if it is still open.
  void EndSession();
  // The level of the next round (the menu starts one right after).
  void SelectLevel(TLevel level);

  // A wrong or invalid answer; with a task, the answer event reports it.
  void CountError();
  void CountError(int column, int row, std::string typed);
  // Whether answer is the value of the open task at column, row.
  bool IsRightAnswer(int column, int row, std::int32_t answer) const;
  // Marks the task solved and scores it (and reports the right answer);
  // true when the round is complete.
  bool Solve(int column, int row, std::string typed = {});
  // Draws the special points of a completed round (1, 2 or 3 times the points
  // per task), adds them to the totals but not to the round, and returns them.
  std::int32_t AwardSpecialPoints();
  // One second of play.
  void Tick();

  const TTemplateList& Templates() const { return templates_; }
  std::uint8_t Remaining() const { return remaining_; }
  const std::vector<TGameParams>& Rounds() const { return rounds_; }
  const TGameParams& Totals() const { return totals_; }
  const TGameParams& CurrentRound() const { return rounds_.back(); }
  std::int32_t SpecialPoints() const { return specialPoints_; }
  WallClock::time_point CurrentRoundStart() const { return roundStart_; }
  bool CurrentRoundIsPractice() const { return practice_; }
  const TaskSlot& Task(int column, int row) const;
  std::int32_t PointsPerTask() const;
  TaskMaker& Maker() { return maker_; }

 private:
  TaskSlot& Slot(int column, int row);
  TGameParams& Current() { return rounds_.back(); }
  void DealTask(TaskSlot& slot);
  void ReportRound(RoundEnd end, std::int32_t specialPoints);
  void Deal(const std::vector<PracticeTask>& practice);

  TTemplateList templates_;
  std::uint8_t remaining_ = 0;
  std::vector<TGameParams> rounds_;
  TGameParams totals_;
  std::int32_t specialPoints_ = 0;
  std::array<std::array<TaskSlot, kTaskRows>, kTaskColumns> tasks_{};
  TaskMaker maker_;
  std::function<WallClock::time_point()> clock_;
  RoundFinishedHandler onRoundFinished_;
  RoundDealtHandler onRoundDealt_;
  AnswerHandler onAnswer_;
  WallClock::time_point roundStart_;
  std::uint8_t tasksDealt_ = 0;
  bool roundComplete_ = false;
  bool roundReported_ = false;
  bool practice_ = false;
};

}  // namespace numora
