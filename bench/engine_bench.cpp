// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine against muparser, in one binary and one run:
//   analyse + evaluate: SetTerm + Evaluate against SetExpr + Eval, per term;
//   evaluate only: the scientific terms compiled once, evaluated with
//   changing variable values.
// Both engines must agree on every term before anything is timed. Google
// Benchmark's own report goes to stderr; the comparison table goes to stdout.
// The time per operation is the smallest CPU time over the repetitions, which
// keeps other processes on the machine out of the figures as far as possible.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cfenv>
#include <cstdio>
#include <iostream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "bench_terms.h"
#include "engine/host_fp_env.h"
#include "engines.h"
#include "table.h"

namespace bench {
namespace {

constexpr const char* kAnalyseEvaluate = "analyse+evaluate";
constexpr const char* kEvaluateOnly = "evaluate only";

// Side is EngineSide or MuparserSide: the same loop times both engines.
template <class Side>
void AnalyseEvaluate(benchmark::State& state, std::string term) {
  Side side;
  for (auto _ : state) {
    side.SetTerm(term);
    benchmark::DoNotOptimize(side.Evaluate());
  }
}

template <class Side>
void EvaluateOnly(benchmark::State& state, std::string term) {
  Side side;
  side.SetTerm(term);
  benchmark::DoNotOptimize(side.Evaluate());  // muparser compiles on the first Eval
  const auto points = VarPoints();
  std::size_t next = 0;
  for (auto _ : state) {
    side.SetXY(points[next].X, points[next].Y);
    next = (next + 1) % points.size();
    benchmark::DoNotOptimize(side.Evaluate());
  }
}

// The ceiling for the arithmetic-only terms: the same loop with the term
// written in C++, in long double (the engine's precision) and in double
// (muparser's). Written as the engine computes it: x^3 as x*(x*x).
struct DifferenceOfSquares {
  static constexpr const char* kTerm = "(X+Y)*(X-Y)/(X*X+1)";
  template <class T>
  static T Value(T x, T y) {
    return (x + y) * (x - y) / (x * x + 1);
  }
};

struct Cubic {
  static constexpr const char* kTerm = "2.5*X^3-4*X^2+0.5*X-7";
  template <class T>
  static T Value(T x, T) {
    return T(2.5) * (x * (x * x)) - 4 * (x * x) + T(0.5) * x - 7;
  }
};

template <class Term, class T>
void HandWritten(benchmark::State& state) {
  const auto points = VarPoints();
  std::size_t next = 0;
  for (auto _ : state) {
    const T x = points[next].X;
    const T y = points[next].Y;
    next = (next + 1) % points.size();
    benchmark::DoNotOptimize(Term::template Value<T>(x, y));
  }
}

struct HandWrittenRow {
  const char* Term;
  void (*LongDouble)(benchmark::State&);
  void (*Double)(benchmark::State&);
};

constexpr HandWrittenRow kHandWrittenRows[] = {
    {DifferenceOfSquares::kTerm, HandWritten<DifferenceOfSquares, long double>,
     HandWritten<DifferenceOfSquares, double>},
    {Cubic::kTerm, HandWritten<Cubic, long double>, HandWritten<Cubic, double>},
};

std::string HandWrittenName(std::size_t row, bool longDouble) {
  return "hand-written/" + std::to_string(row) + (longDouble ? "/long-double" : "/double");
}

void RegisterHandWrittenBenchmarks() {
  for (std::size_t row = 0; row < std::size(kHandWrittenRows); ++row) {
    benchmark::RegisterBenchmark(HandWrittenName(row, true).c_str(),
                                 kHandWrittenRows[row].LongDouble)
        ->Unit(benchmark::kNanosecond);
    benchmark::RegisterBenchmark(HandWrittenName(row, false).c_str(), kHandWrittenRows[row].Double)
        ->Unit(benchmark::kNanosecond);
  }
}

// The guard around every entry point that computes, in its forms, around
// one long double division that raises the inexact flag as nearly every
// evaluation does. With the host's flags clear the engine's guard has nothing
// to write back; with an overflow the host raised before, it clears the
// failure flags for the engine and raises the host's again on exit.
struct NoGuard {};

// What <cfenv> offers without conditions: save and restore every time.
class CfenvAlwaysGuard {
 public:
  CfenvAlwaysGuard() {
    std::fegetexceptflag(&flags_, FE_ALL_EXCEPT);
    rounding_ = std::fegetround();
  }
  ~CfenvAlwaysGuard() {
    std::fesetexceptflag(&flags_, FE_ALL_EXCEPT);
    std::fesetround(rounding_);
  }
  CfenvAlwaysGuard(const CfenvAlwaysGuard&) = delete;
  CfenvAlwaysGuard& operator=(const CfenvAlwaysGuard&) = delete;

