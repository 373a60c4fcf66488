// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reading game's one window: the board of picture cells, the word list
// that opens at the click point, and the menu. The pairing of pictures and
// words and the check of a chosen word live in ReadingGame; the window shows
// them, runs the dialogs and talks to the picture library.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "random_generator.h"
#include "reading_game.h"
#include "type_ahead.h"
#include "zelvlib/scale.h"

class QAction;
class QKeyEvent;
class QActionGroup;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QSettings;
class QTimer;

namespace zelv {
class UserDialogs;
class ZoomControl;
}  // namespace zelv

namespace bildwort {

class PictureLibrary;
class WordSpeaker;
struct LibraryDamage;

// One cell of the board. Its tag is the board index whose word it expects.
// It takes the keyboard focus and shows it as a frame.
class TPictureCell : public QLabel {
  Q_OBJECT

 public:
  explicit TPictureCell(QWidget* parent);

  int Tag = 0;

  // The picture as at 100 %, shown at `scale`; a null image leaves the
  // cell empty.
  void ShowPicture(const QImage& picture, zelv::Scale scale);

 signals:
  // Any mouse button; x and y are the press point within the cell.
  void MouseDown(TPictureCell* cell, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                 int y);
  // An arrow, Enter or Space while the cell has the focus.
  void KeyDown(TPictureCell* cell, int key);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int frameWidth_ = 4;
};

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 64;
  static constexpr int kCellStep = kCellSize + 1;

  // The choices of game length; a game draws its pictures from the whole
  // list.
  static constexpr std::array<int, 4> kGameSizes{12, 24, 48, 120};

  // Creates the window and runs FormCreate: loads the library, reads the
  // word list and pictures, builds the board and deals. Without a seed the
  // random generator is seeded from the clock. `settings` (may be null)
  // remembers the user's choices between runs; `speaker` (may be null)
  // reads words aloud. When the library is missing
  // or holds no words, the window reports it, ends (Ended()) and is never
  // meant to be shown.
  TForm1(PictureLibrary& library, zelv::UserDialogs& dialogs,
         std::optional<std::uint32_t> seed = std::nullopt, QSettings* settings = nullptr,
         WordSpeaker* speaker = nullptr, QWidget* parent = nullptr);
  ~TForm1() override;

  // True once the program is to end: the library was missing or empty,
  // "&Beenden" or No in the final question.
  bool Ended() const { return ended_; }

  // The game as dealt; null when the window ended during its creation.
  const ReadingGame* Game() const { return game_.get(); }
  TPictureCell* Cell(int index) const;

  void StartGame(Language language);
  // Opens the word list for `cell` at `point` (within the cell), where it
  // fits inside the window; the mouse and the keyboard both open it here.
  void OpenWordList(TPictureCell* cell, QPoint point);
  // Hides the list and makes it inert: keys go back to the board.
  void CloseWordList();
  // Arrows move the focus over the open pictures; Enter or Space opens the
  // word list at the picture's middle.
  void FormKeyDown(TPictureCell* cell, int key);
  void FormMouseDown(TPictureCell* cell, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y);
  void ComboBox1Click();
  void Combobox1KeyDown(int key, Qt::KeyboardModifiers shift);
  void Combobox1KeyUp(int key, Qt::KeyboardModifiers shift);
  // `item` is Deutsch1 or English1, with the check mark it had before the
  // click.
  void Deutsch1Click(QAction* item);
  void Neu1Click();
  void Beenden1Click();
  void Hilfe2Click();
  void Info1Click();
  // Chooses how many pictures a game has and deals anew.
  void ChooseGameSize(int pictures);
  int GameSize() const { return gameSize_; }
  // Switches reading aloud on or off (remembered).
  void VorlesenClick(bool on);
  // Reads the word chosen in the open list aloud.
  void WortVorlesenClick();
  // With reading aloud on: reads the entry the pointer rests on, as the
  // pointer's pause does after a second.
  void ReadHoveredWord();
  bool HoverReadPending() const;

