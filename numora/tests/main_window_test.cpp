// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven like a child would: the scripted dialogs give the
// answers, and the counters, captions and messages are checked afterwards.
#include "main_window.h"

#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>
#include <set>

#include "engine/random.h"
#include "history_window.h"
#include "program_identity.h"
#include "status_row.h"
#include "zelvlib/font_fitting.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace numora {
namespace {

using zelv::DialogIcon;

class MainWindowTest : public ::testing::Test {
 protected:
  // The value of a task as the child would type it.
  static QString RightAnswer(const TAufgabe& task) {
    return QString::number(static_cast<long long>(std::trunc(task.Expected)));
  }
  static QString WrongAnswer(const TAufgabe& task) {
    return QString::number(static_cast<long long>(std::trunc(task.Expected)) + 1);
  }
  std::vector<TAufgabe*> OpenTasks() const {
    std::vector<TAufgabe*> open;
    for (int row = 0; row < kTaskRows; ++row) {
      for (int column = 0; column < kTaskColumns; ++column) {
        if (!form_.Task(column, row)->isHidden()) open.push_back(form_.Task(column, row));
      }
    }
    return open;
  }
  QStringList ValueCells(const StatusRow& row) const {
    return {row.CellText(1), row.CellText(2), row.CellText(3)};
  }
  // Solves every open task of the round with the right answer.
  void SolveRound() {
    for (TAufgabe* task : OpenTasks()) {
      dialogs_.Answer(RightAnswer(*task));
      form_.AnswerTask(*task);
    }
  }

  zelv::ScriptedDialogs dialogs_;
  TForm1 form_{dialogs_, nullptr, 4711};
};

TEST_F(MainWindowTest, StartsRoundOneAtMittelWithFifteenTasks) {
  EXPECT_EQ(form_.RoundCellText(), QStringLiteral("1. Runde: mittel"));
  EXPECT_EQ(form_.Game().Rounds().size(), 1u);
  EXPECT_EQ(form_.Game().Totals().Difficulty, 1);
  EXPECT_EQ(form_.Game().Remaining(), 15);
  EXPECT_EQ(OpenTasks().size(), 15u);
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      const TAufgabe* task = form_.Task(column, row);
      EXPECT_EQ(task->geometry(), QRect(column * 84, row * 42, 84, 42));
      EXPECT_EQ(task->parentWidget(), form_.Panel1);
      EXPECT_FALSE(task->text().isEmpty());
      EXPECT_EQ(task->Expected, std::trunc(task->Expected)) << task->text().toStdString();
      EXPECT_GE(task->Expected, 0) << task->text().toStdString();
    }
  }
  EXPECT_EQ(form_.ProgressBar1->minimum(), 0);
  EXPECT_EQ(form_.ProgressBar1->maximum(), 15);
  EXPECT_EQ(form_.ProgressBar1->value(), 0);
  EXPECT_FALSE(form_.Clock().isActive());
  EXPECT_EQ(form_.Clock().interval(), 1000);
  EXPECT_EQ(form_.windowTitle(), ApplicationTitle());
  EXPECT_EQ(form_.centralWidget()->size(), QSize(421, 204));
}

// The widest terms still fit their buttons, on two lines before they get
// smaller; short ones keep the window's font.
TEST_F(MainWindowTest, TaskCaptionsFitTheirButtons) {
  TAufgabe* task = form_.Task(0, 0);
  const auto fits = [](const TAufgabe& t) {
    const QFontMetrics metrics(t.font());
    const QStringList lines = t.text().split(u'\n');
    if (lines.size() > 2 || metrics.height() * lines.size() > t.height()) return false;
    for (const QString& line : lines) {
      if (metrics.horizontalAdvance(line) > t.width() - 8) return false;
    }
    return true;
  };
  struct Caption {
    const char* text;
    int lines;
  };
  const Caption captions[] = {
      {"1000-(1000+1000)", 2}, {"1000+1000+1000", 2}, {"(1000+1000)/30", 2}, {"7*12", 1}};
  for (const Caption& c : captions) {
    task->SetTaskText(QString::fromLatin1(c.text));
    EXPECT_TRUE(fits(*task)) << c.text;
    EXPECT_EQ(task->text().count(u'\n') + 1, c.lines) << c.text;
    EXPECT_EQ(task->TaskText(), QString::fromLatin1(c.text));
    EXPECT_EQ(QString(task->text()).remove(u'\n'), QString::fromLatin1(c.text));
    // Two lines keep most of the size, where one line would need 8 pixels.
    EXPECT_GE(QFontInfo(task->font()).pixelSize(), 11) << c.text;
  }
  EXPECT_EQ(task->font(), form_.font());
  form_.ChooseLevel(2);
  for (int round = 0; round < 30; ++round) {
    for (const TAufgabe* open : OpenTasks()) EXPECT_TRUE(fits(*open)) << open->text().toStdString();
    form_.New1Click();
  }
}

