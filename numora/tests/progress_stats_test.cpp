// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the progress window shows, from a known practice history: the
// stores' sums (SQLite and memory must agree) and the statistics made of
// them, period by period.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>

#include "memory_progress_store.h"
#include "progress_stats.h"
#include "sqlite_progress_store.h"

namespace numora {
namespace {

const QTimeZone kUtc = QTimeZone::utc();
const QDateTime kNow(QDate(2026, 12, 7), QTime(15, 0), kUtc);  // a Monday

StoreTime At(int year, int month, int day, int hour, const QTimeZone& zone = kUtc) {
  return QDateTime(QDate(year, month, day), QTime(hour, 0), zone).toMSecsSinceEpoch();
}

struct PlayedTask {
  std::string Term;
  std::int64_t Expected;
  int Wrong;           // wrong answers before the right one
  bool Solved;         // answered right in the end
  int SecondsToSolve;  // when solved
};

// Plays a round into the store the way the recorder does: answers one by
// one, then the closing counts.
void Play(ProgressStore& store, ProfileId profile, StoreTime start, TLevel level,
          const std::vector<PlayedTask>& tasks, TGameParams counts) {
  RoundOpening opening{profile, start, level, false, {}};
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    opening.Tasks.push_back(
        {static_cast<int>(i), QString::fromStdString(tasks[i].Term), tasks[i].Expected});
  }
  const RoundId round = *store.StartRound(opening);
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    for (int w = 0; w < tasks[i].Wrong; ++w) {
      store.RecordAnswer(round, {static_cast<int>(i), QStringLiteral("0"), false, 0, 0, {}});
    }
    if (tasks[i].Solved) {
      store.RecordAnswer(round, {static_cast<int>(i),
                                 QString::number(tasks[i].Expected),
                                 true,
                                 0,
                                 tasks[i].SecondsToSolve,
                                 {}});
    }
  }
  store.EndRound(round, {RoundState::Finished, 0, counts});
}

TGameParams Counts(int solved, int points, int errors, int seconds) {
  TGameParams counts;
  counts.Solved = solved;
  counts.Points = points;
  counts.Errors = errors;
  counts.Seconds = seconds;
  return counts;
}

enum class StoreKind { Memory, Sqlite };

// Anna's history (and one round of Ben's that must never count for her).
class ProgressStatsTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  void SetUp() override {
    if (GetParam() == StoreKind::Memory) {
      store_ = std::make_unique<MemoryProgressStore>();
    } else {
      ASSERT_TRUE(folder_.isValid());
      OpenedProgressStore opened = OpenProgressStore(folder_.filePath(QStringLiteral("p.sqlite")));
      ASSERT_FALSE(opened.Problem);
      store_ = std::move(opened.Store);
    }
    anna_ = *store_->AddProfile(QStringLiteral("Anna"));
    ben_ = *store_->AddProfile(QStringLiteral("Ben"));
    // Today: one of each of three kinds; "8/2" is never answered.
    Play(*store_, anna_, At(2026, 12, 7, 9), 0,
         {{"3+4", 7, 0, true, 10},
          {"9-2", 7, 1, true, 20},
          {"6*7", 42, 0, true, 5},
          {"8/2", 4, 0, false, 0}},
         Counts(3, 3, 1, 60));
    // Yesterday, the hard level.
    Play(*store_, anna_, At(2026, 12, 6, 10), 2,
         {{"6*7", 42, 2, true, 30}, {"5+5", 10, 0, true, 4}}, Counts(2, 10, 2, 40));
    // Five weeks ago: missed and given up.
    Play(*store_, anna_, At(2026, 11, 1, 8), 1, {{"9-2", 7, 1, false, 0}}, Counts(0, 0, 1, 30));
    // Two years ago, the very first round.
    Play(*store_, anna_, At(2024, 12, 1, 8), 0, {{"1+1", 2, 0, true, 3}}, Counts(1, 1, 0, 9));
    Play(*store_, ben_, At(2026, 12, 7, 9), 0, {{"9-2", 7, 3, true, 50}}, Counts(1, 1, 3, 50));
  }

  ProgressStats Compute(ProgressPeriod period, ProgressStep step, const QTimeZone& zone = kUtc) {
    return ComputeProgress(*store_, {anna_, period, step, kNow, zone});
  }

  QTemporaryDir folder_;
  std::unique_ptr<ProgressStore> store_;
  ProfileId anna_ = 0;
  ProfileId ben_ = 0;
};

