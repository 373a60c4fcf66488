// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison table: one row per term and workload, geometric means per
// term set, and each target with its verdict.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Row {
  std::string Workload;  // "analyse+evaluate" or "evaluate only"
  std::string Set;       // "trainer" or "scientific"
  std::string Term;      // the engine's text
  bool ArithmeticOnly = false;
  double EngineNs = 0;
  double MuparserNs = 0;
  double Ratio() const { return MuparserNs / EngineNs; }
};

// Geometric mean of the muparser/engine ratios of the rows of workload and set
// (all rows when arithmeticOnly is false, else only the arithmetic-only ones).
double GeometricMeanRatio(const std::vector<Row>& rows, const std::string& workload,
                          const std::string& set, bool arithmeticOnly = false);

// Prints the table and the target verdicts to stdout; returns the number of
// targets missed.
int PrintTable(const std::vector<Row>& rows);

}  // namespace bench
