// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The engine used from several threads the way an embedder would: one
// declarations object shared by parsers that each belong to one thread, the
// random functions in every thread, and one compiled expression evaluated by
// all threads at once. The ThreadSanitizer build of this test (tests/tsan)
// turns every data race into a failure; the ordinary builds check the values.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../src/fast_program.h"
#include "engine/expression.h"
#include "engine/extended.h"
#include "engine/parser.h"
#include "engine/random.h"

namespace engine {
namespace {

constexpr int kThreads = 8;

// What one evaluation gave.
struct Outcome {
  Extended value = 0;
  std::uint8_t code = 0;
  friend bool operator==(const Outcome& a, const Outcome& b) {
    return a.code == b.code && BitsOf(a.value) == BitsOf(b.value);
  }
};

// Runs work(0) .. work(kThreads - 1), each in a thread of its own, started
// together.
void RunInThreads(const std::function<void(int)>& work) {
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int i = 0; i < kThreads; ++i) threads.emplace_back(work, i);
  for (std::thread& thread : threads) thread.join();
}

void Declare(TParserDeclarations& declarations) {
  declarations.SetFunctions({"SQ(A)=A*A", "HYP(A;B)=SQRT(SQ(A)+SQ(B))"});
  declarations.SetConstants({"G=9.81", "G2=G*G"});
  declarations.SetVarNames({"a", "b"});
}

// Terms that reach every part of the declarations: expanded functions, a
// constant that needs another one, variables, failures at analysis and at
// evaluation.
const std::array<const char*, 6> kTerms = {
    "HYP(a;b)+G2", "(SQ(a)-b) mod (3)", "sin(a)*cos(b)/(a-b)", "1/(a-a)", "FOO(a)", "a**",
};
// Variable values; thread i starts at pair i % 3.
const std::array<std::array<Extended, 2>, 3> kValues = {{{3, 4}, {-1.5L, 2.25L}, {1E10L, 7}}};

Outcome EvaluateOnce(TTermParser& parser, const char* term, const std::array<Extended, 2>& values) {
  parser.SetTerm(term);
  parser.SetVarValue("a", values[0]);
  parser.SetVarValue(1, values[1]);
  Outcome outcome;
  outcome.value = parser.Evaluate();
  outcome.code = parser.EvalError();
  return outcome;
}

// expected[pair][term], from one parser on one thread with declarations of
// its own.
using Table = std::array<std::array<Outcome, kTerms.size()>, kValues.size()>;
Table ExpectedTable() {
  TParserDeclarations declarations;
  Declare(declarations);
  TTermParser parser;
  parser.SetDeclarations(&declarations);
  Table table;
  for (std::size_t p = 0; p < kValues.size(); ++p) {
    for (std::size_t t = 0; t < kTerms.size(); ++t) {
      table[p][t] = EvaluateOnce(parser, kTerms[t], kValues[p]);
    }
  }
  return table;
}

// Each thread makes parsers again and again (attaching and detaching them
// while the others evaluate), prepares, analyses and evaluates every term,
// and counts the results that differ from the single-threaded ones.
void SharedDeclarationsCase(bool preparedBeforehand) {
  const Table expected = ExpectedTable();
  ASSERT_EQ(expected[0][0].code, 0);
  ASSERT_EQ(expected[0][3].code, 7);
  ASSERT_EQ(expected[0][4].code, 3);

  TParserDeclarations shared;
  Declare(shared);
  if (preparedBeforehand) {
    TTermParser first;
    EXPECT_TRUE(shared.Prepare(first));
  }
  std::array<int, kThreads> wrong{};
  std::array<int, kThreads> preparedBadly{};
  RunInThreads([&](int thread) {
    for (int round = 0; round < 20; ++round) {
      auto parser = std::make_unique<TTermParser>();
      parser->SetDeclarations(&shared);
      if (!shared.Prepare(*parser) || parser->VarCount() != 2) ++preparedBadly[thread];
      // A second parser on the same thread, dropped halfway.
      auto other = std::make_unique<TTermParser>();
      other->SetDeclarations(&shared);
      for (std::size_t step = 0; step < 2 * kTerms.size(); ++step) {
        const std::size_t pair = (static_cast<std::size_t>(thread) + step) % kValues.size();
        const std::size_t term = step % kTerms.size();
        TTermParser& user = step % 2 == 0 || !other ? *parser : *other;
        if (!(EvaluateOnce(user, kTerms[term], kValues[pair]) == expected[pair][term])) {
          ++wrong[thread];
        }
        // The second evaluation of an analysed term takes the fast path.
        const Extended again = user.Evaluate();
        if (BitsOf(again) != BitsOf(expected[pair][term].value)) ++wrong[thread];
        if (step == kTerms.size()) other.reset();
      }
    }
  });
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(wrong[i], 0) << "thread " << i;
    EXPECT_EQ(preparedBadly[i], 0) << "thread " << i;
  }
  EXPECT_EQ(shared.ChangedLists(), 0);
  EXPECT_EQ(shared.DeclarationErrors(), "");
}