  // The controls, owned by the window.
  QWidget* Board = nullptr;
  QListWidget* Combobox1 = nullptr;
  QMenu* Datei1 = nullptr;
  QAction* Neu1 = nullptr;
  QAction* Beenden1 = nullptr;
  QMenu* Sprache1 = nullptr;
  QAction* Deutsch1 = nullptr;
  QAction* English1 = nullptr;
  QMenu* Hilfe1 = nullptr;
  QAction* Hilfe2 = nullptr;
  QAction* Info1 = nullptr;
  QAction* Vorlesen1 = nullptr;
  QAction* WortVorlesen1 = nullptr;
  QMenu* Bilder1 = nullptr;
  QMenu* Ansicht1 = nullptr;
  zelv::ZoomControl* Zoom = nullptr;
  std::array<QAction*, kGameSizes.size()> GameSizeItems{};
  // In the status bar: how many pictures are left, and a word on the last
  // pick.
  QLabel* Progress = nullptr;
  QLabel* Feedback = nullptr;
  // How many pictures the library could not give, when any; their words
  // are not in the game.
  QLabel* LeftOut = nullptr;
  // The words on the last pick, large, beside the list or where the solved
  // picture was.
  QLabel* Bubble = nullptr;
  // On a board left empty at the end: how to start again.
  QLabel* EmptyBoardHint = nullptr;
  // The letters typed into the open list, shown beside it.
  QLabel* TypedLetters = nullptr;

  // The clock of the type-ahead (tests set their own).
  void SetTypeAheadClock(TypeAhead::Clock clock) { typeAhead_ = TypeAhead(std::move(clock)); }

  std::array<TPictureCell*, ReadingGame::kBoardCells> PictureCells{};
  TPictureCell* CurrentCell = nullptr;
  Language CurrentLanguage = Language::German;

 signals:
  // The program is to end; the program's start connects this to the
  // application's quit.
  void ProgramEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void FormCreate();
  void FormDestroy();
  void BuildBoard(int count);
  void FitBoard();
  void FitWordList();
  // Lays out the board, the list and the window's texts at `scale`.
  void ApplyScale(zelv::Scale scale);
  void ShowProgress();
  // The open picture nearest to board index `from` in reading order,
  // `from` itself included; null when none is left.
  TPictureCell* NextOpenCell(int from) const;
  void ShowFeedback(bool right, const QString& word, const QRect& near);
  void ShowBubble(bool right, const QRect& near);
  void ReadChosenWord(const QListWidgetItem* entry);
  void ShowEmptyBoardHint();
  void PlaceEmptyBoardHint();
  bool IsSecondClickOfOpening(const QEvent* event) const;
  Language StartLanguage() const;
  // Letters and Backspace in the open list search its words; true when the
  // key was one of them.
  bool TypeLetter(const QKeyEvent& key);
  void ShowTypedLetters(bool found);
  void FailAndEnd(const QString& text);
  // The message for a library file that was found but cannot be used.
  static QString DamageText(const LibraryDamage& damage);
  void EndProgram();
  void AttachCheck();
  void DetachCheck();

  PictureLibrary& library_;
  zelv::UserDialogs& dialogs_;
  std::optional<std::uint32_t> seed_;
  QSettings* settings_;
  WordSpeaker* speaker_;
  zelv::Scale scale_;
  QFont baseFont_;
  int gameSize_ = kGameSizes.back();
  RandomGenerator random_{0};
  std::unique_ptr<ReadingGame> game_;
  QMetaObject::Connection check_;
  bool ended_ = false;
  // Enter checks on its release only when it was also pressed in the list,
  // not when its press opened the list.
  bool enterPressedInList_ = false;
  // When and where (global) the list last opened: the second click of a
  // double-click on a picture lands on the list and must not pick.
  QElapsedTimer openedClock_;
  QPoint openedAt_;
  TypeAhead typeAhead_;
  QTimer* bubbleTimer_ = nullptr;
  QTimer* hoverTimer_ = nullptr;
  QPersistentModelIndex hovered_;
  // A key is down in the list: its moves are read aloud.
  bool keysMoving_ = false;
  bool checking_ = false;
};

}  // namespace bildwort
