// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// What every stage of the engine shares: the messages of more than one stage
// and the test for floating-point failures. The status of a run lives in its
// RunContext (run_context.h).
#pragma once

#include "engine/extended.h"

namespace engine {

// Messages shared by several stages.
inline constexpr const char* MsgGeneral =
    "Function is not defined for the given argument\n\ror division by zero";
inline constexpr const char* MsgWrongOperand = "Missing or Wrong Operand";

// Floating-point failures (invalid operation, division by zero, overflow) are
// read from the floating-point status flags. A run clears them once at its
// start and tests them after each operator and function that can fail;
// underflow and inexact never count.
#if defined(__x86_64__) && defined(__GNUC__)
// The <cfenv> functions are calls into the C library, and clearing there
// stores and reloads the whole x87 environment. Both units' flags are read and
// cleared directly instead: the x87 status word (long double arithmetic) and
// MXCSR (the C library raises some failures with SSE instructions). The bits
// are the same in both: invalid 0x01, division by zero 0x04, overflow 0x08;
// the low six bits are all the exception flags.
inline void ClearFloatingPointFailures() {
  unsigned int csr = 0;
  __asm__ __volatile__("fnclex\n\tstmxcsr %0" : "=m"(csr) : : "memory");
  csr &= ~0x3FU;
  __asm__ __volatile__("ldmxcsr %0" : : "m"(csr) : "memory");
}

inline bool FloatingPointFailed() {
  unsigned short status = 0;
  unsigned int csr = 0;
  __asm__ __volatile__("fnstsw %0\n\tstmxcsr %1" : "=am"(status), "=m"(csr) : : "memory");
  return ((status | csr) & 0x0DU) != 0;
}
#else
void ClearFloatingPointFailures();
bool FloatingPointFailed();
#endif

}  // namespace engine
