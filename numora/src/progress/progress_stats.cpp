// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_stats.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

namespace numora {
namespace {

// The texts' translation context.
class ProgressTexts {
  Q_DECLARE_TR_FUNCTIONS(numora::ProgressStats)
};

QDate FirstDayOf(ProgressPeriod period, QDate today, std::optional<QDate> firstPractice) {
  switch (period) {
    case ProgressPeriod::FourWeeks:
      return today.addDays(-27);
    case ProgressPeriod::ThreeMonths:
      return today.addMonths(-3).addDays(1);
    case ProgressPeriod::Year:
      return today.addYears(-1).addDays(1);
    case ProgressPeriod::All:
      break;
  }
  return firstPractice && *firstPractice < today ? *firstPractice : today;
}

StoreTime StartOf(QDate day, const QTimeZone& zone) {
  return day.startOfDay(zone).toMSecsSinceEpoch();
}

}  // namespace

std::optional<double> FirstTryShare::Percent() const {
  if (Tasks <= 0) return std::nullopt;
  return 100.0 * static_cast<double>(Right) / static_cast<double>(Tasks);
}

std::optional<double> SolvingTime::SecondsPerTask() const {
  if (Solved <= 0) return std::nullopt;
  return static_cast<double>(Seconds) / static_cast<double>(Solved);
}

ProgressStats ComputeProgress(ProgressStore& store, const ProgressQuery& query) {
  ProgressStats stats;
  stats.Step = query.Step;
  const QDate today = query.Now.toTimeZone(query.Zone).date();
  std::optional<QDate> firstPractice;
  if (query.Period == ProgressPeriod::All) {
    const StoreResult<std::optional<StoreTime>> first = store.FirstRoundStart(query.Profile);
    if (!first) stats.ReadError = first.Error();
    if (first && *first) firstPractice = QDateTime::fromMSecsSinceEpoch(**first, query.Zone).date();
  }
  stats.LastDay = today;
  stats.FirstDay = FirstDayOf(query.Period, today, firstPractice);
  // Weeks are whole weeks from Monday, so that each point of a chart stands
  // for the same number of days.
  QDate spanDay = stats.FirstDay;
  if (query.Step == ProgressStep::Week) {
    spanDay = spanDay.addDays(1 - spanDay.dayOfWeek());
    stats.FirstDay = spanDay;
  }
  const int step = query.Step == ProgressStep::Week ? 7 : 1;
  TimeSpans spans;
  for (; spanDay <= today; spanDay = spanDay.addDays(step)) {
    ProgressSpan span;
    span.First = spanDay;
    span.Start = StartOf(spanDay, query.Zone);
    stats.Spans.push_back(span);
    spans.Starts.push_back(span.Start);
  }
  spans.End = StartOf(today.addDays(1), query.Zone);

  const auto failed = [&](const auto& result) {
    if (!result && !stats.ReadError) stats.ReadError = result.Error();
  };
  const StoreResult<std::vector<RoundSums>> roundResult = store.SumRounds(query.Profile, spans);
  failed(roundResult);
  const std::vector<RoundSums> rounds = roundResult.ValueOr({});
  for (std::size_t i = 0; i < rounds.size() && i < stats.Spans.size(); ++i) {
    stats.Spans[i].Rounds = rounds[i];
    stats.Totals.Rounds += rounds[i].Rounds;
    stats.Totals.Points += rounds[i].Points;
    stats.Totals.Solved += rounds[i].Solved;
    stats.Totals.Errors += rounds[i].Errors;
    stats.Totals.Seconds += rounds[i].Seconds;
  }
  const StoreResult<std::vector<TaskSums>> taskResult = store.SumTasks(query.Profile, spans);
  failed(taskResult);
  for (const TaskSums& sums : taskResult.ValueOr({})) {
    const auto kind = static_cast<std::size_t>(sums.Kind);
    if (sums.Span < 0 || static_cast<std::size_t>(sums.Span) >= stats.Spans.size() ||
        kind >= kTaskKindCount) {
      continue;
    }
    ProgressSpan& span = stats.Spans[static_cast<std::size_t>(sums.Span)];
    span.ByKind[kind].Add(sums.RightFirstTry, sums.Tasks);
    span.Time.Solved += sums.Solved;
    span.Time.Seconds += sums.SecondsToSolve;
    stats.ByKind[kind].Add(sums.RightFirstTry, sums.Tasks);
    if (sums.Level < kLevelCount) stats.ByLevel[sums.Level].Add(sums.RightFirstTry, sums.Tasks);
    stats.Time.Solved += sums.Solved;
    stats.Time.Seconds += sums.SecondsToSolve;
  }
  const StoreResult<std::vector<WrongTerm>> missed = store.MostMissedTerms(
      query.Profile, spans.Starts.empty() ? 0 : spans.Starts[0], spans.End, kMostMissedShown);
  failed(missed);
  stats.MostMissed = missed.ValueOr({});

  int compared = 0;
  for (int k = 0; k < kTaskKindCount; ++k) {
    const FirstTryShare& share = stats.ByKind[static_cast<std::size_t>(k)];
    if (share.Tasks < kWeakestKindMinTasks) continue;
    ++compared;
    if (!stats.WeakestKind ||
        *share.Percent() < *stats.ByKind[static_cast<std::size_t>(*stats.WeakestKind)].Percent()) {
      stats.WeakestKind = static_cast<TaskKind>(k);
    }
  }
  if (compared < 2) stats.WeakestKind.reset();
  return stats;
}

QString PeriodName(ProgressPeriod period) {
  switch (period) {
    case ProgressPeriod::FourWeeks:
      return ProgressTexts::tr("die letzten 4 Wochen");
    case ProgressPeriod::ThreeMonths:
      return ProgressTexts::tr("die letzten 3 Monate");
    case ProgressPeriod::Year:
      return ProgressTexts::tr("das letzte Jahr");
    case ProgressPeriod::All:
      break;
  }
  return ProgressTexts::tr("alles seit der ersten Runde");
}

QString PeriodText(const ProgressStats& stats) {
  //: The format of a date, as QDate::toString takes it.
  const QString format = ProgressTexts::tr("dd.MM.yyyy");
  return ProgressTexts::tr("%1 bis %2")
      .arg(stats.FirstDay.toString(format), stats.LastDay.toString(format));
}

QString PercentText(double percent) {
  //: A share in per cent; %1 is a whole number.
  return ProgressTexts::tr("%1 %").arg(std::lround(percent));
}

QString DecimalText(double value) {
  QString text = QString::number(value, 'f', 1);
  //: The decimal separator in numbers such as "7,4 Sekunden".
  text.replace(QLatin1Char('.'), ProgressTexts::tr(","));
  return text;
}

QString TotalsText(const ProgressStats& stats) {
  const RoundSums& t = stats.Totals;
  // German is the source language, without plural forms of its own: one and
  // many are separate texts.
  const auto count = [](std::int64_t n, const char* one, const char* many) {
    return n == 1 ? ProgressTexts::tr(one) : ProgressTexts::tr(many).arg(n);
  };
  QStringList parts = {
      count(t.Rounds, QT_TRANSLATE_NOOP("numora::ProgressStats", "1 Runde"),
            QT_TRANSLATE_NOOP("numora::ProgressStats", "%1 Runden")),
      count(t.Solved, QT_TRANSLATE_NOOP("numora::ProgressStats", "1 gelöste Aufgabe"),
            QT_TRANSLATE_NOOP("numora::ProgressStats", "%1 gelöste Aufgaben")),
      count(t.Points, QT_TRANSLATE_NOOP("numora::ProgressStats", "1 Punkt"),
            QT_TRANSLATE_NOOP("numora::ProgressStats", "%1 Punkte")),
      count(t.Errors, QT_TRANSLATE_NOOP("numora::ProgressStats", "1 Fehler"),
            QT_TRANSLATE_NOOP("numora::ProgressStats", "%1 Fehler"))};
  if (const std::optional<double> seconds = stats.Time.SecondsPerTask()) {
    parts
        << ProgressTexts::tr("im Durchschnitt %1 Sekunden pro Aufgabe").arg(DecimalText(*seconds));
  }
  return parts.join(QStringLiteral(", "));
}

QString WeakestKindSentence(const ProgressStats& stats) {
  if (stats.Totals.Rounds == 0) return ProgressTexts::tr("In diesem Zeitraum wurde nicht geübt.");
  if (!stats.WeakestKind) {
    return ProgressTexts::tr(
        "Für einen Vergleich der Aufgabenarten gibt es in diesem Zeitraum noch zu wenige "
        "Aufgaben.");
  }
  // Whole sentences: the article and the ending of the kind's name depend on
  // the kind, in German as in other languages.
  static constexpr std::array<const char*, kTaskKindCount> sentences = {
      QT_TRANSLATE_NOOP("numora::ProgressStats",
                        "Am schwersten fallen noch die Additionen: %1 davon waren beim ersten "
                        "Versuch richtig."),
      QT_TRANSLATE_NOOP("numora::ProgressStats",
                        "Am schwersten fallen noch die Subtraktionen: %1 davon waren beim ersten "
                        "Versuch richtig."),
      QT_TRANSLATE_NOOP("numora::ProgressStats",
                        "Am schwersten fallen noch die Multiplikationen: %1 davon waren beim "
                        "ersten Versuch richtig."),
      QT_TRANSLATE_NOOP("numora::ProgressStats",
                        "Am schwersten fallen noch die Divisionen: %1 davon waren beim ersten "
                        "Versuch richtig."),
      QT_TRANSLATE_NOOP("numora::ProgressStats",
                        "Am schwersten fallen noch die gemischten Aufgaben: %1 davon waren beim "
                        "ersten Versuch richtig.")};
  const auto kind = static_cast<std::size_t>(*stats.WeakestKind);
  return ProgressTexts::tr(sentences[kind]).arg(PercentText(*stats.ByKind[kind].Percent()));
}

}  // namespace numora
