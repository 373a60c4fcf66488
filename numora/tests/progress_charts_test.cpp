// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the charts draw a child's numbers: each kind in its own colour for
// every child, ticks on whole numbers, weeks the period cuts marked, a share
// of 0 % drawn and labelled; and the German report read back from its PDF.
#include "progress_charts.h"

#include <QBarSet>
#include <QChart>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QValueAxis>
#include <memory>

#include "progress_report.h"
#include "zelvlib/gui_test_main.h"

namespace numora {
namespace {

const QString kPartialWeek = QStringLiteral("angebrochene Woche (weniger als 7 Tage)");

StoreTime At(QDate day) {
  return QDateTime(day, QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
}

// Spans of one week each from the Monday first, with the given points and
// twice as many solved tasks; the period from firstDay to lastDay.
ProgressStats Weeks(QDate first, QDate firstDay, QDate lastDay, const std::vector<int>& points) {
  ProgressStats stats;
  stats.Step = ProgressStep::Week;
  stats.FirstDay = firstDay;
  stats.LastDay = lastDay;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ProgressSpan span;
    span.First = first.addDays(7 * static_cast<qint64>(i));
    span.Start = At(span.First);
    span.Rounds.Rounds = 1;
    span.Rounds.Points = points[i];
    span.Rounds.Solved = points[i] / 2;
    stats.Spans.push_back(span);
    stats.Totals.Points += points[i];
  }
  return stats;
}

template <typename T>
std::vector<T*> SeriesOf(const QChart& chart) {
  std::vector<T*> found;
  for (QAbstractSeries* series : chart.series()) {
    if (auto* typed = qobject_cast<T*>(series)) found.push_back(typed);
  }
  return found;
}

QValueAxis* ValueAxis(const QChart& chart, Qt::Alignment side) {
  for (QAbstractAxis* axis : chart.axes(Qt::Horizontal | Qt::Vertical)) {
    if (axis->alignment() == side) return qobject_cast<QValueAxis*>(axis);
  }
  return nullptr;
}

const QFont kFont(QStringLiteral("Sans Serif"), 9);

TEST(ProgressCharts, WholeNumberTicks) {
  struct Case {
    double largest;
    double top;
    double interval;
  };
  const Case cases[] = {{0, 1, 1},       {-3, 1, 1},       {1, 1, 1},    {1.1, 2, 1},
                        {2.5, 3, 1},     {6, 6, 1},        {7, 8, 2},    {12, 12, 2},
                        {13, 15, 5},     {37, 40, 10},     {61, 80, 20}, {180, 200, 50},
                        {720, 800, 200}, {2499, 2500, 500}};
  for (const Case& c : cases) {
    const WholeTicks ticks = WholeNumberTicks(c.largest);
    EXPECT_EQ(ticks.Top, c.top) << c.largest;
    EXPECT_EQ(ticks.Interval, c.interval) << c.largest;
  }
  // The charts use them: seconds of 1.1 and 2.5 per task on 0, 1, 2, 3.
  ProgressStats stats = Weeks(QDate(2026, 11, 2), QDate(2026, 11, 2), QDate(2026, 11, 15), {5, 5});
  stats.Spans[0].Time = {10, 11};
  stats.Spans[1].Time = {2, 5};
  const std::unique_ptr<QChart> chart(
      MakeProgressChart(ProgressChart::SecondsPerTask, stats, kFont));
  const QValueAxis* axis = ValueAxis(*chart, Qt::AlignLeft);
  ASSERT_NE(axis, nullptr);
  EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
  EXPECT_EQ(axis->tickInterval(), 1);
  EXPECT_EQ(axis->tickAnchor(), 0);
  EXPECT_EQ(axis->max(), 3);
}

// Each kind keeps its colour whichever kinds a child has practised.
TEST(ProgressCharts, EachKindKeepsItsColour) {
  std::vector<QColor> colours;
  for (int k = 0; k < kTaskKindCount; ++k) {
    const QColor colour = TaskKindColour(static_cast<TaskKind>(k));
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colour), 0) << k;
    colours.push_back(colour);
  }
  const std::vector<std::vector<TaskKind>> children = {
      {TaskKind::Addition, TaskKind::Subtraction, TaskKind::Multiplication, TaskKind::Division,
       TaskKind::Mixed},
      {TaskKind::Division, TaskKind::Mixed},
      {TaskKind::Subtraction}};
  for (const std::vector<TaskKind>& kinds : children) {
    ProgressStats stats =
        Weeks(QDate(2026, 11, 2), QDate(2026, 11, 2), QDate(2026, 11, 15), {4, 4});
    for (const TaskKind kind : kinds) {
      for (ProgressSpan& span : stats.Spans) span.ByKind[static_cast<std::size_t>(kind)] = {3, 4};
      stats.ByKind[static_cast<std::size_t>(kind)] = {6, 8};
    }
    const std::unique_ptr<QChart> chart(
        MakeProgressChart(ProgressChart::FirstTryByKind, stats, kFont));
    const std::vector<QLineSeries*> lines = SeriesOf<QLineSeries>(*chart);
    ASSERT_EQ(lines.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      EXPECT_EQ(lines[i]->color(), TaskKindColour(kinds[i])) << lines[i]->name().toStdString();
    }
  }
}

