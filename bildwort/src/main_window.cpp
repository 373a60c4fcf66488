// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "picture_library.h"
#include "program_icon.h"
#include "word_list.h"
#include "word_speaker.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/scale.h"

namespace bildwort {

namespace {

constexpr int kListRole = Qt::UserRole;
// A child must read every word whole: text of at least 15 pixels, and as
// many rows as fit a comfortable glance.
constexpr int kListFontPixels = 15;
constexpr int kListRows = 8;
// The words on a pick, shown beside the list or the picture: larger than
// the list's, in bold.
constexpr int kBubbleFontPixels = 18;
constexpr int kRightBubbleMs = 1800;
constexpr int kHintFontPixels = 22;
// The shake of the list on a wrong pick.
constexpr int kShakeMs = 500;
constexpr int kShakePixels = 10;
// How long the pointer rests on a word before it is read.
constexpr int kHoverMs = 1000;
const QString kGameSizeKey = QStringLiteral("Spiel/Bilder");
const QString kReadAloudKey = QStringLiteral("Spiel/Vorlesen");
const QString kWordLanguageKey = QStringLiteral("Spiel/Wortsprache");

QString LanguageCode(Language language) {
  return language == Language::German ? QStringLiteral("de") : QStringLiteral("en");
}

// Only the top-left cell of a picture is ever seen (pictures are drawn
// unscaled from that corner), so a larger one is cut to it at once instead
// of keeping a large image alive for the whole run.
QImage CutToCell(const QImage& picture) {
  if (picture.width() <= TForm1::kCellSize && picture.height() <= TForm1::kCellSize) return picture;
  return picture.copy(0, 0, std::min(picture.width(), TForm1::kCellSize),
                      std::min(picture.height(), TForm1::kCellSize));
}

}  // namespace

TPictureCell::TPictureCell(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFixedSize(TForm1::kCellSize, TForm1::kCellSize);
  setFocusPolicy(Qt::StrongFocus);
}

void TPictureCell::ShowPicture(const QImage& picture, zelv::Scale scale) {
  frameWidth_ = std::max(4, scale.Px(4));
  if (picture.isNull()) {
    clear();
    return;
  }
  if (scale == zelv::Scale()) {
    setPixmap(QPixmap::fromImage(picture));
    return;
  }
  setPixmap(QPixmap::fromImage(
      picture.scaled(scale.Size(picture.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TPictureCell::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      emit KeyDown(this, event->key());
      event->accept();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

// The focus frame: thick enough to be seen from a child's distance, drawn
// inside the cell over the picture's edge.
void TPictureCell::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QPen pen(palette().color(QPalette::Highlight), frameWidth_);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  const int inset = frameWidth_ / 2;
  painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
}

void TPictureCell::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  emit MouseDown(this, event->button(), event->modifiers(), point.x(), point.y());
  event->accept();
}

TForm1::TForm1(PictureLibrary& library, zelv::UserDialogs& dialogs,
               std::optional<std::uint32_t> seed, QSettings* settings, WordSpeaker* speaker,
               QWidget* parent)
    : QMainWindow(parent),
      library_(library),
      dialogs_(dialogs),
      seed_(seed),
      settings_(settings),
      speaker_(speaker) {
  setWindowTitle(QStringLiteral("Bildwort 2"));
  baseFont_ = font();
  // The zoomed font reaches the menus' pop-ups too.
  setAttribute(Qt::WA_WindowPropagation);
  setWindowIcon(ProgramIcon());
  if (settings_ != nullptr) {
    const int remembered = settings_->value(kGameSizeKey, gameSize_).toInt();
    if (std::find(kGameSizes.begin(), kGameSizes.end(), remembered) != kGameSizes.end()) {
      gameSize_ = remembered;
    }
  }
  BuildMenu();
  Progress = new QLabel(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Feedback = new QLabel(this);
  Feedback->setObjectName(QStringLiteral("Feedback"));
  LeftOut = new QLabel(this);
  LeftOut->setObjectName(QStringLiteral("LeftOut"));
  LeftOut->hide();
  statusBar()->addWidget(Feedback, 1);
  statusBar()->addPermanentWidget(LeftOut);
  statusBar()->addPermanentWidget(Progress);
  statusBar()->setSizeGripEnabled(false);

  Board = new QWidget(this);
  Board->setObjectName(QStringLiteral("Board"));
  setCentralWidget(Board);

  Combobox1 = new QListWidget(Board);
  Combobox1->setObjectName(QStringLiteral("Combobox1"));
  Combobox1->setAccessibleName(tr("Wortliste"));
  Combobox1->setSelectionMode(QAbstractItemView::SingleSelection);
  // Sorted by StartGame as a dictionary of the word language sorts, not by
  // character code.
  Combobox1->setSortingEnabled(false);
  Combobox1->setUniformItemSizes(true);
  Combobox1->setTextElideMode(Qt::ElideNone);
  Combobox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QFont listFont = Combobox1->font();
  listFont.setPixelSize(kListFontPixels);
  Combobox1->setFont(listFont);
  Combobox1->setGeometry(152, 56, 80, 97);
  Combobox1->hide();
  // Reading a word before the pick: on a move of the keys, and after the
  // pointer rests on an entry.
  connect(Combobox1, &QListWidget::currentItemChanged, this,
          [this](const QListWidgetItem* current) {
            if (keysMoving_) ReadChosenWord(current);
          });
  Combobox1->setMouseTracking(true);
  hoverTimer_ = new QTimer(this);
  hoverTimer_->setSingleShot(true);
  connect(hoverTimer_, &QTimer::timeout, this, &TForm1::ReadHoveredWord);
  connect(Combobox1, &QListWidget::itemEntered, this, [this](const QListWidgetItem* entry) {
    hovered_ = QPersistentModelIndex(Combobox1->indexFromItem(entry));
    if (speaker_ != nullptr && Vorlesen1->isChecked()) hoverTimer_->start(kHoverMs);
  });
  Bubble = new QLabel(Board);
  Bubble->setObjectName(QStringLiteral("Bubble"));
  // It may stand over pictures for a moment: clicks go through to them.
  Bubble->setAttribute(Qt::WA_TransparentForMouseEvents);
  Bubble->hide();
  bubbleTimer_ = new QTimer(this);
  bubbleTimer_->setSingleShot(true);
  connect(bubbleTimer_, &QTimer::timeout, Bubble, &QWidget::hide);
  EmptyBoardHint = new QLabel(Board);
  EmptyBoardHint->setObjectName(QStringLiteral("EmptyBoardHint"));
  EmptyBoardHint->setAlignment(Qt::AlignCenter);
  EmptyBoardHint->setStyleSheet(QStringLiteral("color: #1a3a8a; padding: 12px;"));
  EmptyBoardHint->hide();
  TypedLetters = new QLabel(Board);
  TypedLetters->setObjectName(QStringLiteral("TypedLetters"));
  TypedLetters->setAttribute(Qt::WA_TransparentForMouseEvents);
  TypedLetters->hide();
  Combobox1->installEventFilter(this);
  Combobox1->viewport()->installEventFilter(this);
  Board->installEventFilter(this);
  AttachCheck();

  move(33, 34);
  FitBoard();
  FormCreate();
  // Remembered on: the speech engine starts with the game, not with the
  // first word.
  if (!ended_ && speaker_ != nullptr && Vorlesen1->isChecked()) speaker_->Prepare();
  // Once the board exists; from then on every change of the zoom lays it
  // out again.
  if (Zoom->Percent() != 100 && !ended_) ApplyScale(Zoom->CurrentScale());
  connect(Zoom, &zelv::ZoomControl::Changed, this, &TForm1::ApplyScale);
}

TForm1::~TForm1() {
  FormDestroy();
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  Datei1 = bar->addMenu(tr("&Datei"));
  Neu1 = Datei1->addAction(tr("&Neu"), this, &TForm1::Neu1Click);
  // As in Numora, F6 deals anew; a key of the window, so that the menu
  // item stays as it always was.
  auto* newGameKey = new QAction(this);
  newGameKey->setObjectName(QStringLiteral("NewGameKey"));
  newGameKey->setShortcut(QKeySequence(Qt::Key_F6));
  connect(newGameKey, &QAction::triggered, this, &TForm1::Neu1Click);
  addAction(newGameKey);
  Beenden1 = Datei1->addAction(tr("&Beenden"), this, &TForm1::Beenden1Click);

  Sprache1 = bar->addMenu(tr("&Sprache"));
  Deutsch1 = Sprache1->addAction(tr("&Deutsch"));
  English1 = Sprache1->addAction(tr("&English"));
  for (QAction* item : {Deutsch1, English1}) {
    item->setCheckable(true);
    // Qt has already flipped the check mark when `triggered` arrives; the
    // handler decides from the mark as it was before the click.
    connect(item, &QAction::triggered, this, [this, item](bool checked) {
      item->setChecked(!checked);
      Deutsch1Click(item);
    });
  }
  CurrentLanguage = StartLanguage();
  Deutsch1->setChecked(CurrentLanguage == Language::German);
  English1->setChecked(CurrentLanguage == Language::English);
  Sprache1->addSeparator();
  Vorlesen1 = Sprache1->addAction(tr("Wörter &vorlesen"), this, &TForm1::VorlesenClick);
  Vorlesen1->setCheckable(true);
  Vorlesen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  // Off until the user switches it on, then as the user left it.
  Vorlesen1->setChecked(settings_ != nullptr && settings_->value(kReadAloudKey, false).toBool());
  WortVorlesen1 =
      Sprache1->addAction(tr("&Gewähltes Wort vorlesen"), this, &TForm1::WortVorlesenClick);
  WortVorlesen1->setShortcut(QKeySequence(Qt::Key_F5));
  WortVorlesen1->setEnabled(Vorlesen1->isChecked());

  Bilder1 = bar->addMenu(tr("Bi&lder"));
  auto* sizes = new QActionGroup(this);
  for (size_t k = 0; k < kGameSizes.size(); ++k) {
    const int pictures = kGameSizes[k];
    QAction* item = Bilder1->addAction(tr("%1 Bilder").arg(pictures));
    item->setCheckable(true);
    item->setChecked(pictures == gameSize_);
    sizes->addAction(item);
    connect(item, &QAction::triggered, this, [this, pictures] { ChooseGameSize(pictures); });
    GameSizeItems[k] = item;
  }

  Ansicht1 = bar->addMenu(tr("&Ansicht"));
  Zoom = new zelv::ZoomControl(settings_, this);
  // Also on the window, so that the zoom keys work with the menu closed.
  addActions(Zoom->FillMenu(*Ansicht1));

  Hilfe1 = bar->addMenu(tr("&Hilfe"));
  Hilfe2 = Hilfe1->addAction(tr("Hilfe"), this, &TForm1::Hilfe2Click);
  Hilfe2->setShortcut(QKeySequence(Qt::Key_F1));
  Info1 = Hilfe1->addAction(tr("&Info"), this, &TForm1::Info1Click);
}

// The window is 858 x 667 at (33, 34). Below a menu bar that leaves less
// than the 649 pixels that ten rows of cells need, so the window grows just
// enough to show the last row whole.
void TForm1::FitBoard() {
  const int boardHeight = scale_.Px(ReadingGame::kRows * kCellStep - 1);
  const int needed =
      menuBar()->sizeHint().height() + boardHeight + statusBar()->sizeHint().height();
  resize(scale_.Px(858), std::max(scale_.Px(667), needed));
}

void TForm1::ApplyScale(zelv::Scale scale) {
  scale_ = scale;
  setFont(scale.Font(baseFont_));
  QFont listFont = Combobox1->font();
  listFont.setPixelSize(scale.Px(kListFontPixels));
  Combobox1->setFont(listFont);
  for (int index = 0; index < ReadingGame::kBoardCells; ++index) {
    TPictureCell* cell = Cell(index);
    if (cell == nullptr) continue;
    const int row = index / ReadingGame::kColumns;
    const int column = index % ReadingGame::kColumns;
    const QRect at(column * kCellStep, row * kCellStep, kCellSize, kCellSize);
    cell->setFixedSize(scale.Rect(at).size());
    cell->move(scale.Rect(at).topLeft());
    if (game_) cell->ShowPicture(game_->Picture(cell->Tag), scale);
  }
  CloseWordList();
  FitWordList();
  FitBoard();
  Bubble->hide();
  if (EmptyBoardHint->isVisible()) ShowEmptyBoardHint();
}

void TForm1::FormCreate() {
  if (!library_.Load()) {
    if (const std::optional<LibraryDamage> damage = library_.Damage()) {
      FailAndEnd(DamageText(*damage));
      return;
    }
    QString folders;
    for (const QString& folder : library_.SearchedFolders())
      folders += QStringLiteral("  %1\n").arg(folder);
    FailAndEnd(tr("Die Bildbibliothek \u201E%1\u201C wurde nicht gefunden oder lässt sich nicht "
                  "laden. Ohne sie gibt es keine Bilder und Wörter.\n\n"
                  "Gesucht wurde in diesen Ordnern:\n%2"
                  "und in den Bibliotheksordnern des Systems.\n\n"
                  "Bitte installieren Sie Bildwort neu (Paket \u201Ezelv\u201C).")
                   .arg(library_.FileName(), folders));
    return;
  }
  // The library looked up its exports while loading.
  const std::optional<QByteArray> text = library_.ReadWordList();
  if (!text) {
    FailAndEnd(tr("Die Bildbibliothek enthält keine Wortliste."));
    return;
  }
  std::vector<std::string> lines =
      SplitWordList(std::string_view(text->constData(), static_cast<size_t>(text->size())));
  if (lines.empty()) {
    FailAndEnd(tr("Die Wortliste der Bildbibliothek ist leer."));
    return;
  }
  // The board has 120 cells; further lines have no place and are left out.
  if (lines.size() > static_cast<size_t>(ReadingGame::kBoardCells)) {
    lines.resize(ReadingGame::kBoardCells);
  }
  // A word whose picture is missing or cannot be read leaves the game: a
  // child cannot name a picture that is not there, and an empty cell would
  // still wait for its word.
  std::vector<std::string> playable;
  std::vector<QImage> pictures;
  pictures.reserve(lines.size());
  for (size_t id = 1; id <= lines.size(); ++id) {
    QImage picture = CutToCell(library_.ReadPicture(static_cast<int>(id)));
    if (picture.isNull()) continue;
    playable.push_back(std::move(lines[id - 1]));
    pictures.push_back(std::move(picture));
  }
  const int leftOut = static_cast<int>(lines.size() - playable.size());
  if (playable.empty()) {
    FailAndEnd(tr("Keines der %1 Bilder der Bildbibliothek lässt sich lesen.").arg(lines.size()));
    return;
  }
  lines = std::move(playable);
  if (leftOut > 0) {
    LeftOut->setText(leftOut == 1 ? tr("1 Bild ausgelassen (nicht lesbar)")
                                  : tr("%1 Bilder ausgelassen (nicht lesbar)").arg(leftOut));
    LeftOut->setAccessibleName(LeftOut->text());
    LeftOut->show();
  }
  const int count = static_cast<int>(lines.size());
  BuildBoard(count);
  random_ = seed_ ? RandomGenerator(*seed_) : RandomGenerator::SeededFromClock();
  game_ = std::make_unique<ReadingGame>(std::move(lines), std::move(pictures), random_);
  StartGame(CurrentLanguage);
}

QString TForm1::DamageText(const LibraryDamage& damage) {
  using Kind = LibraryDamage::Kind;
  QString what;
  switch (damage.kind) {
    case Kind::Empty:
      what = tr("Die Datei ist leer.");
      break;
    case Kind::NotALibrary:
      what = tr("Die Datei ist keine Programmbibliothek.");
      break;
    case Kind::WrongKind:
      what = tr("Die Datei ist eine Programmbibliothek für eine andere Art von Computer.");
      break;
    case Kind::Truncated:
      what = tr("Die Datei ist unvollständig: Sie hat %1 Bytes, ihr Inhaltsverzeichnis verlangt "
                "mindestens %2 Bytes.")
                 .arg(damage.size)
                 .arg(damage.needed);
      break;
    case Kind::BadHeaders:
      what = tr("Das Inhaltsverzeichnis der Datei widerspricht sich selbst.");
      break;
    case Kind::Unreadable:
      what = tr("Die Datei lässt sich nicht lesen.");
      break;
    case Kind::TrialCrashed:
      what = tr("Beim Probeladen in einem eigenen Prozess ist dieser abgestürzt.");
      break;
    case Kind::TrialRefused:
      what = tr("Das System lädt sie nicht: %1").arg(damage.detail);
      break;
    case Kind::TrialHung:
      what = tr("Das Probeladen in einem eigenen Prozess war nach %1 Sekunden nicht fertig.")
                 .arg(damage.detail);
      break;
  }
  return tr("Die Bildbibliothek \u201E%1\u201C ist beschädigt und wird nicht geladen.\n\n%2\n\n"
            "Bitte installieren Sie Bildwort neu (Paket \u201Ezelv\u201C).")
      .arg(QDir::toNativeSeparators(damage.file), what);
}

void TForm1::FailAndEnd(const QString& text) {
  dialogs_.Message(this, tr("Fehler"), text, zelv::DialogIcon::Error, {zelv::DialogButton::Ok});
  EndProgram();
}

void TForm1::BuildBoard(int count) {
  for (int row = 0; row < ReadingGame::kRows; ++row) {
    for (int column = 0; column < ReadingGame::kColumns; ++column) {
      const int index = row * ReadingGame::kColumns + column;
      if (index >= count) continue;
      auto* cell = new TPictureCell(Board);
      cell->setObjectName(QStringLiteral("PictureCell%1").arg(index));
      cell->move(column * kCellStep, row * kCellStep);
      connect(cell, &TPictureCell::MouseDown, this, &TForm1::FormMouseDown);
      connect(cell, &TPictureCell::KeyDown, this, &TForm1::FormKeyDown);
      PictureCells[static_cast<size_t>(index)] = cell;
    }
  }
  Combobox1->raise();
}

TPictureCell* TForm1::Cell(int index) const {
  if (index < 0 || index >= ReadingGame::kBoardCells) return nullptr;
  return PictureCells[static_cast<size_t>(index)];
}

void TForm1::StartGame(Language language) {
  CloseWordList();
  // A new game forgets the picture of the last one.
  CurrentCell = nullptr;
  Combobox1->clear();
  if (!game_) return;
  game_->Deal(gameSize_);
  std::vector<QListWidgetItem*> entries;
  for (int index = 0; index < game_->Count(); ++index) {
    TPictureCell* cell = Cell(index);
    cell->ShowPicture(game_->Picture(index), scale_);
    cell->Tag = index;
    // Named by place, never by word: the name must not give the answer away.
    cell->setAccessibleName(tr("Bild in Reihe %1, Spalte %2")
                                .arg(index / ReadingGame::kColumns + 1)
                                .arg(index % ReadingGame::kColumns + 1));
    cell->setAccessibleDescription(tr("noch offen; die Eingabetaste öffnet die Wortliste"));
    cell->setVisible(game_->IsOnBoard(index));
    if (!game_->IsOnBoard(index)) continue;
    auto* entry = new QListWidgetItem(game_->WordOf(index, language));
    entry->setData(kListRole, index);
    entries.push_back(entry);
  }
  QCollator collator(WordLocale(language));
  std::stable_sort(entries.begin(), entries.end(),
                   [&collator](const QListWidgetItem* a, const QListWidgetItem* b) {
                     return collator.compare(a->text(), b->text()) < 0;
                   });
  for (QListWidgetItem* entry : entries) Combobox1->addItem(entry);
  FitWordList();
  Feedback->clear();
  Bubble->hide();
  Bubble->setAccessibleName(QString());
  EmptyBoardHint->hide();
  ShowProgress();
  // Every game starts with the keyboard at the first picture, however it
  // was dealt (the final question, the menu, a key, the language or the
  // game's size), so that arrows and Enter work at once.
  if (TPictureCell* first = NextOpenCell(0)) first->setFocus(Qt::OtherFocusReason);
}

TPictureCell* TForm1::NextOpenCell(int from) const {
  for (int step = 0; step < ReadingGame::kBoardCells; ++step) {
    TPictureCell* cell = Cell((from + step) % ReadingGame::kBoardCells);
    if (cell != nullptr && !cell->isHidden()) return cell;
  }
  return nullptr;
}

void TForm1::FormKeyDown(TPictureCell* cell, int key) {
  if (cell == nullptr) return;
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    OpenWordList(cell, QPoint(cell->width() / 2, cell->height() / 2));
    return;
  }
  // Left and right follow the reading order across rows; up and down keep
  // the column and pass over solved pictures.
  const int step = key == Qt::Key_Left    ? -1
                   : key == Qt::Key_Right ? 1
                   : key == Qt::Key_Up    ? -ReadingGame::kColumns
                                          : ReadingGame::kColumns;
  for (int index = cell->Tag + step; index >= 0 && index < ReadingGame::kBoardCells;
       index += step) {
    TPictureCell* target = Cell(index);
    if (target != nullptr && !target->isHidden()) {
      target->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void TForm1::ShowProgress() {
  const int left = game_ ? game_->Remaining() : 0;
  Progress->setText(left == 1 ? tr("noch 1 Bild") : tr("noch %1 Bilder").arg(left));
  Progress->setAccessibleName(Progress->text());
}

// A gentle word on a wrong pick, with a shake of the list, and a small
// reward on a right one; no sound. Both in the status line and, large,
// where the child looks: beside the list, or where the picture was.
void TForm1::ShowFeedback(bool right, const QString& word, const QRect& near) {
  // The word picked is named, so that a screen reader tells which one it
  // was.
  Feedback->setText(right ? tr("Richtig: %1! \u2605").arg(word)
                          : tr("\u201E%1\u201C passt nicht. Versuch ein anderes Wort.").arg(word));
  Feedback->setStyleSheet(right ? QStringLiteral("color: #1b7a1b; font-weight: bold;")
                                : QStringLiteral("color: #a05000;"));
  Feedback->setAccessibleName(Feedback->text());
  ShowBubble(right, near);
  if (right || !Combobox1->isVisible()) return;
  // Long and wide enough to be seen from a child's distance: half a second,
  // a few swings that die down.
  delete Combobox1->findChild<QPropertyAnimation*>(QStringLiteral("Shake"));
  auto* shake = new QPropertyAnimation(Combobox1, "pos", Combobox1);
  shake->setObjectName(QStringLiteral("Shake"));
  const QPoint at = Combobox1->pos();
  const int swing = scale_.Px(kShakePixels);
  shake->setDuration(kShakeMs);
  const double steps[] = {0, -1, 1, -0.8, 0.8, -0.5, 0.5, -0.2, 0};
  const int count = static_cast<int>(std::size(steps));
  for (int k = 0; k < count; ++k) {
    shake->setKeyValueAt(static_cast<double>(k) / (count - 1),
                         at + QPoint(static_cast<int>(steps[k] * swing), 0));
  }
  shake->start(QAbstractAnimation::DeleteWhenStopped);
}

// The status line's words in large type next to `near` (the list, or the
// solved picture's place), inside the board; a right pick's words fade
// after a moment, a wrong pick's stay until the next pick or closing.
void TForm1::ShowBubble(bool right, const QRect& near) {
  QFont font = baseFont_;
  font.setPixelSize(scale_.Px(kBubbleFontPixels));
  font.setBold(true);
  Bubble->setFont(font);
  Bubble->setText(Feedback->text());
  Bubble->setAccessibleName(Feedback->text());
  Bubble->setStyleSheet(right ? QStringLiteral("background: #e4f6e4; color: #1b6a1b; "
                                               "border: 2px solid #5aaa5a; border-radius: 6px; "
                                               "padding: 4px 8px;")
                              : QStringLiteral("background: #fff0e0; color: #8a4000; "
                                               "border: 2px solid #e08a30; border-radius: 6px; "
                                               "padding: 4px 8px;"));
  Bubble->adjustSize();
  const QRect area = Board->rect();
  const QSize size = Bubble->size();
  const int gap = scale_.Px(4);
  QPoint at;
  if (right) {
    // Centred on the picture's place, which is empty now.
    at = near.center() - QPoint(size.width() / 2, size.height() / 2);
  } else if (near.right() + gap + size.width() <= area.right()) {
    at = QPoint(near.right() + gap, near.top());
  } else if (near.left() - gap - size.width() >= 0) {
    at = QPoint(near.left() - gap - size.width(), near.top());
  } else {
    at = QPoint(near.left(), near.bottom() + gap);
  }
  at.setX(std::clamp(at.x(), 0, std::max(0, area.width() - size.width())));
  at.setY(std::clamp(at.y(), 0, std::max(0, area.height() - size.height())));
  Bubble->move(at);
  Bubble->show();
  Bubble->raise();
  if (right) {
    bubbleTimer_->start(kRightBubbleMs);
  } else {
    bubbleTimer_->stop();
  }
}

void TForm1::VorlesenClick(bool on) {
  Vorlesen1->setChecked(on);
  WortVorlesen1->setEnabled(on);
  if (settings_ != nullptr) settings_->setValue(kReadAloudKey, on);
  if (on && speaker_ != nullptr) speaker_->Prepare();
}

// A word can be heard before it is picked: the one the keys move to (arrows
// or typed letters), and the one the pointer rests on for a moment; a click
// picks, so the mouse cannot ask otherwise.
void TForm1::ReadChosenWord(const QListWidgetItem* entry) {
  if (speaker_ == nullptr || !Vorlesen1->isChecked() || !Combobox1->isVisible() ||
      entry == nullptr || checking_) {
    return;
  }
  speaker_->Speak(entry->text(), WordLocale(CurrentLanguage));
}

bool TForm1::HoverReadPending() const {
  return hoverTimer_->isActive();
}

void TForm1::ReadHoveredWord() {
  hoverTimer_->stop();
  if (!hovered_.isValid()) return;
  ReadChosenWord(Combobox1->item(hovered_.row()));
}

void TForm1::WortVorlesenClick() {
  if (speaker_ == nullptr || !Vorlesen1->isChecked() || !Combobox1->isVisible()) return;
  const QListWidgetItem* entry = Combobox1->currentItem();
  if (entry == nullptr || !entry->isSelected()) return;
  speaker_->Speak(entry->text(), WordLocale(CurrentLanguage));
}

void TForm1::ChooseGameSize(int pictures) {
  gameSize_ = pictures;
  for (size_t k = 0; k < kGameSizes.size(); ++k) {
    GameSizeItems[k]->setChecked(kGameSizes[k] == pictures);
  }
  if (settings_ != nullptr) settings_->setValue(kGameSizeKey, pictures);
  StartGame(CurrentLanguage);
}

// Wide enough for the longest word of the list without eliding, with room
// for the scroll bar, and kListRows rows high.
void TForm1::FitWordList() {
  const QFontMetrics metrics(Combobox1->font());
  int widest = metrics.horizontalAdvance(QStringLiteral("Wort"));
  for (int row = 0; row < Combobox1->count(); ++row) {
    widest = std::max(widest, metrics.horizontalAdvance(Combobox1->item(row)->text()));
  }
  // The style's text margin on either side of an item, plus a pixel of air.
  const int margin =
      Combobox1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, Combobox1) + 2;
  const int frame = 2 * Combobox1->frameWidth();
  const int scrollBar = Combobox1->verticalScrollBar()->sizeHint().width();
  const int rowHeight =
      Combobox1->count() > 0 ? Combobox1->sizeHintForRow(0) : metrics.height() + 2;
  Combobox1->resize(widest + 2 * margin + frame + scrollBar, kListRows * rowHeight + frame);
}

void TForm1::OpenWordList(TPictureCell* cell, QPoint point) {
  if (cell == nullptr || !cell->isVisible() || !game_) return;
  const QPoint at = cell->pos() + point;
  const QSize size = Combobox1->size();
  const QRect area = Board->rect();
  // Right of and below the point where it fits, else left of or above it,
  // and never beyond the window's edges.
  int x = at.x() + size.width() <= area.right() + 1 ? at.x() : at.x() - size.width();
  int y = at.y() + size.height() <= area.bottom() + 1 ? at.y() : at.y() - size.height();
  x = std::clamp(x, 0, std::max(0, area.width() - size.width()));
  y = std::clamp(y, 0, std::max(0, area.height() - size.height()));
  Combobox1->move(x, y);
  Combobox1->show();
  Combobox1->raise();
  // So that arrows, typing and Enter work at once.
  Combobox1->setFocus(Qt::OtherFocusReason);
  // Taking the focus makes the first row current without selecting it;
  // then Down or Home would pass over it. With no word chosen yet, no row
  // is current, and the first Down or Home chooses the first word.
  if (Combobox1->selectedItems().isEmpty()) Combobox1->selectionModel()->clearCurrentIndex();
  CurrentCell = cell;
  enterPressedInList_ = false;
  keysMoving_ = false;
  // Each opening is a new search.
  typeAhead_.Clear();
  TypedLetters->hide();
  openedClock_.start();
  openedAt_ = Board->mapToGlobal(at);
}

void TForm1::CloseWordList() {
  const bool hadFocus = Combobox1->hasFocus();
  Combobox1->hide();
  hoverTimer_->stop();
  keysMoving_ = false;
  typeAhead_.Clear();
  TypedLetters->hide();
  if (!bubbleTimer_->isActive()) Bubble->hide();  // a wrong pick's words go with the list
  enterPressedInList_ = false;
  if (!hadFocus) return;
  // Keys must not reach a list that is not there: back to the picture, or
  // when it was just solved, on to the next open one.
  TPictureCell* next = CurrentCell == nullptr ? NextOpenCell(0) : NextOpenCell(CurrentCell->Tag);
  if (next != nullptr) {
    next->setFocus(Qt::OtherFocusReason);
  } else {
    Board->setFocus(Qt::OtherFocusReason);
  }
}

// The first click of a double-click opens the list under the pointer; the
// second arrives on the list at about the same spot and is no choice.
bool TForm1::IsSecondClickOfOpening(const QEvent* event) const {
  if (!openedClock_.isValid() || openedClock_.elapsed() > QApplication::doubleClickInterval()) {
    return false;
  }
  const auto* mouse = static_cast<const QMouseEvent*>(event);
  const QPoint distance = mouse->globalPosition().toPoint() - openedAt_;
  return distance.manhattanLength() <= QApplication::startDragDistance();
}

void TForm1::FormMouseDown(TPictureCell* cell, Qt::MouseButton, Qt::KeyboardModifiers, int x,
                           int y) {
  OpenWordList(cell, QPoint(x, y));
}

void TForm1::ComboBox1Click() {
  // A hidden list is inert.
  if (!Combobox1->isVisible()) return;
  // Taking a solved word out moves the list's current entry, which is no
  // choice to be read.
  const QScopedValueRollback<bool> checking(checking_, true);
  QListWidgetItem* entry = Combobox1->currentItem();
  // Nothing selected, or no picture clicked yet: there is nothing to check.
  if (entry == nullptr || !entry->isSelected() || CurrentCell == nullptr || !game_) return;
  const QString word = entry->text();
  if (game_->Check(entry->data(kListRole).toInt(), CurrentCell->Tag)) {
    delete Combobox1->takeItem(Combobox1->row(entry));
    // Taking the entry moves the selection to its neighbour, which would
    // look like a hint and be checked by a bare Enter.
    Combobox1->setCurrentItem(nullptr);
    Combobox1->clearSelection();
    CurrentCell->setAccessibleDescription(tr("gelöst"));
    CurrentCell->hide();
    const QRect solvedAt = CurrentCell->geometry();
    CloseWordList();
    CurrentCell = nullptr;
    ShowFeedback(true, word, solvedAt);
    ShowProgress();
    if (speaker_ != nullptr && Vorlesen1->isChecked()) {
      speaker_->Speak(word, WordLocale(CurrentLanguage));
    }
  } else {
    ShowFeedback(false, word, Combobox1->geometry());
  }
  if (Combobox1->count() > 0) return;
  const zelv::DialogButton answer = dialogs_.Message(
      this, tr("Bravo!"), tr("Bravo! Du hast alles geschafft!\r\nWillst Du noch einmal spielen ?"),
      zelv::DialogIcon::Question,
      {zelv::DialogButton::Yes, zelv::DialogButton::No, zelv::DialogButton::Cancel});
  if (answer == zelv::DialogButton::Yes) {
    StartGame(CurrentLanguage);
  } else if (answer == zelv::DialogButton::No) {
    EndProgram();
  } else {
    // The board stays empty, as chosen; it says how to go on.
    ShowEmptyBoardHint();
  }
}

void TForm1::ShowEmptyBoardHint() {
  Bubble->hide();
  QFont font = baseFont_;
  font.setPixelSize(scale_.Px(kHintFontPixels));
  EmptyBoardHint->setFont(font);
  EmptyBoardHint->setText(
      tr("Alle Bilder geschafft!\nEin neues Spiel beginnt mit \u201E"
         "Datei \u2192 Neu\u201C oder "
         "mit F6."));
  EmptyBoardHint->setAccessibleName(EmptyBoardHint->text());
  EmptyBoardHint->adjustSize();
  PlaceEmptyBoardHint();
  EmptyBoardHint->show();
  EmptyBoardHint->raise();
}

// In the middle of what the window shows of the board.
void TForm1::PlaceEmptyBoardHint() {
  const QRect area = Board->rect();
  EmptyBoardHint->move(std::max(0, area.center().x() - EmptyBoardHint->width() / 2),
                       std::max(0, area.center().y() - EmptyBoardHint->height() / 2));
}

bool TForm1::TypeLetter(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) {
    typeAhead_.Backspace();
  } else {
    const QString text = key.text();
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
        text.isEmpty() || !text.front().isPrint()) {
      return false;
    }
    typeAhead_.Type(text);
  }
  QStringList words;
  for (int row = 0; row < Combobox1->count(); ++row) words << Combobox1->item(row)->text();
  const int row = TypeAhead::Find(words, typeAhead_.Letters());
  if (row >= 0) {
    Combobox1->setCurrentRow(row);
    Combobox1->scrollToItem(Combobox1->item(row));
  }
  ShowTypedLetters(row >= 0);
  return true;
}

// Above the list, or below it where the board ends, in the list's type:
// the child sees what was typed and whether a word begins so.
void TForm1::ShowTypedLetters(bool found) {
  const QString& letters = typeAhead_.Letters();
  if (letters.isEmpty()) {
    TypedLetters->hide();
    return;
  }
  QFont font = Combobox1->font();
  font.setBold(true);
  TypedLetters->setFont(font);
  TypedLetters->setText(letters);
  TypedLetters->setAccessibleName(found ? tr("Getippt: %1").arg(letters)
                                        : tr("Getippt: %1, kein Wort fängt so an").arg(letters));
  TypedLetters->setStyleSheet(found
                                  ? QStringLiteral("background: #fff6c0; color: #1a3a8a; "
                                                   "border: 1px solid #c0a000; padding: 1px 4px;")
                                  : QStringLiteral("background: #ffe0d0; color: #a03000; "
                                                   "border: 1px solid #d06000; padding: 1px 4px;"));
  TypedLetters->adjustSize();
  const QRect list = Combobox1->geometry();
  int y = list.top() - TypedLetters->height();
  if (y < 0) y = list.bottom() + 1;
  const int x = std::clamp(list.left(), 0, std::max(0, Board->width() - TypedLetters->width()));
  TypedLetters->move(x, y);
  TypedLetters->show();
  TypedLetters->raise();
}

// A mouse click on an entry checks it. While a key is held, keyboard moves
// through the list check nothing; the key's release attaches the check
// again, and Enter checks the entry the keys selected.
void TForm1::AttachCheck() {
  if (check_) return;
  check_ = connect(Combobox1, &QListWidget::itemClicked, this, [this] { ComboBox1Click(); });
}

void TForm1::DetachCheck() {
  if (check_) disconnect(check_);
  check_ = {};
}

void TForm1::Combobox1KeyDown(int, Qt::KeyboardModifiers) {
  DetachCheck();
  keysMoving_ = true;
}

void TForm1::Combobox1KeyUp(int key, Qt::KeyboardModifiers) {
  AttachCheck();
  keysMoving_ = false;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) ComboBox1Click();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == Combobox1 && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
    if (Combobox1->isHidden()) return true;  // a hidden list is inert
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (type == QEvent::KeyPress) {
      // Tab leaves the list only by closing it: no list stays open without
      // the keys.
      if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab ||
          key->key() == Qt::Key_Backtab) {
        CloseWordList();
        return true;
      }
      if (enter) enterPressedInList_ = true;
      Combobox1KeyDown(key->key(), key->modifiers());
      // The list's own search forgets a letter after a fraction of a
      // second; this one waits for a slow typist.
      if (TypeLetter(*key)) return true;
    } else if (!key->isAutoRepeat()) {
      // A held key repeats its press, not its release: Enter held down
      // checks once.
      if (enter && !enterPressedInList_) {
        AttachCheck();
        return true;
      }
      enterPressedInList_ = false;
      Combobox1KeyUp(key->key(), key->modifiers());
    }
  } else if (watched == Combobox1->viewport() && type == QEvent::Leave) {
    hoverTimer_->stop();
    hovered_ = QPersistentModelIndex();
  } else if (watched == Combobox1->viewport() &&
             (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
              type == QEvent::MouseButtonDblClick)) {
    if (IsSecondClickOfOpening(event)) return true;
  } else if (watched == Board && type == QEvent::MouseButtonPress) {
    // A click beside the pictures and the list closes the list.
    CloseWordList();
  } else if (watched == Board && type == QEvent::Resize && EmptyBoardHint->isVisible()) {
    PlaceEmptyBoardHint();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::Deutsch1Click(QAction* item) {
  if (!item->isChecked()) {
    Deutsch1->setChecked(!Deutsch1->isChecked());
    English1->setChecked(!English1->isChecked());
  }
  CurrentLanguage = Deutsch1->isChecked() ? Language::German : Language::English;
  if (settings_ != nullptr) settings_->setValue(kWordLanguageKey, LanguageCode(CurrentLanguage));
  StartGame(CurrentLanguage);
}

// The language chosen last; at the very first start the interface's: an
// English-speaking child gets English words at once. Each interface
// catalogue names the word language that goes with it.
Language TForm1::StartLanguage() const {
  const QString interface =
      tr("de", "the word language at the first start: de (German words) or en (English words)");
  QString code = interface;
  if (settings_ != nullptr) code = settings_->value(kWordLanguageKey, interface).toString();
  return code == LanguageCode(Language::English) ? Language::English : Language::German;
}

void TForm1::Neu1Click() {
  StartGame(CurrentLanguage);
}

void TForm1::Beenden1Click() {
  EndProgram();
}

void TForm1::Hilfe2Click() {
  library_.Hilfe();
}

void TForm1::Info1Click() {
  library_.ShowAbout(windowIcon());
}

void TForm1::EndProgram() {
  ended_ = true;
  emit ProgramEnded();
  close();
}

// The library first: the cells hold their own copies of the pictures.
void TForm1::FormDestroy() {
  library_.Release();
  CurrentCell = nullptr;
  for (TPictureCell*& cell : PictureCells) {
    delete cell;
    cell = nullptr;
  }
  game_.reset();
}

}  // namespace bildwort
