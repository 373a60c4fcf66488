#include "program_icon.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace bildwort {

namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  // Ground: a rounded square in a calm blue.
  QPainterPath ground;
  ground.addRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
  painter.fillPath(ground, QColor(0x2f, 0x6f, 0xb5));
  // Four tiles like cells of the board, each in its own colour.
  const QColor tiles[] = {QColor(0xf2, 0x5c, 0x54), QColor(0xf7, 0xc5, 0x48),
                          QColor(0x6c, 0xc0, 0x5a), QColor(0xff, 0xff, 0xff)};
  const qreal gap = s * 0.06;
  const qreal tile = (s - 3 * gap) / 2;
  for (int i = 0; i < 4; ++i) {
    const QRectF rect(gap + (i % 2) * (tile + gap), gap + (i / 2) * (tile + gap), tile, tile);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tiles[i]);
    painter.drawRoundedRect(rect, s * 0.06, s * 0.06);
  }
  // The letter on the white tile stands for the words.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(qMax(6, static_cast<int>(tile * 0.8)));
  painter.setFont(font);
  painter.setPen(QColor(0x2f, 0x6f, 0xb5));
  painter.drawText(QRectF(gap + tile + gap, gap + tile + gap, tile, tile), Qt::AlignCenter,
                   QStringLiteral("B"));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace bildwort
