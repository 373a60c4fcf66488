// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Who practises: the child chosen at the start and with "Kind wechseln …",
// the recorder that writes that child's rounds, and the main window naming
// the child and playing the child's own run.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "progress_recorder.h"
#include "progress_store.h"

class QAction;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProgressDialogs;
class TForm1;

class ProfileSwitching : public QObject {
  Q_OBJECT

 public:
  // Starts with the last child, or the first one; with no child yet, one is
  // made named after the login user, so a single child is never asked
  // anything.
  ProfileSwitching(TForm1& form, ProgressStore& store, zelv::UserDialogs& dialogs,
                   ProgressDialogs& progressDialogs);
  ~ProfileSwitching() override;

  ProfileId Profile() const { return recorder_->Profile(); }
  QString ProfileName();
  // The name of the child practising, kept also once it was deleted.
  const QString& PractisingName() const { return practising_; }
  // False while the recorder's writes wait for the store.
  bool Saving() const { return writes_.Saving(); }
  // The child practising was deleted by another running copy: a remaining
  // child practises from now on.
  void FollowDeletedChild();
  bool HasProfile(ProfileId profile);

  // "Kind wechseln …": the child chosen practises from now on.
  void ChooseProfile();
  // After the children were shown: switches to the chosen child, or away
  // from the one practising when that one was deleted; a rename shows in the
  // main window.
  void FollowProfileChoice(std::optional<ProfileId> chosen);
  // Records from now on for another child; the running round is abandoned
  // and the child plays a run of its own.
  void SwitchProfile(ProfileId profile);

  QAction* const Action;  // "&Kind wechseln …"

 signals:
  void ProfileChanged();

 private:
  // Records for the child from now on, in a run at its last level, and
  // names it in the main window.
  void StartChildsRun(ProfileId profile, bool switching);

  TForm1& form_;
  ProgressStore& store_;
  zelv::UserDialogs& dialogs_;
  ProgressDialogs& progressDialogs_;
  // The recorders' writes, kept across a change of child: answers that wait
  // for the store are not lost with the recorder.
  PendingWrites writes_;
  std::unique_ptr<ProgressRecorder> recorder_;
  QString practising_;
};

}  // namespace numora
