// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_export.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "csv_export.h"
#include "profile_dialog.h"
#include "profile_switching.h"
#include "zelvlib/dialogs.h"

namespace numora {
namespace {

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

ProgressExport::ProgressExport(QWidget& parent, ProgressStore& store, zelv::UserDialogs& dialogs,
                               ProfileSwitching& profiles)
    : Action(new QAction(tr("E&xportieren …"), this)),
      parent_(parent),
      store_(store),
      dialogs_(dialogs),
      profiles_(profiles) {
  connect(Action, &QAction::triggered, this, &ProgressExport::ExportCsv);
}

void ProgressExport::ExportCsv() {
  const QString caption = tr("Exportieren");
  std::optional<ProfileId> profile = profiles_.Profile();
  QString fileName = profiles_.ProfileName();
  const std::size_t children = store_.Profiles().ValueOr({}).size();
  if (children > 1) {
    const zelv::DialogButton answer = dialogs_.Message(
        &parent_, caption,
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
  if (!dialogs_.SaveFileName(&parent_, caption, tr("CSV-Dateien (*.csv)"), QStringLiteral("csv"),
                             path)) {
    return;
  }
  QString error;
  if (!ExportProgressCsv(store_, profile, path, error)) {
    dialogs_.Message(&parent_, caption, error, zelv::DialogIcon::Warning, {zelv::DialogButton::Ok});
    return;
  }
  dialogs_.Message(&parent_, caption, tr("Der Fortschritt steht jetzt in %1.").arg(path),
                   zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
}

}  // namespace numora
