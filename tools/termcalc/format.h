// termcalc's output: one line per term, texts escaped so that a line never
// breaks and every byte stays visible.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/extended.h"

namespace termcalc {

// LF as \n, CR as \r, TAB as \t, backslash as \\, any other byte below 32 as
// \xHH; every other byte as it is.
void AppendEscaped(std::string& out, std::string_view text);
std::string Escape(std::string_view text);

// The value as printf's %.21Lg prints it in the "C" numeric locale.
void AppendValue(std::string& out, engine::Extended value);

// The line for one term, without its line break: the value, the value with a
// warning, or "error CODE: TEXT".
void AppendResult(std::string& out, std::uint8_t code, engine::Extended value,
                  std::string_view text);

}  // namespace termcalc
