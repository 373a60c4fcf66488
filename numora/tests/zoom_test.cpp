// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows at a zoom: laid out from their 100 % geometry, the
// fonts with them, the choice remembered.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>

#include "program_windows.h"
#include "status_row.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace numora {
namespace {

class ZoomTest : public ::testing::Test {
 protected:
  ProgramWindows::Options Options() {
    ProgramWindows::Options options;
    options.Seed = 11;
    options.StartupMilliseconds = 60000;
    options.ProgramFolder = folder_.path();
    options.Settings = &settings_;
    return options;
  }

  zelv::ScriptedDialogs dialogs_;
  QTemporaryDir folder_;
  QSettings settings_{folder_.filePath(QStringLiteral("numora.ini")), QSettings::IniFormat};
};

TEST_F(ZoomTest, AtOneAndAHalfEveryWindowGrowsFromItsLayout) {
  settings_.setValue(QStringLiteral("view/zoom"), 150);
  const QFont applicationFont = QApplication::font();
  {
    ProgramWindows windows(dialogs_, Options());
    TForm1& form = windows.Form1;
    EXPECT_EQ(form.centralWidget()->size(), QSize(632, 306));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 632, 189));
    EXPECT_EQ(form.ProgressBar1->geometry(), QRect(0, 189, 632, 32));
    EXPECT_EQ(form.Task(1, 1)->geometry(), QRect(126, 63, 126, 63));
    // The status rows stack without gaps, down to the window's edge.
    EXPECT_EQ(form.StatusBar1->geometry().top(), form.ProgressBar1->geometry().bottom() + 1);
    EXPECT_EQ(form.StatusBar2->geometry().top(), form.StatusBar1->geometry().bottom() + 1);
    EXPECT_EQ(form.StatusBar3->geometry().bottom() + 1, 306);
    EXPECT_EQ(form.StatusBar2->CellRect(0).left(), 1);
    EXPECT_EQ(form.font().pixelSize(), 23);
    EXPECT_EQ(QFontInfo(form.Task(0, 0)->font()).pixelSize(), 23);

    EXPECT_EQ(windows.Splashscreen.size(), QSize(600, 288));
    EXPECT_EQ(windows.Form3.size(), QSize(731, 314));
    EXPECT_EQ(windows.Form3.ListBox1->font().pixelSize(), 18);
    EXPECT_EQ(windows.CalcHelp.size(), QSize(912, 593));
    EXPECT_GT(QApplication::font().pointSizeF(), applicationFont.pointSizeF());

    // Every task still fits its button.
    for (int round = 0; round < 10; ++round) {
      for (int row = 0; row < kTaskRows; ++row) {
        for (int column = 0; column < kTaskColumns; ++column) {
          const TAufgabe* task = form.Task(column, row);
          const QFontMetrics metrics(task->font());
          for (const QString& line : task->text().split(u'\n')) {
            EXPECT_LE(metrics.horizontalAdvance(line), task->width()) << line.toStdString();
          }
        }
      }
      form.ChooseLevel(2);
    }
  }
  // The dialogs and menus get their font back with the windows.
  EXPECT_EQ(QApplication::font(), applicationFont);
}

TEST_F(ZoomTest, TheViewMenuChangesAndRemembersTheZoom) {
  ProgramWindows windows(dialogs_, Options());
  TForm1& form = windows.Form1;
  EXPECT_EQ(form.centralWidget()->size(), QSize(421, 204));
  QAction* view = nullptr;
  for (QAction* menu : form.menuBar()->actions()) {
    if (menu->text() == QStringLiteral("&Ansicht")) view = menu;
  }
  ASSERT_NE(view, nullptr);
  QList<QAction*> items = view->menu()->actions();
  ASSERT_EQ(items.size(), 8);  // four levels, a separator, in, out, 100 %
  items[2]->trigger();         // 200 %
  EXPECT_EQ(form.centralWidget()->size(), QSize(842, 408));
  EXPECT_EQ(windows.CalcHelp.RichEdit1->geometry(), QRect(16, 16, 1186, 690));
  EXPECT_EQ(settings_.value(QStringLiteral("view/zoom")).toInt(), 200);
  // The shortcuts are the window's own, working with the menu closed.
  EXPECT_TRUE(form.actions().contains(items[5]));
  items[5]->trigger();  // Ctrl+Plus
  EXPECT_EQ(form.centralWidget()->size(), QSize(1263, 612));
  items[7]->trigger();  // Ctrl+0
  EXPECT_EQ(form.centralWidget()->size(), QSize(421, 204));
  EXPECT_EQ(form.Task(4, 2)->geometry(), QRect(336, 84, 84, 42));
}

}  // namespace
}  // namespace numora
