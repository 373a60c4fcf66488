// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_report.h"

#include <QChart>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <array>
#include <memory>
#include <numeric>

#include "progress_charts.h"

namespace numora {
namespace {

class ReportTexts {
  Q_DECLARE_TR_FUNCTIONS(numora::ProgressReport)
};

// The page is laid out in units of about a screen pixel (96 per inch) and
// scaled to the device, so that the charts' proportions do not depend on the
// printer's resolution.
constexpr double kUnitsPerInch = 96;
constexpr int kTitlePixels = 22;
constexpr int kTextPixels = 12;
constexpr int kChartTextPixels = 10;
constexpr int kGap = 12;
constexpr int kTextReserve = 140;  // totals, sentence and missed tasks

QFont PixelFont(int pixels, bool bold = false) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// Draws text wrapped into the width from top; returns the bottom.
int DrawParagraph(QPainter& painter, const QFont& font, int top, int width, const QString& text) {
  painter.setFont(font);
  const QRect box(0, top, width, 10000);
  const QRect used =
      painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  return used.bottom() + 1;
}

void DrawChart(QPainter& painter, ProgressChart which, const ProgressStats& stats,
               const QRectF& target) {
  QGraphicsScene scene;
  QChart* chart = MakeProgressChart(which, stats, PixelFont(kChartTextPixels));
  scene.addItem(chart);  // the scene owns and deletes it
  chart->setBackgroundVisible(false);
  chart->setMargins(QMargins(4, 2, 4, 2));
  chart->setGeometry(QRectF(QPointF(0, 0), target.size()));
  // The chart lays itself out when its posted layout request arrives: one
  // that is never shown must be given it before it is painted.
  QCoreApplication::sendPostedEvents();
  scene.setSceneRect(chart->geometry());
  scene.render(&painter, target, scene.sceneRect());
  painter.setPen(QPen(Qt::lightGray, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(target);
}

QString MissedList(const ProgressStats& stats) {
  QStringList lines;
  for (const WrongTerm& term : stats.MostMissed) {
    const QString times = term.Tasks == 1 ? ReportTexts::tr("1-mal falsch")
                                          : ReportTexts::tr("%1-mal falsch").arg(term.Tasks);
    lines << QStringLiteral("%1 = %2 (%3)").arg(term.Term).arg(term.Expected).arg(times);
  }
  return lines.join(QStringLiteral("; "));
}

}  // namespace

bool RenderProgressReport(const ProgressReport& report, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double scale = device.logicalDpiX() / kUnitsPerInch;
  painter.scale(scale, scale);
  const int width = static_cast<int>(device.width() / scale);
  const ProgressStats& stats = report.Stats;

  int y = DrawParagraph(painter, PixelFont(kTitlePixels, true), 0, width,
                        ReportTexts::tr("Lernfortschritt von %1").arg(report.ChildName));
  y += kGap / 2;
  const QString step = stats.Step == ProgressStep::Week ? ReportTexts::tr("nach Wochen")
                                                        : ReportTexts::tr("nach Tagen");
  y = DrawParagraph(painter, PixelFont(kTextPixels), y, width,
                    ReportTexts::tr("Zeitraum: %1 (%2), %3. Gedruckt am %4 mit Numora.")
                        .arg(PeriodName(report.Period), PeriodText(stats), step,
                             report.Printed.toString(ReportTexts::tr("dd.MM.yyyy"))));
  y += kGap;

  // The charts one below the other at the page's full width, which their
  // time axes need; the bars higher, as a chart leaves out a name that is
  // higher than its bar. Shrunk together if the page is short, so that the
  // texts below still fit.
  const int height = static_cast<int>(device.height() / scale);
  const std::array<int, kProgressChartCount> heights = {180, 180, 235, 160};
  const int wanted = std::accumulate(heights.begin(), heights.end(), 0) + 4 * kGap;
  const double fit = std::min(1.0, static_cast<double>(height - y - kTextReserve) / wanted);
  for (int i = 0; i < kProgressChartCount; ++i) {
    const int chartHeight = static_cast<int>(heights[static_cast<std::size_t>(i)] * fit);
    DrawChart(painter, static_cast<ProgressChart>(i), stats, QRectF(0, y, width, chartHeight));
    y += chartHeight + kGap;
  }

  painter.setPen(Qt::black);
  y = DrawParagraph(painter, PixelFont(kTextPixels), y, width,
                    ReportTexts::tr("Insgesamt: %1.").arg(TotalsText(stats)));
  y += kGap / 2;
  y = DrawParagraph(painter, PixelFont(kTextPixels, true), y, width, WeakestKindSentence(stats));
  if (!stats.MostMissed.empty()) {
    y += kGap / 2;
    DrawParagraph(painter, PixelFont(kTextPixels), y, width,
                  ReportTexts::tr("Am häufigsten falsch: %1.").arg(MissedList(stats)));
  }
  return painter.end();
}

}  // namespace numora
