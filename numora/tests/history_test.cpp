// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include <gtest/gtest.h>

#include "zelvlib/user_names.h"

namespace numora {
namespace {

const HistoryFooter kFooter{"07.12.26", "anna", "schulrechner"};

// A first round at "mittel": 15 solved, 30 points, 2 errors, 95 seconds, and
// 4 special points, so the totals carry 34 points.
TEST(HistoryLines, WorkedExample) {
  TGameParams round;
  round.Difficulty = 1;
  round.Solved = 15;
  round.Points = 30;
  round.Errors = 2;
  round.Seconds = 95;
  TGameParams totals = round;
  totals.Points = 34;

  const QStringList lines = HistoryLines({round}, totals, 4, kFooter);
  const QStringList expected = {
      QStringLiteral("   Runde     Schwierig-  gelöste  Punkte  Fehler  Sekunden"),
      QStringLiteral("             keitsstufe  Aufgaben "),
      QString(60, u'-'),
      QStringLiteral("       1     mittel        15       30        2       95 "),
      QString(60, u'_'),
      QStringLiteral("  Gesamt                   15       34        2       95 "),
      QString(),
      QStringLiteral("Sonderpunkte: 4"),
      QString(),
      QStringLiteral("07.12.26 anna@schulrechner")};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(lines[0].size(), 58);
  EXPECT_EQ(lines[1].size(), 34);
  EXPECT_EQ(lines[3].size(), 57);
  EXPECT_EQ(lines[5].size(), 57);
}

TEST(HistoryLines, OneLinePerRoundInStartOrder) {
  std::vector<TGameParams> rounds(3);
  rounds[0].Difficulty = 0;
  rounds[1].Difficulty = 2;
  rounds[2].Difficulty = 1;
  rounds[1].Seconds = 1234567890;  // wider values than a column still show in full
  const QStringList lines = HistoryLines(rounds, TGameParams{}, 0, {});
  ASSERT_EQ(lines.size(), 9 + 3);
  EXPECT_EQ(lines[3], QStringLiteral("       1     leicht         0        0        0        0 "));
  EXPECT_EQ(lines[4],
            QStringLiteral("       2     schwer         0        0        0 1234567890 "));
  EXPECT_EQ(lines[5], QStringLiteral("       3     mittel         0        0        0        0 "));
  EXPECT_EQ(lines[6], QString(60, u'_'));
  EXPECT_EQ(lines[9], QStringLiteral("Sonderpunkte: 0"));
  // Without names the last line still has its blank and "@".
  EXPECT_EQ(lines[11], QStringLiteral(" @"));
}

// A level value outside the table never reads past it.
TEST(HistoryLines, CorruptLevelShowsEmptyName) {
  TGameParams round;
  round.Difficulty = 7;
  EXPECT_EQ(HistoryLines({round}, TGameParams{}, 0, kFooter)[3],
            QStringLiteral("       1                    0        0        0        0 "));
}

TEST(HistoryFooterNow, NamesDateUserAndMachine) {
  const HistoryFooter footer = CurrentHistoryFooter();
  EXPECT_FALSE(footer.Date.isEmpty());
  // The machine's name is what the system reports; an empty one is allowed.
  EXPECT_EQ(footer.MachineName, zelv::GetMachineName());
}

}  // namespace
}  // namespace numora
