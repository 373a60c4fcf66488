// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_templates.h"

#include <gtest/gtest.h>

#include <QFile>
#include <map>

namespace numora {
namespace {

QByteArray ShippedBytes() {
  LoadShippedTemplates();  // registers the core library's compiled-in resource
  QFile file(QStringLiteral(":/numora/task_templates.txt"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

TEST(ShippedTemplates, ResourceHasEightyCrLfLinesInWindows1252) {
  const QByteArray bytes = ShippedBytes();
  ASSERT_TRUE(bytes.endsWith("\r\n"));
  const QList<QByteArray> lines = bytes.chopped(2).split('\n');
  ASSERT_EQ(lines.size(), 80);
  for (const QByteArray& line : lines.mid(0, 79)) EXPECT_TRUE(line.endsWith('\r')) << line.data();
  EXPECT_EQ(lines[0], ";$A  -> Addition, Subtraktion\r");
  EXPECT_EQ(lines[1], ";$B  -> Multiplikation\r");
  EXPECT_EQ(lines[2], ";$C  -> Division\r");
  // "ü" is the single byte 0xFC in Windows-1252.
  EXPECT_EQ(lines[3], ";$Z  -> Sonderbehandlung f\xFCr Quotienten\r");
  EXPECT_TRUE(lines.contains(";$B/$C/$C\r"));
  EXPECT_TRUE(lines.contains(";$C/$Z\r"));
  int empty = 0;
  for (const QByteArray& line : lines) empty += line == "\r" || line.isEmpty();
  EXPECT_EQ(empty, 2);
}

TEST(ShippedTemplates, SeventyTwoTemplatesWithTheirMultiplicities) {
  const TTemplateList templates = LoadShippedTemplates();
  ASSERT_EQ(templates.size(), 72u);
  std::map<std::string, int> count;
  for (const std::string& t : templates) ++count[t];

  const std::map<int, std::vector<std::string>> expected = {
      {4, {"$A+$A", "$A-$A", "$B*$B", "$Z"}},
      {2,
       {"$A+$A+$A", "$A+$A-$A", "$A-$A+$A", "$A-$A-$A", "$A-($A+$A)", "$A-($A-$A)", "$A+$B*$B",
        "$B*$B+$A", "$B*$B*$B", "$B*($B+$B)", "$A+$Z", "$Z+$A", "$A-$B*$B", "$B*$B-$A",
        "$B*($B-$B)", "$A-$Z", "$Z-$A", "$A/$C"}},
      {1, {"$A/($C+$C)", "$A/($C-$C)", "$B/($Z)",    "$B*($Z)",    "$A-$B/$C",
           "$A+$B/$C",   "$B/$C+$A",   "$B/$C-$A",   "$C*$C*$C",   "$C/$C/$C",
           "$C*$Z",      "$Z*$C",      "$Z/$C",      "$B^2",       "$B/($B-$B)",
           "$B/($B+$B)", "($A-$A)/$C", "($A+$A)/$C", "($B+$B)*$C", "($B-$B)*$C"}}};
  std::size_t distinct = 0;
  for (const auto& [times, names] : expected) {
    for (const std::string& name : names) EXPECT_EQ(count[name], times) << name;
    distinct += names.size();
  }
  EXPECT_EQ(count.size(), distinct);
}

struct LineCase {
  const char* Name;
  std::string Text;
  TTemplateList Expected;
};

class TemplateLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(TemplateLines, KeepsTemplatesAndDropsCommentsAndBlankLines) {
  EXPECT_EQ(LoadTemplates(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TemplateLines,
    ::testing::Values(LineCase{"Empty", "", {}},
                      LineCase{"CommentAfterBlanks", "  ;$A+$A\r\n$B\r\n", {"$B"}},
                      LineCase{"CommentAfterTabAndControl", "\t\x01;x\r\n$B", {"$B"}},
                      LineCase{"BlankOnlyLine", "   \r\n$A\r\n \t \r\n", {"$A"}},
                      LineCase{"KeptLinesKeepTheirBlanks", " $A + $B \r\n", {" $A + $B "}},
                      LineCase{"NoFinalLineBreak", "$A\r\n$B", {"$A", "$B"}},
                      LineCase{
                          "LfAndCrAlsoEndLines", "$A\n$B\r$C\r\r\n$D", {"$A", "$B", "$C", "$D"}},
                      LineCase{"SemicolonLaterInLineIsKept", "$A;x\r\n", {"$A;x"}},
                      LineCase{"DuplicatesStay", "$A\r\n$A\r\n", {"$A", "$A"}},
                      LineCase{"ManyMoreThan256Lines",
                               [] {
                                 std::string text;
                                 for (int i = 0; i < 300; ++i) text += ";c\r\n$A\r\n";
                                 return text;
                               }(),
                               TTemplateList(300, "$A")}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace numora
