// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/rtf_reader.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "zelvlib/cp1252.h"

namespace zelv {

namespace {

// ---------------------------------------------------------------------------
// What the reader collects before anything goes into the QTextDocument: a
// list of paragraphs and tables. Tables are only known to be complete when a
// paragraph outside them follows, so the document is written at the end.

struct CharStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int halfPoints = 24;  // RTF's default size, 12 pt
  int font = -1;        // index into the font table, -1: the document's font
  int colour = 0;       // index into the colour table, 0: automatic
  int vertical = 0;     // -1 subscript, 1 superscript

  bool operator==(const CharStyle&) const = default;
};

struct ParaStyle {
  Qt::Alignment align = Qt::AlignLeft;
  int leftTwips = 0;
  int rightTwips = 0;
  int firstLineTwips = 0;
  int spaceBeforeTwips = 0;
  int spaceAfterTwips = 0;
  bool inTable = false;
};

struct Run {
  CharStyle style;
  QString text;
};

struct Paragraph {
  ParaStyle style;
  CharStyle endStyle;  // the style at the paragraph mark, for empty lines
  std::vector<Run> runs;
};

struct Cell {
  std::vector<Paragraph> paragraphs;
};

struct Row {
  std::vector<Cell> cells;
  std::vector<int> rightEdgesTwips;
  int leftTwips = 0;  // where the row starts; the first cell begins there
};

struct Table {
  std::vector<Row> rows;
};

struct Block {
  std::optional<Paragraph> paragraph;
  std::optional<Table> table;
};

struct FontEntry {
  QString name;
};

// ---------------------------------------------------------------------------
// Limits that keep hostile input harmless.

constexpr int kMaxDepth = 128;         // deeper groups share their parent's state
constexpr size_t kMaxWordLength = 32;  // longer control words are cut
constexpr int kMaxDigits = 10;         // longer numbers are cut, the rest skipped
constexpr int kMaxColumns = 64;        // more cells in a row are merged into the last
constexpr int kMaxTwips = 31680;       // 22 inches, wider than any page
constexpr int kMaxHalfPoints = 3276;   // 1638 pt

int Clamp(long long value, int low, int high) {
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

// Skipped destinations: their text is never shown.
bool IsSkippedDestination(std::string_view word) {
  static constexpr std::array<std::string_view, 38> kSkipped = {
      "author",
      "buptim",
      "colorschememapping",
      "comment",
      "creatim",
      "datastore",
      "doccomm",
      "filetbl",
      "fldinst",
      "footer",
      "footerf",
      "footerl",
      "footerr",
      "footnote",
      "generator",
      "header",
      "headerf",
      "headerl",
      "headerr",
      "info",
      "keywords",
      "latentstyles",
      "listoverridetable",
      "listtable",
      "object",
      "operator",
      "pgdsctbl",
      "pict",
      "printim",
      "revtbl",
      "revtim",
      "rsidtbl",
      "stylesheet",
      "subject",
      "themedata",
      "title",
      "userprops",
      "xmlnstbl",
  };
  return std::find(kSkipped.begin(), kSkipped.end(), word) != kSkipped.end();
}

enum class Destination { Text, Skip, FontTable, ColourTable };

struct GroupState {
  CharStyle chars;
  ParaStyle para;
  Destination destination = Destination::Text;
  int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
};

// ---------------------------------------------------------------------------

class RtfParser {
 public:
  explicit RtfParser(std::string_view text) : in_(text) {}

  void Parse();
  void Write(QTextDocument& document) const;

 private:
  // Reading.
  bool AtEnd() const { return pos_ >= in_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(in_[pos_]); }
  void ReadControl();
  void ReadControlWord();
  void ApplyWord(std::string_view word, bool hasParam, int param);
  void OpenGroup();
  void CloseGroup();

  // Text.
  void AddText(const QString& text);
  void AddByte(unsigned char byte);
  void AddUnicode(int code);
  bool SkipFallback();
  void EndParagraph();
  void EndCell();
  void EndRow();
  void FlushTable();

  // Tables of the header.
  void FontTableText(unsigned char byte);
  void ColourTableWord(std::string_view word, int param);
  void ColourTableText(unsigned char byte);

  GroupState& State() { return stack_.back(); }

  std::string_view in_;
  size_t pos_ = 0;
  std::vector<GroupState> stack_{GroupState{}};
  int overflowDepth_ = 0;       // groups opened beyond kMaxDepth
  int pendingFallback_ = 0;     // characters still to skip after a \uN
  bool groupStart_ = false;     // the next control word is the first in its group
  bool ignorableNext_ = false;  // "\*" seen at the start of this group

  Paragraph current_;
  Cell cell_;
  Row row_;
  std::vector<int> rowEdges_;  // \cellx of the row being defined
  int rowLeft_ = 0;            // \trleft of the row being defined
  std::optional<Table> table_;
  std::vector<Block> blocks_;

  std::map<int, FontEntry> fonts_;
  int fontBeingDefined_ = -1;
  std::string fontName_;
  int defaultFont_ = -1;

  std::vector<QColor> colours_;
  std::array<int, 3> colourParts_{{-1, -1, -1}};
};

void RtfParser::Parse() {
  while (!AtEnd()) {
    const unsigned char c = Peek();
    if (c == '{') {
      ++pos_;
      OpenGroup();
    } else if (c == '}') {
      ++pos_;
      CloseGroup();
    } else if (c == '\\') {
      ReadControl();
    } else {
      ++pos_;
      groupStart_ = false;
      if (c == '\r' || c == '\n' || c == 0) continue;  // line breaks of the file itself
      AddByte(c);
    }
  }
  // A document cut off inside a paragraph still shows that paragraph.
  if (!current_.runs.empty()) {
    if (State().para.inTable) {
      EndCell();
      EndRow();
    } else {
      EndParagraph();
    }
  }
  if (!cell_.paragraphs.empty() || !row_.cells.empty()) EndRow();
  FlushTable();
}

void RtfParser::OpenGroup() {
  pendingFallback_ = 0;
  groupStart_ = true;
  ignorableNext_ = false;
  if (static_cast<int>(stack_.size()) >= kMaxDepth) {
    ++overflowDepth_;
    return;
  }
  stack_.push_back(stack_.back());
}

void RtfParser::CloseGroup() {
  pendingFallback_ = 0;
  groupStart_ = false;
  ignorableNext_ = false;
  if (overflowDepth_ > 0) {
    --overflowDepth_;
    return;
  }
  // A closing brace without its opening one is dropped.
  if (stack_.size() <= 1) return;
  const Destination closing = stack_.back().destination;
  if (closing == Destination::FontTable && fontBeingDefined_ >= 0) {
    // An entry whose ";" is missing still names its font.
    FontTableText(';');
  }
  stack_.pop_back();
}

void RtfParser::ReadControl() {
  ++pos_;  // the backslash
  if (AtEnd()) return;
  const unsigned char c = Peek();
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    ReadControlWord();
    return;
  }
  ++pos_;
  const bool wasGroupStart = groupStart_;
  groupStart_ = false;
  switch (c) {
    case '\\':
    case '{':
    case '}':
      AddByte(c);
      return;
    case '\'': {
      // Two hex digits; a cut-off or malformed escape is dropped.
      auto hex = [](unsigned char h) -> int {
        if (h >= '0' && h <= '9') return h - '0';
        if (h >= 'a' && h <= 'f') return h - 'a' + 10;
        if (h >= 'A' && h <= 'F') return h - 'A' + 10;
        return -1;
      };
      int value = 0;
      for (int i = 0; i < 2; ++i) {
        if (AtEnd()) return;
        const int digit = hex(Peek());
        if (digit < 0) return;
        value = value * 16 + digit;
        ++pos_;
      }
      AddByte(static_cast<unsigned char>(value));
      return;
    }
    case '*':
      if (wasGroupStart) {
        ignorableNext_ = true;
        groupStart_ = true;
      }
      return;
    case '~':
      AddUnicode(0x00A0);
      return;
    case '_':
      AddUnicode(0x2011);
      return;
    case '-':  // optional hyphen: invisible
      if (!SkipFallback()) AddText(QString(QChar(0x00AD)));
      return;
    case '\t':
      AddByte('\t');
      return;
    case '\r':
    case '\n':
      ApplyWord("par", false, 0);
      return;
    default:
      SkipFallback();  // unknown symbols are dropped, but count as a fallback
      return;
  }
}

void RtfParser::ReadControlWord() {
  std::string word;
  while (!AtEnd() && ((Peek() >= 'a' && Peek() <= 'z') || (Peek() >= 'A' && Peek() <= 'Z'))) {
    if (word.size() < kMaxWordLength) word.push_back(static_cast<char>(Peek()));
    ++pos_;
  }
  bool negative = false;
  if (!AtEnd() && Peek() == '-' && pos_ + 1 < in_.size() && in_[pos_ + 1] >= '0' &&
      in_[pos_ + 1] <= '9') {
    negative = true;
    ++pos_;
  }
  bool hasParam = false;
  long long value = 0;
  int digits = 0;
  while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
    if (digits < kMaxDigits) value = value * 10 + (Peek() - '0');
    ++digits;
    hasParam = true;
    ++pos_;
  }
  if (!AtEnd() && Peek() == ' ') ++pos_;  // the delimiter belongs to the word
  const int param = Clamp(negative ? -value : value, INT32_MIN / 2, INT32_MAX / 2);

