// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <random>
#include <string>
#include <vector>

#include "zelvlib/gui_test_main.h"

namespace {

QString PlainText(const std::string& rtf) {
  QTextDocument document;
  zelv::ReadRtf(rtf, document);
  return document.toPlainText();
}

// The first fragment of the block whose text starts with prefix.
QTextCharFormat FormatOf(const QTextDocument& document, const QString& prefix) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().text().startsWith(prefix)) return it.fragment().charFormat();
    }
  }
  ADD_FAILURE() << "no fragment starts with " << prefix.toStdString();
  return {};
}

QTextBlock BlockStartingWith(const QTextDocument& document, const QString& prefix) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.text().startsWith(prefix)) return block;
  }
  ADD_FAILURE() << "no block starts with " << prefix.toStdString();
  return {};
}

QTextTable* FirstTable(QTextDocument& document) {
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
  }
  return nullptr;
}

struct TextCase {
  const char* name;
  std::string rtf;
  QString expected;
};

TEST(RtfReader, TextContent) {
  const TextCase cases[] = {
      // \par ends a paragraph; it does not open an empty one at the end.
      {"paragraphs", R"({\rtf1 one\par two\par})", "one\ntwo"},
      {"empty paragraph between", R"({\rtf1 one\par\par two})", "one\n\ntwo"},
      {"no final par", R"({\rtf1 one\par two})", "one\ntwo"},
      {"escaped symbols", R"({\rtf1 a\\b\{c\}d})", "a\\b{c}d"},
      {"hex in Windows-1252", R"({\rtf1 gel\'f6st \'c4 \'df \'80 \'96})",
       QString::fromUtf8("gelöst Ä ß € –")},
      {"upper-case hex", R"({\rtf1 \'D6l})", QString::fromUtf8("Öl")},
      {"raw 8-bit byte", "{\\rtf1 \xFC}", QString::fromUtf8("ü")},
      {"control word eats one blank", R"({\rtf1 \b fett\b0  normal})", "fett normal"},
      {"control word with number eats one blank", R"({\rtf1 \fs28 x})", "x"},
      {"file line breaks are not text", "{\\rtf1 a\r\nb\nc}", "abc"},
      {"backslash newline is a paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
      {"tab", R"({\rtf1 a\tab b})", "a\tb"},
      {"line break", R"({\rtf1 a\line b})", "a\nb"},
      {"unicode with fallback skipped", R"({\rtf1 \u8364?x})", QString::fromUtf8("€x")},
      {"unicode, negative number", R"({\rtf1 \u-4064?})", QString(QChar(0xF020))},
      {"uc2 skips two", R"({\rtf1\uc2 \u228\'61\'62c})", QString::fromUtf8("äc")},
      {"uc0 skips none", R"({\rtf1\uc0 \u228 a})", QString::fromUtf8("äa")},
      {"fallback ends with the group", R"({\rtf1 {\uc3 \u228}xy})", QString::fromUtf8("äxy")},
      {"fallback hex counts as one", R"({\rtf1 \u246\'f6z})", QString::fromUtf8("öz")},
      {"surrogate pair", R"({\rtf1\uc0 \u-10179\u-8704})", QString::fromUcs4(U"\U0001F600")},
      {"font table skipped", R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}text})", "text"},
      {"colour table skipped", R"({\rtf1{\colortbl;\red255\green0\blue0;}text})", "text"},
      {"info skipped", R"({\rtf1{\info{\title T}{\author A}}text})", "text"},
      {"stylesheet skipped", R"({\rtf1{\stylesheet{\s1 Heading;}}text})", "text"},
      {"ignorable destination skipped", R"({\rtf1{\*\generator Writer 1.0;}text})", "text"},
      {"unknown ignorable with groups", R"({\rtf1{\*\foo a{b}c}text})", "text"},
      {"picture skipped", R"({\rtf1{\pict\wmetafile8 0a0b0c}text})", "text"},
      {"field shows its result", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})",
       "link"},
      {"named characters", R"({\rtf1 \bullet\emdash\endash\lquote\rquote\ldblquote\rdblquote})",
       QString::fromUtf8("•—–‘’“”")},
      {"code point beyond 16 bits", R"({\rtf1 \u128512?})", QString::fromUcs4(U"\U0001F600")},
      {"no character: fallback shown", R"({\rtf1 \u1114112?x})", "?x"},
      {"binary data skipped", "{\\rtf1 a\\bin3 }}}b}", "ab"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(PlainText(c.rtf), c.expected) << c.name;
  }
}

