// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory_progress_store.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace numora {

bool MemoryProgressStore::NameTaken(const QString& name, ProfileId except) const {
  return std::any_of(profiles_.begin(), profiles_.end(), [&](const auto& entry) {
    return entry.first != except && entry.second == name;
  });
}

StoreResult<std::vector<ProfileInfo>> MemoryProgressStore::Profiles() {
  if (failure_) return *failure_;
  std::vector<ProfileInfo> list;
  for (const auto& [id, name] : profiles_) list.push_back({id, name});
  return list;
}

std::optional<ProfileId> MemoryProgressStore::AddProfile(const QString& name) {
  const QString clean = CleanProfileName(name);
  if (failure_ || clean.isEmpty() || NameTaken(clean, 0)) return std::nullopt;
  profiles_[nextProfile_] = clean;
  return nextProfile_++;
}

bool MemoryProgressStore::RenameProfile(ProfileId profile, const QString& name) {
  const QString clean = CleanProfileName(name);
  const auto found = profiles_.find(profile);
  if (failure_ || found == profiles_.end() || clean.isEmpty() || NameTaken(clean, profile))
    return false;
  found->second = clean;
  return true;
}

bool MemoryProgressStore::DeleteProfile(ProfileId profile) {
  if (failure_ || profiles_.erase(profile) == 0) return false;
  std::erase_if(rounds_, [&](const auto& entry) { return entry.second.Profile == profile; });
  if (last_ == profile) last_.reset();
  return true;
}

StoreResult<std::optional<ProfileId>> MemoryProgressStore::LastProfile() {
  if (failure_) return *failure_;
  return last_;
}

void MemoryProgressStore::SetLastProfile(ProfileId profile) {
  if (!failure_ && profiles_.count(profile)) last_ = profile;
}

StoreResult<RoundId> MemoryProgressStore::StartRound(const RoundOpening& opening) {
  if (failure_) return *failure_;
  if (!profiles_.count(opening.Profile)) return StoreError{StoreErrorKind::Missing, {}};
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
    stored.Kind = ClassifyTerm(task.Term);
    round.Tasks.push_back(std::move(stored));
  }
  rounds_[nextRound_] = std::move(round);
  return nextRound_++;
}

StoreStatus MemoryProgressStore::RecordAnswer(RoundId id, const AnswerRecord& answer) {
  if (failure_) return *failure_;
  const auto found = rounds_.find(id);
  if (found == rounds_.end()) return StoreError{StoreErrorKind::Missing, {}};
  Round& round = found->second;
  const auto task = std::find_if(round.Tasks.begin(), round.Tasks.end(),
                                 [&](const StoredTask& t) { return t.Slot == answer.Slot; });
  if (task == round.Tasks.end()) return StoreError{StoreErrorKind::Missing, {}};
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
  return StoreOk();
}

StoreStatus MemoryProgressStore::EndRound(RoundId id, const RoundClosing& closing) {
  if (failure_) return *failure_;
  const auto found = rounds_.find(id);
  if (found == rounds_.end()) return StoreError{StoreErrorKind::Missing, {}};
  StoredRound& data = found->second.Data;
  const TLevel level = data.Counts.Difficulty;
  data.Counts = closing.Counts;
  data.Counts.Difficulty = level;
  data.SpecialPoints = closing.SpecialPoints;
  data.State = closing.State;
  return StoreOk();
}

