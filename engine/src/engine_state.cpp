// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/engine_state.h"

#include <cfenv>

#include "engine/run_context.h"

namespace engine {

RunContext& ThreadRunContext() {
  thread_local RunContext context;
  return context;
}

#if !(defined(__x86_64__) && defined(__GNUC__))
namespace {
constexpr int kFailureFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void ClearFloatingPointFailures() {
  std::feclearexcept(FE_ALL_EXCEPT);
}

bool FloatingPointFailed() {
  return std::fetestexcept(kFailureFlags) != 0;
}
#endif

}  // namespace engine
