// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCollator>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPropertyAnimation>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "picture_library.h"
#include "word_speaker.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/scale.h"
#include "zelvlib/scripted_dialogs.h"
#include "zelvlib/translations.h"

namespace {

using bildwort::Language;
using bildwort::ReadingGame;
using bildwort::TForm1;
using bildwort::TPictureCell;
using zelv::DialogButton;
using zelv::DialogIcon;

const QString kBravo =
    QStringLiteral("Bravo! Du hast alles geschafft!\r\nWillst Du noch einmal spielen ?");

// Picture n is filled with a colour whose red part is n (1 .. 255), so a test
// can tell which picture a cell shows.
QImage PictureNumbered(int n, QSize size = QSize(64, 64)) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(QColor(n % 256, 0x40, 0x80));
  return picture;
}

// A picture library in memory that records what the window asks of it.
class FakeLibrary final : public bildwort::PictureLibrary {
 public:
  bool Loadable = true;
  // Why it cannot be loaded, when it is damaged.
  std::optional<bildwort::LibraryDamage> Damaged;
  std::optional<QByteArray> WordList;
  std::map<int, QImage> Pictures;

  int Loads = 0;
  int Releases = 0;
  int WordListReads = 0;
  std::set<int> PicturesRead;
  int HelpCalls = 0;
  int AboutCalls = 0;
  bool AboutIconGiven = false;

  // `count` lines "Wort<n>;word<n>:" with picture n each.
  static FakeLibrary WithWords(int count) {
    FakeLibrary library;
    QByteArray text;
    for (int n = 1; n <= count; ++n) {
      text += QStringLiteral("Wort%1;word%1:\r\n").arg(n).toLatin1();
      library.Pictures[n] = PictureNumbered(n);
    }
    library.WordList = text;
    return library;
  }

  bool Load() override {
    ++Loads;
    return Loadable;
  }
  std::optional<bildwort::LibraryDamage> Damage() const override { return Damaged; }
  void Release() override { ++Releases; }
  void ShowAbout(const QIcon& icon) override {
    ++AboutCalls;
    AboutIconGiven = !icon.isNull();
  }
  void Hilfe() override { ++HelpCalls; }
  std::optional<QByteArray> ReadWordList() override {
    ++WordListReads;
    return WordList;
  }
  QImage ReadPicture(int id) override {
    PicturesRead.insert(id);
    const auto found = Pictures.find(id);
    return found == Pictures.end() ? QImage() : found->second;
  }
  QString FileName() const override { return QStringLiteral("libzelvpics.so"); }
  QStringList SearchedFolders() const override {
    return {QStringLiteral("/opt/bildwort"), QStringLiteral("/home/kind/lib")};
  }

  // A library whose lines are the given Windows-1252 lines, each with a
  // numbered picture.
  static FakeLibrary WithLines(const std::vector<QByteArray>& lines) {
    FakeLibrary library;
    QByteArray text;
    for (size_t n = 1; n <= lines.size(); ++n) {
      text += lines[n - 1] + "\r\n";
      library.Pictures[static_cast<int>(n)] = PictureNumbered(static_cast<int>(n));
    }
    library.WordList = text;
    return library;
  }
};

// Records what the window asks to be spoken.
class RecordingSpeaker final : public bildwort::WordSpeaker {
 public:
  std::vector<std::pair<QString, QLocale>> Spoken;
  int Prepared = 0;
  void Speak(const QString& word, const QLocale& locale) override {
    Spoken.emplace_back(word, locale);
  }
  void Prepare() override { ++Prepared; }
  QStringList Words() const {
    QStringList words;
    for (const auto& [word, locale] : Spoken) words << word;
    return words;
  }
};

int PictureNumberOf(const TPictureCell* cell) {
  const QPixmap pixmap = cell->pixmap();
  if (pixmap.isNull()) return 0;
  return qRed(pixmap.toImage().pixel(0, 0));
}

// The list entries as (text, attached index).
std::vector<std::pair<QString, int>> Entries(const QListWidget* list) {
  std::vector<std::pair<QString, int>> entries;
  for (int row = 0; row < list->count(); ++row) {
    entries.emplace_back(list->item(row)->text(), list->item(row)->data(Qt::UserRole).toInt());
  }
  return entries;
}

QListWidgetItem* EntryFor(const QListWidget* list, int index) {
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->data(Qt::UserRole).toInt() == index) return list->item(row);
  }
  return nullptr;
}

// Presses a cell with the mouse, then picks the entry attached to `index`
// with the mouse.
void Pick(TForm1& form, int cellIndex, int entryIndex) {
  TPictureCell* cell = form.Cell(cellIndex);
  ASSERT_NE(cell, nullptr);
  QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(10, 20));
  QListWidgetItem* entry = EntryFor(form.Combobox1, entryIndex);
  ASSERT_NE(entry, nullptr);
  form.Combobox1->scrollToItem(entry);
  const QRect rect = form.Combobox1->visualItemRect(entry);
  QTest::mouseClick(form.Combobox1->viewport(), Qt::LeftButton, {}, rect.center());
}

int VisibleCells(const TForm1& form) {
  int visible = 0;
  for (const TPictureCell* cell : form.PictureCells) visible += cell && !cell->isHidden() ? 1 : 0;
  return visible;
}

class BildwortWindowTest : public ::testing::Test {
 protected:
  zelv::ScriptedDialogs dialogs_;
};

TEST_F(BildwortWindowTest, OpensWithItsCaptionGeometryMenuAndHiddenList) {
  FakeLibrary library = FakeLibrary::WithWords(120);
  TForm1 form(library, dialogs_, 1u);
  form.show();
  EXPECT_FALSE(form.Ended());
  EXPECT_EQ(form.windowTitle(), "Bildwort 2");
  EXPECT_EQ(form.pos(), QPoint(33, 34));
  EXPECT_EQ(form.width(), 858);
  EXPECT_GE(form.height(), 667);
  // The whole tenth row fits below the menu.
  EXPECT_GE(form.Board->height(), 10 * 65 - 1);
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_TRUE(form.Combobox1->isHidden());
  EXPECT_EQ(form.Combobox1->pos(), QPoint(152, 56));
  EXPECT_EQ(form.Combobox1->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_TRUE(dialogs_.History().empty());

  struct Item {
    QAction* action;
    const char* caption;
    QKeySequence shortcut;
  };
  const Item items[] = {
      {form.Datei1->menuAction(), "&Datei", {}},
      {form.Neu1, "&Neu", {}},
      {form.Beenden1, "&Beenden", {}},
      {form.Sprache1->menuAction(), "&Sprache", {}},
      {form.Deutsch1, "&Deutsch", {}},
      {form.English1, "&English", {}},
      {form.Hilfe1->menuAction(), "&Hilfe", {}},
      {form.Hilfe2, "Hilfe", QKeySequence(Qt::Key_F1)},
      {form.Info1, "&Info", {}},
  };
  for (const Item& item : items) {
    EXPECT_EQ(item.action->text(), item.caption);
    EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.caption;
  }
  EXPECT_TRUE(form.Deutsch1->isChecked());
  EXPECT_FALSE(form.English1->isChecked());
}

TEST_F(BildwortWindowTest, FillsTheBoardRowByRowAndLeavesTheRestEmpty) {
  for (int count : {1, 13, 120}) {
    SCOPED_TRACE(count);
    FakeLibrary library = FakeLibrary::WithWords(count);
    TForm1 form(library, dialogs_, 7u);
    for (int index = 0; index < 120; ++index) {
      TPictureCell* cell = form.Cell(index);
      if (index >= count) {
        EXPECT_EQ(cell, nullptr) << index;
        continue;
      }
      ASSERT_NE(cell, nullptr) << index;
      EXPECT_EQ(cell->geometry(), QRect((index % 12) * 65, (index / 12) * 65, 64, 64)) << index;
      EXPECT_FALSE(cell->isHidden());
    }
    EXPECT_EQ(form.Combobox1->count(), count);
  }
}

TEST_F(BildwortWindowTest, EveryDealKeepsCellListEntryAndPictureTogether) {
  FakeLibrary library = FakeLibrary::WithWords(120);
  TForm1 form(library, dialogs_, 2024u);
  std::vector<int> previous;
  for (int deal = 0; deal < 30; ++deal) {
    const Language language = deal % 2 ? Language::English : Language::German;
    form.StartGame(language);
    std::vector<int> shown;
    for (int i = 0; i < 120; ++i) {
      const TPictureCell* cell = form.Cell(i);
      ASSERT_EQ(cell->Tag, i);
      const int n = PictureNumberOf(cell);
      shown.push_back(n);
      // Line i names picture i, and the entry made from line i carries i.
      ASSERT_EQ(form.Game()->Line(i), QStringLiteral("Wort%1;word%1:").arg(n).toStdString());
      const QListWidgetItem* entry = EntryFor(form.Combobox1, i);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->text(),
                (language == Language::German ? QStringLiteral("Wort%1") : QStringLiteral("word%1"))
                    .arg(n));
    }
    EXPECT_EQ(std::set<int>(shown.begin(), shown.end()).size(), 120u);
    EXPECT_NE(shown, previous);
    previous = shown;
    // The list is sorted.
    const QCollator collator(bildwort::WordLocale(language));
    const auto entries = Entries(form.Combobox1);
    for (size_t k = 1; k < entries.size(); ++k) {
      EXPECT_LE(collator.compare(entries[k - 1].first, entries[k].first), 0);
    }
  }
}

