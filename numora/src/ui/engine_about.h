// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The expression engine's about window, and the hooks through which the
// engine (which never shows a window itself) asks the program to show it and
// its one message box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zelv {
class UserDialogs;
}

namespace numora {

// A small modal window naming the engine and its version.
class TEngineAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TEngineAbout(QWidget* parent = nullptr);

  QLabel* NameLabel = nullptr;
  QLabel* TextLabel = nullptr;
  QPushButton* OKButton = nullptr;
};

// The engine's name as the about window shows it: "TTermParser V6.1".
QString EngineTitle();

// Shows the about window modally over the active window.
void ShowEngineAbout();

// Installs the engine's hooks for this program: its about window, and
// SetTerm's "No declarations assigned" as a message box with the application
// title as caption, shown through dialogs. dialogs must outlive every later
// use of the engine; RemoveEngineHooks undoes this.
void InstallEngineHooks(zelv::UserDialogs& dialogs);
void RemoveEngineHooks();

}  // namespace numora
