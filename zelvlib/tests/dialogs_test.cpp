// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

#include "zelvlib/gui_test_main.h"

namespace {

using zelv::DialogButton;
using zelv::DialogIcon;

// Runs action on the modal dialog as soon as it is open.
void WhenModalOpens(std::function<void(QWidget*)> action) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
    }
  });
  poll->start();
}

QPushButton* ButtonWithText(QWidget* dialog, const QString& text) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

QStringList ButtonTexts(QWidget* dialog) {
  QStringList texts;
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) texts << button->text();
  texts.sort();
  return texts;
}

TEST(QtInputQuery, OkReturnsTheTypedTextAndShowsCaptionAndPrompt) {
  zelv::QtUserDialogs dialogs;
  QString value = QStringLiteral("7");
  QString seenCaption, seenPrompt, seenPreset;
  QStringList seenButtons;
  WhenModalOpens([&](QWidget* dialog) {
    seenCaption = dialog->windowTitle();
    seenPrompt = dialog->findChild<QLabel*>()->text();
    auto* edit = dialog->findChild<QLineEdit*>();
    seenPreset = edit->text();
    seenButtons = ButtonTexts(dialog);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("42"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_TRUE(dialogs.InputQuery(nullptr, "Bitte das Ergebnis eingeben:", "3*4+30=", value, 255));
  EXPECT_EQ(value, QStringLiteral("42"));
  EXPECT_EQ(seenCaption, QStringLiteral("Bitte das Ergebnis eingeben:"));
  EXPECT_EQ(seenPrompt, QStringLiteral("3*4+30="));
  EXPECT_EQ(seenPreset, QStringLiteral("7"));
  EXPECT_EQ(seenButtons, QStringList({"Abbrechen", "OK"}));
}

TEST(QtInputQuery, CancelAndEscapeLeaveTheValueUnchanged) {
  const std::vector<std::function<void(QWidget*)>> cancels = {
      [](QWidget* d) { ButtonWithText(d, "Abbrechen")->click(); },
      [](QWidget* d) { QTest::keyClick(d->findChild<QLineEdit*>(), Qt::Key_Escape); },
      [](QWidget* d) { d->close(); },
  };
  for (size_t i = 0; i < cancels.size(); ++i) {
    zelv::QtUserDialogs dialogs;
    QString value = QStringLiteral("preset");
    WhenModalOpens([&](QWidget* dialog) {
      QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("typed"));
      cancels[i](dialog);
    });
    EXPECT_FALSE(dialogs.InputQuery(nullptr, "c", "p", value, 255)) << i;
    EXPECT_EQ(value, QStringLiteral("preset")) << i;
  }
}

TEST(QtInputQuery, InputIsLimitedToMaxLength) {
  zelv::QtUserDialogs dialogs;
  QString value;
  WhenModalOpens([](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>();
    QTest::keyClicks(edit, QString(20, QChar('9')));
    ButtonWithText(dialog, "OK")->click();
  });
  EXPECT_TRUE(dialogs.InputQuery(nullptr, "c", "p", value, 5));
  EXPECT_EQ(value, QStringLiteral("99999"));
}

struct MessageCase {
  std::vector<DialogButton> offered;  // at most three, as the program uses them
  QString pressed;                    // button text to click; empty: Escape key
  DialogButton expected;
};

DialogButton ShowMessage(zelv::QtUserDialogs& dialogs, const std::vector<DialogButton>& b) {
  switch (b.size()) {
    case 1:
      return dialogs.Message(nullptr, "t", "x", DialogIcon::Information, {b[0]});
    case 2:
      return dialogs.Message(nullptr, "t", "x", DialogIcon::Question, {b[0], b[1]});
    default:
      return dialogs.Message(nullptr, "t", "x", DialogIcon::Warning, {b[0], b[1], b[2]});
  }
}

TEST(QtMessage, ReturnsThePressedButtonAndEscapeFollowsTheCloseRule) {
  using B = DialogButton;
  const MessageCase cases[] = {
      {{B::Ok}, "OK", B::Ok},
      {{B::Ok}, "", B::Ok},
      {{B::Yes, B::No}, "Ja", B::Yes},
      {{B::Yes, B::No}, "Nein", B::No},
      {{B::Yes, B::No}, "", B::No},
      {{B::Ok, B::Cancel}, "", B::Cancel},
      {{B::Ok, B::Cancel}, "Abbrechen", B::Cancel},
      {{B::Yes, B::No, B::Cancel}, "", B::Cancel},
      {{B::Yes, B::No, B::Cancel}, "Nein", B::No},
  };
  for (const MessageCase& c : cases) {
    zelv::QtUserDialogs dialogs;
    QString pressed = c.pressed;
    WhenModalOpens([pressed](QWidget* box) {
      if (pressed.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        ButtonWithText(box, pressed)->click();
      }
    });
    EXPECT_EQ(ShowMessage(dialogs, c.offered), c.expected)
        << "pressed '" << c.pressed.toStdString() << "' of " << c.offered.size();
  }
}

TEST(QtMessage, ShowsCaptionTextIconAndGermanButtons) {
  zelv::QtUserDialogs dialogs;
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = ButtonTexts(box);
    ButtonWithText(box, "OK")->click();
  });
  dialogs.Message(nullptr, "Numora", "Bravo, alle Aufgaben gelöst!\n<b>15</b> Sonderpunkte",
                  DialogIcon::Error, {DialogButton::Ok, DialogButton::Cancel});
  EXPECT_EQ(caption, QStringLiteral("Numora"));
  // Shown as plain text: markup-like characters stay as they are.
  EXPECT_EQ(text, QStringLiteral("Bravo, alle Aufgaben gelöst!\n<b>15</b> Sonderpunkte"));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, QStringList({"Abbrechen", "OK"}));
}

