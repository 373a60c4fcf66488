// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help window when the help document is missing from the program or is
// damaged: the window still opens, shows what it can and closes, and no
// damage reaches memory (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <string_view>

#include "calc_help.h"
#include "zelvlib/gui_test_main.h"
#include "zelvlib/rtf_reader.h"

// Outside any namespace: the resource functions live in the global one.
static void RemoveHelpResource() {
  Q_CLEANUP_RESOURCE(help);
}
static void RestoreHelpResource() {
  Q_INIT_RESOURCE(help);
}

namespace {

// Unregisters the compiled-in help document for one test.
class WithoutHelpResource {
 public:
  WithoutHelpResource() { RemoveHelpResource(); }
  ~WithoutHelpResource() { RestoreHelpResource(); }
  WithoutHelpResource(const WithoutHelpResource&) = delete;
  WithoutHelpResource& operator=(const WithoutHelpResource&) = delete;
};

TEST(CalcHelpRobustness, MissingDocumentGivesAnEmptyWindowThatStillWorks) {
  {
    WithoutHelpResource missing;
    EXPECT_TRUE(numora::HelpDocumentRtf().isEmpty());
    numora::TCalcHelp help;
    EXPECT_TRUE(help.RichEdit1->document()->toPlainText().isEmpty());
    help.show();
    help.Button1Click();
    EXPECT_FALSE(help.isVisible());
  }
  // The document comes back with the resource.
  EXPECT_FALSE(numora::HelpDocumentRtf().isEmpty());
}

// The stored document cut off anywhere, or with bytes changed, still reads:
// what was read is shown and nothing of an earlier document is left.
TEST(CalcHelpRobustness, DamagedDocumentReadsWithoutHarm) {
  const QByteArray rtf = numora::HelpDocumentRtf();
  ASSERT_FALSE(rtf.isEmpty());
  QTextDocument full;
  zelv::ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())), full);
  const QString fullText = full.toPlainText();

  const qsizetype step = std::max<qsizetype>(1, rtf.size() / 200);
  for (qsizetype length = 0; length < rtf.size(); length += step) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    zelv::ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(length)), document);
    EXPECT_LE(document.toPlainText().size(), fullText.size() + 1) << "cut at " << length;
    EXPECT_FALSE(document.toPlainText().startsWith(QStringLiteral("old"))) << "cut at " << length;
  }
  // Control bytes, braces and backslashes written over the document.
  const char damage[] = {'{', '}', '\\', '\0', '\xFF', '\''};
  for (char bad : damage) {
    QByteArray broken = rtf;
    for (qsizetype at = 7; at < broken.size(); at += 61) broken[at] = bad;
    const std::string_view text(broken.constData(), static_cast<std::size_t>(broken.size()));
    QTextDocument first;
    zelv::ReadRtf(text, first);
    QTextDocument again;
    again.setPlainText(fullText);
    zelv::ReadRtf(text, again);
    EXPECT_EQ(first.toPlainText(), again.toPlainText()) << "damaged with byte " << int(bad);
  }
}

}  // namespace
