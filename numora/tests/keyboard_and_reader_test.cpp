// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer played without a mouse and heard through a screen reader: keys
// on the task grid and the links, and what the accessibility interfaces say.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <cmath>

#include "main_window.h"
#include "splash_screen.h"
#include "spoken_task.h"
#include "status_row.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/shell.h"

namespace numora {
namespace {

QString Spoken(QObject* object, QAccessible::Text text = QAccessible::Name) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
  return accessible ? accessible->text(text) : QStringLiteral("<none>");
}

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.show();
    QApplication::setActiveWindow(&form_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  }
  QString RightAnswer(int column, int row) const {
    return QString::number(static_cast<long long>(std::trunc(form_.Task(column, row)->Expected)));
  }
  void Solve(int column, int row) {
    dialogs_.Answer(RightAnswer(column, row));
    form_.AnswerTask(*form_.Task(column, row));
  }

  zelv::ScriptedDialogs dialogs_;
  TForm1 form_{dialogs_, nullptr, 99};
};

TEST_F(KeyboardTest, EnterKeypadEnterAndSpaceOpenTheTask) {
  const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space};
  int column = 0;
  for (Qt::Key key : keys) {
    TAufgabe* task = form_.Task(column, 0);
    dialogs_.Answer(RightAnswer(column, 0));
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(task, key, modifiers);
    EXPECT_TRUE(task->isHidden()) << key;
    ++column;
  }
  EXPECT_EQ(form_.Game().Remaining(), 12);
  EXPECT_TRUE(dialogs_.ScriptUsedUp());
  // Enter with Ctrl is not a child's Enter: nothing opens.
  QTest::keyClick(form_.Task(4, 2), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(dialogs_.History().size(), 3u);
}

TEST_F(KeyboardTest, ArrowsMoveOverTheOpenTasks) {
  // Solved: (1,0), (2,1), the whole of row 2 but (4,2).
  Solve(1, 0);
  Solve(2, 1);
  for (int column = 0; column < 4; ++column) Solve(column, 2);
  struct Move {
    int fromColumn, fromRow;
    Qt::Key key;
    int toColumn, toRow;
  };
  const Move moves[] = {
      {0, 0, Qt::Key_Right, 2, 0},  // over the solved task
      {4, 0, Qt::Key_Right, 0, 1},  // on into the next row
      {0, 1, Qt::Key_Left, 4, 0},   // and back
      {0, 0, Qt::Key_Left, 0, 0},   // the first task stays
      {2, 0, Qt::Key_Down, 1, 1},   // nearest open task below, leftmost on a tie
      {1, 1, Qt::Key_Down, 4, 2},   // the only one left in the last row
      {4, 2, Qt::Key_Up, 4, 1},    {3, 0, Qt::Key_Up, 3, 0},  // nothing above
  };
  for (const Move& m : moves) {
    TAufgabe* from = form_.Task(m.fromColumn, m.fromRow);
    from->setFocus();
    QTest::keyClick(from, m.key);
    EXPECT_EQ(QApplication::focusWidget(), form_.Task(m.toColumn, m.toRow))
        << m.fromColumn << "," << m.fromRow << " key " << m.key;
  }
}

TEST_F(KeyboardTest, LevelsAreOneOfThree) {
  const QActionGroup* group = form_.LevelItems[0]->actionGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->isExclusive());
  EXPECT_EQ(group->actions().size(), kLevelCount);
  form_.LevelItems[2]->trigger();
  EXPECT_EQ(group->checkedAction(), form_.LevelItems[2]);
}

TEST(SpokenTask, OperatorsAndParenthesesAsWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"17*13*9", "17 mal 13 mal 9"},
      {"1000-(1000+1000)", "1000 minus Klammer auf 1000 plus 1000 Klammer zu"},
      {"(36+12)/8", "Klammer auf 36 plus 12 Klammer zu geteilt durch 8"},
      {"12^2", "12 hoch 2"},
      {"-5+2.5", "minus 5 plus 2.5"},
      {"", ""},
  };
  for (const auto& [text, spoken] : cases) {
    EXPECT_EQ(SpokenTask(QString::fromLatin1(text)), QString::fromUtf8(spoken)) << text;
  }
}

TEST(ScreenReader, TheScoreAndTheRoundAreRead) {
  zelv::ScriptedDialogs dialogs;
  TForm1 form(dialogs, nullptr, 7);
  EXPECT_EQ(Spoken(form.StatusBar1), QStringLiteral("1. Runde: mittel"));
  EXPECT_EQ(Spoken(form.StatusBar2), QStringLiteral("Diese Runde: 0 Punkte, 0 Fehler, 0 Sekunden"));
  EXPECT_EQ(Spoken(form.ProgressBar1), QStringLiteral("0 von 15 Aufgaben gelöst"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form.StatusBar2)->role(), QAccessible::StatusBar);

  TAufgabe* task = form.Task(0, 0);
  EXPECT_EQ(Spoken(task), SpokenTask(task->text()));
  EXPECT_FALSE(Spoken(task, QAccessible::Description).isEmpty());
  const QString right = QString::number(static_cast<long long>(std::trunc(task->Expected)));
  dialogs.Answer(QString::number(right.toLongLong() + 1));
  dialogs.Answer(right);
  form.AnswerTask(*task);
  // Read at once, before the next tick writes the cells.
  EXPECT_EQ(Spoken(form.StatusBar2), QStringLiteral("Diese Runde: 2 Punkte, 1 Fehler, 0 Sekunden"));
  EXPECT_EQ(Spoken(form.ProgressBar1), QStringLiteral("1 von 15 Aufgaben gelöst"));
  form.Timer1Timer();
  EXPECT_EQ(Spoken(form.StatusBar3), QStringLiteral("Gesamt: 2 Punkte, 1 Fehler, 1 Sekunde"));
  form.ChooseLevel(2);
  EXPECT_EQ(Spoken(form.StatusBar1), QStringLiteral("2. Runde: schwer"));
}

TEST(ScreenReader, AStatusRowWithoutASummaryReadsItsCells) {
  StatusRow row({50, 50}, 19);
  row.SetCellText(0, QStringLiteral("Gesamt:"));
  row.SetCellText(1, QStringLiteral("12"));
  EXPECT_EQ(Spoken(&row), QStringLiteral("Gesamt: 12"));
}

TEST(SplashLinks, ReachedWithTabAndOpenedWithEnter) {
  TSplashscreen splash(nullptr, 60000);
  std::vector<QUrl> opened;
  zelv::ScopedUrlOpener opener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  for (QLabel* link : {splash.Label3, splash.Label2}) {
    EXPECT_EQ(link->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    EXPECT_FALSE(Spoken(link, QAccessible::Description).isEmpty());
  }
  QTest::keyClick(splash.Label3, Qt::Key_Return);
  QTest::keyClick(splash.Label2, Qt::Key_Space);
  QTest::keyClick(splash.Label2, Qt::Key_A);  // other keys open nothing
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://numora.example.org")));
  EXPECT_EQ(opened[1], QUrl(QStringLiteral("mailto:numora@example.org")));
}

}  // namespace
}  // namespace numora
