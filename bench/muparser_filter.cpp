// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The muparser counterpart of termcalc reading standard input: one term per
// line in, one line out (the value as the shortest decimal that reads back
// to the same double, or "error: " and muparser's message). scripts/bench.sh
// times both programs on the same task texts.
#include <muParser.h>
#include <stdio.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main() {
  try {
    mu::Parser parser;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    std::string out;
    while (true) {
      const ssize_t length = getline(&buffer, &capacity, stdin);
      if (length < 0) break;
      std::size_t size = static_cast<std::size_t>(length);
      if (size > 0 && buffer[size - 1] == '\n') --size;
      if (size > 0 && buffer[size - 1] == '\r') --size;
      out.clear();
      try {
        parser.SetExpr(std::string(buffer, size));
        const double value = parser.Eval();
        char text[32];
        const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
        out.append(text, written.ptr);
      } catch (const mu::Parser::exception_type& e) {
        out += "error: ";
        out += e.GetMsg();
      }
      out += '\n';
      std::fwrite(out.data(), 1, out.size(), stdout);
    }
    std::free(buffer);
    return std::fflush(stdout) == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "muparser_filter: %s\n", e.what());
    return 1;
  }
}
