// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory_progress_store.h"

#include <algorithm>
#include <limits>

namespace numora {

bool MemoryProgressStore::NameTaken(const QString& name, ProfileId except) const {
  return std::any_of(profiles_.begin(), profiles_.end(), [&](const auto& entry) {
    return entry.first != except && entry.second == name;
  });
}

std::vector<ProfileInfo> MemoryProgressStore::Profiles() {
  std::vector<ProfileInfo> list;
  for (const auto& [id, name] : profiles_) list.push_back({id, name});
  return list;
}

std::optional<ProfileId> MemoryProgressStore::AddProfile(const QString& name) {
  const QString clean = CleanProfileName(name);
  if (clean.isEmpty() || NameTaken(clean, 0)) return std::nullopt;
  profiles_[nextProfile_] = clean;
  return nextProfile_++;
}

bool MemoryProgressStore::RenameProfile(ProfileId profile, const QString& name) {
  const QString clean = CleanProfileName(name);
  const auto found = profiles_.find(profile);
  if (found == profiles_.end() || clean.isEmpty() || NameTaken(clean, profile)) return false;
  found->second = clean;
  return true;
}

bool MemoryProgressStore::DeleteProfile(ProfileId profile) {
  if (profiles_.erase(profile) == 0) return false;
  std::erase_if(rounds_, [&](const auto& entry) { return entry.second.Profile == profile; });
  if (last_ == profile) last_.reset();
  return true;
}

std::optional<ProfileId> MemoryProgressStore::LastProfile() {
  return last_;
}

void MemoryProgressStore::SetLastProfile(ProfileId profile) {
  if (profiles_.count(profile)) last_ = profile;
}

std::optional<RoundId> MemoryProgressStore::StartRound(const RoundOpening& opening) {
  if (!profiles_.count(opening.Profile)) return std::nullopt;
  Round round;
  round.Profile = opening.Profile;
  round.Data.Id = nextRound_;
  round.Data.Start = opening.Start;
  round.Data.Counts.Difficulty = opening.Level;
  round.Data.Practice = opening.Practice;
  for (const RoundTaskRecord& task : opening.Tasks) {
    StoredTask stored;
    stored.Round = nextRound_;
    stored.RoundStart = opening.Start;
    stored.Level = opening.Level;
    stored.Slot = task.Slot;
    stored.Term = task.Term;
    stored.Expected = task.Expected;
    stored.Kind = ClassifyTask(task.Term);
    round.Tasks.push_back(std::move(stored));
  }
  rounds_[nextRound_] = std::move(round);
  return nextRound_++;
}

bool MemoryProgressStore::RecordAnswer(RoundId id, const AnswerRecord& answer) {
  const auto found = rounds_.find(id);
  if (found == rounds_.end()) return false;
  Round& round = found->second;
  const auto task = std::find_if(round.Tasks.begin(), round.Tasks.end(),
                                 [&](const StoredTask& t) { return t.Slot == answer.Slot; });
  if (task == round.Tasks.end()) return false;
  task->Answers << answer.Typed;
  if (answer.Right) {
    task->Solved = true;
    task->SecondsToSolve = answer.SecondsToSolve;
  } else {
    ++task->WrongAnswers;
  }
  const TLevel level = round.Data.Counts.Difficulty;
  round.Data.Counts = answer.Counts;
  round.Data.Counts.Difficulty = level;
  return true;
}

bool MemoryProgressStore::EndRound(RoundId id, const RoundClosing& closing) {
  const auto found = rounds_.find(id);
  if (found == rounds_.end()) return false;
  StoredRound& data = found->second.Data;
  const TLevel level = data.Counts.Difficulty;
  data.Counts = closing.Counts;
  data.Counts.Difficulty = level;
  data.SpecialPoints = closing.SpecialPoints;
  data.State = closing.State;
  return true;
}

std::vector<StoredRound> MemoryProgressStore::Rounds(ProfileId profile, StoreTime from,
                                                     StoreTime to) {
  std::vector<StoredRound> list;
  for (const auto& [id, round] : rounds_) {
    if (round.Profile == profile && round.Data.Start >= from && round.Data.Start < to) {
      list.push_back(round.Data);
    }
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const StoredRound& a, const StoredRound& b) { return a.Start < b.Start; });
  return list;
}

void MemoryProgressStore::ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                                      const std::function<void(const StoredTask&)>& visit) {
  for (const StoredRound& data : Rounds(profile, from, to)) {
    for (const StoredTask& task : rounds_.at(data.Id).Tasks) visit(task);
  }
}

std::vector<MissedTask> MemoryProgressStore::MissedTasks(ProfileId profile, StoreTime since,
                                                         int limit) {
  std::map<std::string, MissedTask> missed;
  std::map<std::string, StoreTime> lastRightFirstTry;
  ForEachTask(profile, since, std::numeric_limits<StoreTime>::max(), [&](const StoredTask& task) {
    if (task.WrongAnswers > 0) {
      MissedTask& entry = missed[task.Term];
      entry.Term = task.Term;
      entry.Expected = task.Expected;
      ++entry.Misses;
      entry.LastMiss = std::max(entry.LastMiss, task.RoundStart);
    } else if (task.Solved) {
      StoreTime& last = lastRightFirstTry[task.Term];
      last = std::max(last, task.RoundStart);
    }
  });
  std::vector<MissedTask> list;
  for (const auto& [term, entry] : missed) {
    const auto right = lastRightFirstTry.find(term);
    if (right == lastRightFirstTry.end() || right->second <= entry.LastMiss) list.push_back(entry);
  }
  std::sort(list.begin(), list.end(), [](const MissedTask& a, const MissedTask& b) {
    if (a.LastMiss != b.LastMiss) return a.LastMiss > b.LastMiss;
    if (a.Misses != b.Misses) return a.Misses > b.Misses;
    return a.Term < b.Term;
  });
  if (limit >= 0 && list.size() > static_cast<std::size_t>(limit))
    list.resize(static_cast<std::size_t>(limit));
  return list;
}

}  // namespace numora