TEST_P(ProgressStatsTest, TheStoreSumsRoundsAndAnsweredTasksPerSpan) {
  const TimeSpans spans{{At(2026, 12, 6, 0), At(2026, 12, 7, 0), At(2026, 12, 7, 12)},
                        At(2026, 12, 8, 0)};
  EXPECT_EQ(*store_->SumRounds(anna_, spans),
            (std::vector<RoundSums>{{1, 10, 2, 2, 40}, {1, 3, 3, 1, 60}, {}}));
  // Per span, kind and level: unanswered tasks ("8/2") count nowhere.
  const auto add = TaskKind::Addition;
  const auto sub = TaskKind::Subtraction;
  const auto mul = TaskKind::Multiplication;
  EXPECT_EQ(*store_->SumTasks(anna_, spans), (std::vector<TaskSums>{{0, add, 2, 1, 1, 1, 4},
                                                                    {0, mul, 2, 1, 0, 1, 30},
                                                                    {1, add, 0, 1, 1, 1, 10},
                                                                    {1, sub, 0, 1, 0, 1, 20},
                                                                    {1, mul, 0, 1, 1, 1, 5}}));
  EXPECT_EQ(*store_->SumTasks(ben_, spans), (std::vector<TaskSums>{{1, sub, 0, 1, 0, 1, 50}}));
  // Spans without an end before them or empty lists.
  EXPECT_TRUE(store_->SumRounds(anna_, {{}, At(2026, 12, 8, 0)})->empty());
  EXPECT_TRUE(store_->SumTasks(anna_, {{}, At(2026, 12, 8, 0)})->empty());
}

TEST_P(ProgressStatsTest, TheMostMissedTermsAndTheFirstRound) {
  EXPECT_EQ(*store_->MostMissedTerms(anna_, At(2026, 11, 1, 0), At(2026, 12, 8, 0), 10),
            (std::vector<WrongTerm>{{"9-2", 7, 2, 2}, {"6*7", 42, 1, 2}}));
  EXPECT_EQ(*store_->MostMissedTerms(anna_, At(2026, 12, 1, 0), At(2026, 12, 8, 0), 10),
            (std::vector<WrongTerm>{{"6*7", 42, 1, 2}, {"9-2", 7, 1, 1}}));
  EXPECT_EQ(store_->MostMissedTerms(anna_, At(2026, 11, 1, 0), At(2026, 12, 8, 0), 1)->size(), 1u);
  EXPECT_TRUE(store_->MostMissedTerms(anna_, At(2025, 1, 1, 0), At(2026, 11, 1, 0), 10)->empty());
  EXPECT_EQ(*store_->FirstRoundStart(anna_), At(2024, 12, 1, 8));
  const ProfileId nobody = *store_->AddProfile(QStringLiteral("Cleo"));
  EXPECT_EQ(*store_->FirstRoundStart(nobody), std::nullopt);
}

TEST_P(ProgressStatsTest, PeriodsAndSteps) {
  struct Case {
    ProgressPeriod Period;
    ProgressStep Step;
    QDate FirstDay;
    std::size_t Spans;
    RoundSums Totals;
  };
  const Case cases[] = {
      {ProgressPeriod::FourWeeks, ProgressStep::Day, QDate(2026, 11, 10), 28, {2, 13, 5, 3, 100}},
      // Weeks start on Monday: the period reaches back to the Monday before.
      {ProgressPeriod::FourWeeks, ProgressStep::Week, QDate(2026, 11, 9), 5, {2, 13, 5, 3, 100}},
      {ProgressPeriod::ThreeMonths, ProgressStep::Week, QDate(2026, 9, 7), 14, {3, 13, 5, 4, 130}},
      {ProgressPeriod::Year, ProgressStep::Week, QDate(2025, 12, 8), 53, {3, 13, 5, 4, 130}},
      {ProgressPeriod::All, ProgressStep::Day, QDate(2024, 12, 1), 737, {4, 14, 6, 4, 139}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Period) * 10 + static_cast<int>(c.Step));
    const ProgressStats stats = Compute(c.Period, c.Step);
    EXPECT_EQ(stats.FirstDay, c.FirstDay);
    EXPECT_EQ(stats.LastDay, QDate(2026, 12, 7));
    ASSERT_EQ(stats.Spans.size(), c.Spans);
    EXPECT_EQ(stats.Spans.front().First, c.FirstDay);
    EXPECT_EQ(stats.Totals, c.Totals);
    // The spans add up to the totals.
    std::int64_t points = 0;
    for (const ProgressSpan& span : stats.Spans) points += span.Rounds.Points;
    EXPECT_EQ(points, c.Totals.Points);
  }
}

