// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture library that loads but offers nothing the game looks for: no
// ShowAbout, no Hilfe, no word list, no pictures.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int BareLibraryVersion() {
  return 1;
}
