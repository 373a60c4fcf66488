// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a status bar: cells of fixed widths with sunken frames, each
// holding a text, or drawn by its owner.
#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class QPainter;

namespace numora {

class StatusRow : public QWidget {
  Q_OBJECT

 public:
  // Draws an owner-drawn cell: the row, the painter, the cell index and the
  // cell's inner rectangle.
  using DrawCell = std::function<void(StatusRow&, QPainter&, int, const QRect&)>;

  StatusRow(std::vector<int> cellWidths, int height, QWidget* parent = nullptr);

  int CellCount() const { return static_cast<int>(widths_.size()); }
  QString CellText(int cell) const;
  void SetCellText(int cell, const QString& text);
  // The cell is drawn by the handler instead of showing a text.
  void SetOwnerDrawn(int cell, DrawCell handler);
  // New cell widths and height (the zoom changed); the texts stay.
  void SetLayout(std::vector<int> cellWidths, int height);
  // The inside of a cell's frame, in the row's coordinates.
  QRect CellRect(int cell) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int> widths_;
  QStringList texts_;
  std::vector<DrawCell> ownerDraw_;
};

}  // namespace numora
