// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pending_writes.h"

namespace numora {

PendingWrites::Handle PendingWrites::StartRound(const RoundOpening& opening) {
  const Handle round = next_++;
  profiles_[round] = opening.Profile;
  Add(Start{round, opening});
  return round;
}

void PendingWrites::RecordAnswer(Handle round, const AnswerRecord& answer) {
  Add(Answer{round, answer});
}

void PendingWrites::EndRound(Handle round, const RoundClosing& closing) {
  Add(End{round, closing});
}

std::optional<RoundId> PendingWrites::StoredRound(Handle round) const {
  const auto found = stored_.find(round);
  if (found == stored_.end()) return std::nullopt;
  return found->second;
}

void PendingWrites::Add(Write write) {
  waiting_.push_back(std::move(write));
  Flush();
}

bool PendingWrites::Flush() {
  std::optional<StoreError> failure;
  while (!waiting_.empty()) {
    StoreStatus status = StoreOk();
    const Write& write = waiting_.front();
    const Handle round = std::visit([](const auto& w) { return w.Round; }, write);
    if (!gone_.count(round)) {
      if (const auto* start = std::get_if<Start>(&write)) {
        StoreResult<RoundId> id = store_.StartRound(start->Opening);
        if (id) stored_[round] = *id;
        status = id ? StoreOk() : StoreStatus(id.Error());
      } else if (const auto* answer = std::get_if<Answer>(&write)) {
        status = store_.RecordAnswer(stored_.at(round), answer->Record);
      } else {
        status = store_.EndRound(stored_.at(round), std::get<End>(write).Closing);
      }
    }
    if (!status && status.Error().Kind == StoreErrorKind::Missing) {
      Dropped(round, profiles_[round]);
    } else if (!status) {
      failure = status.Error();
      break;
    }
    waiting_.pop_front();
  }
  if (failure && saving_) {
    saving_ = false;
    store_.Problems().Post({StoreEvent::NotSaving, *failure, {}, 0});
  } else if (!failure && !saving_) {
    saving_ = true;
    store_.Problems().Post({StoreEvent::SavingAgain, {}, {}, 0});
  }
  return waiting_.empty();
}

void PendingWrites::Dropped(Handle round, ProfileId profile) {
  const bool first = !gone_.count(round);
  gone_.insert(round);
  if (first) {
    store_.Problems().Post({StoreEvent::ProfileGone, {StoreErrorKind::Missing, {}}, {}, profile});
  }
}

}  // namespace numora
