// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The four charts of a child's progress, made from ProgressStats the same way
// for the progress window and for the printed report.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "progress_stats.h"

class QChart;

namespace numora {

enum class ProgressChart : std::uint8_t {
  PointsAndTasks,   // points and solved tasks per day or week
  FirstTryByKind,   // share right at the first try per kind, per day or week
  FirstTryOverall,  // the same per kind and per level over the whole period
  SecondsPerTask,   // seconds per solved task per day or week
};
inline constexpr int kProgressChartCount = 4;

// The colour of a kind of task, the same in every chart, the report and for
// every child.
QColor TaskKindColour(TaskKind kind);

// A value axis for counts or seconds: whole-number ticks from 0 to a round
// number at or above largest (at most about six steps).
struct WholeTicks {
  double Top = 1;
  double Interval = 1;
};
WholeTicks WholeNumberTicks(double largest);

// A new chart (the caller owns it) with its texts in font's family and size.
QChart* MakeProgressChart(ProgressChart which, const ProgressStats& stats, const QFont& font);

QString ProgressChartTitle(ProgressChart which);
// The chart's numbers in words, for screen readers.
QString ProgressChartSummary(ProgressChart which, const ProgressStats& stats);

}  // namespace numora
