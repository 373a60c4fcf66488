// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_session.h"

#include <QAction>

#include "main_window.h"
#include "profile_switching.h"
#include "program_identity.h"
#include "progress_export.h"
#include "progress_report_commands.h"
#include "zelvlib/dialogs.h"

namespace numora {

ProgressSession::ProgressSession(TForm1& form, zelv::UserDialogs& dialogs,
                                 OpenedProgressStore opened, ProgressDialogs* progressDialogs)
    : form_(form),
      dialogs_(dialogs),
      ownDialogs_(progressDialogs ? nullptr : std::make_unique<QtProgressDialogs>()),
      store_(std::move(opened.Store)),
      openingProblem_(std::move(opened.Problem)) {
  ProgressDialogs& chosenDialogs = progressDialogs ? *progressDialogs : *ownDialogs_;
  store_->SetProblemHandler([this](const QString& message) { ShowProblem(message); });
  profiles_ = std::make_unique<ProfileSwitching>(form_, *store_, dialogs_, chosenDialogs);
  export_ = std::make_unique<ProgressExport>(form_, *store_, dialogs_, *profiles_);
  report_ =
      std::make_unique<ProgressReportCommands>(form_, *store_, dialogs_, chosenDialogs, *profiles_);

  PracticeAction = new QAction(tr("&Fehler üben"), this);
  connect(PracticeAction, &QAction::triggered, this, &ProgressSession::PracticeMissedTasks);
  ProfileAction = profiles_->Action;
  ExportAction = export_->Action;
  ProgressAction = report_->ProgressAction;
  PrintAction = report_->PrintAction;
  form_.AddMenuGroup(MenuPlace::Options, {PracticeAction});
  form_.AddMenuGroup(MenuPlace::File, {ProgressAction, PrintAction});
  form_.AddMenuGroup(MenuPlace::File, {ProfileAction, ExportAction});
}

ProgressSession::~ProgressSession() = default;

ProfileId ProgressSession::Profile() const {
  return profiles_->Profile();
}

QString ProgressSession::ProfileName() {
  return profiles_->ProfileName();
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

void ProgressSession::StartUp() {
  ShowOpeningProblem();
  if (store_->Profiles().size() > 1) ChooseProfile();
}

void ProgressSession::ChooseProfile() {
  profiles_->ChooseProfile();
}

void ProgressSession::FollowProfileChoice(std::optional<ProfileId> chosen) {
  profiles_->FollowProfileChoice(chosen);
}

void ProgressSession::SwitchProfile(ProfileId profile) {
  profiles_->SwitchProfile(profile);
}

void ProgressSession::ExportCsv() {
  export_->ExportCsv();
}

void ProgressSession::ShowProgress() {
  report_->ShowProgress();
}

void ProgressSession::PrintProgress() {
  report_->PrintProgress();
}

ProgressWindow& ProgressSession::Window() {
  return report_->Window();
}

}  // namespace numora
