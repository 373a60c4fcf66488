// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts of a given character height, and fonts made to fit a box: texts are
// never cut off, and a text that is too long first breaks onto a second line,
// then gets smaller.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

namespace zelv {

// The smallest size a fitted font is made, in pixels.
inline constexpr int kSmallestFittedPixelSize = 7;

// A font of the first available of families whose character (em) height is
// pixelSize pixels.
QFont FontOfCharacterHeight(const QStringList& families, int pixelSize,
                            QFont::StyleHint hint = QFont::SansSerif, bool bold = false);

// font, a pixel smaller at a time (not below minimumPixelSize), until text
// on one line fits into box (a height of 0 leaves the height free); font
// itself when it fits already.
QFont FontFitting(const QFont& font, const QString& text, QSize box,
                  int minimumPixelSize = kSmallestFittedPixelSize);

// The same for text wrapped at word boundaries to the box's width, the lines
// stacked within its height.
QFont FontFittingWrapped(const QFont& font, const QString& text, QSize box,
                         int minimumPixelSize = kSmallestFittedPixelSize);

// text as it best fits into width in font: unchanged when one line fits,
// else broken into two lines (joined by '\n') after the one of breakAfter's
// characters (or a blank) that makes the longer line shortest. Unchanged
// when there is no such place. Two lines may still be too wide; the caller
// then shrinks the font, far less than a single line would need.
QString BreakIntoTwoLines(const QFont& font, const QString& text, int width,
                          const QString& breakAfter = QString());

}  // namespace zelv
