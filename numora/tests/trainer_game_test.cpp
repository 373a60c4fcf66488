// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The session's rules without a window: dealing rounds, scoring, the totals.
#include "trainer_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/parser.h"
#include "engine/random.h"

namespace numora {
namespace {

class TrainerGameTest : public ::testing::Test {
 protected:
  TrainerGameTest() {
    declarations_.SetVarNames({"t", "x", "y", "z"});
    parser_.SetDeclarations(&declarations_);
    engine::SetRandomSeed(99);
  }
  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
};

TEST_F(TrainerGameTest, FixedTemplateFillsEverySlot) {
  TrainerGame game({"7*12"}, parser_);
  EXPECT_EQ(game.Remaining(), 15);
  for (int column = 0; column < kTaskColumns; ++column) {
    for (int row = 0; row < kTaskRows; ++row) {
      EXPECT_EQ(game.Task(column, row).Text, "7*12");
      EXPECT_EQ(game.Task(column, row).Expected, 84);
      EXPECT_TRUE(game.Task(column, row).Open);
    }
  }
  EXPECT_TRUE(game.IsRightAnswer(0, 0, 84));
  EXPECT_FALSE(game.IsRightAnswer(0, 0, 85));
  EXPECT_FALSE(game.IsRightAnswer(0, 0, -84));
}

// A template list that can never give an acceptable task leaves the slots
// empty instead of hanging the program; the round still starts.
TEST_F(TrainerGameTest, UnworkableTemplatesLeaveSlotsEmpty) {
  for (const TTemplateList& templates : {TTemplateList{"$D/$D"}, TTemplateList{"1/2", "(1"}}) {
    TrainerGame game(templates, parser_, 20);
    EXPECT_EQ(game.Remaining(), 0);
    EXPECT_FALSE(game.Task(4, 2).Open);
    EXPECT_EQ(game.Rounds().size(), 1u);
  }
  TrainerGame none({}, parser_, 20);
  EXPECT_EQ(none.Remaining(), 0);
}

TEST_F(TrainerGameTest, ScoresByTheLevelOfTheCurrentRound) {
  struct Case {
    TLevel Level;
    std::int32_t Points;
  };
  for (const Case c : {Case{0, 1}, Case{1, 2}, Case{2, 5}}) {
    TrainerGame game({"3+4"}, parser_);
    game.SelectLevel(c.Level);
    game.NewRound();
    // A later level choice does not change the running round's points.
    game.SelectLevel(c.Level == 0 ? 2 : 0);
    EXPECT_FALSE(game.Solve(1, 1));
    EXPECT_FALSE(game.Solve(1, 1));  // solved once only
    EXPECT_EQ(game.CurrentRound().Points, c.Points);
    EXPECT_EQ(game.Totals().Points, c.Points);
    EXPECT_EQ(game.Totals().Solved, 1);
    EXPECT_EQ(game.Remaining(), 14);
  }
  TrainerGame game({"3+4"}, parser_);
  game.SelectLevel(9);  // not a level: ignored
  EXPECT_EQ(game.Totals().Difficulty, 1);
}

TEST_F(TrainerGameTest, CompletedRoundAndTicks) {
  TrainerGame game({"3+4"}, parser_);
  game.CountError();
  game.Tick();
  int completions = 0;
  for (int column = 0; column < kTaskColumns; ++column) {
    for (int row = 0; row < kTaskRows; ++row) completions += game.Solve(column, row);
  }
  EXPECT_EQ(completions, 1);
  const std::int32_t special = game.AwardSpecialPoints();
  EXPECT_TRUE(special == 2 || special == 4 || special == 6) << special;
  EXPECT_EQ(game.CurrentRound().Points, 30);
  EXPECT_EQ(game.Totals().Points, 30 + special);
  EXPECT_EQ(game.SpecialPoints(), special);
  game.NewRound();
  game.Tick();
  ASSERT_EQ(game.Rounds().size(), 2u);
  EXPECT_EQ(game.Rounds()[0].Errors, 1);
  EXPECT_EQ(game.Rounds()[0].Seconds, 1);
  EXPECT_EQ(game.Rounds()[1].Seconds, 1);
  EXPECT_EQ(game.Totals().Seconds, 2);
  EXPECT_EQ(game.Totals().Errors, 1);
}

// The round-finished event: once per round, whichever way the round ends,
// with the round's own counts and the time it was dealt.
class RoundFinishedTest : public TrainerGameTest {
 protected:
  // A clock that advances a minute per reading, so every round's start differs.
  WallClock::time_point Now() {
    return WallClock::time_point{} + std::chrono::minutes(++readings_);
  }

