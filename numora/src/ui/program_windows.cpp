// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_windows.h"

#include <QApplication>
#include <QTimer>

namespace numora {

ProgramWindows::ProgramWindows(zelv::UserDialogs& dialogs, Options options)
    : Form1(dialogs, nullptr, options.Seed),
      Splashscreen(nullptr, options.StartupMilliseconds),
      Form3(&Form1),
      Zoom(options.Settings),
      programFolder_(std::move(options.ProgramFolder)),
      applicationFont_(QApplication::font()) {
  QObject::connect(&Splashscreen, &TSplashscreen::StartupFinished, &Form1.Clock(),
                   qOverload<>(&QTimer::start));
  QObject::connect(&Form1, &TForm1::InfoRequested, &Splashscreen, &TSplashscreen::Info1Click);
  QObject::connect(&Form1, &TForm1::HelpRequested, &Form1, [this] {
    if (programFolder_.isEmpty()) {
      ShowHelp(&Form1, CalcHelp);
    } else {
      ShowHelp(&Form1, CalcHelp, programFolder_);
    }
  });
  QObject::connect(&Form1, &TForm1::HistoryRequested, &Form3, &TForm3::ShowHistory);

  Form1.AttachZoom(Zoom);
  QObject::connect(&Zoom, &zelv::ZoomControl::Changed, &Form1,
                   [this](zelv::Scale scale) { ApplyScale(scale); });
  ApplyScale(Zoom.CurrentScale());
}

ProgramWindows::~ProgramWindows() {
  QApplication::setFont(applicationFont_);
}

void ProgramWindows::ApplyScale(zelv::Scale scale) {
  QApplication::setFont(scale.Font(applicationFont_));
  Form1.ApplyScale(scale);
  Splashscreen.ApplyScale(scale);
  Form3.ApplyScale(scale);
  CalcHelp.ApplyScale(scale);
}

void ProgramWindows::Show() {
  Form1.show();
  if (Splashscreen.InStartupPhase()) Splashscreen.raise();
}

}  // namespace numora
