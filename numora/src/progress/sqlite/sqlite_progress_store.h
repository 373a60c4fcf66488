// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store on disk: one SQLite file (through Qt SQL) in the user's
// data folder. Write-ahead logging and one short transaction per call, so a
// crash or power loss costs at most the answer being typed, and a second
// running instance waits for the file instead of failing. The file carries
// its schema version; older files are migrated, files that cannot be read
// (damaged, or written by a newer version) are moved aside, never deleted.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

#include "progress_store.h"

namespace numora {

inline constexpr int kProgressSchemaVersion = 2;

class SqliteProgressStore final : public ProgressStore {
 public:
  // Use OpenProgressStore; this takes an open, migrated connection.
  explicit SqliteProgressStore(QString connectionName);
  ~SqliteProgressStore() override;
  SqliteProgressStore(const SqliteProgressStore&) = delete;
  SqliteProgressStore& operator=(const SqliteProgressStore&) = delete;

  std::vector<ProfileInfo> Profiles() override;
  std::optional<ProfileId> AddProfile(const QString& name) override;
  bool RenameProfile(ProfileId profile, const QString& name) override;
  bool DeleteProfile(ProfileId profile) override;
  std::optional<ProfileId> LastProfile() override;
  void SetLastProfile(ProfileId profile) override;

  std::optional<RoundId> StartRound(const RoundOpening& opening) override;
  bool RecordAnswer(RoundId round, const AnswerRecord& answer) override;
  bool EndRound(RoundId round, const RoundClosing& closing) override;

  std::vector<StoredRound> Rounds(ProfileId profile, StoreTime from, StoreTime to) override;
  void ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                   const std::function<void(const StoredTask&)>& visit) override;
  std::vector<MissedTask> MissedTasks(ProfileId profile, StoreTime since, int limit) override;

  std::vector<RoundSums> SumRounds(ProfileId profile, const TimeSpans& spans) override;
  std::vector<TaskSums> SumTasks(ProfileId profile, const TimeSpans& spans) override;
  std::vector<WrongTerm> MostMissedTerms(ProfileId profile, StoreTime from, StoreTime to,
                                         int limit) override;
  std::optional<StoreTime> FirstRoundStart(ProfileId profile) override;

  // Sums up the tasks of every round that is over and has no sums yet (the
  // store sums a round when it ends; this is for a file filled by other
  // means, as the measuring tools do).
  bool CompleteRoundSums();

 private:
  // Runs work inside one transaction; a failure rolls back and is reported.
  bool InTransaction(const std::function<bool()>& work);
  void Failed(const QString& detail);
  // Keeps the sums of an ended round's tasks for the progress window.
  bool StoreRoundSums(RoundId round);

  // RecordAnswer's statements, prepared on first use and kept: an answer is
  // recorded while the child waits, so its SQL is parsed only once.
  struct AnswerStatements;
  AnswerStatements& Answering();

  QString connectionName_;
  QSqlDatabase db_;
  std::unique_ptr<AnswerStatements> answering_;
};

// The result of opening the store: always a usable store; Problem holds the
// one message for the user when it is only the in-memory one.
struct OpenedProgressStore {
  std::unique_ptr<ProgressStore> Store;
  QString Problem;
  QString MovedAside;  // where an unreadable file now is, if it was moved
};

// The file numora keeps progress in: <XDG data home>/numora/progress.sqlite.
QString DefaultProgressStorePath();

// Opens (or creates) the store at path, falling back to memory.
OpenedProgressStore OpenProgressStore(const QString& path);

}  // namespace numora
