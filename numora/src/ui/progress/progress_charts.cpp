// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_charts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "main_window.h"

namespace numora {
namespace {

class ChartTexts {
  Q_DECLARE_TR_FUNCTIONS(numora::ProgressCharts)
};

// Markers on the lines only while they stay apart.
constexpr std::size_t kMostSpansWithMarkers = 60;

QString KindName(TaskKind kind) {
  return QCoreApplication::translate("numora::TaskKind", TaskKindName(kind));
}

QString LevelCategory(int level) {
  return ChartTexts::tr("Stufe %1").arg(LevelText(static_cast<TLevel>(level)));
}

double SpanX(const ProgressSpan& span) {
  return static_cast<double>(span.Start);
}

QFont TitleFont(const QFont& font) {
  QFont title = font;
  title.setBold(true);
  if (title.pixelSize() > 0) {
    title.setPixelSize(title.pixelSize() * 6 / 5);
  } else {
    title.setPointSizeF(title.pointSizeF() * 1.2);
  }
  return title;
}

QChart* NewChart(ProgressChart which, const QFont& font) {
  auto* chart = new QChart;
  chart->setTitle(ProgressChartTitle(which));
  chart->setTitleFont(TitleFont(font));
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setFont(font);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setBackgroundRoundness(0);
  return chart;
}

// mostTicks: fewer where a legend beside the chart leaves less width.
void AddTimeAxis(QChart& chart, const ProgressStats& stats, const QFont& font, int mostTicks = 7) {
  auto* axis = new QDateTimeAxis;
  const qint64 days = stats.FirstDay.daysTo(stats.LastDay);
  //: Date formats of the time axis: day and month; month and year.
  axis->setFormat(days > 200 ? ChartTexts::tr("MM.yyyy") : ChartTexts::tr("dd.MM."));
  axis->setLabelsFont(font);
  axis->setTickCount(std::clamp(static_cast<int>(stats.Spans.size()), 2, mostTicks));
  if (!stats.Spans.empty()) {
    axis->setRange(QDateTime::fromMSecsSinceEpoch(stats.Spans.front().Start),
                   QDateTime::fromMSecsSinceEpoch(stats.Spans.back().Start));
  }
  chart.addAxis(axis, Qt::AlignBottom);
  for (QAbstractSeries* series : chart.series()) series->attachAxis(axis);
}

QValueAxis* AddValueAxis(QChart& chart, const QFont& font, double top, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setLabelsFont(font);
  axis->setLabelFormat(QStringLiteral("%.0f"));
  axis->setRange(0, top > 0 ? top : 1);
  axis->applyNiceNumbers();
  if (!title.isEmpty()) {
    axis->setTitleText(title);
    axis->setTitleFont(font);
  }
  chart.addAxis(axis, Qt::AlignLeft);
  for (QAbstractSeries* series : chart.series()) series->attachAxis(axis);
  return axis;
}

QLineSeries* NewLine(QChart& chart, const QString& name, const ProgressStats& stats) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setPointsVisible(stats.Spans.size() <= kMostSpansWithMarkers);
  chart.addSeries(series);
  return series;
}

// A top for a value axis: a little above the largest value, on a round number.
double NiceTop(double largest) {
  if (largest <= 0) return 1;
  const double magnitude = std::pow(10.0, std::floor(std::log10(largest)));
  for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (largest <= step * magnitude) return step * magnitude;
  }
  return 10 * magnitude;
}

void FillPointsAndTasks(QChart& chart, const ProgressStats& stats, const QFont& font) {
  QLineSeries* points = NewLine(chart, ChartTexts::tr("Punkte"), stats);
  QLineSeries* solved = NewLine(chart, ChartTexts::tr("Gelöste Aufgaben"), stats);
  double largest = 0;
  QList<QPointF> pointValues;
  QList<QPointF> solvedValues;
  for (const ProgressSpan& span : stats.Spans) {
    pointValues.append({SpanX(span), static_cast<double>(span.Rounds.Points)});
    solvedValues.append({SpanX(span), static_cast<double>(span.Rounds.Solved)});
    largest = std::max({largest, static_cast<double>(span.Rounds.Points),
                        static_cast<double>(span.Rounds.Solved)});
  }
  // All points at once: one by one, each would update the chart.
  points->replace(pointValues);
  solved->replace(solvedValues);
  AddTimeAxis(chart, stats, font);
  AddValueAxis(chart, font, NiceTop(largest), {});
}

void FillFirstTryByKind(QChart& chart, const ProgressStats& stats, const QFont& font) {
  for (int k = 0; k < kTaskKindCount; ++k) {
    const auto kind = static_cast<std::size_t>(k);
    if (stats.ByKind[kind].Tasks == 0) continue;  // no empty line in the legend
    QList<QPointF> values;
    for (const ProgressSpan& span : stats.Spans) {
      // Days without tasks of the kind have no share: the line goes on.
      if (const std::optional<double> percent = span.ByKind[kind].Percent()) {
        values.append({SpanX(span), *percent});
      }
    }
    NewLine(chart, KindName(static_cast<TaskKind>(k)), stats)->replace(values);
  }
  // Five names do not fit under the chart: beside it, one below the other.
  chart.legend()->setAlignment(Qt::AlignRight);
  AddTimeAxis(chart, stats, font, 4);
  AddValueAxis(chart, font, 100, ChartTexts::tr("%"));
}