TEST_F(BildwortWindowTest, AClickOpensTheListAtTheClickPointAndChoosesThePicture) {
  FakeLibrary library = FakeLibrary::WithWords(30);
  TForm1 form(library, dialogs_, 3u);
  form.show();
  struct Click {
    int cell;
    Qt::MouseButton button;
    QPoint at;
  };
  const Click clicks[] = {
      {0, Qt::LeftButton, {2, 3}}, {13, Qt::RightButton, {5, 7}}, {29, Qt::MiddleButton, {63, 63}}};
  for (const Click& c : clicks) {
    TPictureCell* cell = form.Cell(c.cell);
    QListWidgetItem* before = form.Combobox1->currentItem();
    QTest::mouseClick(cell, c.button, {}, c.at);
    EXPECT_TRUE(form.Combobox1->isVisible());
    EXPECT_EQ(form.Combobox1->pos(), cell->pos() + c.at);
    EXPECT_EQ(form.CurrentCell, cell);
    EXPECT_EQ(form.Combobox1->currentItem(), before);  // the selection stays
  }
  // A click beside the cells closes the list and leaves the cell as it was.
  QTest::mouseClick(form.Board, Qt::LeftButton, {}, QPoint(800, 600));
  EXPECT_FALSE(form.Combobox1->isVisible());
  EXPECT_EQ(form.Combobox1->count(), 30);
}

TEST_F(BildwortWindowTest, AWrongWordChangesNothingAndTheRightOneClearsThePicture) {
  FakeLibrary library = FakeLibrary::WithWords(12);
  TForm1 form(library, dialogs_, 4u);
  form.show();
  const auto entriesBefore = Entries(form.Combobox1);
  Pick(form, 5, 6);
  EXPECT_EQ(Entries(form.Combobox1), entriesBefore);
  EXPECT_EQ(VisibleCells(form), 12);
  EXPECT_TRUE(form.Combobox1->isVisible());
  const QPoint openAt = form.Combobox1->pos();
  EXPECT_EQ(form.Combobox1->currentItem()->data(Qt::UserRole).toInt(), 6);
  EXPECT_EQ(openAt, form.Cell(5)->pos() + QPoint(10, 20));

  // The same picture at once, now with the right word.
  Pick(form, 5, 5);
  EXPECT_TRUE(form.Cell(5)->isHidden());
  EXPECT_FALSE(form.Combobox1->isVisible());
  EXPECT_EQ(form.Combobox1->count(), 11);
  EXPECT_EQ(EntryFor(form.Combobox1, 5), nullptr);
  EXPECT_EQ(form.Game()->Remaining(), 11);
  EXPECT_TRUE(dialogs_.History().empty());
}

TEST_F(BildwortWindowTest, TheSameWordTwiceIsAcceptedOnlyForItsOwnPicture) {
  FakeLibrary library;
  library.WordList = QByteArray("Ball;ball:\r\nBall;ball:\r\nHund;dog:\r\n");
  for (int n = 1; n <= 3; ++n) library.Pictures[n] = PictureNumbered(n);
  TForm1 form(library, dialogs_, 5u);
  form.show();
  // Find the two board positions of the two "Ball" lines.
  std::vector<int> balls;
  for (int i = 0; i < 3; ++i) {
    if (form.Game()->Line(i) == "Ball;ball:") balls.push_back(i);
  }
  ASSERT_EQ(balls.size(), 2u);
  Pick(form, balls[0], balls[1]);
  EXPECT_FALSE(form.Cell(balls[0])->isHidden());
  EXPECT_EQ(form.Combobox1->count(), 3);
  Pick(form, balls[1], balls[0]);
  EXPECT_FALSE(form.Cell(balls[1])->isHidden());
  Pick(form, balls[1], balls[1]);
  EXPECT_TRUE(form.Cell(balls[1])->isHidden());
  Pick(form, balls[0], balls[0]);
  EXPECT_TRUE(form.Cell(balls[0])->isHidden());
  EXPECT_EQ(form.Combobox1->count(), 1);
}

TEST_F(BildwortWindowTest, AFullGameEndsWithTheQuestionAndYesDealsAnew) {
  FakeLibrary library = FakeLibrary::WithWords(120);
  TForm1 form(library, dialogs_, 6u);
  form.show();
  dialogs_.Press(DialogButton::Yes);
  for (int i = 119; i > 0; --i) {
    Pick(form, i, i);
    ASSERT_TRUE(form.Cell(i)->isHidden()) << i;
  }
  EXPECT_TRUE(dialogs_.History().empty());
  Pick(form, 0, 0);
  ASSERT_EQ(dialogs_.History().size(), 1u);
  const auto& shown = dialogs_.History().front();
  EXPECT_EQ(shown.Caption, "Bravo!");
  EXPECT_EQ(shown.Text, kBravo);
  EXPECT_EQ(shown.Icon, DialogIcon::Question);
  EXPECT_TRUE(dialogs_.ScriptUsedUp());
  EXPECT_FALSE(form.Ended());
  EXPECT_EQ(VisibleCells(form), 120);
  EXPECT_EQ(form.Combobox1->count(), 120);
  EXPECT_FALSE(form.Combobox1->isVisible());
}

