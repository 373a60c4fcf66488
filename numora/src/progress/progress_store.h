// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What numora keeps of a child's practice beyond one run: profiles, every
// round and every task with the answers given. The main window records into
// a ProgressStore through a ProgressRecorder; the progress window, the export
// and the practice of missed tasks read from it. Implementations: SQLite on
// disk (sqlite_progress_store.h) and MemoryProgressStore, which tests use and
// which the program falls back to when the file cannot be used.
//
// Reads give a value or a typed error (store_result.h), never an empty list
// for a failure. Task terms are text as shown (decoded once, by the
// recorder). Problems meant for the user go to Problems(), which the window
// shows when it is its turn.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game_params.h"
#include "store_problems.h"
#include "store_result.h"
#include "task_kind.h"

namespace numora {

using ProfileId = std::int64_t;
using RoundId = std::int64_t;
// Milliseconds since 1970-01-01 UTC.
using StoreTime = std::int64_t;

struct ProfileInfo {
  ProfileId Id = 0;
  QString Name;
};

// How a stored round stands; the numbers are what the file holds.
// AbandonedByExit: left open by a run that ended without closing it (a crash,
// a kill), closed at a later start.
enum class RoundState : std::uint8_t {
  Open = 0,
  Finished = 1,
  Abandoned = 2,
  OpenAtClose = 3,
  AbandonedByExit = 4,
};
inline constexpr int kRoundStateCount = 5;

struct RoundTaskRecord {
  int Slot = 0;  // 0..14 in reading order
  QString Term;  // as shown, e.g. "250/25+7"
  std::int64_t Expected = 0;
};

struct RoundOpening {
  ProfileId Profile = 0;
  StoreTime Start = 0;
  TLevel Level = 0;
  bool Practice = false;
  std::vector<RoundTaskRecord> Tasks;
};

struct AnswerRecord {
  int Slot = 0;
  QString Typed;
  bool Right = false;
  std::int32_t Second = 0;  // the round's seconds when it was given
  // Seconds since the previous task of the round was solved (or the round
  // began); for right answers.
  std::int32_t SecondsToSolve = 0;
  TGameParams Counts;  // the round's counts after this answer
};

struct RoundClosing {
  RoundState State = RoundState::Finished;
  std::int32_t SpecialPoints = 0;
  TGameParams Counts;
};

struct StoredRound {
  RoundId Id = 0;
  StoreTime Start = 0;
  TGameParams Counts;  // with the level in Difficulty
  std::int32_t SpecialPoints = 0;
  RoundState State = RoundState::Open;
  bool Practice = false;
};

struct StoredTask {
  RoundId Round = 0;
  StoreTime RoundStart = 0;
  TLevel Level = 0;
  int Slot = 0;
  QString Term;
  std::int64_t Expected = 0;
  TaskKind Kind = TaskKind::Mixed;
  std::int32_t WrongAnswers = 0;
  bool Solved = false;
  std::int32_t SecondsToSolve = 0;  // 0 unless solved
  QStringList Answers;              // in the order given
};

// A task answered wrong at least once and not yet answered right at the first
// try in a later round.
struct MissedTask {
  QString Term;
  std::int64_t Expected = 0;
  int Misses = 0;  // tasks with that term answered wrong
  StoreTime LastMiss = 0;
};

// Sums over the rounds that started within one span of time. Rounds counts
// the rounds with at least one answer (a round dropped by a change of level
// before any answer is no round a parent would count); Points include the
// special points of finished rounds, as the main window's totals do.
struct RoundSums {
  std::int64_t Rounds = 0;
  std::int64_t Points = 0;
  std::int64_t Solved = 0;
  std::int64_t Errors = 0;
  std::int64_t Seconds = 0;
  friend bool operator==(const RoundSums&, const RoundSums&) = default;
};

// Sums over the answered tasks (solved, or answered wrong at least once) of
// one kind and level whose round started within one span of time. Tasks
// nobody answered (a round given up early) count nowhere.
struct TaskSums {
  int Span = 0;  // index of the span
  TaskKind Kind = TaskKind::Mixed;
  TLevel Level = 0;
  std::int64_t Tasks = 0;
  std::int64_t RightFirstTry = 0;  // solved without a wrong answer
  std::int64_t Solved = 0;
  std::int64_t SecondsToSolve = 0;  // summed over the solved ones
  friend bool operator==(const TaskSums&, const TaskSums&) = default;
};

// A term answered wrong in tasks of a period.
struct WrongTerm {
  QString Term;
  std::int64_t Expected = 0;
  int Tasks = 0;         // tasks with that term answered wrong at least once
  int WrongAnswers = 0;  // wrong answers given to them
  friend bool operator==(const WrongTerm&, const WrongTerm&) = default;
};

// Consecutive spans of time: span i runs from Starts[i] to Starts[i + 1],
// the last one to End. Starts ascend.
struct TimeSpans {
  std::vector<StoreTime> Starts;
  StoreTime End = 0;
};

class ProgressStore {
 public:
  virtual ~ProgressStore() = default;