TEST_P(ProgressStatsTest, FourWeeksByDay) {
  const ProgressStats stats = Compute(ProgressPeriod::FourWeeks, ProgressStep::Day);
  const ProgressSpan& today = stats.Spans[27];
  const ProgressSpan& yesterday = stats.Spans[26];
  EXPECT_EQ(today.First, QDate(2026, 12, 7));
  EXPECT_EQ(today.Rounds.Points, 3);
  EXPECT_EQ(yesterday.Rounds.Points, 10);
  EXPECT_EQ(stats.Spans[0].Rounds, RoundSums{});
  EXPECT_EQ(today.ByKind[static_cast<int>(TaskKind::Subtraction)].Percent(), 0.0);
  EXPECT_EQ(today.ByKind[static_cast<int>(TaskKind::Division)].Percent(), std::nullopt);
  EXPECT_EQ(yesterday.ByKind[static_cast<int>(TaskKind::Multiplication)].Percent(), 0.0);
  EXPECT_EQ(today.Time.SecondsPerTask(), 35.0 / 3);
  EXPECT_EQ(yesterday.Time.SecondsPerTask(), 17.0);

  const auto share = [&](TaskKind kind) { return stats.ByKind[static_cast<int>(kind)]; };
  EXPECT_EQ(share(TaskKind::Addition).Percent(), 100.0);
  EXPECT_EQ(share(TaskKind::Subtraction).Percent(), 0.0);
  EXPECT_EQ(share(TaskKind::Multiplication).Percent(), 50.0);
  EXPECT_EQ(share(TaskKind::Division).Tasks, 0);  // never answered
  EXPECT_EQ(stats.ByLevel[0].Right, 2);
  EXPECT_EQ(stats.ByLevel[0].Tasks, 3);
  EXPECT_EQ(stats.ByLevel[1].Tasks, 0);
  EXPECT_EQ(stats.ByLevel[2].Percent(), 50.0);
  EXPECT_EQ(stats.Time.SecondsPerTask(), 69.0 / 5);
  EXPECT_EQ(stats.MostMissed, (std::vector<WrongTerm>{{"6*7", 42, 1, 2}, {"9-2", 7, 1, 1}}));
  // Three kinds, none with ten tasks: nothing to compare yet.
  EXPECT_EQ(stats.WeakestKind, std::nullopt);
}

TEST_P(ProgressStatsTest, DaysBeginInTheGivenTimeZone) {
  const QTimeZone berlin("Europe/Berlin");
  ASSERT_TRUE(berlin.isValid());
  // 23:30 in UTC is already the next day in Berlin.
  Play(*store_, anna_, QDateTime(QDate(2026, 12, 5), QTime(23, 30), kUtc).toMSecsSinceEpoch(), 0,
       {{"2+2", 4, 0, true, 2}}, Counts(1, 1, 0, 5));
  const ProgressStats utc = Compute(ProgressPeriod::FourWeeks, ProgressStep::Day);
  const ProgressStats local = Compute(ProgressPeriod::FourWeeks, ProgressStep::Day, berlin);
  EXPECT_EQ(utc.Spans[25].Rounds.Rounds, 1);  // 5 December
  EXPECT_EQ(utc.Spans[26].Rounds.Rounds, 1);
  EXPECT_EQ(local.Spans[25].Rounds.Rounds, 0);
  EXPECT_EQ(local.Spans[26].Rounds.Rounds, 2);  // 6 December
  EXPECT_EQ(local.Spans[26].Start, At(2026, 12, 6, 0, berlin));
}

