// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_library.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>

#include "word_list.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/module_resources.h"

namespace {

using bildwort::ZelvpicsLibrary;

const QString kTestLibraries = QStringLiteral(BILDWORT_TEST_LIBRARY_FOLDER);

TEST(ZelvpicsLibrary, AMissingLibraryDoesNotLoadAndOffersNothing) {
  QTemporaryDir empty;
  ZelvpicsLibrary library(QStringLiteral("bwtest_no_such_library"), {empty.path()});
  EXPECT_FALSE(library.Load());
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_TRUE(library.LoadedFile().isEmpty());
  EXPECT_FALSE(library.ReadWordList().has_value());
  EXPECT_TRUE(library.ReadPicture(1).isNull());
  // The exports of a library never loaded do nothing.
  library.ShowAbout(QIcon());
  library.Hilfe();
}

TEST(ZelvpicsLibrary, SearchesTheGivenFoldersInOrderBeforeTheUsualSearch) {
  QTemporaryDir empty;
  ZelvpicsLibrary library(QStringLiteral("bwtest_bare"), {empty.path(), kTestLibraries});
  ASSERT_TRUE(library.Load());
  EXPECT_EQ(QFileInfo(library.LoadedFile()).absolutePath(), QDir(kTestLibraries).absolutePath());
  EXPECT_TRUE(library.Load());  // loading twice keeps the one module
  library.Release();
  EXPECT_FALSE(library.IsLoaded());
  library.Release();  // releasing twice is harmless
}

TEST(ZelvpicsLibrary, NamesItsFileAndTheFoldersItSearches) {
  const QByteArray saved = qgetenv("LD_LIBRARY_PATH");
  qputenv("LD_LIBRARY_PATH", "/opt/one::/opt/two:/first");
  const ZelvpicsLibrary library(QStringLiteral("zelvpics"), {QStringLiteral("/first"), QString()});
  EXPECT_EQ(library.FileName(), "libzelvpics.so");
  // The given folders first, then the environment's, each once.
  EXPECT_EQ(library.SearchedFolders(), QStringList({"/first", "/opt/one", "/opt/two"}));
  qputenv("LD_LIBRARY_PATH", saved);
}

TEST(ZelvpicsLibrary, TheProgramsFolderComesFirstByDefault) {
  EXPECT_EQ(ZelvpicsLibrary::ProgramFolder(), QStringList{QCoreApplication::applicationDirPath()});
}

TEST(ZelvpicsLibrary, ALibraryWithoutExportsOrResourcesIsHarmless) {
  ZelvpicsLibrary library(QStringLiteral("bwtest_bare"), {kTestLibraries});
  ASSERT_TRUE(library.Load());
  library.ShowAbout(QIcon());  // no entry: nothing happens, nothing crashes
  library.Hilfe();
  EXPECT_FALSE(library.ReadWordList().has_value());
  for (int id : {0, 1, 120, -5}) EXPECT_TRUE(library.ReadPicture(id).isNull()) << id;
}

TEST(ZelvpicsLibrary, CallsTheExportsItHasAndSkipsTheMissingOne) {
  ZelvpicsLibrary library(QStringLiteral("bwtest_faulty"), {kTestLibraries});
  ASSERT_TRUE(library.Load());
  QLibrary probe(library.LoadedFile());
  ASSERT_TRUE(probe.load());
  using Counter = int (*)();
  const auto calls = reinterpret_cast<Counter>(probe.resolve("FaultyLibraryShowAboutCalls"));
  ASSERT_NE(calls, nullptr);
  const int before = calls();
  library.ShowAbout(QIcon());
  library.Hilfe();  // not exported
  EXPECT_EQ(calls(), before + 1);
  probe.unload();
}

TEST(ZelvpicsLibrary, ReadsResourcesOnlyWhileLoaded) {
  ZelvpicsLibrary library(QStringLiteral("bwtest_faulty"), {kTestLibraries});
  ASSERT_TRUE(library.Load());
  const auto text = library.ReadWordList();
  ASSERT_TRUE(text.has_value());
  const auto lines = bildwort::SplitWordList(std::string_view(text->constData(), text->size()));
  ASSERT_EQ(lines.size(), 125u);
  EXPECT_EQ(lines.front(), "Wort1;word1:");
  struct Picture {
    int id;
    QSize size;  // empty: no picture
  };
  const Picture pictures[] = {{1, {10, 10}}, {2, {100, 90}}, {3, {}}, {4, {}}, {125, {}}};
  for (const Picture& p : pictures) {
    const QImage image = library.ReadPicture(p.id);
    EXPECT_EQ(image.isNull(), p.size.isEmpty()) << p.id;
    if (!image.isNull()) {
      EXPECT_EQ(image.size(), p.size) << p.id;
    }
  }
  library.Release();
  EXPECT_FALSE(library.ReadWordList().has_value());
  EXPECT_FALSE(zelv::ReadModuleResource("bwtest_faulty", "TEXT", "LISTE").has_value());
}

#ifdef BILDWORT_ZELVPICS_FOLDER
TEST(ZelvpicsLibrary, FindsTheSamplePictureLibraryBesideTheProgram) {
  // The tests run from the program's build folder, where zelvpics is built.
  ASSERT_EQ(QDir(QCoreApplication::applicationDirPath()).absolutePath(),
            QDir(QStringLiteral(BILDWORT_ZELVPICS_FOLDER)).absolutePath());
  ZelvpicsLibrary library;
  ASSERT_TRUE(library.Load());
  EXPECT_EQ(QFileInfo(library.LoadedFile()).absolutePath(),
            QDir(QStringLiteral(BILDWORT_ZELVPICS_FOLDER)).absolutePath());
  const auto text = library.ReadWordList();
  ASSERT_TRUE(text.has_value());
  const auto lines = bildwort::SplitWordList(std::string_view(text->constData(), text->size()));
  ASSERT_EQ(lines.size(), 120u);
  for (int id = 1; id <= 120; ++id) {
    EXPECT_EQ(library.ReadPicture(id).size(), QSize(64, 64)) << id;
  }
  EXPECT_TRUE(library.ReadPicture(121).isNull());
}
#endif

}  // namespace