void FillFirstTryOverall(QChart& chart, const ProgressStats& stats, const QFont& font) {
  QStringList categories;
  QList<qreal> values;
  for (int k = 0; k < kTaskKindCount; ++k) {
    if (const auto percent = stats.ByKind[static_cast<std::size_t>(k)].Percent()) {
      categories << KindName(static_cast<TaskKind>(k));
      values << std::round(*percent);
    }
  }
  for (int level = 0; level < kLevelCount; ++level) {
    if (const auto percent = stats.ByLevel[static_cast<std::size_t>(level)].Percent()) {
      categories << LevelCategory(level);
      values << std::round(*percent);
    }
  }
  // Horizontal bars grow upwards: reversed, the first category is at the
  // top, where reading starts.
  std::reverse(categories.begin(), categories.end());
  std::reverse(values.begin(), values.end());
  auto* set = new QBarSet(ChartTexts::tr("Beim ersten Versuch richtig (%)"));
  set->append(values);
  set->setLabelFont(font);

  auto* series = new QHorizontalBarSeries;
  series->append(set);
  series->setLabelsVisible(true);
  series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
  series->setLabelsFormat(QStringLiteral("@value %"));
  chart.addSeries(series);
  chart.legend()->setVisible(false);

  auto* names = new QBarCategoryAxis;
  names->append(categories);
  names->setLabelsFont(font);
  chart.addAxis(names, Qt::AlignLeft);
  series->attachAxis(names);
  auto* shares = new QValueAxis;
  shares->setRange(0, 100);
  shares->setLabelFormat(QStringLiteral("%.0f"));
  shares->setLabelsFont(font);
  chart.addAxis(shares, Qt::AlignBottom);
  series->attachAxis(shares);
}

void FillSecondsPerTask(QChart& chart, const ProgressStats& stats, const QFont& font) {
  double largest = 0;
  QList<QPointF> values;
  for (const ProgressSpan& span : stats.Spans) {
    if (const std::optional<double> seconds = span.Time.SecondsPerTask()) {
      values.append({SpanX(span), *seconds});
      largest = std::max(largest, *seconds);
    }
  }
  NewLine(chart, ChartTexts::tr("Sekunden pro Aufgabe"), stats)->replace(values);
  chart.legend()->setVisible(false);
  AddTimeAxis(chart, stats, font);
  AddValueAxis(chart, font, NiceTop(largest), ChartTexts::tr("Sekunden"));
}

QString SharesText(const ProgressStats& stats, bool withLevels) {
  QStringList parts;
  for (int k = 0; k < kTaskKindCount; ++k) {
    if (const auto percent = stats.ByKind[static_cast<std::size_t>(k)].Percent()) {
      parts << KindName(static_cast<TaskKind>(k)) + QLatin1Char(' ') + PercentText(*percent);
    }
  }
  for (int level = 0; withLevels && level < kLevelCount; ++level) {
    if (const auto percent = stats.ByLevel[static_cast<std::size_t>(level)].Percent()) {
      parts << LevelCategory(level) + QLatin1Char(' ') + PercentText(*percent);
    }
  }
  if (parts.isEmpty()) return ChartTexts::tr("Keine Aufgaben in diesem Zeitraum.");
  return ChartTexts::tr("Beim ersten Versuch richtig: %1.").arg(parts.join(QStringLiteral(", ")));
}

}  // namespace

QString ProgressChartTitle(ProgressChart which) {
  switch (which) {
    case ProgressChart::PointsAndTasks:
      return ChartTexts::tr("Punkte und gelöste Aufgaben");
    case ProgressChart::FirstTryByKind:
      return ChartTexts::tr("Beim ersten Versuch richtig, nach Art der Aufgabe");
    case ProgressChart::FirstTryOverall:
      return ChartTexts::tr("Beim ersten Versuch richtig, im ganzen Zeitraum");
    case ProgressChart::SecondsPerTask:
      break;
  }
  return ChartTexts::tr("Sekunden pro gelöster Aufgabe");
}

QChart* MakeProgressChart(ProgressChart which, const ProgressStats& stats, const QFont& font) {
  QChart* chart = NewChart(which, font);
  switch (which) {
    case ProgressChart::PointsAndTasks:
      FillPointsAndTasks(*chart, stats, font);
      break;
    case ProgressChart::FirstTryByKind:
      FillFirstTryByKind(*chart, stats, font);
      break;
    case ProgressChart::FirstTryOverall:
      FillFirstTryOverall(*chart, stats, font);
      break;
    case ProgressChart::SecondsPerTask:
      FillSecondsPerTask(*chart, stats, font);
      break;
  }
  return chart;
}

QString ProgressChartSummary(ProgressChart which, const ProgressStats& stats) {
  switch (which) {
    case ProgressChart::PointsAndTasks:
      return ChartTexts::tr("Insgesamt %1 Punkte und %2 gelöste Aufgaben in %3 Runden.")
          .arg(stats.Totals.Points)
          .arg(stats.Totals.Solved)
          .arg(stats.Totals.Rounds);
    case ProgressChart::FirstTryByKind:
      return SharesText(stats, false);
    case ProgressChart::FirstTryOverall:
      return SharesText(stats, true);
    case ProgressChart::SecondsPerTask:
      break;
  }
  if (const std::optional<double> seconds = stats.Time.SecondsPerTask()) {
    return ChartTexts::tr("Im Durchschnitt %1 Sekunden pro Aufgabe.").arg(DecimalText(*seconds));
  }
  return ChartTexts::tr("Keine gelösten Aufgaben in diesem Zeitraum.");
}

}  // namespace numora
