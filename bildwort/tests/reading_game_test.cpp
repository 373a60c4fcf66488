// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading_game.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <set>
#include <string>
#include <vector>

#include "random_generator.h"

namespace {

using bildwort::Language;
using bildwort::RandomGenerator;
using bildwort::ReadingGame;

// Picture n is filled with a colour whose red part is n, so a test can tell
// which line it came from.
QImage PictureNumbered(int n) {
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(QColor(n, 0x40, 0x80));
  return picture;
}

int NumberOf(const QImage& picture) {
  return qRed(picture.pixel(0, 0));
}

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int n = 1; n <= count; ++n) {
    lines.push_back("Wort" + std::to_string(n) + ";word" + std::to_string(n) + ":");
  }
  return lines;
}

std::vector<QImage> Pictures(int count) {
  std::vector<QImage> pictures;
  for (int n = 1; n <= count; ++n) pictures.push_back(PictureNumbered(n));
  return pictures;
}

TEST(BildwortRandomGenerator, FollowsTheLinearCongruentialRule) {
  // s := s * 134775813 + 1 (mod 2^32), each draw s / 2^32.
  RandomGenerator random(0);
  EXPECT_EQ(random.Next(), 1.0 / 4294967296.0);
  EXPECT_EQ(random.Seed(), 1u);
  random.Next();
  EXPECT_EQ(random.Seed(), 134775814u);
  RandomGenerator wrap(0xFFFFFFFFu);
  wrap.Next();
  EXPECT_EQ(wrap.Seed(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(BildwortRandomGenerator, BelowStaysInRangeAndReachesEveryValue) {
  RandomGenerator random(12345);
  for (int n : {1, 2, 7, 120}) {
    std::set<int> seen;
    for (int draw = 0; draw < 5000; ++draw) {
      const int value = random.Below(n);
      ASSERT_GE(value, 0);
      ASSERT_LT(value, n);
      seen.insert(value);
    }
    EXPECT_EQ(static_cast<int>(seen.size()), n) << n;
  }
  EXPECT_EQ(random.Below(0), 0);
  EXPECT_EQ(random.Below(-3), 0);
}

TEST(ReadingGame, ShufflesKeepPicturesAndWordsPaired) {
  for (int count : {1, 2, 13, 120}) {
    SCOPED_TRACE(count);
    RandomGenerator random(static_cast<std::uint32_t>(count) * 7919u);
    ReadingGame game(Lines(count), Pictures(count), random);
    std::vector<std::string> previous;
    int movedGames = 0;
    for (int deal = 0; deal < 40; ++deal) {
      game.Deal();
      ASSERT_EQ(game.Count(), count);
      std::vector<std::string> order;
      std::set<int> numbers;
      for (int i = 0; i < count; ++i) {
        const int n = NumberOf(game.Picture(i));
        ASSERT_EQ(game.Line(i), "Wort" + std::to_string(n) + ";word" + std::to_string(n) + ":");
        EXPECT_EQ(game.WordOf(i, Language::German), QStringLiteral("Wort%1").arg(n));
        EXPECT_EQ(game.WordOf(i, Language::English), QStringLiteral("word%1").arg(n));
        EXPECT_TRUE(game.IsOnBoard(i));
        numbers.insert(n);
        order.push_back(game.Line(i));
      }
      EXPECT_EQ(static_cast<int>(numbers.size()), count);  // a permutation, nothing lost
      if (order != previous) ++movedGames;
      previous = order;
    }
    // Each deal shuffles further from the order the last one left.
    if (count > 2) {
      EXPECT_GE(movedGames, 39);
    }
  }
}

TEST(ReadingGame, KeepsAtMostTheBoardsCellsAndPadsMissingPictures) {
  RandomGenerator random(1);
  ReadingGame tooMany(Lines(130), Pictures(3), random);
  EXPECT_EQ(tooMany.Count(), 120);
  int missing = 0;
  for (int i = 0; i < tooMany.Count(); ++i) missing += tooMany.Picture(i).isNull() ? 1 : 0;
  EXPECT_EQ(missing, 117);
}

TEST(ReadingGame, AcceptsAWordOnlyForItsOwnPictureAndOnlyOnce) {
  RandomGenerator random(99);
  ReadingGame game(Lines(4), Pictures(4), random);
  game.Deal();
  struct Step {
    int entry;
    int cell;
    bool accepted;
    int remaining;
  };
  const Step steps[] = {
      {1, 2, false, 4},                      // a wrong word
      {2, 2, true, 3},                       // the right one
      {2, 2, false, 3},                      // placed already
      {-1, -1, false, 3}, {4, 4, false, 3},  // no such index
      {0, 0, true, 2},    {3, 3, true, 1},  {1, 1, true, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << s.entry << " -> " << s.cell);
    EXPECT_EQ(game.Check(s.entry, s.cell), s.accepted);
    EXPECT_EQ(game.Remaining(), s.remaining);
  }
  EXPECT_TRUE(game.IsFinished());
  game.Deal();
  EXPECT_EQ(game.Remaining(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(game.IsOnBoard(i));
}

TEST(ReadingGame, AShortGamePutsOnlyItsFirstPairsInPlay) {
  RandomGenerator random(5);
  ReadingGame game(Lines(12), Pictures(12), random);
  const struct {
    int asked;
    int dealt;
  } cases[] = {{5, 5}, {12, 12}, {200, 12}, {0, 0}, {-3, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    game.Deal(c.asked);
    EXPECT_EQ(game.Dealt(), c.dealt);
    EXPECT_EQ(game.Remaining(), c.dealt);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(game.IsOnBoard(i), i < c.dealt) << i;
    // A pair left out of the game cannot be placed.
    if (c.dealt < 12) {
      EXPECT_FALSE(game.Check(11, 11));
    }
  }
}

}  // namespace
