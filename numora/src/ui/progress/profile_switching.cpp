// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_switching.h"

#include <QAction>

#include "main_window.h"
#include "progress_dialogs.h"
#include "zelvlib/user_names.h"

namespace numora {
namespace {

// The level of the child's last round, where its next run starts; "mittel"
// for a child who has not played yet. The newest rounds are looked for
// first, in ever wider spans back, so a child who plays daily costs one
// small read even after years.
TLevel LastLevel(ProgressStore& store, ProfileId profile) {
  constexpr StoreTime kDay = 24 * 60 * 60 * 1000;
  const StoreTime end = ToStoreTime(WallClock::now()) + kDay;  // a clock set back a little
  for (StoreTime span = 8 * kDay;; span *= 8) {
    const StoreTime from = span > end ? 0 : end - span;
    const std::vector<StoredRound> rounds = store.Rounds(profile, from, end).ValueOr({});
    if (!rounds.empty()) {
      const TLevel level = rounds.back().Counts.Difficulty;
      return level < kLevelCount ? level : TLevel{1};
    }
    if (from == 0) break;
  }
  return 1;
}

// The child a run starts with: the last one, or the first one; with no
// child yet, one named after the login user, so that a single child is
// never asked anything.
ProfileId ChooseStartProfile(ProgressStore& store) {
  const std::vector<ProfileInfo> profiles = store.Profiles().ValueOr({});
  if (const std::optional<ProfileId> last = store.LastProfile().ValueOr(std::nullopt)) {
    return *last;
  }
  if (!profiles.empty()) return profiles.front().Id;
  QString name = CleanProfileName(zelv::GetLogonUserName());
  if (name.isEmpty()) name = ProfileSwitching::tr("Kind");
  // Only a store that cannot write refuses; the memory store never does.
  return store.AddProfile(name).value_or(0);
}

}  // namespace

ProfileSwitching::ProfileSwitching(TForm1& form, ProgressStore& store, zelv::UserDialogs& dialogs,
                                   ProgressDialogs& progressDialogs)
    : Action(new QAction(tr("&Kind wechseln …"), this)),
      form_(form),
      store_(store),
      dialogs_(dialogs),
      progressDialogs_(progressDialogs),
      writes_(store) {
  connect(Action, &QAction::triggered, this, &ProfileSwitching::ChooseProfile);
  const ProfileId profile = ChooseStartProfile(store_);
  store_.SetLastProfile(profile);
  StartChildsRun(profile, false);
}

ProfileSwitching::~ProfileSwitching() = default;

QString ProfileSwitching::ProfileName() {
  for (const ProfileInfo& profile : store_.Profiles().ValueOr({})) {
    if (profile.Id == Profile()) return profile.Name;
  }
  return practising_;
}

bool ProfileSwitching::HasProfile(ProfileId profile) {
  for (const ProfileInfo& info : store_.Profiles().ValueOr({})) {
    if (info.Id == profile) return true;
  }
  return false;
}

void ProfileSwitching::ChooseProfile() {
  FollowProfileChoice(progressDialogs_.ChooseChild(&form_, store_, dialogs_, Profile()));
}

void ProfileSwitching::FollowProfileChoice(std::optional<ProfileId> chosen) {
  if (chosen && HasProfile(*chosen)) {
    SwitchProfile(*chosen);
  } else if (!HasProfile(Profile())) {
    SwitchProfile(ChooseStartProfile(store_));
  }
  // The child practising may have been renamed.
  form_.ShowPractisingChild(ProfileName());
}

void ProfileSwitching::StartChildsRun(ProfileId profile, bool switching) {
  const TLevel level = LastLevel(store_, profile);
  // At program start the first round is already dealt; it is dealt again
  // only for another level.
  if (switching || level != form_.Game().CurrentRound().Difficulty) form_.StartChildRun(level);
  recorder_ = std::make_unique<ProgressRecorder>(form_.Game(), writes_, profile);
  practising_ = ProfileName();
  form_.ShowPractisingChild(practising_);
}

void ProfileSwitching::FollowDeletedChild() {
  if (!HasProfile(Profile())) SwitchProfile(ChooseStartProfile(store_));
}

void ProfileSwitching::SwitchProfile(ProfileId profile) {
  if (profile == Profile()) return;
  // A deleted child's round went with it: there is nothing to end.
  if (HasProfile(Profile())) recorder_->AbandonRound();
  recorder_.reset();
  store_.SetLastProfile(profile);
  // Not recorded: the new child's run, as if the program had started for it.
  StartChildsRun(profile, true);
  emit ProfileChanged();
}

}  // namespace numora
