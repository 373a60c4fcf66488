// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The words spoken through Qt TextToSpeech, which on Linux talks to the
// desktop's speech-dispatcher and its voices.
#pragma once

#include <QLocale>
#include <QString>
#include <memory>

#include "word_speaker.h"

class QTextToSpeech;

namespace bildwort {

class QtWordSpeaker final : public WordSpeaker {
 public:
  QtWordSpeaker();
  ~QtWordSpeaker() override;
  QtWordSpeaker(const QtWordSpeaker&) = delete;
  QtWordSpeaker& operator=(const QtWordSpeaker&) = delete;

  void Speak(const QString& word, const QLocale& locale) override;
  void Prepare() override;

  // Whether the last Speak reached a voice; false without an engine or
  // without a voice for the language.
  bool Spoke() const { return spoke_; }
  // The engine, created by Prepare or the first Speak; null before or when
  // none could be created.
  QTextToSpeech* Engine() const { return engine_.get(); }

 private:
  bool ChooseVoiceFor(const QLocale& locale);
  void StartEngine();

  std::unique_ptr<QTextToSpeech> engine_;
  bool triedEngine_ = false;
  bool spoke_ = false;
};

}  // namespace bildwort
