// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_maker.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>

#include "engine/parser.h"
#include "engine/random.h"
#include "task_templates.h"

namespace numora {
namespace {

class TaskMakerTest : public ::testing::Test {
 protected:
  TaskMakerTest() {
    declarations_.SetVarNames({"t", "x", "y", "z"});
    parser_.SetDeclarations(&declarations_);
    engine::SetRandomSeed(20240611);
  }
  engine::TParserDeclarations declarations_;
  engine::TTermParser parser_;
  TaskMaker maker_{parser_};
};

std::int64_t ReadNumber(const std::string& text, std::size_t& pos) {
  if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return -1;
  std::int64_t value = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    value = value * 10 + (text[pos++] - '0');
  }
  return value;
}

// Checks that task is templ with every placeholder replaced by a number of its
// range (a "$Z" by divisor*factor "/" divisor); returns a failure text or "".
std::string MatchTask(const std::string& templ, const std::string& task, const TRangeTable& ranges,
                      TLevel level) {
  std::size_t t = 0, p = 0;
  const auto inRange = [&](std::int64_t v, char letter) {
    const TRange r = ranges[level][static_cast<std::size_t>(letter - 'A')];
    return v >= r.Min && v <= r.Max;
  };
  while (t < templ.size()) {
    if (templ[t] != '$') {
      if (p >= task.size() || task[p] != templ[t]) return "literal differs at " + std::to_string(p);
      ++t, ++p;
      continue;
    }
    const char letter = templ[t + 1];
    t += 2;
    if (letter == 'Z') {
      const std::int64_t dividend = ReadNumber(task, p);
      if (p >= task.size() || task[p] != '/') return "quotient without /";
      ++p;
      const std::int64_t divisor = ReadNumber(task, p);
      if (!inRange(divisor, 'C')) return "divisor out of range";
      if (dividend % divisor != 0 || !inRange(dividend / divisor, 'B')) return "bad factor";
    } else {
      const std::int64_t value = ReadNumber(task, p);
      if (!inRange(value, letter)) return std::string("$") + letter + " out of range";
    }
  }
  return p == task.size() ? "" : "trailing text";
}

TEST_F(TaskMakerTest, RangeTable) {
  const TRangeTable& r = maker_.Ranges();
  const std::int32_t expected[3][3][2] = {
      {{0, 20}, {0, 10}, {1, 10}}, {{0, 100}, {0, 20}, {1, 20}}, {{10, 1000}, {5, 20}, {5, 30}}};
  for (int level = 0; level < 3; ++level) {
    for (int letter = 0; letter < 3; ++letter) {
      EXPECT_EQ(r[level][letter].Min, expected[level][letter][0]) << level << letter;
      EXPECT_EQ(r[level][letter].Max, expected[level][letter][1]) << level << letter;
    }
    for (int letter = 3; letter < kRangeLetters; ++letter) {
      EXPECT_EQ(r[level][letter].Min, 0);
      EXPECT_EQ(r[level][letter].Max, 0);
    }
  }
}

// Every shipped template at every level, many times: the text fits the
// template and its ranges, the value is whole, not negative below "schwer",
// and equals what the engine computes for the text.
TEST_F(TaskMakerTest, EveryTemplateYieldsValidTasksAtEveryLevel) {
  std::set<std::string> distinct;
  for (const std::string& templ : LoadShippedTemplates()) {
    if (!distinct.insert(templ).second) continue;
    for (TLevel level = 0; level < 3; ++level) {
      for (int i = 0; i < 25; ++i) {
        engine::Extended value = -1;
        const auto task = maker_.MakeTask(templ, level, value);
        ASSERT_TRUE(task) << templ;
        EXPECT_EQ(MatchTask(templ, *task, maker_.Ranges(), level), "") << templ << " " << *task;
        EXPECT_EQ(value, std::trunc(value)) << *task;
        if (level < 2) {
          EXPECT_GE(value, 0) << *task;
        }
        parser_.SetTerm(*task);
        EXPECT_EQ(parser_.Evaluate(), value) << *task;
        EXPECT_EQ(parser_.EvalError(), 0) << *task;
      }
    }
  }
  EXPECT_EQ(distinct.size(), 42u);
}

TEST_F(TaskMakerTest, QuotientsAtLeichtCoverZeroUpToHundredByTen) {
  std::set<std::string> seen;
  for (int i = 0; i < 4000; ++i) {
    engine::Extended value = 0;
    const std::string task = *maker_.MakeTask("$Z", 0, value);
    seen.insert(task);
    const auto slash = task.find('/');
    EXPECT_EQ(value, std::stoll(task.substr(0, slash)) / std::stoll(task.substr(slash + 1)));
  }
  // divisor 1..10 times factor 0..10: 110 texts, from 0/1 to 100/10.
  EXPECT_EQ(seen.size(), 110u);
  EXPECT_TRUE(seen.count("0/1"));
  EXPECT_TRUE(seen.count("100/10"));
}

TEST_F(TaskMakerTest, DivisionByDifferenceNeverUsesEqualDivisors) {
  for (TLevel level = 0; level < 3; ++level) {
    for (int i = 0; i < 300; ++i) {
      engine::Extended value = 0;
      const std::string task = *maker_.MakeTask("$A/($C-$C)", level, value);
      const auto open = task.find('('), minus = task.find('-', open), close = task.find(')');
      const int first = std::stoi(task.substr(open + 1, minus - open - 1));
      const int second = std::stoi(task.substr(minus + 1, close - minus - 1));
      const int dividend = std::stoi(task.substr(0, task.find('/')));
      EXPECT_NE(first, second) << task;
      EXPECT_EQ(dividend % (first - second), 0) << task;
      if (level < 2) {
        EXPECT_TRUE(dividend == 0 || first > second) << task;
      }
    }
  }
}

struct ValueSetCase {
  const char* Template;
  TLevel Level;
  std::set<long long> Allowed;  // empty: only the predicate below
  int Draws;
};

TEST_F(TaskMakerTest, TemplatesWithKnownValueSets) {
  std::set<long long> leichtSquares, schwerSquares;
  for (int b = 0; b <= 10; ++b) leichtSquares.insert(b * b);
  for (int b = 5; b <= 20; ++b) schwerSquares.insert(b * b);
  const ValueSetCase cases[] = {
      {"$B^2", 0, leichtSquares, 400},
      {"$B^2", 2, schwerSquares, 400},
      // Only 25/5/5, 30/5/6 and 30/6/5 divide out at "schwer".
      {"$C/$C/$C", 2, {1}, 6},
  };
  for (const ValueSetCase& c : cases) {
    std::set<long long> seen;
    for (int i = 0; i < c.Draws; ++i) {
      engine::Extended value = 0;
      const std::string task = *maker_.MakeTask(c.Template, c.Level, value);
      seen.insert(static_cast<long long>(value));
      EXPECT_TRUE(c.Allowed.count(static_cast<long long>(value))) << c.Template << " " << task;
    }
    EXPECT_EQ(seen, c.Allowed) << c.Template;
  }
}

TEST_F(TaskMakerTest, NegativeValuesOnlyAtSchwer) {
  bool negativeSeen = false;
  for (int i = 0; i < 500; ++i) {
    engine::Extended value = 0;
    maker_.MakeTask("$A-$B*$B", 2, value);
    negativeSeen |= value < 0;
    ASSERT_TRUE(maker_.MakeTask("$A-$B*$B", 1, value));
    ASSERT_GE(value, 0);
  }
  EXPECT_TRUE(negativeSeen);
  engine::Extended value = 0;
  EXPECT_EQ(maker_.MakeTask("10-20*20", 2, value), std::optional<std::string>("10-20*20"));
  EXPECT_EQ(value, -390);
}

TEST_F(TaskMakerTest, UnworkableTemplateGivesUpAfterTheAttemptLimit) {
  TaskMaker limited(parser_, 50);
  engine::Extended value = 0;
  // Always 0/0, never whole: the attempt limit keeps this from hanging.
  EXPECT_FALSE(limited.MakeTask("$D/$D", 1, value));
  EXPECT_FALSE(limited.MakeTask("1/2", 0, value));
  EXPECT_FALSE(limited.MakeTask("10-400", 1, value));  // negative below "schwer"
  EXPECT_FALSE(limited.MakeTask("(1", 1, value));      // fails analysis
  EXPECT_TRUE(limited.MakeTask("10-400", 2, value));
}

TEST_F(TaskMakerTest, PlaceholderFilling) {
  struct Case {
    const char* Template;
    const char* Expected;
  };
  // Letters without a range ("D".."F", unknown ones, a "$" at the end) become
  // 0. The character after a "$" is its letter whatever it is, so in "$$D"
  // the second "$" is consumed as the letter and "D" stays as it is.
  const Case cases[] = {{"$D+$E*$F", "0+0*0"}, {"$q+1", "0+1"}, {"7-$", "7-0"},
                        {"$$D", "0D"},         {"12", "12"},    {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(maker_.FillPlaceholders(c.Template, 1), c.Expected);
}

TEST_F(TaskMakerTest, PlaceholdersAreDrawnLeftToRightEachOnItsOwn) {
  engine::SetRandomSeed(7);
  const std::int32_t a = maker_.Draw(2, 'A'), b = maker_.Draw(2, 'B'), c = maker_.Draw(2, 'C');
  engine::SetRandomSeed(7);
  EXPECT_EQ(maker_.FillPlaceholders("$A+$B-$C", 2),
            std::to_string(a) + "+" + std::to_string(b) + "-" + std::to_string(c));
  // The quotient draws its divisor first, then the factor.
  engine::SetRandomSeed(7);
  const std::int32_t divisor = maker_.Draw(0, 'C'), factor = maker_.Draw(0, 'B');
  engine::SetRandomSeed(7);
  EXPECT_EQ(maker_.MakeQuotient(0),
            std::to_string(divisor * factor) + "/" + std::to_string(divisor));
}

TEST(AcceptableValues, Table) {
  struct Case {
    engine::Extended Value;
    TLevel Level;
    bool Acceptable;
  };
  const Case cases[] = {{0, 0, true},       {12, 1, true},        {-1, 1, false},
                        {-390, 2, true},    {2.5L, 2, false},     {-0.5L, 2, false},
                        {1e-19L, 0, false}, {INFINITY, 2, false}, {NAN, 2, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(TaskMaker::IsAcceptable(c.Value, c.Level), c.Acceptable)
        << static_cast<double>(c.Value);
  }
}

}  // namespace
}  // namespace numora