TEST_F(MainWindowTest, TheWindowFontHasACharacterHeightOf15Pixels) {
  EXPECT_EQ(form_.font().pixelSize(), 15);
  EXPECT_EQ(QFontInfo(form_.Task(2, 1)->font()).pixelSize(), 15);
}

TEST_F(MainWindowTest, RoundCellTextFitsItsCell) {
  QFont bold = form_.font();
  bold.setBold(true);
  const int room = form_.StatusBar1->CellRect(0).width();
  for (const char* text : {"1. Runde: mittel", "99. Runde: schwer", "999. Runde: schwer"}) {
    const QFont fitted = zelv::FontFitting(bold, QString::fromLatin1(text), QSize(room, 0));
    EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(QString::fromLatin1(text)), room) << text;
    EXPECT_TRUE(fitted.bold());
  }
}

TEST_F(MainWindowTest, StatusRowsShowHeadingsUntilTheFirstTick) {
  const QStringList headings = {"Punkte:", "Fehler:", "Sekunden:"};
  for (const StatusRow* row : {form_.StatusBar1, form_.StatusBar2, form_.StatusBar3}) {
    EXPECT_EQ(ValueCells(*row), headings);
    EXPECT_EQ(row->CellCount(), 4);
    EXPECT_EQ(row->height(), 19);
    EXPECT_EQ(row->width(), 420);
  }
  EXPECT_EQ(form_.StatusBar2->CellText(0), QStringLiteral("Diese Runde:"));
  EXPECT_EQ(form_.StatusBar3->CellText(0), QStringLiteral("Gesamt:"));
  EXPECT_EQ(form_.StatusBar1->y(), 147);
  EXPECT_EQ(form_.StatusBar2->y(), 166);
  EXPECT_EQ(form_.StatusBar3->y(), 185);

  // An error before the first tick shows only with the tick.
  dialogs_.Answer(QString());
  form_.AnswerTask(*OpenTasks().front());
  EXPECT_EQ(ValueCells(*form_.StatusBar2), headings);
  form_.Timer1Timer();
  EXPECT_EQ(ValueCells(*form_.StatusBar2), QStringList({"0", "1", "1"}));
  EXPECT_EQ(ValueCells(*form_.StatusBar3), QStringList({"0", "1", "1"}));
  EXPECT_EQ(ValueCells(*form_.StatusBar1), headings);
  form_.New1Click();
  form_.Timer1Timer();
  EXPECT_EQ(ValueCells(*form_.StatusBar2), QStringList({"0", "0", "1"}));
  EXPECT_EQ(ValueCells(*form_.StatusBar3), QStringList({"0", "1", "2"}));
}

TEST_F(MainWindowTest, CancelChangesNothing) {
  TAufgabe* task = OpenTasks().front();
  dialogs_.Answer(std::nullopt);
  form_.AnswerTask(*task);
  ASSERT_EQ(dialogs_.History().size(), 1u);
  const auto& shown = dialogs_.History().front();
  EXPECT_TRUE(shown.IsInput);
  EXPECT_EQ(shown.Caption, QStringLiteral("Bitte das Ergebnis eingeben:"));
  EXPECT_EQ(shown.Text, task->text() + u'=');
  EXPECT_EQ(shown.Preset, QString());
  EXPECT_EQ(form_.Game().CurrentRound().Errors, 0);
  EXPECT_EQ(form_.Game().Totals().Errors, 0);
  EXPECT_EQ(form_.Game().Totals().Points, 0);
  EXPECT_FALSE(task->isHidden());
}

