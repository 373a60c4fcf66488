// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_command.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <optional>

#include "csv_export.h"
#include "sqlite_progress_store.h"
#include "store_problem_text.h"

namespace numora {
namespace {

void Say(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

bool WantsExport(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--export-csv") == 0) return true;
  }
  return false;
}

int RunExportCommand(const QStringList& arguments, const QString& storePath) {
  QString file;
  std::optional<QString> profileName;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == QLatin1String("--export-csv") && hasValue && file.isEmpty()) {
      file = arguments[++i];
    } else if (argument == QLatin1String("--profile") && hasValue && !profileName) {
      profileName = arguments[++i];
    } else {
      Say(QCoreApplication::translate("numora::ExportCommand",
                                      "Aufruf: numora --export-csv DATEI [--profile NAME]"));
      return 2;
    }
  }
  if (file.isEmpty()) {
    Say(QCoreApplication::translate("numora::ExportCommand",
                                    "Aufruf: numora --export-csv DATEI [--profile NAME]"));
    return 2;
  }

  OpenedProgressStore opened = OpenProgressStore(storePath);
  // A file that is there but cannot be written now can still be read.
  if (opened.Problem && opened.Problem->Event != StoreEvent::NotSaving) {
    Say(StoreProblemText(*opened.Problem));
    return 1;
  }
  std::optional<ProfileId> profile;
  if (profileName) {
    const QString wanted = CleanProfileName(*profileName);
    QStringList names;
    for (const ProfileInfo& info : opened.Store->Profiles().ValueOr({})) {
      if (info.Name == wanted) profile = info.Id;
      names << info.Name;
    }
    if (!profile) {
      Say(QCoreApplication::translate("numora::ExportCommand",
                                      "Kein Kind heißt „%1“. Vorhanden: %2")
              .arg(*profileName, names.join(QStringLiteral(", "))));
      return 1;
    }
  }
  QString error;
  if (!ExportProgressCsv(*opened.Store, profile, file, error)) {
    Say(error);
    return 1;
  }
  return 0;
}

}  // namespace numora
