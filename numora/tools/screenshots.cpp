// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the trainer's main window and history window after a little play
// and saves them as pictures for the project's documentation:
//   numora_screenshots <output folder> [<language> <zoom per cent> <name>]
// writes numora-main.png and numora-history.png, or with a language and a
// zoom <name>.png (the main window) and <name>-history.png. The windows are the
// program's own; only the child's answers are scripted, and the rounds are
// dealt from a fixed seed so that the pictures change only when the program
// does.
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QListWidget>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "history.h"
#include "history_window.h"
#include "main_window.h"
#include "program_identity.h"
#include "zelvlib/scale.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/startup.h"
#include "zelvlib/translations.h"

namespace {

QString RightAnswer(const numora::TAufgabe& task) {
  return QString::number(static_cast<long long>(std::trunc(task.Expected)));
}

// Lets seconds pass, then answers the first count open tasks of the round,
// the first one wrongly once.
void Play(numora::TForm1& form, zelv::ScriptedDialogs& dialogs, int count, int seconds) {
  for (int i = 0; i < seconds; ++i) form.Timer1Timer();
  bool wrongOnce = true;
  for (int row = 0; row < numora::kTaskRows && count > 0; ++row) {
    for (int column = 0; column < numora::kTaskColumns && count > 0; ++column) {
      numora::TAufgabe* task = form.Task(column, row);
      if (task->isHidden()) continue;
      if (wrongOnce) {
        dialogs.Answer(RightAnswer(*task) + QStringLiteral("1"));
        wrongOnce = false;
      }
      dialogs.Answer(RightAnswer(*task));
      form.AnswerTask(*task);
      --count;
    }
  }
}

bool Save(QWidget& window, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2 && argc != 5) {
    std::fprintf(stderr,
                 "usage: numora_screenshots <output folder> [<language> <zoom per cent> <name>]\n");
    return 2;
  }
  zelv::RunStartupStep();
  const QString language = argc == 5 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("de");
  const zelv::Scale scale = zelv::Scale::FromPercent(argc == 5 ? std::atoi(argv[3]) : 100);
  const QString name = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("numora-main");
  const zelv::ProgramTranslations translations({QStringLiteral("numora")}, {language});
  QApplication::setFont(scale.Font(QApplication::font()));
  QCoreApplication::setApplicationName(QStringLiteral("Numora"));
  QApplication::setWindowIcon(numora::ProgramIcon());
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  zelv::ScriptedDialogs dialogs;
  numora::TForm1 form(dialogs, nullptr, 20261207);
  numora::TForm3 history(&form);
  zelv::ZoomControl zoom(nullptr);
  zoom.SetPercent(scale.Percent());
  form.AttachZoom(zoom);
  history.ApplyScale(scale);
  form.show();

  // Round 1 solved completely, round 2 under way; one more tick shows its
  // counts.
  Play(form, dialogs, numora::kTasksPerRound, 212);
  Play(form, dialogs, 6, 96);
  form.Timer1Timer();
  QCoreApplication::processEvents();
  if (!Save(form, folder, name + QStringLiteral(".png"))) return 1;

  // The last line names the child's account and computer; the pictures show
  // sample names instead of this machine's.
  const numora::HistoryFooter footer{
      QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat),
      QStringLiteral("kind"), QStringLiteral("familien-pc")};
  const numora::TrainerGame& game = form.Game();
  history.SetLines(
      numora::HistoryLines(game.Rounds(), game.Totals(), game.SpecialPoints(), footer));
  history.show();
  QCoreApplication::processEvents();
  const QString historyName =
      argc == 5 ? name + QStringLiteral("-history.png") : QStringLiteral("numora-history.png");
  if (!Save(history, folder, historyName)) return 1;
  return 0;
}