  TrainerGame MakeGame(TTemplateList templates = {"3+4"}) {
    TrainerGame game(std::move(templates), parser_, TaskMaker::kDefaultAttemptLimit,
                     [this] { return Now(); });
    listening_ =
        game.OnRoundFinished([this](const FinishedRound& round) { reported_.push_back(round); });
    return game;
  }

  static void SolveAll(TrainerGame& game) {
    for (int column = 0; column < kTaskColumns; ++column) {
      for (int row = 0; row < kTaskRows; ++row) game.Solve(column, row);
    }
  }

  int readings_ = 0;
  std::vector<FinishedRound> reported_;
  EventConnection listening_;
};

TEST_F(RoundFinishedTest, EachWayARoundEndsIsReportedOnce) {
  using Step = std::function<void(TrainerGame&)>;
  struct Case {
    const char* name;
    Step play;
    RoundEnd end;
    std::int32_t solved;
    bool special;
  };
  const Step solveAll = [](TrainerGame& game) { SolveAll(game); };
  const Case cases[] = {
      {"completed and awarded",
       [&](TrainerGame& game) {
         solveAll(game);
         game.AwardSpecialPoints();
       },
       RoundEnd::Finished, 15, true},
      {"completed, then Neu without special points",
       [&](TrainerGame& game) {
         solveAll(game);
         game.NewRound();
       },
       RoundEnd::Finished, 15, false},
      {"Neu after two tasks",
       [](TrainerGame& game) {
         game.Solve(0, 0);
         game.Solve(1, 0);
         game.NewRound();
       },
       RoundEnd::Abandoned, 2, false},
      {"level change",
       [](TrainerGame& game) {
         game.SelectLevel(2);
         game.NewRound();
       },
       RoundEnd::Abandoned, 0, false},
      {"session ends mid-round",
       [](TrainerGame& game) {
         game.Solve(4, 2);
         game.EndSession();
       },
       RoundEnd::OpenAtClose, 1, false},
      {"session ends after the last task, before the special points",
       [&](TrainerGame& game) {
         solveAll(game);
         game.EndSession();
       },
       RoundEnd::Finished, 15, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reported_.clear();
    readings_ = 0;
    TrainerGame game = MakeGame();
    game.CountError();
    game.Tick();
    c.play(game);
    ASSERT_EQ(reported_.size(), 1u);
    // Whatever follows, the same round is not reported again.
    game.AwardSpecialPoints();
    game.EndSession();
    game.EndSession();
    for (std::size_t i = 1; i < reported_.size(); ++i) EXPECT_NE(reported_[i].Number, 1u);
    const FinishedRound& round = reported_[0];
    EXPECT_EQ(round.Number, 1u);
    EXPECT_EQ(round.End, c.end);
    EXPECT_EQ(round.Counts.Solved, c.solved);
    EXPECT_EQ(round.Counts.Points, 2 * c.solved);
    EXPECT_EQ(round.Counts.Errors, 1);
    EXPECT_EQ(round.Counts.Seconds, 1);
    EXPECT_EQ(round.Counts.Difficulty, 1);
    EXPECT_EQ(round.TasksDealt, 15);
    EXPECT_EQ(round.Start, WallClock::time_point{} + std::chrono::minutes(1));
    if (c.special) {
      EXPECT_TRUE(round.SpecialPoints == 2 || round.SpecialPoints == 4 || round.SpecialPoints == 6)
          << round.SpecialPoints;
    } else {
      EXPECT_EQ(round.SpecialPoints, 0);
    }
  }
}

TEST_F(RoundFinishedTest, ASessionOfSeveralRoundsReportsEachInOrder) {
  TrainerGame game = MakeGame();
  SolveAll(game);
  const std::int32_t special = game.AwardSpecialPoints();
  game.NewRound();  // after the "Bravo" message
  game.SelectLevel(0);
  game.NewRound();
  game.Tick();
  EXPECT_EQ(game.CurrentRoundStart(), WallClock::time_point{} + std::chrono::minutes(3));
  game.EndSession();

  ASSERT_EQ(reported_.size(), 3u);
  const RoundEnd ends[] = {RoundEnd::Finished, RoundEnd::Abandoned, RoundEnd::OpenAtClose};
  for (std::size_t i = 0; i < reported_.size(); ++i) {
    EXPECT_EQ(reported_[i].Number, i + 1);
    EXPECT_EQ(reported_[i].End, ends[i]);
    EXPECT_EQ(reported_[i].Start,
              WallClock::time_point{} + std::chrono::minutes(static_cast<int>(i) + 1));
    // The reported counts are the history's record of that round.
    EXPECT_EQ(reported_[i].Counts.Points, game.Rounds()[i].Points);
    EXPECT_EQ(reported_[i].Counts.Seconds, game.Rounds()[i].Seconds);
    EXPECT_EQ(reported_[i].Counts.Difficulty, game.Rounds()[i].Difficulty);
  }
  EXPECT_EQ(reported_[0].SpecialPoints, special);
  EXPECT_EQ(reported_[2].Counts.Difficulty, 0);
  EXPECT_EQ(reported_[2].Counts.Seconds, 1);
}

// A round without tasks (no workable template) cannot be completed; it ends
// as abandoned like any other.
TEST_F(RoundFinishedTest, RoundWithoutTasksIsAbandonedNotFinished) {
  TrainerGame game = MakeGame({});
  game.NewRound();
  ASSERT_EQ(reported_.size(), 1u);
  EXPECT_EQ(reported_[0].End, RoundEnd::Abandoned);
  EXPECT_EQ(reported_[0].TasksDealt, 0);
}

// Answer: one call per typed answer, with every outcome the interface tells
// the child, the counts it leaves and the answer event it sends.
TEST_F(TrainerGameTest, AnswerCountsEachOutcome) {
  struct Case {
    const char* typed;
    AnswerResult result;
    std::int32_t errors;
    std::int32_t points;
    bool right;  // as reported by the answer event
  };
  const Case cases[] = {
      {"84", AnswerResult::Solved, 0, 2, true},
      {"  84", AnswerResult::Solved, 0, 2, true},
      {"+84", AnswerResult::Solved, 0, 2, true},
      {"85", AnswerResult::Wrong, 1, 0, false},
      {"-84", AnswerResult::Wrong, 1, 0, false},
      {"0", AnswerResult::Wrong, 1, 0, false},
      {"", AnswerResult::Invalid, 1, 0, false},
      {"84 ", AnswerResult::Invalid, 1, 0, false},
      {"84.0", AnswerResult::Invalid, 1, 0, false},
      {"8 4", AnswerResult::Invalid, 1, 0, false},
      {"+-84", AnswerResult::Invalid, 1, 0, false},
      {"2147483648", AnswerResult::Invalid, 1, 0, false},
      {"vierundachtzig", AnswerResult::Invalid, 1, 0, false},
      {"\xC3\xA4", AnswerResult::Invalid, 1, 0, false},  // "ä", kept as typed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TrainerGame game({"7*12"}, parser_);
    std::vector<GivenAnswer> heard;
    const EventConnection listening =
        game.OnAnswer([&heard](const GivenAnswer& answer) { heard.push_back(answer); });
    const AnswerOutcome outcome = game.Answer({3, 1}, QString::fromUtf8(c.typed));
    EXPECT_EQ(outcome.Result, c.result);
    EXPECT_EQ(outcome.SpecialPoints, 0);
    EXPECT_EQ(outcome.AskAgain(), c.result == AnswerResult::Wrong);
    EXPECT_EQ(outcome.Scored(), c.result == AnswerResult::Solved);
    EXPECT_EQ(game.CurrentRound().Errors, c.errors);
    EXPECT_EQ(game.Totals().Errors, c.errors);
    EXPECT_EQ(game.CurrentRound().Points, c.points);
    EXPECT_EQ(game.Totals().Points, c.points);
    EXPECT_EQ(game.CurrentRound().Solved, c.right ? 1 : 0);
    EXPECT_EQ(game.Task(3, 1).Open, !c.right);
    EXPECT_EQ(game.Remaining(), c.right ? 14 : 15);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].Column, 3);
    EXPECT_EQ(heard[0].Row, 1);
    EXPECT_EQ(heard[0].Typed, c.typed);
    EXPECT_EQ(heard[0].Right, c.right);
  }
}

// Answers that reach no open task count nothing and report nothing.
TEST_F(TrainerGameTest, AnswerToNoOpenTaskChangesNothing) {
  TrainerGame game({"7*12"}, parser_);
  ASSERT_EQ(game.Answer({0, 0}, QStringLiteral("84")).Result, AnswerResult::Solved);
  int heard = 0;
  const EventConnection listening = game.OnAnswer([&heard](const GivenAnswer&) { ++heard; });
  const TaskPlace places[] = {{0, 0}, {-1, 0}, {5, 0}, {0, 3}, {0, -1}};
  for (const TaskPlace place : places) {
    for (const char* typed : {"84", "85", "x"}) {
      EXPECT_EQ(game.Answer(place, QString::fromLatin1(typed)).Result, AnswerResult::NotOpen)
          << place.Column << "," << place.Row << " " << typed;
    }
  }
  EXPECT_EQ(heard, 0);
  EXPECT_EQ(game.Totals().Errors, 0);
  EXPECT_EQ(game.Totals().Points, 2);
  EXPECT_EQ(game.Remaining(), 14);

  // An empty slot (no workable template) is not open either.
  TrainerGame empty({"$D/$D"}, parser_, 20);
  EXPECT_EQ(empty.Answer({0, 0}, QStringLiteral("0")).Result, AnswerResult::NotOpen);
  EXPECT_EQ(empty.Totals().Errors, 0);
}

// The last task completes the round: the special points (1, 2 or 3 times the
// points per task of the round's level) go to the totals, not to the round,
// and the round is reported finished with them; it stays the current round
// until the next one is dealt.
TEST_F(TrainerGameTest, AnswerCompletesTheRoundAtEachLevel) {
  struct Case {
    TLevel level;
    std::int32_t perTask;
  };
  for (const Case c : {Case{0, 1}, Case{1, 2}, Case{2, 5}}) {
    SCOPED_TRACE(static_cast<int>(c.level));
    TrainerGame game({"10-3"}, parser_);
    game.SelectLevel(c.level);
    game.NewRound();
    std::vector<FinishedRound> finished;
    const EventConnection listening = game.OnRoundFinished(
        [&finished](const FinishedRound& round) { finished.push_back(round); });
    int completions = 0;
    std::int32_t special = 0;
    for (int row = 0; row < kTaskRows; ++row) {
      for (int column = 0; column < kTaskColumns; ++column) {
        EXPECT_EQ(game.Answer({column, row}, QStringLiteral("6")).Result, AnswerResult::Wrong);
        const AnswerOutcome outcome = game.Answer({column, row}, QStringLiteral("7"));
        if (outcome.Result == AnswerResult::RoundComplete) {
          ++completions;
          special = outcome.SpecialPoints;
          EXPECT_TRUE(outcome.Scored());
          EXPECT_FALSE(outcome.AskAgain());
          EXPECT_EQ(row * kTaskColumns + column, kTasksPerRound - 1);
        } else {
          EXPECT_EQ(outcome.Result, AnswerResult::Solved);
          EXPECT_TRUE(finished.empty());
        }
      }
    }
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(special == c.perTask || special == 2 * c.perTask || special == 3 * c.perTask)
        << special;
    EXPECT_EQ(game.CurrentRound().Points, 15 * c.perTask);
    EXPECT_EQ(game.CurrentRound().Errors, 15);
    EXPECT_EQ(game.Totals().Points, 15 * c.perTask + special);
    EXPECT_EQ(game.SpecialPoints(), special);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].End, RoundEnd::Finished);
    EXPECT_EQ(finished[0].SpecialPoints, special);
    EXPECT_EQ(game.Rounds().size(), 2u);
    EXPECT_EQ(game.Answer({0, 0}, QStringLiteral("7")).Result, AnswerResult::NotOpen);
    game.NewRound();
    EXPECT_EQ(finished.size(), 1u);
    EXPECT_EQ(game.Rounds().size(), 3u);
    EXPECT_EQ(game.CurrentRound().Difficulty, c.level);
    EXPECT_EQ(game.Remaining(), 15);
  }
}

