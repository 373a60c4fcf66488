#include "format.h"

#include <locale.h>
#include <clocale>
#include <cstdio>

namespace termcalc {

namespace {

// The "C" numeric locale, made once; null when it cannot be made, in which
// case the process locale is used (termcalc never changes it from "C").
locale_t ClassicLocale() {
  static const locale_t classic = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
  return classic;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (byte < 32) {
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 15];
        } else {
          out += c;
        }
    }
  }
}

std::string Escape(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

void AppendValue(std::string& out, engine::Extended value) {
  // %.21Lg needs at most 1 sign + 22 digits and point + "e-4951" characters.
  char buffer[64];
  const locale_t classic = ClassicLocale();
  const locale_t previous = classic != static_cast<locale_t>(nullptr)
                                ? uselocale(classic)
                                : static_cast<locale_t>(nullptr);
  const int length = std::snprintf(buffer, sizeof buffer, "%.21Lg", value);
  if (previous != static_cast<locale_t>(nullptr)) uselocale(previous);
  if (length > 0)
    out.append(buffer, static_cast<std::size_t>(length) < sizeof buffer
                           ? static_cast<std::size_t>(length)
                           : sizeof buffer - 1);
}

void AppendResult(std::string& out, std::uint8_t code, engine::Extended value,
                  std::string_view text) {
  if (code != 0) {
    out += "error ";
    out += std::to_string(code);
    out += ": ";
    AppendEscaped(out, text);
    return;
  }
  AppendValue(out, value);
  if (!text.empty()) {
    out += "\twarning: ";
    AppendEscaped(out, text);
  }
}

}  // namespace termcalc
