// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/term_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "engine/run_context.h"

namespace engine {
namespace {

struct NormaliseCase {
  std::string Text;
  bool Words;
  std::string Expected;
};

TEST(NormaliseTerm, BringsTextIntoCanonicalForm) {
  const NormaliseCase cases[] = {
      {"2 * ( 3 + x )", true, "2*(3+X)"},
      {"max(a; b)", true, "MAX(A)(B)"},
      {"f(a;b;c)", false, "F(A)(B)(C)"},
      {"\t1\n+\r2\x01", true, "1+2"},
      {"(5) mod (3)", true, "(5)m(3)"},
      {"(5) mod (3)", false, "(5)MOD(3)"},
      {"(a) And (b) OR (c)", true, "(A)a(B)o(C)"},
      {"(1)xor(2)shl(3)shr(4)div(5)over(6)", true, "(1)x(2)l(3)r(4)d(5)v(6)"},
      {"(1)AND(2)AND(3)", true, "(1)a(2)a(3)"},
      // A word is an operator only between ")" and "(".
      {"a and b", true, "AANDB"},
      {"(a)and b", true, "(A)ANDB"},
      {"band(1)", true, "BAND(1)"},
      // ';' becomes ")(" first, so a word between two arguments is found.
      {"f(1;2) mod (3)", true, "F(1)(2)m(3)"},
      // Characters outside a..z stay as they are.
      {"\xe4\xdf!$", true, "\xe4\xdf!$"},
      {"", true, ""},
  };
  for (const NormaliseCase& c : cases) {
    std::string text = c.Text;
    NormaliseTerm(text, c.Words);
    EXPECT_EQ(text, c.Expected) << c.Text;
  }
}

// The repeated search from the start, as plainly as it can be written.
std::string ReplaceAllReference(std::string text, const std::string& search,
                                const std::string& replacement) {
  for (auto at = text.find(search); at != std::string::npos; at = text.find(search))
    text.replace(at, search.size(), replacement);
  return text;
}

TEST(ReplaceAll, SearchesFromTheStartAfterEveryReplacement) {
  struct Case {
    std::string Text, Search, Replacement, Expected;
  };
  const Case cases[] = {
      {"a;b;c", ";", ")(", "a)(b)(c"},
      {"1E.5+2E.3", "E.", "E-", "1E-5+2E-3"},
      {"abab", "ab", "b", "bb"},
      {"aabb", "ab", "", ""},  // a replacement forms a new occurrence
      {"aaa", "a", "", ""},
      {"xyz", "q", "r", "xyz"},
      {"", "a", "b", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceAll(c.Text, c.Search, c.Replacement), c.Expected) << c.Text;
}

TEST(ReplaceAll, AgreesWithTheRepeatedSearchOnRandomTexts) {
  std::mt19937 random(12345);
  const std::string alphabet = "ab)(";
  auto randomText = [&](std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 5000; ++round) {
    const std::string text = randomText(14);
    std::string search = randomText(3);
    if (search.empty()) search = "a";
    std::string replacement = randomText(3);
    if (replacement.find(search) != std::string::npos) continue;  // callers never do this
    ASSERT_EQ(ReplaceAll(text, search, replacement), ReplaceAllReference(text, search, replacement))
        << text << " / " << search << " / " << replacement;
  }
}

TEST(ReplaceAll, ReplacementContainingTheSearchTextEnds) {
  EXPECT_EQ(ReplaceAll("a(b", "(", "(("), "a((b");
}

TEST(CheckParentheses, BalancesAndSetsConstantMessage) {
  struct Case {
    std::string Text;
    bool Balanced;
  };
  const Case cases[] = {
      {"", true},     {"(A)(B)", true}, {"((1)+(2))", true}, {"((1)", false},   {"1)(", false},
      {"(()", false}, {")(", false},    {"(1))(", false},    {"2*(3+4", false},
  };
  RunContext context;
  for (const Case& c : cases) {
    context.ConstantMessage = "previous";
    EXPECT_EQ(CheckParentheses(c.Text, context), c.Balanced) << c.Text;
    EXPECT_EQ(context.ConstantMessage, c.Balanced ? "" : "Wrong parentheses") << c.Text;
  }
}

TEST(ExtractGroup, ReturnsTheFirstCompleteGroupFromPosition) {
  struct Case {
    std::string Text;
    std::size_t Position;
    bool Found;
    std::string Group;
  };
  const Case cases[] = {
      {"F(1+(2))(3)", 2, true, "1+(2)"},
      {"F(1+(2))(3)", 1, true, "1+(2)"},
      {"F(1+(2))(3)", 3, true, "2"},
      {"F(1+(2))(3)", 9, true, "3"},
      {"F()", 1, true, ""},
      {"F(1+(2))(3)", 12, false, ""},
      {"F(1+(2))(3)", 40, false, ""},
      {"ABC", 1, false, ""},
      {"F(1+(2)", 1, false, ""},
      {"", 1, false, ""},
  };
  for (const Case& c : cases) {
    std::string group = "untouched";
    EXPECT_EQ(ExtractGroup(c.Text, c.Position, group), c.Found) << c.Text << " @" << c.Position;
    if (c.Found) {
      EXPECT_EQ(group, c.Group) << c.Text << " @" << c.Position;
    }
  }
}

TEST(IsNumber, AcceptsExactlyRealLiterals) {
  struct Case {
    std::string Text;
    bool Number;
  };
  const Case cases[] = {
      {"12", true},     {"1.5", true},   {"2E-3", true}, {"2E+3", true},    {"2E3", true},
      {".5", true},     {"5.", true},    {"-1.5", true}, {"+7", true},      {"0.5E-10", true},
      {"1,5", false},   {"PI", false},   {"E5", false},  {"1E", false},     {"1E+", false},
      {"+", false},     {"-", false},    {".", false},   {"", false},       {"1.2.3", false},
      {"1E5.5", false}, {"1E.5", false}, {"INF", false}, {"NAN", false},    {"0X10", false},
      {"1 ", false},    {"1-2", false},  {"--1", false}, {"2E-3E1", false}, {".E1", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsNumber(c.Text), c.Number) << c.Text;
}

TEST(NumberValue, ReadsCorrectlyRounded) {
  struct Case {
    std::string Text;
    long double Expected;
  };
  const Case cases[] = {
      {"0.1", 0.1L},         {"2E-3", 2E-3L},
      {".5", 0.5L},          {"5.", 5.0L},
      {"-1.5E+2", -150.0L},  {"1E4000", 1E4000L},
      {"1E-4940", 1E-4940L}, {"12345678901234567890", 12345678901234567890.0L},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberValue(c.Text), c.Expected) << c.Text;
  EXPECT_TRUE(std::isinf(NumberValue("1E5000")));
}

TEST(NumberValue, AgreesWithTheFullConversionOnRandomLiterals) {
  std::mt19937_64 random(2024);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int whole = static_cast<int>(random() % 12);
    const int fraction = static_cast<int>(random() % 14);
    for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + random() % 10);
    if (fraction > 0 || whole == 0) text += '.';
    for (int k = 0; k < fraction || (whole == 0 && k == 0); ++k)
      text += static_cast<char>('0' + random() % 10);
    if (random() % 2 == 0) {
      text += 'E';
      text += "+-"[random() % 2];
      text += std::to_string(random() % 30);
    }
    ASSERT_TRUE(IsNumber(text)) << text;
    const long double expected = std::strtold(text.c_str(), nullptr);
    const long double got = NumberValue(text);
    ASSERT_EQ(std::memcmp(&got, &expected, 10), 0) << text;
  }
}

TEST(FunctionNames, TableHasCodesAndSearchOrder) {
  ASSERT_EQ(FunctionNames.size(), 67u);
  EXPECT_EQ(FunctionName(1), "CABS(");
  EXPECT_EQ(FunctionName(28), "SIN(");
  EXPECT_EQ(FunctionName(45), "MAX(");
  EXPECT_EQ(FunctionName(58), "        ");
  EXPECT_EQ(FunctionName(67), "POICUM(");
  for (int k = 1; k <= 67; ++k) {
    if (k == 58) continue;
    const std::string_view name = FunctionName(k);
    EXPECT_EQ(name.back(), '(') << k;
    for (char c : name.substr(0, name.size() - 1))
      EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) << k;
    // A name that ends another name must be searched after it.
    for (int j = 1; j <= 67; ++j) {
      const std::string_view other = FunctionName(j);
      if (j != k && other.size() > name.size() && other.ends_with(name)) {
        EXPECT_LT(j, k) << name;
      }
    }
  }
}

}  // namespace
}  // namespace engine