  virtual StoreResult<std::vector<ProfileInfo>> Profiles() = 0;
  // A new profile; std::nullopt when the name is taken, empty or cannot be
  // stored. Names pass CleanProfileName first.
  virtual std::optional<ProfileId> AddProfile(const QString& name) = 0;
  virtual bool RenameProfile(ProfileId profile, const QString& name) = 0;
  // Removes the profile with all its rounds.
  virtual bool DeleteProfile(ProfileId profile) = 0;
  virtual StoreResult<std::optional<ProfileId>> LastProfile() = 0;
  virtual void SetLastProfile(ProfileId profile) = 0;

  // Each call is committed before it returns. A profile or round that is not
  // (or no longer) in the store gives StoreErrorKind::Missing and writes
  // nothing.
  virtual StoreResult<RoundId> StartRound(const RoundOpening& opening) = 0;
  virtual StoreStatus RecordAnswer(RoundId round, const AnswerRecord& answer) = 0;
  virtual StoreStatus EndRound(RoundId round, const RoundClosing& closing) = 0;

  // Rounds and tasks whose round started in [from, to), oldest first.
  virtual StoreResult<std::vector<StoredRound>> Rounds(ProfileId profile, StoreTime from,
                                                       StoreTime to) = 0;
  // On an error, visit may have seen some of the tasks.
  virtual StoreStatus ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                                  const std::function<void(const StoredTask&)>& visit) = 0;
  // Missed tasks of rounds started since `since`, the most recently missed
  // first, then the most often missed; at most limit.
  virtual StoreResult<std::vector<MissedTask>> MissedTasks(ProfileId profile, StoreTime since,
                                                           int limit) = 0;

  // The sums the progress window charts, computed where the data is: ten
  // years of practice are far too many tasks to hand over one by one.
  // One entry per span, empty spans included.
  virtual StoreResult<std::vector<RoundSums>> SumRounds(ProfileId profile,
                                                        const TimeSpans& spans) = 0;
  // One entry per span, kind and level that has answered tasks; ordered by
  // span, kind, level.
  virtual StoreResult<std::vector<TaskSums>> SumTasks(ProfileId profile,
                                                      const TimeSpans& spans) = 0;
  // The terms answered wrong in rounds started in [from, to): the most often
  // missed first, then the most wrong answers, then by term; at most limit.
  virtual StoreResult<std::vector<WrongTerm>> MostMissedTerms(ProfileId profile, StoreTime from,
                                                              StoreTime to, int limit) = 0;
  // When the profile's first round started; std::nullopt without rounds.
  virtual StoreResult<std::optional<StoreTime>> FirstRoundStart(ProfileId profile) = 0;

  // What went wrong, for the window to show when it is its turn.
  StoreProblems& Problems() { return problems_; }

 private:
  StoreProblems problems_;
};

// A name as a profile keeps it: control characters removed, blanks trimmed,
// at most kProfileNameMax characters. Empty when nothing is left.
inline constexpr int kProfileNameMax = 60;
QString CleanProfileName(const QString& name);

// The kind of a task as shown (the operators are plain ASCII).
TaskKind ClassifyTerm(const QString& term);

}  // namespace numora
