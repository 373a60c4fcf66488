// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store in the running program: it holds the opened store and
// puts together the commands around it, each an object of its own: who
// practises ("Datei → Kind wechseln …", ProfileSwitching), the export
// ("Datei → Exportieren …", ProgressExport), the progress window and its
// report ("Datei → Fortschritt …", "Datei → Drucken …",
// ProgressReportCommands), and "Optionen → Fehler üben". Their menu items go
// to the main window as groups; the main window itself knows nothing of the
// store.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "progress_dialogs.h"
#include "sqlite_progress_store.h"

class QAction;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProfileSwitching;
class ProgressExport;
class ProgressReportCommands;
class ProgressWindow;
class TForm1;

class ProgressSession : public QObject {
  Q_OBJECT

 public:
  // How far back "Fehler üben" looks for missed tasks.
  static constexpr int kPracticeDays = 90;

  // Takes the opened store. The children and print dialogs go through
  // progressDialogs, the Qt ones when none is given.
  ProgressSession(TForm1& form, zelv::UserDialogs& dialogs, OpenedProgressStore opened,
                  ProgressDialogs* progressDialogs = nullptr);
  ~ProgressSession() override;

  ProgressStore& Store() { return *store_; }
  ProfileId Profile() const;
  QString ProfileName();

  // The store's problems that wait, each shown once (when the window is
  // up); a child deleted by another copy is followed by a switch to a
  // remaining one. Also keeps the main window's "not saving" sign up to date.
  void ShowStoreProblems();
  void ShowOpeningProblem() { ShowStoreProblems(); }
  // When the window is up: that message, then, when several children
  // practise here, the question who it is now (the last one preselected).
  void StartUp();
  // "Fehler üben": a round of the child's recently missed tasks.
  void PracticeMissedTasks();

  // The parts' commands, for those who hold the session.
  void ChooseProfile();
  void FollowProfileChoice(std::optional<ProfileId> chosen);
  void SwitchProfile(ProfileId profile);
  void ExportCsv();
  void ShowProgress();
  void PrintProgress();
  ProgressWindow& Window();

  QAction* PracticeAction = nullptr;
  QAction* ProfileAction = nullptr;
  QAction* ExportAction = nullptr;
  QAction* ProgressAction = nullptr;
  QAction* PrintAction = nullptr;

 private:
  void ShowProblem(const QString& message);
  void UpdateSavingSign();

  TForm1& form_;
  zelv::UserDialogs& dialogs_;
  std::unique_ptr<ProgressDialogs> ownDialogs_;
  std::unique_ptr<ProgressStore> store_;
  bool neverSaves_ = false;  // the file could not be opened: memory only
  bool started_ = false;     // the window is up: problems may be shown
  bool showing_ = false;
  // Declared after the store, which they use: they go first.
  std::unique_ptr<ProfileSwitching> profiles_;
  std::unique_ptr<ProgressExport> export_;
  std::unique_ptr<ProgressReportCommands> report_;
};

}  // namespace numora
