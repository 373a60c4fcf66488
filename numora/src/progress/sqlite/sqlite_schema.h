// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite file's schema and its migrations: the file carries its version
// (PRAGMA user_version); an older file is brought up to date step by step,
// a newer one is left alone.
#pragma once

#include <QSqlDatabase>
#include <string>

#include "store_result.h"

namespace numora {

inline constexpr int kProgressSchemaVersion = 2;

// Reads the file's version and migrates it to kProgressSchemaVersion.
// NewerVersion for a file of a later numora, Unreadable when the schema
// cannot be read, the write's failure when a migration cannot be written.
StoreStatus MigrateSchema(QSqlDatabase& db);

// The statement that keeps the sums of one ended round's tasks by kind (the
// round's id bound), and the one that sums up every ended round without.
const std::string& StoreRoundKindSumsSql();
const std::string& FillRoundKindSumsSql();

}  // namespace numora
