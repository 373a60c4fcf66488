// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Modal dialogs go through this interface, which a window receives from its
// creator: the programs pass QtUserDialogs, tests pass a scripted double that
// answers like a child would (see scripted_dialogs.h).
#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

namespace zelv {

enum class DialogIcon { None, Information, Warning, Error, Question };
enum class DialogButton { Ok, Cancel, Yes, No };

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A modal one-line input dialog with OK and Cancel. value presets the edit
  // field and receives the text on OK; returns false on Cancel (value is then
  // unchanged).
  virtual bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                          QString& value, int maxLength) = 0;

  // A modal message box; returns the button that closed it. Closing the box
  // by the window's close button counts as Cancel when offered, else No when
  // offered, else Ok.
  virtual DialogButton Message(QWidget* parent, const QString& caption, const QString& text,
                               DialogIcon icon, std::initializer_list<DialogButton> buttons) = 0;

  // A modal dialog to choose a file to write. path presets the folder and
  // the file name and receives the chosen file on OK, with suffix appended
  // when the name has none; filter is a name filter such as "CSV (*.csv)".
  // Returns false on Cancel (path is then unchanged).
  virtual bool SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                            const QString& suffix, QString& path) = 0;
};

// The real dialogs, built from Qt widgets.
class QtUserDialogs final : public UserDialogs {
 public:
  bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value,
                  int maxLength) override;
  DialogButton Message(QWidget* parent, const QString& caption, const QString& text,
                       DialogIcon icon, std::initializer_list<DialogButton> buttons) override;
  bool SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                    const QString& suffix, QString& path) override;
};

}  // namespace zelv
