// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "options.h"

#include <cmath>

#include "engine/term_text.h"
#include "format.h"

namespace termcalc {

const char* const kUsage =
    "usage: termcalc [--angle rad|deg|gon] [--const LINE]... [--func LINE]... "
    "[--var NAME[=VALUE]]... [--seed N] [--digits N] [TERM]...";

const char* const kHelp =
    "Usage: termcalc [--angle rad|deg|gon] [--const LINE]... [--func LINE]...\n"
    "                [--var NAME[=VALUE]]... [--seed N] [--digits N] [TERM]...\n"
    "       termcalc --help\n"
    "Evaluate arithmetic terms with the term engine, in 80-bit extended precision.\n"
    "Each TERM gives one line on standard output. Without a TERM, the terms are\n"
    "read from standard input, one per line; a carriage return at the end of a\n"
    "line is dropped, and an empty line is an empty term.\n"
    "\n"
    "When standard input is a terminal, termcalc prompts with \"> \" on standard\n"
    "error and offers line editing: arrows, Home and End, Ctrl-R to search the\n"
    "history, Ctrl-D to leave. The history is kept in\n"
    "$XDG_STATE_HOME/termcalc/history (~/.local/state/termcalc/history). ANS\n"
    "stands for the last successful result (unless a variable, constant or\n"
    "function of that name is declared), and an unknown name is marked with\n"
    "carets under the term.\n"
    "\n"
    "Options:\n"
    "  --angle rad|deg|gon  unit of angles for the trigonometric functions:\n"
    "                       radians (the default), degrees or gradians\n"
    "  --const LINE         declare a constant, e.g. 'G=9.81'; repeatable,\n"
    "                       the lines keep their order\n"
    "  --func LINE          declare a function, e.g. 'SQ(A)=A*A'; repeatable,\n"
    "                       the lines keep their order\n"
    "  --var NAME[=VALUE]   declare the variable NAME with VALUE (0 when omitted);\n"
    "                       with any --var exactly the variables given exist,\n"
    "                       in that order, else t, x, y and z, all 0\n"
    "  --seed N             seed the random generator with N (0 to 4294967295),\n"
    "                       so that the random functions repeat\n"
    "  --digits N           show values rounded to N significant digits (1 to 21)\n"
    "                       instead of the shortest text that reads back exactly\n"
    "  --help               print this help and exit\n"
    "  --                   end of the options: every later argument is a term\n"
    "\n"
    "Output, one line per term:\n"
    "  VALUE                     evaluated; VALUE in decimal, in exponent form\n"
    "                            (1E21, 1.5E-7) when very large or very small\n"
    "  VALUE<TAB>warning: TEXT   evaluated, with the engine's warning TEXT\n"
    "  error CODE: TEXT          not analysed or not evaluated; CODE is the\n"
    "                            engine's status code (1 to 9), TEXT its message\n"
    "In TEXT, a line feed is written \\n, a carriage return \\r, a tab \\t, a\n"
    "backslash \\\\ and any other byte below 32 \\xHH; all other bytes as they are.\n"
    "A declaration or variable name that is not valid is reported once on\n"
    "standard error: \"declarations: \" and the engine's report, escaped the same way.\n"
    "\n"
    "Exit status: 0 when every term succeeded (warnings included), 1 when any\n"
    "failed, 2 when the command line was wrong.\n";

namespace {

bool ParseAngle(std::string_view text, engine::TAngleMode& mode) {
  if (text == "rad") {
    mode = engine::RAD;
  } else if (text == "deg") {
    mode = engine::DEG;
  } else if (text == "gon") {
    mode = engine::GON;
  } else {
    return false;
  }
  return true;
}

// Decimal digits only, 0 to 2^32 - 1.
bool ParseSeed(std::string_view text, std::uint32_t& seed) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return false;
  seed = static_cast<std::uint32_t>(value);
  return true;
}

// Decimal digits only, 1 to 21.
bool ParseDigits(std::string_view text, int& digits) {
  if (text.empty() || text.size() > 2) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 21) return false;
  digits = value;
  return true;
}

// NAME or NAME=VALUE; VALUE is a finite decimal number with '.' as the
// decimal point, whatever the locale.
bool ParseVariable(std::string_view text, Variable& variable) {
  const std::size_t equals = text.find('=');
  variable.name = std::string(text.substr(0, equals));
  variable.value = 0;
  if (equals == std::string_view::npos) return true;
  const std::string_view value = text.substr(equals + 1);
  return engine::ReadNumber(value, variable.value) && std::isfinite(variable.value);
}

// The argument as the user typed it, escaped so the message stays one line.
std::string Quoted(std::string_view text) {
  return "'" + Escape(text) + "'";
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string_view>& args) {
  ParseResult result;
  Options& options = result.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.substr(0, 2) != "--") {
      options.terms.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") {
      options.help = true;
      continue;
    }
    const bool takesValue = arg == "--angle" || arg == "--const" || arg == "--func" ||
                            arg == "--var" || arg == "--seed" || arg == "--digits";
    if (!takesValue) {
      result.error = "unknown option " + Quoted(arg);
      return result;
    }
    if (i + 1 >= args.size()) {
      result.error = "option " + Quoted(arg) + " needs a value";
      return result;
    }
    const std::string_view value = args[++i];
    if (arg == "--angle") {
      if (!ParseAngle(value, options.angle)) {
        result.error = "angle unit must be rad, deg or gon, not " + Quoted(value);
        return result;
      }
    } else if (arg == "--const") {
      options.constants.emplace_back(value);
    } else if (arg == "--func") {
      options.functions.emplace_back(value);
    } else if (arg == "--var") {
      Variable variable;
      if (!ParseVariable(value, variable)) {
        result.error = "variable value must be a finite number in " + Quoted(value);
        return result;
      }
      options.variables.push_back(std::move(variable));
    } else if (arg == "--digits") {
      if (!ParseDigits(value, options.digits)) {
        result.error = "digits must be a whole number from 1 to 21, not " + Quoted(value);
        return result;
      }
    } else {
      std::uint32_t seed = 0;
      if (!ParseSeed(value, seed)) {
        result.error = "seed must be a whole number from 0 to 4294967295, not " + Quoted(value);
        return result;
      }
      options.seed = seed;
    }
  }
  return result;
}

}  // namespace termcalc
