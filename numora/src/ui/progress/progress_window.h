// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window ("Fortschritt"): one child's practice over a chosen
// period as charts by day or week, the tasks most often answered wrong and a
// sentence naming the weakest kind of task; it also prints the same as a
// one-page report. It reads the store anew on every opening and every change
// of period, and never writes to it.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QTimeZone>
#include <array>

#include "progress_charts.h"
#include "progress_stats.h"

class QChartView;
class QComboBox;
class QGridLayout;
class QScrollArea;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;

namespace numora {

class ProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressWindow(ProgressStore& store, QWidget* parent = nullptr);

  // The child whose progress is shown, with the name for the heading.
  void SetProfile(ProfileId profile, const QString& name);
  // The day the period ends with and where days begin; by default the
  // computer's clock and time zone (tests fix both).
  void SetClock(QDateTime now, QTimeZone zone);
  // Reads the store again and redraws everything.
  void Refresh();
  // Shows the window (refreshed) and brings it to the front.
  void ShowProgress();
  // The report of what the window shows, on device.
  bool PrintTo(QPagedPaintDevice& device);

  const ProgressStats& Stats() const { return stats_; }
  QChartView* ChartView(ProgressChart which) const {
    return charts_[static_cast<std::size_t>(which)];
  }

  QLabel* Heading = nullptr;
  QComboBox* PeriodBox = nullptr;
  QComboBox* StepBox = nullptr;
  QLabel* TotalsLabel = nullptr;
  QLabel* WeakestLabel = nullptr;
  QTableWidget* MissedTable = nullptr;
  QPushButton* PrintButton = nullptr;
  QPushButton* CloseButton = nullptr;

 signals:
  // A chart has been painted on the screen (what a measurement waits for).
  void ChartPainted();
  // "Drucken …" was chosen; the owner asks for the printer.
  void PrintRequested();

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ProgressQuery Query() const;
  void PeriodChosen();
  void ShowStats();
  void FillMissedTable();
  QSize ChartMinimum() const;
  void FitToFont();
  void ArrangeCharts();

  ProgressStore& store_;
  ProfileId profile_ = 0;
  QString name_;
  QDateTime now_;
  QTimeZone zone_ = QTimeZone::systemTimeZone();
  ProgressStats stats_;
  std::array<QChartView*, kProgressChartCount> charts_{};
  QGridLayout* chartGrid_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  int columns_ = 0;
  bool shownBefore_ = false;
};

}  // namespace numora
