// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The history window: the round history as a fixed-pitch list, shown modally
// and rebuilt on every opening.
#pragma once

#include <QDialog>
#include <QStringList>

#include "zelvlib/scale.h"

class QListWidget;
class QPushButton;

namespace numora {

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);

  // Replaces the list with lines and selects the first round's line (or the
  // last line of a shorter list).
  void SetLines(const QStringList& lines);
  QStringList Lines() const;
  // Lays the window out at a zoom, from its 100 % layout.
  void ApplyScale(zelv::Scale scale);

  QListWidget* ListBox1 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 public slots:
  // Fills the list and shows the window modally until it is closed.
  void ShowHistory(const QStringList& lines);
};

}  // namespace numora