TEST_F(BildwortWindowTest, CancelLeavesAnEmptyBoardUntilNeuAndNoEndsTheProgram) {
  FakeLibrary library = FakeLibrary::WithWords(3);
  TForm1 form(library, dialogs_, 8u);
  form.show();
  int ended = 0;
  QObject::connect(&form, &TForm1::ProgramEnded, [&ended] { ++ended; });

  dialogs_.Press(DialogButton::Cancel);
  for (int i = 0; i < 3; ++i) Pick(form, i, i);
  EXPECT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(VisibleCells(form), 0);
  EXPECT_EQ(form.Combobox1->count(), 0);
  EXPECT_FALSE(form.Ended());

  form.Neu1->trigger();
  EXPECT_EQ(VisibleCells(form), 3);
  EXPECT_EQ(form.Combobox1->count(), 3);

  dialogs_.Press(DialogButton::No);
  for (int i = 0; i < 3; ++i) Pick(form, i, i);
  EXPECT_EQ(dialogs_.History().size(), 2u);
  EXPECT_TRUE(form.Ended());
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(BildwortWindowTest, BeendenEndsTheProgram) {
  FakeLibrary library = FakeLibrary::WithWords(3);
  TForm1 form(library, dialogs_, 9u);
  form.show();
  form.Beenden1->trigger();
  EXPECT_TRUE(form.Ended());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(BildwortWindowTest, TheLanguageItemsToggleTheirMarksAndAlwaysDealAnew) {
  FakeLibrary library = FakeLibrary::WithWords(20);
  TForm1 form(library, dialogs_, 10u);
  form.show();
  struct Step {
    QAction* clicked;
    bool german;  // the marks and words afterwards
  };
  const Step steps[] = {{form.English1, false},
                        {form.English1, false},
                        {form.Deutsch1, true},
                        {form.Deutsch1, true},
                        {form.English1, false}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.clicked->text().toStdString());
    // Progress made before the switch is discarded.
    Pick(form, 0, 0);
    Pick(form, 1, 1);
    ASSERT_EQ(VisibleCells(form), 18);
    step.clicked->trigger();
    EXPECT_EQ(form.Deutsch1->isChecked(), step.german);
    EXPECT_EQ(form.English1->isChecked(), !step.german);
    EXPECT_EQ(form.CurrentLanguage, step.german ? Language::German : Language::English);
    EXPECT_EQ(VisibleCells(form), 20);
    ASSERT_EQ(form.Combobox1->count(), 20);
    EXPECT_FALSE(form.Combobox1->isVisible());
    for (const auto& [text, index] : Entries(form.Combobox1)) {
      EXPECT_EQ(text, form.Game()->WordOf(index, form.CurrentLanguage));
      EXPECT_TRUE(text.startsWith(step.german ? "Wort" : "word")) << text.toStdString();
    }
  }
  // "&Neu" keeps the language.
  form.Neu1->trigger();
  EXPECT_TRUE(Entries(form.Combobox1).front().first.startsWith("word"));
}

TEST_F(BildwortWindowTest, KeysMoveTheSelectionWithoutCheckingAndEnterChecks) {
  FakeLibrary library = FakeLibrary::WithWords(5);
  TForm1 form(library, dialogs_, 11u);
  form.show();
  QTest::mouseClick(form.Cell(2), Qt::LeftButton, {}, QPoint(1, 1));
  form.Combobox1->setCurrentRow(0);
  // Arrow down through the whole list: nothing is checked on the way, also
  // not the right word.
  for (int row = 1; row < 5; ++row) {
    QTest::keyClick(form.Combobox1, Qt::Key_Down);
    ASSERT_EQ(form.Combobox1->currentRow(), row);
    EXPECT_EQ(form.Combobox1->count(), 5);
    EXPECT_FALSE(form.Cell(2)->isHidden());
  }
  // Enter on a wrong word: nothing changes.
  QListWidgetItem* wrong = EntryFor(form.Combobox1, 3);
  form.Combobox1->setCurrentItem(wrong);
  QTest::keyClick(form.Combobox1, Qt::Key_Return);
  EXPECT_EQ(form.Combobox1->count(), 5);
  EXPECT_TRUE(form.Combobox1->isVisible());
  // Enter (also the keypad's) on the right word checks it.
  form.Combobox1->setCurrentItem(EntryFor(form.Combobox1, 2));
  QTest::keyClick(form.Combobox1, Qt::Key_Enter);
  EXPECT_TRUE(form.Cell(2)->isHidden());
  EXPECT_EQ(form.Combobox1->count(), 4);

  // While a key is held, a mouse pick checks nothing; after its release the
  // mouse checks again.
  QTest::mouseClick(form.Cell(4), Qt::LeftButton, {}, QPoint(1, 1));
  QTest::keyPress(form.Combobox1, Qt::Key_Shift);
  const QRect rect = form.Combobox1->visualItemRect(EntryFor(form.Combobox1, 4));
  QTest::mouseClick(form.Combobox1->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_FALSE(form.Cell(4)->isHidden());
  QTest::keyRelease(form.Combobox1, Qt::Key_Shift);
  QTest::mouseClick(form.Combobox1->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_TRUE(form.Cell(4)->isHidden());
}

TEST_F(BildwortWindowTest, HelpAndInfoCallTheLibrary) {
  FakeLibrary library = FakeLibrary::WithWords(2);
  TForm1 form(library, dialogs_, 12u);
  form.show();
  form.Hilfe2->trigger();
  EXPECT_EQ(library.HelpCalls, 1);
  form.Info1->trigger();
  EXPECT_EQ(library.AboutCalls, 1);
  EXPECT_TRUE(library.AboutIconGiven);
}

TEST_F(BildwortWindowTest, ALibraryThatCannotLoadEndsTheProgramAfterTheMessage) {
  FakeLibrary library = FakeLibrary::WithWords(5);
  library.Loadable = false;
  {
    TForm1 form(library, dialogs_);
    EXPECT_TRUE(form.Ended());
    EXPECT_EQ(form.Game(), nullptr);
    EXPECT_EQ(form.Cell(0), nullptr);
  }
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Caption, "Fehler");
  // A parent learns which file is missing, where it was looked for and what
  // to do.
  const QString text = dialogs_.History()[0].Text;
  for (const char* part : {"libzelvpics.so", "/opt/bildwort", "/home/kind/lib", "neu"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << " in " << text.toStdString();
  }
  EXPECT_FALSE(text.contains("DLL"));
  EXPECT_EQ(dialogs_.History()[0].Icon, DialogIcon::Error);
  // Nothing is read from a library that is not there.
  EXPECT_EQ(library.WordListReads, 0);
  EXPECT_TRUE(library.PicturesRead.empty());
}

TEST_F(BildwortWindowTest, AWordListWithoutLinesEndsTheProgramWithAMessage) {
  struct Case {
    const char* name;
    std::optional<QByteArray> text;
    const char* message;
  };
  const Case cases[] = {
      {"missing", std::nullopt, "Die Bildbibliothek enthält keine Wortliste."},
      {"empty", QByteArray(), "Die Wortliste der Bildbibliothek ist leer."},
      {"NUL first", QByteArray("\0Hund;dog:\r\n", 12),
       "Die Wortliste der Bildbibliothek ist leer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.ClearHistory();
    FakeLibrary library = FakeLibrary::WithWords(3);
    library.WordList = c.text;
    {
      TForm1 form(library, dialogs_, 1u);
      EXPECT_TRUE(form.Ended());
      EXPECT_EQ(form.Cell(0), nullptr);
    }
    ASSERT_EQ(dialogs_.History().size(), 1u);
    EXPECT_EQ(dialogs_.History()[0].Caption, "Fehler");
    EXPECT_EQ(dialogs_.History()[0].Text, QString::fromUtf8(c.message));
    EXPECT_EQ(dialogs_.History()[0].Icon, DialogIcon::Error);
    EXPECT_TRUE(library.PicturesRead.empty());
    EXPECT_EQ(library.Releases, 1);
  }
}

TEST_F(BildwortWindowTest, MoreLinesThanCellsUsesTheFirst120) {
  FakeLibrary library = FakeLibrary::WithWords(130);
  TForm1 form(library, dialogs_, 13u);
  EXPECT_FALSE(form.Ended());
  EXPECT_EQ(form.Game()->Count(), 120);
  EXPECT_EQ(form.Combobox1->count(), 120);
  EXPECT_EQ(*library.PicturesRead.rbegin(), 120);
  EXPECT_EQ(library.PicturesRead.size(), 120u);
  for (int i = 0; i < 120; ++i) EXPECT_LE(PictureNumberOf(form.Cell(i)), 120);
}

TEST_F(BildwortWindowTest, SmallAndLargePicturesAreShownAsFarAsTheyGo) {
  FakeLibrary library = FakeLibrary::WithWords(4);
  library.Pictures.erase(1);                                // missing
  library.Pictures[2] = PictureNumbered(2, QSize(10, 10));  // smaller than a cell
  QImage large(300, 200, QImage::Format_RGB32);             // larger, top-left corner red 3
  large.fill(Qt::green);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) large.setPixel(x, y, QColor(3, 0x40, 0x80).rgb());
  }
  library.Pictures[3] = large;
  TForm1 form(library, dialogs_, 14u);
  form.show();
  // The missing picture takes its word out of the game.
  ASSERT_EQ(form.Game()->Count(), 3);
  std::map<std::string, const TPictureCell*> byLine;
  for (int i = 0; i < 3; ++i) byLine[form.Game()->Line(i)] = form.Cell(i);
  EXPECT_EQ(byLine.count("Wort1;word1:"), 0u);
  EXPECT_EQ(byLine["Wort2;word2:"]->pixmap().size(), QSize(10, 10));
  const QPixmap cut = byLine["Wort3;word3:"]->pixmap();
  ASSERT_EQ(cut.size(), QSize(64, 64));
  const QImage shown = cut.toImage();
  for (const QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 63), QPoint(63, 63)}) {
    EXPECT_EQ(qRed(shown.pixel(p)), 3);
  }
  // The game can still be played to its end.
  dialogs_.Press(DialogButton::Cancel);
  for (int i = 0; i < 3; ++i) Pick(form, i, i);
  EXPECT_EQ(VisibleCells(form), 0);
  EXPECT_EQ(dialogs_.History().size(), 1u);
}

// Pictures the library cannot give leave the game with their words: every
// cell in play shows a picture, the counter counts only those, and the
// status line says how many were left out.
TEST_F(BildwortWindowTest, UnreadablePicturesTakeTheirWordsOutAndAreCounted) {
  struct Case {
    int words;
    std::vector<int> unreadable;
    QString leftOut;  // empty: the label stays hidden
  };
  std::vector<int> everySecond;
  for (int n = 2; n <= 120; n += 2) everySecond.push_back(n);
  const Case cases[] = {
      {120, everySecond, "60 Bilder ausgelassen (nicht lesbar)"},
      {12, {12}, "1 Bild ausgelassen (nicht lesbar)"},
      {12, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    FakeLibrary library = FakeLibrary::WithWords(c.words);
    for (int n : c.unreadable) library.Pictures[n] = QImage();  // no picture format
    TForm1 form(library, dialogs_, 16u);
    form.show();
    const int playable = c.words - static_cast<int>(c.unreadable.size());
    ASSERT_EQ(form.Game()->Count(), playable);
    EXPECT_EQ(form.Combobox1->count(), playable);
    EXPECT_EQ(form.Progress->text(), QStringLiteral("noch %1 Bilder").arg(playable));
    EXPECT_EQ(form.LeftOut->isVisible(), !c.leftOut.isEmpty());
    if (!c.leftOut.isEmpty()) {
      EXPECT_EQ(form.LeftOut->text(), c.leftOut);
    }
    for (int i = 0; i < ReadingGame::kBoardCells; ++i) {
      const TPictureCell* cell = form.Cell(i);
      EXPECT_EQ(cell != nullptr, i < playable) << i;
      if (cell == nullptr) continue;
      // Every cell shows its own picture, an odd-numbered one here.
      const int number = PictureNumberOf(cell);
      EXPECT_NE(number, 0) << i;
      EXPECT_EQ(EntryFor(form.Combobox1, cell->Tag)->text(), QStringLiteral("Wort%1").arg(number));
    }
  }
  // With no picture at all there is no game.
  dialogs_.ClearHistory();
  FakeLibrary blind = FakeLibrary::WithWords(5);
  blind.Pictures.clear();
  TForm1 form(blind, dialogs_, 17u);
  EXPECT_TRUE(form.Ended());
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Text, "Keines der 5 Bilder der Bildbibliothek lässt sich lesen.");
}

