// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc's command line.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "options.h"

namespace termcalc {
namespace {

using Args = std::vector<std::string_view>;
using Lines = std::vector<std::string>;

TEST(ParseArguments, DefaultsWithoutOptions) {
  const ParseResult r = ParseArguments({});
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.options.angle, engine::RAD);
  EXPECT_TRUE(r.options.constants.empty());
  EXPECT_TRUE(r.options.functions.empty());
  EXPECT_TRUE(r.options.variables.empty());
  EXPECT_FALSE(r.options.seed.has_value());
  EXPECT_TRUE(r.options.terms.empty());
  EXPECT_FALSE(r.options.help);
}

TEST(ParseArguments, OptionsKeepTheirOrderAndMayStandAnywhere) {
  const ParseResult r =
      ParseArguments({"1+2", "--const", "G=9.81", "--func", "F(A)=A", "--angle", "gon", "x",
                      "--const", "H=2", "--func", "G(B)=B", "--seed", "7", "--angle", "deg"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.constants, (Lines{"G=9.81", "H=2"}));
  EXPECT_EQ(r.options.functions, (Lines{"F(A)=A", "G(B)=B"}));
  EXPECT_EQ(r.options.terms, (Lines{"1+2", "x"}));
  EXPECT_EQ(r.options.angle, engine::DEG);  // the last one counts
  EXPECT_EQ(r.options.seed, 7u);
}

TEST(ParseArguments, TermsThatLookLikeOptions) {
  struct Case {
    Args args;
    Lines terms;
  };
  const Case cases[] = {
      {{"-3"}, {"-3"}},
      {{"-"}, {"-"}},
      {{"--", "--angle", "--"}, {"--angle", "--"}},
      {{"", "--seed", "1", "--", "-x"}, {"", "-x"}},
  };
  for (const Case& c : cases) {
    const ParseResult r = ParseArguments(c.args);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.options.terms, c.terms);
  }
}

TEST(ParseArguments, Variables) {
  const ParseResult r = ParseArguments(
      {"--var", "a", "--var", "b=-1.5e2", "--var", " c # note =3", "--var", "d=+.5"});
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.options.variables.size(), 4u);
  EXPECT_EQ(r.options.variables[0].name, "a");
  EXPECT_EQ(r.options.variables[0].value, 0);
  EXPECT_EQ(r.options.variables[1].name, "b");
  EXPECT_EQ(r.options.variables[1].value, -150);
  EXPECT_EQ(r.options.variables[2].name, " c # note ");
  EXPECT_EQ(r.options.variables[2].value, 3);
  EXPECT_EQ(r.options.variables[3].value, 0.5L);
}

TEST(ParseArguments, SeedRange) {
  struct Case {
    std::string_view text;
    bool ok;
    std::uint32_t seed;
  };
  const Case cases[] = {
      {"0", true, 0},
      {"4294967295", true, 4294967295u},
      {"0004294967295", false, 0},  // more than ten digits
      {"4294967296", false, 0},
      {"99999999999", false, 0},
      {"-1", false, 0},
      {"+1", false, 0},
      {"1.0", false, 0},
      {"", false, 0},
      {"12a", false, 0},
  };
  for (const Case& c : cases) {
    const ParseResult r = ParseArguments({"--seed", c.text});
    EXPECT_EQ(r.error.empty(), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(r.options.seed, c.seed);
    }
  }
}

TEST(ParseArguments, DigitsRange) {
  struct Case {
    std::string_view text;
    int digits;  // 0: refused
  };
  const Case cases[] = {
      {"1", 1},   {"21", 21}, {"07", 7}, {"0", 0}, {"22", 0},
      {"100", 0}, {"-1", 0},  {"", 0},   {"x", 0},
  };
  for (const Case& c : cases) {
    const ParseResult r = ParseArguments({"--digits", c.text, "1"});
    EXPECT_EQ(r.error.empty(), c.digits != 0) << c.text;
    if (c.digits != 0) {
      EXPECT_EQ(r.options.digits, c.digits) << c.text;
    }
  }
  EXPECT_EQ(ParseArguments({"1"}).options.digits, 0);
}

TEST(ParseArguments, UsageErrors) {
  struct Case {
    Args args;
    std::string error;
  };
  const Case cases[] = {
      {{"--frob"}, "unknown option '--frob'"},
      {{"--angle=deg"}, "unknown option '--angle=deg'"},
      {{"--Angle", "deg"}, "unknown option '--Angle'"},
      {{"1", "--angle"}, "option '--angle' needs a value"},
      {{"--const"}, "option '--const' needs a value"},
      {{"--func"}, "option '--func' needs a value"},
      {{"--var"}, "option '--var' needs a value"},
      {{"--seed"}, "option '--seed' needs a value"},
      {{"--angle", "DEG"}, "angle unit must be rad, deg or gon, not 'DEG'"},
      {{"--angle", ""}, "angle unit must be rad, deg or gon, not ''"},
      {{"--angle", "d\neg"}, "angle unit must be rad, deg or gon, not 'd\\neg'"},
      {{"--var", "x="}, "variable value must be a finite number in 'x='"},
      {{"--var", "x=1,5"}, "variable value must be a finite number in 'x=1,5'"},
      {{"--var", "x=1e99999"}, "variable value must be a finite number in 'x=1e99999'"},
      {{"--var", "x=pi"}, "variable value must be a finite number in 'x=pi'"},
      {{"--seed", "x"}, "seed must be a whole number from 0 to 4294967295, not 'x'"},
      // The first fault is reported, even before --help.
      {{"--bad", "--help"}, "unknown option '--bad'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseArguments(c.args).error, c.error) << c.error;
  }
}

TEST(ParseArguments, HelpAnywhere) {
  EXPECT_TRUE(ParseArguments({"1", "--help"}).options.help);
  EXPECT_FALSE(ParseArguments({"--", "--help"}).options.help);
}

TEST(Usage, IsOneLineAndHelpStartsWithTheSameSynopsis) {
  const std::string usage = kUsage;
  EXPECT_EQ(usage.find('\n'), std::string::npos);
  const std::string help = kHelp;
  EXPECT_EQ(help.back(), '\n');
  // The help's synopsis is the usage, wrapped after "--func LINE]...".
  std::string synopsis = help.substr(0, help.find("\n       termcalc --help"));
  const std::size_t wrap = synopsis.find("\n                ");
  ASSERT_NE(wrap, std::string::npos);
  synopsis.replace(wrap, 17, " ");
  EXPECT_EQ("u" + synopsis.substr(1), usage);
  for (std::string_view line : {"  --angle", "  --const", "  --func", "  --var", "  --seed",
                                "  --digits", "  --help", "  --  "}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace termcalc