// The file dialog: preset folder and name, German buttons, the suffix
// appended to a typed name without one, Cancel leaving the path alone.
TEST(QtSaveFileName, TypedNameGetsTheSuffixAndCancelChangesNothing) {
  QTemporaryDir dir;
  const struct {
    QString typed;  // empty: cancelled
    QString chosen;
  } cases[] = {{QStringLiteral("bericht"), dir.filePath(QStringLiteral("bericht.csv"))},
               {QStringLiteral("b.csv"), dir.filePath(QStringLiteral("b.csv"))},
               {QString(), dir.filePath(QStringLiteral("vorschlag.csv"))}};
  for (const auto& c : cases) {
    zelv::QtUserDialogs dialogs;
    QString path = dir.filePath(QStringLiteral("vorschlag.csv"));
    QString preset;
    QStringList buttons;
    WhenModalOpens([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      preset = name->text();
      for (auto* button : dialog->findChild<QDialogButtonBox*>()->buttons()) {
        buttons << button->text();
      }
      if (c.typed.isEmpty()) {
        dialog->reject();
        return;
      }
      name->setText(c.typed);
      QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.SaveFileName(nullptr, "Exportieren", "CSV (*.csv)", "csv", path),
              !c.typed.isEmpty());
    EXPECT_EQ(path, c.chosen);
    EXPECT_EQ(preset, QStringLiteral("vorschlag.csv"));
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&Speichern", "Abbrechen"}));
  }
}

// The file dialog grows with the application's font (the zoom), but never
// beyond the screen.
TEST(QtSaveFileName, FollowsTheZoomUpToTheScreen) {
  const QFont normal = QApplication::font();
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  std::vector<QSize> sizes;
  for (const double zoom : {1.0, 1.5, 3.0}) {
    QFont font = normal;
    font.setPixelSize(static_cast<int>(15 * zoom));
    QApplication::setFont(font);
    zelv::QtUserDialogs dialogs;
    QString path = QStringLiteral("vorschlag.csv");
    QSize size;
    QSize least;  // what the dialog's own layout cannot do without
    int lineSpacing = 0;
    WhenModalOpens([&](QWidget* dialog) {
      size = dialog->size();
      least = dialog->minimumSizeHint();
      lineSpacing = QFontMetrics(dialog->font()).lineSpacing();
      qobject_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(dialogs.SaveFileName(nullptr, "Exportieren", "CSV (*.csv)", "csv", path));
    EXPECT_LE(size.width(), std::max(screen.width(), least.width())) << zoom;
    EXPECT_LE(size.height(), std::max(screen.height(), least.height())) << zoom;
    // Room for a good number of lines of the list, as far as the screen allows.
    EXPECT_GE(size.height(), std::min(screen.height(), 20 * lineSpacing)) << zoom;
    sizes.push_back(size);
  }
  QApplication::setFont(normal);
  EXPECT_GT(sizes[1].width(), sizes[0].width());
  EXPECT_GT(sizes[1].height(), sizes[0].height());
}

}  // namespace
