// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Task making: a template's placeholders are filled with random numbers from
// the level's ranges, and the engine evaluates the result; a task is accepted
// only when its value is whole (and, below "schwer", not negative).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/extended.h"
#include "game_params.h"

namespace engine {
class TTermParser;
}

namespace numora {

// An inclusive range of placeholder numbers.
struct TRange {
  std::int32_t Min = 0;
  std::int32_t Max = 0;
};

// Indexed [level][letter - 'A'] for the letters "A".."F". "D".."F" are never
// set and stay 0..0; no shipped template uses them.
inline constexpr int kRangeLetters = 6;
using TRangeTable = std::array<std::array<TRange, kRangeLetters>, kLevelCount>;

// The range table of the three levels. The C ranges never contain 0, so a
// quotient's divisor is never 0.
TRangeTable InitRanges();

class TaskMaker {
 public:
  // Rejection sampling has no natural bound; a template that can never yield
  // an acceptable value (none of the shipped ones) would hang the program, so
  // a template gives up after this many attempts. The rarest shipped case,
  // "$C/$C/$C" at "schwer", succeeds on average after about 6000.
  static constexpr long kDefaultAttemptLimit = 2'000'000;

  // The parser must have its declarations assigned.
  explicit TaskMaker(engine::TTermParser& parser, long attemptLimit = kDefaultAttemptLimit);

  const TRangeTable& Ranges() const { return ranges_; }

  // A uniform whole number of the range of letter at level. Letters outside
  // "A".."F" draw from 0..0, like the unset letters.
  std::int32_t Draw(TLevel level, char letter) const;

  // Fills the placeholders of templateText from left to right and returns the
  // accepted task text; target receives the value of each attempt, so after
  // success it holds the task's value. std::nullopt when the attempt limit was
  // reached.
  std::optional<std::string> MakeTask(const std::string& templateText, TLevel level,
                                      engine::Extended& target);

  // The text of a quotient divisor*factor "/" divisor whose value is the
  // whole number factor; the divisor is drawn first.
  std::string MakeQuotient(TLevel level) const;

  // Fills the placeholders once, without evaluating.
  std::string FillPlaceholders(const std::string& templateText, TLevel level) const;

  // Whether a value is an acceptable task value at level.
  static bool IsAcceptable(engine::Extended value, TLevel level);

 private:
  engine::TTermParser& parser_;
  TRangeTable ranges_;
  long attemptLimit_;
};

}  // namespace numora
