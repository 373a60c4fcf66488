// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The status codes that analysis and evaluation report (EvalError,
// AnalysisCode, the results of Analyse and Compute). The values are part of
// the interface: callers store and compare them as bytes.
#pragma once

#include <cstdint>

namespace engine {

enum TStatusCode : std::uint8_t {
  scSuccess = 0,
  // Analyse: the parentheses do not balance.
  scWrongParentheses = 1,
  // Analyse or compiler: an empty or invalid term, a full program buffer, or
  // an exception while compiling.
  scCannotAnalyse = 2,
  // Compiler: an undefined function, an unknown name or a syntax error.
  scSyntaxError = 3,
  // Analyse: a recursive or unknown call of a declared function; inside the
  // compiler also a declared constant that cannot be evaluated.
  scRecursiveCall = 4,
  // Compiler: an operator without its operand.
  scMissingOperand = 5,
  // Compute before any successful analysis.
  scNotAnalysed = 6,
  // Compute: the program's run failed, or no value could be computed.
  scCannotEvaluate = 7,
  // Compiler: the constant NAN; Evaluate returns EngineNaN.
  scNaN = 8,
  // SetTerm without declarations.
  scNoDeclarations = 9,
};

}  // namespace engine
