// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the child's answer: a strict conversion to a signed 32-bit number.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace numora {

// Leading blanks and one sign "+" or "-" are allowed, then only the decimal
// digits 0..9 up to the end. An empty text, a trailing blank, a decimal point,
// any other character or a value outside the 32-bit range give std::nullopt.
std::optional<std::int32_t> ParseAnswer(const QString& text);

}  // namespace numora