// A library found but damaged ends the game before anything is read from
// it, with a message that names the file and the damage.
TEST_F(BildwortWindowTest, ADamagedLibraryEndsTheProgramWithWhatIsWrong) {
  using Kind = bildwort::LibraryDamage::Kind;
  struct Case {
    bildwort::LibraryDamage damage;
    const char* says;
  };
  const QString file = QStringLiteral("/opt/bildwort/libzelvpics.so");
  const Case cases[] = {
      {{Kind::Empty, file, 0, 0, {}}, "leer"},
      {{Kind::NotALibrary, file, 12, 0, {}}, "keine Programmbibliothek"},
      {{Kind::WrongKind, file, 5000, 0, {}}, "andere Art von Computer"},
      {{Kind::Truncated, file, 200000, 3456789, {}}, "200000 Bytes"},
      {{Kind::BadHeaders, file, 5000, 0, {}}, "Inhaltsverzeichnis"},
      {{Kind::Unreadable, file, 0, 0, {}}, "nicht lesen"},
      {{Kind::TrialCrashed, file, 0, 0, {}}, "abgestürzt"},
      {{Kind::TrialRefused, file, 0, 0, "undefined symbol: Foo"}, "undefined symbol: Foo"},
      {{Kind::TrialHung, file, 0, 0, "30"}, "30 Sekunden"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    dialogs_.ClearHistory();
    FakeLibrary library = FakeLibrary::WithWords(5);
    library.Loadable = false;
    library.Damaged = c.damage;
    {
      TForm1 form(library, dialogs_);
      EXPECT_TRUE(form.Ended());
      EXPECT_EQ(form.Game(), nullptr);
    }
    ASSERT_EQ(dialogs_.History().size(), 1u);
    EXPECT_EQ(dialogs_.History()[0].Caption, "Fehler");
    EXPECT_EQ(dialogs_.History()[0].Icon, DialogIcon::Error);
    const QString text = dialogs_.History()[0].Text;
    for (const QString& part : {file, QString::fromUtf8(c.says), QStringLiteral("beschädigt")}) {
      EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
    }
    EXPECT_EQ(library.WordListReads, 0);
    EXPECT_TRUE(library.PicturesRead.empty());
  }
}

// The word list's own rules stay: a line without ";" is an empty German
// word, without ":" an empty English one, and such entries still belong to
// their pictures.
TEST_F(BildwortWindowTest, LinesWithoutSeparatorsGiveEmptyEntriesThatStillPlay) {
  FakeLibrary library = FakeLibrary::WithLines({"Hund", "Katze;cat", ";", "Maus;mouse:"});
  TForm1 form(library, dialogs_, 18u);
  form.show();
  ASSERT_EQ(form.Game()->Count(), 4);
  std::multiset<QString> german;
  for (const auto& entry : Entries(form.Combobox1)) german.insert(entry.first);
  EXPECT_EQ(german, (std::multiset<QString>{"", "", "Katze", "Maus"}));
  form.English1->trigger();
  std::multiset<QString> english;
  for (const auto& entry : Entries(form.Combobox1)) english.insert(entry.first);
  EXPECT_EQ(english, (std::multiset<QString>{"", "", "", "mouse"}));
  dialogs_.Press(DialogButton::Cancel);
  for (int i = 0; i < 4; ++i) Pick(form, i, i);
  EXPECT_EQ(VisibleCells(form), 0);
  EXPECT_EQ(dialogs_.History().size(), 1u);
}

TEST_F(BildwortWindowTest, TheListShowsEveryWordWholeInLargeText) {
  FakeLibrary library = FakeLibrary::WithLines(
      {"Feuerwehrauto;fire engine:", "Schneeflocke;snowflake:", "Schneemann;snowman:",
       "Hubschrauber;helicopter:", "Schmetterling;butterfly:", "Erdbeere;strawberry:", "Ei;egg:",
       "Bus;bus:", "Krankenwagen;ambulance:", "Baum;tree:"});
  TForm1 form(library, dialogs_, 16u);
  form.show();
  for (const Language language : {Language::German, Language::English}) {
    form.StartGame(language);
    QTest::mouseClick(form.Cell(0), Qt::LeftButton, {}, QPoint(5, 5));
    const QListWidget* list = form.Combobox1;
    EXPECT_GE(list->font().pixelSize(), 15);
    const QFontMetrics metrics(list->font());
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (int row = 0; row < list->count(); ++row) {
      const QListWidgetItem* entry = list->item(row);
      const QRect rect = list->visualItemRect(entry);
      EXPECT_GE(rect.height(), metrics.height()) << entry->text().toStdString();
      // The text room of the row holds the word unelided, inside the
      // viewport.
      EXPECT_GE(std::min(rect.width(), list->viewport()->width()) - 2 * margin,
                metrics.horizontalAdvance(entry->text()))
          << entry->text().toStdString();
    }
  }
}

TEST_F(BildwortWindowTest, TheListOpensInsideTheWindowOnEveryEdge) {
  FakeLibrary library = FakeLibrary::WithWords(120);
  TForm1 form(library, dialogs_, 17u);
  form.show();
  const QRect board = form.Board->rect();
  for (const int index : {0, 11, 60, 108, 113, 119}) {
    for (const QPoint at : {QPoint(0, 0), QPoint(32, 32), QPoint(63, 63)}) {
      QTest::mouseClick(form.Cell(index), Qt::LeftButton, {}, at);
      ASSERT_TRUE(form.Combobox1->isVisible());
      EXPECT_TRUE(board.contains(form.Combobox1->geometry()))
          << index << " " << form.Combobox1->geometry().y() << " " << board.height();
      // All rows can be scrolled to inside the window.
      EXPECT_GE(form.Combobox1->height(), 8 * form.Combobox1->sizeHintForRow(0));
    }
  }
  // Where it fits, it opens at the click point.
  QTest::mouseClick(form.Cell(0), Qt::LeftButton, {}, QPoint(3, 4));
  EXPECT_EQ(form.Combobox1->pos(), form.Cell(0)->pos() + QPoint(3, 4));
}

TEST_F(BildwortWindowTest, AfterARightPickNoEntryIsSelectedAndEnterChecksNothing) {
  FakeLibrary library = FakeLibrary::WithWords(6);
  TForm1 form(library, dialogs_, 18u);
  form.show();
  Pick(form, 2, 2);
  ASSERT_TRUE(form.Cell(2)->isHidden());
  EXPECT_EQ(form.Combobox1->currentItem(), nullptr);
  EXPECT_TRUE(form.Combobox1->selectedItems().isEmpty());
  // Opened on the next picture, a bare Enter checks nothing.
  const int next = form.Combobox1->item(0)->data(Qt::UserRole).toInt();
  QTest::mouseClick(form.Cell(next), Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_TRUE(form.Combobox1->selectedItems().isEmpty());
  QTest::keyClick(form.Combobox1, Qt::Key_Return);
  EXPECT_FALSE(form.Cell(next)->isHidden());
  EXPECT_EQ(form.Combobox1->count(), 5);
}

TEST_F(BildwortWindowTest, AHiddenListIsInertAndANewGameForgetsTheLastPicture) {
  FakeLibrary library = FakeLibrary::WithWords(6);
  TForm1 form(library, dialogs_, 19u);
  form.show();
  QTest::mouseClick(form.Cell(3), Qt::LeftButton, {}, QPoint(1, 1));
  form.Combobox1->setCurrentItem(EntryFor(form.Combobox1, 3));
  QTest::keyClick(form.Combobox1, Qt::Key_Escape);
  ASSERT_FALSE(form.Combobox1->isVisible());
  EXPECT_FALSE(form.Combobox1->hasFocus());
  // Keys sent to the hidden list neither move nor check.
  const int row = form.Combobox1->currentRow();
  QTest::keyClick(form.Combobox1, Qt::Key_Down);
  EXPECT_EQ(form.Combobox1->currentRow(), row);
  QTest::keyClick(form.Combobox1, Qt::Key_Return);
  EXPECT_FALSE(form.Cell(3)->isHidden());
  form.ComboBox1Click();
  EXPECT_EQ(form.Combobox1->count(), 6);

  // After "Neu" the picture of the last game is forgotten: an entry chosen
  // and Enter remove nothing.
  form.Neu1->trigger();
  EXPECT_EQ(form.CurrentCell, nullptr);
  for (int index = 0; index < 6; ++index) {
    form.Combobox1->setCurrentItem(EntryFor(form.Combobox1, index));
    QTest::keyClick(form.Combobox1, Qt::Key_Return);
    form.ComboBox1Click();
  }
  EXPECT_EQ(VisibleCells(form), 6);
  EXPECT_EQ(form.Combobox1->count(), 6);
}

TEST_F(BildwortWindowTest, WordsAreSortedAsADictionaryOfTheirLanguage) {
  FakeLibrary library =
      FakeLibrary::WithLines({"Bus;bus:", "B\xE4r;bear:", "Kuh;cow:", "K\xE4se;cheese:",
                              "T-Shirt;T-shirt:", "Wecker;alarm clock:", "apfel;apple:"});
  TForm1 form(library, dialogs_, 20u);
  const auto texts = [&form] {
    QStringList shown;
    for (const auto& [text, index] : Entries(form.Combobox1)) shown << text;
    return shown;
  };
  EXPECT_EQ(texts(),
            QStringList({"apfel", "B\u00E4r", "Bus", "K\u00E4se", "Kuh", "T-Shirt", "Wecker"}));
  form.English1->trigger();
  EXPECT_EQ(texts(),
            QStringList({"alarm clock", "apple", "bear", "bus", "cheese", "cow", "T-shirt"}));
}

TEST_F(BildwortWindowTest, TheSecondClickOfADoubleClickPicksNothing) {
  FakeLibrary library = FakeLibrary::WithWords(12);
  TForm1 form(library, dialogs_, 21u);
  form.show();
  // The picture whose word is the list's first row, which lies under the
  // pointer when the list opens there.
  const int index = form.Combobox1->item(0)->data(Qt::UserRole).toInt();
  TPictureCell* cell = form.Cell(index);
  QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_TRUE(form.Combobox1->isVisible());
  const QPoint under = form.Combobox1->viewport()->mapFromGlobal(cell->mapToGlobal(QPoint(12, 12)));
  ASSERT_EQ(form.Combobox1->itemAt(under), form.Combobox1->item(0));
  QTest::mouseDClick(form.Combobox1->viewport(), Qt::LeftButton, {}, under);
  QTest::mouseClick(form.Combobox1->viewport(), Qt::LeftButton, {}, under);
  EXPECT_FALSE(cell->isHidden());
  EXPECT_EQ(form.Combobox1->count(), 12);
}

TEST_F(BildwortWindowTest, EscapeAndAClickElsewhereCloseTheList) {
  FakeLibrary library = FakeLibrary::WithWords(12);
  TForm1 form(library, dialogs_, 22u);
  form.show();
  QTest::mouseClick(form.Cell(1), Qt::LeftButton, {}, QPoint(1, 1));
  QTest::keyClick(form.Combobox1, Qt::Key_Escape);
  EXPECT_FALSE(form.Combobox1->isVisible());
  QTest::mouseClick(form.Cell(1), Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseClick(form.Board, Qt::LeftButton, {}, QPoint(5, 600));
  EXPECT_FALSE(form.Combobox1->isVisible());
  EXPECT_EQ(VisibleCells(form), 12);
}

TEST_F(BildwortWindowTest, ShortGamesDrawFromTheWholeListAndAreRemembered) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("bildwort.ini"), QSettings::IniFormat);
  FakeLibrary library = FakeLibrary::WithWords(120);
  {
    TForm1 form(library, dialogs_, 23u, &settings);
    form.show();
    EXPECT_EQ(form.GameSize(), 120);  // all pictures until the user chooses
    EXPECT_EQ(form.Progress->text(), "noch 120 Bilder");
    for (size_t k = 0; k < TForm1::kGameSizes.size(); ++k) {
      const int size = TForm1::kGameSizes[k];
      form.GameSizeItems[k]->trigger();
      EXPECT_TRUE(form.GameSizeItems[k]->isChecked());
      EXPECT_EQ(VisibleCells(form), size);
      EXPECT_EQ(form.Combobox1->count(), size);
      EXPECT_EQ(form.Game()->Remaining(), size);
      EXPECT_EQ(form.Progress->text(), QStringLiteral("noch %1 Bilder").arg(size));
      // Every entry names a picture on the board.
      for (const auto& [text, index] : Entries(form.Combobox1)) {
        EXPECT_FALSE(form.Cell(index)->isHidden()) << index;
      }
    }
    form.GameSizeItems[0]->trigger();
    // Twelve pictures at a time, but over a few games far more than twelve.
    std::set<int> seen;
    for (int game = 0; game < 10; ++game) {
      form.Neu1->trigger();
      for (int index = 0; index < 120; ++index) {
        if (!form.Cell(index)->isHidden()) seen.insert(PictureNumberOf(form.Cell(index)));
      }
    }
    EXPECT_GT(seen.size(), 60u);
  }
  TForm1 again(library, dialogs_, 24u, &settings);
  EXPECT_EQ(again.GameSize(), 12);
  EXPECT_TRUE(again.GameSizeItems[0]->isChecked());
  EXPECT_EQ(VisibleCells(again), 12);
  // A value that is no choice falls back to all pictures.
  settings.setValue("Spiel/Bilder", 7);
  TForm1 odd(library, dialogs_, 25u, &settings);
  EXPECT_EQ(odd.GameSize(), 120);
}

TEST_F(BildwortWindowTest, PicksAreAnsweredAndTheRemainingPicturesCounted) {
  FakeLibrary library = FakeLibrary::WithWords(3);
  TForm1 form(library, dialogs_, 26u);
  form.show();
  EXPECT_TRUE(form.statusBar()->isVisible());
  EXPECT_TRUE(form.Feedback->text().isEmpty());
  EXPECT_EQ(form.Progress->text(), "noch 3 Bilder");
  Pick(form, 0, 1);
  const QString wrong = form.Feedback->text();
  EXPECT_FALSE(wrong.isEmpty());
  EXPECT_EQ(form.Progress->text(), "noch 3 Bilder");
  Pick(form, 0, 0);
  const QString right = form.Feedback->text();
  EXPECT_FALSE(right.isEmpty());
  EXPECT_NE(right, wrong);
  EXPECT_EQ(form.Progress->text(), "noch 2 Bilder");
  Pick(form, 1, 1);
  EXPECT_EQ(form.Progress->text(), "noch 1 Bild");
  EXPECT_EQ(form.Progress->accessibleName(), "noch 1 Bild");
  // A new game starts without a word on the last pick.
  form.Neu1->trigger();
  EXPECT_TRUE(form.Feedback->text().isEmpty());
  EXPECT_EQ(form.Progress->text(), "noch 3 Bilder");
}

TEST_F(BildwortWindowTest, ArrowsMoveTheFocusOverTheOpenPictures) {
  FakeLibrary library = FakeLibrary::WithWords(30);
  TForm1 form(library, dialogs_, 27u);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  ASSERT_TRUE(form.Cell(0)->hasFocus());
  Pick(form, 13, 13);  // row 2, column 2 is solved
  form.Cell(1)->setFocus();
  struct Step {
    Qt::Key key;
    int focused;
  } const steps[] = {
      {Qt::Key_Down, 25},                       // passes over the solved picture
      {Qt::Key_Down, 25},                       // nothing below: stays
      {Qt::Key_Right, 26},                      // reading order
      {Qt::Key_Up, 14},    {Qt::Key_Left, 12},  // over the solved one again
      {Qt::Key_Left, 11},                       // to the end of the row above
      {Qt::Key_Right, 12}, {Qt::Key_Up, 0},    {Qt::Key_Up, 0}, {Qt::Key_Left, 0},
  };
  for (const Step& step : steps) {
    QTest::keyClick(QApplication::focusWidget(), step.key);
    EXPECT_TRUE(form.Cell(step.focused)->hasFocus()) << step.focused;
  }
  for (const int index : {0, 13, 29}) {
    const QString name = form.Cell(index)->accessibleName();
    EXPECT_TRUE(name.contains(QString::number(index / 12 + 1)));
    EXPECT_FALSE(name.contains(form.Game()->WordOf(index, Language::German))) << index;
  }
}

TEST_F(BildwortWindowTest, AWholeGameCanBePlayedWithTheKeyboard) {
  FakeLibrary library =
      FakeLibrary::WithLines({"Apfel;apple:", "Baum;tree:", "Hund;dog:", "Haus;house:",
                              "Katze;cat:", "Kuh;cow:", "Mond;moon:", "Zug;train:"});
  TForm1 form(library, dialogs_, 28u);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  dialogs_.Press(DialogButton::Cancel);
  for (int solved = 0; solved < 8; ++solved) {
    auto* cell = qobject_cast<TPictureCell*>(QApplication::focusWidget());
    ASSERT_NE(cell, nullptr) << solved;
    QTest::keyClick(cell, Qt::Key_Return);
    ASSERT_TRUE(form.Combobox1->isVisible());
    ASSERT_TRUE(form.Combobox1->hasFocus());
    EXPECT_TRUE(form.Combobox1->selectedItems().isEmpty());
    // The first Down chooses the first word. A wrong word: the list stays
    // open.
    QTest::keyClick(form.Combobox1, Qt::Key_Down);
    EXPECT_EQ(form.Combobox1->currentRow(), 0);
    if (form.Combobox1->currentItem()->data(Qt::UserRole).toInt() != cell->Tag) {
      QTest::keyClick(form.Combobox1, Qt::Key_Return);
      EXPECT_TRUE(form.Combobox1->isVisible());
      EXPECT_FALSE(cell->isHidden());
    }
    // Type-ahead finds the right one.
    QTest::keyClicks(form.Combobox1, form.Game()->WordOf(cell->Tag, Language::German));
    QTest::keyClick(form.Combobox1, Qt::Key_Return);
    EXPECT_TRUE(cell->isHidden());
    EXPECT_FALSE(form.Combobox1->isVisible());
    EXPECT_EQ(form.Game()->Remaining(), 7 - solved);
    // Escape in a freshly opened list closes it without a pick.
    if (solved == 3) {
      auto* next = qobject_cast<TPictureCell*>(QApplication::focusWidget());
      ASSERT_NE(next, nullptr);
      QTest::keyClick(next, Qt::Key_Space);
      ASSERT_TRUE(form.Combobox1->isVisible());
      QTest::keyClick(form.Combobox1, Qt::Key_Escape);
      EXPECT_FALSE(form.Combobox1->isVisible());
      EXPECT_TRUE(next->hasFocus());
    }
    QTest::qWait(QApplication::keyboardInputInterval() + 10);  // type-ahead starts afresh
  }
  EXPECT_EQ(dialogs_.History().size(), 1u);
}

TEST_F(BildwortWindowTest, ReadsRightWordsAloudInTheirLanguageOnceSwitchedOn) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("bildwort.ini"), QSettings::IniFormat);
  FakeLibrary library = FakeLibrary::WithLines(
      {"Hund;dog:", "Katze;cat:", "Haus;house:", "Baum;tree:", "Zug;train:", "Ei;egg:"});
  RecordingSpeaker speaker;
  TForm1 form(library, dialogs_, 29u, &settings, &speaker);
  form.show();
  // Off at first: nothing is spoken, and the word on request is offered
  // only with reading aloud on.
  EXPECT_FALSE(form.Vorlesen1->isChecked());
  EXPECT_FALSE(form.WortVorlesen1->isEnabled());
  EXPECT_EQ(form.Vorlesen1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
  EXPECT_EQ(form.WortVorlesen1->shortcut(), QKeySequence(Qt::Key_F5));
  Pick(form, 0, 0);
  EXPECT_TRUE(speaker.Spoken.empty());

  form.Vorlesen1->trigger();
  EXPECT_TRUE(form.Vorlesen1->isChecked());
  Pick(form, 1, 2);  // wrong: silent
  EXPECT_TRUE(speaker.Spoken.empty());
  // On request, the word chosen in the list.
  form.WortVorlesen1->trigger();
  ASSERT_EQ(speaker.Spoken.size(), 1u);
  EXPECT_EQ(speaker.Spoken[0].first, form.Game()->WordOf(2, Language::German));
  Pick(form, 1, 1);
  ASSERT_EQ(speaker.Spoken.size(), 2u);
  EXPECT_EQ(speaker.Spoken[1].first, form.Game()->WordOf(1, Language::German));
  EXPECT_EQ(speaker.Spoken[1].second.language(), QLocale::German);
  // Nothing chosen, or no list open: nothing to read.
  form.WortVorlesen1->trigger();
  QTest::mouseClick(form.Cell(3), Qt::LeftButton, {}, QPoint(1, 1));
  form.WortVorlesen1->trigger();
  EXPECT_EQ(speaker.Spoken.size(), 2u);

  form.English1->trigger();
  Pick(form, 4, 4);
  ASSERT_EQ(speaker.Spoken.size(), 3u);
  EXPECT_EQ(speaker.Spoken[2].first, form.Game()->WordOf(4, Language::English));
  EXPECT_EQ(speaker.Spoken[2].second.language(), QLocale::English);

  // Remembered for the next run.
  TForm1 again(library, dialogs_, 30u, &settings, &speaker);
  EXPECT_TRUE(again.Vorlesen1->isChecked());
  EXPECT_TRUE(again.WortVorlesen1->isEnabled());
}

