// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The term compiler: a normalised, expanded term into a postfix program.
#pragma once

#include <string>
#include <vector>

#include "engine/extended.h"
#include "engine/program_format.h"
#include "engine/run_context.h"

namespace engine {

// Compiles term into buffer (records 1..count, record count+1 of kind ikEnd).
// constants holds lines NAME=term; varNames may be null (a constant's term).
// Returns the compile code: scSuccess, or scCannotAnalyse, scSyntaxError,
// scRecursiveCall, scMissingOperand or scNaN with message set;
// context.Ok is false after a failure. Declared constants are evaluated with
// the same context.
int CompileTerm(RunContext& context, const std::string& term, std::string& message,
                TProgram& buffer, const std::vector<std::string>& constants,
                const std::vector<std::string>* varNames, Extended angleFactor, int& count);

}  // namespace engine
