// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_store.h"

namespace numora {

QString CleanProfileName(const QString& name) {
  QString clean;
  clean.reserve(name.size());
  for (const QChar c : name) {
    if (c.category() != QChar::Other_Control && c != QChar::LineSeparator &&
        c != QChar::ParagraphSeparator) {
      clean += c;
    }
  }
  clean = clean.trimmed();
  if (clean.size() > kProfileNameMax) {
    clean.truncate(kProfileNameMax);
    // Never end inside a surrogate pair.
    if (clean.back().isHighSurrogate()) clean.chop(1);
    clean = clean.trimmed();
  }
  return clean;
}

TaskKind ClassifyTerm(const QString& term) {
  return ClassifyTask(term.toLatin1().toStdString());
}

}  // namespace numora
