#include "splash_screen.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "zelvlib/shell.h"

namespace numora {

namespace {

// The addresses and the author this window names.
const QString kWebAddress = QStringLiteral("https://numora.example.org");
const QString kMailLink = QStringLiteral("mailto:  numora@example.org");
const QString kHomePage = QStringLiteral("https://numora.example.org/download");
const QString kAuthor = QStringLiteral("Das Numora-Team");

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 192;
// The left half ends at the vertical line; link labels may grow up to it.
constexpr int kLeftHalfEnd = 222;

// A font of the given families and pixel size, made smaller until text fits
// into width x height: the fonts here are wider than the ones the layout was
// drawn with, and no text may be cut off.
QFont FittingFont(const QStringList& families, int pixelSize, bool bold, const QString& text,
                  int width, int height) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setBold(bold);
  font.setPixelSize(pixelSize);
  while (pixelSize > 6) {
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= width && metrics.height() <= height) break;
    font.setPixelSize(--pixelSize);
  }
  return font;
}

const QStringList kArialFamilies = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans")};
const QStringList kSystemFamilies = {QStringLiteral("System"), QStringLiteral("DejaVu Sans"),
                                     QStringLiteral("Liberation Sans")};

QPixmap SplashPicture() {
  QPixmap picture(QStringLiteral(":/numora/splash/splash.xpm"));
  return picture;
}

}  // namespace

TSplashscreen::TSplashscreen(QWidget* parent, int startupMilliseconds)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Splashscreen"));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(255, 245, 239));
  setPalette(background);
  setFont(FittingFont(kSystemFamilies, 14, false, QString(), kClientWidth, 16));

  const QString title = QStringLiteral("Numora 1.1");
  TitleLabel = new QLabel(title, this);
  TitleLabel->setGeometry(15, 16, 171, 37);
  TitleLabel->setFont(FittingFont(kArialFamilies, 32, true, title, 171, 37));
  TitleLabel->setAutoFillBackground(true);
  QPalette titleColours = TitleLabel->palette();
  titleColours.setColor(QPalette::Window, QColor(0, 0, 255));
  titleColours.setColor(QPalette::WindowText, QColor(255, 255, 0));
  TitleLabel->setPalette(titleColours);
  TitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  Bevel3 = new QFrame(this);
  Bevel3->setGeometry(8, 9, 209, 50);
  Bevel3->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel3->lower();

  // The links share one font: the largest at which both visible ones fit
  // left of the vertical line.
  QFont linkFont = FittingFont(kSystemFamilies, 15, true, kWebAddress, kLeftHalfEnd - 16, 16);
  const QFont mailFont = FittingFont(kSystemFamilies, 15, true, kMailLink, kLeftHalfEnd - 16, 16);
  if (mailFont.pixelSize() < linkFont.pixelSize()) linkFont = mailFont;
  linkFont.setUnderline(true);
  Label3 = MakeLinkLabel(kWebAddress, linkFont, 16, 72, 147, 16);
  Label2 = MakeLinkLabel(kMailLink, linkFont, 16, 104, 179, 16);
  Label4 = MakeLinkLabel(kHomePage, linkFont, 16, 0, 354, 16);
  Label4->hide();  // kept for its address, never shown

  const QString about = QStringLiteral("Numora ist ein Kopfrechen-Trainer von  ") + kAuthor;
  Label1 = new QLabel(about, this);
  Label1->setGeometry(240, 16, 109, 60);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  {
    // Word-wrapped: shrink until every line fits the label's height.
    QFont font;
    font.setFamilies(kArialFamilies);
    int pixelSize = 12;
    font.setPixelSize(pixelSize);
    Label1->setFont(font);
    while (pixelSize > 6 && Label1->heightForWidth(109) > 60) {
      font.setPixelSize(--pixelSize);
      Label1->setFont(font);
    }
  }

  Image2 = new QLabel(this);
  Image2->setGeometry(360, 48, 32, 32);
  Image2->setPixmap(QApplication::windowIcon().pixmap(32, 32));

  Bevel1 = new QFrame(this);
  Bevel1->setGeometry(224, 8, 9, 177);
  // A sunken line at the left edge only, as a bevel of that kind draws it.
  Bevel1->setStyleSheet(QStringLiteral("QFrame { border: none; border-left: 2px groove gray; }"));

  Image3 = new QLabel(this);
  Image3->setGeometry(232, 88, 161, 105);
  Image3->setPixmap(SplashPicture());
  Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image3->setAttribute(Qt::WA_TranslucentBackground);

  BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
  BitBtn1->setGeometry(56, 147, 129, 27);
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtn1->setDefault(true);
  BitBtn1->hide();
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(startupMilliseconds);
  connect(Timer1, &QTimer::timeout, this, &TSplashscreen::Timer1Timer);

  // FormCreate: icon, caption, the icon in Image2 (above), then show.
  setWindowIcon(QApplication::windowIcon());
  setWindowTitle(QGuiApplication::applicationDisplayName());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  show();
  Timer1->start();
}

QLabel* TSplashscreen::MakeLinkLabel(const QString& text, const QFont& font, int x, int y,
                                     int width, int height) {
  auto* label = new QLabel(text, this);
  // Like an auto-sized label, a link grows to its text.
  label->setFont(font);
  label->setGeometry(x, y, std::max(width, QFontMetrics(font).horizontalAdvance(text) + 2), height);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, QColor(0, 0, 128));
  label->setPalette(colours);
  label->setCursor(Qt::PointingHandCursor);
  label->setTextFormat(Qt::PlainText);
  // Reachable with Tab and opened with Enter or Space, with a dotted frame
  // while it has the focus.
  label->setFocusPolicy(Qt::StrongFocus);
  label->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted palette(window-text); }"));
  label->setAccessibleName(text);
  label->setAccessibleDescription(text.startsWith(QStringLiteral("mailto:"))
                                      ? tr("Link: schreibt eine E-Mail")
                                      : tr("Link: öffnet die Webseite"));
  label->installEventFilter(this);
  return label;
}

bool TSplashscreen::eventFilter(QObject* watched, QEvent* event) {
  const bool isLink = watched == Label2 || watched == Label3 || watched == Label4;
  if (isLink && event->type() == QEvent::MouseButtonRelease) {
    Label3Click(static_cast<QLabel*>(watched));
    return true;
  }
  if (isLink && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      Label3Click(static_cast<QLabel*>(watched));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TSplashscreen::Label3Click(QLabel* label) {
  zelv::OpenLabelLink(label);  // a link that does not open fails silently
}

void TSplashscreen::Timer1Timer() {
  if (!startupPhase_) return;
  startupPhase_ = false;
  hide();
  BitBtn1->show();
  Timer1->stop();
  emit StartupFinished();
}

void TSplashscreen::Info1Click() {
  if (startupPhase_) Timer1Timer();
  exec();
}

void TSplashscreen::reject() {
  if (startupPhase_) {
    Timer1Timer();
    return;
  }
  QDialog::reject();
}

}  // namespace numora
