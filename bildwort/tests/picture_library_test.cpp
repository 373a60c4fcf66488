// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_library.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <optional>

#include "word_list.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/module_resources.h"

namespace {

using bildwort::LibraryDamage;
using bildwort::ProcessTrialLoader;
using bildwort::ZelvpicsLibrary;
using Kind = LibraryDamage::Kind;

const QString kTestLibraries = QStringLiteral(BILDWORT_TEST_LIBRARY_FOLDER);

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` as lib<name>.so into `folder` and returns the path.
QString WriteLibrary(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
  const QString path = folder.filePath(QStringLiteral("lib%1.so").arg(name));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

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

// Damaged copies of a library are checked before the loader sees them, with
// and without the trial in a process of its own; none is loaded, and each
// names its file and what is wrong.
TEST(ZelvpicsLibrary, ADamagedFileIsNeverLoadedAndSaysWhatIsWrong) {
  const QByteArray whole =
      ReadAll(QDir(kTestLibraries).filePath(QStringLiteral("libbwtest_faulty.so")));
  ASSERT_GT(whole.size(), 8000);
  struct Case {
    const char* name;
    QByteArray bytes;
    Kind kind;
  };
  const Case cases[] = {
      {"empty", QByteArray(), Kind::Empty},
      {"four bytes", whole.left(4), Kind::Truncated},
      {"header cut", whole.left(63), Kind::Truncated},
      {"first kilobyte", whole.left(1024), Kind::Truncated},
      {"half", whole.left(whole.size() / 2), Kind::Truncated},
      {"last byte missing", whole.left(whole.size() - 1), Kind::Truncated},
      {"a word list", QByteArray("Hund;dog:\r\nKatze;cat:\r\n"), Kind::NotALibrary},
      {"a picture", QByteArray("\x89PNG\r\n\x1a\n").repeated(100), Kind::NotALibrary},
  };
  ProcessTrialLoader trial(QStringLiteral(BILDWORT_PROGRAM));
  for (const bool withTrial : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (withTrial ? " with trial" : ""));
      QTemporaryDir folder;
      const QString path = WriteLibrary(folder, QStringLiteral("bwtest_copy"), c.bytes);
      ZelvpicsLibrary library(QStringLiteral("bwtest_copy"), {folder.path()},
                              withTrial ? &trial : nullptr);
      EXPECT_FALSE(library.Load());
      EXPECT_FALSE(library.IsLoaded());
      const std::optional<LibraryDamage> damage = library.Damage();
      ASSERT_TRUE(damage.has_value());
      EXPECT_EQ(damage->kind, c.kind);
      EXPECT_EQ(damage->file, path);
      if (c.kind == Kind::Truncated) {
        EXPECT_EQ(damage->size, static_cast<quint64>(c.bytes.size()));
        EXPECT_GT(damage->needed, damage->size);
      }
      EXPECT_FALSE(library.ReadWordList().has_value());
    }
  }
}

// Sound headers are no proof: loading runs the library's own code. The
// trial process takes the crash, the game gets a message.
TEST(ZelvpicsLibrary, ALibraryThatCrashesWhileLoadingCrashesOnlyItsTrial) {
  ProcessTrialLoader trial(QStringLiteral(BILDWORT_PROGRAM));
  ZelvpicsLibrary library(QStringLiteral("bwtest_crashing"), {kTestLibraries}, &trial);
  EXPECT_FALSE(library.Load());
  EXPECT_FALSE(library.IsLoaded());
  ASSERT_TRUE(library.Damage().has_value());
  EXPECT_EQ(library.Damage()->kind, Kind::TrialCrashed);
  EXPECT_EQ(QFileInfo(library.Damage()->file).fileName(), "libbwtest_crashing.so");
}

TEST(ZelvpicsLibrary, ASoundLibraryPassesItsTrialAndLoads) {
  ProcessTrialLoader trial(QStringLiteral(BILDWORT_PROGRAM));
  ZelvpicsLibrary library(QStringLiteral("bwtest_faulty"), {kTestLibraries}, &trial);
  ASSERT_TRUE(library.Load());
  EXPECT_FALSE(library.Damage().has_value());
  EXPECT_TRUE(library.ReadWordList().has_value());
  // No library by that name anywhere: missing, not damaged, also on trial.
  ZelvpicsLibrary missing(QStringLiteral("bwtest_no_such_library"), {}, &trial);
  EXPECT_FALSE(missing.Load());
  EXPECT_FALSE(missing.Damage().has_value());
}

TEST(ProcessTrialLoader, WithoutItsProgramTheFileCheckDecidesAlone) {
  ProcessTrialLoader trial(QStringLiteral("/nonexistent/bildwort"));
  EXPECT_FALSE(trial
                   .Try(QDir(kTestLibraries).filePath(QStringLiteral("libbwtest_crashing.so")),
                        QStringLiteral("bwtest_crashing"))
                   .has_value());
}

TEST(ProcessTrialLoader, AFileTheSystemRefusesIsNamedWithTheLoadersReason) {
  // A file the loader cannot open at all.
  QTemporaryDir folder;
  ProcessTrialLoader trial(QStringLiteral(BILDWORT_PROGRAM));
  const std::optional<LibraryDamage> damage =
      trial.Try(folder.filePath(QStringLiteral("libnothing.so")), QStringLiteral("nothing"));
  ASSERT_TRUE(damage.has_value());
  EXPECT_EQ(damage->kind, Kind::TrialRefused);
  EXPECT_TRUE(damage->detail.contains(QStringLiteral("libnothing.so")))
      << damage->detail.toStdString();
}

#ifdef BILDWORT_ZELVPICS_FOLDER
// The sample library cut short, as a broken download or a full disk leaves
// it: the loader would end the program with SIGBUS.
TEST(ZelvpicsLibrary, TheSampleLibraryCutShortIsCaughtBeforeLoading) {
  const QByteArray whole =
      ReadAll(QDir(QStringLiteral(BILDWORT_ZELVPICS_FOLDER)).filePath("libzelvpics.so"));
  ASSERT_GT(whole.size(), 200000);
  ProcessTrialLoader trial(QStringLiteral(BILDWORT_PROGRAM));
  for (const qsizetype size : {qsizetype{200000}, whole.size() - 100}) {
    SCOPED_TRACE(size);
    QTemporaryDir folder;
    WriteLibrary(folder, QStringLiteral("zelvpics"), whole.left(size));
    ZelvpicsLibrary library(QStringLiteral("zelvpics"), {folder.path()}, &trial);
    EXPECT_FALSE(library.Load());
    ASSERT_TRUE(library.Damage().has_value());
    EXPECT_EQ(library.Damage()->kind, Kind::Truncated);
    EXPECT_EQ(library.Damage()->needed, static_cast<quint64>(whole.size()));
  }
}

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