TEST_P(ProgressStatsTest, TheWeakestKindNeedsEnoughTasksOfTwoKinds) {
  const auto many = [](const char* term, std::int64_t expected, int count, int wrong) {
    std::vector<PlayedTask> tasks;
    for (int i = 0; i < count; ++i) tasks.push_back({term, expected, i < wrong ? 1 : 0, true, 5});
    return tasks;
  };
  Play(*store_, anna_, At(2026, 12, 5, 9), 1, many("9+9", 18, 10, 1), Counts(10, 20, 1, 99));
  EXPECT_EQ(Compute(ProgressPeriod::FourWeeks, ProgressStep::Day).WeakestKind, std::nullopt);
  Play(*store_, anna_, At(2026, 12, 5, 10), 1, many("72/8", 9, 12, 3), Counts(12, 24, 3, 99));
  const ProgressStats stats = Compute(ProgressPeriod::FourWeeks, ProgressStep::Day);
  EXPECT_EQ(stats.WeakestKind, TaskKind::Division);
  EXPECT_EQ(WeakestKindSentence(stats),
            QStringLiteral("Am schwersten fallen noch die Divisionen: 75 % davon waren beim "
                           "ersten Versuch richtig."));
}

TEST_P(ProgressStatsTest, ARoundNotEndedCountsFromItsTasks) {
  // Being played (or left open by a crash): answered, but never ended.
  RoundOpening opening{anna_, At(2026, 12, 7, 14), 1, false, {{0, "7*7", 49}, {1, "8*8", 64}}};
  const RoundId round = *store_->StartRound(opening);
  store_->RecordAnswer(round, {0, QStringLiteral("48"), false, 3, 0, {}});
  store_->RecordAnswer(round, {0, QStringLiteral("49"), true, 9, 9, {}});
  const TimeSpans spans{{At(2026, 12, 7, 0)}, At(2026, 12, 8, 0)};
  EXPECT_EQ(*store_->SumTasks(anna_, spans),
            (std::vector<TaskSums>{{0, TaskKind::Addition, 0, 1, 1, 1, 10},
                                   {0, TaskKind::Subtraction, 0, 1, 0, 1, 20},
                                   {0, TaskKind::Multiplication, 0, 1, 1, 1, 5},
                                   {0, TaskKind::Multiplication, 1, 1, 0, 1, 9}}));
  // Ended, it counts the same, once.
  store_->EndRound(round, {RoundState::Abandoned, 0, Counts(1, 2, 1, 20)});
  const std::vector<TaskSums> ended = *store_->SumTasks(anna_, spans);
  ASSERT_EQ(ended.size(), 4u);
  EXPECT_EQ(ended[3], (TaskSums{0, TaskKind::Multiplication, 1, 1, 0, 1, 9}));
}

// The parent's numbers: a round dropped before any answer is no round, the
// special points of a finished round count as in the main window's totals.
TEST_P(ProgressStatsTest, RoundsWithoutAnswersDoNotCountAndSpecialPointsDo) {
  const ProfileId cleo = *store_->AddProfile(QStringLiteral("Cleo"));
  // Dropped by a change of level before anything was answered, twice.
  for (int i = 0; i < 2; ++i) {
    RoundOpening opening{cleo, At(2026, 12, 7, 8) + i, 1, false, {{0, "1+1", 2}}};
    const RoundId dropped = *store_->StartRound(opening);
    (void)store_->EndRound(dropped, {RoundState::Abandoned, 0, {}});
  }
  Play(*store_, cleo, At(2026, 12, 7, 9), 1, {{"2+2", 4, 0, true, 3}}, Counts(1, 2, 0, 3));
  RoundOpening opening{cleo, At(2026, 12, 7, 10), 1, false, {{0, "3+3", 6}}};
  const RoundId bonus = *store_->StartRound(opening);
  (void)store_->RecordAnswer(bonus, {0, QStringLiteral("6"), true, 2, 2, Counts(1, 2, 0, 2)});
  (void)store_->EndRound(bonus, {RoundState::Finished, 14, Counts(1, 2, 0, 2)});
  const TimeSpans spans{{At(2026, 12, 7, 0)}, At(2026, 12, 8, 0)};
  const std::vector<RoundSums> sums = *store_->SumRounds(cleo, spans);
  ASSERT_EQ(sums.size(), 1u);
  EXPECT_EQ(sums[0].Rounds, 2);
  EXPECT_EQ(sums[0].Points, 2 + 2 + 14);
}

