// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_report_commands.h"

#include <QAction>
#include <QPageLayout>
#include <QPrinter>

#include "main_window.h"
#include "profile_switching.h"
#include "program_identity.h"
#include "progress_dialogs.h"
#include "progress_window.h"
#include "zelvlib/dialogs.h"

namespace numora {

ProgressReportCommands::ProgressReportCommands(TForm1& form, ProgressStore& store,
                                               zelv::UserDialogs& dialogs,
                                               ProgressDialogs& progressDialogs,
                                               ProfileSwitching& profiles)
    : ProgressAction(new QAction(tr("&Fortschritt …"), this)),
      PrintAction(new QAction(tr("&Drucken …"), this)),
      form_(form),
      store_(store),
      dialogs_(dialogs),
      progressDialogs_(progressDialogs),
      profiles_(profiles) {
  ProgressAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(ProgressAction, &QAction::triggered, this, &ProgressReportCommands::ShowProgress);
  PrintAction->setShortcut(QKeySequence::Print);
  connect(PrintAction, &QAction::triggered, this, &ProgressReportCommands::PrintProgress);
  // An open progress window follows a change of child.
  connect(&profiles_, &ProfileSwitching::ProfileChanged, this, [this] {
    if (window_ && window_->isVisible()) Window().Refresh();
  });
}

ProgressReportCommands::~ProgressReportCommands() {
  delete window_;
}

ProgressWindow& ProgressReportCommands::Window() {
  if (!window_) {
    window_ = new ProgressWindow(store_, &form_);
    connect(window_, &ProgressWindow::PrintRequested, this, &ProgressReportCommands::PrintProgress);
  }
  window_->SetProfile(profiles_.Profile(), profiles_.ProfileName());
  return *window_;
}

void ProgressReportCommands::ShowProgress() {
  Window().ShowProgress();
}

void ProgressReportCommands::PrintProgress() {
  ProgressWindow& window = Window();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(tr("Lernfortschritt von %1").arg(profiles_.ProfileName()));
  printer.setPageOrientation(QPageLayout::Portrait);
  QWidget* parent = window.isVisible() ? static_cast<QWidget*>(&window) : &form_;
  if (!progressDialogs_.SetUpPrinter(parent, tr("Fortschritt drucken"), printer)) return;
  if (!window.PrintTo(printer)) {
    dialogs_.Message(&form_, ApplicationTitle(),
                     tr("Der Bericht konnte nicht gedruckt werden. Bitte prüfe den Drucker "
                        "oder den Dateinamen."),
                     zelv::DialogIcon::Warning, {zelv::DialogButton::Ok});
  }
}

}  // namespace numora
