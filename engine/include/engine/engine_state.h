// The engine's process-wide status values. They are thread_local: one thread
// sees exactly the process-wide behaviour, and threads that each own a parser
// do not disturb each other.
#pragma once

#include <string>

#include "engine/extended.h"

namespace engine {

// True while the running analysis or evaluation has not failed.
extern thread_local bool EvalOk;
// A routine's error or warning text; the interpreter moves it into the
// caller's message after each operator and function.
extern thread_local std::string PendingMessage;
// The message of a constant's evaluation while compiling, also written by
// CheckParentheses.
extern thread_local std::string ConstantMessage;
// Nesting depth of constant evaluation inside the compiler.
extern thread_local int ConstantDepth;
// The value of the constant E; set to e whenever a TParserDeclarations is
// created.
extern thread_local Extended EngineE;

// Messages shared by several stages.
inline constexpr const char* MsgGeneral =
    "Function is not defined for the given argument\n\ror division by zero";
inline constexpr const char* MsgWrongOperand = "Missing or Wrong Operand";

// Reports an error the way every routine does: message, and the run fails.
inline void FailWith(const char* message) {
  PendingMessage = message;
  EvalOk = false;
}

// Floating-point failures (invalid operation, division by zero, overflow) are
// read from the <cfenv> flags. A run clears them once at its start and tests
// them after each operator and function; underflow and inexact never count.
void ClearFloatingPointFailures();
bool FloatingPointFailed();

}  // namespace engine