INSTANTIATE_TEST_SUITE_P(BothStores, ProgressStatsTest,
                         ::testing::Values(StoreKind::Memory, StoreKind::Sqlite),
                         [](const auto& info) {
                           return info.param == StoreKind::Memory ? "Memory" : "Sqlite";
                         });

// A file of the first schema, from before the store kept each ended round's
// sums: opening it sums up the rounds it holds.
TEST(ProgressStatsMigration, AnOlderFileGetsTheSumsOfItsRounds) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("p.sqlite"));
  ProfileId anna = 0;
  MemoryProgressStore same;
  const ProfileId sameAnna = *same.AddProfile(QStringLiteral("Anna"));
  {
    OpenedProgressStore opened = OpenProgressStore(path);
    anna = *opened.Store->AddProfile(QStringLiteral("Anna"));
    for (ProgressStore* store : {opened.Store.get(), static_cast<ProgressStore*>(&same)}) {
      const ProfileId profile = store == &same ? sameAnna : anna;
      Play(*store, profile, At(2026, 12, 6, 9), 2,
           {{"6*7", 42, 2, true, 30}, {"5+5", 10, 0, true, 4}}, Counts(2, 10, 2, 40));
      Play(*store, profile, At(2026, 12, 7, 9), 0, {{"9-2", 7, 1, true, 20}}, Counts(1, 1, 1, 20));
    }
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("DROP TABLE round_kind_sums")));
    ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA user_version=1")));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("old"));

  OpenedProgressStore opened = OpenProgressStore(path);
  ASSERT_FALSE(opened.Problem);
  const TimeSpans spans{{At(2026, 12, 6, 0), At(2026, 12, 7, 0)}, At(2026, 12, 8, 0)};
  const std::vector<TaskSums> sums = *opened.Store->SumTasks(anna, spans);
  EXPECT_EQ(sums.size(), 3u);
  EXPECT_EQ(sums, *same.SumTasks(sameAnna, spans));
}

TEST(ProgressTexts, SentencesAndTotals) {
  MemoryProgressStore store;
  const ProfileId anna = *store.AddProfile(QStringLiteral("Anna"));
  ProgressStats none =
      ComputeProgress(store, {anna, ProgressPeriod::All, ProgressStep::Day, kNow, kUtc});
  EXPECT_EQ(none.Spans.size(), 1u);  // all of nothing: today
  EXPECT_EQ(WeakestKindSentence(none), QStringLiteral("In diesem Zeitraum wurde nicht geübt."));
  EXPECT_EQ(TotalsText(none), QStringLiteral("0 Runden, 0 gelöste Aufgaben, 0 Punkte, 0 Fehler"));

  Play(store, anna, At(2026, 12, 7, 9), 0, {{"3+4", 7, 1, true, 7}, {"5+6", 11, 0, true, 8}},
       Counts(2, 2, 1, 20));
  const ProgressStats one =
      ComputeProgress(store, {anna, ProgressPeriod::FourWeeks, ProgressStep::Day, kNow, kUtc});
  EXPECT_EQ(TotalsText(one), QStringLiteral("1 Runde, 2 gelöste Aufgaben, 2 Punkte, 1 Fehler, "
                                            "im Durchschnitt 7,5 Sekunden pro Aufgabe"));
  EXPECT_EQ(WeakestKindSentence(one),
            QStringLiteral("Für einen Vergleich der Aufgabenarten gibt es in diesem Zeitraum noch "
                           "zu wenige Aufgaben."));
  EXPECT_EQ(PeriodText(one), QStringLiteral("10.11.2026 bis 07.12.2026"));
  EXPECT_EQ(PercentText(62.5), QStringLiteral("63 %"));
}

}  // namespace
}  // namespace numora
