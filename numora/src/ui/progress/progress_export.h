// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Datei → Exportieren …": the progress of the child practising, or of all
// children, as CSV to a file the user chooses.
#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProfileSwitching;
class ProgressStore;

class ProgressExport : public QObject {
  Q_OBJECT

 public:
  ProgressExport(QWidget& parent, ProgressStore& store, zelv::UserDialogs& dialogs,
                 ProfileSwitching& profiles);

  void ExportCsv();

  QAction* const Action;  // "E&xportieren …"

 private:
  QWidget& parent_;
  ProgressStore& store_;
  zelv::UserDialogs& dialogs_;
  ProfileSwitching& profiles_;
};

}  // namespace numora
