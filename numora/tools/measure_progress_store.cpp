// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the progress store against its targets on a generated database
// of ten years of daily practice for one child (40,000 rounds, 600,000 tasks,
// about 700,000 answers):
//   - recording an answer (one committed transaction): median < 2 ms
//   - the database file: < 100 MB
//   - the CSV export of it (what "numora --export-csv FILE" does): < 2 s
//   numora_measure_progress_store [folder for the database, default: a temporary one]
// Beside the times on the clock it gives the processor time, since other
// programs on the machine stretch the former, and what one fdatasync costs
// in that folder: every answer waits for one, and on a disk that others
// write to heavily it alone can take milliseconds.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

#include "export_command.h"
#include "sqlite_progress_store.h"

namespace {

using numora::StoreTime;

constexpr int kRounds = 40000;
constexpr int kTasksPerRound = 15;
constexpr StoreTime kDay = 24LL * 3600 * 1000;

// Fills the file directly in one transaction: writing 40,000 rounds through
// the store, each committed on its own, would measure the disk, not the store.
bool Generate(const QString& path, numora::ProfileId profile) {
  const char* terms[] = {"7*8", "250/25+7", "45+38", "91-27", "144/12", "12+3*4", "9^2"};
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("gen"));
    db.setDatabaseName(path);
    ok = db.open() && db.transaction();
    QSqlQuery round(db), task(db), answer(db);
    round.prepare(QStringLiteral(
        "INSERT INTO rounds(profile_id, started, level, practice, state, solved, points,"
        " errors, seconds) VALUES(?, ?, ?, 0, 1, 15, 30, ?, 300)"));
    task.prepare(QStringLiteral(
        "INSERT INTO tasks(round_id, slot, term, expected, kind, wrong, solved, seconds_to_solve)"
        " VALUES(?, ?, ?, 42, ?, ?, 1, ?)"));
    answer.prepare(
        QStringLiteral("INSERT INTO answers(task_id, typed, right, second) VALUES(?, ?, ?, ?)"));
    const StoreTime start = 1500000000000;
    for (int r = 0; ok && r < kRounds; ++r) {
      const int errors = r % 3;
      round.addBindValue(static_cast<qint64>(profile));
      round.addBindValue(static_cast<qint64>(start + (r / 11) * kDay + (r % 11) * 600000));
      round.addBindValue(r % 3);
      round.addBindValue(errors);
      ok = round.exec();
      const qint64 roundId = round.lastInsertId().toLongLong();
      for (int s = 0; ok && s < kTasksPerRound; ++s) {
        const int wrong = s < errors ? 1 : 0;
        task.addBindValue(roundId);
        task.addBindValue(s);
        task.addBindValue(QString::fromLatin1(terms[(r + s) % 7]));
        task.addBindValue((r + s) % 5);
        task.addBindValue(wrong);
        task.addBindValue(20);
        ok = task.exec();
        const qint64 taskId = task.lastInsertId().toLongLong();
        for (int a = 0; ok && a <= wrong; ++a) {
          answer.addBindValue(taskId);
          answer.addBindValue(a < wrong ? QStringLiteral("41") : QStringLiteral("42"));
          answer.addBindValue(a == wrong ? 1 : 0);
          answer.addBindValue(s * 20);
          ok = answer.exec();
        }
      }
    }
    ok = ok && db.commit();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("gen"));
  return ok;
}

// Processor time of the whole process, in milliseconds.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// What the disk asks for one small synced write, as a commit makes it.
double FdatasyncMedianMs(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder + QStringLiteral("/fdatasync.probe"));
  const int fd = open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
  if (fd < 0) return -1;
  std::vector<double> ms;
  QElapsedTimer timer;
  const std::vector<char> page(4096, 'x');
  for (int i = 0; i < 100; ++i) {
    if (pwrite(fd, page.data(), page.size(), static_cast<off_t>(i) * 4096) < 0) break;
    timer.restart();
    fdatasync(fd);
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  close(fd);
  unlink(path.constData());
  return ms.empty() ? -1 : Median(ms);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTemporaryDir temporary;
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
  const QString path = folder + QStringLiteral("/progress.sqlite");

  numora::ProfileId profile = 0;
  {
    numora::OpenedProgressStore opened = numora::OpenProgressStore(path);
    if (opened.Problem) {
      std::fprintf(stderr, "%s\n", qPrintable(opened.Problem->Error.Detail));
      return 1;
    }
    profile = *opened.Store->AddProfile(QStringLiteral("Kind"));
  }
  QElapsedTimer timer;
  timer.start();
  if (!Generate(path, profile)) {
    std::fprintf(stderr, "generating the database failed\n");
    return 1;
  }
  std::printf("generated %d rounds, %d tasks in %.1f s\n", kRounds, kRounds * kTasksPerRound,
              static_cast<double>(timer.elapsed()) / 1000);

  numora::OpenedProgressStore opened = numora::OpenProgressStore(path);
  numora::ProgressStore& store = *opened.Store;
  // The program sums up each round as it ends; the rounds written directly
  // are summed up here, so that the file is what ten years of play leave.
  if (auto* sqlite = dynamic_cast<numora::SqliteProgressStore*>(&store)) {
    sqlite->CompleteRoundSums();
  }
  const numora::RoundId round =
      *store.StartRound({profile, 1900000000000, 1, false, {{0, "7*8", 56}, {1, "6*7", 42}}});
  std::vector<double> ms;
  std::vector<double> cpu;
  for (int i = 0; i < 200; ++i) {
    numora::AnswerRecord answer{i % 2, QStringLiteral("41"), false, i, 0, {0, 0, i, 1, 0}};
    const double cpuBefore = CpuMs();
    timer.restart();
    store.RecordAnswer(round, answer);
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    cpu.push_back(CpuMs() - cpuBefore);
  }
  const double median = Median(ms);
  const double fdatasyncMs = FdatasyncMedianMs(folder);
  opened.Store.reset();  // checkpoints the log into the file
  const double megabytes = static_cast<double>(QFileInfo(path).size()) / (1024 * 1024);

  // The command line's own work: open the store, write all profiles.
  const QString csv = folder + QStringLiteral("/export.csv");
  const double cpuBefore = CpuMs();
  timer.restart();
  const bool exported =
      numora::RunExportCommand({QStringLiteral("numora"), QStringLiteral("--export-csv"), csv},
                               path) == 0;
  const double exportSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  const double exportCpuSeconds = (CpuMs() - cpuBefore) / 1e3;

  std::printf(
      "record an answer: median %.2f ms, worst %.2f ms, processor %.2f ms"
      " (target: median < 2 ms)\n",
      median, *std::max_element(ms.begin(), ms.end()), Median(cpu));
  std::printf("  fdatasync of 4 KB in that folder: median %.2f ms\n", fdatasyncMs);
  std::printf("database file:    %.1f MB (target: < 100 MB)\n", megabytes);
  std::printf("CSV export:       %.2f s, processor %.2f s%s (target: < 2 s)\n", exportSeconds,
              exportCpuSeconds, exported ? "" : " FAILED");
  const bool met = median < 2 && megabytes < 100 && exported && exportSeconds < 2;
  std::printf("targets: %s\n", met ? "met" : "NOT met");
  return met ? 0 : 1;
}
