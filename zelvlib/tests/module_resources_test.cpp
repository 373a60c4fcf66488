// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/module_resources.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>

namespace {

// Builds a binary resource bundle with Qt's resource compiler and registers
// it, the way a loaded module's compiled-in resources appear to the program.
class ModuleResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    WriteFile("liste.txt", QByteArray("Hund;dog:\r\nKatze;cat:\r\n"));
    WriteFile("empty.txt", QByteArray());
    WriteFile("one.bin", QByteArray("\x00\x01\xff\x7f", 4));
    WriteFile("big.bin", QByteArray(100000, 'x'));  // compressed by the resource compiler
    WriteFile("bundle.qrc",
              "<RCC><qresource prefix=\"/testmodule\">"
              "<file alias=\"TEXT/LISTE\">liste.txt</file>"
              "<file alias=\"TEXT/EMPTY\">empty.txt</file>"
              "<file alias=\"BITMAP/1\">one.bin</file>"
              "<file alias=\"BITMAP/2\">big.bin</file>"
              "</qresource></RCC>");
    const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
    if (!QFile::exists(rcc)) GTEST_SKIP() << "Qt's resource compiler is not installed";
    bundle_ = dir_.filePath("bundle.rcc");
    ASSERT_EQ(QProcess::execute(rcc, {"--binary", "-o", bundle_, dir_.filePath("bundle.qrc")}), 0);
    ASSERT_TRUE(QResource::registerResource(bundle_));
    registered_ = true;
  }

  void TearDown() override {
    if (registered_) QResource::unregisterResource(bundle_);
  }

  void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QTemporaryDir dir_;
  QString bundle_;
  bool registered_ = false;
};

TEST_F(ModuleResourcesTest, ReadsNamedAndNumberedResourcesByteForByte) {
  struct Case {
    const char* type;
    const char* name;
    QByteArray expected;
  };
  const Case cases[] = {
      {"TEXT", "LISTE", QByteArray("Hund;dog:\r\nKatze;cat:\r\n")},
      {"TEXT", "EMPTY", QByteArray()},
      {"BITMAP", "1", QByteArray("\x00\x01\xff\x7f", 4)},
      {"BITMAP", "2", QByteArray(100000, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + "/" + c.name);
    const auto bytes = zelv::ReadModuleResource("testmodule", c.type, c.name);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, c.expected);
  }
  EXPECT_EQ(zelv::ReadModuleResource("testmodule", "BITMAP", 1), cases[2].expected);
  EXPECT_EQ(zelv::ReadModuleResource("testmodule", "BITMAP", 2), cases[3].expected);
}

TEST_F(ModuleResourcesTest, MissingOrUnsafeResourcesAreAbsent) {
  struct Case {
    const char* module;
    const char* type;
    const char* name;
  };
  const Case cases[] = {
      {"testmodule", "TEXT", "MISSING"},  // no such name
      {"testmodule", "TEXT", "liste"},    // names are case-sensitive
      {"testmodule", "BITMAP", "3"},      // one past the last bitmap
      {"othermodule", "TEXT", "LISTE"},   // another module's prefix
      {"testmodule", "TEXT", ""},         // a directory, not a resource
      {"testmodule", "BITMAP", "../TEXT/LISTE"},
      {"testmodule/TEXT", "..", "LISTE"},
      {"testmodule", "TEXT\\", "LISTE"},
      {"", "testmodule", "TEXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.module) + " | " + c.type + " | " + c.name);
    EXPECT_FALSE(zelv::ReadModuleResource(c.module, c.type, c.name).has_value());
  }
  for (int id : {0, -1, 3, 1000}) {
    EXPECT_FALSE(zelv::ReadModuleResource("testmodule", "BITMAP", id).has_value()) << id;
  }
}

TEST_F(ModuleResourcesTest, BytesOutliveTheModuleAndUnloadedResourcesVanish) {
  const auto before = zelv::ReadModuleResource("testmodule", "BITMAP", 2);
  ASSERT_TRUE(before.has_value());
  ASSERT_TRUE(QResource::unregisterResource(bundle_));
  registered_ = false;
  EXPECT_FALSE(zelv::ReadModuleResource("testmodule", "BITMAP", 2).has_value());
  // The copy read while the module was loaded is still intact.
  EXPECT_EQ(*before, QByteArray(100000, 'x'));
}

TEST(ModuleResourcePath, JoinsSafePartsOnly) {
  EXPECT_EQ(zelv::ModuleResourcePath("zelvpics", "TEXT", "LISTE"), ":/zelvpics/TEXT/LISTE");
  EXPECT_EQ(zelv::ModuleResourcePath("zelvpics", "BITMAP", "12"), ":/zelvpics/BITMAP/12");
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "/"}) {
    EXPECT_TRUE(zelv::ModuleResourcePath(bad, "TEXT", "LISTE").isEmpty()) << bad;
    EXPECT_TRUE(zelv::ModuleResourcePath("zelvpics", bad, "LISTE").isEmpty()) << bad;
    EXPECT_TRUE(zelv::ModuleResourcePath("zelvpics", "TEXT", bad).isEmpty()) << bad;
  }
}

}  // namespace
