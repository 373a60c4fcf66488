// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "csv_export.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "memory_progress_store.h"

namespace numora {
namespace {

TEST(CsvExport, TextCellsAreQuotedAndFormulasDefused) {
  struct Case {
    QString text;
    QString cell;
  };
  const Case cases[] = {
      {QStringLiteral("Anna"), QStringLiteral("\"Anna\"")},
      {QString(), QStringLiteral("\"\"")},
      {QStringLiteral("Jürgen; \"Jo\""), QStringLiteral("\"Jürgen; \"\"Jo\"\"\"")},
      {QStringLiteral("=HYPERLINK(\"http://x\")"),
       QStringLiteral("\"'=HYPERLINK(\"\"http://x\"\")\"")},
      {QStringLiteral("+1+1"), QStringLiteral("\"'+1+1\"")},
      {QStringLiteral("-2+3"), QStringLiteral("\"'-2+3\"")},
      {QStringLiteral("@SUM(A1)"), QStringLiteral("\"'@SUM(A1)\"")},
      {QStringLiteral("\t=1"), QStringLiteral("\"'\t=1\"")},
      {QStringLiteral("a=b"), QStringLiteral("\"a=b\"")},
      {QStringLiteral("zwei\nZeilen"), QStringLiteral("\"zwei\nZeilen\"")},
  };
  for (const Case& c : cases) EXPECT_EQ(CsvTextCell(c.text), c.cell) << c.text.toStdString();
}

class CsvStore : public ::testing::Test {
 protected:
  CsvStore() {
    anna_ = *store_.AddProfile(QStringLiteral("=Änne"));
    ben_ = *store_.AddProfile(QStringLiteral("Ben"));
    RoundOpening opening{anna_, 1700000000000, 2, true, {{0, "7*8", 56}, {1, "250/25+7", 17}}};
    const RoundId round = *store_.StartRound(opening);
    AnswerRecord wrong{0, QStringLiteral("=1+1"), false, 3, 0, {}};
    AnswerRecord right{0, QStringLiteral("56"), true, 5, 5, {}};
    store_.RecordAnswer(round, wrong);
    store_.RecordAnswer(round, right);
    store_.EndRound(round, {RoundState::Finished, 10, {}});
    store_.StartRound({ben_, 1700000100000, 0, false, {{0, "1+1", 2}}});
  }
  QStringList Lines(std::optional<ProfileId> profile) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteProgressCsv(store_, profile, buffer));
    const QByteArray bytes = buffer.data();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  MemoryProgressStore store_;
  ProfileId anna_ = 0;
  ProfileId ben_ = 0;
};

TEST_F(CsvStore, OneRowPerTaskWithItsAnswers) {
  const QStringList lines = Lines(std::nullopt);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"Kind\";\"Beginn der Runde\";\"Stufe\"")));
  const QStringList first = lines[1].split(u';');
  ASSERT_EQ(first.size(), 13);
  EXPECT_EQ(first[0], QStringLiteral("\"'=Änne\""));  // the name cannot run as a formula
  EXPECT_EQ(first[2], QStringLiteral("\"schwer\""));
  EXPECT_EQ(first[3], QStringLiteral("\"beendet\""));
  EXPECT_EQ(first[4], QStringLiteral("1"));
  EXPECT_EQ(first[5], QStringLiteral("1"));
  EXPECT_EQ(first[6], QStringLiteral("\"7*8\""));
  EXPECT_EQ(first[7], QStringLiteral("56"));
  EXPECT_EQ(first[8], QStringLiteral("\"Multiplikationen\""));
  EXPECT_EQ(first[9], QStringLiteral("\"'=1+1 | 56\""));
  EXPECT_EQ(first[10], QStringLiteral("1"));
  EXPECT_EQ(first[11], QStringLiteral("1"));
  EXPECT_EQ(first[12], QStringLiteral("5"));
  const QStringList unsolved = lines[2].split(u';');
  EXPECT_EQ(unsolved[6], QStringLiteral("\"250/25+7\""));
  EXPECT_EQ(unsolved[11], QStringLiteral("0"));
  EXPECT_EQ(unsolved[12], QString());
  EXPECT_TRUE(lines[3].startsWith(QStringLiteral("\"Ben\";")));
  EXPECT_EQ(lines[3].split(u';')[3], QStringLiteral("\"offen\""));
}

TEST_F(CsvStore, OneProfileOnly) {
  const QStringList lines = Lines(ben_);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"Ben\";")));
}

TEST_F(CsvStore, FileReplacedOnlyWhenComplete) {
  QTemporaryDir dir;
  QString error;
  EXPECT_TRUE(
      ExportProgressCsv(store_, std::nullopt, dir.filePath(QStringLiteral("a.csv")), error));
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(ExportProgressCsv(store_, std::nullopt,
                                 dir.filePath(QStringLiteral("no/such/folder/a.csv")), error));
  EXPECT_TRUE(error.contains(QStringLiteral("no/such/folder/a.csv")));
}

}  // namespace
}  // namespace numora
