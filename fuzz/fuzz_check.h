// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz targets: a failed invariant aborts with a message, so
// libFuzzer records the input as a crash; a time budget per input catches
// inputs that are slow without hanging.
#pragma once

#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "\n*** invariant broken: %s\n*** %s\n", what, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// The detail is built only when the condition fails: inputs are checked
// millions of times, and describing them costs more than running them.
#define FUZZ_CHECK(condition, what, detail)       \
  do {                                            \
    if (!(condition)) ::fuzz::Fail(what, detail); \
  } while (false)

// CPU time of this thread: a loaded machine slows the wall clock, not this.
inline double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Milliseconds one input (for the engine's targets: its analysis and
// evaluation) may take; ZELV_FUZZ_BUDGET_MS overrides the default.
// scripts/fuzz.sh replays with 10 ms for the engine's targets and 100 ms for
// the others in a normal build; the sanitizers slow string work down
// twentyfold and more, so the fuzzing build only catches inputs that blow up.
#ifndef FUZZ_BUDGET_MS
#define FUZZ_BUDGET_MS 100
#endif
inline double BudgetMs() {
  static const double budget = [] {
    const char* text = std::getenv("ZELV_FUZZ_BUDGET_MS");
    const double value = text ? std::atof(text) : 0.0;
    return value > 0 ? value : double{FUZZ_BUDGET_MS};
  }();
  return budget;
}

// Milliseconds that preparing declarations and expanding a term's calls may
// take, checked on their own; ZELV_FUZZ_EXPANSION_BUDGET_MS sets it, the
// budget above when unset.
inline double ExpansionBudgetMs() {
  static const double budget = [] {
    const char* text = std::getenv("ZELV_FUZZ_EXPANSION_BUDGET_MS");
    const double value = text ? std::atof(text) : 0.0;
    return value > 0 ? value : BudgetMs();
  }();
  return budget;
}

// No time allowed beyond the budget.
struct NoAllowance {
  double operator()() const { return 0; }
};

// Runs work (which must repeat the same steps on every call) and fails when
// it takes longer than the budget twice in a row; the second run filters out
// one-time costs such as Qt's font loading and preemption noise. allowance()
// gives the milliseconds allowed so far for costs the code must pay, such as
// a routine that is slow by design; what it grows by during a run adds to
// that run's budget.
template <typename Work, typename Allowance = NoAllowance>
void WithinBudget(Work&& work, const std::string& input, double budgetMs = BudgetMs(),
                  Allowance allowance = {}) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const double allowedBefore = allowance();
    const double start = ThreadCpuMs();
    work();
    const double spent = ThreadCpuMs() - start;
    const double budget = budgetMs + allowance() - allowedBefore;
    if (spent <= budget) return;
    if (attempt == 1) {
      Fail("input takes longer than the time budget",
           std::to_string(spent) + " ms (budget " + std::to_string(budget) +
               " ms) for an input of " + std::to_string(input.size()) + " bytes");
    }
  }
}

// Printable form of an input for failure messages.
inline std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
    }
  }
  return out;
}

}  // namespace fuzz
