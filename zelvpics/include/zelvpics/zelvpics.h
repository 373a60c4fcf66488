// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exports of the sample picture library, looked up by name by the reading
// game after it has loaded the library.
//
// Besides these functions the library brings compiled-in resources under the
// prefix ":/zelvpics": the word list "TEXT/LISTE" (Windows-1252, one line
// "German;English:" per picture, CR LF) and the pictures "BITMAP/1" to
// "BITMAP/120" (PNG, 64 x 64), picture n showing what line n names.
#pragma once

#include <QtGlobal>

class QIcon;

extern "C" {

// Shows the library's about box, modal; `icon` is the calling program's icon
// and may be null.
Q_DECL_EXPORT void ShowAbout(const QIcon* icon);

// Shows how the reading game is played, modal.
Q_DECL_EXPORT void Hilfe();
}
