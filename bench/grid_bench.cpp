// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A plot's workload: a term in x and y over a 1000 x 1000 grid on [-5, 5]^2,
// row by row. The engine evaluates the grid in one batch through the facade
// (engine::Expression::EvaluateBulk); muparser, in double, in the loop its
// users write (set the bound variables, Eval, store). Also shown: the facade
// one point at a time, and the batch over the same number of scattered
// points, where no coordinate repeats.
//   bench_grid [REPETITIONS]   prints ns per point, the fastest of the runs
#include <muParser.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "engine/expression.h"

namespace {

constexpr std::size_t kSide = 1000;
constexpr std::size_t kPoints = kSide * kSide;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The fastest of repetitions runs of work, in ns per point.
double Fastest(int repetitions, const std::function<void()>& work) {
  double best = std::numeric_limits<double>::infinity();
  for (int r = 0; r < repetitions; ++r) {
    const double start = ThreadSeconds();
    work();
    best = std::min(best, ThreadSeconds() - start);
  }
  return best * 1e9 / static_cast<double>(kPoints);
}

struct Grid {
  std::vector<double> x, y;
  std::vector<long double> xl, yl;
};

Grid MakeGrid(bool scattered) {
  Grid grid;
  grid.x.resize(kPoints);
  grid.y.resize(kPoints);
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> coordinate(-5, 5);
  for (std::size_t row = 0; row < kSide; ++row) {
    for (std::size_t column = 0; column < kSide; ++column) {
      const std::size_t i = row * kSide + column;
      grid.x[i] = scattered ? coordinate(random) : -5 + 10.0 * column / (kSide - 1);
      grid.y[i] = scattered ? coordinate(random) : -5 + 10.0 * row / (kSide - 1);
    }
  }
  grid.xl.assign(grid.x.begin(), grid.x.end());
  grid.yl.assign(grid.y.begin(), grid.y.end());
  return grid;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const Grid grid = MakeGrid(false);
  const Grid scattered = MakeGrid(true);
  std::printf("%-22s %12s %12s %12s %15s %12s\n", "term", "engine bulk", "muparser", "mup./engine",
              "engine single", "bulk, scatt.");
  for (const char* term : {"(x+y)*(x-y)/(x*x+1)", "sin(x)*cos(y)/(x-y)"}) {
    const auto expression = engine::Expression::Compile(term, {"x", "y"});
    if (!expression) {
      std::fprintf(stderr, "%s: %s\n", term, expression.error().message.c_str());
      return 1;
    }
    std::vector<long double> values(kPoints);
    std::vector<engine::ErrorCode> status(kPoints);
    const double bulk = Fastest(repetitions, [&] {
      if (!expression->EvaluateBulk({grid.xl, grid.yl}, values, status)) std::abort();
    });
    const double single = Fastest(1, [&] {
      for (std::size_t i = 0; i < kPoints; ++i) {
        values[i] = expression->Evaluate({grid.xl[i], grid.yl[i]}).value_or(0);
      }
    });
    const double bulkScattered = Fastest(repetitions, [&] {
      if (!expression->EvaluateBulk({scattered.xl, scattered.yl}, values, status)) std::abort();
    });

    // The batch once more, to compare its values with muparser's below.
    if (!expression->EvaluateBulk({grid.xl, grid.yl}, values, status)) return 1;
    mu::Parser parser;
    double x = 0;
    double y = 0;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.SetExpr(term);
    std::vector<double> theirs(kPoints);
    const double muparser = Fastest(repetitions, [&] {
      for (std::size_t i = 0; i < kPoints; ++i) {
        x = grid.x[i];
        y = grid.y[i];
        theirs[i] = parser.Eval();
      }
    });
    std::size_t disagreements = 0;
    for (std::size_t i = 0; i < kPoints; ++i) {
      if (status[i] != engine::ErrorCode::kOk) continue;
      const double ours = static_cast<double>(values[i]);
      if (std::fabs(ours - theirs[i]) > 1e-9 * std::max(1.0, std::fabs(ours))) ++disagreements;
    }
    std::printf("%-22s %12.1f %12.1f %12.2f %15.1f %12.1f\n", term, bulk, muparser, muparser / bulk,
                single, bulkScattered);
    if (disagreements != 0) {
      std::fprintf(stderr, "%s: %zu points disagree with muparser\n", term, disagreements);
      return 1;
    }
  }
  return 0;
}
