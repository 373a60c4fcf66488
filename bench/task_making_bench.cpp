// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's task making without a window: NewRound deals 15 tasks (template
// choice, placeholder filling, rejection sampling through the engine), timed
// round by round at each level. The random generator gets a fixed seed, so
// every run deals the same rounds.
//
// Usage: bench_task_making [rounds per level, default 1000] [seed]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "engine/parser.h"
#include "engine/random.h"
#include "task_templates.h"
#include "trainer_game.h"

namespace {

constexpr double kMedianTargetMs = 0.5;
constexpr double kWorstTargetMs = 20;

// Counts the analyses, that is the attempts of MakeTask; otherwise the
// trainer's parser unchanged.
class CountingParser : public engine::TTermParser {
 public:
  std::uint8_t Analyse() override {
    ++analyses_;
    return TTermParser::Analyse();
  }
  long Analyses() const { return analyses_; }

 private:
  long analyses_ = 0;
};

struct RoundFigures {
  double CpuMs = 0;
  double WallMs = 0;
  long Attempts = 0;
};

// The CPU time of this thread: a round's own cost, without the time other
// processes on a busy machine take from it.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const long roundsPerLevel = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  const auto seed =
      static_cast<std::uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20261207UL);
  if (roundsPerLevel < 1) {
    std::fprintf(stderr, "usage: %s [rounds per level >= 1] [seed]\n", argv[0]);
    return 1;
  }
  numora::TTemplateList templates = numora::LoadShippedTemplates();
  if (templates.empty()) {
    std::fprintf(stderr, "The shipped templates are missing from the build.\n");
    return 1;
  }

  engine::TParserDeclarations declarations;
  declarations.SetVarNames({"t", "x", "y", "z"});
  CountingParser parser;
  parser.SetDeclarations(&declarations);
  engine::SetRandomSeed(seed);
  numora::TrainerGame game(std::move(templates), parser);

  std::printf("task making: NewRound (15 tasks), %ld rounds per level, seed %u\n", roundsPerLevel,
              seed);
  std::printf("CPU time per round; the wall-clock worst includes what other processes took.\n");
  std::printf("%-8s %10s %10s %10s %11s %14s %14s %11s\n", "level", "median ms", "worst ms",
              "mean ms", "worst wall", "attempts med.", "attempts max", "ns/attempt");
  int missed = 0;
  for (numora::TLevel level = 0; level < numora::kLevelCount; ++level) {
    game.SelectLevel(level);
    std::vector<RoundFigures> rounds;
    rounds.reserve(static_cast<std::size_t>(roundsPerLevel));
    double totalMs = 0;
    double worstWallMs = 0;
    long totalAttempts = 0;
    for (long round = 0; round < roundsPerLevel; ++round) {
      const long analysesBefore = parser.Analyses();
      const double cpuStart = ThreadCpuMs();
      const auto start = std::chrono::steady_clock::now();
      game.NewRound();
      const auto stop = std::chrono::steady_clock::now();
      const RoundFigures figures{ThreadCpuMs() - cpuStart,
                                 std::chrono::duration<double, std::milli>(stop - start).count(),
                                 parser.Analyses() - analysesBefore};
      if (game.Remaining() != numora::kTasksPerRound) {
        std::fprintf(stderr, "round %ld at %s dealt only %u tasks\n", round,
                     numora::LevelName(level), game.Remaining());
        return 1;
      }
      rounds.push_back(figures);
      totalMs += figures.CpuMs;
      worstWallMs = std::max(worstWallMs, figures.WallMs);
      totalAttempts += figures.Attempts;
    }
    std::vector<double> ms;
    std::vector<long> attempts;
    for (const RoundFigures& figures : rounds) {
      ms.push_back(figures.CpuMs);
      attempts.push_back(figures.Attempts);
    }
    const double median = Median(ms);
    const double worst = *std::max_element(ms.begin(), ms.end());
    std::printf("%-8s %10.3f %10.3f %10.3f %11.3f %14ld %14ld %11.0f\n", numora::LevelName(level),
                median, worst, totalMs / static_cast<double>(roundsPerLevel), worstWallMs,
                Median(attempts), *std::max_element(attempts.begin(), attempts.end()),
                totalMs * 1e6 / static_cast<double>(totalAttempts));
    missed += median < kMedianTargetMs ? 0 : 1;
    missed += worst < kWorstTargetMs ? 0 : 1;
  }
  std::printf("targets: median < %.1f ms and worst < %.0f ms at every level: %s\n", kMedianTargetMs,
              kWorstTargetMs, missed == 0 ? "met" : "MISSED");
  return 0;
}