TEST_F(BildwortWindowTest, AtOneAndAHalfTheBoardTheListAndTheWindowGrowTogether) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("bildwort.ini"), QSettings::IniFormat);
  settings.setValue("view/zoom", 150);
  FakeLibrary library = FakeLibrary::WithLines(
      {"Feuerwehrauto;fire engine:", "Schmetterling;butterfly:", "Ei;egg:", "Bus;bus:"});
  TForm1 form(library, dialogs_, 31u, &settings);
  form.show();
  EXPECT_EQ(form.Zoom->Percent(), 150);
  EXPECT_EQ(form.width(), 1287);
  EXPECT_GE(form.Board->height(), 10 * 65 * 3 / 2 - 2);
  for (int index = 0; index < 4; ++index) {
    const QRect cell = form.Cell(index)->geometry();
    EXPECT_EQ(cell.size(), QSize(96, 96)) << index;
    EXPECT_NEAR(cell.x(), index * 65 * 1.5, 1) << index;
    EXPECT_EQ(form.Cell(index)->pixmap().size(), QSize(96, 96));
  }
  EXPECT_GE(form.Combobox1->font().pixelSize(), 22);
  QTest::mouseClick(form.Cell(3), Qt::LeftButton, {}, QPoint(90, 90));
  const QListWidget* list = form.Combobox1;
  ASSERT_TRUE(list->isVisible());
  EXPECT_TRUE(form.Board->rect().contains(list->geometry()));
  const QFontMetrics metrics(list->font());
  for (int row = 0; row < list->count(); ++row) {
    EXPECT_GE(list->viewport()->width(), metrics.horizontalAdvance(list->item(row)->text()));
  }
  // Back to 100 % with the menu's reset: the layout as drawn.
  QAction* reset = nullptr;
  for (QAction* action : form.Ansicht1->actions()) {
    if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_0)) reset = action;
  }
  ASSERT_NE(reset, nullptr);
  reset->trigger();
  EXPECT_EQ(form.width(), 858);
  EXPECT_EQ(form.Cell(3)->geometry(), QRect(3 * 65, 0, 64, 64));
  EXPECT_EQ(form.Combobox1->font().pixelSize(), 15);
  EXPECT_EQ(settings.value("view/zoom").toInt(), 100);
}

