// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up window: shown for a moment when the trainer starts, and later
// the information window of "&Info".
#pragma once

#include <QDialog>

#include "zelvlib/scale.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace numora {

class TSplashscreen : public QDialog {
  Q_OBJECT

 public:
  // The start-up phase lasts three seconds; tests pass a shorter one.
  static constexpr int kStartupMilliseconds = 3000;

  // Takes the program's icon and title, shows itself (not modally) and starts
  // Timer1, which ends the start-up phase.
  explicit TSplashscreen(QWidget* parent = nullptr, int startupMilliseconds = kStartupMilliseconds);

  // Lays the window out at a zoom, from its 100 % layout.
  void ApplyScale(zelv::Scale scale);

  // True until Timer1 has fired (or the phase was ended early).
  bool InStartupPhase() const { return startupPhase_; }

  QLabel* TitleLabel = nullptr;
  QFrame* Bevel3 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Image2 = nullptr;
  QFrame* Bevel1 = nullptr;
  QLabel* Image3 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QTimer* Timer1 = nullptr;

 signals:
  // The start-up phase is over: the game clock may run from now on. Emitted
  // exactly once.
  void StartupFinished();

 public slots:
  // "&Info": shows the window modally with its OK button. Asked for while the
  // start-up phase still runs, it ends that phase first (the window would
  // otherwise hide itself under the reader's eyes a moment later).
  void Info1Click();
  // Ends the start-up phase: hides the window, shows the OK button, switches
  // Timer1 off for good and lets the game clock start.
  void Timer1Timer();

 public:
  // Escape and the window manager's close command end the start-up phase
  // early instead of leaving the clock switched off; afterwards they close
  // the modal information window.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Label3Click(QLabel* label);
  QLabel* MakeLinkLabel(const QString& text);
  void PlaceLinkLabel(QLabel* label, const QFont& font, const QRect& place);
  void CentreOnScreen();

  bool startupPhase_ = true;
};

}  // namespace numora
