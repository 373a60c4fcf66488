#include "calc_help.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include "zelvlib/rtf_reader.h"
#include "zelvlib/shell.h"

namespace numora {

namespace {

constexpr int kClientWidth = 608;
constexpr int kClientHeight = 395;

}  // namespace

QByteArray HelpDocumentRtf() {
  QFile file(QStringLiteral(":/numora/help/help.rtf"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

TCalcHelp::TCalcHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("CalcHelp"));
  setWindowTitle(QStringLiteral("Numora - Help"));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(255, 221, 187));
  setPalette(background);

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setGeometry(8, 8, 593, 345);
  RichEdit1->setReadOnly(true);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);

  Button1 = new QPushButton(tr("&Schließen"), this);
  Button1->setGeometry(496, 360, 105, 25);
  connect(Button1, &QPushButton::clicked, this, &TCalcHelp::Button1Click);

  // FormCreate: the icon, then the help document, read once.
  setWindowIcon(QApplication::windowIcon());
  const QByteArray rtf = HelpDocumentRtf();
  zelv::ReadRtf(std::string_view(rtf.constData(), static_cast<size_t>(rtf.size())),
                *RichEdit1->document());
  RichEdit1->moveCursor(QTextCursor::Start);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
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
