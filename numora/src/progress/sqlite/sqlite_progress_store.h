// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store on disk: one SQLite file (through Qt SQL) in the user's
// data folder. Write-ahead logging and one short transaction per call, so a
// crash or power loss costs at most the answer being typed, and a second
// running copy waits for the file instead of failing. The store's parts live
// in files of their own: the schema and its migrations (sqlite_schema.cpp),
// opening with the damage check and the setting aside of a damaged file
// (sqlite_opening.cpp), the writes (sqlite_writes.cpp) and the reads behind
// the reports (sqlite_reports.cpp). The statements every SQL store shares
// are in store_sql.h.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

#include "progress_store.h"
#include "sqlite_schema.h"

namespace numora {

class FileLock;

class SqliteProgressStore final : public ProgressStore {
 public:
  // Use OpenProgressStore; this takes an open, migrated connection and the
  // lock that tells other copies the file is in use.
  explicit SqliteProgressStore(QString connectionName, std::unique_ptr<FileLock> lock = {});
  ~SqliteProgressStore() override;
  SqliteProgressStore(const SqliteProgressStore&) = delete;
  SqliteProgressStore& operator=(const SqliteProgressStore&) = delete;

  StoreResult<std::vector<ProfileInfo>> Profiles() override;
  std::optional<ProfileId> AddProfile(const QString& name) override;
  bool RenameProfile(ProfileId profile, const QString& name) override;
  bool DeleteProfile(ProfileId profile) override;
  StoreResult<std::optional<ProfileId>> LastProfile() override;
  void SetLastProfile(ProfileId profile) override;

  StoreResult<RoundId> StartRound(const RoundOpening& opening) override;
  StoreStatus RecordAnswer(RoundId round, const AnswerRecord& answer) override;
  StoreStatus EndRound(RoundId round, const RoundClosing& closing) override;

  StoreResult<std::vector<StoredRound>> Rounds(ProfileId profile, StoreTime from,
                                               StoreTime to) override;
  StoreStatus ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                          const std::function<void(const StoredTask&)>& visit) override;
  StoreResult<std::vector<MissedTask>> MissedTasks(ProfileId profile, StoreTime since,
                                                   int limit) override;

  StoreResult<std::vector<RoundSums>> SumRounds(ProfileId profile, const TimeSpans& spans) override;
  StoreResult<std::vector<TaskSums>> SumTasks(ProfileId profile, const TimeSpans& spans) override;
  StoreResult<std::vector<WrongTerm>> MostMissedTerms(ProfileId profile, StoreTime from,
                                                      StoreTime to, int limit) override;
  StoreResult<std::optional<StoreTime>> FirstRoundStart(ProfileId profile) override;

  // Sums up the tasks of every round that is over and has no sums yet (the
  // store sums a round when it ends; this is for a file filled by other
  // means, as the measuring tools do).
  StoreStatus CompleteRoundSums();

  // Lets the file grow to at most its present size plus extraPages pages:
  // a full disk on demand, for the tests of what the program does then
  // (a large number lifts the limit again).
  bool LimitGrowth(qint64 extraPages);

 private:
  // Runs work inside one transaction; a failure rolls back.
  StoreStatus InTransaction(const std::function<StoreStatus()>& work);
  // Keeps the sums of an ended round's tasks for the progress window.
  StoreStatus StoreRoundSums(RoundId round);

  // RecordAnswer's statements, prepared on first use and kept: an answer is
  // recorded while the child waits, so its SQL is parsed only once.
  struct AnswerStatements;
  AnswerStatements& Answering();

  QString connectionName_;
  QSqlDatabase db_;
  std::unique_ptr<AnswerStatements> answering_;
  std::unique_ptr<FileLock> lock_;
};

// The result of opening the store: always a usable store (the in-memory one
// when the file cannot be used); Problem says what happened at opening, if
// anything (it is also posted to the store's problems).
struct OpenedProgressStore {
  std::unique_ptr<ProgressStore> Store;
  std::optional<StoreProblem> Problem;
  QString MovedAside;  // where a damaged file now is, if it was set aside
};

// The file numora keeps progress in: <XDG data home>/numora/progress.sqlite.
QString DefaultProgressStorePath();

// Opens (or creates) the store at path, falling back to memory.
OpenedProgressStore OpenProgressStore(const QString& path);

}  // namespace numora
