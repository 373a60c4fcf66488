// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "splash_screen.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <vector>

#include "zelvlib/gui_test_main.h"
#include "zelvlib/shell.h"

namespace {

using numora::TSplashscreen;

constexpr int kShortStartup = 40;

class SplashScreenTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::setApplicationDisplayName(QStringLiteral("Numora")); }

  // Waits until the start-up phase of splash has ended, at most 2 s.
  static bool WaitForStartupEnd(const TSplashscreen& splash) {
    return QTest::qWaitFor([&] { return !splash.InStartupPhase(); }, 2000);
  }

  // Runs check on the modal window as soon as it is shown, then presses OK.
  static void PressOkWhenModal(TSplashscreen& splash, const std::function<void()>& check,
                               bool& ran) {
    QTimer::singleShot(0, &splash, [&splash, check, &ran] {
      ran = true;
      check();
      QTest::mouseClick(splash.BitBtn1, Qt::LeftButton);
    });
  }
};

TEST_F(SplashScreenTest, LayoutOfTheControls) {
  TSplashscreen splash(nullptr, 60000);
  EXPECT_EQ(splash.size(), QSize(400, 192));
  EXPECT_EQ(splash.windowTitle(), QStringLiteral("Numora"));
  EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(255, 245, 239));
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(splash.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(splash.windowFlags() & Qt::WindowSystemMenuHint);

  struct Place {
    const char* name;
    QWidget* widget;
    QRect rect;
  };
  const Place places[] = {
      {"title", splash.TitleLabel, {15, 16, 171, 37}},
      {"Bevel3", splash.Bevel3, {8, 9, 209, 50}},
      {"Label1", splash.Label1, {240, 16, 109, 60}},
      {"Image2", splash.Image2, {360, 48, 32, 32}},
      {"Bevel1", splash.Bevel1, {224, 8, 9, 177}},
      {"Image3", splash.Image3, {232, 88, 161, 105}},
      {"BitBtn1", splash.BitBtn1, {56, 147, 129, 27}},
  };
  for (const Place& p : places) EXPECT_EQ(p.widget->geometry(), p.rect) << p.name;

  // The title: no text cut off, yellow on blue, bold.
  EXPECT_EQ(splash.TitleLabel->text(), QStringLiteral("Numora 1.1"));
  const QFontMetrics title(splash.TitleLabel->font());
  EXPECT_LE(title.horizontalAdvance(splash.TitleLabel->text()), 171);
  EXPECT_LE(title.height(), 37);
  EXPECT_TRUE(splash.TitleLabel->font().bold());
  EXPECT_EQ(splash.TitleLabel->palette().color(QPalette::WindowText), QColor(255, 255, 0));
  EXPECT_EQ(splash.TitleLabel->palette().color(QPalette::Window), QColor(0, 0, 255));

  EXPECT_EQ(splash.Label1->text(),
            QStringLiteral("Numora ist ein Kopfrechen-Trainer von  Das Numora-Team"));
  EXPECT_LE(splash.Label1->heightForWidth(109), 60);

  EXPECT_FALSE(splash.BitBtn1->isVisibleTo(&splash));
  EXPECT_EQ(splash.BitBtn1->text(), QStringLiteral("&OK"));
  EXPECT_FALSE(splash.Image3->pixmap().isNull());
  EXPECT_EQ(splash.Image3->pixmap().size(), QSize(161, 105));
  EXPECT_TRUE(splash.Image3->pixmap().hasAlpha());
}

