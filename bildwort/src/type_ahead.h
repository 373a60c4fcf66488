// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a word in the list by typing its first letters. A beginner types
// slowly: letters that come within two seconds of each other make one
// search, Backspace takes the last letter back, and the letters typed so
// far can be shown beside the list.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace bildwort {

class TypeAhead {
 public:
  static constexpr std::int64_t kPauseMs = 2000;
  // Milliseconds on a clock that never goes back.
  using Clock = std::function<std::int64_t()>;

  // Without a clock, the system's steady clock.
  explicit TypeAhead(Clock clock = {});

  // Adds typed text to the letters, or starts them afresh when the last
  // letter came more than kPauseMs ago. Returns the letters.
  const QString& Type(const QString& text);
  // Takes the last letter back (a pause does not matter here: the child is
  // correcting what is shown). Returns the letters.
  const QString& Backspace();
  void Clear();
  const QString& Letters() const { return letters_; }

  // The first of `words` that starts with `letters`, ignoring case; -1 when
  // none does or `letters` is empty.
  static int Find(const QStringList& words, const QString& letters);

 private:
  Clock clock_;
  QString letters_;
  std::int64_t last_ = 0;
};

}  // namespace bildwort