TEST_F(BildwortWindowTest, AnEnglishUserGetsAnEnglishInterfaceAndTheGameKeepsItsWords) {
  const zelv::ProgramTranslations english({QStringLiteral("bildwort")}, {QStringLiteral("en-GB")});
  ASSERT_EQ(english.Language(), "en");
  FakeLibrary library = FakeLibrary::WithWords(2);
  TForm1 form(library, dialogs_, 32u);
  form.show();
  EXPECT_EQ(form.Datei1->title(), "&File");
  EXPECT_EQ(form.Bilder1->title(), "&Pictures");
  EXPECT_EQ(form.Ansicht1->title(), "&View");
  EXPECT_EQ(form.Progress->text(), "2 pictures left");
  EXPECT_EQ(form.Cell(1)->accessibleName(), "Picture in row 1, column 2");
  // The sample picture library's help and about box come in English too.
  EXPECT_EQ(QCoreApplication::translate("zelvpics", "Hilfe"), "Help");
  EXPECT_EQ(QCoreApplication::translate("zelvpics", "Info"), "About");
  // At the first start the words follow the interface: English.
  EXPECT_TRUE(form.English1->isChecked());
  EXPECT_TRUE(form.Combobox1->item(0)->text().startsWith("word"));
  dialogs_.Press(DialogButton::Cancel);
  Pick(form, 0, 0);
  Pick(form, 1, 1);
  ASSERT_EQ(dialogs_.History().size(), 1u);
  EXPECT_EQ(dialogs_.History()[0].Caption, "Well done!");
  EXPECT_TRUE(dialogs_.History()[0].Text.startsWith("Well done!"));
  // The empty board after Cancel says how to go on, in English too.
  EXPECT_EQ(
      form.EmptyBoardHint->text(),
      QString::fromUtf8("All pictures done!\nA new game starts with “File → New” or with F6."));
}

