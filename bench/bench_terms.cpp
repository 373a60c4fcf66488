// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_terms.h"

#include <array>

namespace bench {
namespace {

// Shapes of the shipped task templates, filled as a round would fill them.
constexpr std::array<TermPair, 20> kTrainer = {{
    {"250/25+7", "250/25+7", true},
    {"17-(3+4)", "17-(3+4)", true},
    {"12*(15-15)", "12*(15-15)", true},
    {"1000/8/5", "1000/8/5", true},
    {"7^2", "7^2", true},
    {"13+8", "13+8", true},
    {"20-7", "20-7", true},
    {"6*9", "6*9", true},
    {"56/8", "56/8", true},
    {"4+15+1", "4+15+1", true},
    {"19-4-8", "19-4-8", true},
    {"90-(35-12)", "90-(35-12)", true},
    {"12+7*3", "12+7*3", true},
    {"8*6-20", "8*6-20", true},
    {"7*(8+5)", "7*(8+5)", true},
    {"144/12+9", "144/12+9", true},
    {"48/6-3", "48/6-3", true},
    {"5*5*5", "5*5*5", true},
    {"(17+33)/10", "(17+33)/10", true},
    {"(9-4)*6", "(9-4)*6", true},
}};

constexpr std::array<TermPair, 6> kScientific = {{
    {"SIN(X)^2+COS(X)^2", "sin(x)^2+cos(x)^2", false},
    {"SQRT(X^2+Y^2)*EXP(-X/10)", "sqrt(x^2+y^2)*exp(-x/10)", false},
    {"(X+Y)*(X-Y)/(X*X+1)", "(x+y)*(x-y)/(x*x+1)", true},
    {"MAX(X;Y)-MIN(X;Y)", "max(x,y)-min(x,y)", false},
    {"LN(1+ABS(X))+TANH(Y/4)", "ln(1+abs(x))+tanh(y/4)", false},
    {"2.5*X^3-4*X^2+0.5*X-7", "2.5*x^3-4*x^2+0.5*x-7", true},
}};

constexpr std::array<VarPoint, 8> kPoints = {{
    {0.0, 0.0},
    {1.0, -1.0},
    {0.5, 2.25},
    {-3.75, 1.5},
    {12.0, 7.0},
    {-0.125, -9.5},
    {3.14159, 2.71828},
    {100.0, -0.001},
}};

}  // namespace

std::span<const TermPair> TrainerTerms() {
  return kTrainer;
}
std::span<const TermPair> ScientificTerms() {
  return kScientific;
}
std::span<const VarPoint> VarPoints() {
  return kPoints;
}

}  // namespace bench
