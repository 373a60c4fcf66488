// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store inside the running program: the main window played like
// a child would, with the in-memory store behind it.
#include "progress_session.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <limits>

#include "main_window.h"
#include "memory_progress_store.h"
#include "profile_dialog.h"
#include "program_identity.h"
#include "progress_window.h"
#include "status_row.h"
#include "store_problem_text.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/user_names.h"

namespace numora {
namespace {

using zelv::DialogButton;

// The letters of a menu's items after "&" that more than one item has: such
// a letter only moves between those items instead of choosing one.
QString SharedMenuKeys(const QMenu& menu) {
  QString keys;
  QString shared;
  for (const QAction* item : menu.actions()) {
    const qsizetype amp = item->text().indexOf(u'&');
    if (amp < 0 || amp + 1 >= item->text().size()) continue;
    const QChar key = item->text()[amp + 1].toLower();
    if (keys.contains(key)) shared += key;
    keys += key;
  }
  return shared;
}

constexpr StoreTime kEver = std::numeric_limits<StoreTime>::max();

class ProgressSessionTest : public ::testing::Test {
 protected:
  // A store as opening leaves it, with the problem it met, if any.
  static OpenedProgressStore Memory(std::optional<StoreProblem> problem = std::nullopt) {
    OpenedProgressStore opened{std::make_unique<MemoryProgressStore>(), problem, {}};
    if (problem) opened.Store->Problems().Post(*problem);
    return opened;
  }
  // A wrong answer is asked again: that one is cancelled.
  void Answer(int column, int row, const QString& typed) {
    dialogs_.Answer(typed);
    if (typed != Right(column, row)) dialogs_.Answer(std::nullopt);
    form_.AnswerTask(*form_.Task(column, row));
  }
  // The message boxes shown (not the answers' input dialogs).
  std::vector<zelv::ScriptedDialogs::Shown> Messages() const {
    std::vector<zelv::ScriptedDialogs::Shown> messages;
    for (const auto& shown : dialogs_.History()) {
      if (!shown.IsInput && !shown.IsFile) messages.push_back(shown);
    }
    return messages;
  }
  QString Right(int column, int row) const {
    return QString::number(static_cast<long long>(std::trunc(form_.Task(column, row)->Expected)));
  }

  zelv::ScriptedDialogs dialogs_;
  TForm1 form_{dialogs_, nullptr, 4711};
};

TEST_F(ProgressSessionTest, OneChildNamedAfterTheLoginIsNeverAsked) {
  ProgressSession session(form_, dialogs_, Memory());
  ASSERT_EQ(session.Store().Profiles()->size(), 1u);
  const QString login = CleanProfileName(zelv::GetLogonUserName());
  EXPECT_EQ(session.ProfileName(), login.isEmpty() ? QStringLiteral("Kind") : login);
  EXPECT_EQ(*session.Store().LastProfile(), session.Profile());
  bool asked = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      asked = true;
      modal->close();
    }
  });
  session.StartUp();
  QApplication::processEvents();
  EXPECT_FALSE(asked);
  EXPECT_TRUE(dialogs_.History().empty());
}

TEST_F(ProgressSessionTest, TheWindowsAnswersReachTheStore) {
  ProgressSession session(form_, dialogs_, Memory());
  const QString right = Right(0, 0);
  const QString wrong = QString::number(right.toLongLong() + 1);
  Answer(0, 0, wrong);
  Answer(0, 0, right);
  form_.New1Click();
  std::vector<StoredTask> tasks;
  session.Store().ForEachTask(session.Profile(), 0, kEver,
                              [&](const StoredTask& t) { tasks.push_back(t); });
  ASSERT_EQ(tasks.size(), 30u);
  EXPECT_EQ(tasks[0].Answers, (QStringList{wrong, right}));
  EXPECT_EQ(tasks[0].WrongAnswers, 1);
  EXPECT_TRUE(tasks[0].Solved);
  const std::vector<StoredRound> rounds = *session.Store().Rounds(session.Profile(), 0, kEver);
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].State, RoundState::Abandoned);
  EXPECT_EQ(rounds[0].Counts.Errors, 1);
  EXPECT_EQ(rounds[0].Counts.Solved, 1);
}

