// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the tasks the trainer deals for fixed seeds, one line per task:
// seed, level, round, task text and value. Two builds that deal the same
// tasks print the same bytes, so a change to the engine or the task making
// can be checked by comparing the output before and after.
//   numora_print_tasks [rounds per level, default 20] [seed ...]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/parser.h"
#include "engine/random.h"
#include "task_templates.h"
#include "trainer_game.h"

int main(int argc, char** argv) {
  const long rounds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20;
  if (rounds < 1) {
    std::fprintf(stderr, "usage: %s [rounds per level >= 1] [seed ...]\n", argv[0]);
    return 1;
  }
  std::vector<std::uint32_t> seeds;
  for (int i = 2; i < argc; ++i) {
    seeds.push_back(static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10)));
  }
  if (seeds.empty()) seeds = {1, 42, 20261207};

  for (const std::uint32_t seed : seeds) {
    numora::TTemplateList templates = numora::LoadShippedTemplates();
    if (templates.empty()) {
      std::fprintf(stderr, "The shipped templates are missing from the build.\n");
      return 1;
    }
    engine::TParserDeclarations declarations;
    declarations.SetVarNames({"t", "x", "y", "z"});
    engine::TTermParser parser;
    parser.SetDeclarations(&declarations);
    engine::SetRandomSeed(seed);
    numora::TrainerGame game(std::move(templates), parser);
    for (numora::TLevel level = 0; level < numora::kLevelCount; ++level) {
      game.SelectLevel(level);
      for (long round = 1; round <= rounds; ++round) {
        game.NewRound();
        for (int row = 0; row < numora::kTaskRows; ++row) {
          for (int column = 0; column < numora::kTaskColumns; ++column) {
            const numora::TaskSlot& task = game.Task(column, row);
            std::printf("seed %u %s round %ld: %s = %.21Lg\n", seed, numora::LevelName(level),
                        round, task.Text.c_str(), task.Expected);
          }
        }
      }
    }
  }
  return 0;
}
