// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine_about.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/parser.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace {

using numora::TEngineAbout;

class EngineAboutTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::setApplicationDisplayName(QStringLiteral("Numora")); }
  void TearDown() override { numora::RemoveEngineHooks(); }

  // Arms a check of the next modal window, which it then closes with OK.
  static void CloseAboutWhenShown(bool& seen) {
    QTimer::singleShot(0, [&seen] {
      auto* about = qobject_cast<TEngineAbout*>(QApplication::activeModalWidget());
      ASSERT_NE(about, nullptr);
      seen = true;
      EXPECT_TRUE(about->isModal());
      EXPECT_EQ(about->NameLabel->text(), QStringLiteral("TTermParser V6.1"));
      QTest::mouseClick(about->OKButton, Qt::LeftButton);
    });
  }
};

TEST_F(EngineAboutTest, TitleNamesTheEngineAndItsVersion) {
  engine::TTermParser parser;
  EXPECT_EQ(numora::EngineTitle(),
            QStringLiteral("TTermParser ") + QString::fromStdString(parser.Version()));
}

TEST_F(EngineAboutTest, AboutWindowShowsThroughEitherEntryOfTheEngine) {
  zelv::ScriptedDialogs dialogs;
  numora::InstallEngineHooks(dialogs);
  engine::TTermParser parser;

  bool seen = false;
  CloseAboutWhenShown(seen);
  parser.ShowAboutWindow();
  EXPECT_TRUE(seen);

  seen = false;
  CloseAboutWhenShown(seen);
  parser.SetAbout(true);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(parser.About());
  EXPECT_TRUE(dialogs.History().empty());
}

TEST_F(EngineAboutTest, NoDeclarationsMessageUsesTheApplicationTitle) {
  zelv::ScriptedDialogs dialogs;
  numora::InstallEngineHooks(dialogs);
  engine::TTermParser parser;
  parser.SetTerm("1+2");
  EXPECT_EQ(parser.EvalError(), 9);
  ASSERT_EQ(dialogs.History().size(), 1u);
  const auto& shown = dialogs.History().front();
  EXPECT_FALSE(shown.IsInput);
  EXPECT_EQ(shown.Caption, QStringLiteral("Numora"));
  EXPECT_EQ(shown.Text, QStringLiteral("No declarations assigned"));
}

TEST_F(EngineAboutTest, WithoutHooksTheEngineShowsNothing) {
  zelv::ScriptedDialogs dialogs;
  numora::InstallEngineHooks(dialogs);
  numora::RemoveEngineHooks();
  engine::TTermParser parser;
  bool timerRan = false;
  QWidget* modal = nullptr;
  QTimer::singleShot(0, [&] {
    timerRan = true;
    modal = QApplication::activeModalWidget();
  });
  parser.ShowAboutWindow();  // returns at once, no event loop runs
  parser.SetTerm("1");
  EXPECT_FALSE(timerRan);
  EXPECT_TRUE(dialogs.History().empty());
  QTest::qWait(10);
  EXPECT_TRUE(timerRan);
  EXPECT_EQ(modal, nullptr);
}

TEST_F(EngineAboutTest, AboutWindowTextFitsAndNamesTheProject) {
  TEngineAbout about;
  about.adjustSize();
  EXPECT_TRUE(about.TextLabel->text().contains(QStringLiteral("Numora")));
  EXPECT_GE(about.TextLabel->height(), about.TextLabel->heightForWidth(about.TextLabel->width()));
  EXPECT_EQ(about.OKButton->text(), QStringLiteral("OK"));
}

}  // namespace
