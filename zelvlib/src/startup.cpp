// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/startup.h"

#include <QLocale>
#include <QtGlobal>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace zelv {

namespace {

// A fatal run-time error ends the program silently: a child at the screen can
// do nothing with a technical error box, and neither program keeps a log.
// Warnings, debug and info messages keep Qt's usual handling (stderr).
QtMessageHandler previousHandler = nullptr;

void SilentFatalHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // Qt calls abort() itself after the handler returns; ending here with a
    // failure status skips the core-dump notice and any crash-report dialog
    // a desktop session may attach to SIGABRT.
    std::_Exit(EXIT_FAILURE);
  }
  if (previousHandler) {
    previousHandler(type, context, text);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
  }
}

}  // namespace

void RunStartupStep() {
  // Both the C/C++ runtime (printf, strtod, std::to_string) and Qt's own
  // conversions (QString::number, QString::toDouble, QLocale()) then write and
  // read "." whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());

  static bool installed = false;
  if (!installed) {
    installed = true;
    QtMessageHandler old = qInstallMessageHandler(SilentFatalHandler);
    previousHandler = old;
  }
}

}  // namespace zelv
