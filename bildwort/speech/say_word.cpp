// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Says one word through the game's own speaker, for checking the real sound
// path: bildwort_say_word <word> <de|en> [prepare-ms]. With prepare-ms the
// engine is started first, as the game does when reading aloud is switched
// on, and the word follows that many milliseconds later; the moment it is
// asked for is printed (milliseconds since the epoch), so that a recording
// can tell how long the word takes to sound. Ends when the word has been
// spoken (0), or at once without an engine or a voice for the language (2),
// or after ten seconds without an end of speech (3).
#include <QCoreApplication>
#include <QDateTime>
#include <QTextToSpeech>
#include <QTimer>
#include <cstdio>

#include "qt_word_speaker.h"
#include "reading_game.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fputs("usage: bildwort_say_word <word> <de|en> [prepare-ms]\n", stderr);
    return 1;
  }
  const QString word = QString::fromLocal8Bit(argv[1]);
  const bildwort::Language language =
      qstrcmp(argv[2], "en") == 0 ? bildwort::Language::English : bildwort::Language::German;
  bildwort::QtWordSpeaker speaker;
  if (argc == 4) {
    speaker.Prepare();
    QTimer::singleShot(QString::fromLatin1(argv[3]).toInt(), &app,
                       [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
  std::fprintf(stderr, "bildwort_say_word: asked at %lld\n",
               static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
  speaker.Speak(word, bildwort::WordLocale(language));
  if (!speaker.Spoke()) {
    std::fputs("bildwort_say_word: no speech engine or no voice for the language\n", stderr);
    return 2;
  }
  QTextToSpeech* engine = speaker.Engine();
  std::fprintf(stderr, "bildwort_say_word: engine %s, voice %s, %s\n",
               qPrintable(QTextToSpeech::availableEngines().join(QLatin1Char(','))),
               qPrintable(engine->voice().name()), qPrintable(engine->locale().name()));
  bool started = engine->state() == QTextToSpeech::Speaking;
  QObject::connect(engine, &QTextToSpeech::stateChanged, &app,
                   [&started](QTextToSpeech::State state) {
                     if (state == QTextToSpeech::Speaking) started = true;
                     if (started && state == QTextToSpeech::Ready) QCoreApplication::exit(0);
                     if (state == QTextToSpeech::Error) QCoreApplication::exit(3);
                   });
  QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(3); });
  return QCoreApplication::exec();
}