// Plain text turns non-breaking blanks into ordinary ones, so look at the raw
// characters.
TEST(RtfReader, NonBreakingBlankStaysNonBreaking) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1 a\~b})", document);
  EXPECT_EQ(document.toRawText(), QString("a") + QChar(QChar::Nbsp) + "b");
}

TEST(RtfReader, CharacterFormats) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}\deff0)"
                R"({\colortbl;\red0\green0\blue128;})"
                R"(\fs20 plain \b bold\b0  \i italic\i0  \ul under\ulnone  )"
                R"({\b\i both} after \fs40 big\fs20  \f1 mono\f0  \cf1 navy\cf0 )"
                R"( \b x\plain reset})",
                document);
  struct Expect {
    QString prefix;
    bool bold, italic, underline;
    double points;
  };
  const Expect expects[] = {
      {"plain", false, false, false, 10}, {"bold", true, false, false, 10},
      {"italic", false, true, false, 10}, {"under", false, false, true, 10},
      {"both", true, true, false, 10},    {" after", false, false, false, 10},
      {"big", false, false, false, 20},   {"reset", false, false, false, 12},
  };
  for (const Expect& e : expects) {
    const QTextCharFormat format = FormatOf(document, e.prefix);
    EXPECT_EQ(format.fontWeight() >= QFont::Bold, e.bold) << e.prefix.toStdString();
    EXPECT_EQ(format.fontItalic(), e.italic) << e.prefix.toStdString();
    EXPECT_EQ(format.fontUnderline(), e.underline) << e.prefix.toStdString();
    EXPECT_DOUBLE_EQ(format.fontPointSize(), e.points) << e.prefix.toStdString();
  }
  EXPECT_EQ(FormatOf(document, "mono").fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(FormatOf(document, "navy").foreground().color(), QColor(0, 0, 128));
  EXPECT_EQ(document.defaultFont().family(), QStringLiteral("Arial"));
}

TEST(RtfReader, ParagraphFormats) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1\pard\qc centred\par right \qr\par)"
                R"(\pard still left\par\pard\qj\li720\fi-360 indented\par})",
                document);
  struct Expect {
    QString prefix;
    Qt::Alignment align;
    double left;
  };
  // A paragraph takes the properties in force at its paragraph mark.
  const Expect expects[] = {
      {"centred", Qt::AlignHCenter, 0},
      {"right", Qt::AlignRight, 0},
      {"still left", Qt::AlignLeft, 0},
      {"indented", Qt::AlignJustify, 48},
  };
  for (const Expect& e : expects) {
    const QTextBlock block = BlockStartingWith(document, e.prefix);
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, e.align)
        << e.prefix.toStdString();
    EXPECT_DOUBLE_EQ(block.blockFormat().leftMargin(), e.left) << e.prefix.toStdString();
  }
  EXPECT_DOUBLE_EQ(BlockStartingWith(document, "indented").blockFormat().textIndent(), -24);
}

TEST(RtfReader, GroupsRestoreFormatting) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1 a{\b b{\i c}d}e})", document);
  EXPECT_EQ(document.toPlainText(), "abcde");
  EXPECT_FALSE(FormatOf(document, "a").fontWeight() >= QFont::Bold);
  EXPECT_TRUE(FormatOf(document, "b").fontWeight() >= QFont::Bold);
  EXPECT_TRUE(FormatOf(document, "c").fontItalic());
  EXPECT_FALSE(FormatOf(document, "d").fontItalic());
  EXPECT_FALSE(FormatOf(document, "e").fontWeight() >= QFont::Bold);
}