TEST_F(ProgressSessionTest, PracticeOfMissedTasksFromTheOptionsMenu) {
  ProgressSession session(form_, dialogs_, Memory());
  const QList<QAction*> items = form_.OptionsMenu->actions();
  const auto practice = std::find(items.begin(), items.end(), session.PracticeAction);
  ASSERT_NE(practice, items.end());
  EXPECT_EQ(*(practice + 1), form_.Historie1);
  EXPECT_EQ(session.PracticeAction->text(), QStringLiteral("&Fehler üben"));

  // Nothing missed yet: a friendly message, the round goes on.
  session.PracticeAction->trigger();
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Icon, zelv::DialogIcon::Information);
  EXPECT_EQ(form_.Game().Rounds().size(), 1u);

  const std::string missed = form_.Game().Task(2, 1).Text;
  Answer(2, 1, QStringLiteral("99999"));
  session.PracticeAction->trigger();
  EXPECT_EQ(form_.Game().Rounds().size(), 2u);
  EXPECT_TRUE(form_.Game().CurrentRoundIsPractice());
  EXPECT_EQ(form_.Game().Task(0, 0).Text, missed);
  EXPECT_FALSE(form_.Task(0, 0)->isHidden());
  EXPECT_EQ(form_.Task(0, 0)->text().toStdString(), missed);
}

TEST_F(ProgressSessionTest, StoreProblemsAreShownOnceAsAWarning) {
  const StoreProblem problem{StoreEvent::SetAside,
                             {StoreErrorKind::Unreadable, QStringLiteral("invalid page number")},
                             QStringLiteral("/home/kind/progress.sqlite.unreadable-1"),
                             0};
  ProgressSession session(form_, dialogs_, Memory(problem));
  session.StartUp();
  session.ShowOpeningProblem();
  QApplication::processEvents();
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Text, StoreProblemText(problem));
  EXPECT_TRUE(dialogs_.History()[0].Text.contains(QStringLiteral("beiseitegelegt")));
  EXPECT_EQ(dialogs_.History()[0].Icon, zelv::DialogIcon::Warning);
  EXPECT_TRUE(form_.StoreSignText().isEmpty());  // saving goes on in the new file
}

// The store fails while the child answers: nothing is shown from inside the
// answer; afterwards one message says what happened, and the main window
// shows that nothing is saved for as long as it lasts.
TEST_F(ProgressSessionTest, AFailingStoreIsShownAfterTheAnswerAndSignedUntilItWorks) {
  OpenedProgressStore opened = Memory();
  auto& store = dynamic_cast<MemoryProgressStore&>(*opened.Store);
  ProgressSession session(form_, dialogs_, std::move(opened));
  session.StartUp();
  store.FailWith(StoreError{StoreErrorKind::FolderNotWritable, QStringLiteral("/home/kind")});
  Answer(0, 0, Right(0, 0));
  EXPECT_TRUE(Messages().empty());  // not from inside the answer
  QApplication::processEvents();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].Text.contains(QStringLiteral("nicht beschreibbar")))
      << Messages()[0].Text.toStdString();
  EXPECT_FALSE(Messages()[0].Text.contains(QStringLiteral("beschädigt")));
  EXPECT_EQ(form_.StoreSignText(), NotSavingSignText());
  Answer(1, 0, Right(1, 0));
  QApplication::processEvents();
  EXPECT_EQ(Messages().size(), 1u);  // once, not at every answer

  store.FailWith(std::nullopt);
  Answer(2, 0, Right(2, 0));
  QApplication::processEvents();
  EXPECT_TRUE(form_.StoreSignText().isEmpty());
  std::vector<StoredTask> tasks;
  (void)session.Store().ForEachTask(session.Profile(), 0, kEver,
                                    [&](const StoredTask& t) { tasks.push_back(t); });
  ASSERT_EQ(tasks.size(), 15u);
  for (int slot = 0; slot < 3; ++slot) EXPECT_TRUE(tasks[slot].Solved) << slot;
}

