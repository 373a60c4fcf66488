// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_maker.h"

#include <cmath>

#include "engine/parser.h"
#include "engine/random.h"

namespace numora {

TRangeTable InitRanges() {
  TRangeTable ranges{};
  // Columns "A" (addition, subtraction), "B" (multiplication), "C" (division).
  ranges[0][0] = {0, 20};
  ranges[0][1] = {0, 10};
  ranges[0][2] = {1, 10};
  ranges[1][0] = {0, 100};
  ranges[1][1] = {0, 20};
  ranges[1][2] = {1, 20};
  ranges[2][0] = {10, 1000};
  ranges[2][1] = {5, 20};
  ranges[2][2] = {5, 30};
  return ranges;
}

TaskMaker::TaskMaker(engine::TTermParser& parser, long attemptLimit)
    : parser_(parser), ranges_(InitRanges()), attemptLimit_(attemptLimit) {}

std::int32_t TaskMaker::Draw(TLevel level, char letter) const {
  if (level >= kLevelCount || letter < 'A' || letter >= 'A' + kRangeLetters) return 0;
  const TRange range = ranges_[level][static_cast<std::size_t>(letter - 'A')];
  const auto span =
      static_cast<std::uint32_t>(static_cast<std::int64_t>(range.Max) - range.Min + 1);
  return range.Min + static_cast<std::int32_t>(engine::RandomBelow(span));
}

std::string TaskMaker::MakeQuotient(TLevel level) const {
  const std::int32_t divisor = Draw(level, 'C');
  const std::int32_t factor = Draw(level, 'B');
  return std::to_string(static_cast<std::int64_t>(divisor) * factor) + "/" +
         std::to_string(divisor);
}

std::string TaskMaker::FillPlaceholders(const std::string& templateText, TLevel level) const {
  // One pass from left to right, so the numbers are drawn in text order.
  std::string text;
  text.reserve(templateText.size() + 16);
  for (std::size_t i = 0; i < templateText.size(); ++i) {
    if (templateText[i] != '$') {
      text += templateText[i];
      continue;
    }
    // A "$" at the very end has no letter; it is filled like an unknown one.
    const char letter = i + 1 < templateText.size() ? templateText[i + 1] : '\0';
    if (letter != '\0') ++i;
    text += letter == 'Z' ? MakeQuotient(level) : std::to_string(Draw(level, letter));
  }
  return text;
}

bool TaskMaker::IsAcceptable(engine::Extended value, TLevel level) {
  if (!std::isfinite(value)) return false;
  if (level != 2 && value < 0) return false;
  return value - std::trunc(value) == 0;
}

std::optional<std::string> TaskMaker::MakeTask(const std::string& templateText, TLevel level,
                                               engine::Extended& target) {
  for (long attempt = 0; attempt < attemptLimit_; ++attempt) {
    std::string text = FillPlaceholders(templateText, level);
    parser_.SetTerm(text);
    target = parser_.Evaluate();
    if (parser_.EvalError() == 0 && IsAcceptable(target, level)) return text;
  }
  return std::nullopt;
}

}  // namespace numora
