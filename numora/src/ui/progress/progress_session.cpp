// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_session.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "csv_export.h"
#include "main_window.h"
#include "profile_dialog.h"
#include "program_identity.h"
#include "progress_window.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/user_names.h"

namespace numora {
namespace {

ProfileId ChooseStartProfile(ProgressStore& store) {
  const std::vector<ProfileInfo> profiles = store.Profiles();
  if (const std::optional<ProfileId> last = store.LastProfile()) return *last;
  if (!profiles.empty()) return profiles.front().Id;
  QString name = CleanProfileName(zelv::GetLogonUserName());
  if (name.isEmpty()) name = ProgressSession::tr("Kind");
  // Only a store that cannot write refuses; the memory store never does.
  return store.AddProfile(name).value_or(0);
}

// The level of the child's last round, where its next run starts; "mittel"
// for a child who has not played yet. The newest rounds are looked for
// first, in ever wider spans back, so a child who plays daily costs one
// small read even after years.
TLevel LastLevel(ProgressStore& store, ProfileId profile) {
  constexpr StoreTime kDay = 24 * 60 * 60 * 1000;
  const StoreTime end = ToStoreTime(WallClock::now()) + kDay;  // a clock set back a little
  for (StoreTime span = 8 * kDay;; span *= 8) {
    const StoreTime from = span > end ? 0 : end - span;
    const std::vector<StoredRound> rounds = store.Rounds(profile, from, end);
    if (!rounds.empty()) {
      const TLevel level = rounds.back().Counts.Difficulty;
      return level < kLevelCount ? level : TLevel{1};
    }
    if (from == 0) break;
  }
  return 1;
}

// A child's name as part of a file name: no folder separators, characters
// that some file systems refuse, control or direction characters (which
// could make "evil\u202Etxt.exe" look like a text file), or a leading dot.
QString FileNamePart(const QString& name) {
  QString part;
  for (const QChar c : name) {
    const bool unsafe = QStringLiteral("/\\:*?\"<>|").contains(c) ||
                        c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    part += unsafe ? u'_' : c;
  }
  if (part.startsWith(u'.')) part[0] = u'_';
  return part;
}

}  // namespace

ProgressSession::ProgressSession(TForm1& form, zelv::UserDialogs& dialogs,
                                 OpenedProgressStore opened)
    : form_(form),
      dialogs_(dialogs),
      store_(std::move(opened.Store)),
      openingProblem_(std::move(opened.Problem)) {
  store_->SetProblemHandler([this](const QString& message) { ShowProblem(message); });
  const ProfileId profile = ChooseStartProfile(*store_);
  store_->SetLastProfile(profile);
  StartChildsRun(profile, false);

  PracticeAction = new QAction(tr("&Fehler üben"), this);
  connect(PracticeAction, &QAction::triggered, this, &ProgressSession::PracticeMissedTasks);
  if (form_.OptionsMenu) form_.OptionsMenu->insertAction(form_.Historie1, PracticeAction);
  AddProfileAndExportItems();
  AddProgressCommands();
}

void ProgressSession::AddProfileAndExportItems() {
  ProfileAction = new QAction(tr("&Kind wechseln …"), this);
  connect(ProfileAction, &QAction::triggered, this, &ProgressSession::ChooseProfile);
  ExportAction = new QAction(tr("E&xportieren …"), this);
  connect(ExportAction, &QAction::triggered, this, &ProgressSession::ExportCsv);
  if (form_.FileMenu) {
    form_.FileMenu->insertActions(form_.Exit1, {ProfileAction, ExportAction});
    form_.FileMenu->insertSeparator(form_.Exit1);
  }
}

ProgressSession::~ProgressSession() {
  // The window reads the store, which goes with the session.
  delete window_;
}

QString ProgressSession::ProfileName() {
  for (const ProfileInfo& profile : store_->Profiles()) {
    if (profile.Id == Profile()) return profile.Name;
  }
  return {};
}

void ProgressSession::ShowOpeningProblem() {
  if (openingProblem_.isEmpty()) return;
  dialogs_.Message(&form_, ApplicationTitle(), openingProblem_, zelv::DialogIcon::Warning,
                   {zelv::DialogButton::Ok});
  openingProblem_.clear();
}

void ProgressSession::ShowProblem(const QString& message) {
  dialogs_.Message(&form_, ApplicationTitle(), message, zelv::DialogIcon::Warning,
                   {zelv::DialogButton::Ok});
}

void ProgressSession::PracticeMissedTasks() {
  const StoreTime since = ToStoreTime(WallClock::now() - std::chrono::hours(24 * kPracticeDays));
  std::vector<PracticeTask> tasks;
  for (const MissedTask& missed : store_->MissedTasks(Profile(), since, kTasksPerRound)) {
    tasks.push_back({missed.Term, static_cast<engine::Extended>(missed.Expected)});
  }
  if (tasks.empty()) {
    dialogs_.Message(&form_, ApplicationTitle(),
                     tr("Zurzeit gibt es keine falsch gelösten Aufgaben zum Üben."),
                     zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
    return;
  }
  form_.PracticeRound(tasks);
}

bool ProgressSession::HasProfile(ProfileId profile) {
  for (const ProfileInfo& info : store_->Profiles()) {
    if (info.Id == profile) return true;
  }
  return false;
}

void ProgressSession::StartUp() {
  ShowOpeningProblem();
  if (store_->Profiles().size() > 1) ChooseProfile();
}

void ProgressSession::ChooseProfile() {
  ProfileDialog dialog(*store_, dialogs_, Profile(), &form_);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  FollowProfileChoice(chosen ? dialog.Selected() : std::nullopt);
}

void ProgressSession::FollowProfileChoice(std::optional<ProfileId> chosen) {
  if (chosen && HasProfile(*chosen)) {
    SwitchProfile(*chosen);
  } else if (!HasProfile(Profile())) {
    SwitchProfile(ChooseStartProfile(*store_));
  }
  // The child practising may have been renamed.
  form_.ShowPractisingChild(ProfileName());
}

void ProgressSession::ExportCsv() {
  const QString caption = tr("Exportieren");
  std::optional<ProfileId> profile = Profile();
  QString fileName = ProfileName();
  const std::size_t children = store_->Profiles().size();
  if (children > 1) {
    const zelv::DialogButton answer = dialogs_.Message(
        &form_, caption,
        tr("Nur die Aufgaben von %1 exportieren?\n\n„Ja“: nur von %1.\n„Nein“: von allen %2 "
           "Kindern in einer Datei.")
            .arg(QuotedName(fileName), QString::number(children)),
        zelv::DialogIcon::Question,
        {zelv::DialogButton::Yes, zelv::DialogButton::No, zelv::DialogButton::Cancel});
    if (answer == zelv::DialogButton::Cancel) return;
    if (answer == zelv::DialogButton::No) {
      profile.reset();
      fileName = tr("alle Kinder");
    }
  }
  // The documents folder, unless the account has none (then the file
  // dialog would offer a folder that does not exist).
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  QString path =
      folder + QStringLiteral("/Numora %1 %2.csv")
                   .arg(FileNamePart(fileName), QDate::currentDate().toString(Qt::ISODate));
  if (!dialogs_.SaveFileName(&form_, caption, tr("CSV-Dateien (*.csv)"), QStringLiteral("csv"),
                             path)) {
    return;
  }
  QString error;
  if (!ExportProgressCsv(*store_, profile, path, error)) {
    dialogs_.Message(&form_, caption, error, zelv::DialogIcon::Warning, {zelv::DialogButton::Ok});
    return;
  }
  dialogs_.Message(&form_, caption, tr("Der Fortschritt steht jetzt in %1.").arg(path),
                   zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
}

void ProgressSession::StartChildsRun(ProfileId profile, bool switching) {
  const TLevel level = LastLevel(*store_, profile);
  // At program start the first round is already dealt; it is dealt again
  // only for another level.
  if (switching || level != form_.Game().CurrentRound().Difficulty) form_.StartChildRun(level);
  recorder_ = std::make_unique<ProgressRecorder>(form_.Game(), *store_, profile);
  form_.ShowPractisingChild(ProfileName());
}

void ProgressSession::SwitchProfile(ProfileId profile) {
  if (profile == Profile()) return;
  // A deleted child's round went with it: there is nothing to end.
  if (HasProfile(Profile())) recorder_->AbandonRound();
  recorder_.reset();
  store_->SetLastProfile(profile);
  // Not recorded: the new child's run, as if the program had started for it.
  StartChildsRun(profile, true);
  // An open progress window shows the new child from now on.
  if (window_ && window_->isVisible()) Window().Refresh();
}

void ProgressSession::AddProgressCommands() {
  ProgressAction = new QAction(tr("&Fortschritt …"), this);
  ProgressAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(ProgressAction, &QAction::triggered, this, &ProgressSession::ShowProgress);
  PrintAction = new QAction(tr("&Drucken …"), this);
  PrintAction->setShortcut(QKeySequence::Print);
  connect(PrintAction, &QAction::triggered, this, &ProgressSession::PrintProgress);
  if (!form_.FileMenu) return;
  // A group of their own above the child and export commands.
  QAction* before = ProfileAction ? ProfileAction : form_.Exit1;
  form_.FileMenu->insertActions(before, {ProgressAction, PrintAction});
  form_.FileMenu->insertSeparator(before);
  // Also on the window itself: the shortcuts then work with the menu closed.
  form_.addActions({ProgressAction, PrintAction});
}

ProgressWindow& ProgressSession::Window() {
  if (!window_) {
    window_ = new ProgressWindow(*store_, &form_);
    connect(window_, &ProgressWindow::PrintRequested, this, &ProgressSession::PrintProgress);
  }
  window_->SetProfile(Profile(), ProfileName());
  return *window_;
}

void ProgressSession::ShowProgress() {
  Window().ShowProgress();
}

void ProgressSession::PrintProgress() {
  ProgressWindow& window = Window();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(tr("Lernfortschritt von %1").arg(ProfileName()));
  printer.setPageOrientation(QPageLayout::Portrait);
  QPrintDialog dialog(&printer, window.isVisible() ? static_cast<QWidget*>(&window) : &form_);
  dialog.setWindowTitle(tr("Fortschritt drucken"));
  if (dialog.exec() != QDialog::Accepted) return;
  if (!window.PrintTo(printer)) {
    dialogs_.Message(&form_, ApplicationTitle(),
                     tr("Der Bericht konnte nicht gedruckt werden. Bitte prüfe den Drucker "
                        "oder den Dateinamen."),
                     zelv::DialogIcon::Warning, {zelv::DialogButton::Ok});
  }
}

}  // namespace numora