StoreResult<std::vector<StoredRound>> MemoryProgressStore::Rounds(ProfileId profile, StoreTime from,
                                                                  StoreTime to) {
  if (failure_) return *failure_;
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

StoreStatus MemoryProgressStore::ForEachTask(ProfileId profile, StoreTime from, StoreTime to,
                                             const std::function<void(const StoredTask&)>& visit) {
  const StoreResult<std::vector<StoredRound>> rounds = Rounds(profile, from, to);
  if (!rounds) return rounds.Error();
  for (const StoredRound& data : *rounds) {
    for (const StoredTask& task : rounds_.at(data.Id).Tasks) visit(task);
  }
  return StoreOk();
}

StoreResult<std::vector<MissedTask>> MemoryProgressStore::MissedTasks(ProfileId profile,
                                                                      StoreTime since, int limit) {
  if (failure_) return *failure_;
  std::map<QString, MissedTask> missed;
  std::map<QString, StoreTime> lastRightFirstTry;
  (void)ForEachTask(profile, since, std::numeric_limits<StoreTime>::max(),
                    [&](const StoredTask& task) {
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

namespace {

// The span a time falls into; std::nullopt outside all of them.
std::optional<std::size_t> SpanOf(const TimeSpans& spans, StoreTime time) {
  if (spans.Starts.empty() || time < spans.Starts.front() || time >= spans.End) return std::nullopt;
  const auto next = std::upper_bound(spans.Starts.begin(), spans.Starts.end(), time);
  return static_cast<std::size_t>(next - spans.Starts.begin() - 1);
}

}  // namespace

StoreResult<std::vector<RoundSums>> MemoryProgressStore::SumRounds(ProfileId profile,
                                                                   const TimeSpans& spans) {
  if (failure_) return *failure_;
  std::vector<RoundSums> sums(spans.Starts.size());
  for (const auto& [id, round] : rounds_) {
    const std::optional<std::size_t> span = SpanOf(spans, round.Data.Start);
    if (round.Profile != profile || !span) continue;
    RoundSums& sum = sums[*span];
    if (round.Data.Counts.Solved + round.Data.Counts.Errors > 0) ++sum.Rounds;
    sum.Points += round.Data.Counts.Points + round.Data.SpecialPoints;
    sum.Solved += round.Data.Counts.Solved;
    sum.Errors += round.Data.Counts.Errors;
    sum.Seconds += round.Data.Counts.Seconds;
  }
  return sums;
}

StoreResult<std::vector<TaskSums>> MemoryProgressStore::SumTasks(ProfileId profile,
                                                                 const TimeSpans& spans) {
  if (failure_) return *failure_;
  std::map<std::tuple<int, int, int>, TaskSums> groups;
  for (const auto& [id, round] : rounds_) {
    const std::optional<std::size_t> span = SpanOf(spans, round.Data.Start);
    if (round.Profile != profile || !span) continue;
    for (const StoredTask& task : round.Tasks) {
      if (!task.Solved && task.WrongAnswers == 0) continue;
      const int index = static_cast<int>(*span);
      TaskSums& sum = groups[{index, static_cast<int>(task.Kind), task.Level}];
      sum.Span = index;
      sum.Kind = task.Kind;
      sum.Level = task.Level;
      ++sum.Tasks;
      if (task.Solved) {
        ++sum.Solved;
        sum.SecondsToSolve += task.SecondsToSolve;
        if (task.WrongAnswers == 0) ++sum.RightFirstTry;
      }
    }
  }
  std::vector<TaskSums> list;
  for (const auto& [key, sum] : groups) list.push_back(sum);
  return list;
}

StoreResult<std::vector<WrongTerm>> MemoryProgressStore::MostMissedTerms(ProfileId profile,
                                                                         StoreTime from,
                                                                         StoreTime to, int limit) {
  if (failure_) return *failure_;
  std::map<QString, WrongTerm> terms;
  (void)ForEachTask(profile, from, to, [&](const StoredTask& task) {
    if (task.WrongAnswers == 0) return;
    WrongTerm& entry = terms[task.Term];
    entry.Term = task.Term;
    entry.Expected = task.Expected;
    ++entry.Tasks;
    entry.WrongAnswers += task.WrongAnswers;
  });
  std::vector<WrongTerm> list;
  for (const auto& [term, entry] : terms) list.push_back(entry);
  std::stable_sort(list.begin(), list.end(), [](const WrongTerm& a, const WrongTerm& b) {
    if (a.Tasks != b.Tasks) return a.Tasks > b.Tasks;
    return a.WrongAnswers > b.WrongAnswers;  // the map already ordered the terms
  });
  if (limit >= 0 && list.size() > static_cast<std::size_t>(limit))
    list.resize(static_cast<std::size_t>(limit));
  return list;
}

StoreResult<std::optional<StoreTime>> MemoryProgressStore::FirstRoundStart(ProfileId profile) {
  if (failure_) return *failure_;
  std::optional<StoreTime> first;
  for (const auto& [id, round] : rounds_) {
    if (round.Profile == profile && (!first || round.Data.Start < *first)) first = round.Data.Start;
  }
  return first;
}

}  // namespace numora
