// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: writes one PNG of an icon in one size.
//   icon_raster <icon.svg> <size> <out.png>
#include <QFile>
#include <QString>

#include <cstdio>

#include "svg_subset.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: icon_raster <icon.svg> <size> <out.png>\n");
    return 2;
  }
  const QString input = QString::fromLocal8Bit(argv[1]);
  bool ok = false;
  const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
  if (!ok) {
    std::fprintf(stderr, "icon_raster: not a size: %s\n", argv[2]);
    return 2;
  }
  QFile file(input);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "icon_raster: cannot read %s\n", argv[1]);
    return 1;
  }
  const svg_subset::RenderResult result = svg_subset::Render(file.readAll(), size);
  if (result.image.isNull()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(result.error));
    return 1;
  }
  if (!result.image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "icon_raster: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
