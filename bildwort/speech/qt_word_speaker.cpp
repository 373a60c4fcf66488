// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_word_speaker.h"

#include <QTextToSpeech>

namespace bildwort {

QtWordSpeaker::QtWordSpeaker() = default;

QtWordSpeaker::~QtWordSpeaker() = default;

// The engine starts when reading aloud is switched on (Prepare), or at the
// latest with the first word: with reading aloud off, the game never talks
// to the speech service at all. Its start takes seconds, which a child
// waiting for the first word must not feel.
void QtWordSpeaker::StartEngine() {
  if (triedEngine_) return;
  triedEngine_ = true;
  if (QTextToSpeech::availableEngines().isEmpty()) return;
  engine_ = std::make_unique<QTextToSpeech>();
  // A little slower than the voice's usual pace, for a child who is
  // learning to read.
  engine_->setRate(-0.25);
}

void QtWordSpeaker::Prepare() {
  StartEngine();
  // Asking for the voices makes the engine connect to the speech service
  // now, not at the first word.
  if (engine_) engine_->availableLocales();
}

void QtWordSpeaker::Speak(const QString& word, const QLocale& locale) {
  spoke_ = false;
  StartEngine();
  if (!engine_ || engine_->state() == QTextToSpeech::Error) return;
  if (!ChooseVoiceFor(locale)) return;
  engine_->stop();
  engine_->say(word);
  spoke_ = true;
}

// A voice of the word's language: the locale itself when the engine offers
// it, else another country's variant of the language (en_US for en_GB).
bool QtWordSpeaker::ChooseVoiceFor(const QLocale& locale) {
  if (engine_->locale() == locale) return true;
  const QList<QLocale> offered = engine_->availableLocales();
  if (offered.contains(locale)) {
    engine_->setLocale(locale);
    return true;
  }
  for (const QLocale& candidate : offered) {
    if (candidate.language() == locale.language()) {
      engine_->setLocale(candidate);
      return true;
    }
  }
  return false;
}

}  // namespace bildwort
