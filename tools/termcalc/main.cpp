// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc: evaluates terms from the command line or from standard input with
// the term engine and writes one line per term.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "calculator.h"
#include "format.h"
#include "line_editor.h"
#include "options.h"

namespace {

constexpr int kUsageError = 2;

void WriteOut(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

// Reads the terms of standard input one line at a time, so that any number
// of lines, of any length, takes no more memory than the longest line.
bool RunStandardInput(termcalc::Calculator& calculator) {
  bool allSucceeded = true;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  std::string term;
  std::string out;
  while (true) {
    const ssize_t length = getline(&buffer, &capacity, stdin);
    if (length < 0) break;
    std::size_t size = static_cast<std::size_t>(length);
    if (size > 0 && buffer[size - 1] == '\n') --size;
    if (size > 0 && buffer[size - 1] == '\r') --size;
    term.assign(buffer, size);
    out.clear();
    allSucceeded = calculator.Run(term, out) && allSucceeded;
    out += '\n';
    WriteOut(out);
  }
  std::free(buffer);
  return allSucceeded;
}

// A person at a terminal: line editing and history, the prompt and the marks
// under an unknown name on standard error, the results on standard output as
// always.
bool RunTerminal(termcalc::Calculator& calculator) {
  // Multibyte characters are edited as characters in the user's encoding;
  // numbers stay independent of the locale.
  std::setlocale(LC_CTYPE, "");
  termcalc::LineEditor editor(termcalc::HistoryPath());
  bool allSucceeded = true;
  std::string term;
  std::string out;
  while (editor.ReadLine(term)) {
    editor.Remember(term);
    out.clear();
    allSucceeded = calculator.Run(term, out) && allSucceeded;
    out += '\n';
    const std::string carets =
        termcalc::CaretLine(term, calculator.LastCode(), calculator.LastMessage());
    if (!carets.empty()) std::fprintf(stderr, "  %s\n", carets.c_str());
    WriteOut(out);
    std::fflush(stdout);
  }
  std::fputs("\n", stderr);
  return allSucceeded;
}

int Main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const termcalc::ParseResult parsed = termcalc::ParseArguments(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "termcalc: %s; %s\n", parsed.error.c_str(), termcalc::kUsage);
    return kUsageError;
  }
  const termcalc::Options& options = parsed.options;
  if (options.help) {
    std::fputs(termcalc::kHelp, stdout);
    return 0;
  }

  const bool terminal = options.terms.empty() && isatty(STDIN_FILENO) == 1;
  termcalc::Calculator calculator(options, terminal);
  if (!calculator.DeclarationErrors().empty()) {
    std::string report = "declarations: ";
    termcalc::AppendEscaped(report, calculator.DeclarationErrors());
    report += '\n';
    std::fputs(report.c_str(), stderr);
  }

  bool allSucceeded = true;
  if (terminal) {
    allSucceeded = RunTerminal(calculator);
  } else if (options.terms.empty()) {
    allSucceeded = RunStandardInput(calculator);
  } else {
    std::string out;
    for (const std::string& term : options.terms) {
      out.clear();
      allSucceeded = calculator.Run(term, out) && allSucceeded;
      out += '\n';
      WriteOut(out);
    }
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("termcalc: cannot write the output\n", stderr);
    return 1;
  }
  return allSucceeded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    // Only running out of memory gets here; the engine itself never throws.
    std::fprintf(stderr, "termcalc: %s\n", e.what());
    return 1;
  }
}
