// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The C interface: a thin layer over engine::Expression. Values cross it as
// double; nothing throws through it.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "engine/engine_c.h"
#include "engine/expression.h"

// The C codes are engine::ErrorCode's numbers; the layer casts between them.
static_assert(ENGINE_OK == static_cast<int>(engine::ErrorCode::kOk));
static_assert(ENGINE_WRONG_PARENTHESES == static_cast<int>(engine::ErrorCode::kWrongParentheses));
static_assert(ENGINE_CANNOT_ANALYSE == static_cast<int>(engine::ErrorCode::kCannotAnalyse));
static_assert(ENGINE_SYNTAX_ERROR == static_cast<int>(engine::ErrorCode::kSyntaxError));
static_assert(ENGINE_RECURSIVE_CALL == static_cast<int>(engine::ErrorCode::kRecursiveCall));
static_assert(ENGINE_MISSING_OPERAND == static_cast<int>(engine::ErrorCode::kMissingOperand));
static_assert(ENGINE_CANNOT_EVALUATE == static_cast<int>(engine::ErrorCode::kCannotEvaluate));
static_assert(ENGINE_NAN_CONSTANT == static_cast<int>(engine::ErrorCode::kNaNConstant));
static_assert(ENGINE_INVALID_DECLARATION ==
              static_cast<int>(engine::ErrorCode::kInvalidDeclaration));
static_assert(ENGINE_WRONG_ARGUMENT == static_cast<int>(engine::ErrorCode::kWrongArgument));
static_assert(ENGINE_OUT_OF_MEMORY == static_cast<int>(engine::ErrorCode::kOutOfMemory));

struct engine_expression {
  engine::Expression expression;
};

namespace {

void Report(engine_error* error, const engine::Error& from) {
  if (error == nullptr) return;
  error->code = static_cast<int>(from.code);
  error->position = from.position ? static_cast<long>(*from.position) : -1L;
  const std::size_t length = std::min(from.message.size(), std::size_t{ENGINE_MESSAGE_SIZE - 1});
  std::memcpy(error->message, from.message.data(), length);
  error->message[length] = '\0';
}

int Report(engine_error* error, engine::ErrorCode code, const char* message) {
  engine::Error from;
  from.code = code;
  try {
    from.message = message;
  } catch (...) {
    // The code alone then.
  }
  Report(error, from);
  return static_cast<int>(code);
}

void Clear(engine_error* error) {
  if (error == nullptr) return;
  error->code = ENGINE_OK;
  error->position = -1;
  error->message[0] = '\0';
}

// A list of C strings as the facade takes it; a null entry counts as empty.
std::vector<std::string> Lines(const char* const* lines, std::size_t count) {
  std::vector<std::string> result;
  result.reserve(count);
  for (std::size_t i = 0; i < count; ++i) result.emplace_back(lines[i] != nullptr ? lines[i] : "");
  return result;
}

}  // namespace

