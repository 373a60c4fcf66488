// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder between the game and a store: what a played round leaves in
// the store, in the in-memory store (the SQLite one keeps the same contract,
// see progress_store_test.cpp).
#include "progress_recorder.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/parser.h"
#include "engine/random.h"
#include "memory_progress_store.h"

namespace numora {
namespace {

constexpr StoreTime kEver = std::numeric_limits<StoreTime>::max();

class ProgressRecorderTest : public ::testing::Test {
 protected:
  ProgressRecorderTest() {
    declarations_.SetVarNames({"t", "x", "y", "z"});
    parser_.SetDeclarations(&declarations_);
    engine::SetRandomSeed(5);
    profile_ = *store_.AddProfile(QStringLiteral("Anna"));
    game_ = std::make_unique<TrainerGame>(
        TTemplateList{"6*7"}, parser_, TaskMaker::kDefaultAttemptLimit, [this] { return Now(); });
  }
  WallClock::time_point Now() {
    return WallClock::time_point{} + std::chrono::hours(1000) + std::chrono::minutes(++minutes_);
  }
  std::vector<StoredTask> Tasks() {
    std::vector<StoredTask> tasks;
    store_.ForEachTask(profile_, 0, kEver, [&](const StoredTask& t) { tasks.push_back(t); });
    return tasks;
  }

  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
  MemoryProgressStore store_;
  ProfileId profile_ = 0;
  int minutes_ = 0;
  // Made once the parser has its declarations.
  std::unique_ptr<TrainerGame> game_;
};

TEST_F(ProgressRecorderTest, RecordsRoundsTasksAndAnswersAsTheyHappen) {
  ProgressRecorder recorder(*game_, store_, profile_);
  // The running round is there at once, with its 15 tasks.
  ASSERT_EQ(store_.Rounds(profile_, 0, kEver)->size(), 1u);
  EXPECT_EQ(Tasks().size(), 15u);

  game_->Tick();
  game_->Tick();
  game_->CountError(1, 0, "41");
  game_->Tick();
  game_->Solve(1, 0, "42");
  game_->Tick();
  game_->Solve(2, 2, "42");
  // Nothing has ended yet, but every answer is stored with the round's counts.
  std::vector<StoredRound> rounds = *store_.Rounds(profile_, 0, kEver);
  ASSERT_EQ(rounds.size(), 1u);
  EXPECT_EQ(rounds[0].State, RoundState::Open);
  EXPECT_EQ(rounds[0].Counts.Solved, 2);
  EXPECT_EQ(rounds[0].Counts.Errors, 1);
  EXPECT_EQ(rounds[0].Counts.Points, 4);
  EXPECT_EQ(rounds[0].Counts.Seconds, 4);
  EXPECT_EQ(rounds[0].Counts.Difficulty, 1);
  EXPECT_EQ(rounds[0].Start, ToStoreTime(game_->CurrentRoundStart()));

  const std::vector<StoredTask> tasks = Tasks();
  const StoredTask& first = tasks[1];  // slot 1: column 1, row 0
  EXPECT_EQ(first.Term, "6*7");
  EXPECT_EQ(first.Expected, 42);
  EXPECT_EQ(first.Kind, TaskKind::Multiplication);
  EXPECT_EQ(first.Answers, (QStringList{"41", "42"}));
  EXPECT_EQ(first.WrongAnswers, 1);
  EXPECT_TRUE(first.Solved);
  EXPECT_EQ(first.SecondsToSolve, 3);
  const StoredTask& second = tasks[12];  // column 2, row 2
  EXPECT_EQ(second.Answers, QStringList{"42"});
  EXPECT_EQ(second.SecondsToSolve, 1);  // one second after the first was solved
  EXPECT_FALSE(tasks[0].Solved);
  EXPECT_TRUE(tasks[0].Answers.isEmpty());

  game_->SelectLevel(2);
  game_->NewRound();
  game_->EndSession();
  rounds = *store_.Rounds(profile_, 0, kEver);
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].State, RoundState::Abandoned);
  EXPECT_EQ(rounds[1].State, RoundState::OpenAtClose);
  EXPECT_EQ(rounds[1].Counts.Difficulty, 2);
}

TEST_F(ProgressRecorderTest, FinishedRoundKeepsItsSpecialPoints) {
  ProgressRecorder recorder(*game_, store_, profile_);
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) game_->Solve(column, row, "42");
  }
  const std::int32_t special = game_->AwardSpecialPoints();
  game_->NewRound();
  const std::vector<StoredRound> rounds = *store_.Rounds(profile_, 0, kEver);
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].State, RoundState::Finished);
  EXPECT_EQ(rounds[0].SpecialPoints, special);
  EXPECT_EQ(rounds[0].Counts.Solved, 15);
  EXPECT_EQ(rounds[0].Counts.Points, 30);
  EXPECT_EQ(rounds[1].State, RoundState::Open);
}

TEST_F(ProgressRecorderTest, DetachedRecorderStoresNothingMore) {
  { ProgressRecorder recorder(*game_, store_, profile_); }
  game_->Solve(0, 0, "42");
  game_->NewRound();
  const std::vector<StoredRound> rounds = *store_.Rounds(profile_, 0, kEver);
  ASSERT_EQ(rounds.size(), 1u);
  EXPECT_EQ(rounds[0].Counts.Solved, 0);
}