TEST(RtfReader, TableBecomesATextTable) {
  QTextDocument document;
  zelv::ReadRtf(
      R"({\rtf1 before\par)"
      R"(\trowd\cellx1500\cellx3000\pard\intbl\b Stufe\b0\cell\pard\intbl Punkte\cell\row)"
      R"(\trowd\cellx1500\cellx3000\pard\intbl leicht\cell\pard\intbl 1\cell\row)"
      R"(\trowd\cellx1500\cellx3000\pard\intbl schwer\cell\pard\intbl 5\cell\row)"
      R"(\pard after\par})",
      document);
  QTextTable* table = FirstTable(document);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rows(), 3);
  ASSERT_EQ(table->columns(), 2);
  const char* cells[3][2] = {{"Stufe", "Punkte"}, {"leicht", "1"}, {"schwer", "5"}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 2; ++c) {
      const QTextTableCell cell = table->cellAt(r, c);
      QTextCursor cursor = cell.firstCursorPosition();
      cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
      EXPECT_EQ(cursor.selectedText(), QString(cells[r][c])) << r << "," << c;
    }
  }
  EXPECT_TRUE(FormatOf(document, "Stufe").fontWeight() >= QFont::Bold);
  const auto widths = table->format().columnWidthConstraints();
  ASSERT_EQ(widths.size(), 2);
  EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);  // 1500 twips
  EXPECT_DOUBLE_EQ(table->format().leftMargin(), 0.0);
  // The text around the table stays outside it, in order.
  const QString plain = document.toPlainText();
  EXPECT_LT(plain.indexOf("before"), plain.indexOf("Stufe"));
  EXPECT_LT(plain.indexOf("5"), plain.indexOf("after"));
  EXPECT_FALSE(document.toPlainText().contains("\n\n\nafter"));
}

TEST(RtfReader, IndentedRowMovesTheTableAndNarrowsItsFirstColumn) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1\trowd\trleft360\cellx1860\cellx3000\intbl a\cell b\cell\row})", document);
  QTextTable* table = FirstTable(document);
  ASSERT_NE(table, nullptr);
  EXPECT_DOUBLE_EQ(table->format().leftMargin(), 24.0);
  const auto widths = table->format().columnWidthConstraints();
  ASSERT_EQ(widths.size(), 2);
  EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);  // 1860 - 360 twips
  EXPECT_DOUBLE_EQ(widths[1].rawValue(), 76.0);
}

TEST(RtfReader, RowsOfDifferentLengthArePadded) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1\trowd\cellx100\intbl a\cell\row)"
                R"(\trowd\cellx100\cellx200\cellx300\intbl b\cell c\cell d\cell\row})",
                document);
  QTextTable* table = FirstTable(document);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rows(), 2);
  EXPECT_EQ(table->columns(), 3);
}

TEST(RtfReader, ReadingAgainReplacesTheContent) {
  QTextDocument document;
  zelv::ReadRtf(R"({\rtf1 first})", document);
  zelv::ReadRtf(R"({\rtf1 second})", document);
  EXPECT_EQ(document.toPlainText(), "second");
}

struct MalformedCase {
  const char* name;
  std::string rtf;
  const char* mustContain;  // text that must survive, or "" for anything
};

