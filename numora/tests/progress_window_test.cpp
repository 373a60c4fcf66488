// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window offscreen: its charts hold the numbers of a known
// history, the period can be changed, it is reached from the main window's
// menu, and its report is one PDF page.
#include <QAction>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPdfWriter>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>

#include "main_window.h"
#include "memory_progress_store.h"
#include "progress_report.h"
#include "progress_session.h"
#include "progress_window.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace numora {
namespace {

const QTimeZone kUtc = QTimeZone::utc();
const QDateTime kNow(QDate(2026, 12, 7), QTime(15, 0), kUtc);

StoreTime At(int month, int day, int hour) {
  return QDateTime(QDate(2026, month, day), QTime(hour, 0), kUtc).toMSecsSinceEpoch();
}

// A round with each task answered right at once, except the wrong ones.
void Play(ProgressStore& store, ProfileId profile, StoreTime start, TLevel level,
          const std::vector<std::string>& terms, const std::vector<int>& wrong, int points) {
  RoundOpening opening{profile, start, level, false, {}};
  for (std::size_t i = 0; i < terms.size(); ++i) {
    opening.Tasks.push_back({static_cast<int>(i), QString::fromStdString(terms[i]), 1});
  }
  const RoundId round = *store.StartRound(opening);
  for (std::size_t i = 0; i < terms.size(); ++i) {
    if (std::find(wrong.begin(), wrong.end(), static_cast<int>(i)) != wrong.end()) {
      store.RecordAnswer(round, {static_cast<int>(i), QStringLiteral("0"), false, 0, 0, {}});
    }
    store.RecordAnswer(round, {static_cast<int>(i), QStringLiteral("1"), true, 0, 6, {}});
  }
  TGameParams counts;
  counts.Solved = static_cast<int>(terms.size());
  counts.Points = points;
  counts.Errors = static_cast<int>(wrong.size());
  store.EndRound(round, {RoundState::Finished, 0, counts});
}

std::vector<std::string> Repeat(const std::string& term, int count) {
  return std::vector<std::string>(static_cast<std::size_t>(count), term);
}

QList<double> Ys(const QXYSeries& series) {
  QList<double> ys;
  for (const QPointF& point : series.points()) ys << point.y();
  return ys;
}

QLineSeries* Line(QChartView* view, const QString& name) {
  for (QAbstractSeries* series : view->chart()->series()) {
    if (series->name() == name) return qobject_cast<QLineSeries*>(series);
  }
  return nullptr;
}

class ProgressWindowTest : public ::testing::Test {
 protected:
  ProgressWindowTest() {
    anna_ = *store_.AddProfile(QStringLiteral("Anna"));
    // Three days ago 12 additions, one missed; today 10 divisions at the
    // hard level, four missed, "56/7" twice.
    Play(store_, anna_, At(12, 4, 9), 0, Repeat("4+5", 12), {3}, 12);
    Play(store_, anna_, At(12, 7, 9), 2,
         {"56/7", "56/7", "81/9", "81/9", "12/3", "12/3", "12/3", "12/3", "12/3", "12/3"},
         {0, 1, 2, 9}, 50);
    window_.SetProfile(anna_, QStringLiteral("Anna"));
    window_.SetClock(kNow, kUtc);
  }

  MemoryProgressStore store_;
  ProfileId anna_ = 0;
  ProgressWindow window_{store_};
};

TEST_F(ProgressWindowTest, TheChartsHoldTheNumbersOfTheHistory) {
  window_.ShowProgress();
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.PeriodBox->currentIndex(), static_cast<int>(ProgressPeriod::FourWeeks));

  QLineSeries* points = Line(window_.ChartView(ProgressChart::PointsAndTasks), "Punkte");
  QLineSeries* solved = Line(window_.ChartView(ProgressChart::PointsAndTasks), "Gelöste Aufgaben");
  ASSERT_TRUE(points && solved);
  ASSERT_EQ(points->count(), 28);  // one point a day
  EXPECT_EQ(Ys(*points).mid(24), (QList<double>{12, 0, 0, 50}));
  EXPECT_EQ(Ys(*solved).mid(24), (QList<double>{12, 0, 0, 10}));
  EXPECT_EQ(points->at(27).x(), static_cast<double>(At(12, 7, 0)));

