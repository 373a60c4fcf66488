// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a word aloud. The game asks for it after a right pick and on
// request; an implementation that cannot speak (no engine, no voice for the
// language, no sound device) stays silent, since a game for children must go
// on without an error box.
#pragma once

#include <QLocale>
#include <QString>

namespace bildwort {

class WordSpeaker {
 public:
  virtual ~WordSpeaker() = default;

  // Speaks `word` with a voice for the language of `locale`, stopping a word
  // still being spoken.
  virtual void Speak(const QString& word, const QLocale& locale) = 0;

  // Starts the speech engine ahead of the first word, so that the first
  // word comes at once rather than after the engine's start-up.
  virtual void Prepare() {}
};

}  // namespace bildwort
