// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_window.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "program_identity.h"
#include "progress_report.h"

namespace numora {
namespace {

// A chart's smallest size, in lines of the window's text: the charts grow
// with the zoom like the texts in them.
constexpr int kChartLinesWide = 26;
constexpr int kChartLinesHigh = 20;
// The size the window opens with, in lines of text: a chart at a size its
// labels are not cut at, and below them the totals, the sentence and the
// table.
constexpr int kStartChartLinesWide = 36;
constexpr int kStartChartLinesHigh = 22;
constexpr int kStartTextLinesHigh = 18;

// A chart view that says when it has been painted.
class PaintedChartView : public QChartView {
 public:
  PaintedChartView(std::function<void()> painted, QWidget* parent)
      : QChartView(parent), painted_(std::move(painted)) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QChartView::paintEvent(event);
    painted_();
  }

 private:
  std::function<void()> painted_;
};

}  // namespace

ProgressWindow::ProgressWindow(ProgressStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
  setWindowTitle(tr("Numora - Fortschritt"));
  setWindowIcon(QApplication::windowIcon());
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setSizeGripEnabled(true);

  // Sizes in the texts' own markup rather than fonts set on the labels: the
  // labels then follow the zoom with the rest of the window.
  Heading = new QLabel(this);
  Heading->setTextFormat(Qt::RichText);

  PeriodBox = new QComboBox(this);
  for (int p = 0; p < kProgressPeriodCount; ++p) {
    PeriodBox->addItem(PeriodName(static_cast<ProgressPeriod>(p)));
  }
  PeriodBox->setAccessibleName(tr("Zeitraum"));
  auto* periodLabel = new QLabel(tr("&Zeitraum:"), this);
  periodLabel->setBuddy(PeriodBox);
  StepBox = new QComboBox(this);
  StepBox->addItems({tr("nach Tagen"), tr("nach Wochen")});
  StepBox->setAccessibleName(tr("Einteilung"));
  auto* stepLabel = new QLabel(tr("&Einteilung:"), this);
  stepLabel->setBuddy(StepBox);
  auto* choices = new QHBoxLayout;
  choices->addWidget(periodLabel);
  choices->addWidget(PeriodBox);
  choices->addSpacing(16);
  choices->addWidget(stepLabel);
  choices->addWidget(StepBox);
  choices->addStretch();

  auto* content = new QWidget;
  auto* contentLayout = new QVBoxLayout(content);
  chartGrid_ = new QGridLayout;
  for (int i = 0; i < kProgressChartCount; ++i) {
    auto* view = new PaintedChartView([this] { emit ChartPainted(); }, content);
    view->setRenderHint(QPainter::Antialiasing);
    // Reachable with Tab, so that a screen reader reads its summary.
    view->setFocusPolicy(Qt::TabFocus);
    view->setAccessibleName(ProgressChartTitle(static_cast<ProgressChart>(i)));
    charts_[static_cast<std::size_t>(i)] = view;
  }
  contentLayout->addLayout(chartGrid_, 1);
  TotalsLabel = new QLabel(content);
  TotalsLabel->setWordWrap(true);
  TotalsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  WeakestLabel = new QLabel(content);
  WeakestLabel->setWordWrap(true);
  WeakestLabel->setTextFormat(Qt::RichText);
  WeakestLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto* missedLabel = new QLabel(tr("Am häufigsten falsch beantwortet:"), content);
  MissedTable = new QTableWidget(0, 3, content);
  MissedTable->setHorizontalHeaderLabels({tr("Aufgabe"), tr("Ergebnis"), tr("Wie oft falsch")});
  MissedTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  MissedTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  MissedTable->verticalHeader()->setVisible(false);
  MissedTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  MissedTable->setAccessibleName(tr("Am häufigsten falsch beantwortete Aufgaben"));
  MissedTable->setMinimumHeight(160);
  missedLabel->setBuddy(MissedTable);
  contentLayout->addWidget(TotalsLabel);
  contentLayout->addWidget(WeakestLabel);
  contentLayout->addWidget(missedLabel);
  contentLayout->addWidget(MissedTable);

  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidget(content);

  PrintButton = new QPushButton(tr("&Drucken …"), this);
  CloseButton =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), tr("&Schließen"), this);
  CloseButton->setDefault(true);
  connect(PrintButton, &QPushButton::clicked, this, &ProgressWindow::PrintRequested);
  // The same key as in the main window's menu.
  auto* print = new QAction(this);
  print->setShortcut(QKeySequence::Print);
  connect(print, &QAction::triggered, this, &ProgressWindow::PrintRequested);
  addAction(print);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(PrintButton);
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading);
  layout->addLayout(choices);
  layout->addWidget(scroll_, 1);
  scroll_->viewport()->installEventFilter(this);
  layout->addLayout(buttons);
  FitToFont();

  connect(PeriodBox, &QComboBox::activated, this, &ProgressWindow::PeriodChosen);
  connect(StepBox, &QComboBox::activated, this, &ProgressWindow::Refresh);
}