// A file that could not be opened: the sign stays for the whole run.
TEST_F(ProgressSessionTest, AStoreThatNeverSavesIsSignedFromTheStart) {
  ProgressSession session(
      form_, dialogs_,
      Memory(StoreProblem{StoreEvent::NotOpened,
                          {StoreErrorKind::NewerVersion, QStringLiteral("schema 9")},
                          QStringLiteral("/home/kind/progress.sqlite"),
                          0}));
  session.StartUp();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].Text.contains(QStringLiteral("neueren Numora-Version")));
  EXPECT_EQ(form_.StoreSignText(), NotSavingSignText());
}

// Another running copy deleted the child practising: this copy says so and
// goes on with a remaining child.
TEST_F(ProgressSessionTest, AChildDeletedByAnotherCopyIsFollowedByARemainingOne) {
  ProgressSession session(form_, dialogs_, Memory());
  const ProfileId first = session.Profile();
  session.StartUp();  // one child: nobody is asked
  const ProfileId ben = *session.Store().AddProfile(QStringLiteral("Ben"));
  QApplication::processEvents();
  dialogs_.ClearHistory();
  ASSERT_TRUE(session.Store().DeleteProfile(first));  // as the other copy does
  Answer(0, 0, Right(0, 0));
  QApplication::processEvents();
  EXPECT_EQ(session.Profile(), ben);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].Text.contains(QStringLiteral("„Ben“")))
      << Messages()[0].Text.toStdString();
  Answer(1, 1, Right(1, 1));
  EXPECT_EQ(session.Store().Rounds(ben, 0, kEver)->size(), 1u);
  EXPECT_TRUE(session.Store().Rounds(first, 0, kEver)->empty());
}

TEST_F(ProgressSessionTest, ChangingTheChildAbandonsTheRoundAndRecordsForTheNewOne) {
  ProgressSession session(form_, dialogs_, Memory());
  const ProfileId first = session.Profile();
  const ProfileId ben = *session.Store().AddProfile(QStringLiteral("Ben"));
  Answer(0, 0, Right(0, 0));
  session.SwitchProfile(ben);
  EXPECT_EQ(session.Profile(), ben);
  EXPECT_EQ(*session.Store().LastProfile(), ben);
  Answer(1, 1, Right(1, 1));
  const std::vector<StoredRound> old = *session.Store().Rounds(first, 0, kEver);
  ASSERT_EQ(old.size(), 1u);
  EXPECT_EQ(old[0].State, RoundState::Abandoned);
  EXPECT_EQ(old[0].Counts.Solved, 1);
  const std::vector<StoredRound> now = *session.Store().Rounds(ben, 0, kEver);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0].Counts.Solved, 1);
  // Ben's run of his own: his round is round 1 and his totals his alone.
  EXPECT_EQ(form_.Game().Rounds().size(), 1u);
  EXPECT_EQ(form_.Game().Totals().Solved, 1);
}

// Who practises: the main window names the child; each child plays a run of
// its own at the level of its last round, also at the next start; a child
// new to numora starts at "mittel"; a rename shows at once.
TEST_F(ProgressSessionTest, EachChildPlaysItsOwnRunAtItsLastLevel) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("progress.sqlite"));
  ProfileId anna = 0;
  ProfileId ben = 0;
  {
    ProgressSession session(form_, dialogs_, OpenProgressStore(path));
    anna = session.Profile();
    ASSERT_TRUE(session.Store().RenameProfile(anna, QStringLiteral("Anna")));
    session.FollowProfileChoice(std::nullopt);  // the dialog closed after the rename
    EXPECT_EQ(form_.windowTitle(), ApplicationTitle() + QStringLiteral(" – Anna"));
    ben = *session.Store().AddProfile(QStringLiteral("Ben"));
    form_.ChooseLevel(2);
    Answer(0, 0, Right(0, 0));
    form_.Clock().start();
    form_.Timer1Timer();
    ASSERT_EQ(form_.StatusBar3->CellText(1), QStringLiteral("5"));

    session.SwitchProfile(ben);
    EXPECT_EQ(form_.windowTitle(), ApplicationTitle() + QStringLiteral(" – Ben"));
    EXPECT_EQ(form_.accessibleDescription(), QStringLiteral("Es übt: Ben"));
    EXPECT_EQ(form_.RoundCellText(), QStringLiteral("1. Runde: mittel"));
    EXPECT_EQ(form_.StatusBar3->CellText(1), QStringLiteral("0"));
    EXPECT_EQ(form_.Game().Totals().Points, 0);
    form_.ChooseLevel(0);

    session.SwitchProfile(anna);
    EXPECT_EQ(form_.windowTitle(), ApplicationTitle() + QStringLiteral(" – Anna"));
    EXPECT_EQ(form_.RoundCellText(), QStringLiteral("1. Runde: schwer"));
    EXPECT_EQ(form_.Game().Totals().Points, 0);
    form_.Clock().stop();
  }
  // The next start: the last child at the level of her last round, and Ben
  // at his when he comes.
  TForm1 next(dialogs_, nullptr, 4712);
  ProgressSession again(next, dialogs_, OpenProgressStore(path));
  EXPECT_EQ(again.Profile(), anna);
  EXPECT_EQ(next.RoundCellText(), QStringLiteral("1. Runde: schwer"));
  EXPECT_EQ(next.windowTitle(), ApplicationTitle() + QStringLiteral(" – Anna"));
  again.SwitchProfile(ben);
  EXPECT_EQ(next.RoundCellText(), QStringLiteral("1. Runde: leicht"));
}

