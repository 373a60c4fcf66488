// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_renderer.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <algorithm>

namespace zelvpics {

namespace {

const QString kEmojiFamily = QStringLiteral("Noto Color Emoji");
// The font's colour bitmaps are drawn at 109 pixels per em; drawing at that
// size keeps them sharp before the one smooth scaling step.
constexpr int kDrawPixelSize = 109;
constexpr int kCanvas = 160;
constexpr int kMargin = 4;

bool DiffersFromWhite(QRgb pixel) {
  return qAlpha(pixel) > 0 && (qRed(pixel) < 235 || qGreen(pixel) < 235 || qBlue(pixel) < 235);
}

}  // namespace

PictureRenderer::PictureRenderer() {
  if (!QFontDatabase::families().contains(kEmojiFamily)) {
    problem_ = QStringLiteral("the font \"%1\" is not installed (Debian: fonts-noto-color-emoji)")
                   .arg(kEmojiFamily);
    return;
  }
  font_ = QFont(kEmojiFamily);
  font_.setPixelSize(kDrawPixelSize);
  // Never borrow a glyph from another font: a missing emoji must show up as
  // a failure, not as a black-and-white stand-in.
  font_.setStyleStrategy(QFont::NoFontMerging);
  if (QFontInfo(font_).family() != kEmojiFamily) {
    problem_ = QStringLiteral("the font \"%1\" could not be selected").arg(kEmojiFamily);
    return;
  }
  raw_ = QRawFont::fromFont(font_);
  if (!raw_.isValid()) problem_ = QStringLiteral("the font \"%1\" is unusable").arg(kEmojiFamily);
}

bool PictureRenderer::Supports(char32_t emoji) const {
  return IsValid() && raw_.supportsCharacter(static_cast<uint>(emoji));
}

QImage PictureRenderer::Render(char32_t emoji) const {
  QImage canvas(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setFont(font_);
    painter.drawText(canvas.rect(), Qt::AlignCenter, QString::fromUcs4(&emoji, 1));
  }
  // Crop to the drawn part so every thing fills its tile alike.
  int left = kCanvas, top = kCanvas, right = -1, bottom = -1;
  for (int y = 0; y < kCanvas; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < kCanvas; ++x) {
      if (qAlpha(line[x]) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  QImage picture(kPictureSize, kPictureSize, QImage::Format_RGB32);
  picture.fill(Qt::white);
  if (right < 0) return picture;  // nothing drawn; the quality gate reports it
  const QImage drawn = canvas.copy(left, top, right - left + 1, bottom - top + 1)
                           .scaled(kPictureSize - 2 * kMargin, kPictureSize - 2 * kMargin,
                                   Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPainter painter(&picture);
  painter.drawImage((kPictureSize - drawn.width()) / 2, (kPictureSize - drawn.height()) / 2, drawn);
  return picture;
}

bool HasVisibleContent(const QImage& picture) {
  if (picture.isNull()) return false;
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  qsizetype marked = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) marked += DiffersFromWhite(line[x]) ? 1 : 0;
  }
  // A tenth of the tile: even a thin pencil covers more than that.
  return marked * 10 >= static_cast<qsizetype>(image.width()) * image.height();
}

bool HasColour(const QImage& picture) {
  if (picture.isNull()) return false;
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  qsizetype coloured = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = QColor::fromRgb(line[x]);
      coloured += colour.hsvSaturation() > 80 && colour.value() > 60 ? 1 : 0;
    }
  }
  return coloured * 50 >= static_cast<qsizetype>(image.width()) * image.height();
}

QImage ContactSheet(const std::vector<QImage>& pictures, int columns) {
  columns = std::max(columns, 1);
  const int count = static_cast<int>(pictures.size());
  const int rows = std::max((count + columns - 1) / columns, 1);
  const int step = kPictureSize + 1;
  QImage sheet(columns * step - 1, rows * step - 1, QImage::Format_RGB32);
  sheet.fill(QColor(0xd4, 0xd0, 0xc8));
  QPainter painter(&sheet);
  for (int i = 0; i < count; ++i) {
    painter.drawImage((i % columns) * step, (i / columns) * step, pictures[static_cast<size_t>(i)]);
  }
  return sheet;
}

}  // namespace zelvpics
