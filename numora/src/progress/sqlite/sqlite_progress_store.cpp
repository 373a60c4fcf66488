// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlite_progress_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>
#include <map>
#include <string>
#include <tuple>

#include "memory_progress_store.h"

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

// Sums up the rounds that are over and have no sums yet.
const std::string& FillRoundKindSums() {
  static const std::string sql =
      std::string("INSERT INTO round_kind_sums ") + kRoundKindSums +
      " WHERE round_id IN (SELECT id FROM rounds WHERE state <> 0"
      " AND id NOT IN (SELECT round_id FROM round_kind_sums)) GROUP BY round_id";
  return sql;
}

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
          FillRoundKindSums().c_str(),
      },
  };
  return steps;
}

bool Exec(QSqlDatabase& db, const QString& sql) {
  QSqlQuery query(db);
  return query.exec(sql);
}

// A file that cannot be an intact SQLite database: wrong header, or shorter
// than the pages its header counts.
bool LooksDamaged(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;  // the driver will say
  const qint64 size = file.size();
  if (size == 0) return false;  // an empty file is a new database
  const QByteArray header = file.read(100);
  if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3", 16))) return true;
  const auto byte = [&](int i) {
    return static_cast<quint32>(static_cast<unsigned char>(header[i]));
  };
  quint32 pageSize = byte(16) << 8 | byte(17);
  if (pageSize == 1) pageSize = 65536;
  const quint32 changeCounter = byte(24) << 24 | byte(25) << 16 | byte(26) << 8 | byte(27);
  const quint32 pages = byte(28) << 24 | byte(29) << 16 | byte(30) << 8 | byte(31);
  const quint32 validFor = byte(92) << 24 | byte(93) << 16 | byte(94) << 8 | byte(95);
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return true;
  return validFor == changeCounter && size < static_cast<qint64>(pageSize) * pages;
}

QString NewConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("numora-progress-%1").arg(++counter);
}

enum class OpenResult { Ready, Unreadable, Newer, CannotWrite };

OpenResult PrepareDatabase(QSqlDatabase& db) {
  if (!db.open()) return OpenResult::CannotWrite;
  QSqlQuery version(db);
  if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
    return OpenResult::Unreadable;
  }
  const int current = version.value(0).toInt();
  version.finish();
  const int latest = static_cast<int>(Migrations().size());
  if (current > latest) return OpenResult::Newer;
  // A damaged file fails here at the latest, when the schema is read.
  QSqlQuery schema(db);
  if (!schema.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
    return OpenResult::Unreadable;
  }
  schema.finish();
  if (!Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"))) {
    return db.lastError().nativeErrorCode() == QLatin1String("26") ? OpenResult::Unreadable
                                                                   : OpenResult::CannotWrite;
  }
  Exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
  Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
  for (int step = current; step < latest; ++step) {
    if (!db.transaction()) return OpenResult::CannotWrite;
    bool ok = true;
    for (const char* sql : Migrations()[static_cast<std::size_t>(step)]) {
      ok = ok && Exec(db, QString::fromLatin1(sql));
    }
    ok = ok && Exec(db, QStringLiteral("PRAGMA user_version=%1").arg(step + 1));
    if (!ok || !db.commit()) {
      db.rollback();
      // Another instance may have migrated the file at the same moment.
      QSqlQuery again(db);
      if (again.exec(QStringLiteral("PRAGMA user_version")) && again.next() &&
          again.value(0).toInt() == latest) {
        return OpenResult::Ready;
      }
      return OpenResult::CannotWrite;
    }
  }
  return OpenResult::Ready;
}

// Moves the file and its write-ahead log aside under a name with the time.
QString MoveAside(const QString& path) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString target = path + QStringLiteral(".unreadable-") + stamp;
  for (int n = 2; QFileInfo::exists(target); ++n) {
    target = path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(n);
  }
  if (!QFile::rename(path, target)) return {};
  for (const char* suffix : {"-wal", "-shm"}) {
    const QString companion = path + QLatin1String(suffix);
    if (QFileInfo::exists(companion)) QFile::rename(companion, target + QLatin1String(suffix));
  }
  return target;
}

