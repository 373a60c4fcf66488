// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Kind wechseln …": picking, adding, renaming and deleting children, with
// the questions answered by a script and hostile names typed in.
#include "profile_dialog.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "memory_progress_store.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scripted_dialogs.h"

namespace numora {
namespace {

using zelv::DialogButton;

class ProfileDialogTest : public ::testing::Test {
 protected:
  ProfileDialogTest() {
    anna_ = *store_.AddProfile(QStringLiteral("Anna"));
    ben_ = *store_.AddProfile(QStringLiteral("Ben"));
  }
  QStringList Names() {
    QStringList names;
    for (const ProfileInfo& p : *store_.Profiles()) names << p.Name;
    return names;
  }
  static QStringList Listed(const ProfileDialog& dialog) {
    QStringList names;
    for (int row = 0; row < dialog.Children->count(); ++row) {
      names << dialog.Children->item(row)->text();
    }
    return names;
  }
  // A round of Ben's with solved tasks, for the deletion's question.
  void BenPlayed(int solved) {
    const RoundId round = *store_.StartRound({ben_, 1000, 1, false, {{0, "1+1", 2}}});
    TGameParams counts;
    counts.Solved = solved;
    store_.EndRound(round, {RoundState::Finished, 0, counts});
  }

  MemoryProgressStore store_;
  zelv::ScriptedDialogs dialogs_;
  ProfileId anna_ = 0;
  ProfileId ben_ = 0;
};

// Long names at every zoom: broken onto more lines at blanks, never wider
// than the list, the whole name in the tooltip.
TEST_F(ProfileDialogTest, LongNamesWrapOrShowWholeInTheTooltip) {
  const QString blanks = QStringLiteral("Maximiliane Alexandra Friederike von Hohenzollern-Sigm");
  const QString word = QStringLiteral("Kleopatradoraxantheaberenikeleonorafriederike");
  ASSERT_TRUE(store_.RenameProfile(anna_, blanks));
  ASSERT_TRUE(store_.RenameProfile(ben_, word));
  const QFont normal = QApplication::font();
  for (const int zoom : {1, 2, 3}) {
    SCOPED_TRACE(zoom);
    QFont font = normal;
    font.setPixelSize(15 * zoom);
    QApplication::setFont(font);
    ProfileDialog dialog(store_, dialogs_, anna_);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QListWidget& list = *dialog.Children;
    const QFontMetrics metrics(list.font());
    EXPECT_EQ(metrics.height(), QFontMetrics(font).height());
    EXPECT_GE(list.viewport()->width(), metrics.averageCharWidth() * 20);
    for (int row = 0; row < list.count(); ++row) {
      const QListWidgetItem* item = list.item(row);
      EXPECT_EQ(item->toolTip(), item->text());
      const QRect rect = list.visualItemRect(item);
      EXPECT_LE(rect.right(), list.viewport()->width());
      if (item->text() == blanks) {
        // At least as many lines as the name needs at the item's width.
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, rect.width(), 100000), Qt::TextWordWrap, blanks);
        EXPECT_GE(rect.height(), needed.height()) << rect.width();
      }
    }
  }
  QApplication::setFont(normal);
}

TEST_F(ProfileDialogTest, ListsTheChildrenWithTheOnePractisingSelected) {
  ProfileDialog dialog(store_, dialogs_, ben_);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kind wechseln"));
  EXPECT_EQ(Listed(dialog), (QStringList{"Anna", "Ben"}));
  EXPECT_EQ(dialog.Selected(), ben_);
  dialog.Select(anna_);
  EXPECT_EQ(dialog.Selected(), anna_);
  EXPECT_EQ(dialog.Children->accessibleName(), QStringLiteral("Kinder"));
  EXPECT_TRUE(dialog.DeleteButton->isEnabled());
  EXPECT_TRUE(dialogs_.History().empty());
}