// Negative values are dealt at "schwer" only.
TEST_F(TrainerGameTest, AnswerTakesNegativeValues) {
  TrainerGame game({"3-10"}, parser_, 20);
  game.SelectLevel(2);
  game.NewRound();
  ASSERT_TRUE(game.Task(0, 0).Open);
  EXPECT_EQ(game.Answer({0, 0}, QStringLiteral("7")).Result, AnswerResult::Wrong);
  EXPECT_EQ(game.Answer({0, 0}, QStringLiteral(" -7")).Result, AnswerResult::Solved);
}

// Several listeners of one event each hear it; a connection ends its own
// listener only, also during an emission, and may outlive the game.
TEST_F(TrainerGameTest, EventsHaveSeveralListeners) {
  auto game = std::make_unique<TrainerGame>(TTemplateList{"7*12"}, parser_);
  std::vector<std::string> heard;
  EventConnection first =
      game->OnAnswer([&heard](const GivenAnswer& a) { heard.push_back("first " + a.Typed); });
  EventConnection second;
  const EventConnection third = game->OnAnswer([&heard, &second](const GivenAnswer& a) {
    heard.push_back("third " + a.Typed);
    second.Disconnect();  // a listener ends another one
  });
  second = game->OnAnswer([&heard](const GivenAnswer& a) { heard.push_back("second " + a.Typed); });
  int dealt = 0;
  const EventConnection dealing = game->OnRoundDealt([&dealt](const DealtRound& round) {
    ++dealt;
    EXPECT_EQ(round.Number, 2u);
    EXPECT_FALSE(round.Practice);
  });

  game->Answer({0, 0}, QStringLiteral("1"));
  EXPECT_EQ(heard, (std::vector<std::string>{"first 1", "third 1"}));
  EXPECT_FALSE(second.Connected());
  EXPECT_TRUE(first.Connected());
  heard.clear();
  first.Disconnect();
  game->Answer({0, 0}, QStringLiteral("2"));
  EXPECT_EQ(heard, (std::vector<std::string>{"third 2"}));
  game->NewRound();
  EXPECT_EQ(dealt, 1);

  // A moved connection keeps listening; the moved-from one is empty.
  heard.clear();
  EventConnection moved = game->OnAnswer([&heard](const GivenAnswer&) { heard.push_back("m"); });
  EventConnection target = std::move(moved);
  EXPECT_FALSE(moved.Connected());
  game->Answer({1, 0}, QStringLiteral("3"));
  EXPECT_EQ(heard, (std::vector<std::string>{"third 3", "m"}));

  game.reset();
  EXPECT_FALSE(target.Connected());
  target.Disconnect();  // after the game: harmless
}

