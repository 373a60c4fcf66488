// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine_about.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/parser.h"
#include "zelvlib/cp1252.h"
#include "zelvlib/dialogs.h"

namespace numora {

QString EngineTitle() {
  // The version is the one every parser reports; it needs no parser to ask.
  return QStringLiteral("TTermParser V6.1");
}

TEngineAbout::TEngineAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("EngineAbout"));
  setWindowTitle(tr("Info über TTermParser"));
  setWindowIcon(QApplication::windowIcon());
  setModal(true);

  NameLabel = new QLabel(EngineTitle(), this);
  QFont nameFont = NameLabel->font();
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
  NameLabel->setFont(nameFont);
  NameLabel->setAlignment(Qt::AlignHCenter);

  TextLabel = new QLabel(tr("Der Term-Parser von Numora: Er zerlegt Rechenterme mit Zahlen, "
                            "Variablen, Operatoren und Funktionen, übersetzt sie in ein kleines "
                            "Programm und rechnet es mit 80-Bit-Genauigkeit aus.\n\n"
                            "Das Numora-Team"),
                         this);
  TextLabel->setWordWrap(true);
  TextLabel->setAlignment(Qt::AlignHCenter);
  // About fifty characters a line, at whatever size the font is.
  TextLabel->setFixedWidth(QFontMetrics(TextLabel->font()).averageCharWidth() * 50);

  OKButton = new QPushButton(tr("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setSpacing(10);
  layout->addWidget(NameLabel);
  layout->addWidget(TextLabel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowEngineAbout() {
  TEngineAbout about(QApplication::activeWindow());
  about.exec();
}

void InstallEngineHooks(zelv::UserDialogs& dialogs) {
  engine::SetAboutHook([] { ShowEngineAbout(); });
  engine::SetMessageHook([&dialogs](const std::string& text) {
    dialogs.Message(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                    zelv::FromWindows1252(text), zelv::DialogIcon::None, {zelv::DialogButton::Ok});
  });
}

void RemoveEngineHooks() {
  engine::SetAboutHook({});
  engine::SetMessageHook({});
}

}  // namespace numora
