// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The compiled program: the contract between the compiler, which writes it,
// and the interpreter, which runs it. Data only.
#pragma once

#include <array>
#include <cstdint>

#include "engine/extended.h"

namespace engine {

enum TInstructionKind : std::uint8_t {
  ikEnd = 0,
  ikNumber = 1,
  ikVariable = 2,
  ikOperator = 3,
  ikFunction = 4,
};

struct TInstruction {
  Extended Value = 0;          // ikNumber: the number pushed
  std::uint8_t Kind = ikEnd;   // a TInstructionKind
  std::uint16_t Priority = 0;  // binding strength while compiling; 0 in operand records
  std::int16_t Code = 0;       // variable slot, operator code or function code
};

// A program buffer holds 500 records, numbered 1 to 500 as the algorithms
// count them; element 0 is never used.
inline constexpr int ProgramSize = 500;
using TProgram = std::array<TInstruction, ProgramSize + 1>;

// Operator codes (Code of an ikOperator record).
enum TOperatorCode : std::int16_t {
  opSubtract = 1,
  opAdd = 2,
  opMultiply = 3,
  opDivide = 4,
  opNegate = 5,
  opPower = 6,
  opAnd = 7,
  opDiv = 8,
  opShl = 9,
  opOr = 10,
  opShr = 11,
  opOver = 12,
  opXor = 13,
  opMod = 14,
  opEqual = 15,
  opNotEqual = 16,
  opGreaterEqual = 17,
  opLessEqual = 18,
  opGreater = 19,
  opLess = 20,
};

// Function codes are the 1-based positions in FunctionNames (term_text.h):
// 1..67, never 58.
inline constexpr int FunctionCount = 67;

}  // namespace engine
