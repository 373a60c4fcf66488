// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture library's word list: 8-bit Windows-1252 text, one line per
// picture, each line "German;English:" with optional further text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bildwort {

// Splits the text into lines. CR LF, a lone CR and a lone LF each end a
// line; a NUL byte ends the text; a final line break adds no line; empty
// lines count.
std::vector<std::string> SplitWordList(std::string_view text);

// The text before the first ";", empty if the line has none.
std::string GermanWordOf(std::string_view line);

// The text between the first ";" and the first ":", empty if either is
// missing or the ":" comes first.
std::string EnglishWordOf(std::string_view line);

}  // namespace bildwort
