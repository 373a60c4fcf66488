// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Bildwort 2, the reading game: the start-up step, then the one window, which
// loads the picture library and deals the first game, then the event loop
// until the window closes or the game ends.
#include <QApplication>
#include <QCoreApplication>
#include <QSettings>
#include <cstdlib>
#include <cstring>

#include "main_window.h"
#include "picture_library.h"
#include "program_icon.h"
#include "qt_word_speaker.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/startup.h"
#include "zelvlib/translations.h"

int main(int argc, char* argv[]) {
  // The trial load of the picture library, in a process of its own: no
  // window, no display, only the library and its resources.
  if (argc == 4 && std::strcmp(argv[1], bildwort::kTrialLoadOption) == 0) {
    const QCoreApplication trial(argc, argv);
    return bildwort::RunTrialLoad(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  QApplication app(argc, argv);
  zelv::RunStartupStep();
  // German unless the user prefers English; the words' language is the
  // game's own choice.
  const zelv::ProgramTranslations translations({QStringLiteral("bildwort")});
  QApplication::setWindowIcon(bildwort::ProgramIcon());

  zelv::QtUserDialogs dialogs;
  // Loaded on trial in a copy of this program first: a damaged library
  // must not take the game down with it.
  bildwort::ProcessTrialLoader trial(QCoreApplication::applicationFilePath());
  bildwort::ZelvpicsLibrary library(QStringLiteral("zelvpics"),
                                    bildwort::ZelvpicsLibrary::ProgramFolder(), &trial);
  // The user's choices, in the user's own configuration folder.
  QSettings settings(QStringLiteral("zelv"), QStringLiteral("bildwort"));
  bildwort::QtWordSpeaker speaker;
  bildwort::TForm1 form1(library, dialogs, std::nullopt, &settings, &speaker);
  if (form1.Ended()) return EXIT_FAILURE;  // no usable picture library, or no words in it
  QObject::connect(&form1, &bildwort::TForm1::ProgramEnded, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  form1.show();
  // Keys reach the board at once, also where no window manager gives the
  // focus (a kiosk, a test display).
  form1.activateWindow();
  return QApplication::exec();
}
