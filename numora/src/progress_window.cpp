// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_window.h"

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
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "program_identity.h"
#include "progress_report.h"

namespace numora {
namespace {

constexpr QSize kChartMinimum(380, 270);
constexpr QSize kStartSize(1000, 860);

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
  auto* grid = new QGridLayout;
  for (int i = 0; i < kProgressChartCount; ++i) {
    auto* view = new PaintedChartView([this] { emit ChartPainted(); }, content);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(kChartMinimum);
    // Reachable with Tab, so that a screen reader reads its summary.
    view->setFocusPolicy(Qt::TabFocus);
    view->setAccessibleName(ProgressChartTitle(static_cast<ProgressChart>(i)));
    charts_[static_cast<std::size_t>(i)] = view;
    grid->addWidget(view, i / 2, i % 2);
  }
  contentLayout->addLayout(grid, 1);
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

  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(content);

  PrintButton = new QPushButton(tr("&Drucken …"), this);
  CloseButton =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), tr("&Schließen"), this);
  CloseButton->setDefault(true);
  connect(PrintButton, &QPushButton::clicked, this, &ProgressWindow::PrintRequested);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(PrintButton);
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading);
  layout->addLayout(choices);
  layout->addWidget(scroll, 1);
  layout->addLayout(buttons);
  resize(kStartSize);

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
    const QStringList cells = {QString::fromStdString(term.Term), QString::number(term.Expected),
                               QString::number(term.Tasks)};
    for (int column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      MissedTable->setItem(row, column, item);
    }
  }
}

void ProgressWindow::ShowProgress() {
  Refresh();
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
  if (event->type() == QEvent::FontChange && profile_ != 0) ShowStats();
}

}  // namespace numora