// Invalid input: one message, one error, the dialog is not shown again and
// the task stays open.
TEST_F(MainWindowTest, InvalidInputCountsOneErrorAndKeepsTheTask) {
  const QString inputs[] = {"", "12 ", "1.5", "abc", "+-5", "2147483648", QString(255, u'9')};
  int errors = 0;
  for (const QString& input : inputs) {
    TAufgabe* task = OpenTasks().front();
    dialogs_.ClearHistory();
    dialogs_.Answer(input);
    form_.AnswerTask(*task);
    ++errors;
    ASSERT_EQ(dialogs_.History().size(), 2u) << input.toStdString();
    const auto& message = dialogs_.History()[1];
    EXPECT_FALSE(message.IsInput);
    EXPECT_EQ(message.Text, QStringLiteral("Fehlerhafte Eingabe: ") + input);
    EXPECT_EQ(message.Icon, DialogIcon::Error);
    EXPECT_EQ(message.Caption, ApplicationTitle());
    EXPECT_EQ(form_.Game().CurrentRound().Errors, errors);
    EXPECT_EQ(form_.Game().Totals().Errors, errors);
    EXPECT_FALSE(task->isHidden());
    EXPECT_EQ(form_.Game().Remaining(), 15);
  }
  EXPECT_TRUE(dialogs_.ScriptUsedUp());
}

TEST_F(MainWindowTest, TwoWrongAnswersThenTheRightOne) {
  TAufgabe* task = OpenTasks().front();
  const QString wrong = WrongAnswer(*task);
  dialogs_.Answer(wrong);
  dialogs_.Answer(QStringLiteral("-1"));
  dialogs_.Answer(u' ' + RightAnswer(*task));  // a leading blank is fine
  form_.AnswerTask(*task);

  ASSERT_EQ(dialogs_.History().size(), 3u);
  EXPECT_EQ(dialogs_.History()[0].Preset, QString());
  EXPECT_EQ(dialogs_.History()[1].Preset, wrong);  // the dialog shows the wrong answer
  EXPECT_EQ(dialogs_.History()[2].Preset, QStringLiteral("-1"));
  for (const auto& shown : dialogs_.History()) EXPECT_TRUE(shown.IsInput);
  EXPECT_EQ(form_.Game().CurrentRound().Errors, 2);
  EXPECT_EQ(form_.Game().Totals().Errors, 2);
  EXPECT_EQ(form_.Game().CurrentRound().Points, 2);
  EXPECT_EQ(form_.Game().Totals().Points, 2);
  EXPECT_EQ(form_.Game().CurrentRound().Solved, 1);
  EXPECT_TRUE(task->isHidden());
  EXPECT_EQ(form_.Game().Remaining(), 14);
  EXPECT_EQ(form_.ProgressBar1->value(), 1);

  // A solved task cannot score again.
  dialogs_.Answer(RightAnswer(*task));
  form_.AnswerTask(*task);
  EXPECT_EQ(form_.Game().Totals().Points, 2);
}

TEST_F(MainWindowTest, CancelAfterAWrongAnswerKeepsThatError) {
  TAufgabe* task = OpenTasks().front();
  dialogs_.Answer(WrongAnswer(*task));
  dialogs_.Answer(std::nullopt);
  form_.AnswerTask(*task);
  EXPECT_EQ(form_.Game().Totals().Errors, 1);
  EXPECT_FALSE(task->isHidden());
}

TEST_F(MainWindowTest, NegativeAnswerAcceptedAtSchwer) {
  form_.ChooseLevel(2);
  TAufgabe* negative = nullptr;
  for (int round = 0; round < 200 && !negative; ++round) {
    for (TAufgabe* task : OpenTasks()) {
      if (task->Expected < 0) negative = task;
    }
    if (!negative) form_.New1Click();
  }
  ASSERT_NE(negative, nullptr);
  dialogs_.Answer(RightAnswer(*negative));
  form_.AnswerTask(*negative);
  EXPECT_TRUE(negative->isHidden());
  EXPECT_EQ(form_.Game().CurrentRound().Points, 5);
  EXPECT_EQ(form_.Game().Totals().Errors, 0);
}

