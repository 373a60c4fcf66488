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

#include <QString>

#include "engine/extended.h"
#include "game_event.h"
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

// What the round-dealt event reports: the new round's place in the history.
struct DealtRound {
  std::size_t Number = 0;  // 1-based, as in the history
  bool Practice = false;
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

// A task's place on the board.
struct TaskPlace {
  int Column = 0;
  int Row = 0;
};

// What became of an answer, for the interface to tell the child.
enum class AnswerResult : std::uint8_t {
  NotOpen,        // the task is solved or empty: nothing counted
  Invalid,        // not a whole number: one error; the child must choose the task again
  Wrong,          // a number, but not the value: one error; the child is asked again
  Solved,         // scored; the round goes on
  RoundComplete,  // scored, the last task: special points drawn and added
};

struct AnswerOutcome {
  AnswerResult Result = AnswerResult::NotOpen;
  std::int32_t SpecialPoints = 0;  // drawn for a completed round, else 0

  // A wrong number keeps the question open for the same task.
  bool AskAgain() const { return Result == AnswerResult::Wrong; }
  bool Scored() const {
    return Result == AnswerResult::Solved || Result == AnswerResult::RoundComplete;
  }
};

class TrainerGame {
 public:
  // Starts round 1 at "mittel". The random generator should be seeded before.
  // The clock gives the start time of each round.
  TrainerGame(TTemplateList templates, engine::TTermParser& parser,
              long attemptLimit = TaskMaker::kDefaultAttemptLimit,
              std::function<WallClock::time_point()> clock = &WallClock::now);

  // The game's events, each with any number of listeners; a listener hears
  // the event until its connection is destroyed.
  // Each round's end, exactly once per round: after the special points of a
  // completed round, on NewRound for one left unfinished, on EndSession for
  // the running one. Rounds that ended before a listener connected are not
  // reported again.
  [[nodiscard]] EventConnection OnRoundFinished(GameEvent<FinishedRound>::Listener listener) {
    return roundFinished_.Connect(std::move(listener));
  }
  // After each deal, when the new round's tasks are in place.
  [[nodiscard]] EventConnection OnRoundDealt(GameEvent<DealtRound>::Listener listener) {
    return roundDealt_.Connect(std::move(listener));
  }
  // Each answer to a task, after it was counted.
  [[nodiscard]] EventConnection OnAnswer(GameEvent<GivenAnswer>::Listener listener) {
    return answered_.Connect(std::move(listener));
  }

  // The child's answer to a task, as typed: read strictly as a whole number
  // (see ParseAnswer), counted and scored. Invalid input and a wrong number
  // each count one error; the right number solves the task; solving the last
  // one draws the round's special points and adds them to the totals. The
  // completed round stays the current one until NewRound, which the
  // interface calls once the child has seen the news: the time spent reading
  // it still belongs to the round.
  AnswerOutcome Answer(TaskPlace task, const QString& typed);

  // Deals a new round of 15 tasks at the selected level and appends its
  // record; the previous round's record stays with the counts it had.
  void NewRound();
  // Like NewRound, but the first slots (in reading order) get the given tasks
  // again; with fewer than 15, the rest are made as usual.
  void NewPracticeRound(const std::vector<PracticeTask>& tasks);
  // Another child practises from now on: the running round ends as
  // abandoned (or finished, when completed), and a run starts as at program
  // start, with no rounds, zero totals and no special points, its first
  // round at the given level.
  void StartRun(TLevel level);
  // The program closes: reports the running round, if it is still open.
  void EndSession();
  // The level of the next round (the menu starts one right after).
  void SelectLevel(TLevel level);

  // The steps of Answer, for callers that have checked the answer themselves.
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
  GameEvent<FinishedRound> roundFinished_;
  GameEvent<DealtRound> roundDealt_;
  GameEvent<GivenAnswer> answered_;
  WallClock::time_point roundStart_;
  std::uint8_t tasksDealt_ = 0;
  bool roundComplete_ = false;
  bool roundReported_ = false;
  bool practice_ = false;
};

}  // namespace numora
