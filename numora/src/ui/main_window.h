// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's main window: 15 task buttons, the round's progress bar, three
// status rows with the counts of this round and of all rounds, and the menu.
// The session's state and rules live in TrainerGame; the window shows them and
// runs the dialogs.
#pragma once

#include <QMainWindow>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/extended.h"
#include "engine/parser.h"
#include "game_params.h"
#include "trainer_game.h"
#include "zelvlib/scale.h"

class QAction;
class QFrame;
class QLabel;
class QKeyEvent;
class QMenu;
class QPainter;
class QProgressBar;

namespace zelv {
class UserDialogs;
}

namespace numora {

class StatusRow;

// A task button; its caption is the task text.
class TAufgabe : public QPushButton {
  Q_OBJECT

 public:
  TAufgabe(int column, int row, QWidget* parent);

  // Shows the task text in the window's font; a text too wide for the button
  // (the longest terms at "schwer", such as 1000-(1000+1000)) breaks onto two
  // lines after an operator, and only where that does not fit either gets a
  // smaller size of that font instead of being cut off.
  void SetTaskText(const QString& text);
  // The task as dealt, on one line (the caption may be broken).
  const QString& TaskText() const { return taskText_; }
  // Fits the caption anew to the button's size and the window's font.
  void FitCaption();

  engine::Extended Expected = 0;
  const int Column;
  const int Row;

 signals:
  // An arrow key: move the focus over the grid by columns and rows.
  void FocusMoveRequested(int columns, int rows);

 protected:
  // Enter opens the task like Space and a click do; the arrow keys move.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString taskText_;
};

// Where commands that live in files of their own go in the main window's
// menu.
enum class MenuPlace : std::uint8_t {
  File,     // "Datei", above "Beenden", each group followed by a separator
  Options,  // "Optionen", above "Verlauf"
};

// A level's name in the interface language: "leicht", "mittel", "schwer".
QString LevelText(TLevel level);

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // The random generator is seeded from the clock, or with seed when given
  // (tests and screenshots want repeatable rounds).
  explicit TForm1(zelv::UserDialogs& dialogs, QWidget* parent = nullptr,
                  std::optional<std::uint32_t> seed = std::nullopt);
  // FormDestroy: the template list, the round records and the totals go with
  // the game object, the task buttons with their panel.
  ~TForm1() override;

  TrainerGame& Game() { return *game_; }

  // Lays the window out at a zoom: geometry, fonts and captions, all from
  // the 100 % layout.
  void ApplyScale(zelv::Scale scale);
  // Adds the "Ansicht" menu of zoom; its owner applies the changes.
  void AttachZoom(zelv::ZoomControl& zoom);
  // Adds a group of commands to a menu, after the groups added there
  // before; their shortcuts work with the menu closed.
  void AddMenuGroup(MenuPlace place, const QList<QAction*>& actions);
  TAufgabe* Task(int column, int row) const;
  QTimer& Clock() { return Timer1; }
  engine::TTermParser& Parser() { return TermParser1; }

  // The controls, owned by the window.
  QFrame* Panel1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  StatusRow* StatusBar1 = nullptr;
  StatusRow* StatusBar2 = nullptr;
  StatusRow* StatusBar3 = nullptr;
  QAction* New1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Schwierigkeitsstufe1 = nullptr;
  std::array<QAction*, kLevelCount> LevelItems{};  // leicht1, mittel1, schwer1
  QAction* Historie1 = nullptr;
  QAction* Info1 = nullptr;
  QAction* IntoberTTermParser1 = nullptr;
  QAction* Hilfe1 = nullptr;
  // The menus; commands of other files come in through AddMenuGroup.
  QMenu* FileMenu = nullptr;
  QMenu* OptionsMenu = nullptr;

 signals:
  // The history lines, for the history window to show modally.
  void HistoryRequested(const QStringList& lines);
  // "&Info": show the start-up window as an information window.
  void InfoRequested();
  // "Hilfe", F1.
  void HelpRequested();
  // The window was closed ("Be&enden" or the close box): the program ends.
  void Closed();

 public slots:
  // The click of a task button (the sender).
  void ButtonClick();
  void New1Click();
  void Exit1Click();
  void Schwierigkeitsstufe1Click();
  // The sender is one of the level items; its data is the level.
  void diffClick();
  void Timer1Timer();
  void Historie1Click();
  void Info1Click();
  void IntoberTTermParser1Click();
  void Hilfe1Click();

 public:
  // Answering one task, for the click handler and for tests.
  void AnswerTask(TAufgabe& task);
  // Selects a level and starts a new round, as the level items do.
  void ChooseLevel(TLevel level);
  // Who practises: the title names the child ("Numora – Anna") and so does
  // the window's accessible description; an empty name leaves the title
  // alone.
  void ShowPractisingChild(const QString& name);
  const QString& PractisingChild() const { return child_; }
  // Another child practises: a run of its own, as if the program had just
  // been started for it (round 1, zero totals, an empty history), its first
  // round at the given level.
  void StartChildRun(TLevel level);
  // Starts a round whose first tasks are the given ones ("Fehler üben").
  void PracticeRound(const std::vector<PracticeTask>& tasks);
  // The text of the first status cell: "N. Runde: level".
  QString RoundCellText() const;
  // What a screen reader says of the counts: "Diese Runde: 12 Punkte,
  // 1 Fehler, 97 Sekunden", "Gesamt: ...", and "3 von 15 Aufgaben gelöst".
  QString RoundCountsText() const;
  QString TotalCountsText() const;
  QString ProgressText() const;
  // A sign at the right of the menu bar while the progress is not saved
  // (empty text: none), with a description for screen readers.
  void ShowStoreSign(const QString& text, const QString& description);
  QString StoreSignText() const;
  // Moves the focus from a task to the nearest open task in a direction;
  // left and right go on in the next or previous row.
  void MoveTaskFocus(const TAufgabe& from, int columns, int rows);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void BuildTaskButtons();
  void CentreOnScreen();
  void ShowRound();
  // The counts in the value cells of the second and third status rows.
  void ShowCounts();
  // Gives the status rows and the progress bar their spoken texts from the
  // game's counts and tells assistive technology about a change of score.
  void UpdateSpokenCounts(bool announce);
  void StatusBar1DrawPanel(StatusRow& sender, QPainter& painter, int cell, const QRect& rect);

  // The engine, created by the window before anything else and destroyed
  // after it; the parser refers to the declarations.
  engine::TParserDeclarations ParserDeclarations1;
  engine::TTermParser TermParser1;
  zelv::UserDialogs& dialogs_;
  QTimer Timer1;
  std::array<std::array<TAufgabe*, kTaskRows>, kTaskColumns> Tasks{};
  std::unique_ptr<TrainerGame> game_;
  QMenu* helpMenu_ = nullptr;
  QLabel* storeSign_ = nullptr;
  zelv::Scale scale_;
  QString child_;
};

}  // namespace numora
