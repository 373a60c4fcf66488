#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <cmath>

#include "answer_check.h"
#include "engine/random.h"
#include "history.h"
#include "program_identity.h"
#include "status_row.h"
#include "task_templates.h"
#include "zelvlib/cp1252.h"
#include "zelvlib/dialogs.h"

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

const QString kInputCaption = QStringLiteral("Bitte das Ergebnis eingeben:");

}  // namespace

TAufgabe::TAufgabe(int column, int row, QWidget* parent)
    : QPushButton(parent), Column(column), Row(row) {}

void TAufgabe::SetTaskText(const QString& text) {
  // Room for the button's frame and a little air on both sides.
  constexpr int kSideRoom = 8;
  setFont(QFont());  // back to the window's font
  const QFont fitted = FontFittingWidth(font(), text, width() - 2 * kSideRoom);
  if (fitted != font()) setFont(fitted);
  setText(text);
}

TForm1::TForm1(zelv::UserDialogs& dialogs, QWidget* parent, std::optional<std::uint32_t> seed)
    : QMainWindow(parent, Qt::MSWindowsFixedSizeDialogHint), dialogs_(dialogs) {
  ParserDeclarations1.SetVarNames({"t", "x", "y", "z"});
  TermParser1.SetDeclarations(&ParserDeclarations1);

  setWindowTitle(ApplicationTitle());
  setWindowIcon(QApplication::windowIcon());
  setFont(SansSerifFont(kFontCellHeight));

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
  ShowRound();

  Timer1.setInterval(kClockInterval);
  connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  // A fixed single border, centred on the screen.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  New1 = file->addAction(QStringLiteral("&Neu"), this, &TForm1::New1Click);
  New1->setShortcut(Qt::Key_F6);
  Exit1 = file->addAction(QStringLiteral("Be&enden"), this, &TForm1::Exit1Click);

  QMenu* options = menuBar()->addMenu(QStringLiteral("&Optionen"));
  Schwierigkeitsstufe1 = options->addMenu(QStringLiteral("&Schwierigkeitsstufe"));
  connect(Schwierigkeitsstufe1, &QMenu::aboutToShow, this, &TForm1::Schwierigkeitsstufe1Click);
  constexpr std::array<Qt::Key, kLevelCount> keys = {Qt::Key_F7, Qt::Key_F8, Qt::Key_F9};
  for (int level = 0; level < kLevelCount; ++level) {
    QAction* item = Schwierigkeitsstufe1->addAction(QString::fromLatin1(LevelNames[level]), this,
                                                    &TForm1::diffClick);
    item->setData(level);
    item->setCheckable(true);
    item->setShortcut(keys[level]);
    LevelItems[static_cast<std::size_t>(level)] = item;
  }
  options->addSeparator();
  Historie1 = options->addAction(QStringLiteral("&Verlauf"), this, &TForm1::Historie1Click);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
  Info1 = help->addAction(QStringLiteral("&Info"), this, &TForm1::Info1Click);
  IntoberTTermParser1 = help->addAction(QStringLiteral("Info über TTerm&Parser"), this,
                                        &TForm1::IntoberTTermParser1Click);
  help->addSeparator();
  Hilfe1 = help->addAction(QStringLiteral("Hilfe"), this, &TForm1::Hilfe1Click);
  Hilfe1->setShortcut(Qt::Key_F1);

  // The shortcuts work whether or not a menu has ever been opened.
  addActions({New1, LevelItems[0], LevelItems[1], LevelItems[2], Hilfe1});
}

void TForm1::BuildControls() {
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  Panel1 = new QFrame(client);
  Panel1->setGeometry(kPanelRect);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);

  ProgressBar1 = new QProgressBar(client);
  ProgressBar1->setGeometry(kProgressRect);
  ProgressBar1->setRange(0, kTasksPerRound);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  const QString valueHeadings[] = {QStringLiteral("Punkte:"), QStringLiteral("Fehler:"),
                                   QStringLiteral("Sekunden:")};
  const QString rowHeadings[] = {QString(), QStringLiteral("Diese Runde:"),
                                 QStringLiteral("Gesamt:")};
  std::array<StatusRow*, 3> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i] = new StatusRow(StatusCellWidths(), kStatusRowHeight, client);
    rows[i]->move(0, kStatusRowTops[i]);
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
  // The panel is divided evenly; the remainder pixels stay on the right and at
  // the bottom.
  const int width = Panel1->width() / kTaskColumns;
  const int height = Panel1->height() / kTaskRows;
  for (int row = 0; row < kTaskRows; ++row) {
    for (int column = 0; column < kTaskColumns; ++column) {
      auto* task = new TAufgabe(column, row, Panel1);
      task->setGeometry(column * width, row * height, width, height);
      task->setFocusPolicy(Qt::StrongFocus);
      connect(task, &QPushButton::clicked, this, &TForm1::ButtonClick);
      Tasks[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = task;
    }
  }
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
}

void TForm1::ButtonClick() {
  if (auto* task = qobject_cast<TAufgabe*>(sender())) AnswerTask(*task);
}

void TForm1::AnswerTask(TAufgabe& task) {
  if (!game_->Task(task.Column, task.Row).Open) return;
  QString answer;
  for (;;) {
    if (!dialogs_.InputQuery(this, kInputCaption, task.text() + u'=', answer, kAnswerMaxLength)) {
      return;
    }
    const std::optional<std::int32_t> number = ParseAnswer(answer);
    if (!number) {
      dialogs_.Message(this, ApplicationTitle(), QStringLiteral("Fehlerhafte Eingabe: ") + answer,
                       zelv::DialogIcon::Error, {zelv::DialogButton::Ok});
      game_->CountError();
      return;
    }
    if (game_->IsRightAnswer(task.Column, task.Row, *number)) break;
    game_->CountError();
  }

  task.hide();
  const bool roundComplete = game_->Solve(task.Column, task.Row);
  ProgressBar1->setValue(ProgressBar1->value() + 1);
  if (!roundComplete) return;

  const std::int32_t awarded = game_->AwardSpecialPoints();
  dialogs_.Message(this, ApplicationTitle(),
                   QStringLiteral("Bravo, alle Aufgaben gelöst!\r\nAls Belohnung gibt es %1 "
                                  "Sonderpunkte.")
                       .arg(awarded),
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
  if (event->isAccepted()) emit Closed();
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

void TForm1::Timer1Timer() {
  game_->Tick();
  const TGameParams& round = game_->CurrentRound();
  const TGameParams& totals = game_->Totals();
  StatusBar2->SetCellText(1, QString::number(round.Points));
  StatusBar2->SetCellText(2, QString::number(round.Errors));
  StatusBar2->SetCellText(3, QString::number(round.Seconds));
  StatusBar3->SetCellText(1, QString::number(totals.Points));
  StatusBar3->SetCellText(2, QString::number(totals.Errors));
  StatusBar3->SetCellText(3, QString::number(totals.Seconds));
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
  painter.setFont(FontFittingWidth(bold, text, rect.width()));
  painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
  painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, text);
}

QString TForm1::RoundCellText() const {
  return QString::number(game_->Rounds().size()) + QStringLiteral(". Runde: ") +
         QString::fromLatin1(LevelName(game_->CurrentRound().Difficulty));
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
