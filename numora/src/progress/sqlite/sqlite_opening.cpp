// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the progress file: the damage check (the header, then SQLite's
// quick_check), the schema, a test write, and the setting aside of a file
// that is damaged. A file is set aside only when it is damaged and no other
// running copy holds it, and never deleted: renamed with the date and time,
// its write-ahead log and shared memory with it. A healthy file that cannot
// be written (a read-only folder, a full disk, a busy file) stays where it
// is, and the store says which of these it is.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>
#include <atomic>

#include "memory_progress_store.h"
#include "sqlite_lock.h"
#include "sqlite_progress_store.h"
#include "sqlite_statement.h"

namespace numora {
namespace {

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

StoreError Damaged(QString detail) {
  return {StoreErrorKind::Unreadable, std::move(detail)};
}

// SQLite's own check of the file's structure (without the slower index
// comparison of integrity_check); its first complaint, or nothing.
std::optional<StoreError> QuickCheck(QSqlDatabase& db) {
  QSqlQuery check(db);
  if (!check.exec(QStringLiteral("PRAGMA quick_check(1)"))) {
    StoreError error = ErrorOf(check.lastError(), "PRAGMA quick_check");
    return error;
  }
  if (!check.next()) return ErrorOf(check.lastError(), "PRAGMA quick_check");
  const QString verdict = check.value(0).toString();
  if (verdict != QLatin1String("ok")) return Damaged(verdict);
  return std::nullopt;
}

// Writes one row and takes it back in a transaction of its own: the cheapest
// way to learn whether this file can be written now.
std::optional<StoreError> TestWrite(QSqlDatabase& db) {
  QSqlQuery write(db);
  if (!write.exec(QStringLiteral("BEGIN IMMEDIATE"))) return ErrorOf(write.lastError(), "BEGIN");
  if (!write.exec(QStringLiteral(
          "INSERT OR REPLACE INTO settings(key, value) VALUES('opened', strftime('%s','now'))"))) {
    StoreError error = ErrorOf(write.lastError(), "INSERT INTO settings");
    write.exec(QStringLiteral("ROLLBACK"));
    return error;
  }
  if (!write.exec(QStringLiteral("COMMIT"))) {
    StoreError error = ErrorOf(write.lastError(), "COMMIT");
    write.exec(QStringLiteral("ROLLBACK"));
    return error;
  }
  return std::nullopt;
}

struct Opening {
  // Set when the file can be used (perhaps not written now: Unwritable).
  bool Ready = false;
  std::optional<StoreError> Error;  // why it cannot be used, or written
};

// Opens the connection and brings the file up to date.
Opening OpenConnection(QSqlDatabase& db) {
  if (!db.open()) {
    StoreError error = ErrorOf(db.lastError(), "open");
    return {false, error};
  }
  // A damaged file fails here at the latest, when the schema is read.
  {
    QSqlQuery schema(db);
    if (!schema.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
      StoreError error = ErrorOf(schema.lastError(), "SELECT FROM sqlite_master");
      if (error.Kind == StoreErrorKind::Other) error.Kind = StoreErrorKind::Unreadable;
      return {false, error};
    }
  }
  if (std::optional<StoreError> damage = QuickCheck(db)) return {false, damage};
  {
    QSqlQuery version(db);
    if (version.exec(QStringLiteral("PRAGMA user_version")) && version.next() &&
        version.value(0).toInt() > kProgressSchemaVersion) {
      return {false, StoreError{StoreErrorKind::NewerVersion,
                                QStringLiteral("schema %1").arg(version.value(0).toInt())}};
    }
  }
  {
    QSqlQuery wal(db);
    if (!wal.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
      return {false, ErrorOf(wal.lastError(), "PRAGMA journal_mode=WAL")};
    }
  }
  QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=FULL"));
  QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys=ON"));
  if (StoreStatus migrated = MigrateSchema(db); !migrated) return {false, migrated.Error()};
  // The schema is there: the file is usable even if it cannot be written
  // just now.
  return {true, TestWrite(db)};
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

OpenedProgressStore InMemory(StoreProblem problem, QString movedAside = {}) {
  OpenedProgressStore opened{std::make_unique<MemoryProgressStore>(), problem,
                             std::move(movedAside)};
  opened.Store->Problems().Post(std::move(problem));
  return opened;
}

// One attempt at the file: the store, or why not (and whether it is damaged).
struct Attempt {
  std::unique_ptr<SqliteProgressStore> Store;
  std::optional<StoreError> Error;
};

Attempt TryOpen(const QString& path, std::unique_ptr<FileLock>& lock) {
  const QString connection = NewConnectionName();
  if (LooksDamaged(path)) return {nullptr, Damaged(QStringLiteral("file header"))};
  Opening opening;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    opening = OpenConnection(db);
    if (!opening.Ready) db.close();
  }
  if (!opening.Ready) {
    QSqlDatabase::removeDatabase(connection);
    return {nullptr, opening.Error};
  }
  return {std::make_unique<SqliteProgressStore>(connection, std::move(lock)), opening.Error};
}

}  // namespace

QString DefaultProgressStorePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/numora/progress.sqlite");
}

OpenedProgressStore OpenProgressStore(const QString& path) {
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
    return InMemory(
        {StoreEvent::NotOpened, {StoreErrorKind::Other, QStringLiteral("QSQLITE")}, path});
  }
  const QFileInfo info(path);
  if (!QDir().mkpath(info.absolutePath())) {
    return InMemory({StoreEvent::NotOpened,
                     {StoreErrorKind::FolderNotWritable, info.absolutePath()},
                     info.absolutePath()});
  }
  // Held shared for as long as the store is open (see FileLock).
  auto lock = std::make_unique<FileLock>(path + QStringLiteral(".lock"));
  lock->TryShared();
  Attempt attempt = TryOpen(path, lock);
  if (attempt.Store) {
    OpenedProgressStore opened{std::move(attempt.Store), std::nullopt, {}};
    if (attempt.Error) {
      // Healthy but not writable now: the store stays, and the recorder's
      // writes wait until it can be written again.
      opened.Problem = StoreProblem{StoreEvent::NotSaving, *attempt.Error, path};
      opened.Store->Problems().Post(*opened.Problem);
    }
    return opened;
  }
  const StoreError error = attempt.Error.value_or(StoreError{});
  if (error.Kind != StoreErrorKind::Unreadable) {
    return InMemory({StoreEvent::NotOpened, error,
                     error.Kind == StoreErrorKind::FolderNotWritable ? info.absolutePath() : path});
  }
  // Damaged. Set aside only when no other running copy holds the file.
  if (!lock->Usable()) return InMemory({StoreEvent::NotOpened, error, path});
  if (!lock->TryExclusive()) {
    return InMemory({StoreEvent::DamagedButInUse, error, path});
  }
  const QString moved = MoveAside(path);
  if (moved.isEmpty()) {
    return InMemory({StoreEvent::NotOpened, error, path});
  }
  lock->TryShared();  // from exclusive back to shared, for the new file
  Attempt fresh = TryOpen(path, lock);
  if (!fresh.Store) {
    return InMemory({StoreEvent::NotOpened, fresh.Error.value_or(StoreError{}), path}, moved);
  }
  StoreProblem problem{StoreEvent::SetAside, error, moved};
  fresh.Store->Problems().Post(problem);
  return {std::move(fresh.Store), problem, moved};
}

}  // namespace numora
