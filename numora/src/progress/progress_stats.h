// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the progress window and the printed report show of one child over a
// period: the store's sums by day or week, the shares right at the first try
// by kind of task and by level, the terms most often missed and the weakest
// kind. Plain data, computed without any window.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <array>
#include <optional>
#include <vector>

#include "game_params.h"
#include "progress_store.h"
#include "task_kind.h"

namespace numora {

enum class ProgressPeriod : std::uint8_t { FourWeeks, ThreeMonths, Year, All };
inline constexpr int kProgressPeriodCount = 4;
enum class ProgressStep : std::uint8_t { Day, Week };

struct ProgressQuery {
  ProfileId Profile = 0;
  ProgressPeriod Period = ProgressPeriod::FourWeeks;
  ProgressStep Step = ProgressStep::Day;
  QDateTime Now;                                 // the period ends with this day
  QTimeZone Zone = QTimeZone::systemTimeZone();  // where days begin and end
};

// Answered tasks and those of them right at the first try.
struct FirstTryShare {
  std::int64_t Right = 0;
  std::int64_t Tasks = 0;
  // In per cent; std::nullopt without tasks.
  std::optional<double> Percent() const;
  void Add(std::int64_t right, std::int64_t tasks) {
    Right += right;
    Tasks += tasks;
  }
};

// Solved tasks and the seconds they took.
struct SolvingTime {
  std::int64_t Solved = 0;
  std::int64_t Seconds = 0;
  // std::nullopt without solved tasks.
  std::optional<double> SecondsPerTask() const;
};

// One day or one week (starting on Monday) of the period.
struct ProgressSpan {
  QDate First;
  StoreTime Start = 0;
  RoundSums Rounds;
  std::array<FirstTryShare, kTaskKindCount> ByKind{};
  SolvingTime Time;
};

struct ProgressStats {
  ProgressStep Step = ProgressStep::Day;
  QDate FirstDay;
  QDate LastDay;
  std::vector<ProgressSpan> Spans;
  RoundSums Totals;
  std::array<FirstTryShare, kTaskKindCount> ByKind{};
  std::array<FirstTryShare, kLevelCount> ByLevel{};
  SolvingTime Time;
  std::vector<WrongTerm> MostMissed;
  // The kind with the smallest share right at the first try, among the kinds
  // with at least kWeakestKindMinTasks answered tasks; none when fewer than
  // two kinds have that many (there is nothing to compare then).
  std::optional<TaskKind> WeakestKind;
  // Set when the store could not give everything: the numbers above are
  // then incomplete, and the window says so.
  std::optional<StoreError> ReadError;
};

inline constexpr int kMostMissedShown = 10;
inline constexpr int kWeakestKindMinTasks = 10;

ProgressStats ComputeProgress(ProgressStore& store, const ProgressQuery& query);

// Texts for the window and the report, in the interface language.
QString PeriodName(ProgressPeriod period);       // "letzte 4 Wochen", ...
QString PeriodText(const ProgressStats& stats);  // "10.11.2026 bis 07.12.2026"
QString TotalsText(const ProgressStats& stats);  // rounds, tasks, points, ...
QString WeakestKindSentence(const ProgressStats& stats);
QString PercentText(double percent);  // "62 %"
QString DecimalText(double value);    // "7,4": one decimal

}  // namespace numora
