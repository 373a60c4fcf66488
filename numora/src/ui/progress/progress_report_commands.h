// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Datei → Fortschritt …" (Ctrl+F): the progress window of the child
// practising; "Datei → Drucken …" (Ctrl+P): its report, to a printer or a
// PDF file, for the period the window shows (the last four weeks at first).
#pragma once

#include <QObject>
#include <QPointer>

class QAction;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProfileSwitching;
class ProgressDialogs;
class ProgressStore;
class ProgressWindow;
class TForm1;

class ProgressReportCommands : public QObject {
  Q_OBJECT

 public:
  ProgressReportCommands(TForm1& form, ProgressStore& store, zelv::UserDialogs& dialogs,
                         ProgressDialogs& progressDialogs, ProfileSwitching& profiles);
  // The window reads the store: it goes first.
  ~ProgressReportCommands() override;

  void ShowProgress();
  void PrintProgress();
  // The progress window, made on first use, showing the child practising.
  ProgressWindow& Window();

  QAction* const ProgressAction;  // "&Fortschritt …"
  QAction* const PrintAction;     // "&Drucken …"

 private:
  TForm1& form_;
  ProgressStore& store_;
  zelv::UserDialogs& dialogs_;
  ProgressDialogs& progressDialogs_;
  ProfileSwitching& profiles_;
  QPointer<ProgressWindow> window_;
};

}  // namespace numora
