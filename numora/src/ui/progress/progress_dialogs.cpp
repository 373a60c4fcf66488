// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

#include "profile_dialog.h"

namespace numora {

std::optional<ProfileId> QtProgressDialogs::ChooseChild(QWidget* parent, ProgressStore& store,
                                                        zelv::UserDialogs& dialogs,
                                                        ProfileId current) {
  ProfileDialog dialog(store, dialogs, current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Selected();
}

bool QtProgressDialogs::SetUpPrinter(QWidget* parent, const QString& caption, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(caption);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace numora
