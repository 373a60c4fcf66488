// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store_problem_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace numora {
namespace {

class Texts {
  Q_DECLARE_TR_FUNCTIONS(numora::StoreProblemText)
};

QString Native(const QString& path) {
  return QDir::toNativeSeparators(path);
}

// What a parent can do, by kind.
QString Remedy(StoreErrorKind kind) {
  switch (kind) {
    case StoreErrorKind::Unreadable:
      return Texts::tr(
          "Ein Erwachsener kann die Datei sichern und aus dem Ordner nehmen; dann legt Numora "
          "beim nächsten Start eine neue an.");
    case StoreErrorKind::NewerVersion:
      return Texts::tr(
          "Die Datei bleibt unverändert. Bitte installiere die neuere Numora-Version, die sie "
          "geschrieben hat.");
    case StoreErrorKind::FolderNotWritable:
      return Texts::tr(
          "Mit der Datei selbst ist alles in Ordnung. Ein Erwachsener kann die Schreibrechte des "
          "Ordners prüfen.");
    case StoreErrorKind::DiskFull:
      return Texts::tr("Ein Erwachsener kann auf dem Datenträger Platz schaffen.");
    case StoreErrorKind::Busy:
      return Texts::tr(
          "Ein anderes laufendes Numora hält die Datei gerade fest. Schließe es, wenn es nicht "
          "mehr gebraucht wird.");
    case StoreErrorKind::Missing:
    case StoreErrorKind::Other:
      break;
  }
  return Texts::tr(
      "Wenn das bleibt, kann ein Erwachsener Numora neu starten und die folgende Angabe "
      "weitergeben.");
}

QString Detail(const StoreError& error) {
  if (error.Detail.isEmpty()) return {};
  //: The store's own words about a problem, for someone who can help.
  return QLatin1Char(' ') + Texts::tr("(Angabe: %1)").arg(error.Detail);
}

}  // namespace

QString StoreErrorSentence(const StoreError& error, const QString& where) {
  switch (error.Kind) {
    case StoreErrorKind::Unreadable:
      return Texts::tr("Die Datei mit dem Lernfortschritt (%1) ist beschädigt.").arg(Native(where));
    case StoreErrorKind::NewerVersion:
      return Texts::tr(
                 "Die Datei mit dem Lernfortschritt (%1) stammt von einer neueren "
                 "Numora-Version.")
          .arg(Native(where));
    case StoreErrorKind::FolderNotWritable: {
      const QFileInfo info(where);
      const QString folder = info.isDir() ? where : info.absolutePath();
      return Texts::tr("Der Ordner %1 ist nicht beschreibbar.").arg(Native(folder));
    }
    case StoreErrorKind::DiskFull:
      return Texts::tr("Der Datenträger mit dem Lernfortschritt (%1) ist voll.").arg(Native(where));
    case StoreErrorKind::Busy:
      return Texts::tr(
                 "Die Datei mit dem Lernfortschritt (%1) wird gerade von einem anderen Numora "
                 "benutzt.")
          .arg(Native(where));
    case StoreErrorKind::Missing:
      return Texts::tr("Das Kind, für das gespeichert werden sollte, gibt es nicht mehr.");
    case StoreErrorKind::Other:
      break;
  }
  return Texts::tr("Die Datei mit dem Lernfortschritt (%1) kann gerade nicht benutzt werden.")
      .arg(Native(where));
}

QString StoreProblemText(const StoreProblem& problem) {
  const StoreError& error = problem.Error;
  const QString what = StoreErrorSentence(error, problem.Path);
  switch (problem.Event) {
    case StoreEvent::SetAside:
      return Texts::tr(
                 "Die Datei mit dem Lernfortschritt war beschädigt. Sie wurde unverändert als %1 "
                 "beiseitegelegt, und der Lernfortschritt wird ab jetzt in einer neuen Datei "
                 "gespeichert. Du kannst weiter üben.")
                 .arg(Native(problem.Path)) +
             Detail(error);
    case StoreEvent::DamagedButInUse:
      return what + QLatin1Char(' ') +
             Texts::tr(
                 "Ein anderes laufendes Numora benutzt sie noch, darum bleibt sie, wo sie ist. "
                 "Du kannst weiter üben, aber bis Numora neu gestartet wird, wird nichts "
                 "gespeichert. Schließe dafür zuerst das andere Numora.") +
             Detail(error);
    case StoreEvent::NotSaving:
      return what + QLatin1Char(' ') +
             Texts::tr(
                 "Du kannst weiter üben: Deine Antworten werden aufgehoben und gespeichert, "
                 "sobald es wieder geht.") +
             QLatin1Char(' ') + Remedy(error.Kind) + Detail(error);
    case StoreEvent::SavingAgain:
      return Texts::tr("Der Lernfortschritt wird wieder gespeichert.");
    case StoreEvent::ProfileGone:
      return Texts::tr("Das Kind, das gerade übt, wurde in einem anderen Numora gelöscht.");
    case StoreEvent::ReadFailed:
      return what + QLatin1Char(' ') + Texts::tr("Was Numora zeigt, ist darum nicht vollständig.") +
             QLatin1Char(' ') + Remedy(error.Kind) + Detail(error);
    case StoreEvent::NotOpened:
      break;
  }
  return what + QLatin1Char(' ') +
         Texts::tr("Du kannst weiter üben, aber heute wird nichts gespeichert.") +
         QLatin1Char(' ') + Remedy(error.Kind) + Detail(error);
}

QString ProfileGoneText(const QString& gone, const QString& now) {
  return Texts::tr(
             "„%1“ wurde in einem anderen laufenden Numora gelöscht. Für „%1“ wird nichts mehr "
             "gespeichert; jetzt übt „%2“.")
      .arg(gone, now);
}

QString NotSavingSignText() {
  //: Short: the main window's sign while nothing is saved.
  return Texts::tr("Speichert nicht");
}

QString NotSavingSignDescription() {
  return Texts::tr(
      "Der Lernfortschritt wird gerade nicht gespeichert; die Antworten werden aufgehoben.");
}

}  // namespace numora