OpenedProgressStore InMemory(QString problem, QString movedAside = {}) {
  return {std::make_unique<MemoryProgressStore>(), std::move(problem), std::move(movedAside)};
}

}  // namespace

QString DefaultProgressStorePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/numora/progress.sqlite");
}

OpenedProgressStore OpenProgressStore(const QString& path) {
  const QString cannotWrite = QCoreApplication::translate(
      "numora::ProgressStore",
      "Der Lernfortschritt kann nicht gespeichert werden (%1 ist nicht beschreibbar oder "
      "voll). Du kannst weiter üben, aber was du heute schaffst, wird nicht gespeichert.");
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
    return InMemory(cannotWrite.arg(path));
  }
  const QFileInfo info(path);
  if (!QDir().mkpath(info.absolutePath())) return InMemory(cannotWrite.arg(info.absolutePath()));

  const QString connection = NewConnectionName();
  OpenResult result = OpenResult::Unreadable;
  if (!LooksDamaged(path)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    result = PrepareDatabase(db);
    if (result != OpenResult::Ready) db.close();
  }
  if (result == OpenResult::Ready) {
    return {std::make_unique<SqliteProgressStore>(connection), {}, {}};
  }
  QSqlDatabase::removeDatabase(connection);
  if (result == OpenResult::CannotWrite) return InMemory(cannotWrite.arg(path));

  const QString moved = MoveAside(path);
  const QString problem =
      moved.isEmpty()
          ? QCoreApplication::translate(
                "numora::ProgressStore",
                "Die Datei mit dem Lernfortschritt (%1) ist beschädigt oder stammt von einer "
                "neueren Numora-Version. Du kannst weiter üben, aber heute wird nichts "
                "gespeichert.")
                .arg(path)
          : QCoreApplication::translate(
                "numora::ProgressStore",
                "Die Datei mit dem Lernfortschritt war beschädigt oder stammt von einer neueren "
                "Numora-Version. Sie wurde unverändert als %1 beiseitegelegt. Du kannst weiter "
                "üben, aber heute wird nichts gespeichert.")
                .arg(moved);
  return InMemory(problem, moved);
}

SqliteProgressStore::SqliteProgressStore(QString connectionName)
    : connectionName_(std::move(connectionName)), db_(QSqlDatabase::database(connectionName_)) {}

SqliteProgressStore::~SqliteProgressStore() {
  answering_.reset();  // prepared statements keep the file from closing
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
}

void SqliteProgressStore::Failed(const QString& detail) {
  ReportProblem(QCoreApplication::translate(
                    "numora::ProgressStore",
                    "Der Lernfortschritt kann nicht mehr gespeichert werden (%1). Du kannst "
                    "weiter üben.")
                    .arg(detail));
}

bool SqliteProgressStore::InTransaction(const std::function<bool()>& work) {
  if (!db_.transaction()) {
    Failed(db_.lastError().text());
    return false;
  }
  if (work() && db_.commit()) return true;
  const QString detail = db_.lastError().text();
  db_.rollback();
  Failed(detail);
  return false;
}

namespace {

// A prepared statement with its values bound in order; exec() reports errors
// through the database's last error. It can run again and again; one that
// failed to prepare tries again on the next run.
class Statement {
 public:
  Statement(QSqlDatabase& db, const char* sql) : query_(db), sql_(sql) {
    query_.setForwardOnly(true);
    ok_ = query_.prepare(QString::fromLatin1(sql_));
  }
  template <typename... Values>
  bool Run(const Values&... values) {
    if (!ok_) ok_ = query_.prepare(QString::fromLatin1(sql_));
    if (!ok_) return false;
    (query_.addBindValue(QVariant::fromValue(values)), ...);
    return query_.exec();
  }
  QSqlQuery& Query() { return query_; }

 private:
  QSqlQuery query_;
  const char* sql_;
  bool ok_ = false;
};

QString FromStd(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QVariant& value) {
  return value.toString().toLatin1().toStdString();
}

}  // namespace

std::vector<ProfileInfo> SqliteProgressStore::Profiles() {
  std::vector<ProfileInfo> list;
  Statement select(db_, "SELECT id, name FROM profiles ORDER BY id");
  if (!select.Run()) return list;
  while (select.Query().next()) {
    list.push_back({select.Query().value(0).toLongLong(), select.Query().value(1).toString()});
  }
  return list;
}