extern "C" {

engine_expression* engine_compile(const char* text, const char* const* variables,
                                  size_t variable_count, const engine_options* options,
                                  engine_error* error) {
  if (text == nullptr || (variable_count > 0 && variables == nullptr) ||
      (options != nullptr && ((options->constant_count > 0 && options->constants == nullptr) ||
                              (options->function_count > 0 && options->functions == nullptr)))) {
    Report(error, engine::ErrorCode::kWrongArgument, "A required pointer is NULL");
    return nullptr;
  }
  if (options != nullptr &&
      (options->angle_mode < ENGINE_RADIANS || options->angle_mode > ENGINE_GRADIANS)) {
    Report(error, engine::ErrorCode::kWrongArgument, "Unknown angle mode");
    return nullptr;
  }
  try {
    engine::CompileOptions compileOptions;
    if (options != nullptr) {
      compileOptions.angle_mode = static_cast<engine::AngleMode>(options->angle_mode);
      compileOptions.constants = Lines(options->constants, options->constant_count);
      compileOptions.functions = Lines(options->functions, options->function_count);
      compileOptions.machine_code = options->no_machine_code == 0;
    }
    auto compiled =
        engine::Expression::Compile(text, Lines(variables, variable_count), compileOptions);
    if (!compiled) {
      Report(error, compiled.error());
      return nullptr;
    }
    auto* handle = new (std::nothrow) engine_expression{std::move(*compiled)};
    if (handle == nullptr) {
      Report(error, engine::ErrorCode::kOutOfMemory, "Out of memory");
      return nullptr;
    }
    Clear(error);
    return handle;
  } catch (...) {
    Report(error, engine::ErrorCode::kOutOfMemory, "Out of memory");
    return nullptr;
  }
}

int engine_evaluate(const engine_expression* expression, const double* values, size_t count,
                    double* result, engine_error* error) {
  if (expression == nullptr || result == nullptr || (count > 0 && values == nullptr)) {
    return Report(error, engine::ErrorCode::kWrongArgument, "A required pointer is NULL");
  }
  // Up to this many variables the point's values stay on the stack.
  constexpr std::size_t kOnStack = 16;
  long double local[kOnStack];
  std::vector<long double> heap;
  long double* point = local;
  try {
    if (count > kOnStack) {
      heap.resize(count);
      point = heap.data();
    }
  } catch (...) {
    return Report(error, engine::ErrorCode::kOutOfMemory, "Out of memory");
  }
  for (std::size_t i = 0; i < count; ++i) point[i] = values[i];
  const auto value = expression->expression.Evaluate(engine::Values(point, count));
  if (!value) {
    Report(error, value.error());
    return static_cast<int>(value.error().code);
  }
  *result = static_cast<double>(*value);
  Clear(error);
  return ENGINE_OK;
}

int engine_evaluate_bulk(const engine_expression* expression, const double* const* columns,
                         size_t column_count, size_t points, double* results, unsigned char* status,
                         size_t* failures, engine_error* error) {
  if (expression == nullptr || (column_count > 0 && columns == nullptr) ||
      (points > 0 && (results == nullptr || status == nullptr))) {
    return Report(error, engine::ErrorCode::kWrongArgument, "A required pointer is NULL");
  }
  for (std::size_t v = 0; v < column_count; ++v) {
    if (points > 0 && columns[v] == nullptr) {
      return Report(error, engine::ErrorCode::kWrongArgument, "A required pointer is NULL");
    }
  }
  if (column_count != expression->expression.VariableCount()) {
    return Report(error, engine::ErrorCode::kWrongArgument,
                  "The number of columns is not the number of variables");
  }
  try {
    // The doubles go straight through; only the codes pass a small array of
    // the facade's type, block by block.
    constexpr std::size_t kBlock = 256;
    engine::ErrorCode codes[kBlock];
    std::vector<const double*> heap;
    const double* local[16] = {};
    const double** blockColumns = local;
    if (column_count > 16) {
      heap.resize(column_count);
      blockColumns = heap.data();
    }
    std::size_t failed = 0;
    for (std::size_t first = 0; first < points; first += kBlock) {
      const std::size_t n = std::min(kBlock, points - first);
      for (std::size_t v = 0; v < column_count; ++v) blockColumns[v] = columns[v] + first;
      const auto outcome = expression->expression.EvaluateBulk(blockColumns, column_count, n,
                                                               results + first, codes);
      if (!outcome) {
        Report(error, outcome.error());
        return static_cast<int>(outcome.error().code);
      }
      failed += *outcome;
      for (std::size_t i = 0; i < n; ++i) status[first + i] = static_cast<unsigned char>(codes[i]);
    }
    if (failures != nullptr) *failures = failed;
    Clear(error);
    return ENGINE_OK;
  } catch (...) {
    return Report(error, engine::ErrorCode::kOutOfMemory, "Out of memory");
  }
}

size_t engine_variable_count(const engine_expression* expression) {
  return expression != nullptr ? expression->expression.VariableCount() : 0;
}

void engine_free(engine_expression* expression) {
  delete expression;
}

}  // extern "C"