  const bool first = groupStart_;
  const bool ignorable = ignorableNext_;
  groupStart_ = false;
  ignorableNext_ = false;
  if (State().destination == Destination::Skip) {
    if (word == "bin" && hasParam && param > 0) {
      pos_ += std::min<size_t>(static_cast<size_t>(param), in_.size() - pos_);
    }
    return;
  }
  if (first && ignorable && word != "fldrslt") {
    // "{\*\name ...}": a destination this reader does not know.
    State().destination = Destination::Skip;
    return;
  }
  ApplyWord(word, hasParam, param);
}

void RtfParser::ApplyWord(std::string_view word, bool hasParam, int param) {
  GroupState& s = State();
  const bool on = !hasParam || param != 0;

  if (IsSkippedDestination(word)) {
    s.destination = Destination::Skip;
    return;
  }
  if (word == "fonttbl") {
    s.destination = Destination::FontTable;
    return;
  }
  if (word == "colortbl") {
    s.destination = Destination::ColourTable;
    colours_.clear();
    colourParts_ = {-1, -1, -1};
    return;
  }
  if (s.destination == Destination::FontTable) {
    if (word == "f" && hasParam) {
      fontBeingDefined_ = param;
      fontName_.clear();
    }
    return;
  }
  if (s.destination == Destination::ColourTable) {
    ColourTableWord(word, param);
    return;
  }

  // Every other word consumes one fallback character of a \uN, except \u itself.
  if (word != "u" && SkipFallback()) return;

  if (word == "par") {
    EndParagraph();
  } else if (word == "line") {
    AddUnicode(0x2028);
  } else if (word == "tab") {
    AddByte('\t');
  } else if (word == "pard") {
    s.para = ParaStyle{};
  } else if (word == "plain") {
    const int font = defaultFont_;
    s.chars = CharStyle{};
    s.chars.font = font;
  } else if (word == "b") {
    s.chars.bold = on;
  } else if (word == "i") {
    s.chars.italic = on;
  } else if (word == "ul") {
    s.chars.underline = on;
  } else if (word == "ulnone") {
    s.chars.underline = false;
  } else if (word == "strike") {
    s.chars.strike = on;
  } else if (word == "super") {
    s.chars.vertical = 1;
  } else if (word == "sub") {
    s.chars.vertical = -1;
  } else if (word == "nosupersub") {
    s.chars.vertical = 0;
  } else if (word == "fs") {
    s.chars.halfPoints = hasParam ? Clamp(param, 2, kMaxHalfPoints) : 24;
  } else if (word == "f") {
    if (hasParam) s.chars.font = param;
  } else if (word == "deff") {
    if (hasParam) {
      defaultFont_ = param;
      s.chars.font = param;
    }
  } else if (word == "cf") {
    s.chars.colour = hasParam ? std::max(param, 0) : 0;
  } else if (word == "qc") {
    s.para.align = Qt::AlignHCenter;
  } else if (word == "qr") {
    s.para.align = Qt::AlignRight;
  } else if (word == "ql") {
    s.para.align = Qt::AlignLeft;
  } else if (word == "qj") {
    s.para.align = Qt::AlignJustify;
  } else if (word == "li") {
    s.para.leftTwips = Clamp(param, -kMaxTwips, kMaxTwips);
  } else if (word == "ri") {
    s.para.rightTwips = Clamp(param, -kMaxTwips, kMaxTwips);
  } else if (word == "fi") {
    s.para.firstLineTwips = Clamp(param, -kMaxTwips, kMaxTwips);
  } else if (word == "sb") {
    s.para.spaceBeforeTwips = Clamp(param, 0, kMaxTwips);
  } else if (word == "sa") {
    s.para.spaceAfterTwips = Clamp(param, 0, kMaxTwips);
  } else if (word == "intbl") {
    s.para.inTable = true;
  } else if (word == "trowd") {
    rowEdges_.clear();
    rowLeft_ = 0;
  } else if (word == "trleft") {
    rowLeft_ = Clamp(param, 0, kMaxTwips);
  } else if (word == "cellx") {
    if (static_cast<int>(rowEdges_.size()) < kMaxColumns) {
      rowEdges_.push_back(Clamp(param, 0, kMaxTwips));
    }
  } else if (word == "cell") {
    EndCell();
  } else if (word == "row") {
    EndRow();
  } else if (word == "uc") {
    s.unicodeSkip = Clamp(hasParam ? param : 1, 0, 16);
  } else if (word == "u") {
    // The number is a signed 16-bit value; writers that go beyond it mean the
    // code point itself. A number that is no character at all is dropped and
    // its fallback text shown instead: that is what the fallback is for.
    const int code = param < 0 ? param + 65536 : param;
    if (hasParam && code > 0 && code <= 0x10FFFF) {
      AddUnicode(code);
      pendingFallback_ = s.unicodeSkip;
    }
  } else if (word == "bin") {
    // Binary data outside a skipped group is not text either.
    if (hasParam && param > 0)
      pos_ += std::min<size_t>(static_cast<size_t>(param), in_.size() - pos_);
  } else if (word == "emdash") {
    AddUnicode(0x2014);
  } else if (word == "endash") {
    AddUnicode(0x2013);
  } else if (word == "bullet") {
    AddUnicode(0x2022);
  } else if (word == "lquote") {
    AddUnicode(0x2018);
  } else if (word == "rquote") {
    AddUnicode(0x2019);
  } else if (word == "ldblquote") {
    AddUnicode(0x201C);
  } else if (word == "rdblquote") {
    AddUnicode(0x201D);
  } else if (word == "sect" || word == "page") {
    EndParagraph();
  }
  // Every other word changes nothing this reader shows.
}

