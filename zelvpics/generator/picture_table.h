// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The things the sample picture library shows: for each picture the emoji it
// is drawn from and the word that names it in German and in English. Picture
// n and line n of the word list both come from entry n-1, so they always
// belong together.
#pragma once

#include <QByteArray>
#include <span>
#include <string_view>

namespace zelvpics {

struct PictureEntry {
  char32_t Emoji;       // one code point of the colour emoji font
  const char* German;   // UTF-8, a noun with its capital letter
  const char* English;  // UTF-8
};

std::span<const PictureEntry> PictureTable();

// The word list as the library stores it: one line "German;English:" per
// entry, Windows-1252, each line ended by CR LF.
QByteArray EncodeWordList(std::span<const PictureEntry> entries);

}  // namespace zelvpics