TEST(Threads, ParsersShareDeclarationsPreparedBeforehand) {
  SharedDeclarationsCase(true);
}

// Nobody prepared the declarations before the threads start: the first
// preparation happens in all of them at once.
TEST(Threads, ParsersShareDeclarationsPreparedByTheFirstUse) {
  SharedDeclarationsCase(false);
}

// Destroying the declarations detaches every parser left, whichever thread
// attached it.
TEST(Threads, DestroyedDeclarationsForgetParsersOfEveryThread) {
  std::vector<std::unique_ptr<TTermParser>> parsers(kThreads);
  auto shared = std::make_unique<TParserDeclarations>();
  RunInThreads([&](int thread) {
    parsers[static_cast<std::size_t>(thread)] = std::make_unique<TTermParser>();
    parsers[static_cast<std::size_t>(thread)]->SetDeclarations(shared.get());
  });
  shared.reset();
  for (const auto& parser : parsers) {
    EXPECT_EQ(parser->Declarations(), nullptr);
    parser->SetTerm("1");
    EXPECT_EQ(parser->EvalError(), scNoDeclarations);
  }
}

// Each thread has its own generator: a thread that seeds it draws exactly the
// sequence a single thread draws from that seed, whatever the others do.
TEST(Threads, RandomFunctionsDrawPerThreadSequences) {
  const std::array<const char*, 3> terms = {"RAND(0;1)", "RND(6)", "NORMRAND(0;1)"};
  constexpr int kDraws = 50;
  auto draw = [&](std::uint32_t seed, TParserDeclarations& declarations) {
    TTermParser parser;
    parser.SetDeclarations(&declarations);
    SetRandomSeed(seed);
    std::vector<Outcome> outcomes;
    for (int i = 0; i < kDraws; ++i) {
      for (const char* term : terms) {
        parser.SetTerm(term);
        outcomes.push_back({parser.Evaluate(), parser.EvalError()});
      }
    }
    return outcomes;
  };
  auto seedOf = [](int thread) { return 1000U + static_cast<std::uint32_t>(thread) * 7919U; };

  std::vector<std::vector<Outcome>> expected;
  {
    TParserDeclarations own;
    for (int i = 0; i < kThreads; ++i) expected.push_back(draw(seedOf(i), own));
  }
  ASSERT_NE(expected[0], expected[1]);

  TParserDeclarations shared;
  std::vector<std::vector<Outcome>> drawn(kThreads);
  RunInThreads(
      [&](int thread) { drawn[static_cast<std::size_t>(thread)] = draw(seedOf(thread), shared); });
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_TRUE(drawn[static_cast<std::size_t>(i)] == expected[static_cast<std::size_t>(i)])
        << "thread " << i;
  }
}

