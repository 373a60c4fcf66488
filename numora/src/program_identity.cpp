#include "program_identity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>

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

QFont FontWithFallbacks(const QStringList& families, int cellHeight, QFont::StyleHint hint) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  int pixelSize = cellHeight;
  font.setPixelSize(pixelSize);
  while (pixelSize > 6 && QFontMetrics(font).height() > cellHeight) {
    font.setPixelSize(--pixelSize);
  }
  return font;
}

QFont FontFittingWidth(const QFont& font, const QString& text, int width) {
  constexpr int kSmallestPixelSize = 7;
  if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
  QFont fitted = font;
  int pixelSize = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  do {
    fitted.setPixelSize(--pixelSize);
  } while (pixelSize > kSmallestPixelSize && QFontMetrics(fitted).horizontalAdvance(text) > width);
  return fitted;
}

QFont SansSerifFont(int cellHeight) {
  return FontWithFallbacks({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                            QStringLiteral("DejaVu Sans")},
                           cellHeight, QFont::SansSerif);
}

QFont FixedPitchFont(int pixelSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Fixedsys"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace numora