struct CompletedRoundCase {
  TLevel Level;
  std::int32_t RoundPoints;
  std::int32_t PointsPerTask;
};

class CompletedRound : public MainWindowTest,
                       public ::testing::WithParamInterface<CompletedRoundCase> {};

TEST_P(CompletedRound, EarnsSpecialPointsAndStartsTheNextRound) {
  const CompletedRoundCase c = GetParam();
  form_.ChooseLevel(c.Level);
  SolveRound();

  const auto& rounds = form_.Game().Rounds();
  ASSERT_EQ(rounds.size(), 3u);  // start, the level choice, the next round
  EXPECT_EQ(rounds[1].Points, c.RoundPoints);
  EXPECT_EQ(rounds[1].Solved, 15);
  const std::int32_t special = form_.Game().SpecialPoints();
  EXPECT_TRUE(special == c.PointsPerTask || special == 2 * c.PointsPerTask ||
              special == 3 * c.PointsPerTask)
      << special;
  EXPECT_EQ(form_.Game().Totals().Points, c.RoundPoints + special);

  const auto& message = dialogs_.History().back();
  EXPECT_FALSE(message.IsInput);
  EXPECT_EQ(message.Icon, DialogIcon::Information);
  EXPECT_EQ(message.Caption, ApplicationTitle());
  EXPECT_EQ(message.Text, QStringLiteral("Bravo, alle Aufgaben gelöst!\r\nAls Belohnung gibt es ") +
                              QString::number(special) + QStringLiteral(" Sonderpunkte."));

  // The next round is dealt at once at the same level.
  EXPECT_EQ(rounds[2].Difficulty, c.Level);
  EXPECT_EQ(rounds[2].Points, 0);
  EXPECT_EQ(OpenTasks().size(), 15u);
  EXPECT_EQ(form_.Game().Remaining(), 15);
  EXPECT_EQ(form_.ProgressBar1->value(), 0);
  EXPECT_EQ(form_.RoundCellText(), QStringLiteral("3. Runde: ") + LevelNames[c.Level]);
}

INSTANTIATE_TEST_SUITE_P(Levels, CompletedRound,
                         ::testing::Values(CompletedRoundCase{0, 15, 1},
                                           CompletedRoundCase{1, 30, 2},
                                           CompletedRoundCase{2, 75, 5}));

// Special points over many completed rounds: each of 1, 2 and 3 times the
// points per task occurs, and the totals stay the sum of rounds and specials.
TEST_F(MainWindowTest, SpecialPointsTakeAllThreeValues) {
  form_.ChooseLevel(0);
  std::set<std::int32_t> seen;
  for (int round = 0; round < 20; ++round) {
    const std::int32_t before = form_.Game().SpecialPoints();
    SolveRound();
    seen.insert(form_.Game().SpecialPoints() - before);
  }
  EXPECT_EQ(seen, std::set<std::int32_t>({1, 2, 3}));
  std::int32_t roundPoints = 0;
  for (const TGameParams& round : form_.Game().Rounds()) roundPoints += round.Points;
  EXPECT_EQ(roundPoints + form_.Game().SpecialPoints(), form_.Game().Totals().Points);
}

TEST_F(MainWindowTest, LevelChoiceAndNewRoundEachAddARound) {
  struct Step {
    std::function<void()> Action;
    const char* Cell;
  };
  const Step steps[] = {{[&] { form_.ChooseLevel(2); }, "2. Runde: schwer"},
                        {[&] { form_.New1Click(); }, "3. Runde: schwer"},
                        {[&] { form_.ChooseLevel(2); }, "4. Runde: schwer"},
                        {[&] { form_.LevelItems[0]->trigger(); }, "5. Runde: leicht"},
                        {[&] { form_.New1->trigger(); }, "6. Runde: leicht"},
                        {[&] { form_.LevelItems[1]->trigger(); }, "7. Runde: mittel"}};
  for (const Step& step : steps) {
    step.Action();
    EXPECT_EQ(form_.RoundCellText(), QString::fromLatin1(step.Cell));
    EXPECT_EQ(OpenTasks().size(), 15u);
  }
  EXPECT_EQ(form_.Game().Rounds().size(), 7u);
}

