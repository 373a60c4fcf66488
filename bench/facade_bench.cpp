// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The embedders' facade (engine::Expression) against the engine's own parser
// loop, in one process:
//   - one point at a time: Expression::Evaluate against TTermParser's
//     SetVarValue + Evaluate on the same term, the two loops interleaved,
//     the median of five runs each;
//   - batches over double and long double columns: ns per point for 1,024
//     and for 8 points a call;
//   - memory per compiled expression: 10,000 different formulas of about 20
//     characters, compiled and evaluated once, counted by mallinfo2 (heap)
//     plus the executable memory the engine maps itself.
// Usage: bench_facade [points per run, default 2000000]
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/expression.h"
#include "engine/parser.h"

namespace {

// The thread's CPU time: on a machine shared with other work, wall time
// would count the time slices of others.
struct Clock {
  using time_point = double;
  static double now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
  }
};

double NsSince(double start, double count) {
  return (Clock::now() - start) / count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Keeps a value alive without a store the compiler could drop.
volatile long double sink;

struct PerPoint {
  double Expression = 0;
  double Parser = 0;
};

PerPoint PerPointTimes(const char* term, long points) {
  const auto expression = engine::Expression::Compile(term, {"x"});
  if (!expression) std::abort();
  engine::TParserDeclarations declarations;
  declarations.SetVarNames({"X"});
  engine::TTermParser parser;
  parser.SetDeclarations(&declarations);
  parser.SetTerm(term);
  if (parser.AnalysisCode() != 0) std::abort();
  // Warm up both past the machine code's threshold.
  for (long i = 0; i < 40000; ++i) {
    const long double x = 0.001L * static_cast<long double>(i % 1000);
    sink = *expression->Evaluate({x});
    parser.SetVarValue(0, x);
    sink = parser.Evaluate();
  }
  std::vector<double> facade;
  std::vector<double> own;
  for (int run = 0; run < 5; ++run) {
    Clock::time_point start = Clock::now();
    long double sum = 0;
    for (long i = 0; i < points; ++i) {
      const long double x = 0.001L * static_cast<long double>(i & 1023);
      sum += *expression->Evaluate({x});
    }
    facade.push_back(NsSince(start, static_cast<double>(points)));
    start = Clock::now();
    for (long i = 0; i < points; ++i) {
      parser.SetVarValue(0, 0.001L * static_cast<long double>(i & 1023));
      sum += parser.Evaluate();
    }
    own.push_back(NsSince(start, static_cast<double>(points)));
    sink = sum;
  }
  return {Median(facade), Median(own)};
}

template <class Value>
double BatchTime(const engine::Expression& expression, std::size_t batch, long points) {
  std::vector<Value> xs(batch);
  std::vector<Value> results(batch);
  std::vector<engine::ErrorCode> status(batch);
  const long calls = std::max(1L, points / static_cast<long>(batch));
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    const Clock::time_point start = Clock::now();
    for (long c = 0; c < calls; ++c) {
      // Every point a value of its own, in short and long batches alike:
      // no batch reuses a function's result.
      for (std::size_t i = 0; i < batch; ++i) {
        xs[i] = static_cast<Value>(1e-4) *
                static_cast<Value>((c * static_cast<long>(batch) + static_cast<long>(i)) % 60000);
      }
      const engine::Span<const Value> column(xs.data(), batch);
      if (!expression.EvaluateBulk({column}, engine::Span<Value>(results.data(), batch),
                                   engine::Span<engine::ErrorCode>(status.data(), batch))) {
        std::abort();
      }
    }
    times.push_back(NsSince(start, static_cast<double>(calls) * static_cast<double>(batch)));
  }
  sink = results[0];
  return Median(times);
}

// Bytes of anonymous executable mappings: the engine's code arena.
std::size_t ExecutableBytes() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  std::size_t bytes = 0;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode >> path;
    if (perms.size() < 3 || perms[2] != 'x' || !path.empty()) continue;
    const std::size_t dash = range.find('-');
    bytes += std::stoull(range.substr(dash + 1), nullptr, 16) -
             std::stoull(range.substr(0, dash), nullptr, 16);
  }
  return bytes;
}

void MemoryPerExpression() {
  constexpr int kFormulas = 10000;
  std::vector<std::string> texts;
  std::size_t characters = 0;
  for (int i = 0; i < kFormulas; ++i) {
    // About 20 characters, every one different.
    texts.push_back("(x+" + std::to_string(i) + ")*(x-1)/(x*x+2)");
    characters += texts.back().size();
  }
  std::vector<engine::Expression> expressions;
  expressions.reserve(kFormulas);
  const std::size_t heapBefore = mallinfo2().uordblks;
  const std::size_t codeBefore = ExecutableBytes();
  for (const std::string& text : texts) {
    auto expression = engine::Expression::Compile(text, {"x"});
    if (!expression) std::abort();
    sink = *expression->Evaluate({0.5L});
    expressions.push_back(std::move(*expression));
  }
  const std::size_t heap = mallinfo2().uordblks - heapBefore;
  const std::size_t code = ExecutableBytes() - codeBefore;
  std::printf(
      "memory per expression: %.0f bytes (heap %.0f + own mappings %.0f), formulas of %.1f "
      "characters, %d of them\n",
      static_cast<double>(heap + code) / kFormulas, static_cast<double>(heap) / kFormulas,
      static_cast<double>(code) / kFormulas, static_cast<double>(characters) / kFormulas,
      kFormulas);
}

}  // namespace

int main(int argc, char** argv) {
  const long points = argc > 1 ? std::atol(argv[1]) : 2000000;
  std::printf("per point, ns (median of 5, loops interleaved)\n");
  std::printf("%-28s %12s %12s %8s\n", "term", "Expression", "TTermParser", "ratio");
  for (const char* term : {"(x+1)*(x-1)/(x*x+1)", "x^3-2*x^2+0.5*x-7", "sin(x)*cos(x)+x^2"}) {
    const PerPoint t = PerPointTimes(term, points);
    std::printf("%-28s %12.1f %12.1f %8.2f\n", term, t.Expression, t.Parser,
                t.Expression / t.Parser);
  }
  std::printf("\nbatches, ns per point (median of 5)\n");
  std::printf("%-28s %10s %10s %10s %10s\n", "term", "ld 1024", "ld 8", "double 1024", "double 8");
  for (const char* term : {"(x+1)*(x-1)/(x*x+1)", "sin(x)*cos(x)+x^2"}) {
    const auto expression = engine::Expression::Compile(term, {"x"});
    if (!expression) return 1;
    std::printf("%-28s %10.1f %10.1f %10.1f %10.1f\n", term,
                BatchTime<long double>(*expression, 1024, points),
                BatchTime<long double>(*expression, 8, points),
                BatchTime<double>(*expression, 1024, points),
                BatchTime<double>(*expression, 8, points));
  }
  std::printf("\n");
  MemoryPerExpression();
  return 0;
}