std::optional<ProfileId> SqliteProgressStore::AddProfile(const QString& name) {
  const QString clean = CleanProfileName(name);
  if (clean.isEmpty()) return std::nullopt;
  Statement insert(db_, "INSERT OR IGNORE INTO profiles(name) VALUES(?)");
  if (!insert.Run(clean)) {
    Failed(db_.lastError().text());
    return std::nullopt;
  }
  if (insert.Query().numRowsAffected() != 1) return std::nullopt;  // taken
  return insert.Query().lastInsertId().toLongLong();
}

bool SqliteProgressStore::RenameProfile(ProfileId profile, const QString& name) {
  const QString clean = CleanProfileName(name);
  if (clean.isEmpty()) return false;
  Statement update(db_, "UPDATE OR IGNORE profiles SET name = ? WHERE id = ?");
  if (!update.Run(clean, static_cast<qint64>(profile))) {
    Failed(db_.lastError().text());
    return false;
  }
  return update.Query().numRowsAffected() == 1;
}

bool SqliteProgressStore::DeleteProfile(ProfileId profile) {
  bool existed = false;
  const bool ok = InTransaction([&] {
    Statement remove(db_, "DELETE FROM profiles WHERE id = ?");
    if (!remove.Run(static_cast<qint64>(profile))) return false;
    existed = remove.Query().numRowsAffected() == 1;
    Statement forget(db_, "DELETE FROM settings WHERE key = 'last_profile' AND value = ?");
    return forget.Run(static_cast<qint64>(profile));
  });
  return ok && existed;
}

std::optional<ProfileId> SqliteProgressStore::LastProfile() {
  Statement select(db_,
                   "SELECT p.id FROM settings s JOIN profiles p ON p.id = s.value"
                   " WHERE s.key = 'last_profile'");
  if (!select.Run() || !select.Query().next()) return std::nullopt;
  return select.Query().value(0).toLongLong();
}

void SqliteProgressStore::SetLastProfile(ProfileId profile) {
  Statement upsert(db_,
                   "INSERT OR REPLACE INTO settings(key, value)"
                   " SELECT 'last_profile', id FROM profiles WHERE id = ?");
  if (!upsert.Run(static_cast<qint64>(profile))) Failed(db_.lastError().text());
}

std::optional<RoundId> SqliteProgressStore::StartRound(const RoundOpening& opening) {
  RoundId id = 0;
  const bool ok = InTransaction([&] {
    Statement round(db_,
                    "INSERT INTO rounds(profile_id, started, level, practice)"
                    " SELECT id, ?, ?, ? FROM profiles WHERE id = ?");
    if (!round.Run(static_cast<qint64>(opening.Start), static_cast<int>(opening.Level),
                   opening.Practice ? 1 : 0, static_cast<qint64>(opening.Profile)) ||
        round.Query().numRowsAffected() != 1) {
      return false;
    }
    id = round.Query().lastInsertId().toLongLong();
    Statement task(db_,
                   "INSERT INTO tasks(round_id, slot, term, expected, kind)"
                   " VALUES(?, ?, ?, ?, ?)");
    for (const RoundTaskRecord& t : opening.Tasks) {
      if (!task.Run(static_cast<qint64>(id), t.Slot, FromStd(t.Term),
                    static_cast<qint64>(t.Expected), static_cast<int>(ClassifyTask(t.Term)))) {
        return false;
      }
    }
    return true;
  });
  if (!ok) return std::nullopt;
  return id;
}

struct SqliteProgressStore::AnswerStatements {
  explicit AnswerStatements(QSqlDatabase& db)
      : Task(db,
             "UPDATE tasks SET wrong = wrong + ?, solved = solved OR ?,"
             " seconds_to_solve = CASE WHEN ? THEN ? ELSE seconds_to_solve END"
             " WHERE round_id = ? AND slot = ? RETURNING id"),
        Insert(db, "INSERT INTO answers(task_id, typed, right, second) VALUES(?, ?, ?, ?)"),
        Counts(db,
               "UPDATE rounds SET solved = ?, points = ?, errors = ?, seconds = ?"
               " WHERE id = ?") {}
  Statement Task;
  Statement Insert;
  Statement Counts;
};

