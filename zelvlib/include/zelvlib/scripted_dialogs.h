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
  };

  // Queue an input answer; std::nullopt stands for Cancel.
  void Answer(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
  // Queue the button that closes the next message box.
  void Press(DialogButton button) { buttons_.push_back(button); }

  const std::vector<Shown>& History() const { return shown_; }
  void ClearHistory() { shown_.clear(); }
  bool ScriptUsedUp() const { return inputs_.empty() && buttons_.empty(); }

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

 private:
  std::deque<std::optional<QString>> inputs_;
  std::deque<DialogButton> buttons_;
  std::vector<Shown> shown_;
};

}  // namespace zelv
