// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The printed progress report: one page with the child's name, the period,
// the four charts, the totals, the weakest kind of task and the tasks most
// often missed. It paints on any paged device: the printer the print dialog
// set up, or a PDF file.
#pragma once

#include <QDate>
#include <QString>

#include "progress_stats.h"

class QPagedPaintDevice;

namespace numora {

struct ProgressReport {
  QString ChildName;
  ProgressPeriod Period = ProgressPeriod::FourWeeks;
  ProgressStats Stats;
  QDate Printed;
};

// Paints the report on the device's current page; false when the device
// cannot be painted on (a printer that failed to start, a file not writable).
bool RenderProgressReport(const ProgressReport& report, QPagedPaintDevice& device);

}  // namespace numora
