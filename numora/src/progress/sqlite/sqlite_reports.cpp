// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite store's reads: the profiles, the rounds and tasks for the export
// and the practice of missed tasks, and the sums behind the progress window
// and the report, computed in the file.
#include <QSqlQuery>
#include <QStringList>
#include <map>
#include <tuple>

#include "sqlite_progress_store.h"
#include "sqlite_statement.h"
#include "store_sql.h"

namespace numora {
namespace {

// The spans as a table (i, lo, hi) for the sums: the starts travel as one
// JSON array, so any number of spans takes one statement, and every span
// reads its rounds through the index on (profile_id, started).
constexpr const char* kSpansTable =
    "WITH spans(i, lo, hi) AS (SELECT key, value, lead(value, 1, ?) OVER (ORDER BY key)"
    " FROM json_each(?))";

QString SpanStartsJson(const TimeSpans& spans) {
  QStringList starts;
  starts.reserve(static_cast<qsizetype>(spans.Starts.size()));
  for (const StoreTime start : spans.Starts) starts << QString::number(start);
  return QLatin1Char('[') + starts.join(QLatin1Char(',')) + QLatin1Char(']');
}

// A read that stopped early: the rows so far are no answer.
StoreError Stopped(Statement& statement) {
  return statement.Error();
}

}  // namespace

StoreResult<std::vector<ProfileInfo>> SqliteProgressStore::Profiles() {
  std::vector<ProfileInfo> list;
  Statement select(db_, sql::kProfiles);
  if (!select.Run()) return select.Error();
  while (select.Query().next()) {
    list.push_back({select.Query().value(0).toLongLong(), select.Query().value(1).toString()});
  }
  if (select.Query().lastError().isValid()) return Stopped(select);
  return list;
}

StoreResult<std::optional<ProfileId>> SqliteProgressStore::LastProfile() {
  Statement select(db_, sql::kLastProfile);
  if (!select.Run()) return select.Error();
  if (!select.Query().next()) {
    if (select.Query().lastError().isValid()) return Stopped(select);
    return std::optional<ProfileId>();
  }
  return std::optional<ProfileId>(select.Query().value(0).toLongLong());
}

StoreResult<std::vector<StoredRound>> SqliteProgressStore::Rounds(ProfileId profile, StoreTime from,
                                                                  StoreTime to) {
  std::vector<StoredRound> list;
  Statement select(db_, sql::kRounds);
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from),
                  static_cast<qint64>(to))) {
    return select.Error();
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    StoredRound round;
    round.Id = q.value(0).toLongLong();
    round.Start = q.value(1).toLongLong();
    round.Counts.Difficulty = static_cast<TLevel>(q.value(2).toInt());
    round.Counts.Solved = q.value(3).toInt();
    round.Counts.Points = q.value(4).toInt();
    round.Counts.Errors = q.value(5).toInt();
    round.Counts.Seconds = q.value(6).toInt();
    round.SpecialPoints = q.value(7).toInt();
    round.State = static_cast<RoundState>(q.value(8).toInt());
    round.Practice = q.value(9).toInt() != 0;
    list.push_back(round);
  }
  if (q.lastError().isValid()) return Stopped(select);
  return list;
}

StoreStatus SqliteProgressStore::ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                                             const std::function<void(const StoredTask&)>& visit) {
  Statement select(db_, sql::kTasksWithAnswers);
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from),
                  static_cast<qint64>(to))) {
    return select.Error();
  }
  QSqlQuery& q = select.Query();
  StoredTask task;
  std::optional<qint64> current;
  while (q.next()) {
    const qint64 id = q.value(0).toLongLong();
    if (id != current) {
      if (current) visit(task);
      current = id;
      task.Round = q.value(1).toLongLong();
      task.RoundStart = q.value(2).toLongLong();
      task.Level = static_cast<TLevel>(q.value(3).toInt());
      task.Slot = q.value(4).toInt();
      task.Term = q.value(5).toString();
      task.Expected = q.value(6).toLongLong();
      task.Kind = static_cast<TaskKind>(q.value(7).toInt());
      task.WrongAnswers = q.value(8).toInt();
      task.Solved = q.value(9).toInt() != 0;
      task.SecondsToSolve = q.value(10).toInt();
      task.Answers.clear();
    }
    const QVariant typed = q.value(11);
    if (!typed.isNull()) task.Answers.append(typed.toString());
  }
  if (q.lastError().isValid()) return Stopped(select);
  if (current) visit(task);
  return StoreOk();
}

StoreResult<std::vector<MissedTask>> SqliteProgressStore::MissedTasks(ProfileId profile,
                                                                      StoreTime since, int limit) {
  std::vector<MissedTask> list;
  Statement select(db_, sql::kMissedTasks);
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(since), limit)) {
    return select.Error();
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    list.push_back({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toInt(),
                    q.value(3).toLongLong()});
  }
  if (q.lastError().isValid()) return Stopped(select);
  return list;
}

