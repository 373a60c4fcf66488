// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "answer_check.h"

#include <gtest/gtest.h>

#include <limits>

namespace numora {
namespace {

struct AnswerCase {
  const char* Name;
  QString Text;
  std::optional<std::int32_t> Expected;
};

class AnswerConversion : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerConversion, ReadsOnlyStrictDecimalWholeNumbers) {
  EXPECT_EQ(ParseAnswer(GetParam().Text), GetParam().Expected) << GetParam().Text.toStdString();
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Valid, AnswerConversion,
    ::testing::Values(AnswerCase{"Plain", "12", 12}, AnswerCase{"Zero", "0", 0},
                      AnswerCase{"LeadingBlank", " 12", 12},
                      AnswerCase{"ManyLeadingBlanks", "     7", 7},
                      AnswerCase{"Negative", "-390", -390}, AnswerCase{"PlusSign", "+5", 5},
                      AnswerCase{"BlanksBeforeSign", "  -5", -5},
                      AnswerCase{"LeadingZeros", "007", 7}, AnswerCase{"MinusZero", "-0", 0},
                      AnswerCase{"Largest", "2147483647", kMax},
                      AnswerCase{"Smallest", "-2147483648", kMin},
                      AnswerCase{"ZerosBeforeLargest", "0000000000002147483647", kMax}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Invalid, AnswerConversion,
    ::testing::Values(
        AnswerCase{"Empty", "", std::nullopt}, AnswerCase{"BlanksOnly", "   ", std::nullopt},
        AnswerCase{"TrailingBlank", "12 ", std::nullopt},
        AnswerCase{"DecimalPoint", "1.5", std::nullopt},
        AnswerCase{"DecimalComma", "1,5", std::nullopt}, AnswerCase{"SignOnly", "-", std::nullopt},
        AnswerCase{"TwoSigns", "+-5", std::nullopt}, AnswerCase{"DoubleMinus", "--5", std::nullopt},
        AnswerCase{"BlankAfterSign", "- 5", std::nullopt},
        AnswerCase{"Letters", "zwölf", std::nullopt},
        AnswerCase{"DigitsThenLetter", "12a", std::nullopt},
        AnswerCase{"Hexadecimal", "0x1F", std::nullopt},
        AnswerCase{"DollarHex", "$1F", std::nullopt}, AnswerCase{"Exponent", "1e3", std::nullopt},
        AnswerCase{"OneAboveLargest", "2147483648", std::nullopt},
        AnswerCase{"OneBelowSmallest", "-2147483649", std::nullopt},
        AnswerCase{"FarOutOfRange", "99999999999999999999999", std::nullopt},
        AnswerCase{"LeadingTab", "\t12", std::nullopt},
        AnswerCase{"NoBreakSpace", QString::fromUtf8("\u00A012"), std::nullopt},
        AnswerCase{"EmbeddedNul", QString::fromUtf16(u"1\u00002", 3), std::nullopt},
        AnswerCase{"LineBreak", "12\r\n", std::nullopt},
        AnswerCase{"ControlCharacter", "1\x07", std::nullopt},
        // Digits of other scripts are digits to Unicode, but not to the child's
        // number: only 0..9 count.
        AnswerCase{"ArabicIndicDigits", QString::fromUtf8("\u0661\u0662"), std::nullopt},
        AnswerCase{"FullWidthDigits", QString::fromUtf8("\uFF11\uFF12"), std::nullopt},
        AnswerCase{"SuperscriptTwo", QString::fromUtf8("\u00B2"), std::nullopt},
        AnswerCase{"FullWidthMinus", QString::fromUtf8("\uFF0D5"), std::nullopt},
        AnswerCase{"UnicodeMinusSign", QString::fromUtf8("\u22125"), std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

// The input dialog accepts at most 255 characters; whatever a child pastes
// there is read without overflow.
TEST(AnswerConversionLimits, LongestInputs) {
  EXPECT_EQ(ParseAnswer(QString(254, u'0') + u'5'), 5);
  EXPECT_EQ(ParseAnswer(QString(253, u' ') + u'-' + u'5'), -5);
  EXPECT_EQ(ParseAnswer(QString(255, u'9')), std::nullopt);
  EXPECT_EQ(ParseAnswer(u'-' + QString(254, u'9')), std::nullopt);
  EXPECT_EQ(ParseAnswer(QString(255, u' ')), std::nullopt);
  EXPECT_EQ(ParseAnswer(QString(100000, u'1')), std::nullopt);
}

}  // namespace
}  // namespace numora