TEST_F(ProgressSessionTest, ChildAndExportCommandsInTheFileMenuBeforeQuit) {
  ProgressSession session(form_, dialogs_, Memory());
  const QList<QAction*> items = form_.FileMenu->actions();
  const auto child = std::find(items.begin(), items.end(), session.ProfileAction);
  ASSERT_NE(child, items.end());
  EXPECT_EQ(*(child + 1), session.ExportAction);
  EXPECT_TRUE((*(child + 2))->isSeparator());
  EXPECT_EQ(*(child + 3), form_.Exit1);
  EXPECT_EQ(session.ProfileAction->text(), QStringLiteral("&Kind wechseln …"));
  EXPECT_EQ(session.ExportAction->text(), QStringLiteral("E&xportieren …"));
  EXPECT_EQ(SharedMenuKeys(*form_.FileMenu), QString());
}

// With several children the start asks who practises (the last one
// preselected); the child picked there is recorded from then on.
TEST_F(ProgressSessionTest, SeveralChildrenAreAskedAtTheStart) {
  auto store = std::make_unique<MemoryProgressStore>();
  const ProfileId anna = *store->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store->AddProfile(QStringLiteral("Ben"));
  store->SetLastProfile(ben);
  ProgressSession session(form_, dialogs_, {std::move(store), {}, {}});
  EXPECT_EQ(session.Profile(), ben);
  std::optional<ProfileId> preselected;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ProfileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    preselected = dialog->Selected();
    dialog->Select(anna);
    dialog->accept();
  });
  session.StartUp();
  EXPECT_EQ(preselected, ben);
  EXPECT_EQ(session.Profile(), anna);
  EXPECT_EQ(*session.Store().LastProfile(), anna);
}

// The child practising is deleted in the dialog: the session records for
// another child from then on, without a false alarm about the store (the
// deleted child's open round went with it).
TEST_F(ProgressSessionTest, DeletingTheChildPractisingSwitchesToAnother) {
  QTemporaryDir dir;
  ProgressSession session(form_, dialogs_,
                          OpenProgressStore(dir.filePath(QStringLiteral("progress.sqlite"))));
  const ProfileId first = session.Profile();
  const ProfileId ben = *session.Store().AddProfile(QStringLiteral("Ben"));
  Answer(0, 0, Right(0, 0));
  ASSERT_TRUE(session.Store().DeleteProfile(first));
  session.FollowProfileChoice(std::nullopt);  // the dialog cancelled after the deletion
  EXPECT_EQ(session.Profile(), ben);
  Answer(1, 1, Right(1, 1));
  ASSERT_EQ(session.Store().Rounds(ben, 0, kEver)->size(), 1u);
  EXPECT_EQ((*session.Store().Rounds(ben, 0, kEver))[0].Counts.Solved, 1);
  for (const auto& shown : dialogs_.History()) {
    EXPECT_TRUE(shown.IsInput) << shown.Text.toStdString();  // the answers only, no message
  }

  // A cancelled dialog with the child still there changes nothing.
  const std::size_t rounds = form_.Game().Rounds().size();
  session.FollowProfileChoice(std::nullopt);
  EXPECT_EQ(session.Profile(), ben);
  EXPECT_EQ(form_.Game().Rounds().size(), rounds);
}

