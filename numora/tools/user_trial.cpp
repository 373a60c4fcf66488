// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Walks through the trainer as a new user would, on a real display (e.g. a
// virtual X server: xvfb-run numora_user_trial <folder>), with the program's
// real dialogs, and saves a picture of the screen at each step for checking
// that every window shows and nothing is cut off:
//   01-startup.png   the start-up window over the main window
//   02-main.png      the main window once the clock runs
//   03-input.png     the input dialog of a task
//   04-invalid.png   "Fehlerhafte Eingabe: " after an invalid answer
//   05-history.png, 06-info.png, 07-engine.png, 08-help.png
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "engine_about.h"
#include "program_identity.h"
#include "program_windows.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/startup.h"

namespace {

QDir g_folder;

void GrabScreen(const char* name) {
  QCoreApplication::processEvents();
  const QString path = g_folder.filePath(QString::fromLatin1(name));
  if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  }
}

// Runs open (which shows a modal window), and meanwhile, once the window is
// up, saves the screen as name and lets answer deal with the modal window.
void WhileModal(const std::function<void()>& open, const char* name,
                const std::function<void(QWidget*)>& answer) {
  QTimer::singleShot(400, [name, answer] {
    GrabScreen(name);
    if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
  });
  open();
}

void Wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The OK of a dialog or message box.
void Accept(QWidget* modal) {
  if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
}

void CloseWindow(QWidget* modal) {
  modal->close();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: numora_user_trial <output folder>\n");
    return 2;
  }
  zelv::RunStartupStep();
  QCoreApplication::setApplicationName(QStringLiteral("Numora"));
  QApplication::setWindowIcon(numora::ProgramIcon());
  g_folder = QDir(QString::fromLocal8Bit(argv[1]));

  zelv::QtUserDialogs dialogs;
  numora::InstallEngineHooks(dialogs);
  numora::ProgramWindows windows(dialogs);
  windows.Show();
  numora::TForm1& form = windows.Form1;

  Wait(1000);
  GrabScreen("01-startup.png");
  Wait(3500);
  GrabScreen("02-main.png");

  // An invalid answer: the input dialog, then the message about it.
  numora::TAufgabe* task = form.Task(0, 0);
  WhileModal([&] { task->click(); }, "03-input.png",
             [](QWidget* modal) {
               QTimer::singleShot(400, [] {
                 GrabScreen("04-invalid.png");
                 Accept(QApplication::activeModalWidget());
               });
               modal->findChild<QLineEdit*>()->setText(QStringLiteral("1.5"));
               Accept(modal);
             });
  WhileModal([&] { form.Historie1->trigger(); }, "05-history.png", CloseWindow);
  WhileModal([&] { form.Info1->trigger(); }, "06-info.png", CloseWindow);
  WhileModal([&] { form.IntoberTTermParser1->trigger(); }, "07-engine.png", CloseWindow);
  form.Hilfe1->trigger();
  Wait(500);
  GrabScreen("08-help.png");
  std::printf("errors counted: %d (expected 1)\n", form.Game().Totals().Errors);
  numora::RemoveEngineHooks();
  return 0;
}
