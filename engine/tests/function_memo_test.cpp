// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// A function call answered from the batch memo must be indistinguishable from
// computing it: the same value bit for bit, the same failure, warning and
// floating-point flags.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_state.h"
#include "engine/function_memo.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/term_text.h"

namespace engine {
namespace {

int Code(std::string_view name) {
  for (int code = 1; code <= FunctionCount; ++code) {
    if (FunctionName(code) == name) return code;
  }
  ADD_FAILURE() << "no function " << name;
  return 0;
}

struct Outcome {
  ExtendedBytes bits;
  bool ok;
  std::string pending;
  bool flags;
};

Outcome Call(RunContext& context, int code, Extended x) {
  ClearFloatingPointFailures();
  context.Ok = true;
  context.Pending.clear();
  const Extended value = FunctionValue(context, code, std::span<const Extended>(&x, 1), 1);
  return {BitsOf(value), context.Ok, context.Pending, FloatingPointFailed()};
}

TEST(FunctionMemoTest, RememberedCallsReportWhatComputedCallsReport) {
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  // Successes, domain failures, overflows, warnings (SI, CI) and errors (J0
  // is fine, FAC of a fraction fails with a message).
  const std::vector<std::pair<const char*, std::vector<Extended>>> cases = {
      {"SIN(", {0.5L, -0.0L, 1e300L, inf, nan}},
      {"COS(", {0.5L, 1e4000L, -inf}},
      {"LN(", {2.0L, 0.0L, -1.0L, inf}},
      {"EXP(", {1.0L, 20000.0L, -inf}},
      {"SI(", {1.0L, 1e30L}},
      {"CI(", {1.0L, 1e30L}},
      {"FAC(", {5.0L, 2.5L}},
      {"GAMMA(", {0.5L, -1.0L}},
      {"ARCSIN(", {0.5L, 2.0L}},
  };
  for (const auto& [name, arguments] : cases) {
    const int code = Code(name);
    for (const Extended x : arguments) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(static_cast<double>(x)));
      RunContext plain;
      const Outcome expected = Call(plain, code, x);
      RunContext batch;
      FunctionMemo memo;
      batch.Memo = &memo;
      for (int round = 0; round < 3; ++round) {
        const Outcome actual = Call(batch, code, x);
        EXPECT_EQ(actual.bits, expected.bits);
        EXPECT_EQ(actual.ok, expected.ok);
        EXPECT_EQ(actual.pending, expected.pending);
        EXPECT_EQ(actual.flags, expected.flags);
      }
      const bool clean = expected.ok && expected.pending.empty() && !expected.flags;
      EXPECT_EQ(memo.Size(), clean ? 1U : 0U);
    }
  }
  ClearFloatingPointFailures();
}

TEST(FunctionMemoTest, RandomFunctionsDrawAtEveryCall) {
  RunContext batch;
  FunctionMemo memo;
  batch.Memo = &memo;
  const Outcome first = Call(batch, Code("RND("), 1.0L);
  const Outcome second = Call(batch, Code("RND("), 1.0L);
  EXPECT_FALSE(first.bits == second.bits);
  EXPECT_EQ(memo.Size(), 0U);
}

TEST(FunctionMemoTest, KeepsManyArgumentsApartAndStopsWhenFull) {
  RunContext batch;
  FunctionMemo memo;
  batch.Memo = &memo;
  const int sin = Code("SIN(");
  const int cos = Code("COS(");
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 6000; ++i) {
      const Extended x = -5 + i / 1000.0L;
      ASSERT_EQ(Call(batch, sin, x).bits, BitsOf(std::sin(x)));
      ASSERT_EQ(Call(batch, cos, x).bits, BitsOf(std::cos(x)));
    }
  }
  EXPECT_LE(memo.Size(), 4096U);
  EXPECT_GE(memo.Size(), 4000U);
  ClearFloatingPointFailures();
}

}  // namespace
}  // namespace engine
