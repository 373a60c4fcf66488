// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/shell.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <vector>

#include "zelvlib/gui_test_main.h"

namespace {

struct TargetCase {
  QString target;
  QString url;  // empty: no usable address
};

TEST(TargetUrl, ReadsLinksAddressesAndRejectsJunk) {
  const TargetCase cases[] = {
      {"https://numora.example.org", "https://numora.example.org"},
      {"  http://numora.example.org/x?a=1  ", "http://numora.example.org/x?a=1"},
      {"mailto:  numora@example.org", "mailto:numora@example.org"},
      {"MAILTO:numora@example.org", "mailto:numora@example.org"},
      {"mailto:   ", ""},
      {"www.example.org", "http://www.example.org"},
      {"", ""},
      {"   ", ""},
      {"no such file here.htm", ""},
      {"C:\\Programme\\index.htm", ""},
      {"relative/missing/index.htm", ""},
  };
  for (const TargetCase& c : cases) {
    const QUrl url = zelv::TargetUrl(c.target);
    if (c.url.isEmpty()) {
      EXPECT_FALSE(url.isValid() && !url.isEmpty()) << c.target.toStdString();
    } else {
      EXPECT_EQ(url.toString(), c.url) << c.target.toStdString();
    }
  }
}

TEST(TargetUrl, ExistingFileBecomesAFileUrl) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("index.htm");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(zelv::TargetUrl(path), QUrl::fromLocalFile(path));
}

TEST(OpenDocument, PassesTheUrlAndItsOutcome) {
  for (bool accepted : {true, false}) {
    std::vector<QUrl> opened;
    zelv::ScopedUrlOpener opener([&](const QUrl& url) {
      opened.push_back(url);
      return accepted;
    });
    EXPECT_EQ(zelv::OpenDocument(nullptr, "https://numora.example.org"), accepted);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://numora.example.org"));
  }
}

TEST(OpenDocument, UnopenableTargetFailsWithoutAskingTheDesktop) {
  int asked = 0;
  zelv::ScopedUrlOpener opener([&](const QUrl&) {
    ++asked;
    return true;
  });
  for (const char* target : {"", "   ", "missing-file.htm", "mailto:"}) {
    EXPECT_FALSE(zelv::OpenDocument(nullptr, target)) << target;
  }
  EXPECT_EQ(asked, 0);
}

TEST(OpenLabelLink, TurnsPurpleWhetherOrNotOpeningWorks) {
  struct Case {
    QString caption;
    bool desktopAccepts;
    bool expected;
  };
  const Case cases[] = {
      {"https://numora.example.org", true, true},
      {"https://numora.example.org", false, false},
      {"mailto:  numora@example.org", true, true},
      {"not a link at all", true, false},
  };
  for (const Case& c : cases) {
    QUrl seen;
    zelv::ScopedUrlOpener opener([&](const QUrl& url) {
      seen = url;
      return c.desktopAccepts;
    });
    QLabel label(c.caption);
    QPalette navy = label.palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label.setPalette(navy);

    EXPECT_EQ(zelv::OpenLabelLink(&label), c.expected) << c.caption.toStdString();
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    // The label keeps its text, blanks included.
    EXPECT_EQ(label.text(), c.caption);
  }
}

TEST(OpenLabelLink, NoLabelIsNoLink) {
  EXPECT_FALSE(zelv::OpenLabelLink(nullptr));
}

TEST(ScopedUrlOpener, RestoresThePreviousOpener) {
  int outer = 0, inner = 0;
  zelv::ScopedUrlOpener first([&](const QUrl&) { return ++outer > 0; });
  {
    zelv::ScopedUrlOpener second([&](const QUrl&) { return ++inner > 0; });
    zelv::OpenDocument(nullptr, "https://a.example.org");
  }
  zelv::OpenDocument(nullptr, "https://b.example.org");
  EXPECT_EQ(inner, 1);
  EXPECT_EQ(outer, 1);
}

TEST(ExistingFileIn, FindsFilesOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath("index.htm"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.htm"));

  EXPECT_EQ(zelv::ExistingFileIn(dir.path(), "index.htm"), QFileInfo(file).absoluteFilePath());
  EXPECT_TRUE(zelv::ExistingFileIn(dir.path(), "other.htm").isEmpty());
  EXPECT_TRUE(zelv::ExistingFileIn(dir.path(), "folder.htm").isEmpty());
  EXPECT_TRUE(zelv::ExistingFileIn(QString(), "index.htm").isEmpty());
  EXPECT_FALSE(zelv::ProgramFolder().isEmpty());
}

}  // namespace