// The word language at start: the interface's at the first start, then the
// one chosen last, whatever the interface.
TEST_F(BildwortWindowTest, TheWordLanguageFollowsTheInterfaceOnceAndThenTheLastChoice) {
  struct Case {
    const char* interface;  // empty: German, the source language
    std::optional<QString> remembered;
    bool englishWords;
  };
  const Case cases[] = {
      {"", std::nullopt, false},
      {"en-GB", std::nullopt, true},
      {"en-US", QStringLiteral("de"), false},
      {"", QStringLiteral("en"), true},
      {"", QStringLiteral("fr"), false},  // a stranger's value: German
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.interface) + " " + c.remembered.value_or("-").toStdString());
    std::optional<zelv::ProgramTranslations> translations;
    if (*c.interface != '\0') {
      translations.emplace(QStringList{QStringLiteral("bildwort")},
                           QStringList{QString::fromLatin1(c.interface)});
    }
    QTemporaryDir folder;
    QSettings settings(folder.filePath("bildwort.ini"), QSettings::IniFormat);
    if (c.remembered) settings.setValue("Spiel/Wortsprache", *c.remembered);
    FakeLibrary library = FakeLibrary::WithWords(3);
    TForm1 form(library, dialogs_, 33u, &settings);
    EXPECT_EQ(form.CurrentLanguage, c.englishWords ? Language::English : Language::German);
    EXPECT_EQ(form.English1->isChecked(), c.englishWords);
    EXPECT_EQ(form.Deutsch1->isChecked(), !c.englishWords);
    EXPECT_TRUE(form.Combobox1->item(0)->text().startsWith(c.englishWords ? "word" : "Wort"));
    // The choice made now is the next start's, in both directions.
    for (QAction* item : {form.English1, form.Deutsch1}) {
      item->trigger();
      TForm1 next(library, dialogs_, 34u, &settings);
      EXPECT_EQ(next.CurrentLanguage, item == form.English1 ? Language::English : Language::German);
    }
  }
}

// However a new game comes, the keyboard is at its first picture at once:
// arrows, Enter and Space work without a Tab first.
TEST_F(BildwortWindowTest, EveryKindOfNewGamePutsTheFocusOnTheFirstPicture) {
  FakeLibrary library = FakeLibrary::WithWords(12);
  TForm1 form(library, dialogs_, 35u);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto focusOnFirst = [&form] {
    return QApplication::focusWidget() == form.Cell(0) && form.Cell(0)->isVisible();
  };
  // Solves the whole game, which leaves the focus on the empty board.
  auto solveAll = [&] {
    for (int i = 0; i < 12; ++i) {
      if (form.Game()->IsOnBoard(i)) Pick(form, i, i);
    }
  };
  struct Way {
    const char* name;
    std::function<void()> deal;
  };
  const Way ways[] = {
      {"Yes in the final question",
       [&] {
         dialogs_.Press(DialogButton::Yes);
         solveAll();
       }},
      {"Cancel, then Neu",
       [&] {
         dialogs_.Press(DialogButton::Cancel);
         solveAll();
         form.Neu1->trigger();
       }},
      {"F6 from a list left with Escape",
       [&] {
         QTest::mouseClick(form.Cell(5), Qt::LeftButton, {}, QPoint(5, 5));
         QTest::keyClick(form.Combobox1, Qt::Key_Escape);
         QTest::keyClick(&form, Qt::Key_F6);
       }},
      {"the other language", [&] { form.English1->trigger(); }},
      {"the same language", [&] { form.English1->trigger(); }},
      {"another size", [&] { form.GameSizeItems[1]->trigger(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    // Somewhere else first: a picture in the middle, solved or not.
    Pick(form, 7, 7);
    way.deal();
    EXPECT_EQ(form.Game()->Remaining(), form.Game()->Dealt());
    EXPECT_TRUE(focusOnFirst());
    // The keys work at once.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), form.Cell(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(form.Combobox1->isVisible());
    QTest::keyClick(form.Combobox1, Qt::Key_Escape);
  }
}

// Tab in an open list closes it and gives the keys back to the picture;
// the list never stays open without them.
TEST_F(BildwortWindowTest, TabWithTheListOpenClosesItFirst) {
  FakeLibrary library = FakeLibrary::WithWords(12);
  TForm1 form(library, dialogs_, 36u);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
    form.Cell(4)->setFocus();
    QTest::keyClick(form.Cell(4), Qt::Key_Return);
    ASSERT_TRUE(form.Combobox1->hasFocus());
    QTest::keyClick(form.Combobox1, key);
    EXPECT_FALSE(form.Combobox1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), form.Cell(4));
    EXPECT_EQ(form.Game()->Remaining(), 12);
  }
}

// A slow typist's letters find the word, on a clock of the test's own;
// what was typed is shown beside the list, and Backspace takes it back.
TEST_F(BildwortWindowTest, TypeAheadWaitsForASlowTypistAndShowsTheLetters) {
  FakeLibrary library = FakeLibrary::WithLines(
      {"Erdbeere;strawberry:", "Hase;rabbit:", "Schaf;sheep:", "Schnee;snow:", "Schule;school:"});
  TForm1 form(library, dialogs_, 37u);
  std::int64_t now = 100000;
  form.SetTypeAheadClock([&now] { return now; });
  form.show();
  auto chosen = [&form] {
    const QListWidgetItem* item = form.Combobox1->currentItem();
    return item != nullptr && item->isSelected() ? item->text() : QString();
  };
  auto type = [&](std::int64_t step, const QString& text) {
    for (const QChar letter : text) {
      now += step;
      QTest::keyClick(form.Combobox1, letter.toLatin1());
    }
  };
  const TPictureCell* cell = form.Cell(0);
  QTest::mouseClick(form.Cell(0), Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(form.Combobox1->isVisible());
  type(800, "Schnee");
  EXPECT_EQ(chosen(), "Schnee");
  EXPECT_TRUE(form.TypedLetters->isVisible());
  EXPECT_EQ(form.TypedLetters->text(), "Schnee");
  // Beside the list, not over it, and in its type.
  EXPECT_FALSE(form.TypedLetters->geometry().intersects(form.Combobox1->geometry()));
  EXPECT_LE(std::abs(form.TypedLetters->x() - form.Combobox1->x()), 1);
  EXPECT_GE(form.TypedLetters->font().pixelSize(), form.Combobox1->font().pixelSize());
  // Nothing was checked on the way.
  EXPECT_FALSE(cell->isHidden());
  for (int i = 0; i < 3; ++i) QTest::keyClick(form.Combobox1, Qt::Key_Backspace);
  EXPECT_EQ(form.TypedLetters->text(), "Sch");
  EXPECT_EQ(chosen(), "Schaf");
  type(1500, "u");
  EXPECT_EQ(chosen(), "Schule");
  // After a longer pause a letter starts a new search.
  type(2500, "H");
  EXPECT_EQ(form.TypedLetters->text(), "H");
  EXPECT_EQ(chosen(), "Hase");
  // Letters no word begins with keep the last choice and say so.
  type(100, "x");
  EXPECT_EQ(form.TypedLetters->text(), "Hx");
  EXPECT_EQ(chosen(), "Hase");
  EXPECT_TRUE(form.TypedLetters->accessibleName().contains("kein Wort"));
  QTest::keyClick(form.Combobox1, Qt::Key_Backspace);
  QTest::keyClick(form.Combobox1, Qt::Key_Backspace);
  EXPECT_FALSE(form.TypedLetters->isVisible());
  // A new opening is a new search, whenever it comes.
  QTest::keyClick(form.Combobox1, Qt::Key_Escape);
  EXPECT_FALSE(form.TypedLetters->isVisible());
  QTest::mouseClick(form.Cell(1), Qt::LeftButton, {}, QPoint(5, 5));
  type(10, "E");
  EXPECT_EQ(form.TypedLetters->text(), "E");
  EXPECT_EQ(chosen(), "Erdbeere");
}

// The words on a pick reach the child where it looks: large, beside the
// list on a wrong word (with a shake that can be seen), where the picture
// was on a right one; inside the board on every edge.
TEST_F(BildwortWindowTest, TheWordsOnAPickAreLargeAndNextToTheListOrThePicture) {
  FakeLibrary library = FakeLibrary::WithWords(120);
  TForm1 form(library, dialogs_, 38u);
  form.show();
  const QRect board = form.Board->rect();
  for (const int index : {0, 11, 60, 108, 119}) {
    SCOPED_TRACE(index);
    TPictureCell* cell = form.Cell(index);
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(32, 32));
    ASSERT_TRUE(form.Combobox1->isVisible());
    const QRect list = form.Combobox1->geometry();
    // A wrong word.
    // A neighbour's word; none of them is solved yet.
    QListWidgetItem* wrong = EntryFor(form.Combobox1, index == 119 ? 118 : index + 1);
    ASSERT_NE(wrong, nullptr);
    form.Combobox1->scrollToItem(wrong);
    QTest::mouseClick(form.Combobox1->viewport(), Qt::LeftButton, {},
                      form.Combobox1->visualItemRect(wrong).center());
    ASSERT_FALSE(cell->isHidden());
    const QLabel* bubble = form.Bubble;
    ASSERT_TRUE(bubble->isVisible());
    EXPECT_EQ(bubble->text(), form.Feedback->text());
    EXPECT_TRUE(bubble->text().contains(wrong->text()));
    EXPECT_GE(bubble->font().pixelSize(), 15);
    EXPECT_TRUE(board.contains(bubble->geometry()));
    EXPECT_FALSE(bubble->geometry().intersects(list));
    // Next to the list: touching it but for a small gap.
    EXPECT_TRUE(bubble->geometry().adjusted(-8, -8, 8, 8).intersects(list));
    const auto* shake = form.Combobox1->findChild<QPropertyAnimation*>("Shake");
    ASSERT_NE(shake, nullptr);
    EXPECT_GE(shake->duration(), 450);
    int widest = 0;
    for (const auto& [step, value] : shake->keyValues()) {
      widest = std::max(widest, std::abs(value.toPoint().x() - list.x()));
    }
    EXPECT_GE(widest, 8);
    // The right word: the picture's place says so.
    Pick(form, index, index);
    ASSERT_TRUE(cell->isHidden());
    ASSERT_TRUE(bubble->isVisible());
    EXPECT_TRUE(bubble->text().contains(form.Game()->WordOf(index, Language::German)));
    EXPECT_TRUE(bubble->geometry().intersects(cell->geometry()));
    EXPECT_TRUE(board.contains(bubble->geometry()));
    // A picture under the words can be clicked at once.
    EXPECT_TRUE(bubble->testAttribute(Qt::WA_TransparentForMouseEvents));
  }
  // A new game starts without them.
  form.Neu1->trigger();
  EXPECT_FALSE(form.Bubble->isVisible());
}

// "Abbrechen" in the final question leaves the board empty, as ever, but
// the board says how to play again.
TEST_F(BildwortWindowTest, AfterCancelTheEmptyBoardSaysHowToStartAgain) {
  FakeLibrary library = FakeLibrary::WithWords(3);
  TForm1 form(library, dialogs_, 39u);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_FALSE(form.EmptyBoardHint->isVisible());
  dialogs_.Press(DialogButton::Cancel);
  for (int i = 0; i < 3; ++i) Pick(form, i, i);
  ASSERT_EQ(VisibleCells(form), 0);
  const QLabel* hint = form.EmptyBoardHint;
  ASSERT_TRUE(hint->isVisible());
  for (const char* part : {"Neu", "F6"}) EXPECT_TRUE(hint->text().contains(part)) << part;
  EXPECT_GE(hint->font().pixelSize(), 15);
  EXPECT_TRUE(form.Board->rect().contains(hint->geometry()));
  EXPECT_LE((hint->geometry().center() - form.Board->rect().center()).manhattanLength(), 4);
  // It keeps to the middle when the window changes.
  form.resize(form.width() - 100, form.height());
  EXPECT_LE((hint->geometry().center() - form.Board->rect().center()).manhattanLength(), 4);
  QTest::keyClick(&form, Qt::Key_F6);
  EXPECT_FALSE(hint->isVisible());
  EXPECT_EQ(VisibleCells(form), 3);
}

// The speech engine starts when reading aloud is switched on, or with the
// game when it was left on; never while it is off.
TEST_F(BildwortWindowTest, TheSpeechEngineStartsWhenReadingAloudIsSwitchedOn) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("bildwort.ini"), QSettings::IniFormat);
  FakeLibrary library = FakeLibrary::WithWords(4);
  RecordingSpeaker speaker;
  {
    TForm1 form(library, dialogs_, 40u, &settings, &speaker);
    EXPECT_EQ(speaker.Prepared, 0);
    form.Vorlesen1->trigger();
    EXPECT_EQ(speaker.Prepared, 1);
    // Before any word was asked for.
    EXPECT_TRUE(speaker.Spoken.empty());
  }
  TForm1 again(library, dialogs_, 41u, &settings, &speaker);
  EXPECT_EQ(speaker.Prepared, 2);
  again.Vorlesen1->trigger();  // off
  TForm1 silent(library, dialogs_, 42u, &settings, &speaker);
  EXPECT_EQ(speaker.Prepared, 2);
  // A library that fails ends the game before any speech.
  FakeLibrary missing = FakeLibrary::WithWords(4);
  missing.Loadable = false;
  silent.Vorlesen1->trigger();  // on, and remembered so
  EXPECT_EQ(speaker.Prepared, 3);
  TForm1 failed(missing, dialogs_, 43u, &settings, &speaker);
  EXPECT_TRUE(failed.Ended());
  EXPECT_EQ(speaker.Prepared, 3);
}

