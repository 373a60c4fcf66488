// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLibrary>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTimer>

#include "picture_renderer.h"
#include "picture_table.h"
#include "zelvlib/cp1252.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/module_resources.h"

namespace {

using zelvpics::PictureTable;

TEST(PictureTable, HoldsOneHundredTwentyDistinctWellFormedThings) {
  const auto table = PictureTable();
  ASSERT_EQ(table.size(), 120u);
  QSet<QString> german, english;
  QSet<char32_t> emoji;
  for (const auto& entry : table) {
    const QString de = QString::fromUtf8(entry.German);
    const QString en = QString::fromUtf8(entry.English);
    SCOPED_TRACE(de.toStdString());
    // German nouns begin with a capital letter; English words are written
    // small (the T of "T-shirt" is part of the word).
    ASSERT_FALSE(de.isEmpty());
    ASSERT_FALSE(en.isEmpty());
    EXPECT_TRUE(de.front().isUpper());
    EXPECT_TRUE(en.front().isLower() || en == "T-shirt") << en.toStdString();
    // Nothing the line format or the list would trip over.
    for (const QString& word : {de, en}) {
      EXPECT_EQ(word, word.trimmed());
      for (const QChar c : {QChar(';'), QChar(':'), QChar('\r'), QChar('\n'), QChar('\0')}) {
        EXPECT_FALSE(word.contains(c));
      }
      // Windows-1252 holds every letter.
      EXPECT_EQ(zelv::FromWindows1252(zelv::ToWindows1252(word)), word);
    }
    EXPECT_FALSE(german.contains(de.toLower()));
    EXPECT_FALSE(english.contains(en.toLower()));
    EXPECT_FALSE(emoji.contains(entry.Emoji));
    german.insert(de.toLower());
    english.insert(en.toLower());
    emoji.insert(entry.Emoji);
  }
}

TEST(PictureTable, EncodesTheWordListInWindows1252WithCrLf) {
  const zelvpics::PictureEntry entries[] = {{U'\U0001F43B', "Bär", "bear"},
                                            {U'\u26BD', "Fußball", "football"},
                                            {U'\U0001F414', "Huhn", "chicken"}};
  EXPECT_EQ(zelvpics::EncodeWordList(entries), QByteArray("B\xe4r;bear:\r\nFu\xdf"
                                                          "ball;football:\r\nHuhn;chicken:\r\n"));
  EXPECT_TRUE(zelvpics::EncodeWordList({}).isEmpty());
}

TEST(PictureQuality, TellsBlankGreyAndColouredPicturesApart) {
  QImage white(64, 64, QImage::Format_RGB32);
  white.fill(Qt::white);
  QImage speck = white;
  speck.setPixel(3, 3, qRgb(255, 0, 0));
  QImage grey = white;
  {
    QPainter painter(&grey);
    painter.fillRect(8, 8, 48, 48, Qt::darkGray);
  }
  QImage colour = white;
  {
    QPainter painter(&colour);
    painter.fillRect(8, 8, 48, 48, QColor(220, 40, 40));
  }
  struct Case {
    const char* name;
    QImage picture;
    bool content;
    bool coloured;
  };
  const Case cases[] = {{"null", QImage(), false, false},
                        {"white", white, false, false},
                        {"speck", speck, false, false},
                        {"grey", grey, true, false},
                        {"colour", colour, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(zelvpics::HasVisibleContent(c.picture), c.content);
    EXPECT_EQ(zelvpics::HasColour(c.picture), c.coloured);
  }
}

TEST(PictureRenderer, DrawsColourEmojiAndAContactSheet) {
  const zelvpics::PictureRenderer renderer;
  if (!renderer.IsValid()) GTEST_SKIP() << renderer.Problem().toStdString();
  EXPECT_FALSE(renderer.Supports(U'\U0010FFFD'));  // private use: no glyph
  const QImage dog = renderer.Render(U'\U0001F436');
  EXPECT_EQ(dog.size(), QSize(64, 64));
  EXPECT_TRUE(zelvpics::HasVisibleContent(dog));
  EXPECT_TRUE(zelvpics::HasColour(dog));
  const QImage sheet = zelvpics::ContactSheet({dog, dog, dog}, 2);
  EXPECT_EQ(sheet.size(), QSize(2 * 65 - 1, 2 * 65 - 1));
  EXPECT_EQ(sheet.pixel(64, 0), QColor(0xd4, 0xd0, 0xc8).rgb());             // the gap
  EXPECT_EQ(sheet.pixel(65 + 32, 65 + 32), QColor(0xd4, 0xd0, 0xc8).rgb());  // no fourth picture
}

// The built library, loaded the way the game loads it.
class ZelvpicsLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.setFileName(QStringLiteral(ZELVPICS_LIBRARY_FILE));
    ASSERT_TRUE(library_.load()) << library_.errorString().toStdString();
  }
  void TearDown() override { library_.unload(); }

  // Runs `call`, which opens a modal dialog, and closes the dialog once it
  // shows; returns its title and text.
  std::pair<QString, QString> RunDialog(const std::function<void()>& call) {
    QString title, text;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      title = dialog->windowTitle();
      for (const QLabel* label : dialog->findChildren<QLabel*>()) text += label->text();
      dialog->accept();
    });
    closer.start();
    call();
    return {title, text};
  }

  QLibrary library_;
};

TEST_F(ZelvpicsLibraryTest, HoldsTheWordListAndOneColouredPicturePerLine) {
  const auto list = zelv::ReadModuleResource("zelvpics", "TEXT", "LISTE");
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(*list, zelvpics::EncodeWordList(PictureTable()));
  int coloured = 0;
  for (int id = 1; id <= 120; ++id) {
    const auto bytes = zelv::ReadModuleResource("zelvpics", "BITMAP", id);
    ASSERT_TRUE(bytes.has_value()) << id;
    const QImage picture = QImage::fromData(*bytes);
    ASSERT_EQ(picture.size(), QSize(64, 64)) << id;
    EXPECT_TRUE(zelvpics::HasVisibleContent(picture)) << id;
    coloured += zelvpics::HasColour(picture) ? 1 : 0;
  }
  EXPECT_GE(coloured, 108);  // a few things are grey by nature (spoon, scissors)
  EXPECT_FALSE(zelv::ReadModuleResource("zelvpics", "BITMAP", 121).has_value());
}

TEST_F(ZelvpicsLibraryTest, ExportsGermanAboutBoxAndHelp) {
  using ShowAboutEntry = void (*)(const QIcon*);
  using HilfeEntry = void (*)();
  const auto showAbout = reinterpret_cast<ShowAboutEntry>(library_.resolve("ShowAbout"));
  const auto hilfe = reinterpret_cast<HilfeEntry>(library_.resolve("Hilfe"));
  ASSERT_NE(showAbout, nullptr);
  ASSERT_NE(hilfe, nullptr);

  QPixmap iconPixmap(32, 32);
  iconPixmap.fill(Qt::blue);
  const QIcon icon(iconPixmap);
  for (const QIcon* given : {&icon, static_cast<const QIcon*>(nullptr)}) {
    const auto [title, text] = RunDialog([&] { showAbout(given); });
    EXPECT_EQ(title, "Info");
    EXPECT_TRUE(text.contains("Bildwort 2"));
    EXPECT_TRUE(text.contains("zelvpics"));
  }
  const auto [title, text] = RunDialog([&] { hilfe(); });
  EXPECT_EQ(title, "Hilfe");
  EXPECT_TRUE(text.contains("Klicke auf ein Bild"));
}

}  // namespace
