// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture library with faults: it exports ShowAbout but not Hilfe, and its
// resources (prepared by the build) hold more lines than the board has cells,
// a picture smaller and one larger than a cell, bytes that are no picture,
// and gaps in the picture numbers.
#include <QtGlobal>

namespace {
int showAboutCalls = 0;
}

class QIcon;

extern "C" {

Q_DECL_EXPORT void ShowAbout(const QIcon*) {
  ++showAboutCalls;
}

// For the tests: how often the about box was asked for.
Q_DECL_EXPORT int FaultyLibraryShowAboutCalls() {
  return showAboutCalls;
}
}
