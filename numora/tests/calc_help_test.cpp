// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_help.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <vector>

#include "zelvlib/gui_test_main.h"
#include "zelvlib/shell.h"

namespace {

using numora::TCalcHelp;

QTextTable* FirstTable(QTextDocument& document) {
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
  }
  return nullptr;
}

QString CellText(QTextTable* table, int row, int column) {
  const QTextTableCell cell = table->cellAt(row, column);
  QTextCursor cursor = cell.firstCursorPosition();
  cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
  return cursor.selectedText();
}

TEST(CalcHelp, WindowLayout) {
  TCalcHelp help;
  EXPECT_EQ(help.windowTitle(), QStringLiteral("Numora - Help"));
  EXPECT_EQ(help.size(), QSize(608, 395));
  EXPECT_EQ(help.minimumSize(), help.maximumSize());
  EXPECT_EQ(help.palette().color(QPalette::Window), QColor(255, 221, 187));
  EXPECT_EQ(help.RichEdit1->geometry(), QRect(8, 8, 593, 345));
  EXPECT_TRUE(help.RichEdit1->isReadOnly());
  EXPECT_EQ(help.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(help.Button1->geometry(), QRect(496, 360, 105, 25));
  EXPECT_EQ(help.Button1->text(), QStringLiteral("&Schließen"));
  EXPECT_FALSE(help.isVisible());
}

TEST(CalcHelp, StoredDocumentIsWindows1252Rtf) {
  const QByteArray rtf = numora::HelpDocumentRtf();
  ASSERT_FALSE(rtf.isEmpty());
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
  // Umlauts travel as \'hh escapes, so the bytes are plain ASCII.
  for (char byte : rtf) ASSERT_LT(static_cast<unsigned char>(byte), 0x80);
  EXPECT_EQ(rtf.count('{'), rtf.count('}'));
}

TEST(CalcHelp, DocumentShowsItsSectionsInOrderAsBoldHeadings) {
  TCalcHelp help;
  QTextDocument* document = help.RichEdit1->document();
  const QStringList headings = {
      QStringLiteral("Numora 1.1"),
      QStringLiteral("Allgemeines"),
      QStringLiteral("Systemvoraussetzungen"),
      QStringLiteral("Kopfrechen-Training mit Numora"),
      QStringLiteral("Das Hauptfenster"),
      QStringLiteral("Benutzte Zeichen"),
      QStringLiteral("Erfolgskontrolle"),
      QStringLiteral("Haftungsausschluss"),
  };
  int previous = -1;
  for (const QString& heading : headings) {
    QTextBlock found;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      if (block.text() == heading) {
        found = block;
        break;
      }
    }
    ASSERT_TRUE(found.isValid()) << heading.toStdString();
    EXPECT_GT(found.position(), previous) << heading.toStdString();
    previous = found.position();
    EXPECT_GE(found.begin().fragment().charFormat().fontWeight(), QFont::Bold)
        << heading.toStdString();
  }

  // The last line: right-aligned, date and author.
  QTextBlock last = document->lastBlock();
  while (last.isValid() && last.text().isEmpty()) last = last.previous();
  ASSERT_TRUE(last.isValid());
  EXPECT_TRUE(last.text().startsWith(QStringLiteral("Letzte Änderung: ")));
  EXPECT_EQ(last.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

  const QString plain = document->toPlainText();
  for (const char* word :
       {"Übungsprogramm", "Schaltflächen", "löst", "Gewährleistung", "Schäden",
        "Optionen | Schwierigkeitsstufe", "Optionen | Verlauf", "Datei | Fortschritt",
        "Datei | Kind wechseln", "Optionen | Fehler üben"}) {
    EXPECT_TRUE(plain.contains(QString::fromUtf8(word))) << word;
  }
  // No RTF leaks into the text.
  for (const char* markup : {"\\", "{", "}", "rtf1", "Arial;"}) {
    EXPECT_FALSE(plain.contains(QString::fromLatin1(markup))) << markup;
  }
}

TEST(CalcHelp, DocumentHasThePointsTable) {
  TCalcHelp help;
  QTextTable* table = FirstTable(*help.RichEdit1->document());
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rows(), 4);
  ASSERT_EQ(table->columns(), 2);
  const char* cells[4][2] = {{"Schwierigkeitsstufe", "Punkte pro Aufgabe"},
                             {"leicht", "1"},
                             {"mittel", "2"},
                             {"schwer", "5"}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 2; ++c) EXPECT_EQ(CellText(table, r, c), QString(cells[r][c])) << r << c;
  }
}

TEST(CalcHelp, CloseHidesAndTheDocumentStays) {
  TCalcHelp help;
  const QString text = help.RichEdit1->toPlainText();
  help.show();
  QTest::mouseClick(help.Button1, Qt::LeftButton);
  EXPECT_FALSE(help.isVisible());
  help.show();
  EXPECT_EQ(help.RichEdit1->toPlainText(), text);
}

struct HelpCase {
  const char* name;
  bool makeIndexFile;
  bool makeIndexFolder;
  bool expectOpened;
};

TEST(CalcHelp, F1OpensIndexHtmBesideTheProgramElseShowsTheWindow) {
  const HelpCase cases[] = {
      {"no index.htm", false, false, false},
      {"index.htm present", true, false, true},
      {"index.htm is a folder", false, true, false},
  };
  for (const HelpCase& c : cases) {
    for (bool openerAccepts : {true, false}) {
      QTemporaryDir folder;
      ASSERT_TRUE(folder.isValid());
      const QString index = QDir(folder.path()).filePath(QStringLiteral("index.htm"));
      if (c.makeIndexFile) {
        QFile file(index);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html></html>");
      }
      if (c.makeIndexFolder) {
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("index.htm")));
      }

      std::vector<QUrl> opened;
      zelv::ScopedUrlOpener opener([&](const QUrl& url) {
        opened.push_back(url);
        return openerAccepts;
      });
      QWidget owner;
      TCalcHelp help;
      numora::ShowHelp(&owner, help, folder.path());
      // Where the desktop cannot open index.htm, the window steps in.
      EXPECT_EQ(help.isVisible(), !(c.expectOpened && openerAccepts)) << c.name << openerAccepts;
      ASSERT_EQ(opened.size(), c.expectOpened ? 1u : 0u) << c.name << openerAccepts;
      if (c.expectOpened) {
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QFileInfo(index).absoluteFilePath())) << c.name;
      }
    }
  }
}

TEST(CalcHelp, F1AgainKeepsOneWindowShown) {
  QTemporaryDir folder;
  TCalcHelp help;
  numora::ShowHelp(nullptr, help, folder.path());
  numora::ShowHelp(nullptr, help, folder.path());
  EXPECT_TRUE(help.isVisible());
  EXPECT_FALSE(help.isModal());
}

}  // namespace
