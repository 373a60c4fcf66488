// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc's output lines.
#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "calculator.h"
#include "format.h"

namespace termcalc {
namespace {

TEST(Escape, ControlBytesBackslashAndOthers) {
  struct Case {
    std::string text;
    std::string escaped;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"\n\r\t\\", "\\n\\r\\t\\\\"},
      {std::string("\0\x01\x1B\x1F", 4), "\\x00\\x01\\x1B\\x1F"},
      {" ~\x7F\x80\xA7\xFF", " ~\x7F\x80\xA7\xFF"},
      {"a\\nb", "a\\\\nb"},
  };
  for (const Case& c : cases) EXPECT_EQ(Escape(c.text), c.escaped) << c.escaped;
}

TEST(AppendResult, SuccessWarningAndError) {
  struct Case {
    std::uint8_t code;
    engine::Extended value;
    std::string text;
    std::string line;
  };
  const Case cases[] = {
      {0, 14, "", "14"},
      {0, -0.5L, "", "-0.5"},
      {0, 1.0L / 3, "", "0.33333333333333333334"},
      {0, 1e21L, "", "1E21"},
      {0, 1e-5L, "", "0.00001"},
      {0, 2, "Large\n\rvalue", "2\twarning: Large\\n\\rvalue"},
      {7, 5, "a\n\rb", "error 7: a\\n\\rb"},
      {9, 0, "", "error 9: "},
      {255, 0, "x", "error 255: x"},
  };
  for (const Case& c : cases) {
    std::string out = "keep:";
    AppendResult(out, c.code, c.value, c.text);
    EXPECT_EQ(out, "keep:" + c.line);
  }
}

TEST(AppendValue, IgnoresTheUsersNumericLocale) {
  // A locale with a decimal comma, when the machine has one.
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  std::string out;
  AppendValue(out, 2.5L);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(out, "2.5");
  if (german == nullptr) GTEST_SKIP() << "no German locale here; the C locale was used";
}

TEST(AppendValue, ShortestTextOrRoundedDigitsInTheRightForm) {
  using Limits = std::numeric_limits<engine::Extended>;
  struct Case {
    engine::Extended value;
    int digits;
    std::string text;
  };
  const Case cases[] = {
      {0, 0, "0"},
      {-0.0L, 0, "-0"},
      {0.002L, 0, "0.002"},
      {2.0L - 0x1p-63L, 0, "1.9999999999999999999"},
      {2.0L - 0x1p-63L, 18, "2"},
      {2.0L - 0x1p-63L, 21, "1.99999999999999999989"},
      {123456, 3, "123000"},
      {999.5L, 3, "1000"},
      {9.96L, 2, "10"},
      // The form changes at 1E21 and below 1E-6.
      {1e20L, 0, "100000000000000000000"},
      {1e21L, 0, "1E21"},
      {1.5e21L, 0, "1.5E21"},
      {1e-6L, 0, "0.000001"},
      {1.25e-7L, 0, "1.25E-7"},
      {-1.5e-300L, 0, "-1.5E-300"},
      // Integers and short decimals take a short cut; at its edges too.
      {0x1p64L - 1, 0, "18446744073709551615"},
      {-0x1p64L, 0, "-18446744073709551616"},
      {1.23456789012345678L, 0, "1.23456789012345678"},
      {-987654.321L, 0, "-987654.321"},
      {1e-10L, 0, "1E-10"},
      {2.5e-11L, 0, "2.5E-11"},
      {0.1L + 0x1p-67L, 0, "0.10000000000000000001"},
      // The extremes, shortest and with all digits.
      {-Limits::denorm_min(), 0, "-4E-4951"},
      {-Limits::denorm_min(), 21, "-3.64519953188247460253E-4951"},
      {Limits::max(), 0, "1.189731495357231765E4932"},
      {Limits::max(), 21, "1.18973149535723176502E4932"},
      {Limits::infinity(), 0, "inf"},
      {-Limits::infinity(), 5, "-inf"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendValue(out, c.value, c.digits);
    EXPECT_EQ(out, c.text) << c.text << " with " << c.digits << " digits";
  }
}

TEST(CaretLine, MarksTheNamedTokenAsTyped) {
  struct Case {
    std::string term;
    std::uint8_t code;
    std::string message;
    std::string carets;
  };
  const Case cases[] = {
      {"foo(2)+1", 3, "Undefined Function: FOO", "^^^"},
      {"2 + abc*3", 3, "ABC was detected in the string. Unknown or recursive call", "    ^^^"},
      // A name inside a longer word is not the one meant.
      {"abcd+abc", 3, "ABC was detected in the string. Unknown or recursive call", "     ^^^"},
      // Normalisation dropped the blanks inside the token.
      {"1+3 xyz 4", 3, "3XYZ4 was detected in the string. Unknown or recursive call", "  ^^^^^^^"},
      // Characters before the token count once, whatever their UTF-8 length.
      {"\xC3\xA4+q", 3, "Q was detected in the string. Unknown or recursive call", "  ^"},
      {"2+#", 3, "# was detected in the string. Unknown or recursive call", "  ^"},
      // Nothing to mark: no token named, or not found as typed.
      {"2++", 5, "Missing Operand in Function Term", ""},
      {"2(3", 3, "Syntax Error", ""},
      {"F(1)", 3, "G was detected in the string. Unknown or recursive call", ""},
      {"1/0", 7, "Function is not defined for the given argument", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CaretLine(c.term, c.code, c.message), c.carets) << c.term;
}

TEST(Calculator, VariablesByNameAfterPrepare) {
  Options options;
  options.variables = {{" Speed # km/h", 3}, {"time", 4}, {"speed", 5}, {"9bad", 1}};
  Calculator calculator(options);
  EXPECT_EQ(calculator.DeclarationErrors(), "\n\rInvalid variable name: 9bad");
  std::string out;
  // Of equal names the first slot is read; the last value given lands there.
  EXPECT_TRUE(calculator.Run("speed*time", out));
  EXPECT_EQ(out, "20");
  out.clear();
  EXPECT_FALSE(calculator.Run("x", out));
}

TEST(Calculator, AnswerHoldsTheLastSuccessfulResult) {
  Calculator calculator(Options{}, true);
  std::string out;
  EXPECT_TRUE(calculator.Run("ans+2", out));
  EXPECT_EQ(out, "2");
  for (const char* term : {"ANS*10", "1/0", "(", "ANS+x+1"}) {
    out.clear();
    calculator.Run(term, out);
  }
  // The failures left ANS at 20; the default variables are still there.
  EXPECT_EQ(out, "21");
}

TEST(Calculator, AnswerGivesWayToADeclaredName) {
  Options options;
  options.variables = {{"ans", 7}};
  Calculator byVariable(options, true);
  std::string out;
  EXPECT_TRUE(byVariable.Run("1", out));
  out.clear();
  EXPECT_TRUE(byVariable.Run("ANS", out));
  EXPECT_EQ(out, "7");

  Options constant;
  constant.constants = {"Ans = 40"};
  Calculator byConstant(constant, true);
  out.clear();
  EXPECT_TRUE(byConstant.Run("1", out));
  out.clear();
  EXPECT_TRUE(byConstant.Run("ANS+2", out));
  EXPECT_EQ(out, "42");
  EXPECT_EQ(byConstant.DeclarationErrors(), "");
}

TEST(Calculator, DigitsRoundTheShownValue) {
  Options options;
  options.digits = 18;
  Calculator calculator(options);
  std::string out;
  EXPECT_TRUE(calculator.Run("2E-3*1000", out));
  EXPECT_EQ(out, "2");
}

TEST(Calculator, AnalysisErrorsAreReportedAsSetTermLeftThem) {
  Calculator calculator(Options{});
  std::string out;
  EXPECT_FALSE(calculator.Run("(", out));
  EXPECT_EQ(out, "error 1: Wrong parentheses");
  out.clear();
  EXPECT_TRUE(calculator.Run("t+x+y+z+1", out));
  EXPECT_EQ(out, "1");
}

}  // namespace
}  // namespace termcalc
