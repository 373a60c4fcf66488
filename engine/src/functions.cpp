// Built-in functions are not available yet: every call fails the run cleanly.
#include "engine/engine_state.h"
#include "engine/interpreter.h"

namespace engine {

void ApplyFunction(TMachine& machine, int /*code*/) {
  FailWith(MsgGeneral);
  *machine.Message = PendingMessage;
  PendingMessage.clear();
}

}  // namespace engine
