// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "spoken_task.h"

#include <QCoreApplication>
#include <QStringList>

namespace numora {

namespace {

// The word for an operator or parenthesis, or an empty text.
QString Word(QChar symbol) {
  switch (symbol.unicode()) {
    case u'+':
      return QCoreApplication::translate("numora::SpokenTask", "plus");
    case u'-':
      return QCoreApplication::translate("numora::SpokenTask", "minus");
    case u'*':
      return QCoreApplication::translate("numora::SpokenTask", "mal");
    case u'/':
    case u':':
      return QCoreApplication::translate("numora::SpokenTask", "geteilt durch");
    case u'^':
      return QCoreApplication::translate("numora::SpokenTask", "hoch");
    case u'(':
      return QCoreApplication::translate("numora::SpokenTask", "Klammer auf");
    case u')':
      return QCoreApplication::translate("numora::SpokenTask", "Klammer zu");
    default:
      return {};
  }
}

}  // namespace

QString SpokenTask(const QString& text) {
  QStringList words;
  QString number;
  for (QChar c : text) {
    if (c.isSpace()) continue;
    const QString word = Word(c);
    if (word.isEmpty()) {
      number += c;
      continue;
    }
    if (!number.isEmpty()) words << number;
    number.clear();
    words << word;
  }
  if (!number.isEmpty()) words << number;
  return words.join(u' ');
}

}  // namespace numora