// By week, a week the period cuts has fewer days: its points are marked and
// the legend says so; whole weeks and days are not marked.
TEST(ProgressCharts, WeeksThePeriodCutsAreMarked) {
  struct Case {
    const char* name;
    QDate firstDay;
    QDate lastDay;
    std::vector<int> marked;  // spans
  };
  // 2026-11-02 and 2026-11-30 are Mondays.
  const Case cases[] = {
      {"whole weeks", QDate(2026, 11, 2), QDate(2026, 12, 6), {}},
      {"the running week: two days", QDate(2026, 11, 2), QDate(2026, 12, 1), {4}},
      {"both ends cut", QDate(2026, 11, 5), QDate(2026, 12, 3), {0, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgressStats stats =
        Weeks(QDate(2026, 11, 2), c.firstDay, c.lastDay, {700, 720, 710, 730, 180});
    const std::unique_ptr<QChart> chart(
        MakeProgressChart(ProgressChart::PointsAndTasks, stats, kFont));
    const std::vector<QScatterSeries*> marks = SeriesOf<QScatterSeries>(*chart);
    if (c.marked.empty()) {
      EXPECT_TRUE(marks.empty());
      continue;
    }
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0]->name(), kPartialWeek);
    QList<QPointF> expected;
    for (const int span : c.marked) {
      const ProgressSpan& s = stats.Spans[static_cast<std::size_t>(span)];
      expected << QPointF(static_cast<double>(s.Start), s.Rounds.Points)
               << QPointF(static_cast<double>(s.Start), s.Rounds.Solved);
    }
    EXPECT_EQ(marks[0]->points(), expected);
  }
  ProgressStats days = Weeks(QDate(2026, 11, 2), QDate(2026, 11, 2), QDate(2026, 11, 3), {5, 5});
  days.Step = ProgressStep::Day;
  const std::unique_ptr<QChart> chart(
      MakeProgressChart(ProgressChart::PointsAndTasks, days, kFont));
  EXPECT_TRUE(SeriesOf<QScatterSeries>(*chart).empty());
}

// A share of 0 % is a result: its bar stays in the chart with its label.
TEST(ProgressCharts, AZeroShareHasItsBarAndLabel) {
  ProgressStats stats = Weeks(QDate(2026, 11, 2), QDate(2026, 11, 2), QDate(2026, 11, 15), {4, 4});
  stats.ByKind[static_cast<std::size_t>(TaskKind::Addition)] = {9, 10};
  stats.ByKind[static_cast<std::size_t>(TaskKind::Subtraction)] = {0, 12};
  stats.ByLevel[1] = {9, 22};
  const std::unique_ptr<QChart> chart(
      MakeProgressChart(ProgressChart::FirstTryOverall, stats, kFont));
  const std::vector<QHorizontalBarSeries*> bars = SeriesOf<QHorizontalBarSeries>(*chart);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_TRUE(bars[0]->isLabelsVisible());
  EXPECT_EQ(bars[0]->labelsPosition(), QAbstractBarSeries::LabelsInsideBase);
  ASSERT_GE(bars[0]->count(), 1);
  QBarSet& set = *bars[0]->barSets().front();
  // Reversed: the last category is at the top.
  ASSERT_EQ(set.count(), 3);
  EXPECT_EQ(set.at(2), 90);
  EXPECT_EQ(set.at(1), 0);
  EXPECT_EQ(set.at(0), 41);
  for (int k = 0; k < kTaskKindCount; ++k) {
    EXPECT_NE(set.color(), TaskKindColour(static_cast<TaskKind>(k)));
  }
  // The share of 0 %: a mark at the axis on its category, labelled.
  const std::vector<QScatterSeries*> marks = SeriesOf<QScatterSeries>(*chart);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0]->points(), (QList<QPointF>{{0, 1}}));
  EXPECT_TRUE(marks[0]->pointLabelsVisible());
  EXPECT_EQ(marks[0]->pointLabelsFormat(), QStringLiteral("@xPoint %"));
  EXPECT_EQ(marks[0]->attachedAxes().size(), 2);

  // Without a share of 0 %, no mark.
  stats.ByKind[static_cast<std::size_t>(TaskKind::Subtraction)] = {1, 12};
  const std::unique_ptr<QChart> none(
      MakeProgressChart(ProgressChart::FirstTryOverall, stats, kFont));
  EXPECT_TRUE(SeriesOf<QScatterSeries>(*none).empty());
}

// The German report read back from its PDF: the axes show their numbers,
// nothing is cut to "…", the share of 0 % is written, the partial week is
// explained.
TEST(ProgressReport, GermanReportShowsItsNumbers) {
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  ProgressStats stats =
      Weeks(QDate(2026, 1, 5), QDate(2026, 1, 5), QDate(2026, 12, 8), std::vector<int>(49, 720));
  stats.Spans.back().Rounds.Points = 180;
  for (ProgressSpan& span : stats.Spans) {
    span.ByKind[0] = {8, 10};
    span.ByKind[1] = {0, 10};
    span.Time = {100, 250};
  }
  stats.ByKind[0] = {392, 490};
  stats.ByKind[1] = {0, 490};
  stats.ByLevel[2] = {392, 980};
  stats.Time = {4900, 12250};
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("bericht.pdf"));
  {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    ASSERT_TRUE(RenderProgressReport(
        {QStringLiteral("Anna"), ProgressPeriod::Year, stats, QDate(2026, 12, 8)}, pdf));
  }
  QProcess process;
  process.start(pdftotext, {QStringLiteral("-raw"), path, QStringLiteral("-")});
  ASSERT_TRUE(process.waitForFinished(60000));
  ASSERT_EQ(process.exitCode(), 0);
  const QString text = QString::fromUtf8(process.readAllStandardOutput());
  EXPECT_FALSE(text.contains(u'…')) << text.toStdString();
  // The points axis: 0 to 800 in steps of 200.
  for (const char* tick : {"800", "600", "400", "200"}) {
    EXPECT_TRUE(text.contains(QString::fromLatin1(tick))) << tick << "\n" << text.toStdString();
  }
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("(^|\\s)0 %"))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("80 %"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("angebrochene Woche"))) << text.toStdString();
}

}  // namespace
}  // namespace numora