// A word can be heard before it is picked: moved to with the keys, or
// rested on with the pointer. Clicks and the solved word's removal read
// nothing extra.
TEST_F(BildwortWindowTest, WordsAreReadBeforeThePickWithTheKeysAndThePointer) {
  FakeLibrary library =
      FakeLibrary::WithLines({"Apfel;apple:", "Baum;tree:", "Hund;dog:", "Haus;house:"});
  RecordingSpeaker speaker;
  TForm1 form(library, dialogs_, 44u, nullptr, &speaker);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // Off: nothing, and the pointer's pause waits for nothing.
  QTest::keyClick(form.Cell(0), Qt::Key_Return);
  QTest::keyClick(form.Combobox1, Qt::Key_Down);
  QTest::mouseMove(form.Combobox1->viewport(),
                   form.Combobox1->visualItemRect(form.Combobox1->item(1)).center());
  EXPECT_FALSE(form.HoverReadPending());
  EXPECT_TRUE(speaker.Spoken.empty());
  QTest::keyClick(form.Combobox1, Qt::Key_Escape);

  form.Vorlesen1->trigger();
  const TPictureCell* cell = form.Cell(0);
  // The list opens again at "Apfel", chosen before.
  QTest::keyClick(form.Cell(0), Qt::Key_Return);
  QTest::keyClick(form.Combobox1, Qt::Key_Down);
  QTest::keyClick(form.Combobox1, Qt::Key_Down);
  EXPECT_EQ(speaker.Words(), QStringList({"Baum", "Haus"}));
  // Typed letters: a word once it is reached ("H" stays on "Haus").
  QTest::keyClicks(form.Combobox1, "Hu");
  EXPECT_EQ(speaker.Words(), QStringList({"Baum", "Haus", "Hund"}));
  // The pointer rests on an entry: after the pause, that word.
  speaker.Spoken.clear();
  const QListWidgetItem* third = form.Combobox1->item(2);
  QTest::mouseMove(form.Combobox1->viewport(), form.Combobox1->visualItemRect(third).center());
  ASSERT_TRUE(form.HoverReadPending());
  form.ReadHoveredWord();
  EXPECT_EQ(speaker.Words(), QStringList({third->text()}));
  // The right word by Enter: that word once, not its neighbour as well.
  speaker.Spoken.clear();
  form.Combobox1->setCurrentItem(EntryFor(form.Combobox1, cell->Tag));
  const QString right = form.Combobox1->currentItem()->text();
  QTest::keyClick(form.Combobox1, Qt::Key_Return);
  ASSERT_TRUE(cell->isHidden());
  EXPECT_EQ(speaker.Words(), QStringList({right}));
  // A closed list stops the pointer's pause.
  EXPECT_FALSE(form.HoverReadPending());
}

TEST_F(BildwortWindowTest, DestructionReleasesTheLibraryOnce) {
  FakeLibrary library = FakeLibrary::WithWords(4);
  {
    TForm1 form(library, dialogs_, 15u);
    EXPECT_EQ(library.Loads, 1);
    EXPECT_EQ(library.Releases, 0);
  }
  EXPECT_EQ(library.Releases, 1);
}

}  // namespace
