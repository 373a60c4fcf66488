// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_icon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace bildwort {

namespace {

// A picture above a line of words on an orange tile, drawn on a 256-unit
// square, the same design as the icon the desktop shows for the program.
QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 256.0, size / 256.0);

  painter.setPen(QPen(QColor(0xc2, 0x66, 0x1a), 6));
  painter.setBrush(QColor(0xee, 0x8a, 0x2a));
  painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(36, 30, 184, 132), 14, 14);
  painter.fillRect(QRectF(48, 42, 160, 108), QColor(0x9f, 0xd3, 0xf5));  // sky
  painter.setBrush(QColor(0xff, 0xc8, 0x3d));
  painter.drawEllipse(QPointF(174, 74), 17, 17);  // sun
  QPainterPath hills;
  hills.moveTo(48, 150);
  for (const QPointF point : {QPointF(48, 132), QPointF(98, 82), QPointF(134, 118),
                              QPointF(158, 96), QPointF(208, 140), QPointF(208, 150)}) {
    hills.lineTo(point);
  }
  hills.closeSubpath();
  painter.fillPath(hills, QColor(0x3f, 0x8a, 0x3a));

  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(36, 176, 184, 50), 14, 14);
  painter.setBrush(QColor(0x2d, 0x3b, 0x4a));  // the words
  for (const QRectF word :
       {QRectF(56, 193, 44, 16), QRectF(108, 193, 64, 16), QRectF(180, 193, 20, 16)}) {
    painter.drawRoundedRect(word, 8, 8);
  }
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace bildwort
