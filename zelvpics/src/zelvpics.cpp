// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvpics/zelvpics.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The texts are German; a program whose interface is in another language
// brings their translations in its own catalogue, under this context.
QString Tr(const char* text) {
  return QCoreApplication::translate("zelvpics", text);
}

// The dialogs belong to whichever window of the program is active, so they
// open centred over it.
QWidget* DialogOwner() {
  return QApplication::activeWindow();
}

QLabel* TextLabel(const QString& html, QWidget* parent) {
  auto* label = new QLabel(html, parent);
  label->setTextFormat(Qt::RichText);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setOpenExternalLinks(false);
  return label;
}

void AddOkButton(QDialog& dialog, QVBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace

extern "C" {

void ShowAbout(const QIcon* icon) {
  QDialog dialog(DialogOwner());
  dialog.setObjectName(QStringLiteral("zelvpicsAbout"));
  dialog.setWindowTitle(Tr(QT_TRANSLATE_NOOP("zelvpics", "Info")));
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  layout->addLayout(row);
  if (icon != nullptr && !icon->isNull()) {
    auto* picture = new QLabel(&dialog);
    picture->setPixmap(icon->pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);
    row->addWidget(picture);
  }
  row->addWidget(TextLabel(
      Tr(QT_TRANSLATE_NOOP("zelvpics",
                           "<p><b>Bildwort 2</b> &ndash; Bilder und Wörter</p>"
                           "<p>Die Bildbibliothek <b>zelvpics</b> 1.0 enthält 120 Bilder von "
                           "Tieren, Essen, Spielsachen, Fahrzeugen, Dingen im Haus und aus der "
                           "Natur, jeweils mit dem deutschen und dem englischen Wort.</p>"
                           "<p>Die Bilder sind aus der Schrift Noto Color Emoji gezeichnet "
                           "(SIL Open Font License 1.1).</p>")),
      &dialog));
  AddOkButton(dialog, layout);
  dialog.exec();
}

void Hilfe() {
  QDialog dialog(DialogOwner());
  dialog.setObjectName(QStringLiteral("zelvpicsHelp"));
  dialog.setWindowTitle(Tr(QT_TRANSLATE_NOOP("zelvpics", "Hilfe")));
  auto* layout = new QVBoxLayout(&dialog);
  QLabel* text =
      TextLabel(Tr(QT_TRANSLATE_NOOP(
                    "zelvpics",
                    "<h3>So spielst du Bildwort</h3>"
                    "<ol>"
                    "<li>Klicke auf ein Bild, oder gehe mit den Pfeiltasten zu einem Bild und "
                    "drücke die Eingabetaste.</li>"
                    "<li>Dort öffnet sich eine Liste mit Wörtern.</li>"
                    "<li>Wähle das Wort, das zum Bild passt: mit der Maus, oder mit den "
                    "Pfeiltasten oder den ersten Buchstaben und dann mit der Eingabetaste. "
                    "Escape schließt die Liste.</li>"
                    "</ol>"
                    "<p>Ist das Wort richtig, verschwinden das Bild und das Wort. Ist es "
                    "falsch, bleibt alles, wie es ist, und du kannst es gleich noch einmal "
                    "versuchen. Unten steht, wie viele Bilder noch übrig sind.</p>"
                    "<p>Im Menü <b>Sprache</b> wählst du, ob die Wörter auf Deutsch oder auf "
                    "Englisch kommen, und mit <b>Wörter vorlesen</b> (Strg+L) werden richtige "
                    "Wörter vorgelesen; F5 liest das gewählte Wort vor. Im Menü <b>Bilder</b> "
                    "wählst du, wie viele Bilder ein Spiel hat, im Menü <b>Ansicht</b>, wie groß "
                    "alles ist. Mit <b>Datei &gt; Neu</b> beginnt ein neues Spiel.</p>"
                    "<p>Viel Spaß!</p>")),
                &dialog);
  // A wrapped label's height follows its width; with the width fixed here
  // the layout gives it room for every line.
  text->setFixedWidth(400);
  layout->addWidget(text);
  AddOkButton(dialog, layout);
  dialog.exec();
}

}  // extern "C"
