// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom: every window keeps the geometry it is drawn with at 100 % and applies
// one Scale to it in one step; ZoomControl holds the user's choice, offers it
// in a menu and remembers it.
#pragma once

#include <QFont>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QSettings;

namespace zelv {

class Scale {
 public:
  constexpr Scale() = default;
  // Zoom in per cent: 150 is one and a half times the size.
  static Scale FromPercent(int percent) { return Scale(percent / 100.0); }
  explicit constexpr Scale(double factor) : factor_(factor > 0 ? factor : 1.0) {}

  double Factor() const { return factor_; }
  int Percent() const;
  int Px(int pixels) const;
  QPoint Point(const QPoint& point) const;
  QSize Size(const QSize& size) const;
  // The edges are scaled, not the width and height: controls that touch at
  // 100 % still touch, without gaps or overlaps from rounding.
  QRect Rect(const QRect& rect) const;
  // font with its pixel size scaled (a font given in points keeps its
  // points scaled too).
  QFont Font(const QFont& font) const;

  friend bool operator==(const Scale&, const Scale&) = default;

 private:
  double factor_ = 1.0;
};

// The zoom levels offered, in per cent, smallest first; 100 is the layout as
// drawn.
inline constexpr std::array<int, 4> kZoomPercents = {100, 150, 200, 300};
// The next level up or down from percent (which need not be one of them),
// staying at the ends.
int ZoomedIn(int percent);
int ZoomedOut(int percent);
// percent when it is one of the levels, else 100.
int ValidZoom(int percent);

// The user's zoom: read from and written to settings under "view/zoom"
// (nullptr: not remembered), offered as radio items and zoom in/out/reset
// actions with Ctrl+Plus, Ctrl+Minus and Ctrl+0.
class ZoomControl : public QObject {
  Q_OBJECT

 public:
  explicit ZoomControl(QSettings* settings, QObject* parent = nullptr);

  int Percent() const { return percent_; }
  zelv::Scale CurrentScale() const { return Scale::FromPercent(percent_); }

  // Adds the levels and the three actions to menu (an "Ansicht" menu). The
  // actions are returned so that the window can also add them to itself:
  // their shortcuts then work with the menu closed.
  QList<QAction*> FillMenu(QMenu& menu);

  void SetPercent(int percent);
  void ZoomIn() { SetPercent(ZoomedIn(percent_)); }
  void ZoomOut() { SetPercent(ZoomedOut(percent_)); }
  void ResetZoom() { SetPercent(100); }

 signals:
  void Changed(zelv::Scale scale);

 private:
  void CheckCurrentLevel();

  QSettings* settings_;
  int percent_ = 100;
  QActionGroup* levels_ = nullptr;
};

}  // namespace zelv
