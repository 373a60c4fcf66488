#include "history.h"

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

QString Format(const char* firstField, const char* level, const TGameParams& counts) {
  char line[128];
  std::snprintf(line, sizeof line, "%8s %10s %9u %8u %8u %8u ", firstField, level,
                AsUnsigned(counts.Solved), AsUnsigned(counts.Points), AsUnsigned(counts.Errors),
                AsUnsigned(counts.Seconds));
  return QString::fromLatin1(line);
}

}  // namespace

QStringList HistoryLines(const std::vector<TGameParams>& rounds, const TGameParams& totals,
                         std::int32_t specialPoints, const HistoryFooter& footer) {
  QStringList lines;
  lines << QStringLiteral("   Runde     Schwierig-  gelöste  Punkte  Fehler  Sekunden")
        << QStringLiteral("             keitsstufe  Aufgaben ") << QString(60, u'-');
  for (std::size_t i = 0; i < rounds.size(); ++i) {
    // "%8u" for the position: the number right-aligned in eight places.
    const std::string position = std::to_string(i + 1);
    lines << Format(position.c_str(), LevelName(rounds[i].Difficulty), rounds[i]);
  }
  lines << QString(60, u'_') << Format("Gesamt", "", totals) << QString()
        << QStringLiteral("Sonderpunkte: ") + QString::number(specialPoints) << QString()
        << footer.Date + u' ' + footer.UserName + u'@' + footer.MachineName;
  return lines;
}

HistoryFooter CurrentHistoryFooter() {
  return {QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat),
          zelv::GetLogonUserName(), zelv::GetMachineName()};
}

}  // namespace numora