// The children and print dialogs answered by a script, as the message boxes
// are: no real dialog opens.
class ScriptedProgressDialogs final : public ProgressDialogs {
 public:
  std::optional<ProfileId> ChooseChild(QWidget* parent, ProgressStore&, zelv::UserDialogs&,
                                       ProfileId current) override {
    Asked.push_back({parent, current});
    return Choice;
  }
  bool SetUpPrinter(QWidget* parent, const QString& caption, QPrinter& printer) override {
    Captions << caption;
    Parents.push_back(parent);
    if (PdfFile.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PdfFile);
    return true;
  }

  std::optional<ProfileId> Choice;
  QString PdfFile;  // empty: the print dialog is cancelled
  std::vector<std::pair<QWidget*, ProfileId>> Asked;
  QStringList Captions;
  std::vector<QWidget*> Parents;
};

TEST_F(ProgressSessionTest, ChildrenAndPrinterAreChosenThroughTheInjectedDialogs) {
  auto store = std::make_unique<MemoryProgressStore>();
  const ProfileId anna = *store->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store->AddProfile(QStringLiteral("Ben"));
  store->SetLastProfile(ben);
  ScriptedProgressDialogs scripted;
  ProgressSession session(form_, dialogs_, {std::move(store), {}, {}}, &scripted);
  bool realDialog = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    realDialog = realDialog || QApplication::activeModalWidget() != nullptr;
  });
  watch.start(5);

  // At the start, two children: asked, with the last one preselected.
  scripted.Choice = anna;
  session.StartUp();
  ASSERT_EQ(scripted.Asked.size(), 1u);
  EXPECT_EQ(scripted.Asked[0], (std::pair<QWidget*, ProfileId>{&form_, ben}));
  EXPECT_EQ(session.Profile(), anna);
  // Cancelled: Anna goes on.
  scripted.Choice.reset();
  session.ProfileAction->trigger();
  EXPECT_EQ(scripted.Asked.size(), 2u);
  EXPECT_EQ(session.Profile(), anna);

  // The print dialog cancelled, then a PDF file chosen in it.
  session.PrintAction->trigger();
  QTemporaryDir dir;
  scripted.PdfFile = dir.filePath(QStringLiteral("bericht.pdf"));
  session.PrintAction->trigger();
  EXPECT_EQ(scripted.Captions, QStringList({QStringLiteral("Fortschritt drucken"),
                                            QStringLiteral("Fortschritt drucken")}));
  EXPECT_EQ(scripted.Parents[0], &form_);
  QFile pdf(scripted.PdfFile);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
  // From the open progress window, the window is the print dialog's parent.
  session.ShowProgress();
  session.PrintAction->trigger();
  EXPECT_EQ(scripted.Parents.back(), &session.Window());
  session.Window().close();
  QApplication::processEvents();
  EXPECT_FALSE(realDialog);
  EXPECT_TRUE(dialogs_.History().empty());
}

