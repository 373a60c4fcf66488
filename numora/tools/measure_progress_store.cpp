// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the progress store against its targets on a generated database
// of ten years of daily practice for one child (40,000 rounds, 600,000 tasks,
// about 700,000 answers):
//   - recording an answer (one committed transaction): median < 2 ms
//   - the database file: < 100 MB
//   - the CSV export of it: < 2 s
//   numora_measure_progress_store [folder for the database, default: a temporary one]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

#include "csv_export.h"
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

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTemporaryDir temporary;
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
  const QString path = folder + QStringLiteral("/progress.sqlite");

  numora::ProfileId profile = 0;
  {
    numora::OpenedProgressStore opened = numora::OpenProgressStore(path);
    if (!opened.Problem.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(opened.Problem));
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
  const numora::RoundId round =
      *store.StartRound({profile, 1900000000000, 1, false, {{0, "7*8", 56}, {1, "6*7", 42}}});
  std::vector<double> ms;
  for (int i = 0; i < 200; ++i) {
    numora::AnswerRecord answer{i % 2, QStringLiteral("41"), false, i, 0, {0, 0, i, 1, 0}};
    timer.restart();
    store.RecordAnswer(round, answer);
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];

  const QString csv = folder + QStringLiteral("/export.csv");
  QString error;
  timer.restart();
  const bool exported = numora::ExportProgressCsv(store, profile, csv, error);
  const double exportSeconds = static_cast<double>(timer.elapsed()) / 1000;
  opened.Store.reset();  // checkpoints the log into the file
  const double megabytes = static_cast<double>(QFileInfo(path).size()) / (1024 * 1024);

  std::printf("record an answer: median %.2f ms, worst %.2f ms (target: median < 2 ms)\n", median,
              ms.back());
  std::printf("database file:    %.1f MB (target: < 100 MB)\n", megabytes);
  std::printf("CSV export:       %.2f s%s (target: < 2 s)\n", exportSeconds,
              exported ? "" : " FAILED");
  const bool met = median < 2 && megabytes < 100 && exported && exportSeconds < 2;
  std::printf("targets: %s\n", met ? "met" : "NOT met");
  return met ? 0 : 1;
}
