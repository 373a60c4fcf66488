// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "type_ahead.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using bildwort::TypeAhead;

const QStringList kWords = {"Apfel", "Erdbeere", "Hase", "Käse", "Schaf", "Schnee", "Schule"};

// Letters typed at given times (ms); "\b" is Backspace.
struct Typing {
  const char* name;
  std::vector<std::pair<std::int64_t, const char*>> keys;
  const char* letters;
  const char* found;  // empty: none
};

TEST(TypeAhead, LettersWithinTwoSecondsMakeOneSearch) {
  const Typing cases[] = {
      {"quick", {{0, "s"}, {100, "c"}, {200, "h"}, {300, "n"}}, "schn", "Schnee"},
      {"800 ms a letter",
       {{0, "S"}, {800, "c"}, {1600, "h"}, {2400, "n"}, {3200, "e"}, {4000, "e"}},
       "Schnee",
       "Schnee"},
      {"1.5 s a letter", {{0, "S"}, {1500, "c"}, {3000, "h"}, {4500, "n"}}, "Schn", "Schnee"},
      {"exactly two seconds", {{0, "S"}, {2000, "c"}}, "Sc", "Schaf"},
      {"a longer pause starts afresh", {{0, "S"}, {2001, "h"}}, "h", "Hase"},
      {"Backspace takes the last letter",
       {{0, "S"}, {500, "c"}, {900, "\b"}, {1200, "\b"}},
       "",
       ""},
      {"Backspace, then more",
       {{0, "S"}, {500, "x"}, {900, "\b"}, {1200, "c"}, {1500, "hu"}},
       "Schu",
       "Schule"},
      {"Backspace keeps a slow search alive",
       {{0, "S"}, {1000, "c"}, {2000, "x"}, {3900, "\b"}, {5800, "h"}},
       "Sch",
       "Schaf"},
      {"nothing begins so", {{0, "S"}, {100, "x"}}, "Sx", ""},
      {"umlauts and case", {{0, "k"}, {100, "Ä"}}, "kÄ", "Käse"},
      {"Backspace on nothing", {{0, "\b"}}, "", ""},
  };
  for (const Typing& c : cases) {
    SCOPED_TRACE(c.name);
    std::int64_t now = 0;
    TypeAhead typeAhead([&now] { return now; });
    for (const auto& [at, text] : c.keys) {
      now = at;
      if (std::string(text) == "\b") {
        typeAhead.Backspace();
      } else {
        typeAhead.Type(QString::fromUtf8(text));
      }
    }
    EXPECT_EQ(typeAhead.Letters(), QString::fromUtf8(c.letters));
    const int row = TypeAhead::Find(kWords, typeAhead.Letters());
    EXPECT_EQ(row < 0 ? QString() : kWords[row], QString::fromUtf8(c.found));
  }
}

TEST(TypeAhead, ClearStartsAfreshAndTheSystemClockWorks) {
  TypeAhead typeAhead;
  typeAhead.Type("Sch");
  typeAhead.Clear();
  EXPECT_EQ(typeAhead.Type("H"), "H");
  EXPECT_EQ(TypeAhead::Find({}, "H"), -1);
  // A letter beyond the basic plane goes back whole.
  typeAhead.Type(QString::fromUtf8("\xF0\x9F\x90\xB1"));
  EXPECT_EQ(typeAhead.Backspace(), "H");
}

}  // namespace
