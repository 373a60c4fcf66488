// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_charts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
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

// The days of the period a week covers: fewer than 7 for a week the
// period's start or end cuts.
int SpanDays(const ProgressStats& stats, const ProgressSpan& span) {
  const QDate first = std::max(span.First, stats.FirstDay);
  const QDate last = std::min(span.First.addDays(6), stats.LastDay);
  return static_cast<int>(first.daysTo(last)) + 1;
}

// Bars that share one colour, none of the kinds' own.
const QColor kBarColour(0xa8, 0xbc, 0xd0);

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

// An axis of counts or seconds: ticks on whole numbers only (a tick at 2.5
// would be labelled like 2 or 3).
QValueAxis* AddValueAxis(QChart& chart, const QFont& font, double largest, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setLabelsFont(font);
  axis->setLabelFormat(QStringLiteral("%.0f"));
  const WholeTicks ticks = WholeNumberTicks(largest);
  axis->setRange(0, ticks.Top);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(ticks.Interval);
  if (!title.isEmpty()) {
    axis->setTitleText(title);
    axis->setTitleFont(font);
  }
  chart.addAxis(axis, Qt::AlignLeft);
  for (QAbstractSeries* series : chart.series()) series->attachAxis(axis);
  return axis;
}

// Shares from 0 to 100 % in steps of 20.
void AddPercentAxis(QChart& chart, const QFont& font, Qt::Alignment side, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setRange(0, 100);
  axis->setTickCount(6);
  axis->setLabelFormat(QStringLiteral("%.0f"));
  axis->setLabelsFont(font);
  if (!title.isEmpty()) {
    axis->setTitleText(title);
    axis->setTitleFont(font);
  }
  chart.addAxis(axis, side);
  for (QAbstractSeries* series : chart.series()) series->attachAxis(axis);
}

QLineSeries* NewLine(QChart& chart, const QString& name, const ProgressStats& stats) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setPointsVisible(stats.Spans.size() <= kMostSpansWithMarkers);
  chart.addSeries(series);
  return series;
}

// A week the period cuts (its first or the running one) has fewer days than
// the others, so its sums are smaller without the child doing worse: its
// points are marked, and the legend says why.
void MarkPartialWeeks(QChart& chart, const ProgressStats& stats, const QList<QPointF>& points,
                      const QList<QPointF>& solved) {
  if (stats.Step != ProgressStep::Week) return;
  QList<QPointF> marked;
  for (std::size_t i = 0; i < stats.Spans.size(); ++i) {
    if (SpanDays(stats, stats.Spans[i]) >= 7) continue;
    marked << points[static_cast<qsizetype>(i)] << solved[static_cast<qsizetype>(i)];
  }
  if (marked.isEmpty()) return;
  auto* series = new QScatterSeries;
  series->setName(ChartTexts::tr("angebrochene Woche (weniger als 7 Tage)"));
  series->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  series->setMarkerSize(11);
  series->setColor(Qt::transparent);
  series->setBorderColor(QColor(0x40, 0x40, 0x40));
  series->append(marked);
  chart.addSeries(series);
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
  MarkPartialWeeks(chart, stats, pointValues, solvedValues);
  AddTimeAxis(chart, stats, font);
  AddValueAxis(chart, font, largest, {});
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
    QLineSeries* line = NewLine(chart, KindName(static_cast<TaskKind>(k)), stats);
    line->setColor(TaskKindColour(static_cast<TaskKind>(k)));
    line->replace(values);
  }
  // Five names do not fit under the chart: beside it, one below the other.
  chart.legend()->setAlignment(Qt::AlignRight);
  AddTimeAxis(chart, stats, font, 4);
  AddPercentAxis(chart, font, Qt::AlignLeft, ChartTexts::tr("%"));
}

// A share of 0 % has no bar to draw and no room for its label, yet it is a
// result, not a lack of data: a mark at the axis, labelled "0 %".
QScatterSeries* MarkZeroShares(QChart& chart, const QList<qreal>& values, const QFont& font) {
  QList<QPointF> zeroes;
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (values[i] == 0) zeroes << QPointF(0, static_cast<double>(i));
  }
  if (zeroes.isEmpty()) return nullptr;
  auto* marks = new QScatterSeries;
  marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  marks->setMarkerSize(QFontMetrics(font).height());
  marks->setColor(kBarColour.darker(160));
  marks->setBorderColor(kBarColour.darker(160));
  marks->append(zeroes);
  marks->setPointLabelsVisible(true);
  marks->setPointLabelsFormat(QStringLiteral("@xPoint %"));
  marks->setPointLabelsFont(font);
  marks->setPointLabelsClipping(false);
  chart.addSeries(marks);
  return marks;
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
  set->setColor(kBarColour);
  set->setBorderColor(kBarColour.darker(160));
  set->setLabelColor(Qt::black);

  // The labels at the bars' base, where a short bar has room for them too.
  auto* series = new QHorizontalBarSeries;
  series->append(set);
  series->setLabelsVisible(true);
  series->setLabelsPosition(QAbstractBarSeries::LabelsInsideBase);
  series->setLabelsFormat(QStringLiteral("@value %"));
  chart.addSeries(series);
  chart.legend()->setVisible(false);
  QScatterSeries* zeroes = MarkZeroShares(chart, values, font);

  auto* names = new QBarCategoryAxis;
  names->append(categories);
  names->setLabelsFont(font);
  chart.addAxis(names, Qt::AlignLeft);
  series->attachAxis(names);
  if (zeroes) zeroes->attachAxis(names);
  AddPercentAxis(chart, font, Qt::AlignBottom, {});
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
  AddValueAxis(chart, font, largest, ChartTexts::tr("Sekunden"));
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

QColor TaskKindColour(TaskKind kind) {
  // Told apart also by people who confuse red and green.
  switch (kind) {
    case TaskKind::Addition:
      return {0x1f, 0x77, 0xb4};  // blue
    case TaskKind::Subtraction:
      return {0xe6, 0x7e, 0x00};  // orange
    case TaskKind::Multiplication:
      return {0x2c, 0xa0, 0x2c};  // green
    case TaskKind::Division:
      return {0xc0, 0x1c, 0x4b};  // crimson
    case TaskKind::Mixed:
      break;
  }
  return {0x7b, 0x4f, 0xa8};  // purple
}

WholeTicks WholeNumberTicks(double largest) {
  if (!(largest > 0)) return {1, 1};
  // Steps 1, 2, 5, 10, 20, 50, ...: the first that needs at most six of
  // them to reach the largest value.
  double interval = 1;
  for (int i = 0; std::ceil(largest / interval) > 6; ++i) {
    interval *= i % 3 == 1 ? 2.5 : 2;
  }
  return {std::ceil(largest / interval) * interval, interval};
}

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