// The function keys work without opening a menu.
TEST_F(MainWindowTest, FunctionKeysStartRoundsAndChooseLevels) {
  QSignalSpy help(&form_, &TForm1::HelpRequested);
  form_.show();
  form_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_F9, "2. Runde: schwer"},
                                                  {Qt::Key_F6, "3. Runde: schwer"},
                                                  {Qt::Key_F7, "4. Runde: leicht"},
                                                  {Qt::Key_F8, "5. Runde: mittel"}};
  for (const auto& [key, cell] : keys) {
    QTest::keyClick(&form_, key);
    EXPECT_EQ(form_.RoundCellText(), QString::fromLatin1(cell));
  }
  QTest::keyClick(&form_, Qt::Key_F1);
  EXPECT_EQ(help.count(), 1);
}

TEST_F(MainWindowTest, UnfinishedRoundKeepsItsCounts) {
  TAufgabe* task = OpenTasks().front();
  dialogs_.Answer(WrongAnswer(*task));
  dialogs_.Answer(RightAnswer(*task));
  form_.AnswerTask(*task);
  form_.Timer1Timer();
  form_.ChooseLevel(0);
  form_.Timer1Timer();
  form_.Timer1Timer();
  const auto& rounds = form_.Game().Rounds();
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].Points, 2);
  EXPECT_EQ(rounds[0].Errors, 1);
  EXPECT_EQ(rounds[0].Solved, 1);
  EXPECT_EQ(rounds[0].Seconds, 1);
  EXPECT_EQ(rounds[0].Difficulty, 1);
  EXPECT_EQ(rounds[1].Seconds, 2);
  EXPECT_EQ(rounds[1].Difficulty, 0);
  EXPECT_EQ(form_.Game().Totals().Seconds, 3);
  EXPECT_EQ(form_.Game().Remaining(), 15);
  EXPECT_EQ(form_.ProgressBar1->value(), 0);
}

// Every way the window ends a round reaches the game's round-finished event
// once: the last task solved, Neu, a level choice, closing the window.
TEST_F(MainWindowTest, EveryRoundEndIsReportedOnce) {
  std::vector<RoundEnd> ends;
  const EventConnection listening =
      form_.Game().OnRoundFinished([&](const FinishedRound& round) { ends.push_back(round.End); });
  SolveRound();
  form_.New1->trigger();
  form_.LevelItems[2]->trigger();
  form_.show();
  ASSERT_TRUE(form_.close());
  EXPECT_EQ(ends, (std::vector<RoundEnd>{RoundEnd::Finished, RoundEnd::Abandoned,
                                         RoundEnd::Abandoned, RoundEnd::OpenAtClose}));
  EXPECT_EQ(form_.Game().Rounds().size(), 4u);
}

