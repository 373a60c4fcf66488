/* SPDX-FileCopyrightText: 2026 The Zelv developers */
/* SPDX-License-Identifier: MIT */
/**
 * @file
 * The engine's C interface, for C programs and for bindings from other
 * languages: compile a term with named variables into an opaque expression,
 * evaluate it for one point or a batch of points, free it.
 *
 * C89 and later, and C++. Values cross the interface as double; the engine
 * computes in the 80-bit extended format and rounds each result once.
 * Nothing here calls back into the caller or keeps state between calls
 * except the expression itself. An expression never changes after it is
 * compiled and may be evaluated from several threads at once; only
 * engine_free must not run while another call uses the same expression.
 * The host's floating-point environment is kept as in engine/expression.h:
 * its flags stay, no failure flag is added, its control settings are back
 * after each call and change no result.
 *
 * Example:
 * @code
 *   const char* names[] = {"x", "y"};
 *   double point[] = {0.5, 0.25};
 *   double value;
 *   engine_error error;
 *   engine_expression* e = engine_compile("sin(x)*cos(y)", names, 2, NULL, &error);
 *   if (e == NULL) {
 *     printf("error %d at %ld: %s\n", error.code, error.position, error.message);
 *   } else if (engine_evaluate(e, point, 2, &value, &error) == ENGINE_OK) {
 *     printf("%g\n", value);
 *   }
 *   engine_free(e);
 * @endcode
 */
#ifndef ENGINE_ENGINE_C_H
#define ENGINE_ENGINE_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Error codes; the same numbers as engine::ErrorCode in engine/expression.h. */
enum engine_error_code {
  /** No error. */
  ENGINE_OK = 0,
  /** The parentheses do not balance. */
  ENGINE_WRONG_PARENTHESES = 1,
  /** An empty term, one too long for the program buffer, or one that cannot
      be analysed for another reason. */
  ENGINE_CANNOT_ANALYSE = 2,
  /** An undefined function, an unknown name, or operands and operators that
      do not fit together (x==y, (2)3). */
  ENGINE_SYNTAX_ERROR = 3,
  /** A declared function that calls itself or is called with too few
      arguments. */
  ENGINE_RECURSIVE_CALL = 4,
  /** An operator without its operand. */
  ENGINE_MISSING_OPERAND = 5,
  /** The evaluation failed: outside a function's domain, a division by zero,
      an overflow, a NaN result. */
  ENGINE_CANNOT_EVALUATE = 7,
  /** The term contains the constant NAN. */
  ENGINE_NAN_CONSTANT = 8,
  /** A variable name, constant or function declaration the engine refuses. */
  ENGINE_INVALID_DECLARATION = 16,
  /** Arguments that do not fit the expression (wrong count, NULL pointers). */
  ENGINE_WRONG_ARGUMENT = 17,
  /** Memory ran out. */
  ENGINE_OUT_OF_MEMORY = 18
};

/** Units of angles of the trigonometric functions. */
enum engine_angle_mode {
  /** Radians (the default). */
  ENGINE_RADIANS = 0,
  /** Degrees: a full turn is 360. */
  ENGINE_DEGREES = 1,
  /** Gradians: a full turn is 400. */
  ENGINE_GRADIANS = 2
};

/** Size of engine_error's message buffer, terminating zero included. */
#define ENGINE_MESSAGE_SIZE 256

/** A failure: code, one-line message, position in the term text. */
typedef struct engine_error {
  /** One of enum engine_error_code. */
  int code;
  /** 0-based byte offset of the fault in the compiled text, or -1 when the
      engine cannot tell (and for every evaluation error). */
  long position;
  /** The engine's message as one line, zero-terminated; cut to fit. */
  char message[ENGINE_MESSAGE_SIZE];
} engine_error;

/** What a compilation may use besides the term and its variables. A zeroed
    struct (or NULL instead of one) means radians, no declarations and
    machine code where the platform allows. */
typedef struct engine_options {
  /** One of enum engine_angle_mode; any other value is refused with
      ENGINE_WRONG_ARGUMENT. */
  int angle_mode;
  /** User constants, lines NAME=term; constant_count of them. */
  const char* const* constants;
  /** Number of entries of constants. */
  size_t constant_count;
  /** User functions, lines NAME(A;B)=term; function_count of them. */
  const char* const* functions;
  /** Number of entries of functions. */
  size_t function_count;
  /** Non-zero: never turn the expression into machine code (the results are
      the same; see engine::CompileOptions::machine_code and the environment
      variable ZELV_ENGINE_NO_MACHINE_CODE). */
  int no_machine_code;
} engine_options;

/** A compiled term (opaque). */
typedef struct engine_expression engine_expression;

/**
 * Compiles text with variable_count variables named by variables, in the
 * order their values will be given. options may be NULL. Returns the
 * expression, to be released with engine_free, or NULL with *error filled
 * in (error may be NULL when the caller does not want the details).
 */
engine_expression* engine_compile(const char* text, const char* const* variables,
                                  size_t variable_count, const engine_options* options,
                                  engine_error* error);

/**
 * Evaluates expression for one point: values holds count values, one per
 * variable. On success stores the value in *result and returns ENGINE_OK;
 * otherwise returns the error code and fills in *error (which may be NULL).
 */
int engine_evaluate(const engine_expression* expression, const double* values, size_t count,
                    double* result, engine_error* error);

/**
 * Evaluates expression for a batch of points in one call: columns holds
 * column_count pointers, one column per variable, each with points values.
 * results and status receive points entries each: the value (0 after a
 * failure) and the point's code (ENGINE_OK or ENGINE_CANNOT_EVALUATE), the
 * same as engine_evaluate gives for that point. *failures (when not NULL)
 * receives the number of failed points. Returns ENGINE_OK, or an error code
 * with *error filled in when the arguments do not fit (nothing is written
 * then).
 */
int engine_evaluate_bulk(const engine_expression* expression, const double* const* columns,
                         size_t column_count, size_t points, double* results, unsigned char* status,
                         size_t* failures, engine_error* error);

/** The number of variables of expression (values a point needs). */
size_t engine_variable_count(const engine_expression* expression);

/** Releases expression; NULL is allowed. */
void engine_free(engine_expression* expression);

#ifdef __cplusplus
}
#endif

#endif /* ENGINE_ENGINE_C_H */
