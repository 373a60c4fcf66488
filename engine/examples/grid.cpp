// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// An embedder's program: a user's formula in x and y over an n x n grid on
// [-5, 5]^2, then one formula evaluated from four threads at once.
//   engine_grid_example [FORMULA [N]]
#include <engine/expression.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  const std::string formula = argc > 1 ? argv[1] : "sin(x)*cos(y)/(x-y)";
  const std::size_t n = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
  auto expression = engine::Expression::Compile(formula, {"x", "y"});
  if (!expression) {
    const engine::Error& error = expression.error();
    std::fprintf(stderr, "%s (at %zu)\n", error.message.c_str(), error.position.value_or(0));
    return 1;
  }

  // The grid as two columns, one entry per point, row by row.
  std::vector<long double> xs(n * n), ys(n * n), values(n * n);
  std::vector<engine::ErrorCode> status(n * n);
  for (std::size_t row = 0; row < n; ++row) {
    for (std::size_t column = 0; column < n; ++column) {
      xs[row * n + column] = -5 + 10.0L * column / (n - 1);
      ys[row * n + column] = -5 + 10.0L * row / (n - 1);
    }
  }
  const auto undefined = expression->EvaluateBulk({xs, ys}, values, status);
  if (!undefined) return 1;
  long double sum = 0;
  for (std::size_t i = 0; i < values.size(); ++i) sum += values[i];
  std::printf("%zu points, %zu undefined, sum %.10Lg\n", n * n, *undefined, sum);

  // One compiled formula shared by several threads, a point at a time.
  std::vector<long double> sums(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < sums.size(); ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = t; i < xs.size(); i += sums.size()) {
        sums[t] += expression->Evaluate({xs[i], ys[i]}).value_or(0);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::printf("threads: sum %.10Lg\n", sums[0] + sums[1] + sums[2] + sums[3]);
  return 0;
}
