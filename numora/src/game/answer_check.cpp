// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "answer_check.h"

#include <limits>

namespace numora {

std::optional<std::int32_t> ParseAnswer(const QString& text) {
  qsizetype pos = 0;
  const qsizetype size = text.size();
  while (pos < size && text[pos] == u' ') ++pos;
  bool negative = false;
  if (pos < size && (text[pos] == u'+' || text[pos] == u'-')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  if (pos == size) return std::nullopt;
  // Accumulate the magnitude in 64 bits and stop as soon as it leaves the
  // 32-bit range, so any number of digits is safe.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < size; ++pos) {
    const char16_t c = text[pos].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > kLimit) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace numora
