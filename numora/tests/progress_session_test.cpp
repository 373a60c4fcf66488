// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store inside the running program: the main window played like
// a child would, with the in-memory store behind it.
#include "progress_session.h"

#include <QAction>
#include <QMenu>
#include <cmath>
#include <limits>

#include "main_window.h"
#include "memory_progress_store.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/user_names.h"

namespace numora {
namespace {

constexpr StoreTime kEver = std::numeric_limits<StoreTime>::max();

class ProgressSessionTest : public ::testing::Test {
 protected:
  static OpenedProgressStore Memory(QString problem = {}) {
    return {std::make_unique<MemoryProgressStore>(), std::move(problem), {}};
  }
  // A wrong answer is asked again: that one is cancelled.
  void Answer(int column, int row, const QString& typed) {
    dialogs_.Answer(typed);
    if (typed != Right(column, row)) dialogs_.Answer(std::nullopt);
    form_.AnswerTask(*form_.Task(column, row));
  }
  QString Right(int column, int row) const {
    return QString::number(static_cast<long long>(std::trunc(form_.Task(column, row)->Expected)));
  }

  zelv::ScriptedDialogs dialogs_;
  TForm1 form_{dialogs_, nullptr, 4711};
};

TEST_F(ProgressSessionTest, OneChildNamedAfterTheLoginIsNeverAsked) {
  ProgressSession session(form_, dialogs_, Memory());
  ASSERT_EQ(session.Store().Profiles().size(), 1u);
  const QString login = CleanProfileName(zelv::GetLogonUserName());
  EXPECT_EQ(session.ProfileName(), login.isEmpty() ? QStringLiteral("Kind") : login);
  EXPECT_EQ(session.Store().LastProfile(), session.Profile());
  session.ShowOpeningProblem();
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
  const std::vector<StoredRound> rounds = session.Store().Rounds(session.Profile(), 0, kEver);
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
  ProgressSession session(form_, dialogs_, Memory(QStringLiteral("Datei beiseitegelegt")));
  session.ShowOpeningProblem();
  session.ShowOpeningProblem();
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Text, QStringLiteral("Datei beiseitegelegt"));
  EXPECT_EQ(dialogs_.History()[0].Icon, zelv::DialogIcon::Warning);
}

TEST_F(ProgressSessionTest, ChangingTheChildAbandonsTheRoundAndRecordsForTheNewOne) {
  ProgressSession session(form_, dialogs_, Memory());
  const ProfileId first = session.Profile();
  const ProfileId ben = *session.Store().AddProfile(QStringLiteral("Ben"));
  Answer(0, 0, Right(0, 0));
  session.SwitchProfile(ben);
  EXPECT_EQ(session.Profile(), ben);
  EXPECT_EQ(session.Store().LastProfile(), ben);
  Answer(1, 1, Right(1, 1));
  const std::vector<StoredRound> old = session.Store().Rounds(first, 0, kEver);
  ASSERT_EQ(old.size(), 1u);
  EXPECT_EQ(old[0].State, RoundState::Abandoned);
  EXPECT_EQ(old[0].Counts.Solved, 1);
  const std::vector<StoredRound> now = session.Store().Rounds(ben, 0, kEver);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0].Counts.Solved, 1);
  EXPECT_EQ(form_.Game().Rounds().size(), 2u);
}

}  // namespace
}  // namespace numora
