// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// "MS Sans Serif" and its look-alikes, with a character height of
// pixelSize pixels.
QFont SansSerifFont(int pixelSize);
// "Fixedsys" and its fixed-pitch look-alikes, at the given pixel size (the
// look-alikes are wider than the bitmap original, so a line of 60 characters
// still fits where it did).
QFont FixedPitchFont(int pixelSize);

}  // namespace numora
