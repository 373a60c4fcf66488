// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store in the running program: it holds the opened store,
// chooses the child who practises, records the main window's game, and adds
// the progress commands to the main window's menus ("Datei → Kind wechseln …",
// "Datei → Exportieren …", "Optionen → Fehler üben"). The main window itself
// knows nothing of the store.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

#include "progress_recorder.h"
#include "sqlite_progress_store.h"

class QAction;

namespace zelv {
class UserDialogs;
}

namespace numora {

class TForm1;
class ProgressWindow;

class ProgressSession : public QObject {
  Q_OBJECT

 public:
  // How far back "Fehler üben" looks for missed tasks.
  static constexpr int kPracticeDays = 90;

  // Takes the opened store; with no profile yet, one is made named after the
  // login user, so a single child is never asked anything.
  ProgressSession(TForm1& form, zelv::UserDialogs& dialogs, OpenedProgressStore opened);
  ~ProgressSession() override;

  ProgressStore& Store() { return *store_; }
  ProfileId Profile() const { return recorder_->Profile(); }
  QString ProfileName();

  // The message about an unusable file, shown once (when the window is up).
  void ShowOpeningProblem();
  // When the window is up: that message, then, when several children
  // practise here, the question who it is now (the last one preselected).
  void StartUp();
  // "Kind wechseln …": the profile dialog; the child chosen practises from
  // now on.
  void ChooseProfile();
  // After the profile dialog: switches to the chosen child, or away from the
  // one practising when that one was deleted; renames need nothing.
  void FollowProfileChoice(std::optional<ProfileId> chosen);
  // "Exportieren …": the CSV of the child practising or of all children,
  // to a file the user chooses.
  void ExportCsv();
  // "Fehler üben": a round of the child's recently missed tasks.
  void PracticeMissedTasks();
  // Records from now on for another child; the running round is abandoned.
  void SwitchProfile(ProfileId profile);

  QAction* PracticeAction = nullptr;
  QAction* ProfileAction = nullptr;
  QAction* ExportAction = nullptr;

  // "Datei → Fortschritt …": the progress window for the current child.
  void ShowProgress();
  // "Datei → Drucken …": the progress report, to a printer or a PDF file,
  // for the period the progress window shows (the last four weeks at first).
  void PrintProgress();
  // The progress window, made on first use.
  ProgressWindow& Window();

  QAction* ProgressAction = nullptr;
  QAction* PrintAction = nullptr;

 private:
  void ShowProblem(const QString& message);
  // Records for the child from now on, in a run at its last level, and
  // names it in the main window.
  void StartChildsRun(ProfileId profile, bool switching);
  void AddProfileAndExportItems();
  bool HasProfile(ProfileId profile);
  void AddProgressCommands();

  TForm1& form_;
  zelv::UserDialogs& dialogs_;
  std::unique_ptr<ProgressStore> store_;
  QString openingProblem_;
  std::unique_ptr<ProgressRecorder> recorder_;
  QPointer<ProgressWindow> window_;
};

}  // namespace numora
