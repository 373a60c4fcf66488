// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <cmath>

#include "engine/random.h"
#include "history.h"
#include "program_identity.h"
#include "spoken_task.h"
#include "status_row.h"
#include "task_templates.h"
#include "zelvlib/cp1252.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/font_fitting.h"

namespace numora {
namespace {

// Client area and control geometry, in pixels.
constexpr int kClientWidth = 421;
constexpr int kClientHeight = 204;
constexpr QRect kPanelRect(0, 0, 421, 126);
constexpr QRect kProgressRect(0, 126, 421, 21);
constexpr int kStatusRowHeight = 19;
constexpr std::array<int, 3> kStatusRowTops = {147, 166, 185};
constexpr int kFontCellHeight = 15;
constexpr int kAnswerMaxLength = 255;
constexpr int kClockInterval = 1000;

const std::vector<int>& StatusCellWidths() {
  static const std::vector<int> widths = {120, 100, 100, 100};
  return widths;
}

// The operators a long task caption may break after.
const QString kBreakAfter = QStringLiteral("+-*/:^");

// The edges of the status cells (0, 120, 220, ...) scaled, then turned back
// into widths: neighbouring cells keep touching at every zoom.
std::vector<int> ScaledWidths(const std::vector<int>& widths, const zelv::Scale& scale) {
  std::vector<int> scaled;
  int edge = 0;
  for (int width : widths) {
    scaled.push_back(scale.Px(edge + width) - scale.Px(edge));
    edge += width;
  }
  return scaled;
}

}  // namespace

TAufgabe::TAufgabe(int column, int row, QWidget* parent)
    : QPushButton(parent), Column(column), Row(row) {
  setAccessibleDescription(tr("Rechenaufgabe; Eingabetaste öffnet das Eingabefeld"));
}

void TAufgabe::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        event->accept();
        click();
        return;
      case Qt::Key_Left:
        emit FocusMoveRequested(-1, 0);
        return;
      case Qt::Key_Right:
        emit FocusMoveRequested(1, 0);
        return;
      case Qt::Key_Up:
        emit FocusMoveRequested(0, -1);
        return;
      case Qt::Key_Down:
        emit FocusMoveRequested(0, 1);
        return;
      default:
        break;
    }
  }
  QPushButton::keyPressEvent(event);
}

void TAufgabe::SetTaskText(const QString& text) {
  taskText_ = text;
  FitCaption();
  setAccessibleName(SpokenTask(text));
}

void TAufgabe::FitCaption() {
  // Room for the button's frame and a little air on all sides.
  const int sideRoom = std::max(2, width() / 10);
  const int topRoom = std::max(1, height() / 20);
  const QSize room(width() - 2 * sideRoom, height() - 2 * topRoom);
  setFont(QFont());  // back to the window's font
  QString caption = zelv::BreakIntoTwoLines(font(), taskText_, room.width(), kBreakAfter);
  if (caption.contains(u'\n') && 2 * QFontMetrics(font()).height() > room.height()) {
    caption = taskText_;  // two lines would not fit: one smaller line instead
  }
  const QFont fitted = zelv::FontFitting(font(), caption, room);
  if (fitted != font()) setFont(fitted);
  setText(caption);
}

TForm1::TForm1(zelv::UserDialogs& dialogs, QWidget* parent, std::optional<std::uint32_t> seed)
    : QMainWindow(parent, Qt::MSWindowsFixedSizeDialogHint), dialogs_(dialogs) {
  ParserDeclarations1.SetVarNames({"t", "x", "y", "z"});
  TermParser1.SetDeclarations(&ParserDeclarations1);

  setWindowTitle(ApplicationTitle());
  setWindowIcon(QApplication::windowIcon());
  BuildMenu();
  BuildControls();
  BuildTaskButtons();

  // Each run deals different tasks.
  if (seed) {
    engine::SetRandomSeed(*seed);
  } else {
    engine::Randomize();
  }
  game_ = std::make_unique<TrainerGame>(LoadShippedTemplates(), TermParser1);
  ApplyScale(zelv::Scale());
  ShowRound();

  Timer1.setInterval(kClockInterval);
  connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  // A fixed single border, centred on the screen.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  CentreOnScreen();
}