// Typed names as a child or a prankster might type them; what is kept is
// the cleaned name, and every refusal says why and asks again.
TEST_F(ProfileDialogTest, AddingCleansHostileNamesAndRefusesTakenOrEmptyOnes) {
  struct Case {
    QString typed;
    QString kept;  // empty: refused with a message, asked again
  };
  const Case cases[] = {
      {QString(), QString()},
      {QStringLiteral(" \t "), QString()},
      {QStringLiteral(" Clara"), QStringLiteral("Clara")},
      {QStringLiteral("Ben "), QString()},  // taken
      {QStringLiteral("ANNA"), QString()},  // taken in other case
      {QStringLiteral("O'Brien \"Bob\"; DROP TABLE profiles;--"),
       QStringLiteral("O'Brien \"Bob\"; DROP TABLE profiles;--")},
      {QStringLiteral("Li\x01na\x7f\r\n"), QStringLiteral("Lina")},
      {QString::fromUtf8("\u05D3\u05E0\u05D4 \u202Eevil"),
       QString::fromUtf8("\u05D3\u05E0\u05D4 \u202Eevil")},
      {QString(10000, u'x'), QString(kProfileNameMax, u'x')},
  };
  ProfileDialog dialog(store_, dialogs_, anna_);
  QStringList expected = Names();
  for (const Case& c : cases) {
    dialogs_.ClearHistory();
    dialogs_.Answer(c.typed);
    // After a refusal the question comes again: cancelled here.
    if (c.kept.isEmpty()) dialogs_.Answer(std::nullopt);
    dialog.AddChild();
    const std::string what = c.typed.left(30).toStdString();
    ASSERT_FALSE(dialogs_.History().empty()) << what;
    EXPECT_TRUE(dialogs_.History()[0].IsInput) << what;
    if (c.kept.isEmpty()) {
      ASSERT_EQ(dialogs_.History().size(), 3u) << what;
      EXPECT_FALSE(dialogs_.History()[1].IsInput) << what;
      EXPECT_TRUE(dialogs_.History()[2].IsInput) << what;
    } else {
      expected << c.kept;
      EXPECT_EQ(dialogs_.History().size(), 1u) << what;
      EXPECT_EQ(Listed(dialog).last(), c.kept) << what;
      EXPECT_EQ(dialog.Children->currentItem()->text(), c.kept) << what;
    }
    EXPECT_TRUE(dialogs_.ScriptUsedUp()) << what;
    EXPECT_EQ(Names(), expected) << what;
  }
}

TEST_F(ProfileDialogTest, TheNameInAMessageCannotTurnTheSentenceAround) {
  store_.AddProfile(QString::fromUtf8("\u202Eabc"));
  ProfileDialog dialog(store_, dialogs_, anna_);
  dialogs_.Answer(QString::fromUtf8("\u202Eabc"));
  dialog.AddChild();
  ASSERT_EQ(dialogs_.History().size(), 3u);
  EXPECT_TRUE(dialogs_.History()[1].Text.contains(QString::fromUtf8("„\u2068\u202Eabc\u2069“")));
}

TEST_F(ProfileDialogTest, RenamingKeepsTheChildAndRefusesAnotherChildsName) {
  ProfileDialog dialog(store_, dialogs_, ben_);
  dialogs_.Answer(QStringLiteral("Anna"));
  dialogs_.Answer(QStringLiteral("Benjamin"));
  dialog.RenameChild();
  ASSERT_EQ(dialogs_.History().size(), 3u);
  EXPECT_EQ(dialogs_.History()[0].Preset, QStringLiteral("Ben"));
  EXPECT_TRUE(dialogs_.History()[1].Text.contains(QStringLiteral("Anna")));
  EXPECT_EQ(dialogs_.History()[2].Preset, QStringLiteral("Anna"));  // the typed name to correct
  EXPECT_EQ(Names(), (QStringList{"Anna", "Benjamin"}));
  EXPECT_EQ(dialog.Selected(), ben_);
  EXPECT_EQ(Listed(dialog), (QStringList{"Anna", "Benjamin"}));

  // Its own name, in other case or unchanged: allowed, nothing to say.
  dialogs_.ClearHistory();
  dialogs_.Answer(QStringLiteral("Benjamin"));
  dialog.RenameChild();
  EXPECT_EQ(dialogs_.History().size(), 1u);
  dialogs_.Answer(QStringLiteral("BENJAMIN"));
  dialog.RenameChild();
  EXPECT_EQ(Names(), (QStringList{"Anna", "BENJAMIN"}));
  EXPECT_TRUE(dialogs_.ScriptUsedUp());
}

