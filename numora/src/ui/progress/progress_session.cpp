// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_session.h"

#include <QAction>

#include "main_window.h"
#include "profile_switching.h"
#include "program_identity.h"
#include "progress_export.h"
#include "progress_report_commands.h"
#include "store_problem_text.h"
#include "zelvlib/cp1252.h"
#include "zelvlib/dialogs.h"

namespace numora {

ProgressSession::ProgressSession(TForm1& form, zelv::UserDialogs& dialogs,
                                 OpenedProgressStore opened, ProgressDialogs* progressDialogs)
    : form_(form),
      dialogs_(dialogs),
      ownDialogs_(progressDialogs ? nullptr : std::make_unique<QtProgressDialogs>()),
      store_(std::move(opened.Store)) {
  ProgressDialogs& chosenDialogs = progressDialogs ? *progressDialogs : *ownDialogs_;
  neverSaves_ = opened.Problem && (opened.Problem->Event == StoreEvent::NotOpened ||
                                   opened.Problem->Event == StoreEvent::DamagedButInUse);
  // Problems come from deep inside an answer: shown once the answer is done.
  store_->Problems().SetListener([this] {
    QMetaObject::invokeMethod(this, &ProgressSession::ShowStoreProblems, Qt::QueuedConnection);
  });
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

void ProgressSession::ShowStoreProblems() {
  if (!started_ || showing_) return;  // the loop below takes what comes meanwhile
  showing_ = true;
  while (!store_->Problems().Empty()) {
    for (const StoreProblem& problem : store_->Problems().Take()) {
      if (problem.Event == StoreEvent::SavingAgain) continue;  // the sign goes: enough
      if (problem.Event == StoreEvent::ProfileGone) {
        if (problem.Profile != Profile()) continue;  // an earlier child's late write
        const QString gone = profiles_->PractisingName();
        profiles_->FollowDeletedChild();
        ShowProblem(ProfileGoneText(gone, profiles_->PractisingName()));
        continue;
      }
      ShowProblem(StoreProblemText(problem));
    }
    UpdateSavingSign();
  }
  UpdateSavingSign();
  showing_ = false;
}

void ProgressSession::UpdateSavingSign() {
  const bool saving = !neverSaves_ && profiles_->Saving();
  form_.ShowStoreSign(saving ? QString() : NotSavingSignText(),
                      saving ? QString() : NotSavingSignDescription());
}

void ProgressSession::ShowProblem(const QString& message) {
  dialogs_.Message(&form_, ApplicationTitle(), message, zelv::DialogIcon::Warning,
                   {zelv::DialogButton::Ok});
}

void ProgressSession::PracticeMissedTasks() {
  const StoreTime since = ToStoreTime(WallClock::now() - std::chrono::hours(24 * kPracticeDays));
  std::vector<PracticeTask> tasks;
  const StoreResult<std::vector<MissedTask>> missed =
      store_->MissedTasks(Profile(), since, kTasksPerRound);
  if (!missed) {
    store_->Problems().Post({StoreEvent::ReadFailed, missed.Error(), {}, 0});
    return;
  }
  for (const MissedTask& task : *missed) {
    // The game deals its tasks in its own text encoding.
    tasks.push_back({zelv::ToWindows1252(task.Term), static_cast<engine::Extended>(task.Expected)});
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
  started_ = true;
  ShowStoreProblems();
  if (store_->Profiles().ValueOr({}).size() > 1) ChooseProfile();
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