bool RtfParser::SkipFallback() {
  if (pendingFallback_ <= 0) return false;
  --pendingFallback_;
  return true;
}

void RtfParser::AddByte(unsigned char byte) {
  switch (State().destination) {
    case Destination::Skip:
      return;
    case Destination::FontTable:
      FontTableText(byte);
      return;
    case Destination::ColourTable:
      ColourTableText(byte);
      return;
    case Destination::Text:
      break;
  }
  if (SkipFallback()) return;
  const char raw = static_cast<char>(byte);
  AddText(FromWindows1252(std::string_view(&raw, 1)));
}

void RtfParser::AddUnicode(int code) {
  if (State().destination != Destination::Text) return;
  if (code <= 0 || code > 0x10FFFF) return;
  const char32_t ucs4 = static_cast<char32_t>(code);
  AddText(QString::fromUcs4(&ucs4, 1));
}

void RtfParser::AddText(const QString& text) {
  if (State().destination != Destination::Text || text.isEmpty()) return;
  const CharStyle& style = State().chars;
  if (!current_.runs.empty() && current_.runs.back().style == style) {
    current_.runs.back().text += text;
  } else {
    current_.runs.push_back({style, text});
  }
}

void RtfParser::EndParagraph() {
  // Paragraph properties are those in force at the paragraph mark.
  current_.style = State().para;
  current_.endStyle = State().chars;
  if (current_.style.inTable) {
    // A paragraph inside a cell: the cell goes on.
    cell_.paragraphs.push_back(std::move(current_));
  } else {
    FlushTable();
    blocks_.push_back({std::move(current_), std::nullopt});
  }
  current_ = Paragraph{};
}

