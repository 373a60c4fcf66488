// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "zelvlib/gui_test_main.h"

namespace {

// A German locale as the user might have set it: Qt's default, and the C
// runtime's numeric locale when the machine has one installed.
void ActAsGermanUser() {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"}) {
    if (std::setlocale(LC_NUMERIC, name)) break;
  }
}

TEST(StartupStep, GermanDefaultIsReallyGermanBeforeTheStep) {
  ActAsGermanUser();
  EXPECT_EQ(QLocale().toString(1.5), QStringLiteral("1,5"));
}

struct Conversion {
  const char* what;
  std::string (*write)();
  std::string expected;
};

TEST(StartupStep, EveryConversionUsesAFullStop) {
  ActAsGermanUser();
  zelv::RunStartupStep();

  const Conversion writes[] = {
      {"QLocale().toString", [] { return QLocale().toString(2.25).toStdString(); }, "2.25"},
      {"QString::number", [] { return QString::number(0.5).toStdString(); }, "0.5"},
      {"QString::arg", [] { return QString("%1").arg(3.75).toStdString(); }, "3.75"},
      {"printf",
       [] {
         char buffer[32];
         std::snprintf(buffer, sizeof buffer, "%.2f", 1.25);
         return std::string(buffer);
       },
       "1.25"},
      {"std::to_string", [] { return std::to_string(0.5).substr(0, 3); }, "0.5"},
  };
  for (const Conversion& c : writes) EXPECT_EQ(c.write(), c.expected) << c.what;

  bool ok = false;
  EXPECT_DOUBLE_EQ(QLocale().toDouble(QStringLiteral("1.5"), &ok), 1.5);
  EXPECT_TRUE(ok);
  EXPECT_DOUBLE_EQ(QString("2.5").toDouble(&ok), 2.5);
  EXPECT_TRUE(ok);
  EXPECT_DOUBLE_EQ(std::strtod("3.5", nullptr), 3.5);
  double scanned = 0;
  EXPECT_EQ(std::sscanf("4.5", "%lf", &scanned), 1);
  EXPECT_DOUBLE_EQ(scanned, 4.5);
  // A comma is no longer a decimal separator.
  QLocale().toDouble(QStringLiteral("1,5"), &ok);
  EXPECT_FALSE(ok);
}

TEST(StartupStep, RunningTwiceIsHarmless) {
  zelv::RunStartupStep();
  zelv::RunStartupStep();
  EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral("."));
  // Ordinary warnings still pass through the handler without ending anything.
  qWarning("a warning after the start-up step");
  EXPECT_EQ(QString::number(0.125), QStringLiteral("0.125"));
}

TEST(StartupStepDeathTest, FatalErrorEndsSilently) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zelv::RunStartupStep();
        qFatal("something went badly wrong");
      },
      ::testing::ExitedWithCode(EXIT_FAILURE), ::testing::Not(::testing::HasSubstr("badly wrong")));
}

}  // namespace
