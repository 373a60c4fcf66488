// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "word_list.h"

namespace bildwort {

std::vector<std::string> SplitWordList(std::string_view text) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> lines;
  size_t start = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    lines.emplace_back(text.substr(start, pos - start));
    pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    start = pos;
  }
  // Text after the last line break is a line; a break at the very end is not
  // followed by one.
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string GermanWordOf(std::string_view line) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return std::string();
  return std::string(line.substr(0, semicolon));
}

std::string EnglishWordOf(std::string_view line) {
  const size_t semicolon = line.find(';');
  const size_t colon = line.find(':');
  if (semicolon == std::string_view::npos || colon == std::string_view::npos || colon < semicolon) {
    return std::string();
  }
  return std::string(line.substr(semicolon + 1, colon - semicolon - 1));
}

}  // namespace bildwort