void RtfParser::EndCell() {
  if (!current_.runs.empty() || cell_.paragraphs.empty()) {
    current_.style = State().para;
    current_.endStyle = State().chars;
    cell_.paragraphs.push_back(std::move(current_));
  }
  current_ = Paragraph{};
  if (static_cast<int>(row_.cells.size()) < kMaxColumns) {
    row_.cells.push_back(std::move(cell_));
  } else {
    // Too many cells: the rest joins the last one.
    auto& last = row_.cells.back().paragraphs;
    for (Paragraph& p : cell_.paragraphs) last.push_back(std::move(p));
  }
  cell_ = Cell{};
}

void RtfParser::EndRow() {
  if (!cell_.paragraphs.empty() || !current_.runs.empty()) EndCell();
  if (row_.cells.empty()) return;
  row_.rightEdgesTwips = rowEdges_;
  row_.leftTwips = rowLeft_;
  if (!table_) table_ = Table{};
  table_->rows.push_back(std::move(row_));
  row_ = Row{};
}

void RtfParser::FlushTable() {
  if (!cell_.paragraphs.empty() || !row_.cells.empty()) EndRow();
  if (!table_) return;
  blocks_.push_back({std::nullopt, std::move(table_)});
  table_.reset();
}

void RtfParser::FontTableText(unsigned char byte) {
  if (byte == ';') {
    if (fontBeingDefined_ >= 0) {
      fonts_[fontBeingDefined_].name = FromWindows1252(fontName_).trimmed();
    }
    fontBeingDefined_ = -1;
    fontName_.clear();
  } else if (fontBeingDefined_ >= 0 && fontName_.size() < 128) {
    fontName_.push_back(static_cast<char>(byte));
  }
}

