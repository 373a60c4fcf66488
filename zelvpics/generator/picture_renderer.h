// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the library's pictures from the system's colour emoji font, so the
// library ships no image files of its own.
#pragma once

#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QString>
#include <vector>

namespace zelvpics {

constexpr int kPictureSize = 64;

class PictureRenderer {
 public:
  // Looks up the colour emoji font through the font database; needs a
  // QGuiApplication.
  PictureRenderer();

  // False when the font is missing; Problem() then says why.
  bool IsValid() const { return problem_.isEmpty(); }
  QString Problem() const { return problem_; }

  bool Supports(char32_t emoji) const;

  // A kPictureSize square picture: the emoji scaled to fit with a small
  // margin, centred on a white ground.
  QImage Render(char32_t emoji) const;

 private:
  QFont font_;
  QRawFont raw_;
  QString problem_;
};

// A quality gate for rendered pictures: true when a clear part of the picture
// differs from the white ground (no blank or near-empty tile).
bool HasVisibleContent(const QImage& picture);

// True when the picture holds clearly coloured pixels, which a fallback to a
// monochrome font or a missing-glyph box would not give.
bool HasColour(const QImage& picture);

// All pictures side by side, `columns` a row, with one-pixel gaps, for a
// person to look over the set.
QImage ContactSheet(const std::vector<QImage>& pictures, int columns);

}  // namespace zelvpics