void ProgressWindow::SetProfile(ProfileId profile, const QString& name) {
  profile_ = profile;
  name_ = name;
}

void ProgressWindow::SetClock(QDateTime now, QTimeZone zone) {
  now_ = std::move(now);
  zone_ = std::move(zone);
}

ProgressQuery ProgressWindow::Query() const {
  ProgressQuery query;
  query.Profile = profile_;
  query.Period = static_cast<ProgressPeriod>(PeriodBox->currentIndex());
  query.Step = static_cast<ProgressStep>(StepBox->currentIndex());
  query.Now = now_.isValid() ? now_ : QDateTime::currentDateTime();
  query.Zone = zone_;
  return query;
}

void ProgressWindow::PeriodChosen() {
  // Days for four weeks; longer periods would crowd the charts with days.
  const bool days = PeriodBox->currentIndex() == static_cast<int>(ProgressPeriod::FourWeeks);
  StepBox->setCurrentIndex(static_cast<int>(days ? ProgressStep::Day : ProgressStep::Week));
  Refresh();
}

void ProgressWindow::Refresh() {
  stats_ = ComputeProgress(store_, Query());
  ShowStats();
}

void ProgressWindow::ShowStats() {
  Heading->setText(
      QStringLiteral("<h2>%1</h2>").arg(tr("Fortschritt von %1").arg(name_).toHtmlEscaped()));
  for (int i = 0; i < kProgressChartCount; ++i) {
    const auto which = static_cast<ProgressChart>(i);
    QChartView* view = charts_[static_cast<std::size_t>(i)];
    QChart* old = view->chart();
    view->setChart(MakeProgressChart(which, stats_, font()));
    delete old;  // the view gives up a chart it no longer shows
    view->setAccessibleDescription(ProgressChartSummary(which, stats_));
  }
  TotalsLabel->setText(tr("%1: %2.").arg(PeriodText(stats_), TotalsText(stats_)));
  WeakestLabel->setText(
      QStringLiteral("<b>%1</b>").arg(WeakestKindSentence(stats_).toHtmlEscaped()));
  FillMissedTable();
}

void ProgressWindow::FillMissedTable() {
  MissedTable->setRowCount(static_cast<int>(stats_.MostMissed.size()));
  for (int row = 0; row < MissedTable->rowCount(); ++row) {
    const WrongTerm& term = stats_.MostMissed[static_cast<std::size_t>(row)];
    const QStringList cells = {term.Term, QString::number(term.Expected),
                               QString::number(term.WrongAnswers)};
    for (int column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      MissedTable->setItem(row, column, item);
    }
  }
}

QSize ProgressWindow::ChartMinimum() const {
  const int line = fontMetrics().height();
  return {line * kChartLinesWide, line * kChartLinesHigh};
}

void ProgressWindow::FitToFont() {
  for (QChartView* view : charts_) view->setMinimumSize(ChartMinimum());
  ArrangeCharts();
}

void ProgressWindow::ArrangeCharts() {
  // Two columns while two charts fit side by side, else one below the
  // other (a large zoom on a small screen): the window then scrolls down,
  // never sideways.
  const int spacing = chartGrid_->spacing() > 0 ? chartGrid_->spacing() : 6;
  const int columns = scroll_->viewport()->width() >= 2 * ChartMinimum().width() + spacing ? 2 : 1;
  if (columns == columns_ && chartGrid_->count() == kProgressChartCount) return;
  columns_ = columns;
  for (int i = 0; i < kProgressChartCount; ++i) {
    chartGrid_->removeWidget(charts_[static_cast<std::size_t>(i)]);
    chartGrid_->addWidget(charts_[static_cast<std::size_t>(i)], i / columns, i % columns);
  }
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
  // The width the charts have is the scroll area's, known once it is laid
  // out.
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize) ArrangeCharts();
  return QDialog::eventFilter(watched, event);
}

void ProgressWindow::ShowProgress() {
  Refresh();
  if (!shownBefore_) {
    // Room for two charts side by side and the texts below, within the
    // screen.
    shownBefore_ = true;
    const int line = fontMetrics().height();
    QSize wanted((2 * kStartChartLinesWide + 4) * line,
                 (2 * kStartChartLinesHigh + kStartTextLinesHigh) * line);
    if (const QScreen* where = screen()) {
      wanted = wanted.boundedTo(where->availableGeometry().size() * 9 / 10);
    }
    resize(wanted);
  }
  show();
  raise();
  activateWindow();
}

bool ProgressWindow::PrintTo(QPagedPaintDevice& device) {
  ProgressReport report;
  report.ChildName = name_;
  report.Period = static_cast<ProgressPeriod>(PeriodBox->currentIndex());
  report.Stats = ComputeProgress(store_, Query());
  report.Printed = Query().Now.toTimeZone(zone_).date();
  return RenderProgressReport(report, device);
}

void ProgressWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // The charts take their texts' size from the window: a new zoom redraws
  // them in it.
  if (event->type() != QEvent::FontChange) return;
  FitToFont();
  if (profile_ != 0) ShowStats();
}

}  // namespace numora
