// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "status_row.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace numora {
namespace {

// Room between a cell's frame and its text.
constexpr int kTextInset = 2;
// Gap between neighbouring cells.
constexpr int kCellGap = 2;

// A row is painted by hand, so a screen reader learns nothing from its
// children: it is one status bar whose name is the owner's summary of the
// row, or else its cell texts in order.
class StatusRowAccessible : public QAccessibleWidget {
 public:
  explicit StatusRowAccessible(StatusRow* row) : QAccessibleWidget(row, QAccessible::StatusBar) {}

  QString text(QAccessible::Text type) const override {
    QString text = QAccessibleWidget::text(type);
    if (type == QAccessible::Name && text.isEmpty()) {
      const auto* row = static_cast<const StatusRow*>(widget());
      QStringList cells;
      for (int cell = 0; cell < row->CellCount(); ++cell) {
        if (!row->CellText(cell).isEmpty()) cells << row->CellText(cell);
      }
      text = cells.join(u' ');
    }
    return text;
  }
};

QAccessibleInterface* MakeStatusRowAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(StatusRow::staticMetaObject.className())) {
    if (auto* row = qobject_cast<StatusRow*>(object)) return new StatusRowAccessible(row);
  }
  return nullptr;
}

}  // namespace

StatusRow::StatusRow(std::vector<int> cellWidths, int height, QWidget* parent)
    : QWidget(parent), widths_(std::move(cellWidths)) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(MakeStatusRowAccessible);
    return true;
  }();
  Q_UNUSED(factoryInstalled);
  texts_.resize(static_cast<qsizetype>(widths_.size()));
  ownerDraw_.resize(widths_.size());
  SetLayout(widths_, height);
}

void StatusRow::SetLayout(std::vector<int> cellWidths, int height) {
  // The cell count stays: texts and owner-drawn cells keep their places.
  cellWidths.resize(widths_.size());
  widths_ = std::move(cellWidths);
  int total = 0;
  for (int width : widths_) total += width;
  setFixedSize(total, height);
  update();
}

QString StatusRow::CellText(int cell) const {
  return cell >= 0 && cell < CellCount() ? texts_[cell] : QString();
}

void StatusRow::SetCellText(int cell, const QString& text) {
  if (cell < 0 || cell >= CellCount() || texts_[cell] == text) return;
  texts_[cell] = text;
  update(CellRect(cell));
}

void StatusRow::SetOwnerDrawn(int cell, DrawCell handler) {
  if (cell < 0 || cell >= CellCount()) return;
  ownerDraw_[static_cast<std::size_t>(cell)] = std::move(handler);
  update();
}

QRect StatusRow::CellRect(int cell) const {
  int left = 0;
  for (int i = 0; i < cell && i < CellCount(); ++i) left += widths_[static_cast<std::size_t>(i)];
  const int width = cell >= 0 && cell < CellCount() ? widths_[static_cast<std::size_t>(cell)] : 0;
  // The frame is one pixel wide; the last cell keeps no gap to its right.
  const int gap = cell + 1 < CellCount() ? kCellGap : 0;
  return QRect(left + 1, 1, width - gap - 2, height() - 2);
}

void StatusRow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (int cell = 0; cell < CellCount(); ++cell) {
    const QRect inner = CellRect(cell);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = inner.adjusted(-1, -1, 1, 1);
    frame.lineWidth = 1;
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    frame.frameShape = QFrame::Panel;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    painter.save();
    painter.setClipRect(inner);
    if (const auto& draw = ownerDraw_[static_cast<std::size_t>(cell)]) {
      draw(*this, painter, cell, inner);
    } else {
      painter.setPen(palette().color(QPalette::WindowText));
      painter.drawText(inner.adjusted(kTextInset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       texts_[cell]);
    }
    painter.restore();
  }
}

}  // namespace numora
