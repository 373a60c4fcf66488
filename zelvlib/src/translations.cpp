// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelv {

QString SourceLanguage() {
  return QStringLiteral("de");
}

QStringList SystemUiLanguages() {
  return QLocale::system().uiLanguages();
}

QString ChooseLanguage(const QStringList& uiLanguages,
                       const std::function<bool(const QString&)>& hasCatalogue) {
  const QString source = SourceLanguage();
  for (const QString& preferred : uiLanguages) {
    // "de-AT" and "de_AT.UTF-8@euro" both come down to "de_AT", then "de".
    QString name = preferred;
    name.replace(u'-', u'_');
    name = name.section(u'.', 0, 0).section(u'@', 0, 0);
    while (!name.isEmpty()) {
      if (name.compare(source, Qt::CaseInsensitive) == 0) return source;
      if (hasCatalogue(name)) return name;
      const qsizetype cut = name.lastIndexOf(u'_');
      name.truncate(cut < 0 ? 0 : cut);
    }
  }
  return source;
}

QString CataloguePath(const QString& catalogue, const QString& language) {
  return QStringLiteral(":/i18n/%1_%2.qm").arg(catalogue, language);
}

ProgramTranslations::ProgramTranslations(const QStringList& catalogues,
                                         const QStringList& uiLanguages) {
  const QString program = catalogues.value(0, QStringLiteral("zelvlib"));
  language_ = ChooseLanguage(uiLanguages, [&program](const QString& language) {
    return QFile::exists(CataloguePath(program, language));
  });
  // Qt's own texts (the print and file dialogs, the buttons of its boxes)
  // in the same language, German included, from the system's catalogues
  // (Debian: qt6-translations-l10n); without them they stay English.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QStringLiteral("qtbase_") + language_,
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    translators_.push_back(std::move(qt));
  }
  if (language_ == SourceLanguage()) return;

  QStringList names = catalogues;
  names.prepend(QStringLiteral("zelvlib"));
  names.removeDuplicates();
  for (const QString& name : names) {
    auto translator = std::make_unique<QTranslator>();
    // A catalogue missing in this language leaves its texts in German.
    if (!translator->load(CataloguePath(name, language_))) continue;
    QCoreApplication::installTranslator(translator.get());
    translators_.push_back(std::move(translator));
  }
}

ProgramTranslations::~ProgramTranslations() {
  for (const auto& translator : translators_) QCoreApplication::removeTranslator(translator.get());
}

}  // namespace zelv