TEST_F(ProfileDialogTest, DeletingNamesWhatIsLostAndNeedsAYes) {
  BenPlayed(12);
  BenPlayed(3);
  ProfileDialog dialog(store_, dialogs_, ben_);
  dialog.DeleteChild();  // unscripted: the first button, "Nein"
  ASSERT_EQ(dialogs_.History().size(), 1u);
  const QString question = dialogs_.History()[0].Text;
  EXPECT_TRUE(question.contains(QStringLiteral("Ben"))) << question.toStdString();
  EXPECT_TRUE(question.contains(QStringLiteral("2 Runden"))) << question.toStdString();
  EXPECT_TRUE(question.contains(QStringLiteral("15 gelösten Aufgaben"))) << question.toStdString();
  EXPECT_EQ(dialogs_.History()[0].Icon, zelv::DialogIcon::Warning);
  EXPECT_EQ(Names(), (QStringList{"Anna", "Ben"}));

  dialogs_.Press(DialogButton::Yes);
  dialog.DeleteChild();
  EXPECT_EQ(Names(), (QStringList{"Anna"}));
  EXPECT_TRUE(store_.Rounds(ben_, 0, 1LL << 62)->empty());
  EXPECT_EQ(Listed(dialog), (QStringList{"Anna"}));
  EXPECT_EQ(dialog.Selected(), anna_);

  // The last child stays: no button, no question.
  EXPECT_FALSE(dialog.DeleteButton->isEnabled());
  dialogs_.ClearHistory();
  dialog.DeleteChild();
  EXPECT_TRUE(dialogs_.History().empty());
  EXPECT_EQ(Names(), (QStringList{"Anna"}));
}

TEST_F(ProfileDialogTest, TheQuestionCountsInTheSingularAndSaysWhenNothingIsStored) {
  ProfileDialog dialog(store_, dialogs_, ben_);
  dialog.DeleteChild();
  BenPlayed(1);
  dialog.DeleteChild();
  ASSERT_EQ(dialogs_.History().size(), 2u);
  EXPECT_TRUE(dialogs_.History()[0].Text.contains(QStringLiteral("noch nichts gespeichert")))
      << dialogs_.History()[0].Text.toStdString();
  EXPECT_TRUE(dialogs_.History()[1].Text.contains(QStringLiteral("1 Runde mit 1 gelösten Aufgabe")))
      << dialogs_.History()[1].Text.toStdString();
}

TEST_F(ProfileDialogTest, TheKeyboardAlone) {
  ProfileDialog dialog(store_, dialogs_, anna_);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.Children->setFocus();
  QTest::keyClick(dialog.Children, Qt::Key_Down);
  EXPECT_EQ(dialog.Selected(), ben_);

  const struct {
    Qt::Key key;
    QString caption;
  } commands[] = {{Qt::Key_Insert, QStringLiteral("Neues Kind")},
                  {Qt::Key_F2, QStringLiteral("Kind umbenennen")},
                  {Qt::Key_Delete, QStringLiteral("Kind löschen")}};
  for (const auto& c : commands) {
    dialogs_.ClearHistory();
    QTest::keyClick(dialog.Children, c.key);
    ASSERT_EQ(dialogs_.History().size(), 1u) << c.caption.toStdString();
    EXPECT_EQ(dialogs_.History()[0].Caption, c.caption);
  }
  QTest::keyClick(dialog.Children, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Selected(), ben_);
  EXPECT_EQ(Names(), (QStringList{"Anna", "Ben"}));
}

}  // namespace
}  // namespace numora
