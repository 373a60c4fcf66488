// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_help.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "zelvlib/rtf_reader.h"
#include "zelvlib/shell.h"

namespace numora {

namespace {

constexpr int kClientWidth = 608;
constexpr int kClientHeight = 395;

void ScaleTypeSizes(QTextDocument& document, double factor) {
  QTextCursor cursor(&document);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QTextCharFormat format = fragment.charFormat();
      const qreal size =
          format.fontPointSize() > 0 ? format.fontPointSize() : document.defaultFont().pointSizeF();
      if (size <= 0) continue;
      format.setFontPointSize(size * factor);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
}

}  // namespace

QByteArray HelpDocumentRtf() {
  //: The help document in this language, a resource of the program.
  QFile file(TCalcHelp::tr(":/numora/help/help.rtf"));
  if (!file.exists()) file.setFileName(QStringLiteral(":/numora/help/help.rtf"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

TCalcHelp::TCalcHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("CalcHelp"));
  setWindowTitle(tr("Numora - Help"));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(255, 221, 187));
  setPalette(background);

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setReadOnly(true);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);

  Button1 = new QPushButton(tr("&Schließen"), this);
  connect(Button1, &QPushButton::clicked, this, &TCalcHelp::Button1Click);

  // FormCreate: the icon, then the help document (ApplyScale).
  setWindowIcon(QApplication::windowIcon());
  ApplyScale(zelv::Scale());
  CentreOnScreen();
}

void TCalcHelp::ApplyScale(zelv::Scale scale) {
  setFixedSize(scale.Size(QSize(kClientWidth, kClientHeight)));
  RichEdit1->setGeometry(scale.Rect(QRect(8, 8, 593, 345)));
  Button1->setGeometry(scale.Rect(QRect(496, 360, 105, 25)));
  // The document is read anew and its type sizes scaled: they are set in
  // the document itself, where a widget font would not reach.
  const int position = RichEdit1->textCursor().position();
  const QByteArray rtf = HelpDocumentRtf();
  zelv::ReadRtf(std::string_view(rtf.constData(), static_cast<size_t>(rtf.size())),
                *RichEdit1->document());
  if (scale.Factor() != 1.0) ScaleTypeSizes(*RichEdit1->document(), scale.Factor());
  QTextCursor cursor = RichEdit1->textCursor();
  cursor.setPosition(std::min(position, RichEdit1->document()->characterCount() - 1));
  RichEdit1->setTextCursor(cursor);
  if (isVisible()) CentreOnScreen();
}

void TCalcHelp::CentreOnScreen() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(width() / 2, height() / 2));
  }
}

void TCalcHelp::Button1Click() {
  hide();
}

void ShowHelp(QWidget* owner, TCalcHelp& help) {
  ShowHelp(owner, help, zelv::ProgramFolder());
}

void ShowHelp(QWidget* owner, TCalcHelp& help, const QString& programFolder) {
  const QString index = zelv::ExistingFileIn(programFolder, QStringLiteral("index.htm"));
  // Where nothing on the desktop opens index.htm, the built-in help
  // steps in rather than leaving F1 without any answer.
  if (!index.isEmpty() && zelv::OpenDocument(owner, index)) return;
  help.show();
  help.raise();
  help.activateWindow();
}

}  // namespace numora
