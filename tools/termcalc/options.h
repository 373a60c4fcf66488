// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc's command line: what the user asked for, or why it makes no sense.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/extended.h"
#include "engine/parser.h"

namespace termcalc {

struct Variable {
  std::string name;
  engine::Extended value = 0;
};

struct Options {
  engine::TAngleMode angle = engine::RAD;
  std::vector<std::string> constants;
  std::vector<std::string> functions;
  // Empty: the declarations keep their default variables t, x, y, z.
  std::vector<Variable> variables;
  std::optional<std::uint32_t> seed;
  // Significant digits of the values shown, 1 to 21; 0 for the shortest text
  // that reads back to the same value.
  int digits = 0;
  // Empty: the terms come from standard input.
  std::vector<std::string> terms;
  bool help = false;
};

struct ParseResult {
  Options options;
  // Empty when the command line is valid; else what is wrong with it.
  std::string error;
};

// Parses the arguments after the program name. Options may stand anywhere;
// "--" ends them, so that a term beginning with "--" can be given.
ParseResult ParseArguments(const std::vector<std::string_view>& args);

// The synopsis line, and the full text of --help.
extern const char* const kUsage;
extern const char* const kHelp;

}  // namespace termcalc
