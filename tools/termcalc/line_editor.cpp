// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "line_editor.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace termcalc {

namespace {

constexpr int kHistorySize = 1000;

char* Prompt(EditLine*) {
  static char prompt[] = "> ";
  return prompt;
}

// Creates every missing folder of path (not its last part), private to the
// user as state folders are.
bool CreateParentFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace

std::string HistoryPath() {
  std::string state;
  const char* xdg = std::getenv("XDG_STATE_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    state = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    state = std::string(home) + "/.local/state";
  }
  const std::string path = state + "/termcalc/history";
  return CreateParentFolders(path) ? path : std::string();
}

LineEditor::LineEditor(std::string historyPath) : historyPath_(std::move(historyPath)) {
  history_ = history_init();
  if (history_ != nullptr) {
    history(history_, &event_, H_SETSIZE, kHistorySize);
    history(history_, &event_, H_SETUNIQUE, 1);
    if (!historyPath_.empty()) history(history_, &event_, H_LOAD, historyPath_.c_str());
  }
  editLine_ = el_init("termcalc", stdin, stderr, stderr);
  if (editLine_ == nullptr) return;
  el_set(editLine_, EL_PROMPT, &Prompt);
  el_set(editLine_, EL_EDITOR, "emacs");
  el_set(editLine_, EL_SIGNAL, 1);
  if (history_ != nullptr) el_set(editLine_, EL_HIST, history, history_);
  // Incremental search backwards, as in other shells and calculators.
  el_set(editLine_, EL_BIND, "^R", "em-inc-search-prev", nullptr);
  // The user's own bindings in ~/.editrc win.
  el_source(editLine_, nullptr);
}

LineEditor::~LineEditor() {
  if (editLine_ != nullptr) el_end(editLine_);
  if (history_ != nullptr) history_end(history_);
}

bool LineEditor::ReadLine(std::string& line) {
  if (editLine_ == nullptr) return false;
  int count = 0;
  const char* text = el_gets(editLine_, &count);
  if (text == nullptr || count <= 0) return false;
  line.assign(text, static_cast<std::size_t>(count));
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void LineEditor::Remember(const std::string& line) {
  if (history_ == nullptr || line.find_first_not_of(" \t") == std::string::npos) return;
  history(history_, &event_, H_ENTER, line.c_str());
  if (!historyPath_.empty()) history(history_, &event_, H_SAVE, historyPath_.c_str());
}

}  // namespace termcalc
