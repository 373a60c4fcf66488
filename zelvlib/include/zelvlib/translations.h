// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the programs' interface. German is the language the texts
// are written in and the one shown when the user prefers no language that
// has a catalogue; other languages come from Qt Linguist catalogues (.qm)
// compiled into the programs under ":/i18n/<catalogue>_<language>.qm".
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QTranslator;

namespace zelv {

// The language the programs' texts are written in.
QString SourceLanguage();

// The user's interface languages, most preferred first ("en-GB", "de-DE"),
// as the system states them (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). Asked of
// the system locale because the start-up step makes the default locale C.
QStringList SystemUiLanguages();

// The language to show: the first of uiLanguages that is the source language
// or has a catalogue (hasCatalogue("en_GB")). A regional name falls back to
// its language ("en-GB" -> "en_GB" -> "en"). The source language when none
// matches, e.g. for "C" or "fr-FR" without a French catalogue.
QString ChooseLanguage(const QStringList& uiLanguages,
                       const std::function<bool(const QString&)>& hasCatalogue);

// The resource path of a catalogue in a language.
QString CataloguePath(const QString& catalogue, const QString& language);

// Installs the translators of a program for as long as it lives: zelvlib's
// own catalogue and the given ones (base names such as "numora"), in the
// language chosen from uiLanguages by the first catalogue, and Qt's own
// catalogue of that language where the system has it. Create it after
// the QApplication and before any window.
class ProgramTranslations {
 public:
  explicit ProgramTranslations(const QStringList& catalogues,
                               const QStringList& uiLanguages = SystemUiLanguages());
  ~ProgramTranslations();
  ProgramTranslations(const ProgramTranslations&) = delete;
  ProgramTranslations& operator=(const ProgramTranslations&) = delete;

  // The chosen language ("de", "en").
  QString Language() const { return language_; }

 private:
  QString language_;
  std::vector<std::unique_ptr<QTranslator>> translators_;
};

}  // namespace zelv
