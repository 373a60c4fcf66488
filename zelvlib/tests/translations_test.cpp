// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

#include "zelvlib/gui_test_main.h"

namespace {

struct LanguageCase {
  QStringList uiLanguages;
  QString expected;
};

TEST(ChooseLanguage, FirstPreferredLanguageWithACatalogueOrTheSource) {
  // Catalogues for English and for Brazilian Portuguese only.
  const QSet<QString> available = {QStringLiteral("en"), QStringLiteral("pt_BR")};
  const auto has = [&available](const QString& name) { return available.contains(name); };
  const LanguageCase cases[] = {
      {{}, QStringLiteral("de")},
      {{QStringLiteral("C")}, QStringLiteral("de")},
      {{QStringLiteral("en-US"), QStringLiteral("en")}, QStringLiteral("en")},
      {{QStringLiteral("en_GB.UTF-8")}, QStringLiteral("en")},
      {{QStringLiteral("de-AT"), QStringLiteral("en")}, QStringLiteral("de")},
      {{QStringLiteral("DE")}, QStringLiteral("de")},
      // Unknown languages are passed over, not taken as the source language.
      {{QStringLiteral("fr-FR"), QStringLiteral("en-US")}, QStringLiteral("en")},
      {{QStringLiteral("fr-FR")}, QStringLiteral("de")},
      {{QStringLiteral("pt-BR")}, QStringLiteral("pt_BR")},
      {{QStringLiteral("pt-PT")}, QStringLiteral("de")},
      {{QStringLiteral("sr_RS@latin")}, QStringLiteral("de")},
  };
  for (const LanguageCase& c : cases) {
    EXPECT_EQ(zelv::ChooseLanguage(c.uiLanguages, has), c.expected)
        << qPrintable(c.uiLanguages.join(u','));
  }
}

TEST(ProgramTranslations, EnglishUserGetsTheSharedDialogTextsInEnglish) {
  const QString cancel = QStringLiteral("Abbrechen");
  {
    zelv::ProgramTranslations translations({QStringLiteral("zelvlib")}, {QStringLiteral("en-US")});
    EXPECT_EQ(translations.Language(), QStringLiteral("en"));
    EXPECT_EQ(QCoreApplication::translate("zelv::UserDialogs", "Abbrechen"),
              QStringLiteral("Cancel"));
  }
  // Gone with the object.
  EXPECT_EQ(QCoreApplication::translate("zelv::UserDialogs", "Abbrechen"), cancel);
}

TEST(ProgramTranslations, GermanOrUnknownLanguagesInstallNothing) {
  for (const QString& language : {QStringLiteral("de-DE"), QStringLiteral("C")}) {
    zelv::ProgramTranslations translations({QStringLiteral("zelvlib")}, {language});
    EXPECT_EQ(translations.Language(), QStringLiteral("de"));
    EXPECT_EQ(QCoreApplication::translate("zelv::UserDialogs", "Nein"), QStringLiteral("Nein"));
  }
}

// Qt's own dialogs speak the interface language, German included (the
// catalogues come with the system: qt6-translations-l10n).
TEST(ProgramTranslations, QtsOwnTextsFollowTheInterfaceLanguage) {
  struct Case {
    const char* language;
    const char* lookIn;
    const char* print;
  };
  const Case cases[] = {{"de-DE", "Suchen in:", "Drucken"},
                        {"C", "Suchen in:", "Drucken"},
                        {"en-GB", "Look in:", "Print"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    zelv::ProgramTranslations translations({QStringLiteral("zelvlib")},
                                           {QString::fromLatin1(c.language)});
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8(c.lookIn));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QString::fromUtf8(c.print));
  }
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

}  // namespace
