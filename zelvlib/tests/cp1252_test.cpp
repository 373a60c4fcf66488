// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct HighByte {
  unsigned char byte;
  char16_t unicode;
};

// The 32 bytes where Windows-1252 and Latin-1 differ, plus the neighbours.
const HighByte kHighBytes[] = {
    {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E},
    {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160},
    {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090},
    {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013},
    {0x97, 0x2014}, {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153},
    {0x9D, 0x009D}, {0x9E, 0x017E}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE4, 0x00E4}, {0xFC, 0x00FC},
    {0xDF, 0x00DF}, {0xFF, 0x00FF},
};

TEST(Cp1252, HighBytesMapToTheirCharacters) {
  for (const HighByte& c : kHighBytes) {
    const std::string byte(1, static_cast<char>(c.byte));
    const QString text = zelv::FromWindows1252(byte);
    ASSERT_EQ(text.size(), 1) << int(c.byte);
    EXPECT_EQ(text[0].unicode(), c.unicode) << std::hex << int(c.byte);
    EXPECT_EQ(zelv::ToWindows1252(text), byte) << std::hex << int(c.byte);
  }
}

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = zelv::FromWindows1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(zelv::ToWindows1252(text), all);
}

TEST(Cp1252, GermanTextBothWays) {
  const QString german = QStringLiteral("Bravo, alle Aufgaben gelöst! Äpfel, Öl, Übung, Maß – 5 €");
  const std::string bytes = zelv::ToWindows1252(german);
  EXPECT_EQ(bytes,
            "Bravo, alle Aufgaben gel\xF6st! \xC4pfel, \xD6l, \xDC"
            "bung, Ma\xDF \x96 5 \x80");
  EXPECT_EQ(zelv::FromWindows1252(bytes), german);
}

struct Unmappable {
  QString text;
  std::string expected;
};

TEST(Cp1252, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
  const Unmappable cases[] = {
      {QStringLiteral("\u0394x"), "?x"},          // Greek capital delta
      {QStringLiteral("a\u4E2Db"), "a?b"},        // CJK
      {QString::fromUcs4(U"\U0001F600!"), "?!"},  // surrogate pair: one character
      {QString(QChar(0xD800)) + "z", "?z"},       // lone high surrogate
      {QString(QChar(0xDC00)), "?"},              // lone low surrogate
      {QString(), ""},
  };
  for (const Unmappable& c : cases) {
    EXPECT_EQ(zelv::ToWindows1252(c.text), c.expected) << c.text.toStdString();
  }
}

TEST(Cp1252, EmbeddedZeroBytesAreKept) {
  const std::string bytes("a\0b", 3);
  const QString text = zelv::FromWindows1252(bytes);
  EXPECT_EQ(text.size(), 3);
  EXPECT_EQ(zelv::ToWindows1252(text), bytes);
}

}  // namespace
