// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "type_ahead.h"

#include <chrono>
#include <utility>

namespace bildwort {

TypeAhead::TypeAhead(Clock clock) : clock_(std::move(clock)) {
  if (!clock_) {
    clock_ = [] {
      return std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
          .count();
    };
  }
}

const QString& TypeAhead::Type(const QString& text) {
  const std::int64_t now = clock_();
  if (now - last_ > kPauseMs) letters_.clear();
  letters_ += text;
  last_ = now;
  return letters_;
}

const QString& TypeAhead::Backspace() {
  if (!letters_.isEmpty()) {
    // A letter made of two UTF-16 units goes as a whole.
    const qsizetype cut = letters_.size() >= 2 && letters_.back().isLowSurrogate() ? 2 : 1;
    letters_.chop(cut);
  }
  last_ = clock_();
  return letters_;
}

void TypeAhead::Clear() {
  letters_.clear();
}

int TypeAhead::Find(const QStringList& words, const QString& letters) {
  if (letters.isEmpty()) return -1;
  for (int row = 0; row < words.size(); ++row) {
    if (words[row].startsWith(letters, Qt::CaseInsensitive)) return row;
  }
  return -1;
}

}  // namespace bildwort
