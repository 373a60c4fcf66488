/* SPDX-FileCopyrightText: 2026 The Zelv developers */
/* SPDX-License-Identifier: MIT */
/* The facade consumer's work through the C interface: each argument as a
   term in x and y, its value at (2, 3), then a batch at (1, 3), (2, 3),
   (3, 3); or "error <code> at <position>", one line per term. */
#include <engine/engine_c.h>
#include <stdio.h>

int main(int argc, char** argv) {
  const char* names[] = {"x", "y"};
  double xs[] = {1, 2, 3};
  double ys[] = {3, 3, 3};
  const double* columns[2];
  double point[2];
  double values[3];
  unsigned char codes[3];
  int status = 0;
  int i;
  columns[0] = xs;
  columns[1] = ys;
  point[0] = 2;
  point[1] = 3;
  for (i = 1; i < argc; ++i) {
    engine_error error;
    double single = 0;
    int k;
    engine_expression* expression = engine_compile(argv[i], names, 2, NULL, &error);
    if (expression == NULL) {
      printf("error %d at %ld\n", error.code, error.position);
      status = 1;
      continue;
    }
    if (engine_evaluate(expression, point, 2, &single, &error) != ENGINE_OK ||
        engine_evaluate_bulk(expression, columns, 2, 3, values, codes, NULL, &error) != ENGINE_OK) {
      engine_free(expression);
      return 2;
    }
    printf("%.17g", single);
    for (k = 0; k < 3; ++k) {
      if (codes[k] == ENGINE_OK) {
        printf(" %.17g", values[k]);
      } else {
        printf(" undefined");
      }
    }
    printf("\n");
    engine_free(expression);
  }
  return status;
}