// Missed tasks come back in a practice round, marked as one, and leave the
// list once answered right at the first try in a later round.
TEST_F(ProgressRecorderTest, PracticeRoundOfMissedTasks) {
  ProgressRecorder recorder(*game_, store_, profile_);
  game_->CountError(0, 0, "40");
  game_->Solve(0, 0, "42");
  game_->NewRound();

  std::vector<MissedTask> missed = *store_.MissedTasks(profile_, 0, 15);
  ASSERT_EQ(missed.size(), 1u);
  EXPECT_EQ(missed[0].Term, "6*7");
  EXPECT_EQ(missed[0].Expected, 42);
  game_->NewPracticeRound({{"9*9", 81}, {"7+8", 15}});
  EXPECT_TRUE(game_->CurrentRoundIsPractice());
  EXPECT_EQ(game_->Task(0, 0).Text, "9*9");
  EXPECT_EQ(game_->Task(1, 0).Text, "7+8");
  EXPECT_EQ(game_->Task(2, 0).Text, "6*7");  // the rest made as usual
  EXPECT_EQ(game_->Remaining(), 15);
  EXPECT_TRUE(store_.Rounds(profile_, 0, kEver)->back().Practice);

  game_->Solve(2, 0, "42");  // right at the first try, in a later round
  EXPECT_TRUE(store_.MissedTasks(profile_, 0, 15)->empty());
  game_->NewRound();
  EXPECT_FALSE(game_->CurrentRoundIsPractice());
}

// The store fails in the middle of a round and comes back: the answers given
// meanwhile, and the next round, reach it in order, each once; the recorder
// says it is not saving for as long as that lasts.
TEST_F(ProgressRecorderTest, AStoreThatFailsForAWhileGetsEverythingLater) {
  ProgressRecorder recorder(*game_, store_, profile_);
  std::vector<StoreProblem> problems;
  store_.Problems().SetListener([&] {
    for (const StoreProblem& p : store_.Problems().Take()) problems.push_back(p);
  });
  game_->CountError(0, 0, "41");
  store_.FailWith(StoreError{StoreErrorKind::DiskFull, QStringLiteral("full")});
  game_->CountError(0, 0, "40");
  EXPECT_FALSE(recorder.Saving());
  game_->Solve(0, 0, "42");
  game_->CountError(1, 0, "43");
  game_->NewRound();  // the round's end and the next round wait too
  game_->Solve(2, 1, "42");
  EXPECT_FALSE(recorder.Saving());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Event, StoreEvent::NotSaving);
  EXPECT_EQ(problems[0].Error.Kind, StoreErrorKind::DiskFull);

  store_.FailWith(std::nullopt);
  game_->Solve(1, 0, "42");  // the next answer writes everything
  EXPECT_TRUE(recorder.Saving());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[1].Event, StoreEvent::SavingAgain);

  const std::vector<StoredRound> rounds = *store_.Rounds(profile_, 0, kEver);
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].State, RoundState::Abandoned);
  EXPECT_EQ(rounds[0].Counts.Solved, 1);
  EXPECT_EQ(rounds[0].Counts.Errors, 3);
  const std::vector<StoredTask> tasks = Tasks();
  ASSERT_EQ(tasks.size(), 30u);
  EXPECT_EQ(tasks[0].Answers, (QStringList{"41", "40", "42"}));
  EXPECT_EQ(tasks[1].Answers, (QStringList{"43"}));
  EXPECT_EQ(tasks[15 + 1].Answers, (QStringList{"42"}));
  EXPECT_EQ(tasks[15 + 7].Answers, (QStringList{"42"}));
  EXPECT_EQ(rounds[1].Counts.Solved, 2);
}

// Another copy deleted the child: nothing more is written for it, and the
// recorder says the child is gone.
TEST_F(ProgressRecorderTest, NothingIsWrittenForADeletedChild) {
  ProgressRecorder recorder(*game_, store_, profile_);
  game_->Solve(0, 0, "42");
  ASSERT_TRUE(store_.DeleteProfile(profile_));
  EXPECT_FALSE(recorder.ProfileGone());
  game_->Solve(1, 0, "42");
  EXPECT_TRUE(recorder.ProfileGone());
  EXPECT_TRUE(recorder.Saving());
  const std::vector<StoreProblem> problems = store_.Problems().Take();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Event, StoreEvent::ProfileGone);
  EXPECT_EQ(problems[0].Profile, profile_);
  EXPECT_TRUE(store_.Rounds(profile_, 0, kEver)->empty());
}

// Terms are decoded once, from the game's Windows-1252, and kept as text.
TEST_F(ProgressRecorderTest, TermsAreDecodedFromTheGamesEncoding) {
  ProgressRecorder recorder(*game_, store_, profile_);
  game_->NewPracticeRound(
      {{"6\xD7"
        "7",
        42}});
  const std::vector<StoredTask> tasks = Tasks();
  ASSERT_FALSE(tasks.empty());
  EXPECT_EQ(tasks[15].Term, QString::fromUtf8("6\u00D77"));
}

}  // namespace
}  // namespace numora
