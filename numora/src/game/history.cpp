// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <cstdio>

#include "zelvlib/user_names.h"

namespace numora {
namespace {

// The counts are printed as unsigned numbers in fixed columns; they are never
// negative in a running program.
unsigned AsUnsigned(std::int32_t value) {
  return static_cast<unsigned>(value);
}

QString Translated(const char* text) {
  return QCoreApplication::translate("numora::HistoryLines", text);
}

QString Format(const QString& firstField, const QString& level, const TGameParams& counts) {
  // The fields are plain ASCII in every interface language.
  const QByteArray first = firstField.toLatin1();
  const QByteArray levelText = level.toLatin1();
  char line[128];
  std::snprintf(line, sizeof line, "%8s %10s %9u %8u %8u %8u ", first.constData(),
                levelText.constData(), AsUnsigned(counts.Solved), AsUnsigned(counts.Points),
                AsUnsigned(counts.Errors), AsUnsigned(counts.Seconds));
  return QString::fromLatin1(line);
}

}  // namespace

QStringList HistoryLines(const std::vector<TGameParams>& rounds, const TGameParams& totals,
                         std::int32_t specialPoints, const HistoryFooter& footer) {
  QStringList lines;
  // The two heading lines stand over the columns of the round lines below;
  // a translation keeps to the same columns.
  lines
      << Translated(QT_TRANSLATE_NOOP("numora::HistoryLines",
                                      "   Runde     Schwierig-  gelöste  Punkte  Fehler  Sekunden"))
      << Translated(QT_TRANSLATE_NOOP("numora::HistoryLines", "             keitsstufe  Aufgaben "))
      << QString(60, u'-');
  for (std::size_t i = 0; i < rounds.size(); ++i) {
    // "%8u" for the position: the number right-aligned in eight places.
    const std::string position = std::to_string(i + 1);
    lines << Format(QString::fromStdString(position),
                    QCoreApplication::translate("numora::TForm1", LevelName(rounds[i].Difficulty)),
                    rounds[i]);
  }
  lines << QString(60, u'_')
        << Format(Translated(QT_TRANSLATE_NOOP("numora::HistoryLines", "Gesamt")), QString(),
                  totals)
        << QString()
        << Translated(QT_TRANSLATE_NOOP("numora::HistoryLines", "Sonderpunkte: %1"))
               .arg(specialPoints)
        << QString() << footer.Date + u' ' + footer.UserName + u'@' + footer.MachineName;
  return lines;
}

HistoryFooter CurrentHistoryFooter() {
  return {QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat),
          zelv::GetLogonUserName(), zelv::GetMachineName()};
}

}  // namespace numora