void TForm1::CentreOnScreen() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TForm1::ApplyScale(zelv::Scale scale) {
  scale_ = scale;
  // Menus are windows of their own: they follow the application's font.
  setFont(scale.Font(SansSerifFont(kFontCellHeight)));
  centralWidget()->setFixedSize(scale.Size(QSize(kClientWidth, kClientHeight)));
  Panel1->setGeometry(scale.Rect(kPanelRect));
  ProgressBar1->setGeometry(scale.Rect(kProgressRect));
  const std::vector<int> widths = ScaledWidths(StatusCellWidths(), scale);
  for (std::size_t i = 0; i < kStatusRowTops.size(); ++i) {
    const QRect place = scale.Rect(QRect(0, kStatusRowTops[i], 1, kStatusRowHeight));
    StatusRow* row = i == 0 ? StatusBar1 : i == 1 ? StatusBar2 : StatusBar3;
    row->SetLayout(widths, place.height());
    row->move(place.topLeft());
  }
  // The panel is divided evenly; the remainder pixels stay on the right and
  // at the bottom.
  const int width = Panel1->width() / kTaskColumns;
  const int height = Panel1->height() / kTaskRows;
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      TAufgabe* task = Task(column, row);
      task->setGeometry(column * width, row * height, width, height);
      task->FitCaption();
    }
  }
  if (isVisible()) {
    adjustSize();
    CentreOnScreen();
  }
}

void TForm1::AttachZoom(zelv::ZoomControl& zoom) {
  //: The menu of the zoom levels.
  QMenu* view = new QMenu(tr("&Ansicht"), this);
  menuBar()->insertMenu(helpMenu_->menuAction(), view);
  addActions(zoom.FillMenu(*view));
  ApplyScale(zoom.CurrentScale());
}

void TForm1::AddMenuGroup(MenuPlace place, const QList<QAction*>& actions) {
  if (place == MenuPlace::File) {
    FileMenu->insertActions(Exit1, actions);
    FileMenu->insertSeparator(Exit1);
  } else {
    OptionsMenu->insertActions(Historie1, actions);
  }
  addActions(actions);
}

TForm1::~TForm1() = default;

void TForm1::ShowStoreSign(const QString& text, const QString& description) {
  if (!storeSign_) {
    // In the menu bar's corner: the 421 x 204 layout below stays as it is.
    storeSign_ = new QLabel(menuBar());
    storeSign_->setObjectName(QStringLiteral("StoreSign"));
    storeSign_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    menuBar()->setCornerWidget(storeSign_, Qt::TopRightCorner);
  }
  storeSign_->setText(text);
  storeSign_->setAccessibleName(text);
  storeSign_->setAccessibleDescription(description);
  storeSign_->setToolTip(description);
  storeSign_->setVisible(!text.isEmpty());
  menuBar()->adjustSize();
}

QString TForm1::StoreSignText() const {
  return storeSign_ && !storeSign_->isHidden() ? storeSign_->text() : QString();
}