SqliteProgressStore::AnswerStatements& SqliteProgressStore::Answering() {
  if (!answering_) answering_ = std::make_unique<AnswerStatements>(db_);
  return *answering_;
}

bool SqliteProgressStore::RecordAnswer(RoundId round, const AnswerRecord& answer) {
  AnswerStatements& statements = Answering();
  return InTransaction([&] {
    Statement& task = statements.Task;
    const int right = answer.Right ? 1 : 0;
    if (!task.Run(1 - right, right, right, answer.SecondsToSolve, static_cast<qint64>(round),
                  answer.Slot) ||
        !task.Query().next()) {
      task.Query().finish();
      return false;
    }
    const qint64 taskId = task.Query().value(0).toLongLong();
    task.Query().finish();
    return statements.Insert.Run(taskId, answer.Typed, right, answer.Second) &&
           statements.Counts.Run(answer.Counts.Solved, answer.Counts.Points, answer.Counts.Errors,
                                 answer.Counts.Seconds, static_cast<qint64>(round));
  });
}

bool SqliteProgressStore::EndRound(RoundId round, const RoundClosing& closing) {
  return InTransaction([&] {
    Statement update(db_,
                     "UPDATE rounds SET state = ?, special_points = ?, solved = ?, points = ?,"
                     " errors = ?, seconds = ? WHERE id = ?");
    return update.Run(static_cast<int>(closing.State), closing.SpecialPoints, closing.Counts.Solved,
                      closing.Counts.Points, closing.Counts.Errors, closing.Counts.Seconds,
                      static_cast<qint64>(round)) &&
           update.Query().numRowsAffected() == 1 && StoreRoundSums(round);
  });
}

std::vector<StoredRound> SqliteProgressStore::Rounds(ProfileId profile, StoreTime from,
                                                     StoreTime to) {
  std::vector<StoredRound> list;
  Statement select(db_,
                   "SELECT id, started, level, solved, points, errors, seconds, special_points,"
                   " state, practice FROM rounds WHERE profile_id = ? AND started >= ?"
                   " AND started < ? ORDER BY started, id");
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from),
                  static_cast<qint64>(to))) {
    return list;
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
  return list;
}

void SqliteProgressStore::ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                                      const std::function<void(const StoredTask&)>& visit) {
  // One row per answer (or one for a task without any), the rows of a task
  // together: a join walks the answers' index once, where a subquery per
  // task would search it 600,000 times for ten years of practice.
  Statement select(db_,
                   "SELECT t.id, t.round_id, r.started, r.level, t.slot, t.term, t.expected,"
                   " t.kind, t.wrong, t.solved, t.seconds_to_solve, a.typed"
                   " FROM rounds r JOIN tasks t ON t.round_id = r.id"
                   " LEFT JOIN answers a ON a.task_id = t.id"
                   " WHERE r.profile_id = ? AND r.started >= ? AND r.started < ?"
                   " ORDER BY r.started, r.id, t.slot, a.id");
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from),
                  static_cast<qint64>(to))) {
    return;
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
      task.Term = ToStd(q.value(5));
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
  if (current) visit(task);
}

std::vector<MissedTask> SqliteProgressStore::MissedTasks(ProfileId profile, StoreTime since,
                                                         int limit) {
  std::vector<MissedTask> list;
  Statement select(
      db_,
      "WITH recent AS (SELECT t.term, t.expected, t.wrong, t.solved, r.started"
      "   FROM rounds r JOIN tasks t ON t.round_id = r.id"
      "   WHERE r.profile_id = ? AND r.started >= ?),"
      " missed AS (SELECT term, expected, count(*) AS misses, max(started) AS last_miss"
      "   FROM recent WHERE wrong > 0 GROUP BY term)"
      " SELECT m.term, m.expected, m.misses, m.last_miss FROM missed m"
      " WHERE NOT EXISTS (SELECT 1 FROM recent x WHERE x.term = m.term AND x.wrong = 0"
      "   AND x.solved AND x.started > m.last_miss)"
      " ORDER BY m.last_miss DESC, m.misses DESC, m.term LIMIT ?");
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(since), limit)) return list;
  QSqlQuery& q = select.Query();
  while (q.next()) {
    list.push_back(
        {ToStd(q.value(0)), q.value(1).toLongLong(), q.value(2).toInt(), q.value(3).toLongLong()});
  }
  return list;
}

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

}  // namespace

