// What the program shows of itself: its title, made from the program file's
// name, and its icon, used by every window.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <QStringList>

namespace numora {

// The program file's name without folder and extension, its first letter upper
// case and every later letter lower case: ".../numora" -> "Numora".
QString TitleFromProgramPath(const QString& path);

// The title of the running program; the caption of its message boxes.
QString ApplicationTitle();

// The program's icon in all its sizes.
QIcon ProgramIcon();

// A font asked for by its traditional name, falling back to look-alikes that
// this system has. The pixel size is the largest whose line height (ascent
// plus descent) stays within cellHeight, the way the traditional fonts were
// measured.
QFont FontWithFallbacks(const QStringList& families, int cellHeight,
                        QFont::StyleHint hint = QFont::SansSerif);

// font, made smaller step by step (down to 7 pixels) until text fits into
// width pixels; font itself when it fits already.
QFont FontFittingWidth(const QFont& font, const QString& text, int width);

// "MS Sans Serif" and its look-alikes.
QFont SansSerifFont(int cellHeight);
// "Fixedsys" and its fixed-pitch look-alikes, at the given pixel size (the
// look-alikes are wider than the bitmap original, so a line of 60 characters
// still fits where it did).
QFont FixedPitchFont(int pixelSize);

}  // namespace numora
