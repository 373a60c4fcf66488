// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlite_schema.h"

#include <QSqlQuery>
#include <vector>

#include "sqlite_statement.h"

namespace numora {
namespace {

// The sums of each round's answered tasks by kind (tasks, right at the first
// try, solved, seconds to solve them), one row per round that is over: the
// progress window reads these instead of the rounds' tasks.
constexpr const char* kRoundKindSums =
    "SELECT round_id,"
    " sum(kind = 0 AND (solved OR wrong > 0)), sum(kind = 0 AND solved AND wrong = 0),"
    " sum(kind = 0 AND solved), sum((kind = 0) * solved * seconds_to_solve),"
    " sum(kind = 1 AND (solved OR wrong > 0)), sum(kind = 1 AND solved AND wrong = 0),"
    " sum(kind = 1 AND solved), sum((kind = 1) * solved * seconds_to_solve),"
    " sum(kind = 2 AND (solved OR wrong > 0)), sum(kind = 2 AND solved AND wrong = 0),"
    " sum(kind = 2 AND solved), sum((kind = 2) * solved * seconds_to_solve),"
    " sum(kind = 3 AND (solved OR wrong > 0)), sum(kind = 3 AND solved AND wrong = 0),"
    " sum(kind = 3 AND solved), sum((kind = 3) * solved * seconds_to_solve),"
    " sum(kind = 4 AND (solved OR wrong > 0)), sum(kind = 4 AND solved AND wrong = 0),"
    " sum(kind = 4 AND solved), sum((kind = 4) * solved * seconds_to_solve)"
    " FROM tasks";

// The schema, one step per version: step n turns a file of version n - 1
// into version n. A new version appends a step; old steps never change.
const std::vector<std::vector<const char*>>& Migrations() {
  static const std::vector<std::vector<const char*>> steps = {
      {
          "CREATE TABLE profiles(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)",
          "CREATE TABLE settings(key TEXT PRIMARY KEY, value)",
          "CREATE TABLE rounds(id INTEGER PRIMARY KEY,"
          " profile_id INTEGER NOT NULL REFERENCES profiles(id) ON DELETE CASCADE,"
          " started INTEGER NOT NULL, level INTEGER NOT NULL, practice INTEGER NOT NULL,"
          " state INTEGER NOT NULL DEFAULT 0, solved INTEGER NOT NULL DEFAULT 0,"
          " points INTEGER NOT NULL DEFAULT 0, special_points INTEGER NOT NULL DEFAULT 0,"
          " errors INTEGER NOT NULL DEFAULT 0, seconds INTEGER NOT NULL DEFAULT 0)",
          "CREATE INDEX rounds_by_profile ON rounds(profile_id, started)",
          "CREATE TABLE tasks(id INTEGER PRIMARY KEY,"
          " round_id INTEGER NOT NULL REFERENCES rounds(id) ON DELETE CASCADE,"
          " slot INTEGER NOT NULL, term TEXT NOT NULL, expected INTEGER NOT NULL,"
          " kind INTEGER NOT NULL, wrong INTEGER NOT NULL DEFAULT 0,"
          " solved INTEGER NOT NULL DEFAULT 0, seconds_to_solve INTEGER NOT NULL DEFAULT 0,"
          " UNIQUE(round_id, slot))",
          "CREATE INDEX tasks_by_term ON tasks(term)",
          "CREATE TABLE answers(id INTEGER PRIMARY KEY,"
          " task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE,"
          " typed TEXT NOT NULL, right INTEGER NOT NULL, second INTEGER NOT NULL)",
          "CREATE INDEX answers_by_task ON answers(task_id)",
      },
      {
          "CREATE TABLE round_kind_sums(round_id INTEGER PRIMARY KEY"
          " REFERENCES rounds(id) ON DELETE CASCADE,"
          " tasks0 INTEGER NOT NULL, right0 INTEGER NOT NULL, solved0 INTEGER NOT NULL, seconds0 "
          "INTEGER NOT NULL,"
          " tasks1 INTEGER NOT NULL, right1 INTEGER NOT NULL, solved1 INTEGER NOT NULL, seconds1 "
          "INTEGER NOT NULL,"
          " tasks2 INTEGER NOT NULL, right2 INTEGER NOT NULL, solved2 INTEGER NOT NULL, seconds2 "
          "INTEGER NOT NULL,"
          " tasks3 INTEGER NOT NULL, right3 INTEGER NOT NULL, solved3 INTEGER NOT NULL, seconds3 "
          "INTEGER NOT NULL,"
          " tasks4 INTEGER NOT NULL, right4 INTEGER NOT NULL, solved4 INTEGER NOT NULL, seconds4 "
          "INTEGER NOT NULL)",
          FillRoundKindSumsSql().c_str(),
      },
  };
  return steps;
}

StoreResult<int> UserVersion(QSqlDatabase& db) {
  QSqlQuery version(db);
  if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
    StoreError error = ErrorOf(version.lastError(), "PRAGMA user_version");
    if (error.Kind == StoreErrorKind::Other) error.Kind = StoreErrorKind::Unreadable;
    return error;
  }
  return version.value(0).toInt();
}

}  // namespace

const std::string& StoreRoundKindSumsSql() {
  static const std::string sql = std::string("INSERT OR REPLACE INTO round_kind_sums ") +
                                 kRoundKindSums + " WHERE round_id = ? GROUP BY round_id";
  return sql;
}

const std::string& FillRoundKindSumsSql() {
  static const std::string sql =
      std::string("INSERT INTO round_kind_sums ") + kRoundKindSums +
      " WHERE round_id IN (SELECT id FROM rounds WHERE state <> 0"
      " AND id NOT IN (SELECT round_id FROM round_kind_sums)) GROUP BY round_id";
  return sql;
}

StoreStatus MigrateSchema(QSqlDatabase& db) {
  const StoreResult<int> current = UserVersion(db);
  if (!current) return current.Error();
  const int latest = static_cast<int>(Migrations().size());
  if (*current > latest) {
    return StoreError{StoreErrorKind::NewerVersion,
                      QStringLiteral("schema %1 > %2").arg(*current).arg(latest)};
  }
  for (int step = *current; step < latest; ++step) {
    if (!db.transaction()) return ErrorOf(db.lastError(), "BEGIN");
    std::optional<StoreError> failed;
    for (const char* sql : Migrations()[static_cast<std::size_t>(step)]) {
      QSqlQuery query(db);
      if (!query.exec(QString::fromLatin1(sql))) {
        failed = ErrorOf(query.lastError(), sql);
        break;
      }
    }
    if (!failed) {
      QSqlQuery query(db);
      if (!query.exec(QStringLiteral("PRAGMA user_version=%1").arg(step + 1))) {
        failed = ErrorOf(query.lastError(), "PRAGMA user_version");
      } else if (!db.commit()) {
        failed = ErrorOf(db.lastError(), "COMMIT");
      }
    }
    if (failed) {
      db.rollback();
      // Another copy may have migrated the file at the same moment.
      const StoreResult<int> again = UserVersion(db);
      if (again && *again == latest) return StoreOk();
      return *failed;
    }
  }
  return StoreOk();
}

}  // namespace numora