std::vector<RoundSums> SqliteProgressStore::SumRounds(ProfileId profile, const TimeSpans& spans) {
  std::vector<RoundSums> sums(spans.Starts.size());
  const QByteArray sql = QByteArray(kSpansTable) +
                         " SELECT s.i, count(*), total(r.points), total(r.solved), total(r.errors),"
                         " total(r.seconds) FROM spans s JOIN rounds r ON r.profile_id = ?"
                         " AND r.started >= s.lo AND r.started < s.hi GROUP BY s.i";
  Statement select(db_, sql.constData());
  if (!select.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
                  static_cast<qint64>(profile))) {
    return sums;
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    const auto span = static_cast<std::size_t>(q.value(0).toLongLong());
    if (span >= sums.size()) continue;
    sums[span] = {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong(),
                  q.value(4).toLongLong(), q.value(5).toLongLong()};
  }
  return sums;
}

std::vector<TaskSums> SqliteProgressStore::SumTasks(ProfileId profile, const TimeSpans& spans) {
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
  if (over.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
               static_cast<qint64>(profile))) {
    QSqlQuery& q = over.Query();
    while (q.next()) {
      for (int k = 0; k < kTaskKindCount; ++k) {
        add(q.value(0).toInt(), k, q.value(1).toInt(), q, 2 + 4 * k);
      }
    }
  }
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
  if (running.Run(static_cast<qint64>(spans.End), SpanStartsJson(spans),
                  static_cast<qint64>(profile))) {
    QSqlQuery& q = running.Query();
    while (q.next()) add(q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q, 3);
  }
  std::vector<TaskSums> list;
  list.reserve(groups.size());
  for (const auto& [key, sum] : groups) list.push_back(sum);
  return list;
}

std::vector<WrongTerm> SqliteProgressStore::MostMissedTerms(ProfileId profile, StoreTime from,
                                                            StoreTime to, int limit) {
  std::vector<WrongTerm> list;
  Statement select(db_,
                   "SELECT t.term, t.expected, count(*) AS tasks, total(t.wrong) AS wrong"
                   " FROM rounds r JOIN tasks t ON t.round_id = r.id"
                   " WHERE r.profile_id = ? AND r.started >= ? AND r.started < ? AND t.wrong > 0"
                   " GROUP BY t.term ORDER BY tasks DESC, wrong DESC, t.term LIMIT ?");
  if (!select.Run(static_cast<qint64>(profile), static_cast<qint64>(from), static_cast<qint64>(to),
                  limit)) {
    return list;
  }
  QSqlQuery& q = select.Query();
  while (q.next()) {
    list.push_back(
        {ToStd(q.value(0)), q.value(1).toLongLong(), q.value(2).toInt(), q.value(3).toInt()});
  }
  return list;
}

std::optional<StoreTime> SqliteProgressStore::FirstRoundStart(ProfileId profile) {
  Statement select(db_, "SELECT min(started) FROM rounds WHERE profile_id = ?");
  if (!select.Run(static_cast<qint64>(profile)) || !select.Query().next() ||
      select.Query().value(0).isNull()) {
    return std::nullopt;
  }
  return select.Query().value(0).toLongLong();
}

bool SqliteProgressStore::StoreRoundSums(RoundId round) {
  const std::string sql = std::string("INSERT OR REPLACE INTO round_kind_sums ") + kRoundKindSums +
                          " WHERE round_id = ? GROUP BY round_id";
  Statement insert(db_, sql.c_str());
  return insert.Run(static_cast<qint64>(round));
}

bool SqliteProgressStore::CompleteRoundSums() {
  return InTransaction([&] {
    Statement fill(db_, FillRoundKindSums().c_str());
    return fill.Run();
  });
}

}  // namespace numora
