// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite store's writes: profiles, and rounds, tasks and answers as they
// are played, each call one transaction.
#include <QSqlQuery>

#include "sqlite_lock.h"
#include "sqlite_progress_store.h"
#include "sqlite_statement.h"
#include "store_sql.h"

namespace numora {

SqliteProgressStore::SqliteProgressStore(QString connectionName, std::unique_ptr<FileLock> lock)
    : connectionName_(std::move(connectionName)),
      db_(QSqlDatabase::database(connectionName_)),
      lock_(std::move(lock)) {}

struct SqliteProgressStore::AnswerStatements {
  explicit AnswerStatements(QSqlDatabase& db)
      : Task(db, sql::kAnswerTask), Insert(db, sql::kAddAnswer), Counts(db, sql::kRoundCounts) {}
  Statement Task;
  Statement Insert;
  Statement Counts;
};

SqliteProgressStore::~SqliteProgressStore() {
  answering_.reset();  // prepared statements keep the file from closing
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
}

StoreStatus SqliteProgressStore::InTransaction(const std::function<StoreStatus()>& work) {
  if (!db_.transaction()) return ErrorOf(db_.lastError(), "BEGIN");
  StoreStatus done = work();
  if (done && !db_.commit()) done = ErrorOf(db_.lastError(), "COMMIT");
  if (!done) db_.rollback();
  return done;
}

std::optional<ProfileId> SqliteProgressStore::AddProfile(const QString& name) {
  const QString clean = CleanProfileName(name);
  if (clean.isEmpty()) return std::nullopt;
  Statement insert(db_, "INSERT OR IGNORE INTO profiles(name) VALUES(?)");
  if (!insert.Run(clean)) return std::nullopt;
  if (insert.Query().numRowsAffected() != 1) return std::nullopt;  // taken
  return insert.Query().lastInsertId().toLongLong();
}

bool SqliteProgressStore::RenameProfile(ProfileId profile, const QString& name) {
  const QString clean = CleanProfileName(name);
  if (clean.isEmpty()) return false;
  Statement update(db_, "UPDATE OR IGNORE profiles SET name = ? WHERE id = ?");
  return update.Run(clean, static_cast<qint64>(profile)) && update.Query().numRowsAffected() == 1;
}

bool SqliteProgressStore::DeleteProfile(ProfileId profile) {
  bool existed = false;
  const StoreStatus done = InTransaction([&]() -> StoreStatus {
    Statement remove(db_, sql::kDeleteProfile);
    if (!remove.Run(static_cast<qint64>(profile))) return remove.Error();
    existed = remove.Query().numRowsAffected() == 1;
    Statement forget(db_, sql::kForgetLastProfile);
    if (!forget.Run(static_cast<qint64>(profile))) return forget.Error();
    return StoreOk();
  });
  return done && existed;
}

void SqliteProgressStore::SetLastProfile(ProfileId profile) {
  // Only a preference: when it cannot be kept, the next start asks again.
  Statement upsert(db_,
                   "INSERT OR REPLACE INTO settings(key, value)"
                   " SELECT 'last_profile', id FROM profiles WHERE id = ?");
  (void)upsert.Run(static_cast<qint64>(profile));
}

StoreResult<RoundId> SqliteProgressStore::StartRound(const RoundOpening& opening) {
  RoundId id = 0;
  const StoreStatus done = InTransaction([&]() -> StoreStatus {
    Statement round(db_, sql::kStartRound);
    if (!round.Run(static_cast<qint64>(opening.Start), static_cast<int>(opening.Level),
                   opening.Practice ? 1 : 0, static_cast<qint64>(opening.Profile))) {
      return round.Error();
    }
    if (round.Query().numRowsAffected() != 1) {
      return StoreError{StoreErrorKind::Missing, QStringLiteral("profile")};
    }
    id = round.Query().lastInsertId().toLongLong();
    Statement task(db_, sql::kAddTask);
    for (const RoundTaskRecord& t : opening.Tasks) {
      if (!task.Run(static_cast<qint64>(id), t.Slot, t.Term, static_cast<qint64>(t.Expected),
                    static_cast<int>(ClassifyTerm(t.Term)))) {
        return task.Error();
      }
    }
    return StoreOk();
  });
  if (!done) return done.Error();
  return id;
}

SqliteProgressStore::AnswerStatements& SqliteProgressStore::Answering() {
  if (!answering_) answering_ = std::make_unique<AnswerStatements>(db_);
  return *answering_;
}

StoreStatus SqliteProgressStore::RecordAnswer(RoundId round, const AnswerRecord& answer) {
  AnswerStatements& statements = Answering();
  return InTransaction([&]() -> StoreStatus {
    Statement& task = statements.Task;
    const int right = answer.Right ? 1 : 0;
    if (!task.Run(1 - right, right, right, answer.SecondsToSolve, static_cast<qint64>(round),
                  answer.Slot)) {
      return task.Error();
    }
    if (!task.Query().next()) {
      task.Query().finish();
      return StoreError{StoreErrorKind::Missing, QStringLiteral("task")};
    }
    const qint64 taskId = task.Query().value(0).toLongLong();
    task.Query().finish();
    if (!statements.Insert.Run(taskId, answer.Typed, right, answer.Second)) {
      return statements.Insert.Error();
    }
    if (!statements.Counts.Run(answer.Counts.Solved, answer.Counts.Points, answer.Counts.Errors,
                               answer.Counts.Seconds, static_cast<qint64>(round))) {
      return statements.Counts.Error();
    }
    return StoreOk();
  });
}

StoreStatus SqliteProgressStore::EndRound(RoundId round, const RoundClosing& closing) {
  return InTransaction([&]() -> StoreStatus {
    Statement update(db_, sql::kEndRound);
    if (!update.Run(static_cast<int>(closing.State), closing.SpecialPoints, closing.Counts.Solved,
                    closing.Counts.Points, closing.Counts.Errors, closing.Counts.Seconds,
                    static_cast<qint64>(round))) {
      return update.Error();
    }
    if (update.Query().numRowsAffected() != 1) {
      return StoreError{StoreErrorKind::Missing, QStringLiteral("round")};
    }
    return StoreRoundSums(round);
  });
}

StoreStatus SqliteProgressStore::StoreRoundSums(RoundId round) {
  Statement insert(db_, StoreRoundKindSumsSql().c_str());
  if (!insert.Run(static_cast<qint64>(round))) return insert.Error();
  return StoreOk();
}

StoreStatus SqliteProgressStore::CompleteRoundSums() {
  return InTransaction([&]() -> StoreStatus {
    Statement fill(db_, FillRoundKindSumsSql().c_str());
    if (!fill.Run()) return fill.Error();
    return StoreOk();
  });
}

bool SqliteProgressStore::LimitGrowth(qint64 extraPages) {
  QSqlQuery count(db_);
  if (!count.exec(QStringLiteral("PRAGMA page_count")) || !count.next()) return false;
  const qint64 pages = count.value(0).toLongLong() + extraPages;
  count.finish();
  QSqlQuery limit(db_);
  return limit.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(pages));
}

}  // namespace numora
