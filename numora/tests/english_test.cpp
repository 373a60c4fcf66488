// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer for a user whose language is English: every text of the
// windows, the spoken texts and the help document come from the English
// catalogue; the German texts stay as they are without it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QBuffer>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

#include "calc_help.h"
#include "csv_export.h"
#include "history.h"
#include "history_window.h"
#include "main_window.h"
#include "memory_progress_store.h"
#include "profile_dialog.h"
#include "progress_session.h"
#include "splash_screen.h"
#include "spoken_task.h"
#include "status_row.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/translations.h"

namespace numora {
namespace {

QString Spoken(QObject* object) {
  return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

QStringList MenuTitles(const TForm1& form) {
  QStringList titles;
  for (const QAction* menu : form.menuBar()->actions()) titles << menu->text();
  return titles;
}

TEST(EnglishInterface, WindowsMenusAndSpokenTexts) {
  const zelv::ProgramTranslations english({QStringLiteral("numora")}, {QStringLiteral("en-GB")});
  ASSERT_EQ(english.Language(), QStringLiteral("en"));
  zelv::ScriptedDialogs dialogs;
  TForm1 form(dialogs, nullptr, 5);
  EXPECT_EQ(MenuTitles(form), QStringList({QStringLiteral("&File"), QStringLiteral("&Options"),
                                           QStringLiteral("&Help")}));
  EXPECT_EQ(form.LevelItems[1]->text(), QStringLiteral("medium"));
  EXPECT_EQ(form.RoundCellText(), QStringLiteral("Round 1: medium"));
  EXPECT_EQ(form.StatusBar2->CellText(0), QStringLiteral("This round:"));
  EXPECT_EQ(form.StatusBar1->CellText(3), QStringLiteral("Seconds:"));
  EXPECT_EQ(Spoken(form.StatusBar3), QStringLiteral("Total: 0 points, 0 errors, 0 seconds"));
  EXPECT_EQ(Spoken(form.ProgressBar1), QStringLiteral("0 of 15 tasks solved"));
  EXPECT_EQ(SpokenTask(QStringLiteral("(17+3)*2")),
            QStringLiteral("open bracket 17 plus 3 close bracket times 2"));

  TAufgabe* task = form.Task(0, 0);
  dialogs.Answer(QStringLiteral("x"));
  form.AnswerTask(*task);
  ASSERT_EQ(dialogs.History().size(), 2u);
  EXPECT_EQ(dialogs.History()[0].Caption, QStringLiteral("Please enter the result:"));
  EXPECT_EQ(dialogs.History()[1].Text, QStringLiteral("Invalid input: x"));

  TCalcHelp help;
  EXPECT_EQ(help.Button1->text(), QStringLiteral("&Close"));
  EXPECT_TRUE(help.RichEdit1->toPlainText().contains(QStringLiteral("Keyboard and view")));
  TForm3 history;
  EXPECT_EQ(history.windowTitle(), QStringLiteral("Numora - History"));
  // The information window's sentence, its author included.
  TSplashscreen about(nullptr, 60000);
  EXPECT_EQ(about.Label1->text(),
            QStringLiteral("Numora is a mental arithmetic trainer by  the Numora team"));
  // The history keeps its columns in English.
  const QStringList lines =
      HistoryLines(form.Game().Rounds(), form.Game().Totals(), 3, {"1/2/27", "kind", "pc"});
  ASSERT_EQ(lines.size(), 10);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("   Round      Level    Solved")));
  EXPECT_EQ(lines[3].split(u' ', Qt::SkipEmptyParts).value(1), QStringLiteral("medium"));
  EXPECT_EQ(lines[3].size(), lines[5].size());
  EXPECT_EQ(lines[5].split(u' ', Qt::SkipEmptyParts).value(0), QStringLiteral("Total"));
  EXPECT_EQ(lines[7], QStringLiteral("Bonus points: 3"));
}

TEST(EnglishInterface, ChildrenAndExport) {
  const zelv::ProgramTranslations english({QStringLiteral("numora")}, {QStringLiteral("en-GB")});
  zelv::ScriptedDialogs dialogs;
  TForm1 form(dialogs, nullptr, 5);
  ProgressSession session(form, dialogs, {std::make_unique<MemoryProgressStore>(), {}, {}});
  EXPECT_EQ(session.ProfileAction->text(), QStringLiteral("&Change child …"));
  EXPECT_EQ(session.ExportAction->text(), QStringLiteral("&Export …"));
  QString keys;  // the letters after "&": one item each
  for (const QAction* item : form.FileMenu->actions()) {
    const qsizetype amp = item->text().indexOf(u'&');
    if (amp < 0) continue;
    EXPECT_FALSE(keys.contains(item->text()[amp + 1].toLower())) << item->text().toStdString();
    keys += item->text()[amp + 1].toLower();
  }
  ProfileDialog dialog(session.Store(), dialogs, session.Profile());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change child"));
  EXPECT_EQ(dialog.AddButton->text(), QStringLiteral("&New child …"));
  EXPECT_EQ(QuotedName(QStringLiteral("Ann")), QStringLiteral("\u201C\u2068Ann\u2069\u201D"));

  // The CSV, made in the core library, speaks English too.
  session.Store().StartRound({session.Profile(), 0, 1, false, {{0, "6*7", 42}}});
  QBuffer csv;
  csv.open(QIODevice::WriteOnly);
  ASSERT_TRUE(WriteProgressCsv(session.Store(), std::nullopt, csv));
  const QStringList rows = QString::fromUtf8(csv.data().mid(3)).split(QStringLiteral("\r\n"));
  EXPECT_TRUE(rows[0].startsWith(QStringLiteral("\"Child\";\"Round started\";\"Level\"")));
  EXPECT_TRUE(rows[1].contains(QStringLiteral(";\"medium\";\"open\";"))) << rows[1].toStdString();
  EXPECT_TRUE(rows[1].contains(QStringLiteral(";\"Multiplications\";"))) << rows[1].toStdString();
}

TEST(EnglishInterface, WithoutTheCatalogueTheTextsAreGerman) {
  zelv::ScriptedDialogs dialogs;
  TForm1 form(dialogs, nullptr, 5);
  EXPECT_EQ(MenuTitles(form), QStringList({QStringLiteral("&Datei"), QStringLiteral("&Optionen"),
                                           QStringLiteral("&Hilfe")}));
  TCalcHelp help;
  EXPECT_TRUE(help.RichEdit1->toPlainText().contains(QStringLiteral("Tastatur und Ansicht")));
  EXPECT_EQ(SpokenTask(QStringLiteral("3^2")), QStringLiteral("3 hoch 2"));
}

}  // namespace
}  // namespace numora
