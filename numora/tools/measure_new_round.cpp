// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long dealing a round takes at each level (NewRound: 15 tasks,
// each made by rejection sampling through the engine), and how long the
// program needs to create its four windows and show the first one.
//   numora_measure_new_round [rounds per level, default 200]
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "calc_help.h"
#include "engine/parser.h"
#include "engine/random.h"
#include "history_window.h"
#include "main_window.h"
#include "program_identity.h"
#include "splash_screen.h"
#include "trainer_game.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/startup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void MeasureRounds(int rounds) {
  engine::TParserDeclarations declarations;
  declarations.SetVarNames({"t", "x", "y", "z"});
  engine::TTermParser parser;
  parser.SetDeclarations(&declarations);
  engine::SetRandomSeed(20261207);
  numora::TrainerGame game(numora::LoadShippedTemplates(), parser);

  std::printf("NewRound over %d rounds per level (milliseconds)\n", rounds);
  std::printf("%-8s %8s %8s %8s %8s\n", "level", "median", "p90", "worst", "mean");
  for (numora::TLevel level = 0; level < numora::kLevelCount; ++level) {
    game.SelectLevel(level);
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(rounds));
    int incomplete = 0;
    for (int i = 0; i < rounds; ++i) {
      const auto start = Clock::now();
      game.NewRound();
      times.push_back(Milliseconds(Clock::now() - start));
      incomplete += game.Remaining() != numora::kTasksPerRound;
    }
    if (incomplete != 0) std::printf("%d rounds with fewer than 15 tasks!\n", incomplete);
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) sum += t;
    std::printf("%-8s %8.2f %8.2f %8.2f %8.2f\n", numora::LevelNames[level],
                times[times.size() / 2], times[times.size() * 9 / 10], times.back(),
                sum / static_cast<double>(times.size()));
  }
}

void MeasureStart() {
  QElapsedTimer timer;
  timer.start();
  zelv::QtUserDialogs dialogs;
  numora::TForm1 form1(dialogs);
  numora::TSplashscreen splash;
  numora::TForm3 form3(&form1);
  numora::TCalcHelp help;
  form1.show();
  QCoreApplication::processEvents();
  std::printf("four windows created and the first shown: %lld ms\n",
              static_cast<long long>(timer.elapsed()));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QElapsedTimer sinceStart;
  sinceStart.start();
  QApplication app(argc, argv);
  zelv::RunStartupStep();
  QApplication::setWindowIcon(numora::ProgramIcon());
  std::printf("application object ready: %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
  MeasureStart();

  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  MeasureRounds(rounds);
  return 0;
}
