// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_session.h"

#include <QAction>
#include <QMenu>

#include "main_window.h"
#include "program_identity.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/user_names.h"

namespace numora {
namespace {

ProfileId ChooseStartProfile(ProgressStore& store) {
  const std::vector<ProfileInfo> profiles = store.Profiles();
  if (const std::optional<ProfileId> last = store.LastProfile()) return *last;
  if (!profiles.empty()) return profiles.front().Id;
  QString name = CleanProfileName(zelv::GetLogonUserName());
  if (name.isEmpty()) name = ProgressSession::tr("Kind");
  // Only a store that cannot write refuses; the memory store never does.
  return store.AddProfile(name).value_or(0);
}

}  // namespace

ProgressSession::ProgressSession(TForm1& form, zelv::UserDialogs& dialogs,
                                 OpenedProgressStore opened)
    : form_(form),
      dialogs_(dialogs),
      store_(std::move(opened.Store)),
      openingProblem_(std::move(opened.Problem)) {
  store_->SetProblemHandler([this](const QString& message) { ShowProblem(message); });
  const ProfileId profile = ChooseStartProfile(*store_);
  store_->SetLastProfile(profile);
  recorder_ = std::make_unique<ProgressRecorder>(form_.Game(), *store_, profile);

  PracticeAction = new QAction(tr("&Fehler üben"), this);
  connect(PracticeAction, &QAction::triggered, this, &ProgressSession::PracticeMissedTasks);
  if (form_.OptionsMenu) form_.OptionsMenu->insertAction(form_.Historie1, PracticeAction);
}

ProgressSession::~ProgressSession() = default;

QString ProgressSession::ProfileName() {
  for (const ProfileInfo& profile : store_->Profiles()) {
    if (profile.Id == Profile()) return profile.Name;
  }
  return {};
}

void ProgressSession::ShowOpeningProblem() {
  if (openingProblem_.isEmpty()) return;
  dialogs_.Message(&form_, ApplicationTitle(), openingProblem_, zelv::DialogIcon::Warning,
                   {zelv::DialogButton::Ok});
  openingProblem_.clear();
}

void ProgressSession::ShowProblem(const QString& message) {
  dialogs_.Message(&form_, ApplicationTitle(), message, zelv::DialogIcon::Warning,
                   {zelv::DialogButton::Ok});
}

void ProgressSession::PracticeMissedTasks() {
  const StoreTime since = ToStoreTime(WallClock::now() - std::chrono::hours(24 * kPracticeDays));
  std::vector<PracticeTask> tasks;
  for (const MissedTask& missed : store_->MissedTasks(Profile(), since, kTasksPerRound)) {
    tasks.push_back({missed.Term, static_cast<engine::Extended>(missed.Expected)});
  }
  if (tasks.empty()) {
    dialogs_.Message(&form_, ApplicationTitle(),
                     tr("Zurzeit gibt es keine falsch gelösten Aufgaben zum Üben."),
                     zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
    return;
  }
  form_.PracticeRound(tasks);
}

void ProgressSession::SwitchProfile(ProfileId profile) {
  if (profile == Profile()) return;
  recorder_->AbandonRound();
  recorder_.reset();
  form_.New1Click();  // not recorded: a fresh round for the new child
  store_->SetLastProfile(profile);
  recorder_ = std::make_unique<ProgressRecorder>(form_.Game(), *store_, profile);
}

}  // namespace numora