TEST_F(SplashScreenTest, LinkLabelsShareOneLookAndShowTheirWholeText) {
  TSplashscreen splash(nullptr, 60000);
  struct Link {
    QLabel* label;
    QPoint place;
    int minimumWidth;
    bool visible;
  };
  const Link links[] = {
      {splash.Label3, {16, 72}, 147, true},
      {splash.Label2, {16, 104}, 179, true},
      {splash.Label4, {16, 0}, 354, false},
  };
  for (const Link& link : links) {
    const QString text = link.label->text();
    EXPECT_EQ(link.label->pos(), link.place) << text.toStdString();
    EXPECT_GE(link.label->width(), link.minimumWidth) << text.toStdString();
    EXPECT_EQ(link.label->height(), 16) << text.toStdString();
    EXPECT_EQ(link.label->isVisibleTo(&splash), link.visible) << text.toStdString();
    EXPECT_TRUE(link.label->font().bold() && link.label->font().underline()) << text.toStdString();
    EXPECT_EQ(link.label->font(), splash.Label3->font()) << text.toStdString();
    EXPECT_EQ(link.label->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_LE(QFontMetrics(link.label->font()).horizontalAdvance(text), link.label->width())
        << text.toStdString();
  }
  // The two visible links stay left of the vertical line.
  EXPECT_LE(splash.Label3->geometry().right(), 224);
  EXPECT_LE(splash.Label2->geometry().right(), 224);
  EXPECT_TRUE(splash.Label2->text().startsWith(QStringLiteral("mailto:  ")));
}

TEST_F(SplashScreenTest, ClickedLinkTurnsPurpleAndOpensEvenWhenOpeningFails) {
  TSplashscreen splash(nullptr, 60000);
  std::vector<QUrl> opened;
  zelv::ScopedUrlOpener opener([&](const QUrl& url) {
    opened.push_back(url);
    return false;  // no handler for it
  });
  QTest::mouseClick(splash.Label3, Qt::LeftButton);
  QTest::mouseClick(splash.Label2, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://numora.example.org")));
  EXPECT_EQ(opened[1], QUrl(QStringLiteral("mailto:numora@example.org")));
  EXPECT_EQ(splash.Label3->palette().color(QPalette::WindowText), QColor(128, 0, 128));
  EXPECT_EQ(splash.Label2->palette().color(QPalette::WindowText), QColor(128, 0, 128));
  // Only the clicked links are marked.
  EXPECT_EQ(splash.Label4->palette().color(QPalette::WindowText), QColor(0, 0, 128));
}

TEST_F(SplashScreenTest, StartupPhaseEndsOnceAfterItsTime) {
  TSplashscreen splash(nullptr, kShortStartup);
  QSignalSpy finished(&splash, &TSplashscreen::StartupFinished);
  EXPECT_TRUE(splash.isVisible());
  EXPECT_FALSE(splash.isModal());
  EXPECT_TRUE(splash.Timer1->isActive());
  EXPECT_TRUE(splash.Timer1->isSingleShot());
  EXPECT_EQ(finished.count(), 0);

  ASSERT_TRUE(WaitForStartupEnd(splash));
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_TRUE(splash.BitBtn1->isVisibleTo(&splash));
  EXPECT_FALSE(splash.Timer1->isActive());

  QTest::qWait(3 * kShortStartup);
  EXPECT_EQ(finished.count(), 1);
}

TEST_F(SplashScreenTest, TheRealPhaseLastsThreeSeconds) {
  TSplashscreen splash;
  EXPECT_EQ(splash.Timer1->interval(), 3000);
  EXPECT_TRUE(splash.InStartupPhase());
}

TEST_F(SplashScreenTest, InfoAfterwardsShowsItModallyUntilOk) {
  TSplashscreen splash(nullptr, kShortStartup);
  ASSERT_TRUE(WaitForStartupEnd(splash));
  QSignalSpy finished(&splash, &TSplashscreen::StartupFinished);

  for (int opening = 0; opening < 2; ++opening) {
    bool ran = false;
    PressOkWhenModal(
        splash,
        [&splash] {
          EXPECT_TRUE(splash.isVisible());
          EXPECT_TRUE(splash.isModal());
          EXPECT_TRUE(splash.BitBtn1->isVisible());
          EXPECT_FALSE(splash.Timer1->isActive());
        },
        ran);
    splash.Info1Click();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
  }
  EXPECT_EQ(finished.count(), 0);
}

TEST_F(SplashScreenTest, InfoDuringTheStartupPhaseEndsItFirst) {
  TSplashscreen splash(nullptr, 60000);
  QSignalSpy finished(&splash, &TSplashscreen::StartupFinished);
  bool ran = false;
  PressOkWhenModal(
      splash,
      [&] {
        EXPECT_EQ(finished.count(), 1);
        EXPECT_TRUE(splash.BitBtn1->isVisible());
        EXPECT_FALSE(splash.Timer1->isActive());
      },
      ran);
  splash.Info1Click();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(splash.InStartupPhase());
  EXPECT_EQ(finished.count(), 1);
}

// Escape (or the window manager's close) during the start-up phase must not
// hide the window with the clock still off.
TEST_F(SplashScreenTest, EscapeDuringTheStartupPhaseStillStartsTheClock) {
  TSplashscreen splash(nullptr, 60000);
  QSignalSpy finished(&splash, &TSplashscreen::StartupFinished);
  QTest::keyClick(&splash, Qt::Key_Escape);
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_TRUE(splash.BitBtn1->isVisibleTo(&splash));
  EXPECT_FALSE(splash.Timer1->isActive());
}

}  // namespace
