// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "zelvlib/font_fitting.h"
#include "zelvlib/shell.h"

namespace numora {

namespace {

// The addresses this window names.
const QString kWebAddress = QStringLiteral("https://numora.example.org");
const QString kMailLink = QStringLiteral("mailto:  numora@example.org");
const QString kHomePage = QStringLiteral("https://numora.example.org/download");

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 192;
// The left half ends at the vertical line; link labels may grow up to it.
constexpr int kLeftHalfEnd = 222;

const QStringList kArialFamilies = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans")};
const QStringList kSystemFamilies = {QStringLiteral("System"), QStringLiteral("DejaVu Sans"),
                                     QStringLiteral("Liberation Sans")};

// The picture at size, for a screen of the given pixel ratio. It is pixel
// art: enlarged pixel by pixel, it stays as crisp as drawn.
QPixmap SplashPicture(const QSize& size, qreal ratio) {
  const QPixmap picture(QStringLiteral(":/numora/splash/splash.xpm"));
  if (picture.isNull() || (size == picture.size() && ratio == 1.0)) return picture;
  QPixmap scaled = picture.scaled(size * ratio, Qt::KeepAspectRatio, Qt::FastTransformation);
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

}  // namespace

TSplashscreen::TSplashscreen(QWidget* parent, int startupMilliseconds)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Splashscreen"));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(255, 245, 239));
  setPalette(background);

  TitleLabel = new QLabel(QStringLiteral("Numora 1.1"), this);
  TitleLabel->setAutoFillBackground(true);
  QPalette titleColours = TitleLabel->palette();
  titleColours.setColor(QPalette::Window, QColor(0, 0, 255));
  titleColours.setColor(QPalette::WindowText, QColor(255, 255, 0));
  TitleLabel->setPalette(titleColours);
  TitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  Bevel3 = new QFrame(this);
  Bevel3->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel3->lower();

  Label3 = MakeLinkLabel(kWebAddress);
  Label2 = MakeLinkLabel(kMailLink);
  Label4 = MakeLinkLabel(kHomePage);
  Label4->hide();  // kept for its address, never shown

  //: The author, as the end of the start-up window's sentence.
  const QString author = tr("Das Numora-Team");
  //: The start-up window's text; %1 is the author.
  Label1 = new QLabel(tr("Numora ist ein Kopfrechen-Trainer von  %1").arg(author), this);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Image2 = new QLabel(this);
  Image2->setAccessibleName(tr("Numora-Symbol"));

  Bevel1 = new QFrame(this);
  // A sunken line at the left edge only, as a bevel of that kind draws it.
  Bevel1->setStyleSheet(QStringLiteral("QFrame { border: none; border-left: 2px groove gray; }"));

  Image3 = new QLabel(this);
  Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image3->setAttribute(Qt::WA_TranslucentBackground);
  Image3->setAccessibleName(tr("Bild: 1+2=3 auf bunten Kacheln"));

  BitBtn1 = new QPushButton(tr("&OK"), this);
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtn1->setDefault(true);
  BitBtn1->hide();
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

  ApplyScale(zelv::Scale());

  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(startupMilliseconds);
  connect(Timer1, &QTimer::timeout, this, &TSplashscreen::Timer1Timer);

  // FormCreate: icon, caption, the icon in Image2 (ApplyScale), then show.
  setWindowIcon(QApplication::windowIcon());
  setWindowTitle(QGuiApplication::applicationDisplayName());
  CentreOnScreen();
  show();
  Timer1->start();
}

void TSplashscreen::CentreOnScreen() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(width() / 2, height() / 2));
  }
}

void TSplashscreen::ApplyScale(zelv::Scale scale) {
  setFixedSize(scale.Size(QSize(kClientWidth, kClientHeight)));
  setFont(zelv::FontOfCharacterHeight(kSystemFamilies, scale.Px(14)));

  TitleLabel->setGeometry(scale.Rect(QRect(15, 16, 171, 37)));
  TitleLabel->setFont(zelv::FontFitting(
      zelv::FontOfCharacterHeight(kArialFamilies, scale.Px(32), QFont::SansSerif, true),
      TitleLabel->text(), TitleLabel->size()));
  Bevel3->setGeometry(scale.Rect(QRect(8, 9, 209, 50)));

  // The links share one font: the largest at which both visible ones fit
  // left of the vertical line.
  QFont linkFont =
      zelv::FontOfCharacterHeight(kSystemFamilies, scale.Px(15), QFont::SansSerif, true);
  linkFont.setUnderline(true);
  const QSize linkRoom(scale.Px(kLeftHalfEnd - 16), 0);
  linkFont = zelv::FontFitting(linkFont, kWebAddress, linkRoom);
  linkFont = zelv::FontFitting(linkFont, kMailLink, linkRoom);
  PlaceLinkLabel(Label3, linkFont, scale.Rect(QRect(16, 72, 147, 16)));
  PlaceLinkLabel(Label2, linkFont, scale.Rect(QRect(16, 104, 179, 16)));
  PlaceLinkLabel(Label4, linkFont, scale.Rect(QRect(16, 0, 354, 16)));

  Label1->setGeometry(scale.Rect(QRect(240, 16, 109, 60)));
  Label1->setFont(zelv::FontFittingWrapped(
      zelv::FontOfCharacterHeight(kArialFamilies, scale.Px(12)), Label1->text(), Label1->size()));

  // The pictures drawn for the screen's pixels, not stretched afterwards.
  const qreal ratio = devicePixelRatioF();
  Image2->setGeometry(scale.Rect(QRect(360, 48, 32, 32)));
  Image2->setPixmap(QApplication::windowIcon().pixmap(Image2->size(), ratio));
  Bevel1->setGeometry(scale.Rect(QRect(224, 8, 9, 177)));
  Image3->setGeometry(scale.Rect(QRect(232, 88, 161, 105)));
  Image3->setPixmap(SplashPicture(Image3->size(), ratio));
  BitBtn1->setGeometry(scale.Rect(QRect(56, 147, 129, 27)));
  BitBtn1->setIconSize(scale.Size(QSize(16, 16)));
  if (isVisible()) CentreOnScreen();
}

void TSplashscreen::PlaceLinkLabel(QLabel* label, const QFont& font, const QRect& place) {
  // Like an auto-sized label, a link grows to its text.
  label->setFont(font);
  const int width =
      std::max(place.width(), QFontMetrics(font).horizontalAdvance(label->text()) + 2);
  label->setGeometry(place.x(), place.y(), width, place.height());
}

QLabel* TSplashscreen::MakeLinkLabel(const QString& text) {
  auto* label = new QLabel(text, this);
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
