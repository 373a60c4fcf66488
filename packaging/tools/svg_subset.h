// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the flat SVG icons of the programs with QPainter, so that the PNG
// sizes the desktop wants can be made at build time without an SVG library.
// Only the small subset the icons use is understood; anything else is an
// error rather than silently skipped, so an icon never rasterises wrongly.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace svg_subset {

struct RenderResult {
  QImage image;   // ARGB32 premultiplied, size x size; null on failure
  QString error;  // what was not understood, with the line number
};

// Renders the SVG document square into size x size pixels, scaling its
// viewBox (or width/height) to fit.
RenderResult Render(const QByteArray& svg, int size);

}  // namespace svg_subset
