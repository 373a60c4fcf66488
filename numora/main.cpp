// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Numora, the mental-arithmetic trainer: the start-up step, then the four
// windows in their fixed order, then the event loop until the main window
// closes.
#include <QApplication>
#include <QSettings>
#include <QTimer>

#include "command_line.h"
#include "engine_about.h"
#include "export_command.h"
#include "program_identity.h"
#include "program_windows.h"
#include "progress_session.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/startup.h"
#include "zelvlib/translations.h"

int main(int argc, char* argv[]) {
  // "numora --help", "--version" and "--export-csv FILE [--profile NAME]"
  // answer or write the progress and end, without a window and without
  // needing a display.
  const numora::CommandLineRequest request = numora::ReadCommandLine(argc, argv);
  if (request != numora::CommandLineRequest::Window) {
    QCoreApplication app(argc, argv);
    zelv::RunStartupStep();
    // The messages and the CSV's header in the user's language, as in the
    // windows.
    const zelv::ProgramTranslations translations({QStringLiteral("numora")});
    if (request != numora::CommandLineRequest::Export) {
      return numora::PrintCommandLineAnswer(request);
    }
    return numora::RunExportCommand(QCoreApplication::arguments(),
                                    numora::DefaultProgressStorePath());
  }
  QApplication app(argc, argv);
  // After the application object: its construction adopts the user's locale
  // for the C runtime, which the start-up step then overrides with ".".
  zelv::RunStartupStep();
  // German, or the first of the user's languages that has a catalogue.
  const zelv::ProgramTranslations translations({QStringLiteral("numora")});

  // The title made from the program file's name is the caption of every
  // message box. It is set as the application name rather than the display
  // name, which some window systems would append to every window's caption.
  QCoreApplication::setApplicationName(numora::ApplicationTitle());
  QApplication::setWindowIcon(numora::ProgramIcon());

  zelv::QtUserDialogs dialogs;
  numora::InstallEngineHooks(dialogs);

  // The user's own settings (the zoom), in the usual place of the desktop.
  QSettings settings(QStringLiteral("zelv"), QStringLiteral("numora"));
  numora::ProgramWindows::Options options;
  options.Settings = &settings;
  numora::ProgramWindows windows(dialogs, options);
  // The help window may still be open when the main window closes; the
  // program ends with the main window all the same.
  QObject::connect(&windows.Form1, &numora::TForm1::Closed, &app, &QCoreApplication::quit);
  // Every round and answer goes to the child's progress file.
  numora::ProgressSession progress(windows.Form1, dialogs,
                                   numora::OpenProgressStore(numora::DefaultProgressStorePath()));
  windows.Show();
  QTimer::singleShot(0, &progress, &numora::ProgressSession::StartUp);

  const int result = QApplication::exec();
  numora::RemoveEngineHooks();
  return result;
}
