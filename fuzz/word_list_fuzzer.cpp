// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture library's word-list splitter on any bytes: the lines hold no
// line break and no NUL, joined again they give the text up to its first NUL
// (every break read as one LF, a final break dropped), and the two words of
// a line are the parts the line's separators delimit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "word_list.h"

namespace {

// The text as the splitter should see it: cut at the first NUL, CR LF and
// lone CR turned into LF, one final LF dropped.
std::string Normalised(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::WithinBudget(
      [&] {
        const auto lines = bildwort::SplitWordList(text);
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
          const std::string& line = lines[i];
          FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                     "a line holds a break or a NUL", "input \"" + fuzz::Printable(text) + "\"");
          if (i > 0) joined += '\n';
          joined += line;

          const std::string german = bildwort::GermanWordOf(line);
          const std::string english = bildwort::EnglishWordOf(line);
          const std::size_t semicolon = line.find(';');
          const std::size_t colon = line.find(':');
          if (semicolon == std::string::npos) {
            FUZZ_CHECK(german.empty() && english.empty(), "words without a separator",
                       "input \"" + fuzz::Printable(text) + "\"");
            continue;
          }
          FUZZ_CHECK(german == line.substr(0, semicolon), "wrong German word",
                     "input \"" + fuzz::Printable(text) + "\"");
          if (colon == std::string::npos || colon < semicolon) {
            FUZZ_CHECK(english.empty(), "English word without its colon",
                       "input \"" + fuzz::Printable(text) + "\"");
          } else {
            FUZZ_CHECK(english == line.substr(semicolon + 1, colon - semicolon - 1),
                       "wrong English word", "input \"" + fuzz::Printable(text) + "\"");
          }
        }
        FUZZ_CHECK(joined == Normalised(text), "the lines do not give the text back",
                   "input \"" + fuzz::Printable(text) + "\"");
      },
      text);
  return 0;
}
