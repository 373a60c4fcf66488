// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Helpers shared by the engine's tests.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/extended.h"
#include "engine/program_format.h"

namespace engine::test {

// Writes a program record by record, as the compiler would.
class ProgramBuilder {
 public:
  ProgramBuilder() : program_(std::make_unique<TProgram>()) {}

  ProgramBuilder& Number(Extended value) { return Add(ikNumber, 0, value); }
  ProgramBuilder& Variable(int slot) { return Add(ikVariable, slot); }
  ProgramBuilder& Operator(int code) { return Add(ikOperator, code); }
  ProgramBuilder& Function(int code) { return Add(ikFunction, code); }
  int Count() const { return count_; }

  // The program with its end record (unless all 500 records are used).
  const TProgram& Build() {
    if (count_ < ProgramSize) (*program_)[static_cast<std::size_t>(count_ + 1)].Kind = ikEnd;
    return *program_;
  }

 private:
  ProgramBuilder& Add(std::uint8_t kind, int code, Extended value = 0) {
    TInstruction& record = (*program_)[static_cast<std::size_t>(++count_)];
    record.Kind = kind;
    record.Code = static_cast<std::int16_t>(code);
    record.Value = value;
    return *this;
  }

  std::unique_ptr<TProgram> program_;
  int count_ = 0;
};

}  // namespace engine::test
