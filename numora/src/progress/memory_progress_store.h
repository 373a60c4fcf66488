// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A ProgressStore that keeps everything in memory: the double of the tests,
// and what the program plays with when its file cannot be used (nothing then
// outlives the run).
#pragma once

#include <map>

#include "progress_store.h"

namespace numora {

class MemoryProgressStore final : public ProgressStore {
 public:
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

  // From now on every call fails with this error (std::nullopt: works again),
  // as a store on a full disk or in a lost folder would: for the tests of
  // what the program does then.
  void FailWith(std::optional<StoreError> error) { failure_ = std::move(error); }

 private:
  struct Round {
    ProfileId Profile = 0;
    StoredRound Data;
    std::vector<StoredTask> Tasks;
  };
  bool NameTaken(const QString& name, ProfileId except) const;

  std::map<ProfileId, QString> profiles_;
  std::map<RoundId, Round> rounds_;
  std::optional<ProfileId> last_;
  ProfileId nextProfile_ = 1;
  RoundId nextRound_ = 1;
  std::optional<StoreError> failure_;
};

}  // namespace numora