// Another child: the run starts afresh at that child's level, and the
// previous child's running round is reported once, as it ended.
TEST_F(RoundFinishedTest, StartRunBeginsAnotherChildsRun) {
  struct Case {
    const char* name;
    bool completeFirst;  // the running round was completed (and awarded)
    TLevel level;
    TLevel expectedLevel;
    RoundEnd end;
  };
  const Case cases[] = {
      {"mid-round, to schwer", false, 2, 2, RoundEnd::Abandoned},
      {"mid-round, to leicht", false, 0, 0, RoundEnd::Abandoned},
      {"after the Bravo message", true, 1, 1, RoundEnd::Finished},
      {"no such level: mittel", false, 7, 1, RoundEnd::Abandoned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reported_.clear();
    TrainerGame game = MakeGame();
    game.NewRound();  // round 1 abandoned
    game.Tick();
    game.Answer({0, 0}, QStringLiteral("8"));
    game.Answer({0, 0}, QStringLiteral("7"));
    if (c.completeFirst) {
      SolveAll(game);
      game.AwardSpecialPoints();
    }
    const std::size_t before = reported_.size();
    game.StartRun(c.level);
    ASSERT_EQ(reported_.size(), before + (c.completeFirst ? 0 : 1));
    EXPECT_EQ(reported_.back().Number, 2u);
    EXPECT_EQ(reported_.back().End, c.end);
    EXPECT_EQ(reported_.back().Counts.Errors, 1);

    ASSERT_EQ(game.Rounds().size(), 1u);
    EXPECT_EQ(game.CurrentRound().Difficulty, c.expectedLevel);
    EXPECT_EQ(game.Totals().Difficulty, c.expectedLevel);
    EXPECT_EQ(game.Totals().Points, 0);
    EXPECT_EQ(game.Totals().Errors, 0);
    EXPECT_EQ(game.Totals().Seconds, 0);
    EXPECT_EQ(game.Totals().Solved, 0);
    EXPECT_EQ(game.SpecialPoints(), 0);
    EXPECT_EQ(game.Remaining(), 15);
    // The new run's first round ends like any other, as round 1.
    game.EndSession();
    EXPECT_EQ(reported_.back().Number, 1u);
    EXPECT_EQ(reported_.back().End, RoundEnd::OpenAtClose);
    EXPECT_EQ(reported_.back().Counts.Difficulty, c.expectedLevel);
  }
}

}  // namespace
}  // namespace numora
