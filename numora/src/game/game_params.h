// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The counters of one round or of all rounds, and the difficulty levels.
#pragma once

#include <array>
#include <cstdint>

namespace numora {

// 0 "leicht", 1 "mittel", 2 "schwer".
using TLevel = std::uint8_t;
inline constexpr int kLevelCount = 3;

// Windows-1252 text like every other engine-side string; the names are plain
// ASCII, so they also read as UTF-8.
inline constexpr std::array<const char*, kLevelCount> LevelNames = {"leicht", "mittel", "schwer"};

// Points for one solved task; a completed round earns 1, 2 or 3 times as much
// on top.
inline constexpr std::array<std::int32_t, kLevelCount> kPointsPerTask = {1, 2, 5};

struct TGameParams {
  std::int32_t Points = 0;
  std::int32_t Errors = 0;
  std::int32_t Seconds = 0;
  TLevel Difficulty = 0;
  std::int32_t Solved = 0;
};

// The level name, or an empty text for a value outside 0..2 (never stored by
// the program, but a corrupt level must not read past the table).
inline const char* LevelName(TLevel level) {
  return level < kLevelCount ? LevelNames[level] : "";
}

}  // namespace numora