std::vector<MalformedCase> MalformedCases() {
  return {
      {"empty", "", ""},
      {"only open brace", "{", ""},
      {"only close braces", "}}}}", ""},
      {"close before open", "}}{\\rtf1 ok}", "ok"},
      {"unclosed groups", "{\\rtf1 {\\b {\\i text", "text"},
      {"lone backslash at end", "{\\rtf1 abc\\", "abc"},
      {"cut-off hex", "{\\rtf1 abc\\'", "abc"},
      {"half hex", "{\\rtf1 abc\\'4", "abc"},
      {"bad hex", "{\\rtf1 \\'zzabc}", "abc"},
      {"cut-off unicode", "{\\rtf1 abc\\u", "abc"},
      {"unicode minus only", "{\\rtf1 abc\\u-", "abc"},
      {"huge unicode", "{\\rtf1 \\u99999999999999999999999 abc}", "abc"},
      {"huge negative unicode", "{\\rtf1 \\u-99999999999999999 abc}", "abc"},
      {"huge font size", "{\\rtf1 \\fs99999999999999999 abc}", "abc"},
      {"negative font size", "{\\rtf1 \\fs-5 abc}", "abc"},
      {"huge uc", "{\\rtf1 \\uc999999999 \\u228 abc}", ""},
      {"huge bin", "{\\rtf1 abc\\bin99999999999}", "abc"},
      {"negative bin", "{\\rtf1 \\bin-5 abc}", "abc"},
      {"huge indent", "{\\rtf1 \\li999999999999\\fi-99999999999 abc}", "abc"},
      {"very long control word", "{\\rtf1 \\" + std::string(10000, 'x') + " abc}", "abc"},
      {"very long number", "{\\rtf1 \\fs" + std::string(10000, '9') + " abc}", "abc"},
      {"deep nesting", std::string(100000, '{') + "deep" + std::string(100000, '}'), "deep"},
      {"deep nesting unclosed", std::string(100000, '{') + "deep", "deep"},
      {"cell without row definition", "{\\rtf1 a\\cell b\\cell\\row c}", "c"},
      {"row without cells", "{\\rtf1 \\trowd\\row\\row x}", "x"},
      {"huge cellx", "{\\rtf1 \\trowd\\cellx99999999999\\intbl a\\cell\\row}", "a"},
      {"many cells",
       "{\\rtf1 \\trowd" +
           [] {
             std::string s;
             for (int i = 0; i < 500; ++i) s += "\\cellx" + std::to_string(i * 10 + 10);
             for (int i = 0; i < 500; ++i) s += "\\intbl c\\cell";
             return s;
           }() +
           "\\row}",
       "c"},
      {"table cut off in a cell", "{\\rtf1 \\trowd\\cellx100\\intbl last", "last"},
      {"unclosed font table", "{\\rtf1{\\fonttbl{\\f0 Arial", ""},
      {"font entry without semicolon", "{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 abc}", "abc"},
      {"undefined font and colour", "{\\rtf1 \\f77\\cf99 abc}", "abc"},
      {"colour table junk", "{\\rtf1{\\colortbl\\red999\\green-4;;;\\blue;}abc}", "abc"},
      {"star outside group start", "{\\rtf1 a\\*b}", "ab"},
      {"zero bytes", std::string("{\\rtf1 a\0b}", 10), "ab"},
      {"not rtf at all", "plain text", "plain text"},
  };
}

TEST(RtfReader, MalformedInputNeverCrashesOrLoops) {
  for (const MalformedCase& c : MalformedCases()) {
    QTextDocument document;
    zelv::ReadRtf(c.rtf, document);
    EXPECT_TRUE(document.toPlainText().contains(QString::fromLatin1(c.mustContain))) << c.name;
  }
}

TEST(RtfReader, RandomBytesAndCutsOfAValidDocument) {
  const std::string valid =
      R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}\pard\qc\b Titel\b0\par)"
      R"(\trowd\cellx100\cellx200\pard\intbl a\cell\pard\intbl\u228?\cell\row\pard\qr \'e4nde\par})";
  // Every prefix: a file cut off anywhere.
  for (size_t length = 0; length <= valid.size(); ++length) {
    QTextDocument document;
    zelv::ReadRtf(std::string_view(valid).substr(0, length), document);
  }
  // Random bytes drawn mostly from RTF's own characters.
  std::mt19937 random(20261207);
  const std::string alphabet = "{}\\'*;-0123456789abcdefuxqcrlbitrowdcellxpar \r\n\x80\xff";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int size = static_cast<int>(random() % 400);
    for (int i = 0; i < size; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    QTextDocument document;
    zelv::ReadRtf(text, document);
  }
  QTextDocument document;
  zelv::ReadRtf(valid, document);
  EXPECT_TRUE(document.toPlainText().startsWith("Titel"));
}

}  // namespace
