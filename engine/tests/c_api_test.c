/* SPDX-FileCopyrightText: 2026 The Zelv developers */
/* SPDX-License-Identifier: MIT */
/* The C interface from C: compile errors with code, message and position;
   single and batch evaluation; NULL arguments. Prints each failed check and
   exits with 1 when there was one. */
#include <stdio.h>
#include <string.h>

#include "engine/engine_c.h"

static int failures = 0;

static void check(int condition, const char* what, int line) {
  if (!condition) {
    printf("c_api_test.c:%d: %s\n", line, what);
    ++failures;
  }
}
#define CHECK(condition) check((condition) != 0, #condition, __LINE__)

struct compile_case {
  const char* text;
  int code;
  long position;
};

static void compile_errors(void) {
  static const struct compile_case cases[] = {
      {"x==y", ENGINE_SYNTAX_ERROR, 2},      {"(2)3", ENGINE_SYNTAX_ERROR, 3},
      {"(x+1", ENGINE_WRONG_PARENTHESES, 0}, {"x+foo(y)", ENGINE_SYNTAX_ERROR, 2},
      {"2*", ENGINE_MISSING_OPERAND, 1},     {"", ENGINE_CANNOT_ANALYSE, -1}};
  const char* names[] = {"x", "y"};
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    engine_error error;
    engine_expression* e = engine_compile(cases[i].text, names, 2, NULL, &error);
    CHECK(e == NULL);
    CHECK(error.code == cases[i].code);
    CHECK(error.position == cases[i].position);
    CHECK(strlen(error.message) > 0);
    CHECK(strchr(error.message, '\n') == NULL && strchr(error.message, '\r') == NULL);
    if (error.code != cases[i].code || error.position != cases[i].position) {
      printf("  term \"%s\": code %d at %ld: %s\n", cases[i].text, error.code, error.position,
             error.message);
    }
  }
  CHECK(engine_compile(NULL, names, 2, NULL, NULL) == NULL);
}

static void evaluation(void) {
  const char* names[] = {"x", "y"};
  const char* functions[] = {"SQ(A)=A*A"};
  engine_options options;
  engine_error error;
  engine_expression* e;
  double point[2];
  double value = -1;
  memset(&options, 0, sizeof options);
  options.angle_mode = ENGINE_DEGREES;
  options.functions = functions;
  options.function_count = 1;
  e = engine_compile("sq(x)/y + cos(180)", names, 2, &options, &error);
  CHECK(e != NULL);
  if (e == NULL) return;
  CHECK(engine_variable_count(e) == 2);
  point[0] = 3;
  point[1] = 2;
  CHECK(engine_evaluate(e, point, 2, &value, &error) == ENGINE_OK);
  CHECK(value == 3.5);
  point[1] = 0;
  CHECK(engine_evaluate(e, point, 2, &value, &error) == ENGINE_CANNOT_EVALUATE);
  CHECK(error.code == ENGINE_CANNOT_EVALUATE && error.position == -1);
  CHECK(strchr(error.message, '\n') == NULL && strlen(error.message) > 0);
  CHECK(engine_evaluate(e, point, 1, &value, &error) == ENGINE_WRONG_ARGUMENT);
  CHECK(engine_evaluate(e, NULL, 2, &value, NULL) == ENGINE_WRONG_ARGUMENT);
  CHECK(engine_evaluate(NULL, point, 2, &value, NULL) == ENGINE_WRONG_ARGUMENT);
  engine_free(e);
  engine_free(NULL);
  options.angle_mode = 3;
  CHECK(engine_compile("x", names, 2, &options, &error) == NULL);
  CHECK(error.code == ENGINE_WRONG_ARGUMENT);
}

static void bulk(void) {
  const char* names[] = {"x", "y"};
  double xs[6] = {1, 2, 3, 1, 2, 3};
  double ys[6] = {1, 1, 1, 2, 2, 2};
  const double* columns[2];
  double results[6];
  unsigned char status[6];
  size_t failed = 99;
  size_t i;
  engine_error error;
  engine_expression* e = engine_compile("sin(x)/(x-y)", names, 2, NULL, &error);
  CHECK(e != NULL);
  if (e == NULL) return;
  columns[0] = xs;
  columns[1] = ys;
  CHECK(engine_evaluate_bulk(e, columns, 2, 6, results, status, &failed, &error) == ENGINE_OK);
  CHECK(failed == 2);
  for (i = 0; i < 6; ++i) {
    double point[2];
    double single = 0;
    int code;
    point[0] = xs[i];
    point[1] = ys[i];
    code = engine_evaluate(e, point, 2, &single, NULL);
    CHECK(status[i] == code);
    CHECK(results[i] == (code == ENGINE_OK ? single : 0));
  }
  CHECK(engine_evaluate_bulk(e, columns, 1, 6, results, status, NULL, &error) ==
        ENGINE_WRONG_ARGUMENT);
  CHECK(engine_evaluate_bulk(e, columns, 2, 6, NULL, status, NULL, NULL) == ENGINE_WRONG_ARGUMENT);
  engine_free(e);
}

/* A batch longer than the layer's blocks of codes, without machine code and
   with it: every point as engine_evaluate gives it. */
static void long_bulk(void) {
  const char* names[] = {"x"};
  static double xs[700];
  static double results[700];
  static unsigned char status[700];
  const double* columns[1];
  engine_options options;
  size_t failed = 99;
  size_t i;
  int machine_code;
  for (i = 0; i < 700; ++i) xs[i] = (double)(i % 50) * 0.25 - 3;
  columns[0] = xs;
  for (machine_code = 0; machine_code < 2; ++machine_code) {
    engine_expression* e;
    memset(&options, 0, sizeof options);
    options.no_machine_code = !machine_code;
    e = engine_compile("(x+1)*(x-1)/(x+2)", names, 1, &options, NULL);
    CHECK(e != NULL);
    if (e == NULL) return;
    CHECK(engine_evaluate_bulk(e, columns, 1, 700, results, status, &failed, NULL) == ENGINE_OK);
    CHECK(failed == 14); /* x = -2 */
    for (i = 0; i < 700; ++i) {
      double single = 0;
      const int code = engine_evaluate(e, &xs[i], 1, &single, NULL);
      CHECK(status[i] == code);
      CHECK(results[i] == (code == ENGINE_OK ? single : 0));
    }
    engine_free(e);
  }
}

int main(void) {
  compile_errors();
  evaluation();
  bulk();
  long_bulk();
  if (failures == 0) printf("c_api_test: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
