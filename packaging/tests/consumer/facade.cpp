// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Compiles each argument as a term in x and y with the facade and prints its
// value at (2, 3), then a batch at (1, 3), (2, 3), (3, 3), "undefined" for a
// failed point; or "error <code> at <position>", one line per term.
#include <engine/expression.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const auto expression = engine::Expression::Compile(argv[i], {"x", "y"});
    if (!expression) {
      const engine::Error& error = expression.error();
      std::printf("error %d at %ld\n", static_cast<int>(error.code),
                  error.position ? static_cast<long>(*error.position) : -1L);
      status = 1;
      continue;
    }
    const auto single = expression->Evaluate({2.0L, 3.0L});
    const std::vector<long double> xs = {1, 2, 3}, ys = {3, 3, 3};
    std::vector<long double> values(3);
    std::vector<engine::ErrorCode> codes(3);
    if (!single || !expression->EvaluateBulk({xs, ys}, values, codes)) return 2;
    std::printf("%.21Lg", *single);
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (codes[k] == engine::ErrorCode::kOk) {
        std::printf(" %.21Lg", values[k]);
      } else {
        std::printf(" undefined");
      }
    }
    std::printf("\n");
  }
  return status;
}
