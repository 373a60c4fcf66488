// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icon, four rounded tiles with the signs of the four
// basic operations on a pale ground, into numora-<size>.png for each size the
// program ships. The same design is kept as an SVG beside the pictures.
//   numora_make_icon <output folder>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cstdio>

namespace {

struct Tile {
  QColor Colour;
  const char16_t* Sign;
};

// Bright, distinct colours that still read when the icon is tiny.
const std::array<Tile, 4> kTiles = {{{QColor(0xE5, 0x39, 0x35), u"+"},
                                     {QColor(0x1E, 0x88, 0xE5), u"\u2212"},
                                     {QColor(0x43, 0xA0, 0x47), u"\u00D7"},
                                     {QColor(0xFB, 0x8C, 0x00), u"\u00F7"}}};

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);

  // The ground: a cream rounded square with a soft outline.
  painter.setPen(QPen(QColor(0xC8, 0xB8, 0x9A), 1.5));
  painter.setBrush(QColor(0xFF, 0xF5, 0xE1));
  painter.drawRoundedRect(QRectF(1.5, 1.5, 61, 61), 12, 12);

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(24);
  painter.setFont(font);
  for (std::size_t i = 0; i < kTiles.size(); ++i) {
    const QRectF tile(6 + (i % 2) * 27, 6 + (i / 2) * 27, 25, 25);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTiles[i].Colour);
    painter.drawRoundedRect(tile, 6, 6);
    painter.setPen(Qt::white);
    painter.drawText(tile.translated(0, -1), Qt::AlignCenter, QString::fromUtf16(kTiles[i].Sign));
  }
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: numora_make_icon <output folder>\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString path = folder.filePath(QStringLiteral("numora-%1.png").arg(size));
    if (!DrawIcon(size).save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