// Who practises: the title and the accessible description name the child;
// a change of child starts that child's own run, as a fresh start would.
TEST_F(MainWindowTest, AnotherChildStartsItsOwnRun) {
  form_.ShowPractisingChild(QStringLiteral("Anna"));
  EXPECT_EQ(form_.windowTitle(), ApplicationTitle() + QStringLiteral(" – Anna"));
  EXPECT_EQ(form_.accessibleDescription(), QStringLiteral("Es übt: Anna"));
  form_.Clock().start();
  SolveRound();
  TAufgabe* task = OpenTasks().front();
  dialogs_.Answer(WrongAnswer(*task));
  dialogs_.Answer(RightAnswer(*task));
  form_.AnswerTask(*task);
  form_.Timer1Timer();
  ASSERT_EQ(form_.RoundCellText(), QStringLiteral("2. Runde: mittel"));
  ASSERT_NE(form_.StatusBar3->CellText(1), QStringLiteral("0"));

  form_.ShowPractisingChild(QStringLiteral("Ben"));
  form_.StartChildRun(2);
  EXPECT_EQ(form_.windowTitle(), ApplicationTitle() + QStringLiteral(" – Ben"));
  EXPECT_EQ(form_.accessibleDescription(), QStringLiteral("Es übt: Ben"));
  EXPECT_EQ(form_.PractisingChild(), QStringLiteral("Ben"));
  EXPECT_EQ(form_.RoundCellText(), QStringLiteral("1. Runde: schwer"));
  EXPECT_EQ(ValueCells(*form_.StatusBar2), QStringList({"0", "0", "0"}));
  EXPECT_EQ(ValueCells(*form_.StatusBar3), QStringList({"0", "0", "0"}));
  EXPECT_TRUE(form_.TotalCountsText().startsWith(QStringLiteral("Gesamt: 0 Punkte, 0 Fehler")))
      << form_.TotalCountsText().toStdString();
  EXPECT_EQ(form_.ProgressBar1->value(), 0);
  EXPECT_EQ(OpenTasks().size(), 15u);
  EXPECT_EQ(form_.Game().Rounds().size(), 1u);
  EXPECT_EQ(form_.Game().SpecialPoints(), 0);

  // The history ("Verlauf") is Ben's alone: one round, nothing of Anna's.
  QStringList history;
  QObject::connect(&form_, &TForm1::HistoryRequested,
                   [&history](const QStringList& lines) { history = lines; });
  form_.Historie1->trigger();
  EXPECT_EQ(history.filter(QStringLiteral("schwer")).size(), 1) << history.join(u'|').toStdString();
  EXPECT_TRUE(history.filter(QStringLiteral("mittel")).isEmpty())
      << history.join(u'|').toStdString();

  form_.ShowPractisingChild(QString());
  EXPECT_EQ(form_.windowTitle(), ApplicationTitle());
  EXPECT_TRUE(form_.accessibleDescription().isEmpty());
  form_.Clock().stop();
}

