// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// numora --export-csv FILE [--profile NAME], run as the program runs it.
#include "export_command.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "sqlite_progress_store.h"

namespace numora {
namespace {

class ExportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_ = dir_.filePath(QStringLiteral("progress.sqlite"));
    OpenedProgressStore opened = OpenProgressStore(store_);
    ASSERT_FALSE(opened.Problem);
    for (const char* name : {"Anna", "Ben"}) {
      const ProfileId id = *opened.Store->AddProfile(QString::fromLatin1(name));
      opened.Store->StartRound({id, 1000, 1, false, {{0, "3+4", 7}}});
    }
  }
  int Run(QStringList arguments) {
    arguments.prepend(QStringLiteral("numora"));
    return RunExportCommand(arguments, store_);
  }
  int Lines(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count("\r\n")) : -1;
  }
  QTemporaryDir dir_;
  QString store_;
};

TEST_F(ExportCommand, AllOrOneProfile) {
  const QString all = dir_.filePath(QStringLiteral("all.csv"));
  const QString ben = dir_.filePath(QStringLiteral("ben.csv"));
  EXPECT_EQ(Run({QStringLiteral("--export-csv"), all}), 0);
  EXPECT_EQ(Lines(all), 3);
  EXPECT_EQ(Run({QStringLiteral("--export-csv"), ben, QStringLiteral("--profile"),
                 QStringLiteral("Ben")}),
            0);
  EXPECT_EQ(Lines(ben), 2);
}

TEST_F(ExportCommand, WrongCallsFailWithoutWriting) {
  const QString out = dir_.filePath(QStringLiteral("x.csv"));
  struct Case {
    QStringList arguments;
    int status;
  };
  const Case cases[] = {
      {{QStringLiteral("--export-csv")}, 2},
      {{QStringLiteral("--export-csv"), out, QStringLiteral("--profile")}, 2},
      {{QStringLiteral("--export-csv"), out, QStringLiteral("--bogus")}, 2},
      {{QStringLiteral("--export-csv"), out, QStringLiteral("--profile"), QStringLiteral("Cleo")},
       1},
      {{QStringLiteral("--export-csv"), dir_.filePath(QStringLiteral("none/x.csv"))}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.arguments), c.status) << c.arguments.join(u' ').toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }
}

}  // namespace
}  // namespace numora
