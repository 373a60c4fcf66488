// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "csv_export.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <limits>
#include <unordered_map>
#include <utility>

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
    case RoundState::AbandonedByExit:
      return QT_TRANSLATE_NOOP("numora::CsvExport", "abgebrochen (Programmende)");
    case RoundState::Open:
      break;
  }
  return QT_TRANSLATE_NOOP("numora::CsvExport", "offen");
}

constexpr const char* kHeader[] = {QT_TRANSLATE_NOOP("numora::CsvExport", "Kind"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Beginn der Runde"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Stufe"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Runde"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Übung"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Platz"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Aufgabe"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Ergebnis"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Art"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Antworten"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Falsche Antworten"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Gelöst"),
                                   QT_TRANSLATE_NOOP("numora::CsvExport", "Sekunden bis gelöst")};

// Appends text (UTF-8) as one quoted cell. Also a tab or carriage return
// first is defused: some spreadsheets skip them and then see the formula
// behind.
void AppendTextCell(QByteArray& line, QByteArrayView utf8) {
  line += '"';
  if (!utf8.isEmpty() && QByteArrayView("=+-@\t\r").contains(utf8.front())) line += '\'';
  for (const char c : utf8) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

QByteArray TextCell(const QString& text) {
  QByteArray cell;
  AppendTextCell(cell, text.toUtf8());
  return cell;
}

void AppendNumber(QByteArray& line, std::int64_t number) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  line.append(digits, end - digits);
}

// The cells that repeat on many rows, made once: levels, round states and
// kinds of task.
struct RepeatedCells {
  RepeatedCells() {
    for (int level = 0; level < kLevelCount; ++level) {
      // The windows' translation of the level names (context of the main window).
      Levels[static_cast<std::size_t>(level)] = TextCell(
          QCoreApplication::translate("numora::TForm1", LevelName(static_cast<TLevel>(level))));
    }
    for (const RoundState state : {RoundState::Open, RoundState::Finished, RoundState::Abandoned,
                                   RoundState::OpenAtClose, RoundState::AbandonedByExit}) {
      States[static_cast<std::size_t>(state)] = TextCell(Tr(StateName(state)));
    }
    for (int kind = 0; kind < kTaskKindCount; ++kind) {
      Kinds[static_cast<std::size_t>(kind)] = TextCell(QCoreApplication::translate(
          "numora::TaskKind", TaskKindName(static_cast<TaskKind>(kind))));
    }
  }
  template <std::size_t N>
  static QByteArrayView Pick(const std::array<QByteArray, N>& cells, std::size_t index) {
    return index < N ? QByteArrayView(cells[index]) : QByteArrayView("\"\"");
  }
  std::array<QByteArray, kLevelCount> Levels;
  std::array<QByteArray, kRoundStateCount> States;
  std::array<QByteArray, kTaskKindCount> Kinds;
};

// Collects the rows and hands them to the device in large pieces.
class RowWriter {
 public:
  explicit RowWriter(QIODevice& out) : out_(out) { buffer_.reserve(kChunk + 4096); }
  QByteArray& Line() { return buffer_; }
  // Ends the row; false once the device has failed.
  bool EndRow() {
    buffer_ += "\r\n";
    return buffer_.size() < kChunk || Flush();
  }
  bool Flush() {
    ok_ = ok_ && out_.write(buffer_) == buffer_.size();
    buffer_.clear();
    return ok_;
  }

 private:
  static constexpr qsizetype kChunk = 1 << 18;
  QIODevice& out_;
  QByteArray buffer_;
  bool ok_ = true;
};

}  // namespace

QString CsvTextCell(const QString& text) {
  return QString::fromUtf8(TextCell(text));
}

bool WriteProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, QIODevice& out) {
  RowWriter writer(out);
  QByteArray& line = writer.Line();
  line += "\xEF\xBB\xBF";
  for (const char* name : kHeader) {
    if (name != kHeader[0]) line += ';';
    AppendTextCell(line, Tr(name).toUtf8());
  }
  if (!writer.EndRow()) return false;

  const RepeatedCells repeated;
  bool ok = true;
  const StoreResult<std::vector<ProfileInfo>> profiles = store.Profiles();
  if (!profiles) return false;
  for (const ProfileInfo& info : *profiles) {
    if (profile && info.Id != *profile) continue;
    // The rounds' states and practice marks, by round.
    std::unordered_map<RoundId, std::pair<RoundState, bool>> rounds;
    const StoreResult<std::vector<StoredRound>> stored =
        store.Rounds(info.Id, 0, std::numeric_limits<StoreTime>::max());
    if (!stored) return false;
    for (const StoredRound& round : *stored) {
      rounds[round.Id] = {round.State, round.Practice};
    }
    const QByteArray name = TextCell(info.Name);
    // The 15 tasks of a round share its start and state: made once a round.
    RoundId shownRound = -1;
    QByteArray roundCells;
    const StoreStatus read = store.ForEachTask(
        info.Id, 0, std::numeric_limits<StoreTime>::max(), [&](const StoredTask& task) {
          if (!ok) return;
          if (task.Round != shownRound) {
            shownRound = task.Round;
            const auto found = rounds.find(task.Round);
            const std::pair<RoundState, bool> round =
                found != rounds.end() ? found->second : std::pair{RoundState::Open, false};
            roundCells = QDateTime::fromMSecsSinceEpoch(task.RoundStart)
                             .toLocalTime()
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                             .toUtf8();
            roundCells += ';';
            roundCells += RepeatedCells::Pick(repeated.Levels, task.Level);
            roundCells += ';';
            roundCells +=
                RepeatedCells::Pick(repeated.States, static_cast<std::size_t>(round.first));
            roundCells += round.second ? ";1;" : ";0;";
          }
          line += name;
          line += ';';
          line += roundCells;
          AppendNumber(line, task.Slot + 1);
          line += ';';
          AppendTextCell(line, task.Term.toUtf8());
          line += ';';
          AppendNumber(line, task.Expected);
          line += ';';
          line += RepeatedCells::Pick(repeated.Kinds, static_cast<std::size_t>(task.Kind));
          line += ';';
          AppendTextCell(line, task.Answers.join(QStringLiteral(" | ")).toUtf8());
          line += ';';
          AppendNumber(line, task.WrongAnswers);
          line += task.Solved ? ";1;" : ";0;";
          if (task.Solved) AppendNumber(line, task.SecondsToSolve);
          ok = writer.EndRow();
        });
    if (!ok || !read) return false;
  }
  return writer.Flush();
}

bool ExportProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, const QString& path,
                       QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !WriteProgressCsv(store, profile, file) ||
      !file.commit()) {
    error = QCoreApplication::translate("numora::CsvExport",
                                        "Die Datei %1 konnte nicht geschrieben werden: %2")
                .arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace numora