class ProgressExportTest : public ProgressSessionTest {
 protected:
  ProgressExportTest() {
    auto store = std::make_unique<MemoryProgressStore>();
    anna_ = *store->AddProfile(QString::fromUtf8("Änne %1/\u202Etxt.exe"));
    ben_ = *store->AddProfile(QStringLiteral("Ben"));
    store->SetLastProfile(anna_);
    session_ = std::make_unique<ProgressSession>(form_, dialogs_,
                                                 OpenedProgressStore{std::move(store), {}, {}});
    session_->SwitchProfile(ben_);  // a round of Ben's too
    session_->SwitchProfile(anna_);
  }
  QStringList Rows(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  QTemporaryDir dir_;
  ProfileId anna_ = 0;
  ProfileId ben_ = 0;
  std::unique_ptr<ProgressSession> session_;
};

TEST_F(ProgressExportTest, TheChildPractisingOrAllChildren) {
  struct Case {
    DialogButton which;
    int rows;  // header and 15 tasks a round
  };
  // Anna: the round at the start and the one after switching back; Ben: one.
  const Case cases[] = {{DialogButton::Yes, 1 + 30}, {DialogButton::No, 1 + 45}};
  for (const Case& c : cases) {
    const QString path = dir_.filePath(QStringLiteral("export %1.csv").arg(c.rows));
    dialogs_.ClearHistory();
    dialogs_.Press(c.which);
    dialogs_.ChooseFile(path);
    session_->ExportAction->trigger();
    ASSERT_EQ(dialogs_.History().size(), 3u);
    EXPECT_EQ(dialogs_.History()[0].Icon, zelv::DialogIcon::Question);
    EXPECT_TRUE(dialogs_.History()[0].Text.contains(
        QuotedName(QString::fromUtf8("Änne %1/\u202Etxt.exe"))));
    EXPECT_TRUE(dialogs_.History()[0].Text.contains(QStringLiteral("allen 2 Kindern")));
    EXPECT_TRUE(dialogs_.History()[1].IsFile);
    EXPECT_EQ(dialogs_.History()[2].Icon, zelv::DialogIcon::Information);
    EXPECT_TRUE(dialogs_.History()[2].Text.contains(path));
    const QStringList rows = Rows(path);
    EXPECT_EQ(rows.size(), c.rows);
    EXPECT_TRUE(rows[1].startsWith(QString::fromUtf8("\"Änne %1/\u202Etxt.exe\";")));
  }
}

// The proposed file name carries the child's name, but nothing in it can
// make a folder, hide behind a direction mark or start with a dot.
TEST_F(ProgressExportTest, TheProposedFileNameIsSafe) {
  dialogs_.Press(DialogButton::Yes);
  session_->ExportAction->trigger();  // the file dialog cancelled
  ASSERT_EQ(dialogs_.History().size(), 2u);
  const QString preset = dialogs_.History()[1].Preset;
  const QString file = preset.mid(preset.lastIndexOf(u'/') + 1);
  EXPECT_TRUE(QFileInfo(QFileInfo(preset).path()).isDir()) << preset.toStdString();
  EXPECT_TRUE(file.startsWith(QString::fromUtf8("Numora Änne %1__txt.exe "))) << file.toStdString();
  EXPECT_TRUE(file.endsWith(QStringLiteral(".csv")));
  EXPECT_EQ(dialogs_.History()[1].Text, QStringLiteral("CSV-Dateien (*.csv)"));

  dialogs_.ClearHistory();
  dialogs_.Press(DialogButton::No);
  session_->ExportAction->trigger();
  EXPECT_TRUE(dialogs_.History()[1].Preset.contains(QStringLiteral("Numora alle Kinder ")));

  dialogs_.ClearHistory();
  dialogs_.Press(DialogButton::Cancel);
  session_->ExportAction->trigger();
  EXPECT_EQ(dialogs_.History().size(), 1u);  // no file dialog
}

TEST_F(ProgressExportTest, AFileThatCannotBeWrittenIsSaidSo) {
  const QString path = dir_.filePath(QStringLiteral("no such folder/a.csv"));
  dialogs_.Press(DialogButton::Yes);
  dialogs_.ChooseFile(path);
  session_->ExportAction->trigger();
  ASSERT_EQ(dialogs_.History().size(), 3u);
  EXPECT_EQ(dialogs_.History()[2].Icon, zelv::DialogIcon::Warning);
  EXPECT_TRUE(dialogs_.History()[2].Text.contains(path))
      << dialogs_.History()[2].Text.toStdString();
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ProgressSessionTest, OneChildIsExportedWithoutTheQuestionWhichChildren) {
  ProgressSession session(form_, dialogs_, Memory());
  QTemporaryDir dir;
  dialogs_.ChooseFile(dir.filePath(QStringLiteral("a.csv")));
  session.ExportAction->trigger();
  ASSERT_EQ(dialogs_.History().size(), 2u);
  EXPECT_TRUE(dialogs_.History()[0].IsFile);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("a.csv"))));
}

}  // namespace
}  // namespace numora