void TForm1::BuildMenu() {
  QMenu* file = menuBar()->addMenu(tr("&Datei"));
  FileMenu = file;
  New1 = file->addAction(tr("&Neu"), this, &TForm1::New1Click);
  New1->setShortcut(Qt::Key_F6);
  Exit1 = file->addAction(tr("Be&enden"), this, &TForm1::Exit1Click);

  QMenu* options = menuBar()->addMenu(tr("&Optionen"));
  OptionsMenu = options;
  Schwierigkeitsstufe1 = options->addMenu(tr("&Schwierigkeitsstufe"));
  connect(Schwierigkeitsstufe1, &QMenu::aboutToShow, this, &TForm1::Schwierigkeitsstufe1Click);
  constexpr std::array<Qt::Key, kLevelCount> keys = {Qt::Key_F7, Qt::Key_F8, Qt::Key_F9};
  // One of three: radio marks, not check boxes.
  auto* levels = new QActionGroup(Schwierigkeitsstufe1);
  levels->setExclusive(true);
  for (int level = 0; level < kLevelCount; ++level) {
    QAction* item = Schwierigkeitsstufe1->addAction(LevelText(static_cast<TLevel>(level)), this,
                                                    &TForm1::diffClick);
    item->setData(level);
    item->setCheckable(true);
    item->setActionGroup(levels);
    item->setShortcut(keys[level]);
    LevelItems[static_cast<std::size_t>(level)] = item;
  }
  options->addSeparator();
  Historie1 = options->addAction(tr("&Verlauf"), this, &TForm1::Historie1Click);

  QMenu* help = menuBar()->addMenu(tr("&Hilfe"));
  helpMenu_ = help;
  Info1 = help->addAction(tr("&Info"), this, &TForm1::Info1Click);
  IntoberTTermParser1 =
      help->addAction(tr("Info über TTerm&Parser"), this, &TForm1::IntoberTTermParser1Click);
  help->addSeparator();
  //: The menu item that shows the help document (F1).
  Hilfe1 = help->addAction(tr("Hilfe"), this, &TForm1::Hilfe1Click);
  Hilfe1->setShortcut(Qt::Key_F1);

  // The shortcuts work whether or not a menu has ever been opened.
  addActions({New1, LevelItems[0], LevelItems[1], LevelItems[2], Hilfe1});
}

void TForm1::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  Panel1 = new QFrame(client);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setAccessibleName(tr("Aufgaben"));

  ProgressBar1 = new QProgressBar(client);
  ProgressBar1->setRange(0, kTasksPerRound);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setAccessibleDescription(tr("Fortschritt der Runde"));

  const QString valueHeadings[] = {tr("Punkte:"), tr("Fehler:"), tr("Sekunden:")};
  const QString rowHeadings[] = {QString(), tr("Diese Runde:"), tr("Gesamt:")};
  std::array<StatusRow*, 3> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i] = new StatusRow(StatusCellWidths(), kStatusRowHeight, client);
    rows[i]->SetCellText(0, rowHeadings[i]);
    // Until the first tick the value cells repeat the headings.
    for (int cell = 1; cell <= 3; ++cell) rows[i]->SetCellText(cell, valueHeadings[cell - 1]);
  }
  StatusBar1 = rows[0];
  StatusBar2 = rows[1];
  StatusBar3 = rows[2];
  StatusBar1->SetOwnerDrawn(
      0, [this](StatusRow& sender, QPainter& painter, int cell, const QRect& rect) {
        StatusBar1DrawPanel(sender, painter, cell, rect);
      });
}

void TForm1::BuildTaskButtons() {
  // Placed by ApplyScale.
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      auto* task = new TAufgabe(column, row, Panel1);
      task->setFocusPolicy(Qt::StrongFocus);
      connect(task, &QPushButton::clicked, this, &TForm1::ButtonClick);
      connect(task, &TAufgabe::FocusMoveRequested, this,
              [this, task](int columns, int rows) { MoveTaskFocus(*task, columns, rows); });
      Tasks[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = task;
    }
  }
}

void TForm1::MoveTaskFocus(const TAufgabe& from, int columns, int rows) {
  const auto open = [this](int column, int row) { return game_->Task(column, row).Open; };
  TAufgabe* target = nullptr;
  if (rows == 0) {
    // Reading order: past the end of a row into the next one, and back.
    int index = from.Row * kTaskColumns + from.Column;
    for (index += columns; index >= 0 && index < kTaskColumns * kTaskRows; index += columns) {
      if (open(index % kTaskColumns, index / kTaskColumns)) {
        target = Task(index % kTaskColumns, index / kTaskColumns);
        break;
      }
    }
  } else {
    // The nearest open task of the next row that has one, leftmost on a tie.
    for (int row = from.Row + rows; row >= 0 && row < kTaskRows && !target; row += rows) {
      for (int distance = 0; distance < kTaskColumns && !target; ++distance) {
        for (int column : {from.Column - distance, from.Column + distance}) {
          if (column >= 0 && column < kTaskColumns && open(column, row)) {
            target = Task(column, row);
            break;
          }
        }
      }
    }
  }
  if (target) target->setFocus(Qt::TabFocusReason);
}