// Commands of other files come in as groups: in "Datei" above "Beenden", in
// the order added, each followed by a separator; in "Optionen" above
// "Verlauf"; their shortcuts work with the menus closed.
TEST_F(MainWindowTest, MenuGroupsFromOtherFiles) {
  auto* a = new QAction(QStringLiteral("A"), &form_);
  auto* b = new QAction(QStringLiteral("B"), &form_);
  auto* c = new QAction(QStringLiteral("C"), &form_);
  auto* d = new QAction(QStringLiteral("D"), &form_);
  b->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  form_.AddMenuGroup(MenuPlace::File, {a, b});
  form_.AddMenuGroup(MenuPlace::File, {c});
  form_.AddMenuGroup(MenuPlace::Options, {d});
  const QList<QAction*> file = form_.FileMenu->actions();
  ASSERT_EQ(file.size(), 7);
  EXPECT_EQ(file[0], form_.New1);
  EXPECT_EQ(file[1], a);
  EXPECT_EQ(file[2], b);
  EXPECT_TRUE(file[3]->isSeparator());
  EXPECT_EQ(file[4], c);
  EXPECT_TRUE(file[5]->isSeparator());
  EXPECT_EQ(file[6], form_.Exit1);
  const QList<QAction*> options = form_.OptionsMenu->actions();
  ASSERT_EQ(options.size(), 4);
  EXPECT_EQ(options[0], form_.Schwierigkeitsstufe1->menuAction());
  EXPECT_TRUE(options[1]->isSeparator());
  EXPECT_EQ(options[2], d);
  EXPECT_EQ(options[3], form_.Historie1);
  EXPECT_TRUE(form_.actions().contains(b));

  QSignalSpy triggered(b, &QAction::triggered);
  form_.show();
  form_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  QTest::keyClick(&form_, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(triggered.count(), 1);
}

TEST_F(MainWindowTest, LevelSubmenuChecksTheCurrentLevel) {
  for (TLevel level : {TLevel{2}, TLevel{0}, TLevel{1}}) {
    form_.ChooseLevel(level);
    emit form_.Schwierigkeitsstufe1->aboutToShow();
    for (int i = 0; i < kLevelCount; ++i) {
      EXPECT_EQ(form_.LevelItems[static_cast<std::size_t>(i)]->isChecked(), i == level);
    }
  }
}

TEST_F(MainWindowTest, MenuItemsCaptionsAndShortcuts) {
  struct Item {
    QAction* Action;
    const char* Text;
    QKeySequence Key;
  };
  const Item items[] = {
      {form_.New1, "&Neu", QKeySequence(Qt::Key_F6)},
      {form_.Exit1, "Be&enden", QKeySequence()},
      {form_.LevelItems[0], "leicht", QKeySequence(Qt::Key_F7)},
      {form_.LevelItems[1], "mittel", QKeySequence(Qt::Key_F8)},
      {form_.LevelItems[2], "schwer", QKeySequence(Qt::Key_F9)},
      {form_.Historie1, "&Verlauf", QKeySequence()},
      {form_.Info1, "&Info", QKeySequence()},
      {form_.IntoberTTermParser1, "Info über TTerm&Parser", QKeySequence()},
      {form_.Hilfe1, "Hilfe", QKeySequence(Qt::Key_F1)},
  };
  for (const Item& item : items) {
    EXPECT_EQ(item.Action->text(), QString::fromUtf8(item.Text));
    EXPECT_EQ(item.Action->shortcut(), item.Key) << item.Text;
  }
  for (int level = 0; level < kLevelCount; ++level) {
    EXPECT_EQ(form_.LevelItems[static_cast<std::size_t>(level)]->data().toInt(), level);
  }
  EXPECT_EQ(form_.Schwierigkeitsstufe1->title(), QStringLiteral("&Schwierigkeitsstufe"));
}

TEST_F(MainWindowTest, MenuCommandsReachTheOtherWindows) {
  QSignalSpy info(&form_, &TForm1::InfoRequested);
  QSignalSpy help(&form_, &TForm1::HelpRequested);
  QSignalSpy history(&form_, &TForm1::HistoryRequested);
  form_.Info1->trigger();
  form_.Hilfe1->trigger();
  form_.Historie1->trigger();
  EXPECT_EQ(info.count(), 1);
  EXPECT_EQ(help.count(), 1);
  ASSERT_EQ(history.count(), 1);
  const QStringList lines = history.front().front().toStringList();
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[3], QStringLiteral("       1     mittel         0        0        0        0 "));
}

// The history after some play: the round lines add up to the totals, and two
// openings in a row show the same lines.
TEST_F(MainWindowTest, HistoryAddsUpAndIsRebuiltOnEachOpening) {
  TForm3 history(&form_);
  QStringList shown;
  QObject::connect(&form_, &TForm1::HistoryRequested, &history, &TForm3::SetLines);
  SolveRound();
  TAufgabe* task = OpenTasks().front();
  dialogs_.Answer(WrongAnswer(*task));
  dialogs_.Answer(RightAnswer(*task));
  form_.AnswerTask(*task);
  form_.Timer1Timer();
  form_.ChooseLevel(2);

  form_.Historie1Click();
  const QStringList first = history.Lines();
  form_.Historie1Click();
  EXPECT_EQ(history.Lines(), first);
  EXPECT_EQ(history.ListBox1->currentRow(), 3);
  ASSERT_EQ(first.size(), 9 + 3);

  std::int64_t sums[4] = {};
  for (int line = 3; line < 6; ++line) {
    const QStringList fields = first[line].split(u' ', Qt::SkipEmptyParts);
    ASSERT_EQ(fields.size(), 6) << first[line].toStdString();
    EXPECT_EQ(fields[0].toInt(), line - 2);
    for (int i = 0; i < 4; ++i) sums[i] += fields[2 + i].toLongLong();
  }
  const QStringList totals = first[7].split(u' ', Qt::SkipEmptyParts);
  ASSERT_EQ(totals.size(), 5);
  EXPECT_EQ(totals[0], QStringLiteral("Gesamt"));
  const std::int64_t special = first[9].mid(14).toLongLong();
  EXPECT_EQ(first[9], QStringLiteral("Sonderpunkte: ") + QString::number(special));
  EXPECT_EQ(sums[0], totals[1].toLongLong());
  EXPECT_EQ(sums[1] + special, totals[2].toLongLong());
  EXPECT_EQ(sums[2], totals[3].toLongLong());
  EXPECT_EQ(sums[3], totals[4].toLongLong());
  EXPECT_EQ(totals[1].toInt(), 16);
  EXPECT_EQ(totals[3].toInt(), 1);
}

