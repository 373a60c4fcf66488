// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on any bytes: no crash, no leak, within the time budget,
// and the same document for the same input, whatever the document held
// before.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "zelvlib/rtf_reader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string rtf(reinterpret_cast<const char*>(data), size);
  fuzz::WithinBudget(
      [&] {
        QTextDocument fresh;
        zelv::ReadRtf(rtf, fresh);
        QTextDocument used;
        used.setPlainText(QStringLiteral("old content\nthat must go"));
        zelv::ReadRtf(rtf, used);
        FUZZ_CHECK(fresh.toPlainText() == used.toPlainText(),
                   "reading into a used document kept old content",
                   "input \"" + fuzz::Printable(rtf) + "\"");
        zelv::ReadRtf(rtf, fresh);
        FUZZ_CHECK(fresh.toPlainText() == used.toPlainText(),
                   "reading the same input twice gave different text",
                   "input \"" + fuzz::Printable(rtf) + "\"");
      },
      rtf);
  return 0;
}
