// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Six weeks of practice of two children (Anna and Ben, rounds at every
// level, tasks dealt by the trainer itself, answers that get better over
// time), written through the progress store's own calls:
//   numora_progress_pictures pictures <folder> [<language> <zoom per cent>]
//       renders the progress window of Anna (numora-progress.png) and her
//       printed report (numora-progress-report.pdf) into folder, for a fixed
//       day, from an in-memory store
//   numora_progress_pictures database <progress.sqlite>
//       writes the same history, ending today, into a progress file, for
//       trying the program with it
#include <QApplication>
#include <QDir>
#include <QPdfWriter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "main_window.h"
#include "memory_progress_store.h"
#include "program_identity.h"
#include "progress_window.h"
#include "sqlite_progress_store.h"
#include "zelvlib/scale.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/startup.h"
#include "zelvlib/translations.h"

namespace {

using numora::StoreTime;

constexpr int kDays = 42;

struct Child {
  const char* Name;
  double Skill;  // the share right at the first try on the first day
  int RoundsPerDay;
};

// Deals rounds at every level with the trainer's own task making and
// answers them: wrong more often early on and on divisions, faster later.
void WriteHistory(numora::ProgressStore& store, QDate lastDay) {
  zelv::ScriptedDialogs dialogs;
  numora::TForm1 form(dialogs, nullptr, 20261207);
  std::mt19937 random(4711);
  std::uniform_real_distribution<double> chance(0, 1);
  for (const Child& child : {Child{"Anna", 0.72, 2}, Child{"Ben", 0.6, 1}}) {
    const numora::ProfileId profile = *store.AddProfile(QString::fromLatin1(child.Name));
    for (int day = 0; day < kDays; ++day) {
      if (day % 7 == 5 && child.RoundsPerDay == 1) continue;  // Ben skips Saturdays
      const double progress = static_cast<double>(day) / kDays;
      for (int r = 0; r < child.RoundsPerDay + (day % 3 == 0 ? 1 : 0); ++r) {
        const auto level = static_cast<numora::TLevel>((day / 14 + r) % numora::kLevelCount);
        form.LevelItems[level]->trigger();  // a new round at that level
        const QDateTime start(lastDay.addDays(day - kDays + 1), QTime(15 + r, 10 * r));
        numora::RoundOpening opening{profile, start.toMSecsSinceEpoch(), level, false, {}};
        for (int row = 0; row < numora::kTaskRows; ++row) {
          for (int column = 0; column < numora::kTaskColumns; ++column) {
            const numora::TaskSlot& task = form.Game().Task(column, row);
            opening.Tasks.push_back({static_cast<int>(opening.Tasks.size()),
                                     QString::fromLatin1(task.Text),
                                     static_cast<std::int64_t>(std::llround(task.Expected))});
          }
        }
        const numora::RoundId round = *store.StartRound(opening);
        numora::TGameParams counts;
        for (const numora::RoundTaskRecord& task : opening.Tasks) {
          const bool division = task.Term.contains(u'/');
          double right = child.Skill + 0.22 * progress - (division ? 0.18 : 0) - 0.05 * level;
          const int seconds = static_cast<int>(9 + 8 * level - 5 * progress + 6 * chance(random));
          counts.Seconds += seconds;
          while (chance(random) > right) {
            ++counts.Errors;
            store.RecordAnswer(round,
                               {task.Slot, QStringLiteral("0"), false, counts.Seconds, 0, counts});
            right += 0.3;
          }
          ++counts.Solved;
          counts.Points += numora::kPointsPerTask[level];
          store.RecordAnswer(round, {task.Slot, QString::number(task.Expected), true,
                                     counts.Seconds, seconds, counts});
        }
        store.EndRound(round, {numora::RoundState::Finished, 0, counts});
      }
    }
  }
}

int Pictures(const QDir& folder, const QString& language, zelv::Scale scale) {
  const zelv::ProgramTranslations translations({QStringLiteral("numora")}, {language});
  QApplication::setFont(scale.Font(QApplication::font()));
  numora::MemoryProgressStore store;
  const QDate lastDay(2026, 12, 7);
  WriteHistory(store, lastDay);
  numora::ProgressWindow window(store);
  window.SetProfile(store.Profiles()->front().Id, store.Profiles()->front().Name);
  window.SetClock(QDateTime(lastDay, QTime(18, 0)), QTimeZone::systemTimeZone());
  window.ShowProgress();
  window.resize(scale.Size(QSize(1000, 860)));
  QCoreApplication::processEvents();
  const QString suffix = scale.Percent() == 100 && language == QLatin1String("de")
                             ? QString()
                             : QStringLiteral("-%1-%2").arg(language).arg(scale.Percent());
  const QString picture = folder.filePath(QStringLiteral("numora-progress%1.png").arg(suffix));
  if (!window.grab().save(picture)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(picture));
    return 1;
  }
  const QString report =
      folder.filePath(QStringLiteral("numora-progress-report%1.pdf").arg(suffix));
  QPdfWriter pdf(report);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  pdf.setTitle(QStringLiteral("Numora"));
  if (!window.PrintTo(pdf)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(report));
    return 1;
  }
  return 0;
}

int Database(const QString& path) {
  numora::OpenedProgressStore opened = numora::OpenProgressStore(path);
  if (opened.Problem) {
    std::fprintf(stderr, "%s\n", qPrintable(opened.Problem->Error.Detail));
    return 1;
  }
  if (!opened.Store->Profiles()->empty()) {
    std::fprintf(stderr, "%s already holds profiles\n", qPrintable(path));
    return 1;
  }
  WriteHistory(*opened.Store, QDate::currentDate());
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zelv::RunStartupStep();
  QCoreApplication::setApplicationName(QStringLiteral("Numora"));
  QApplication::setWindowIcon(numora::ProgramIcon());
  const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (mode == QLatin1String("pictures") && (argc == 3 || argc == 5)) {
    return Pictures(QDir(QString::fromLocal8Bit(argv[2])),
                    argc == 5 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("de"),
                    zelv::Scale::FromPercent(argc == 5 ? std::atoi(argv[4]) : 100));
  }
  if (mode == QLatin1String("database") && argc == 3) {
    return Database(QString::fromLocal8Bit(argv[2]));
  }
  std::fprintf(stderr,
               "usage: numora_progress_pictures pictures <folder> [<language> <zoom per cent>]\n"
               "       numora_progress_pictures database <progress.sqlite>\n");
  return 2;
}
