// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Reading terms from a terminal with line editing and a history kept across
// runs, through libedit: the arrows, Home and End, Ctrl-R to search back,
// Ctrl-D on an empty line to leave, and the user's ~/.editrc.
#pragma once

#include <histedit.h>

#include <string>

namespace termcalc {

class LineEditor {
 public:
  // Prompts on standard error, so that standard output holds only results.
  // An empty historyPath keeps the history for this run only.
  explicit LineEditor(std::string historyPath);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // The next line without its line break; false at the end of the input.
  bool ReadLine(std::string& line);
  // Adds a line to the history and saves the history file at once, so that
  // a run that is killed loses nothing.
  void Remember(const std::string& line);

 private:
  std::string historyPath_;
  History* history_ = nullptr;
  EditLine* editLine_ = nullptr;
  HistEvent event_{};
};

// $XDG_STATE_HOME/termcalc/history, or ~/.local/state/termcalc/history when
// that variable is unset or not absolute; the folders are created. Empty when
// neither names a usable place.
std::string HistoryPath();

}  // namespace termcalc