void RtfParser::ColourTableWord(std::string_view word, int param) {
  const int value = Clamp(param, 0, 255);
  if (word == "red") colourParts_[0] = value;
  if (word == "green") colourParts_[1] = value;
  if (word == "blue") colourParts_[2] = value;
}

void RtfParser::ColourTableText(unsigned char byte) {
  if (byte != ';') return;
  // An entry without any part is the automatic colour.
  if (colourParts_ == std::array<int, 3>{-1, -1, -1}) {
    colours_.push_back(QColor());
  } else {
    colours_.push_back(QColor(std::max(colourParts_[0], 0), std::max(colourParts_[1], 0),
                              std::max(colourParts_[2], 0)));
  }
  colourParts_ = {-1, -1, -1};
}

// ---------------------------------------------------------------------------
// Writing the collected blocks.

double TwipsToPixels(int twips) {
  return twips / 15.0;
}

class DocumentWriter {
 public:
  DocumentWriter(QTextDocument& document, const std::map<int, FontEntry>& fonts,
                 const std::vector<QColor>& colours)
      : document_(document), fonts_(fonts), colours_(colours) {}

  void WriteParagraph(QTextCursor& cursor, const Paragraph& paragraph, bool newBlock) const {
    const QTextBlockFormat format = BlockFormat(paragraph.style);
    const QTextCharFormat endFormat = CharFormat(paragraph.endStyle);
    if (newBlock) {
      cursor.insertBlock(format, endFormat);
    } else {
      cursor.setBlockFormat(format);
      cursor.setBlockCharFormat(endFormat);
    }
    for (const Run& run : paragraph.runs) cursor.insertText(run.text, CharFormat(run.style));
  }