// One compiled expression (and a copy of it) evaluated from every thread at
// once, point by point and in batches: each thread gets exactly the values
// and failures of a single thread.
TEST(Threads, OneExpressionEvaluatesInEveryThread) {
  CompileOptions options;
  options.functions = {"HYP(A;B)=SQRT(A*A+B*B)"};
  options.constants = {"G=9.81"};
  const Result<Expression> compiled =
      Expression::Compile("sin(x)*cos(y)/(x-y)+HYP(x;y)*G", {"x", "y"}, options);
  ASSERT_TRUE(compiled.has_value()) << compiled.error().message;
  const Expression& shared = *compiled;
  const Expression copy = shared;

  constexpr std::size_t kPoints = 64;
  std::vector<long double> xs(kPoints);
  std::vector<long double> ys(kPoints);
  for (std::size_t i = 0; i < kPoints; ++i) {
    xs[i] = static_cast<long double>(i) * 0.25L - 4;
    ys[i] = i % 9 == 0 ? xs[i] : 1.5L - static_cast<long double>(i) * 0.125L;  // x = y fails
  }
  std::vector<Outcome> expected(kPoints);
  for (std::size_t i = 0; i < kPoints; ++i) {
    const Result<long double> value = shared.Evaluate({xs[i], ys[i]});
    expected[i] =
        value ? Outcome{*value, 0} : Outcome{0, static_cast<std::uint8_t>(value.error().code)};
  }
  ASSERT_EQ(expected[9].code, static_cast<std::uint8_t>(ErrorCode::kCannotEvaluate));
  ASSERT_EQ(expected[1].code, 0);

  std::array<int, kThreads> wrong{};
  RunInThreads([&](int thread) {
    const Expression& expression = thread % 2 == 0 ? shared : copy;
    std::vector<long double> results(kPoints);
    std::vector<ErrorCode> status(kPoints);
    for (int round = 0; round < 10; ++round) {
      for (std::size_t i = 0; i < kPoints; ++i) {
        const Result<long double> value = expression.Evaluate({xs[i], ys[i]});
        const Outcome got =
            value ? Outcome{*value, 0} : Outcome{0, static_cast<std::uint8_t>(value.error().code)};
        if (!(got == expected[i])) ++wrong[static_cast<std::size_t>(thread)];
      }
      const Result<std::size_t> failures = expression.EvaluateBulk({xs, ys}, results, status);
      if (!failures) {
        ++wrong[static_cast<std::size_t>(thread)];
        continue;
      }
      for (std::size_t i = 0; i < kPoints; ++i) {
        if (!(Outcome{results[i], static_cast<std::uint8_t>(status[i])} == expected[i])) {
          ++wrong[static_cast<std::size_t>(thread)];
        }
      }
    }
  });
  for (int i = 0; i < kThreads; ++i)
    EXPECT_EQ(wrong[static_cast<std::size_t>(i)], 0) << "thread " << i;
}

// One expression of plain arithmetic, shared and copied, evaluated from every
// thread while it turns into machine code: the threads race to count its
// runs, to make the code and to close its page, and each evaluation still
// gives the step loop's value, point by point and in batches of doubles.
TEST(Threads, OneExpressionTurnsIntoMachineCodeWhileThreadsRunIt) {
  FastProgram::SetRunsBeforeMachineCodeForTesting(50);
  const Result<Expression> compiled = Expression::Compile("(x+1)*(x-1)/(x*x+y*y+1)", {"x", "y"});
  FastProgram::SetRunsBeforeMachineCodeForTesting(0);
  ASSERT_TRUE(compiled.has_value());
  const Expression& shared = *compiled;
  const Expression copy = shared;
  const auto expected = [](long double x, long double y) {
    return (x + 1) * (x - 1) / (x * x + y * y + 1);
  };

  std::array<int, kThreads> wrong{};
  RunInThreads([&](int thread) {
    const Expression& expression = thread % 2 == 0 ? shared : copy;
    std::array<double, 8> xs{}, ys{}, results{};
    std::array<ErrorCode, 8> status{};
    for (int i = 0; i < 2000; ++i) {
      const long double x = 0.25L * static_cast<long double>((i + thread) % 17) - 2;
      const long double y = 0.5L * static_cast<long double>(i % 5);
      const Result<long double> value = expression.Evaluate({x, y});
      if (!value || BitsOf(*value) != BitsOf(expected(x, y)))
        ++wrong[static_cast<std::size_t>(thread)];
      if (i % 4 != 0) continue;
      for (std::size_t k = 0; k < xs.size(); ++k) {
        xs[k] = 0.125 * static_cast<double>(k + static_cast<std::size_t>(i % 9));
        ys[k] = -0.5 * static_cast<double>(k);
      }
      const Result<std::size_t> failures = expression.EvaluateBulk({xs, ys}, results, status);
      if (!failures || *failures != 0) {
        ++wrong[static_cast<std::size_t>(thread)];
        continue;
      }
      for (std::size_t k = 0; k < xs.size(); ++k) {
        if (results[k] != static_cast<double>(expected(xs[k], ys[k]))) {
          ++wrong[static_cast<std::size_t>(thread)];
        }
      }
    }
  });
  for (int i = 0; i < kThreads; ++i)
    EXPECT_EQ(wrong[static_cast<std::size_t>(i)], 0) << "thread " << i;
}

}  // namespace
}  // namespace engine
