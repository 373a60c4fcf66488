#include "engine/engine_state.h"

#include <cfenv>
#include <cmath>

namespace engine {

thread_local bool EvalOk = true;
thread_local std::string PendingMessage;
thread_local std::string ConstantMessage;
thread_local int ConstantDepth = 0;
thread_local Extended EngineE = std::exp(1.0L);

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