  void WriteTable(QTextCursor& cursor, const Table& table, bool newBlock) const {
    int columns = 1;
    for (const Row& row : table.rows)
      columns = std::max(columns, static_cast<int>(row.cells.size()));
    const int rows = static_cast<int>(table.rows.size());

    QTextTableFormat format;
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    const std::vector<int>& edges = table.rows.front().rightEdgesTwips;
    format.setLeftMargin(TwipsToPixels(table.rows.front().leftTwips));
    if (static_cast<int>(edges.size()) == columns) {
      QList<QTextLength> widths;
      int left = table.rows.front().leftTwips;
      for (int edge : edges) {
        widths << QTextLength(QTextLength::FixedLength, std::max(8.0, TwipsToPixels(edge - left)));
        left = edge;
      }
      format.setColumnWidthConstraints(widths);
    }
    if (newBlock) cursor.insertBlock();
    QTextTable* written = cursor.insertTable(rows, columns, format);
    for (int r = 0; r < rows; ++r) {
      const Row& row = table.rows[static_cast<size_t>(r)];
      for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
        QTextCursor cellCursor = written->cellAt(r, c).firstCursorPosition();
        bool first = true;
        for (const Paragraph& p : row.cells[static_cast<size_t>(c)].paragraphs) {
          WriteParagraph(cellCursor, p, !first);
          first = false;
        }
      }
    }
    cursor = QTextCursor(&document_);
    cursor.movePosition(QTextCursor::End);
  }

 private:
  QTextBlockFormat BlockFormat(const ParaStyle& style) const {
    QTextBlockFormat format;
    format.setAlignment(style.align);
    format.setLeftMargin(std::max(0.0, TwipsToPixels(style.leftTwips)));
    format.setRightMargin(std::max(0.0, TwipsToPixels(style.rightTwips)));
    format.setTextIndent(TwipsToPixels(style.firstLineTwips));
    format.setTopMargin(TwipsToPixels(style.spaceBeforeTwips));
    format.setBottomMargin(TwipsToPixels(style.spaceAfterTwips));
    return format;
  }

  QTextCharFormat CharFormat(const CharStyle& style) const {
    QTextCharFormat format;
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.italic);
    format.setFontUnderline(style.underline);
    format.setFontStrikeOut(style.strike);
    format.setFontPointSize(style.halfPoints / 2.0);
    if (style.vertical > 0) format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (style.vertical < 0) format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (auto font = fonts_.find(style.font); font != fonts_.end() && !font->second.name.isEmpty()) {
      format.setFontFamilies({font->second.name});
    }
    if (style.colour > 0 && style.colour < static_cast<int>(colours_.size()) &&
        colours_[static_cast<size_t>(style.colour)].isValid()) {
      format.setForeground(colours_[static_cast<size_t>(style.colour)]);
    }
    return format;
  }

  QTextDocument& document_;
  const std::map<int, FontEntry>& fonts_;
  const std::vector<QColor>& colours_;
};

void RtfParser::Write(QTextDocument& document) const {
  document.clear();
  if (auto font = fonts_.find(defaultFont_); font != fonts_.end() && !font->second.name.isEmpty()) {
    QFont base = document.defaultFont();
    base.setFamilies({font->second.name});
    document.setDefaultFont(base);
  }
  DocumentWriter writer(document, fonts_, colours_);
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  // The first block and the block that follows a table already exist.
  bool blockIsFresh = true;
  for (const Block& block : blocks_) {
    if (block.paragraph) {
      writer.WriteParagraph(cursor, *block.paragraph, !blockIsFresh);
      blockIsFresh = false;
    }
    if (block.table) {
      writer.WriteTable(cursor, *block.table, !blockIsFresh);
      blockIsFresh = true;
    }
  }
  cursor.endEditBlock();
}

}  // namespace

void ReadRtf(std::string_view rtf, QTextDocument& document) {
  RtfParser parser(rtf);
  parser.Parse();
  parser.Write(document);
}

}  // namespace zelv
