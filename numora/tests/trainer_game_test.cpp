// The session's rules without a window: dealing rounds, scoring, the totals.
#include "trainer_game.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace numora