StoreResult<std::vector<RoundSums>> SqliteProgressStore::SumRounds(ProfileId profile,
                                                                   const TimeSpans& spans) {
  std::vector<RoundSums> sums(spans.Starts.size());
  const QByteArray sql =
      QByteArray(kSpansTable) +
      " SELECT s.i, total(r.solved + r.errors > 0), total(r.points + r.special_points),"
      " total(r.solved), total(r.errors),"
      " total(r.seconds) FROM spans s JOIN rounds r ON r.profile_id = ?"
      " AND r.started >= s.lo AND r.started < s.hi GROUP BY s.i";
  Statement select(db_, sql.constData());
  if (!select.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
                  static_cast<qint64>(profile))) {
    return select.Error();
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    const auto span = static_cast<std::size_t>(q.value(0).toLongLong());
    if (span >= sums.size()) continue;
    sums[span] = {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong(),
                  q.value(4).toLongLong(), q.value(5).toLongLong()};
  }
  if (q.lastError().isValid()) return Stopped(select);
  return sums;
}

StoreResult<std::vector<TaskSums>> SqliteProgressStore::SumTasks(ProfileId profile,
                                                                 const TimeSpans& spans) {
  std::map<std::tuple<int, int, int>, TaskSums> groups;
  const auto add = [&](int span, int kind, int level, const QSqlQuery& q, int column) {
    const std::int64_t tasks = q.value(column).toLongLong();
    if (tasks == 0 || kind < 0 || kind >= kTaskKindCount) return;
    TaskSums& sum = groups[{span, kind, level}];
    sum.Span = span;
    sum.Kind = static_cast<TaskKind>(kind);
    sum.Level = static_cast<TLevel>(level);
    sum.Tasks += tasks;
    sum.RightFirstTry += q.value(column + 1).toLongLong();
    sum.Solved += q.value(column + 2).toLongLong();
    sum.SecondsToSolve += q.value(column + 3).toLongLong();
  };
  // The rounds that are over, from their sums.
  QByteArray sql = QByteArray(kSpansTable) + " SELECT s.i, r.level";
  for (int k = 0; k < kTaskKindCount; ++k) {
    sql += QByteArray(", total(k.tasks%1), total(k.right%1), total(k.solved%1), total(k.seconds%1)")
               .replace("%1", QByteArray::number(k));
  }
  sql +=
      " FROM spans s JOIN rounds r ON r.profile_id = ? AND r.started >= s.lo AND r.started < s.hi"
      " JOIN round_kind_sums k ON k.round_id = r.id GROUP BY s.i, r.level";
  Statement over(db_, sql.constData());
  if (!over.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
                static_cast<qint64>(profile))) {
    return over.Error();
  }
  QSqlQuery& q = over.Query();
  while (q.next()) {
    for (int k = 0; k < kTaskKindCount; ++k) {
      add(q.value(0).toInt(), k, q.value(1).toInt(), q, 2 + 4 * k);
    }
  }
  if (q.lastError().isValid()) return Stopped(over);
  // The rounds still open (the one being played, or one a crash left open),
  // from their tasks.
  const QByteArray open =
      QByteArray(kSpansTable) +
      " SELECT s.i, t.kind, r.level, count(*), total(t.solved AND t.wrong = 0), total(t.solved),"
      " total(CASE WHEN t.solved THEN t.seconds_to_solve ELSE 0 END)"
      " FROM spans s JOIN rounds r ON r.profile_id = ? AND r.started >= s.lo AND r.started < s.hi"
      " AND NOT EXISTS (SELECT 1 FROM round_kind_sums k WHERE k.round_id = r.id)"
      " JOIN tasks t ON t.round_id = r.id WHERE t.solved OR t.wrong > 0"
      " GROUP BY s.i, t.kind, r.level";
  Statement running(db_, open.constData());
  if (!running.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
                   static_cast<qint64>(profile))) {
    return running.Error();
  }
  QSqlQuery& r = running.Query();
  while (r.next()) add(r.value(0).toInt(), r.value(1).toInt(), r.value(2).toInt(), r, 3);
  if (r.lastError().isValid()) return Stopped(running);
  std::vector<TaskSums> list;
  list.reserve(groups.size());
  for (const auto& [key, sum] : groups) list.push_back(sum);
  return list;
}

StoreResult<std::vector<WrongTerm>> SqliteProgressStore::MostMissedTerms(ProfileId profile,
                                                                         StoreTime from,
                                                                         StoreTime to, int limit) {
  std::vector<WrongTerm> list;
  Statement select(db_, sql::kMostMissedTerms);
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from), static_cast<qint64>(to),
                  limit)) {
    return select.Error();
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    list.push_back(
        {q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toInt(), q.value(3).toInt()});
  }
  if (q.lastError().isValid()) return Stopped(select);
  return list;
}

StoreResult<std::optional<StoreTime>> SqliteProgressStore::FirstRoundStart(ProfileId profile) {
  Statement select(db_, sql::kFirstRoundStart);
  if (!select.Run(static_cast<qint64>(profile))) return select.Error();
  if (!select.Query().next()) {
    if (select.Query().lastError().isValid()) return Stopped(select);
    return std::optional<StoreTime>();
  }
  if (select.Query().value(0).isNull()) return std::optional<StoreTime>();
  return std::optional<StoreTime>(select.Query().value(0).toLongLong());
}

}  // namespace numora
