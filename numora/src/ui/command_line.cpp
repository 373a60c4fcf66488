// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "export_command.h"
#include "program_identity.h"

namespace numora {
namespace {

bool Has(int argc, char* argv[], std::initializer_list<const char*> options) {
  for (int i = 1; i < argc; ++i) {
    for (const char* option : options) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

CommandLineRequest ReadCommandLine(int argc, char* argv[]) {
  if (Has(argc, argv, {"--help", "-h"})) return CommandLineRequest::Help;
  if (Has(argc, argv, {"--version"})) return CommandLineRequest::Version;
  if (WantsExport(argc, argv)) return CommandLineRequest::Export;
  return CommandLineRequest::Window;
}

QString CommandLineHelp() {
  //: The answer to "numora --help". The option names stay as they are.
  return QCoreApplication::translate(
      "numora::CommandLine",
      "Aufruf: numora [--help | --version]\n"
      "       numora --export-csv DATEI [--profile NAME]\n"
      "\n"
      "Numora, der Rechentrainer für Kinder. Ohne Optionen öffnet sich sein Fenster.\n"
      "\n"
      "  --help, -h           diese Hilfe zeigen und beenden\n"
      "  --version            die Version zeigen und beenden\n"
      "  --export-csv DATEI   den Lernfortschritt aller Kinder als CSV-Datei schreiben,\n"
      "                       ohne Fenster\n"
      "  --profile NAME       mit --export-csv: nur den Fortschritt des Kindes NAME\n");
}

QString VersionText() {
  return QStringLiteral("%1 %2\n").arg(ApplicationTitle(), QStringLiteral(NUMORA_VERSION));
}

int PrintCommandLineAnswer(CommandLineRequest request) {
  const QString text = request == CommandLineRequest::Version ? VersionText() : CommandLineHelp();
  std::fputs(text.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace numora