TAufgabe* TForm1::Task(int column, int row) const {
  return Tasks.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

void TForm1::ShowRound() {
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      const TaskSlot& slot = game_->Task(column, row);
      TAufgabe* task = Task(column, row);
      task->Expected = slot.Expected;
      task->SetTaskText(zelv::FromWindows1252(slot.Text));
      task->setVisible(slot.Open);
    }
  }
  ProgressBar1->setValue(0);
  StatusBar1->update();
  StatusBar1->setAccessibleName(RoundCellText());
  UpdateSpokenCounts(false);
}

QString TForm1::ProgressText() const {
  return tr("%1 von %2 Aufgaben gelöst").arg(ProgressBar1->value()).arg(kTasksPerRound);
}

namespace {

QString SpokenCounts(const QString& heading, const TGameParams& counts) {
  const QString points =
      counts.Points == 1 ? TForm1::tr("1 Punkt") : TForm1::tr("%1 Punkte").arg(counts.Points);
  const QString errors =
      counts.Errors == 1 ? TForm1::tr("1 Fehler") : TForm1::tr("%1 Fehler").arg(counts.Errors);
  const QString seconds =
      counts.Seconds == 1 ? TForm1::tr("1 Sekunde") : TForm1::tr("%1 Sekunden").arg(counts.Seconds);
  //: A status row read aloud: its heading, then points, errors, seconds.
  return TForm1::tr("%1 %2, %3, %4").arg(heading, points, errors, seconds);
}

}  // namespace

QString TForm1::RoundCountsText() const {
  return SpokenCounts(StatusBar2->CellText(0), game_->CurrentRound());
}

QString TForm1::TotalCountsText() const {
  return SpokenCounts(StatusBar3->CellText(0), game_->Totals());
}

