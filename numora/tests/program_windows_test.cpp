// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows together, as the program creates and wires them.
#include "program_windows.h"

#include <QAction>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "engine_about.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace numora {
namespace {

constexpr int kShortStartup = 50;

bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > milliseconds) return false;
    QTest::qWait(5);
  }
  return true;
}

// Runs check on the modal window that trigger opens, then closes it.
template <typename Check>
void WithModalWindow(const std::function<void()>& trigger, Check check) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }));
    QWidget* modal = QApplication::activeModalWidget();
    check(modal);
    checked = true;
    modal->close();
  });
  trigger();
  EXPECT_TRUE(checked);
}

class ProgramWindowsTest : public ::testing::Test {
 protected:
  ProgramWindowsTest() { windows_.Show(); }

  zelv::ScriptedDialogs dialogs_;
  QTemporaryDir folder_;  // a program folder without "index.htm"
  ProgramWindows windows_{dialogs_, {4711, kShortStartup, folder_.path()}};
};

TEST_F(ProgramWindowsTest, ClockRunsOnlyAfterTheStartupWindowHasHidden) {
  EXPECT_TRUE(windows_.Form1.isVisible());
  EXPECT_TRUE(windows_.Splashscreen.isVisible());
  EXPECT_FALSE(windows_.Form1.Clock().isActive());
  EXPECT_FALSE(windows_.Form3.isVisible());
  EXPECT_FALSE(windows_.CalcHelp.isVisible());

  ASSERT_TRUE(WaitUntil([&] { return !windows_.Splashscreen.isVisible(); }));
  EXPECT_TRUE(windows_.Form1.Clock().isActive());
  EXPECT_EQ(windows_.Form1.Clock().interval(), 1000);
  EXPECT_EQ(windows_.Form1.Game().Totals().Seconds, 0);
  EXPECT_FALSE(windows_.Splashscreen.BitBtn1->isHidden());
}

TEST_F(ProgramWindowsTest, InfoShowsTheStartupWindowModallyWithItsOkButton) {
  ASSERT_TRUE(WaitUntil([&] { return !windows_.Splashscreen.InStartupPhase(); }));
  WithModalWindow([&] { windows_.Form1.Info1->trigger(); },
                  [&](QWidget* modal) {
                    EXPECT_EQ(modal, &windows_.Splashscreen);
                    EXPECT_TRUE(windows_.Splashscreen.BitBtn1->isVisible());
                  });
  EXPECT_FALSE(windows_.Splashscreen.isVisible());
  EXPECT_FALSE(windows_.Splashscreen.InStartupPhase());
}

TEST_F(ProgramWindowsTest, HelpWithoutIndexFileShowsTheHelpWindow) {
  windows_.Form1.Hilfe1->trigger();
  EXPECT_TRUE(windows_.CalcHelp.isVisible());
  EXPECT_FALSE(windows_.CalcHelp.isModal());
  windows_.CalcHelp.Button1->click();
  EXPECT_FALSE(windows_.CalcHelp.isVisible());
  windows_.Form1.Hilfe1->trigger();
  EXPECT_TRUE(windows_.CalcHelp.isVisible());
}

TEST_F(ProgramWindowsTest, HistoryOpensModallyWithTheRoundsAndItsLineSelected) {
  windows_.Form1.ChooseLevel(0);
  for (int opening = 0; opening < 2; ++opening) {
    WithModalWindow([&] { windows_.Form1.Historie1->trigger(); },
                    [&](QWidget* modal) {
                      EXPECT_EQ(modal, &windows_.Form3);
                      EXPECT_EQ(windows_.Form3.pos(), QPoint(197, 107));
                      const QStringList lines = windows_.Form3.Lines();
                      ASSERT_EQ(lines.size(), 11);
                      EXPECT_TRUE(lines[3].contains(QStringLiteral("mittel")));
                      EXPECT_TRUE(lines[4].contains(QStringLiteral("leicht")));
                      EXPECT_EQ(windows_.Form3.ListBox1->currentRow(), 3);
                    });
  }
  EXPECT_FALSE(windows_.Form3.isVisible());
}

TEST_F(ProgramWindowsTest, EngineAboutWindowThroughTheEngineHook) {
  InstallEngineHooks(dialogs_);
  WithModalWindow([&] { windows_.Form1.IntoberTTermParser1->trigger(); },
                  [](QWidget* modal) { EXPECT_NE(qobject_cast<TEngineAbout*>(modal), nullptr); });
  RemoveEngineHooks();
}

TEST_F(ProgramWindowsTest, ClosingTheMainWindowSaysSo) {
  QSignalSpy closed(&windows_.Form1, &TForm1::Closed);
  windows_.Form1.Exit1->trigger();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(windows_.Form1.isVisible());
}

}  // namespace
}  // namespace numora
