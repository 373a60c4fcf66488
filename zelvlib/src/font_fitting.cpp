// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/font_fitting.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>
#include <algorithm>

namespace zelv {

namespace {

int PixelSizeOf(const QFont& font) {
  return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

// Text with line breaks, each line measured on its own.
QSize TextSize(const QFontMetrics& metrics, const QString& text) {
  const QStringList lines = text.split(u'\n');
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  return {width, metrics.height() * static_cast<int>(lines.size())};
}

template <typename Fits>
QFont ShrinkUntil(const QFont& font, int minimumPixelSize, Fits fits) {
  if (fits(QFontMetrics(font))) return font;
  QFont fitted = font;
  int pixelSize = PixelSizeOf(font);
  while (pixelSize > minimumPixelSize) {
    fitted.setPixelSize(--pixelSize);
    if (fits(QFontMetrics(fitted))) break;
  }
  return fitted;
}

}  // namespace

QFont FontOfCharacterHeight(const QStringList& families, int pixelSize, QFont::StyleHint hint,
                            bool bold) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  if (hint == QFont::Monospace || hint == QFont::TypeWriter) font.setFixedPitch(true);
  font.setBold(bold);
  font.setPixelSize(std::max(1, pixelSize));
  return font;
}

QFont FontFitting(const QFont& font, const QString& text, QSize box, int minimumPixelSize) {
  return ShrinkUntil(font, minimumPixelSize, [&](const QFontMetrics& metrics) {
    const QSize size = TextSize(metrics, text);
    return size.width() <= box.width() && (box.height() <= 0 || size.height() <= box.height());
  });
}

QFont FontFittingWrapped(const QFont& font, const QString& text, QSize box, int minimumPixelSize) {
  return ShrinkUntil(font, minimumPixelSize, [&](const QFontMetrics& metrics) {
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::TextWordWrap, text);
    return bounds.width() <= box.width() && bounds.height() <= box.height();
  });
}

QString BreakIntoTwoLines(const QFont& font, const QString& text, int width,
                          const QString& breakAfter) {
  const QFontMetrics metrics(font);
  if (metrics.horizontalAdvance(text) <= width) return text;
  int bestLonger = -1;
  qsizetype bestCut = -1;
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u' ' && !breakAfter.contains(text[i])) continue;
    const QString first = text.left(i + 1).trimmed();
    const QString second = text.mid(i + 1).trimmed();
    if (first.isEmpty() || second.isEmpty()) continue;
    const int longer =
        std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
    if (bestLonger < 0 || longer < bestLonger) {
      bestLonger = longer;
      bestCut = i + 1;
    }
  }
  if (bestCut < 0) return text;
  return text.left(bestCut).trimmed() + u'\n' + text.mid(bestCut).trimmed();
}

}  // namespace zelv
