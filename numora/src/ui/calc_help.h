// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help window with the trainer's help document, and the "Hilfe" (F1)
// command that shows it, or a file "index.htm" beside the program instead.
#pragma once

#include <QDialog>
#include <QString>

#include "zelvlib/scale.h"

class QPushButton;
class QTextEdit;

namespace numora {

class TCalcHelp : public QDialog {
  Q_OBJECT

 public:
  // Takes the program's icon and reads the help document once.
  explicit TCalcHelp(QWidget* parent = nullptr);

  // Lays the window out at a zoom, from its 100 % layout.
  void ApplyScale(zelv::Scale scale);

  QTextEdit* RichEdit1 = nullptr;
  QPushButton* Button1 = nullptr;

 public slots:
  // "&Schließen": hides the window; the next "Hilfe" shows it again as it was.
  void Button1Click();

 private:
  void CentreOnScreen();
};

// The help document's RTF bytes (Windows-1252) as stored in the program, in
// the interface language.
QByteArray HelpDocumentRtf();

// "Hilfe", F1: opens "index.htm" beside the program with the desktop's handler
// when that file exists and the desktop can open it, else shows the help
// window without making it modal and brings it to the front.
void ShowHelp(QWidget* owner, TCalcHelp& help);
// The same with the program's folder given, for tests.
void ShowHelp(QWidget* owner, TCalcHelp& help, const QString& programFolder);

}  // namespace numora
