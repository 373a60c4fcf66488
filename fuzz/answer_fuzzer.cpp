// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's strict answer conversion against a plain model: leading
// blanks, at most one sign, then one or more ASCII digits to the end, and a
// value in the signed 32-bit range. The input is read as UTF-16, UTF-8 or
// Latin-1 (chosen by its length), so non-ASCII digits and surrogates come
// along.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "answer_check.h"
#include "fuzz_check.h"

namespace {

std::optional<std::int32_t> Model(const QString& text) {
  qsizetype pos = 0;
  while (pos < text.size() && text.at(pos) == QChar(u' ')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text.at(pos) == QChar(u'-') || text.at(pos) == QChar(u'+'))) {
    negative = text.at(pos) == QChar(u'-');
    ++pos;
  }
  const QString digits = text.mid(pos);
  if (digits.isEmpty()) return std::nullopt;
  for (QChar c : digits) {
    if (c.unicode() < u'0' || c.unicode() > u'9') return std::nullopt;
  }
  // Leading zeros do not count against the length limit.
  qsizetype first = 0;
  while (first + 1 < digits.size() && digits.at(first) == QChar(u'0')) ++first;
  if (digits.size() - first > 10) return std::nullopt;
  const long long magnitude = digits.mid(first).toLongLong();
  const long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

QString Decode(const std::uint8_t* data, std::size_t size) {
  const auto length = static_cast<qsizetype>(size);
  switch (size % 3) {
    case 0: {
      QString text;
      for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
      }
      return text;
    }
    case 1:
      return QString::fromUtf8(reinterpret_cast<const char*>(data), length);
    default:
      return QString::fromLatin1(reinterpret_cast<const char*>(data), length);
  }
}

std::string Show(const std::optional<std::int32_t>& value) {
  return value ? std::to_string(*value) : std::string("none");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = Decode(data, size);
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz::WithinBudget(
      [&] {
        const auto answer = numora::ParseAnswer(text);
        const auto expected = Model(text);
        FUZZ_CHECK(answer == expected, "the answer conversion disagrees with the model",
                   "got " + Show(answer) + ", expected " + Show(expected) + " for \"" +
                       fuzz::Printable(text.toStdString()) + "\"");
      },
      input);
  return 0;
}
