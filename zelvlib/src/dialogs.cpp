// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <vector>

namespace zelv {

namespace {

// The button captions in the program's language, whatever language Qt's own
// translations are installed for.
QString ButtonText(DialogButton button) {
  switch (button) {
    case DialogButton::Ok:
      return QCoreApplication::translate("zelv::UserDialogs", "OK");
    case DialogButton::Cancel:
      return QCoreApplication::translate("zelv::UserDialogs", "Abbrechen");
    case DialogButton::Yes:
      return QCoreApplication::translate("zelv::UserDialogs", "Ja");
    case DialogButton::No:
      return QCoreApplication::translate("zelv::UserDialogs", "Nein");
  }
  return QString();
}

QMessageBox::StandardButton StandardFor(DialogButton button) {
  switch (button) {
    case DialogButton::Ok:
      return QMessageBox::Ok;
    case DialogButton::Cancel:
      return QMessageBox::Cancel;
    case DialogButton::Yes:
      return QMessageBox::Yes;
    case DialogButton::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconFor(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::None:
      return QMessageBox::NoIcon;
    case DialogIcon::Information:
      return QMessageBox::Information;
    case DialogIcon::Warning:
      return QMessageBox::Warning;
    case DialogIcon::Error:
      return QMessageBox::Critical;
    case DialogIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Hands the keyboard back to the owner's window once a dialog has closed.
// A window manager does this by itself; without one (a kiosk session, a
// test's X server) the keyboard would otherwise reach no window at all.
void ReturnFocusTo(QWidget* parent) {
  if (parent && parent->window()->isVisible()) parent->window()->activateWindow();
}

bool Offers(const std::vector<DialogButton>& buttons, DialogButton wanted) {
  for (DialogButton b : buttons) {
    if (b == wanted) return true;
  }
  return false;
}

// The button that closing the box by its window's close button or Escape
// stands for.
DialogButton CloseButtonMeaning(const std::vector<DialogButton>& buttons) {
  if (Offers(buttons, DialogButton::Cancel)) return DialogButton::Cancel;
  if (Offers(buttons, DialogButton::No)) return DialogButton::No;
  return DialogButton::Ok;
}

}  // namespace

bool QtUserDialogs::InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                               QString& value, int maxLength) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(prompt, &dialog);
  label->setTextFormat(Qt::PlainText);
  auto* edit = new QLineEdit(&dialog);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(value);
  edit->selectAll();
  label->setBuddy(edit);
  edit->setMinimumWidth(240);

  auto* box = new QDialogButtonBox(&dialog);
  QPushButton* ok = box->addButton(ButtonText(DialogButton::Ok), QDialogButtonBox::AcceptRole);
  box->addButton(ButtonText(DialogButton::Cancel), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  layout->addWidget(label);
  layout->addWidget(edit);
  layout->addWidget(box);
  dialog.setFixedSize(dialog.sizeHint());
  edit->setFocus();

  const int result = dialog.exec();
  ReturnFocusTo(parent);
  if (result != QDialog::Accepted) return false;
  value = edit->text();
  return true;
}

DialogButton QtUserDialogs::Message(QWidget* parent, const QString& caption, const QString& text,
                                    DialogIcon icon, std::initializer_list<DialogButton> offered) {
  // A box without buttons could not be closed sensibly: it gets OK.
  std::vector<DialogButton> buttons(offered);
  if (buttons.empty()) buttons.push_back(DialogButton::Ok);
  QMessageBox box(parent);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  box.setIcon(IconFor(icon));

  QAbstractButton* escape = nullptr;
  const DialogButton closeMeaning = CloseButtonMeaning(buttons);
  bool first = true;
  for (DialogButton b : buttons) {
    QPushButton* button = box.addButton(StandardFor(b));
    button->setText(ButtonText(b));
    if (first) box.setDefaultButton(button);
    first = false;
    if (b == closeMeaning) escape = button;
  }
  if (escape) box.setEscapeButton(escape);

  box.exec();
  ReturnFocusTo(parent);
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return closeMeaning;
  const auto standard = box.standardButton(clicked);
  for (DialogButton b : buttons) {
    if (StandardFor(b) == standard) return b;
  }
  return closeMeaning;
}

bool QtUserDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& suffix, QString& path) {
  QFileDialog dialog(parent, caption, path, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile(path);
  // Qt's own texts come in English unless its catalogues are installed: the
  // labels a user reads first are ours (set last: the modes reset some).
  dialog.setLabelText(QFileDialog::LookIn,
                      QCoreApplication::translate("zelv::UserDialogs", "Suchen in:"));
  dialog.setLabelText(QFileDialog::FileName,
                      QCoreApplication::translate("zelv::UserDialogs", "&Dateiname:"));
  dialog.setLabelText(QFileDialog::FileType,
                      QCoreApplication::translate("zelv::UserDialogs", "Dateityp:"));
  dialog.setLabelText(QFileDialog::Accept,
                      QCoreApplication::translate("zelv::UserDialogs", "&Speichern"));
  dialog.setLabelText(QFileDialog::Reject, ButtonText(DialogButton::Cancel));
  // Qt sizes the dialog in pixels; at a zoom (a larger application font) it
  // grows with the text, up to the screen.
  const QFontMetrics metrics(dialog.font());
  QSize size =
      dialog.size().expandedTo(QSize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 26));
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size());
  }
  dialog.resize(size);
  const int result = dialog.exec();
  ReturnFocusTo(parent);
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().front();
  return true;
}

}  // namespace zelv