 private:
  std::fexcept_t flags_{};
  int rounding_ = FE_TONEAREST;
};

// The engine's guard as an evaluation by the fast form without routines
// holds it: narrow, and settled once the run has succeeded.
class NarrowGuard {
 public:
  ~NarrowGuard() { guard_.Settled(); }

 private:
  engine::FpEnvGuard guard_{engine::FpEnvGuard::X87Arithmetic};
};

template <class Guard>
void GuardedDivision(benchmark::State& state, bool hostOverflow) {
  volatile long double dividend = 1;
  volatile long double divisor = 3;
  std::feclearexcept(FE_ALL_EXCEPT);
  if (hostOverflow) {
    volatile long double big = std::numeric_limits<long double>::max();
    big = big * big;
  }
  for (auto _ : state) {
    [[maybe_unused]] const Guard guard;
    benchmark::DoNotOptimize(dividend / divisor);
  }
  std::feclearexcept(FE_ALL_EXCEPT);
}

struct GuardRow {
  const char* Name;
  void (*Function)(benchmark::State&, bool);
};

constexpr GuardRow kGuardRows[] = {
    {"no guard (the division alone)", GuardedDivision<NoGuard>},
    {"<cfenv> save and restore always", GuardedDivision<CfenvAlwaysGuard>},
    {"<cfenv> test, write back on change", GuardedDivision<engine::PortableFpEnvGuard>},
    {"direct (the engine's), write back on change", GuardedDivision<engine::FpEnvGuard>},
    {"direct, x87 arithmetic only (fast form)", GuardedDivision<NarrowGuard>},
};

std::string GuardBenchmarkName(std::size_t row, bool hostOverflow) {
  return "fpenv-guard/" + std::to_string(row) +
         (hostOverflow ? "/overflow-raised" : "/flags-clear");
}

void RegisterGuardBenchmarks() {
  for (std::size_t row = 0; row < std::size(kGuardRows); ++row) {
    for (const bool hostOverflow : {false, true}) {
      benchmark::RegisterBenchmark(GuardBenchmarkName(row, hostOverflow).c_str(),
                                   kGuardRows[row].Function, hostOverflow)
          ->Unit(benchmark::kNanosecond);
    }
  }
}

// Keeps the fastest CPU time per benchmark and passes everything on to the
// console reporter.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text: the report goes to a log file.
  CollectingReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      double& best =
          fastest_.try_emplace(run.run_name.function_name, std::numeric_limits<double>::infinity())
              .first->second;
      best = std::min(best, run.GetAdjustedCPUTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Nanoseconds per operation, or 0 when the benchmark did not run.
  double Fastest(const std::string& name) const {
    const auto found = fastest_.find(name);
    return found == fastest_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> fastest_;
};

struct Pending {
  Row Result;
  std::string EngineName;
  std::string MuparserName;
};

// Registers the engine and muparser benchmarks of one term, engine first, so
// that the two run next to each other.
Pending Register(const char* workload, const char* set, std::size_t index, const TermPair& term,
                 void (*engineFn)(benchmark::State&, std::string),
                 void (*muparserFn)(benchmark::State&, std::string)) {
  char prefix[96];
  std::snprintf(prefix, sizeof prefix, "%s/%s/%02zu/", workload, set, index);
  Pending pending{{workload, set, term.Engine, term.ArithmeticOnly, 0, 0},
                  std::string(prefix) + "engine",
                  std::string(prefix) + "muparser"};
  benchmark::RegisterBenchmark(pending.EngineName.c_str(), engineFn, std::string(term.Engine))
      ->Unit(benchmark::kNanosecond);
  benchmark::RegisterBenchmark(pending.MuparserName.c_str(), muparserFn, std::string(term.Muparser))
      ->Unit(benchmark::kNanosecond);
  return pending;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  using namespace bench;
  if (!EnginesAgree()) {
    std::fprintf(stderr, "The engines disagree; nothing was timed.\n");
    return 2;
  }
  std::printf("Both engines agree on all %zu trainer and %zu scientific terms (%zu points).\n\n",
              TrainerTerms().size(), ScientificTerms().size(), VarPoints().size());

  std::vector<Pending> pending;
  for (std::size_t i = 0; i < TrainerTerms().size(); ++i) {
    pending.push_back(Register(kAnalyseEvaluate, "trainer", i, TrainerTerms()[i],
                               AnalyseEvaluate<EngineSide>, AnalyseEvaluate<MuparserSide>));
  }
  for (std::size_t i = 0; i < ScientificTerms().size(); ++i) {
    pending.push_back(Register(kAnalyseEvaluate, "scientific", i, ScientificTerms()[i],
                               AnalyseEvaluate<EngineSide>, AnalyseEvaluate<MuparserSide>));
  }
  for (std::size_t i = 0; i < ScientificTerms().size(); ++i) {
    pending.push_back(Register(kEvaluateOnly, "scientific", i, ScientificTerms()[i],
                               EvaluateOnly<EngineSide>, EvaluateOnly<MuparserSide>));
  }

  RegisterHandWrittenBenchmarks();
  RegisterGuardBenchmarks();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::vector<Row> rows;
  for (Pending& entry : pending) {
    entry.Result.EngineNs = reporter.Fastest(entry.EngineName);
    entry.Result.MuparserNs = reporter.Fastest(entry.MuparserName);
    // A filter on the command line may have left a side out.
    if (entry.Result.EngineNs > 0 && entry.Result.MuparserNs > 0) rows.push_back(entry.Result);
  }
  const int missed = PrintTable(rows);
  std::printf("%d engine target(s) missed.\n", missed);

  std::printf("\nevaluate only, the ceiling: the arithmetic terms written in C++ (ns per point)\n");
  std::printf("  %-24s %12s %8s %8s %9s %12s %12s\n", "term", "long double", "double", "engine",
              "muparser", "muparser/LD", "engine/LD");
  for (std::size_t i = 0; i < std::size(kHandWrittenRows); ++i) {
    const double longDouble = reporter.Fastest(HandWrittenName(i, true));
    const double plain = reporter.Fastest(HandWrittenName(i, false));
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const Row& row) {
      return row.Workload == kEvaluateOnly && row.Term == kHandWrittenRows[i].Term;
    });
    if (longDouble <= 0 || plain <= 0 || found == rows.end()) continue;
    std::printf("  %-24s %12.1f %8.1f %8.1f %9.1f %12.2f %12.2f\n", kHandWrittenRows[i].Term,
                longDouble, plain, found->EngineNs, found->MuparserNs,
                found->MuparserNs / longDouble, found->EngineNs / longDouble);
  }

  std::printf("\nhost floating-point environment guard, ns per guarded long double division:\n");
  std::printf("  %-46s %14s %16s\n", "guard", "host flags clear", "host overflow");
  for (std::size_t row = 0; row < std::size(kGuardRows); ++row) {
    const double clear = reporter.Fastest(GuardBenchmarkName(row, false));
    const double raised = reporter.Fastest(GuardBenchmarkName(row, true));
    if (clear > 0 || raised > 0) {
      std::printf("  %-46s %14.1f %16.1f\n", kGuardRows[row].Name, clear, raised);
    }
  }
  return 0;
}