TEST(HistoryWindow, LayoutAndSelection) {
  TForm3 history;
  EXPECT_EQ(history.windowTitle(), QStringLiteral("Numora - Verlauf"));
  EXPECT_EQ(history.size(), QSize(487, 209));
  EXPECT_EQ(history.ListBox1->geometry(), QRect(0, 0, 487, 169));
  EXPECT_EQ(history.BitBtn1->geometry(), QRect(200, 176, 81, 25));
  EXPECT_EQ(history.BitBtn1->text(), QStringLiteral("OK"));
  EXPECT_TRUE(history.ListBox1->font().fixedPitch());
  history.SetLines({"a", "b", "c", "d"});
  EXPECT_EQ(history.ListBox1->currentRow(), 3);
  history.SetLines({"x", "y", "z"});
  EXPECT_EQ(history.Lines(), QStringList({"x", "y", "z"}));
  EXPECT_EQ(history.ListBox1->currentRow(), 2);
  history.SetLines({});
  EXPECT_EQ(history.ListBox1->count(), 0);
}

TEST(HistoryWindow, ShowHistoryIsModalAndClosesWithOk) {
  TForm3 history;
  bool wasModal = false;
  QTimer::singleShot(0, &history, [&] {
    wasModal = history.isVisible() && history.isModal();
    history.BitBtn1->click();
  });
  history.ShowHistory({"1", "2", "3"});
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(history.isVisible());
  EXPECT_EQ(history.result(), QDialog::Accepted);
}

// What the window passes to the dialogs beyond their texts: the owner and the
// edit field's length limit.
class RecordingDialogs final : public zelv::UserDialogs {
 public:
  bool InputQuery(QWidget* parent, const QString&, const QString&, QString& value,
                  int maxLength) override {
    inputParents.push_back(parent);
    maxLengths.push_back(maxLength);
    if (answers.empty()) return false;
    value = answers.front();
    answers.erase(answers.begin());
    return true;
  }
  zelv::DialogButton Message(QWidget* parent, const QString&, const QString&, zelv::DialogIcon,
                             std::initializer_list<zelv::DialogButton> buttons) override {
    messageParents.push_back(parent);
    return *buttons.begin();
  }
  bool SaveFileName(QWidget*, const QString&, const QString&, const QString&, QString&) override {
    return false;
  }
  std::vector<QString> answers;
  std::vector<QWidget*> inputParents, messageParents;
  std::vector<int> maxLengths;
};

TEST(MainWindowDialogs, OwnedByTheWindowWithA255CharacterField) {
  RecordingDialogs dialogs;
  TForm1 form(dialogs, nullptr, 1);
  dialogs.answers = {QStringLiteral("x")};
  form.AnswerTask(*form.Task(2, 1));
  ASSERT_EQ(dialogs.maxLengths, std::vector<int>({255}));
  EXPECT_EQ(dialogs.inputParents.front(), &form);
  ASSERT_EQ(dialogs.messageParents.size(), 1u);
  EXPECT_EQ(dialogs.messageParents.front(), &form);
}

struct TitleCase {
  const char* Path;
  const char* Title;
};

TEST(ProgramTitle, MadeFromTheProgramFileName) {
  const TitleCase cases[] = {{"/usr/bin/numora", "Numora"},
                             {"NUMORA.EXE", "Numora"},
                             {"/opt/x/numOra.bin", "Numora"},
                             {"zelv.numora.sh", "Zelv.numora"},
                             {"/a/b/", ""},
                             {"", ""}};
  for (const TitleCase& c : cases) {
    EXPECT_EQ(TitleFromProgramPath(QString::fromLatin1(c.Path)), QString::fromLatin1(c.Title))
        << c.Path;
  }
}

}  // namespace
}  // namespace numora