  // A line per kind practised, with points only on the days it was.
  QChartView* byKind = window_.ChartView(ProgressChart::FirstTryByKind);
  ASSERT_EQ(byKind->chart()->series().size(), 2);
  QLineSeries* additions = Line(byKind, "Additionen");
  QLineSeries* divisions = Line(byKind, "Divisionen");
  ASSERT_TRUE(additions && divisions);
  ASSERT_EQ(additions->count(), 1);
  EXPECT_NEAR(additions->at(0).y(), 100.0 * 11 / 12, 1e-9);
  EXPECT_EQ(Ys(*divisions), (QList<double>{60}));

  // Kinds first, then levels, the first at the top.
  auto* bars = qobject_cast<QHorizontalBarSeries*>(
      window_.ChartView(ProgressChart::FirstTryOverall)->chart()->series().value(0));
  ASSERT_TRUE(bars);
  QBarSet* set = bars->barSets().value(0);
  ASSERT_TRUE(set);
  ASSERT_EQ(set->count(), 4);
  EXPECT_EQ((QList<double>{set->at(3), set->at(2), set->at(1), set->at(0)}),
            (QList<double>{92, 60, 92, 60}));  // additions, divisions, leicht, schwer

  QLineSeries* seconds =
      Line(window_.ChartView(ProgressChart::SecondsPerTask), "Sekunden pro Aufgabe");
  ASSERT_TRUE(seconds);
  EXPECT_EQ(Ys(*seconds), (QList<double>{6, 6}));

  ASSERT_EQ(window_.MissedTable->rowCount(), 4);  // "56/7", then "12/3", "4+5", "81/9"
  EXPECT_EQ(window_.MissedTable->item(0, 0)->text(), QStringLiteral("56/7"));
  EXPECT_EQ(window_.MissedTable->item(0, 2)->text(), QStringLiteral("2"));
  EXPECT_TRUE(window_.WeakestLabel->text().contains(
      QStringLiteral("Am schwersten fallen noch die Divisionen: 60 %")));
  EXPECT_TRUE(
      window_.TotalsLabel->text().contains(QStringLiteral("2 Runden, 22 gelöste Aufgaben")));
}

TEST_F(ProgressWindowTest, EveryPartHasANameForScreenReaders) {
  window_.ShowProgress();
  for (int i = 0; i < kProgressChartCount; ++i) {
    QChartView* view = window_.ChartView(static_cast<ProgressChart>(i));
    EXPECT_EQ(view->accessibleName(), view->chart()->title());
    EXPECT_FALSE(view->accessibleDescription().isEmpty());
    EXPECT_TRUE(view->focusPolicy() & Qt::TabFocus);
  }
  EXPECT_EQ(window_.ChartView(ProgressChart::PointsAndTasks)->accessibleDescription(),
            QStringLiteral("Insgesamt 62 Punkte und 22 gelöste Aufgaben in 2 Runden."));
  EXPECT_FALSE(window_.PeriodBox->accessibleName().isEmpty());
  EXPECT_FALSE(window_.StepBox->accessibleName().isEmpty());
  EXPECT_FALSE(window_.MissedTable->accessibleName().isEmpty());
}

TEST_F(ProgressWindowTest, ALongerPeriodIsShownByWeek) {
  window_.ShowProgress();
  window_.PeriodBox->setCurrentIndex(static_cast<int>(ProgressPeriod::Year));
  emit window_.PeriodBox->activated(window_.PeriodBox->currentIndex());
  EXPECT_EQ(window_.StepBox->currentIndex(), static_cast<int>(ProgressStep::Week));
  QLineSeries* points = Line(window_.ChartView(ProgressChart::PointsAndTasks), "Punkte");
  ASSERT_TRUE(points);
  ASSERT_EQ(points->count(), 53);
  // 4 and 7 December fall into two weeks (Monday to Sunday).
  EXPECT_EQ(Ys(*points).mid(51), (QList<double>{12, 50}));

  window_.StepBox->setCurrentIndex(static_cast<int>(ProgressStep::Day));
  emit window_.StepBox->activated(window_.StepBox->currentIndex());
  EXPECT_EQ(Line(window_.ChartView(ProgressChart::PointsAndTasks), "Punkte")->count(), 365);
}

