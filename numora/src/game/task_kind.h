// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kind of a task, for the statistics: which operations its term uses.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace numora {

enum class TaskKind : std::uint8_t { Addition, Subtraction, Multiplication, Division, Mixed };
inline constexpr int kTaskKindCount = 5;

// Classifies a term by its binary operators: one kind of operation gives that
// kind ("^" counts as multiplication), several give Mixed. A minus that
// starts the term or follows "(" or another operator is a sign, not a
// subtraction. A term without operators counts as Mixed.
TaskKind ClassifyTask(std::string_view term);

// German plural names for charts and sentences ("Additionen", ...).
const char* TaskKindName(TaskKind kind);

}  // namespace numora