void TForm1::UpdateSpokenCounts(bool announce) {
  StatusBar2->setAccessibleName(RoundCountsText());
  StatusBar3->setAccessibleName(TotalCountsText());
  ProgressBar1->setAccessibleName(ProgressText());
  if (!announce) return;
  // The score changed: the round's row tells it, as a status change would.
  QAccessibleEvent alert(StatusBar2, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

void TForm1::ButtonClick() {
  if (auto* task = qobject_cast<TAufgabe*>(sender())) AnswerTask(*task);
}

void TForm1::AnswerTask(TAufgabe& task) {
  // The game counts and scores; the window asks and tells.
  if (!game_->Task(task.Column, task.Row).Open) return;
  QString answer;
  AnswerOutcome outcome;
  do {
    if (!dialogs_.InputQuery(this, tr("Bitte das Ergebnis eingeben:"), task.TaskText() + u'=',
                             answer, kAnswerMaxLength)) {
      return;
    }
    outcome = game_->Answer({task.Column, task.Row}, answer);
    if (outcome.Result == AnswerResult::Invalid) {
      UpdateSpokenCounts(true);
      dialogs_.Message(this, ApplicationTitle(), tr("Fehlerhafte Eingabe: %1").arg(answer),
                       zelv::DialogIcon::Error, {zelv::DialogButton::Ok});
      return;
    }
    if (outcome.AskAgain()) UpdateSpokenCounts(true);
  } while (outcome.AskAgain());
  if (!outcome.Scored()) return;

  // The keyboard goes on with the next open task (or the one before it), also
  // where the window is not yet active again when the button hides.
  if (task.hasFocus() || focusWidget() == &task) {
    MoveTaskFocus(task, 1, 0);
    if (focusWidget() == &task) MoveTaskFocus(task, -1, 0);
  }
  task.hide();
  ProgressBar1->setValue(ProgressBar1->value() + 1);
  UpdateSpokenCounts(true);
  if (outcome.Result != AnswerResult::RoundComplete) return;

  dialogs_.Message(this, ApplicationTitle(),
                   tr("Bravo, alle Aufgaben gelöst!\r\nAls Belohnung gibt es %1 Sonderpunkte.")
                       .arg(outcome.SpecialPoints),
                   zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
  game_->NewRound();
  ShowRound();
}

void TForm1::New1Click() {
  game_->NewRound();
  ShowRound();
}

void TForm1::Exit1Click() {
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (!event->isAccepted()) return;
  game_->EndSession();
  emit Closed();
}

void TForm1::Schwierigkeitsstufe1Click() {
  const TLevel level = game_->CurrentRound().Difficulty;
  for (int i = 0; i < kLevelCount; ++i) {
    LevelItems[static_cast<std::size_t>(i)]->setChecked(i == level);
  }
}

void TForm1::diffClick() {
  if (const auto* item = qobject_cast<QAction*>(sender())) {
    ChooseLevel(static_cast<TLevel>(item->data().toInt()));
  }
}

void TForm1::ChooseLevel(TLevel level) {
  game_->SelectLevel(level);
  game_->NewRound();
  ShowRound();
}

void TForm1::PracticeRound(const std::vector<PracticeTask>& tasks) {
  game_->NewPracticeRound(tasks);
  ShowRound();
}

void TForm1::ShowPractisingChild(const QString& name) {
  child_ = name;
  //: The main window's title: the program, then the child who practises.
  setWindowTitle(name.isEmpty() ? ApplicationTitle() : tr("%1 – %2").arg(ApplicationTitle(), name));
  //: What a screen reader says of the main window: who practises.
  setAccessibleDescription(name.isEmpty() ? QString() : tr("Es übt: %1").arg(name));
  QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&changed);
}

void TForm1::StartChildRun(TLevel level) {
  game_->StartRun(level);
  ShowRound();
  // Once the clock runs the cells hold numbers; the previous child's must go
  // at once, not with the next tick.
  if (Timer1.isActive()) ShowCounts();
}

void TForm1::Timer1Timer() {
  game_->Tick();
  ShowCounts();
}

void TForm1::ShowCounts() {
  const TGameParams& round = game_->CurrentRound();
  const TGameParams& totals = game_->Totals();
  StatusBar2->SetCellText(1, QString::number(round.Points));
  StatusBar2->SetCellText(2, QString::number(round.Errors));
  StatusBar2->SetCellText(3, QString::number(round.Seconds));
  StatusBar3->SetCellText(1, QString::number(totals.Points));
  StatusBar3->SetCellText(2, QString::number(totals.Errors));
  StatusBar3->SetCellText(3, QString::number(totals.Seconds));
  UpdateSpokenCounts(false);
}

void TForm1::StatusBar1DrawPanel(StatusRow& sender, QPainter& painter, int cell,
                                 const QRect& rect) {
  if (&sender != StatusBar1 || cell != 0) return;
  painter.fillRect(rect, palette().color(QPalette::Active, QPalette::Highlight));
  QFont bold = font();
  bold.setBold(true);
  // From round 100 on, or with a wide fallback font, the text gets smaller
  // rather than cut off.
  const QString text = RoundCellText();
  painter.setFont(zelv::FontFitting(bold, text, QSize(rect.width(), 0)));
  painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
  painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, text);
}

QString TForm1::RoundCellText() const {
  //: The first status cell: the number of the round, then its level.
  return tr("%1. Runde: %2")
      .arg(game_->Rounds().size())
      .arg(LevelText(game_->CurrentRound().Difficulty));
}

QString LevelText(TLevel level) {
  // The level names are the engine-side texts; their translations live here.
  static const char* const names[] = {QT_TRANSLATE_NOOP("numora::TForm1", "leicht"),
                                      QT_TRANSLATE_NOOP("numora::TForm1", "mittel"),
                                      QT_TRANSLATE_NOOP("numora::TForm1", "schwer")};
  static_assert(std::size(names) == kLevelCount);
  return level < kLevelCount ? TForm1::tr(names[level]) : QString();
}

void TForm1::Historie1Click() {
  emit HistoryRequested(HistoryLines(game_->Rounds(), game_->Totals(), game_->SpecialPoints(),
                                     CurrentHistoryFooter()));
}

void TForm1::Info1Click() {
  emit InfoRequested();
}

void TForm1::IntoberTTermParser1Click() {
  TermParser1.ShowAboutWindow();
}

void TForm1::Hilfe1Click() {
  emit HelpRequested();
}

}  // namespace numora
