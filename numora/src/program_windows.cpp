#include "program_windows.h"

#include <QTimer>

namespace numora {

ProgramWindows::ProgramWindows(zelv::UserDialogs& dialogs, Options options)
    : Form1(dialogs, nullptr, options.Seed),
      Splashscreen(nullptr, options.StartupMilliseconds),
      Form3(&Form1),
      programFolder_(std::move(options.ProgramFolder)) {
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
}

void ProgramWindows::Show() {
  Form1.show();
  if (Splashscreen.InStartupPhase()) Splashscreen.raise();
}

}  // namespace numora
