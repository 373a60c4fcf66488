// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's four windows, created once in their fixed order (main window,
// start-up window, history, help) and wired together: the start-up window
// starts the main window's clock, and the main window's menu reaches the
// others.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <optional>

#include "calc_help.h"
#include "history_window.h"
#include "main_window.h"
#include "splash_screen.h"

class QSettings;

namespace zelv {
class UserDialogs;
}

namespace numora {

class ProgramWindows {
 public:
  struct Options {
    std::optional<std::uint32_t> Seed;  // none: seeded from the clock
    int StartupMilliseconds = TSplashscreen::kStartupMilliseconds;
    // Where "Hilfe" looks for "index.htm"; empty: beside the program.
    QString ProgramFolder;
    // Where the user's zoom is remembered; none: not remembered.
    QSettings* Settings = nullptr;
  };

  // Creates the windows; the start-up window shows itself at once.
  explicit ProgramWindows(zelv::UserDialogs& dialogs) : ProgramWindows(dialogs, Options{}) {}
  ProgramWindows(zelv::UserDialogs& dialogs, Options options);

  ~ProgramWindows();

  // Shows the main window, keeping the start-up window above it while the
  // start-up phase lasts (also where no window manager keeps it on top).
  void Show();

  // Declared in the order of creation; destroyed in reverse.
  TForm1 Form1;
  TSplashscreen Splashscreen;
  TForm3 Form3;
  TCalcHelp CalcHelp;
  // The zoom of all four windows ("Ansicht" in the main window's menu).
  zelv::ZoomControl Zoom;

 private:
  // Every window at the zoom, and the dialogs and menus through the
  // application's font.
  void ApplyScale(zelv::Scale scale);

  QString programFolder_;
  QFont applicationFont_;
};

}  // namespace numora
