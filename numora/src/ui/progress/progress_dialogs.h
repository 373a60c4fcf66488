// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress commands' own dialogs, behind an interface like the message
// boxes' (zelv::UserDialogs): the program passes the Qt ones, tests a script.
#pragma once

#include <QString>
#include <optional>

#include "progress_store.h"

class QPrinter;
class QWidget;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProgressDialogs {
 public:
  virtual ~ProgressDialogs() = default;
  // "Kind wechseln": the children to pick, add, rename and delete; the child
  // picked, or std::nullopt when cancelled (children may have been added,
  // renamed or deleted all the same). Its questions go through dialogs.
  virtual std::optional<ProfileId> ChooseChild(QWidget* parent, ProgressStore& store,
                                               zelv::UserDialogs& dialogs, ProfileId current) = 0;
  // The print dialog for the report, which sets up printer; false when
  // cancelled.
  virtual bool SetUpPrinter(QWidget* parent, const QString& caption, QPrinter& printer) = 0;
};

class QtProgressDialogs final : public ProgressDialogs {
 public:
  std::optional<ProfileId> ChooseChild(QWidget* parent, ProgressStore& store,
                                       zelv::UserDialogs& dialogs, ProfileId current) override;
  bool SetUpPrinter(QWidget* parent, const QString& caption, QPrinter& printer) override;
};

}  // namespace numora
