// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "word_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct SplitCase {
  const char* name;
  std::string text;
  Lines expected;
};

class SplitWordListTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWordListTest, SplitsLikeThePictureLibraryExpects) {
  EXPECT_EQ(bildwort::SplitWordList(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitWordListTest,
    ::testing::Values(
        SplitCase{"Empty", "", {}}, SplitCase{"NoBreak", "Hund;dog:", {"Hund;dog:"}},
        SplitCase{"CrLf", "a\r\nb\r\nc", {"a", "b", "c"}},
        SplitCase{"LoneCr", "a\rb\rc", {"a", "b", "c"}},
        SplitCase{"LoneLf", "a\nb\nc", {"a", "b", "c"}},
        SplitCase{"MixedEnds", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        // LF CR is two breaks, the second ending an empty line.
        SplitCase{"LfCr", "a\n\rb", {"a", "", "b"}},
        SplitCase{"FinalCrLfAddsNoLine", "a\r\nb\r\n", {"a", "b"}},
        SplitCase{"FinalCrAddsNoLine", "a\r", {"a"}}, SplitCase{"FinalLfAddsNoLine", "a\n", {"a"}},
        SplitCase{"OnlyABreakIsOneEmptyLine", "\r\n", {""}},
        SplitCase{"EmptyLinesCount", "a\r\n\r\n\r\nb", {"a", "", "", "b"}},
        SplitCase{"EmptyLineBeforeFinalBreak", "a\r\n\r\n", {"a", ""}},
        SplitCase{"LeadingEmptyLine", "\na", {"", "a"}},
        SplitCase{"NulEndsTheText", "a\r\nb\0c\r\nd"s, {"a", "b"}},
        SplitCase{"NulFirst", "\0a\r\n"s, {}}, SplitCase{"NulRightAfterABreak", "a\r\n\0b"s, {"a"}},
        SplitCase{"NulBetweenCrAndLf", "a\r\0\nb"s, {"a"}},
        SplitCase{
            "HighBytesKept", "B\xe4r;bear:\r\nL\xf6we;lion:", {"B\xe4r;bear:", "L\xf6we;lion:"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WordCase {
  const char* line;
  const char* german;
  const char* english;
};

TEST(WordOf, TakesTheWordsBetweenTheSeparators) {
  const WordCase cases[] = {
      {"Hund;dog:", "Hund", "dog"},
      {"Hund;dog:more text", "Hund", "dog"},
      {"Hund;dog:x;y:z", "Hund", "dog"},
      {"Teddyb\xe4r;teddy bear:", "Teddyb\xe4r", "teddy bear"},
      {"Hund", "", ""},               // no ";"
      {"Hund;dog", "Hund", ""},       // no ":"
      {"Hund:dog;", "Hund:dog", ""},  // ":" before ";"
      {"Hund:x;dog:", "Hund:x", ""},  // the first ":" counts, even before ";"
      {";dog:", "", "dog"},
      {"Hund;:", "Hund", ""},
      {"", "", ""},
      {";", "", ""},
      {":", "", ""},
      {"a;b;c:", "a", "b;c"},
  };
  for (const WordCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(bildwort::GermanWordOf(c.line), c.german);
    EXPECT_EQ(bildwort::EnglishWordOf(c.line), c.english);
  }
}

}  // namespace
