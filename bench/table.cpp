// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "table.h"

#include <cmath>
#include <cstdio>

namespace bench {
namespace {

void PrintRule() {
  std::printf("%s\n", std::string(96, '-').c_str());
}

void PrintRow(const char* workload, const std::string& label, double engineNs, double muparserNs,
              double ratio) {
  std::printf("%-17s %-36s %12.1f %14.1f %12.2f\n", workload, label.c_str(), engineNs, muparserNs,
              ratio);
}

// One verdict line; returns 1 when missed.
int Verdict(const std::string& target, double measured, double bound, bool atLeast) {
  const bool met = atLeast ? measured >= bound : measured <= bound;
  std::printf("  %-62s %9.2f  %s\n", target.c_str(), measured, met ? "met" : "MISSED");
  return met ? 0 : 1;
}

}  // namespace

double GeometricMeanRatio(const std::vector<Row>& rows, const std::string& workload,
                          const std::string& set, bool arithmeticOnly) {
  double logSum = 0;
  int count = 0;
  for (const Row& row : rows) {
    if (row.Workload != workload || row.Set != set) continue;
    if (arithmeticOnly && !row.ArithmeticOnly) continue;
    logSum += std::log(row.Ratio());
    ++count;
  }
  return count == 0 ? 0 : std::exp(logSum / count);
}

int PrintTable(const std::vector<Row>& rows) {
  std::printf("%-17s %-36s %12s %14s %12s\n", "workload", "term", "engine ns/op", "muparser ns/op",
              "muparser/eng");
  std::string lastGroup;
  for (const Row& row : rows) {
    const std::string group = row.Workload + "/" + row.Set;
    if (group != lastGroup) {
      PrintRule();
      lastGroup = group;
    }
    PrintRow(row.Workload.c_str(), row.Term, row.EngineNs, row.MuparserNs, row.Ratio());
  }
  PrintRule();
  std::printf("geometric means of muparser/engine:\n");
  int missed = 0;
  const double aeTrainer = GeometricMeanRatio(rows, "analyse+evaluate", "trainer");
  const double aeScientific = GeometricMeanRatio(rows, "analyse+evaluate", "scientific");
  missed += Verdict("analyse+evaluate, trainer terms (target >= 10)", aeTrainer, 10, true);
  missed += Verdict("analyse+evaluate, scientific terms (target >= 10)", aeScientific, 10, true);
  // Evaluating a compiled term again: at least muparser's speed on the
  // scientific terms, 1.5 times it on the arithmetic-only ones.
  const double evScientific = GeometricMeanRatio(rows, "evaluate only", "scientific");
  const double evArithmetic = GeometricMeanRatio(rows, "evaluate only", "scientific", true);
  missed += Verdict("evaluate only, scientific terms (target >= 1.0)", evScientific, 1, true);
  missed +=
      Verdict("evaluate only, arithmetic-only terms (target >= 1.5)", evArithmetic, 1.5, true);
  return missed;
}

}  // namespace bench