TEST_F(ProgressWindowTest, NarrowOrZoomedTheChartsGoOneBelowTheOther) {
  window_.ShowProgress();
  const auto columns = [&] {
    QSet<int> lefts;
    for (int i = 0; i < kProgressChartCount; ++i) {
      lefts.insert(window_.ChartView(static_cast<ProgressChart>(i))->x());
    }
    return lefts.size();
  };
  window_.resize(1400, 900);
  QCoreApplication::processEvents();
  EXPECT_EQ(columns(), 2);
  window_.resize(700, 900);
  QCoreApplication::processEvents();
  EXPECT_EQ(columns(), 1);
  // Twice the text size: the charts' smallest size doubles with it.
  window_.resize(1400, 900);
  QFont large = window_.font();
  large.setPointSizeF(large.pointSizeF() * 2);
  window_.setFont(large);
  QCoreApplication::processEvents();
  EXPECT_EQ(columns(), 1);
  EXPECT_GE(window_.ChartView(ProgressChart::PointsAndTasks)->minimumWidth(), 700);
}

TEST_F(ProgressWindowTest, TheReportIsOnePdfPage) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("report.pdf"));
  {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    ASSERT_TRUE(window_.PrintTo(pdf));
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_EQ(
      bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
}

TEST_F(ProgressWindowTest, AReportThatCannotBeWrittenSaysSo) {
  QTemporaryDir folder;
  QPdfWriter pdf(folder.filePath(QStringLiteral("no such folder/report.pdf")));
  EXPECT_FALSE(
      RenderProgressReport({QStringLiteral("Anna"), ProgressPeriod::FourWeeks, {}, {}}, pdf));
}

TEST(ProgressSessionCommands, TheFileMenuOpensTheWindowAndOffersPrinting) {
  zelv::ScriptedDialogs dialogs;
  TForm1 form(dialogs, nullptr, 4711);
  ProgressSession session(form, dialogs,
                          {std::make_unique<MemoryProgressStore>(), std::nullopt, QString()});
  const QList<QAction*> items = form.FileMenu->actions();
  const auto progress = std::find(items.begin(), items.end(), session.ProgressAction);
  ASSERT_NE(progress, items.end());
  EXPECT_EQ(*(progress + 1), session.PrintAction);
  EXPECT_TRUE((*(progress + 2))->isSeparator());
  EXPECT_EQ(items.back(), form.Exit1);
  EXPECT_EQ(session.ProgressAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  EXPECT_EQ(session.PrintAction->shortcut(), QKeySequence(QKeySequence::Print));
  // No shortcut of the main window is taken twice.
  for (QAction* other : form.actions()) {
    if (other == session.ProgressAction || other->shortcut().isEmpty()) continue;
    EXPECT_NE(other->shortcut(), session.ProgressAction->shortcut()) << other->text().toStdString();
  }

  session.ProgressAction->trigger();
  ProgressWindow& window = session.Window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.Heading->text().contains(session.ProfileName().toHtmlEscaped()));
  // The round just begun has no answer yet: it is no round for a parent.
  EXPECT_EQ(window.Stats().Totals.Rounds, 0);

  // Another child: the open window follows.
  const ProfileId ben = *session.Store().AddProfile(QStringLiteral("Ben <3"));
  session.SwitchProfile(ben);
  EXPECT_TRUE(window.Heading->text().contains(QStringLiteral("Ben &lt;3")));
  EXPECT_EQ(window.Stats().Totals.Rounds, 0);  // his new round, not answered yet
}

}  // namespace
}  // namespace numora
