// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/cp1252.h"

#include <array>
#include <unordered_map>

namespace zelv {

namespace {

// Bytes 0x80..0x9F; every other byte is the Unicode code point of the same
// number (ASCII and Latin-1). The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 control code point, so every
// byte sequence survives a round trip unchanged.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char16_t ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
  return byte;
}

// The reverse map holds only the 32 characters whose code differs from the
// byte; everything else is a direct range check.
const std::unordered_map<char16_t, unsigned char>& ReverseHighRange() {
  static const std::unordered_map<char16_t, unsigned char> reverse = [] {
    std::unordered_map<char16_t, unsigned char> map;
    for (unsigned i = 0; i < kHighControlRange.size(); ++i) {
      map.emplace(kHighControlRange[i], static_cast<unsigned char>(0x80 + i));
    }
    return map;
  }();
  return reverse;
}

}  // namespace

QString FromWindows1252(std::string_view text) {
  QString result;
  result.reserve(static_cast<qsizetype>(text.size()));
  for (char c : text) result.append(QChar(ToUnicode(static_cast<unsigned char>(c))));
  return result;
}

std::string ToWindows1252(const QString& text) {
  std::string result;
  result.reserve(static_cast<size_t>(text.size()));
  const auto& reverse = ReverseHighRange();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t code = text[i].unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      result.push_back(static_cast<char>(code));
    } else if (auto it = reverse.find(code); it != reverse.end()) {
      result.push_back(static_cast<char>(it->second));
    } else {
      // A character outside the code page becomes one '?', also when it
      // takes a surrogate pair in UTF-16.
      if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
      result.push_back('?');
    }
  }
  return result;
}

}  // namespace zelv
