// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A reader for the rich text (RTF) that the programs' help documents use; Qt
// has none. It understands paragraphs with alignment and indents, bold,
// italic and underlined text, font sizes, fonts and colours, tabs, line
// breaks, Windows-1252 and Unicode characters and simple tables. Groups it
// does not show (font and colour tables, style sheets, document info,
// pictures, "\*" groups) are skipped.
//
// Any byte sequence is safe to read: unbalanced braces, cut-off escapes,
// huge numbers and deep nesting give a best-effort document, never a crash or
// an endless loop.
#pragma once

#include <string_view>

class QTextDocument;

namespace zelv {

// Replaces the content of document with the text of rtf.
void ReadRtf(std::string_view rtf, QTextDocument& document);

}  // namespace zelv
