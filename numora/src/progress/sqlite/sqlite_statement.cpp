// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlite_statement.h"

namespace numora {

StoreErrorKind KindOfSqliteCode(int code) {
  switch (code & 0xff) {  // extended codes carry the primary one in the low byte
    case kSqliteFull:
      return StoreErrorKind::DiskFull;
    case kSqlitePerm:
    case kSqliteReadOnly:
    case kSqliteCantOpen:
    case kSqliteAuth:
      return StoreErrorKind::FolderNotWritable;
    case kSqliteBusy:
    case kSqliteLocked:
      return StoreErrorKind::Busy;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
      return StoreErrorKind::Unreadable;
    default:
      return StoreErrorKind::Other;
  }
}

StoreError ErrorOf(const QSqlError& error, const char* doing) {
  bool number = false;
  const int code = error.nativeErrorCode().toInt(&number);
  QString detail = error.text().trimmed();
  // Never an empty detail: a message with "()" in it helps nobody.
  if (detail.isEmpty()) detail = QString::fromLatin1(doing).left(60);
  return {number ? KindOfSqliteCode(code) : StoreErrorKind::Other, detail};
}

Statement::Statement(QSqlDatabase& db, const char* sql) : query_(db), sql_(sql) {
  query_.setForwardOnly(true);
  ok_ = query_.prepare(QString::fromLatin1(sql_));
}

bool Statement::Prepared() {
  if (!ok_) ok_ = query_.prepare(QString::fromLatin1(sql_));
  return ok_;
}

}  // namespace numora
