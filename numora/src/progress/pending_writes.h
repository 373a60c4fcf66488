// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder's writes on their way to the store. Each write is tried at
// once; when the store fails (a full disk, a folder gone read-only, a file
// held too long by another copy), it waits here with every later one, in
// order, and all are tried again at the next write: at the next answer or the
// next round. So a store that fails for a while loses nothing of the round
// being played, and each answer is written exactly once. While writes wait,
// the store is "not saving" (posted to its problems, once, and "saving again"
// once they are through).
//
// A write to a profile or round that another running copy deleted is
// dropped with everything else of that round, and the profile's deletion is
// posted; nothing is ever written for a deleted child.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <variant>

#include "progress_store.h"

namespace numora {

class PendingWrites {
 public:
  // The recorder's name for a round, valid before the store has one.
  using Handle = std::int64_t;

  explicit PendingWrites(ProgressStore& store) : store_(store) {}
  PendingWrites(const PendingWrites&) = delete;
  PendingWrites& operator=(const PendingWrites&) = delete;

  Handle StartRound(const RoundOpening& opening);
  void RecordAnswer(Handle round, const AnswerRecord& answer);
  void EndRound(Handle round, const RoundClosing& closing);

  // Writes what waits, oldest first, up to the first failure; true when
  // nothing waits any more.
  bool Flush();
  bool Saving() const { return saving_; }
  std::size_t Waiting() const { return waiting_.size(); }
  // The store's id of a round, once it is written.
  std::optional<RoundId> StoredRound(Handle round) const;
  // True once a write found the round's profile deleted.
  bool Gone(Handle round) const { return gone_.count(round) > 0; }
  ProgressStore& Store() { return store_; }

 private:
  struct Start {
    Handle Round;
    RoundOpening Opening;
  };
  struct Answer {
    Handle Round;
    AnswerRecord Record;
  };
  struct End {
    Handle Round;
    RoundClosing Closing;
  };
  using Write = std::variant<Start, Answer, End>;

  void Add(Write write);
  // Tries one write: true when it is done with (written, or dropped because
  // its round is gone).
  bool Try(const Write& write);
  void Dropped(Handle round, ProfileId profile);

  ProgressStore& store_;
  std::deque<Write> waiting_;
  std::map<Handle, RoundId> stored_;
  std::map<Handle, ProfileId> profiles_;
  std::set<Handle> gone_;
  Handle next_ = 1;
  bool saving_ = true;
};

}  // namespace numora
