// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/font_fitting.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "zelvlib/gui_test_main.h"

namespace {

QFont Sans(int pixelSize) {
  return zelv::FontOfCharacterHeight(
      {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}, pixelSize);
}

TEST(FontOfCharacterHeight, TheCharacterHeightIsThePixelSize) {
  for (int size : {12, 14, 15, 32}) {
    const QFont font = Sans(size);
    EXPECT_EQ(font.pixelSize(), size);
    // A character of that height: the line (with its leading) is taller.
    EXPECT_GE(QFontMetrics(font).height(), size);
  }
}

TEST(FontFitting, ShrinksOnlyAsFarAsNeeded) {
  const QFont font = Sans(15);
  const QString text = QStringLiteral("1000-(1000+1000)");
  const int natural = QFontMetrics(font).horizontalAdvance(text);
  EXPECT_EQ(zelv::FontFitting(font, text, QSize(natural, 0)), font);

  const QFont smaller = zelv::FontFitting(font, text, QSize(natural * 3 / 4, 0));
  EXPECT_LT(smaller.pixelSize(), 15);
  EXPECT_LE(QFontMetrics(smaller).horizontalAdvance(text), natural * 3 / 4);
  QFont oneLarger = smaller;
  oneLarger.setPixelSize(smaller.pixelSize() + 1);
  EXPECT_GT(QFontMetrics(oneLarger).horizontalAdvance(text), natural * 3 / 4);

  // Nothing fits: the smallest size, never less.
  EXPECT_EQ(zelv::FontFitting(font, text, QSize(5, 0)).pixelSize(), zelv::kSmallestFittedPixelSize);
  // The height counts too.
  const QFont low = zelv::FontFitting(font, QStringLiteral("a"), QSize(1000, 12));
  EXPECT_LE(QFontMetrics(low).height(), 12);
}

TEST(FontFittingWrapped, EveryLineWithinTheBox) {
  const QFont font = Sans(12);
  const QString text = QStringLiteral("Numora ist ein Kopfrechen-Trainer von  Das Numora-Team");
  const QFont fitted = zelv::FontFittingWrapped(font, text, QSize(109, 60));
  const QRect bounds =
      QFontMetrics(fitted).boundingRect(QRect(0, 0, 109, 1000), Qt::TextWordWrap, text);
  EXPECT_LE(bounds.height(), 60);
}

TEST(BreakIntoTwoLines, BreaksAfterAnOperatorOnlyWhenNeeded) {
  const QFont font = Sans(15);
  const QFontMetrics metrics(font);
  const QString operators = QStringLiteral("+-*/:");
  struct Case {
    QString text;
    bool breaks;
  };
  const QString longTask = QStringLiteral("1000-(1000+1000)");
  const int width = metrics.horizontalAdvance(longTask) * 3 / 4;
  const Case cases[] = {
      {QStringLiteral("17*13"), false},                           // fits
      {longTask, true},                                           // breaks after an operator
      {QStringLiteral("123456789012345678901234567890"), false},  // nowhere to break
  };
  for (const Case& c : cases) {
    const QString result = zelv::BreakIntoTwoLines(font, c.text, width, operators);
    if (!c.breaks) {
      EXPECT_EQ(result, c.text);
      continue;
    }
    const QStringList lines = result.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << qPrintable(result);
    EXPECT_EQ(lines.join(QString()), c.text);
    EXPECT_TRUE(operators.contains(lines[0].back())) << qPrintable(result);
    for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), width);
  }
  // Blanks are break points too, and are dropped at the break.
  const QString words = QStringLiteral("Diese Runde und alle anderen");
  const QString broken =
      zelv::BreakIntoTwoLines(font, words, metrics.horizontalAdvance(words) * 2 / 3);
  EXPECT_EQ(broken.count(u'\n'), 1);
  EXPECT_EQ(QString(broken).replace(u'\n', u' '), words);
}

}  // namespace
