// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite store's small tools: a prepared statement with its values bound
// in order, and what an SQLite error means for the user (StoreErrorKind).
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "store_result.h"

namespace numora {

// SQLite's primary result codes that tell the kinds of failure apart.
inline constexpr int kSqlitePerm = 3;
inline constexpr int kSqliteBusy = 5;
inline constexpr int kSqliteLocked = 6;
inline constexpr int kSqliteReadOnly = 8;
inline constexpr int kSqliteCorrupt = 11;
inline constexpr int kSqliteFull = 13;
inline constexpr int kSqliteCantOpen = 14;
inline constexpr int kSqliteAuth = 23;
inline constexpr int kSqliteNotADatabase = 26;

// The kind of failure an SQLite result code stands for.
StoreErrorKind KindOfSqliteCode(int code);
// An error as the store reports it: its kind, and the driver's words (or,
// when the driver gave none, what was being done).
StoreError ErrorOf(const QSqlError& error, const char* doing);

// A prepared statement; Run binds the values in order and executes it. It
// can run again and again; one that failed to prepare tries again on the
// next run. Error() is the last failure's.
class Statement {
 public:
  Statement(QSqlDatabase& db, const char* sql);
  template <typename... Values>
  bool Run(const Values&... values) {
    if (!Prepared()) return false;
    (query_.addBindValue(QVariant::fromValue(values)), ...);
    return query_.exec();
  }
  QSqlQuery& Query() { return query_; }
  StoreError Error() const { return ErrorOf(query_.lastError(), sql_); }

 private:
  bool Prepared();

  QSqlQuery query_;
  const char* sql_;
  bool ok_ = false;
};

}  // namespace numora
