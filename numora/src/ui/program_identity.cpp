// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_identity.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "zelvlib/font_fitting.h"

namespace numora {

QString TitleFromProgramPath(const QString& path) {
  QString name = QFileInfo(path).fileName();
  // The extension starts at the last dot; a leading dot is part of the name.
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot > 0) name.truncate(dot);
  if (name.isEmpty()) return name;
  return name.left(1).toUpper() + name.mid(1).toLower();
}

QString ApplicationTitle() {
  return TitleFromProgramPath(QCoreApplication::applicationFilePath());
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/numora/icons/numora-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

QFont SansSerifFont(int pixelSize) {
  return zelv::FontOfCharacterHeight(
      {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
       QStringLiteral("DejaVu Sans")},
      pixelSize, QFont::SansSerif);
}

QFont FixedPitchFont(int pixelSize) {
  return zelv::FontOfCharacterHeight({QStringLiteral("Fixedsys"), QStringLiteral("Liberation Mono"),
                                      QStringLiteral("DejaVu Sans Mono")},
                                     pixelSize, QFont::Monospace);
}

}  // namespace numora
