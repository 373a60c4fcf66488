// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A UserDialogs double for tests: answers come from a script, and every dialog
// shown is recorded.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "zelvlib/dialogs.h"

namespace zelv {

class ScriptedDialogs final : public UserDialogs {
 public:
  struct Shown {
    QString Caption;
    QString Text;    // the prompt of an input dialog, the text of a message box
    QString Preset;  // input dialogs: the value the edit field was preset with
    DialogIcon Icon = DialogIcon::None;
    bool IsInput = false;
    bool IsFile = false;  // a file dialog: Text holds its filter
  };

  // Queue an input answer; std::nullopt stands for Cancel.
  void Answer(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
  // Queue the button that closes the next message box.
  void Press(DialogButton button) { buttons_.push_back(button); }
  // Queue the file chosen in the next file dialog; std::nullopt stands for
  // Cancel.
  void ChooseFile(std::optional<QString> path) { files_.push_back(std::move(path)); }

  const std::vector<Shown>& History() const { return shown_; }
  void ClearHistory() { shown_.clear(); }
  bool ScriptUsedUp() const { return inputs_.empty() && buttons_.empty() && files_.empty(); }

  bool InputQuery(QWidget*, const QString& caption, const QString& prompt, QString& value,
                  int maxLength) override {
    shown_.push_back({caption, prompt, value, DialogIcon::None, true});
    // An unscripted input dialog is cancelled, so a test can never hang.
    if (inputs_.empty()) return false;
    auto answer = std::move(inputs_.front());
    inputs_.pop_front();
    if (!answer) return false;
    value = answer->left(maxLength);
    return true;
  }

  DialogButton Message(QWidget*, const QString& caption, const QString& text, DialogIcon icon,
                       std::initializer_list<DialogButton> buttons) override {
    shown_.push_back({caption, text, QString(), icon, false});
    if (buttons_.empty()) return *buttons.begin();
    DialogButton pressed = buttons_.front();
    buttons_.pop_front();
    return pressed;
  }

  bool SaveFileName(QWidget*, const QString& caption, const QString& filter, const QString&,
                    QString& path) override {
    shown_.push_back({caption, filter, path, DialogIcon::None, false, true});
    // An unscripted file dialog is cancelled, as an input dialog is.
    if (files_.empty()) return false;
    auto chosen = std::move(files_.front());
    files_.pop_front();
    if (!chosen) return false;
    path = *chosen;
    return true;
  }

 private:
  std::deque<std::optional<QString>> inputs_;
  std::deque<std::optional<QString>> files_;
  std::deque<DialogButton> buttons_;
  std::vector<Shown> shown_;
};

}  // namespace zelv
