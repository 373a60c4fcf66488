// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/scale.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QSettings>
#include <algorithm>
#include <cmath>

namespace zelv {

namespace {

const QString kZoomKey = QStringLiteral("view/zoom");

QKeySequence KeypadShortcut(Qt::Key key) {
  return QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, key));
}

}  // namespace

int Scale::Percent() const {
  return static_cast<int>(std::lround(factor_ * 100));
}

int Scale::Px(int pixels) const {
  return static_cast<int>(std::lround(pixels * factor_));
}

QPoint Scale::Point(const QPoint& point) const {
  return {Px(point.x()), Px(point.y())};
}

QSize Scale::Size(const QSize& size) const {
  return {Px(size.width()), Px(size.height())};
}

QRect Scale::Rect(const QRect& rect) const {
  const int left = Px(rect.left());
  const int top = Px(rect.top());
  return QRect(left, top, Px(rect.left() + rect.width()) - left,
               Px(rect.top() + rect.height()) - top);
}

QFont Scale::Font(const QFont& font) const {
  QFont scaled = font;
  if (font.pixelSize() > 0) {
    scaled.setPixelSize(std::max(1, Px(font.pixelSize())));
  } else if (font.pointSizeF() > 0) {
    scaled.setPointSizeF(font.pointSizeF() * factor_);
  }
  return scaled;
}

int ZoomedIn(int percent) {
  for (int level : kZoomPercents) {
    if (level > percent) return level;
  }
  return kZoomPercents.back();
}

int ZoomedOut(int percent) {
  for (auto it = kZoomPercents.rbegin(); it != kZoomPercents.rend(); ++it) {
    if (*it < percent) return *it;
  }
  return kZoomPercents.front();
}

int ValidZoom(int percent) {
  return std::find(kZoomPercents.begin(), kZoomPercents.end(), percent) != kZoomPercents.end()
             ? percent
             : 100;
}

ZoomControl::ZoomControl(QSettings* settings, QObject* parent)
    : QObject(parent), settings_(settings) {
  if (settings_) percent_ = ValidZoom(settings_->value(kZoomKey, 100).toInt());
}

QList<QAction*> ZoomControl::FillMenu(QMenu& menu) {
  QList<QAction*> actions;
  levels_ = new QActionGroup(&menu);
  levels_->setExclusive(true);
  for (int level : kZoomPercents) {
    //: A zoom level of the windows, e.g. "150 %".
    QAction* item = menu.addAction(tr("%1 %").arg(level));
    item->setCheckable(true);
    item->setData(level);
    levels_->addAction(item);
    connect(item, &QAction::triggered, this, [this, level] { SetPercent(level); });
  }
  CheckCurrentLevel();
  menu.addSeparator();

  QAction* in = menu.addAction(tr("Ver&größern"), this, &ZoomControl::ZoomIn);
  // Ctrl+Plus is Ctrl+Shift+= on many keyboards; Ctrl+= and the keypad's
  // plus do the same.
  in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                    KeypadShortcut(Qt::Key_Plus)});
  QAction* out = menu.addAction(tr("Ver&kleinern"), this, &ZoomControl::ZoomOut);
  out->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus), KeypadShortcut(Qt::Key_Minus)});
  QAction* reset = menu.addAction(tr("&Originalgröße"), this, &ZoomControl::ResetZoom);
  reset->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_0), KeypadShortcut(Qt::Key_0)});
  actions << in << out << reset;
  return actions;
}

void ZoomControl::SetPercent(int percent) {
  percent = ValidZoom(percent);
  if (percent == percent_) {
    CheckCurrentLevel();
    return;
  }
  percent_ = percent;
  if (settings_) settings_->setValue(kZoomKey, percent_);
  CheckCurrentLevel();
  emit Changed(CurrentScale());
}

void ZoomControl::CheckCurrentLevel() {
  if (!levels_) return;
  for (QAction* item : levels_->actions()) item->setChecked(item->data().toInt() == percent_);
}

}  // namespace zelv
