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
      {0, 1.0L / 3, "", "0.333333333333333333342"},
      {0, 1e21L, "", "1e+21"},
      {0, 1e-5L, "", "9.99999999999999999995e-06"},
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

TEST(AppendValue, ExtremeValuesFitTheBuffer) {
  std::string out;
  AppendValue(out, -std::numeric_limits<engine::Extended>::denorm_min());
  EXPECT_EQ(out, "-3.64519953188247460253e-4951");
  out.clear();
  AppendValue(out, std::numeric_limits<engine::Extended>::max());
  EXPECT_EQ(out, "1.18973149535723176502e+4932");
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
