// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Datei → Kind wechseln …": the children who practise on this computer. One
// is picked to practise now; names are added, renamed and deleted here, a
// deletion only after a question that names what goes with it. The questions
// go through zelv::UserDialogs, so tests answer them.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "progress_store.h"

class QListWidget;
class QPushButton;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProfileDialog : public QDialog {
  Q_OBJECT

 public:
  ProfileDialog(ProgressStore& store, zelv::UserDialogs& dialogs, ProfileId current,
                QWidget* parent = nullptr);

  // The child selected in the list: after OK, the one who practises now.
  std::optional<ProfileId> Selected() const;
  void Select(ProfileId profile);

  // The buttons' commands (Insert, F2 and Delete in the list, too).
  void AddChild();
  void RenameChild();
  void DeleteChild();

  QListWidget* Children = nullptr;
  QPushButton* AddButton = nullptr;
  QPushButton* RenameButton = nullptr;
  QPushButton* DeleteButton = nullptr;
  QPushButton* OkButton = nullptr;

 private:
  void Reload(std::optional<ProfileId> select);
  void UpdateButtons();
  // Asks for a name until it is one no other child has; std::nullopt when
  // the question is cancelled.
  std::optional<QString> AskName(const QString& caption, const QString& preset,
                                 std::optional<ProfileId> renamed);
  void Tell(const QString& caption, const QString& text);

  ProgressStore& store_;
  zelv::UserDialogs& dialogs_;
};

// A child's name inside a sentence, in German quotes and isolated, so that
// right-to-left text or direction marks in the name cannot turn the rest of
// the sentence around.
QString QuotedName(const QString& name);

}  // namespace numora
