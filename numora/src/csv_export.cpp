// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "csv_export.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <limits>
#include <map>

namespace numora {
namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("numora::CsvExport", text);
}

const char* StateName(RoundState state) {
  switch (state) {
    case RoundState::Finished:
      return QT_TRANSLATE_NOOP("numora::CsvExport", "beendet");
    case RoundState::Abandoned:
      return QT_TRANSLATE_NOOP("numora::CsvExport", "abgebrochen");
    case RoundState::OpenAtClose:
      return QT_TRANSLATE_NOOP("numora::CsvExport", "offen beim Beenden");
    case RoundState::Open:
      break;
  }
  return QT_TRANSLATE_NOOP("numora::CsvExport", "offen");
}

}  // namespace

QString CsvTextCell(const QString& text) {
  QString cell = text;
  // Also a tab or carriage return first: some spreadsheets skip them and
  // then see the formula behind.
  if (!cell.isEmpty() && QStringLiteral("=+-@\t\r").contains(cell.front())) cell.prepend(u'\'');
  cell.replace(u'"', QStringLiteral("\"\""));
  return u'"' + cell + u'"';
}

bool WriteProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, QIODevice& out) {
  const QStringList header = {Tr("Kind"),
                              Tr("Beginn der Runde"),
                              Tr("Stufe"),
                              Tr("Runde"),
                              Tr("Übung"),
                              Tr("Platz"),
                              Tr("Aufgabe"),
                              Tr("Ergebnis"),
                              Tr("Art"),
                              Tr("Antworten"),
                              Tr("Falsche Antworten"),
                              Tr("Gelöst"),
                              Tr("Sekunden bis gelöst")};
  QStringList headerCells;
  for (const QString& name : header) headerCells << CsvTextCell(name);
  QByteArray bytes = "\xEF\xBB\xBF";
  bytes += headerCells.join(u';').toUtf8() + "\r\n";
  if (out.write(bytes) != bytes.size()) return false;

  bool ok = true;
  for (const ProfileInfo& info : store.Profiles()) {
    if (profile && info.Id != *profile) continue;
    // The rounds' states, by round.
    std::map<RoundId, StoredRound> rounds;
    for (const StoredRound& round :
         store.Rounds(info.Id, 0, std::numeric_limits<StoreTime>::max())) {
      rounds[round.Id] = round;
    }
    const QString name = CsvTextCell(info.Name);
    // The 15 tasks of a round share its start: convert each time once.
    StoreTime shownStart = std::numeric_limits<StoreTime>::min();
    QString shownText;
    store.ForEachTask(
        info.Id, 0, std::numeric_limits<StoreTime>::max(), [&](const StoredTask& task) {
          if (!ok) return;
          const StoredRound& round = rounds[task.Round];
          if (task.RoundStart != shownStart) {
            shownStart = task.RoundStart;
            shownText = QDateTime::fromMSecsSinceEpoch(task.RoundStart)
                            .toLocalTime()
                            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
          }
          const QStringList cells = {
              name,
              shownText,
              CsvTextCell(QString::fromLatin1(LevelName(task.Level))),
              CsvTextCell(Tr(StateName(round.State))),
              round.Practice ? QStringLiteral("1") : QStringLiteral("0"),
              QString::number(task.Slot + 1),
              CsvTextCell(QString::fromLatin1(task.Term.c_str())),
              QString::number(task.Expected),
              CsvTextCell(QCoreApplication::translate("numora::TaskKind", TaskKindName(task.Kind))),
              CsvTextCell(task.Answers.join(QStringLiteral(" | "))),
              QString::number(task.WrongAnswers),
              task.Solved ? QStringLiteral("1") : QStringLiteral("0"),
              task.Solved ? QString::number(task.SecondsToSolve) : QString()};
          const QByteArray line = cells.join(u';').toUtf8() + "\r\n";
          ok = out.write(line) == line.size();
        });
    if (!ok) return false;
  }
  return true;
}

bool ExportProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, const QString& path,
                       QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !WriteProgressCsv(store, profile, file) ||
      !file.commit()) {
    error = Tr("Die Datei %1 konnte nicht geschrieben werden: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace numora
