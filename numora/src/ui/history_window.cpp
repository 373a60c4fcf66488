// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_window.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "program_identity.h"

namespace numora {
namespace {

constexpr int kClientWidth = 487;
constexpr int kClientHeight = 209;
constexpr QPoint kScreenPosition(197, 107);
constexpr QRect kListRect(0, 0, 487, 169);
constexpr QRect kOkRect(200, 176, 81, 25);
constexpr int kListPixelSize = 12;
constexpr int kItemHeight = 15;
// The first round, under the two heading lines and the line of minus signs:
// a screen reader starts on real content.
constexpr int kFirstRoundLine = 3;

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Numora - Verlauf"));
  setWindowIcon(QApplication::windowIcon());
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  move(kScreenPosition);

  ListBox1 = new QListWidget(this);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setAccessibleName(tr("Verlauf der Runden"));

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  ApplyScale(zelv::Scale());
}

void TForm3::ApplyScale(zelv::Scale scale) {
  setFixedSize(scale.Size(QSize(kClientWidth, kClientHeight)));
  ListBox1->setGeometry(scale.Rect(kListRect));
  ListBox1->setFont(FixedPitchFont(scale.Px(kListPixelSize)));
  // Fixed item height: a delegate-free way is a style sheet on the items.
  ListBox1->setStyleSheet(
      QStringLiteral("QListWidget::item { height: %1px; }").arg(scale.Px(kItemHeight)));
  BitBtn1->setGeometry(scale.Rect(kOkRect));
  BitBtn1->setIconSize(scale.Size(QSize(16, 16)));
}

void TForm3::SetLines(const QStringList& lines) {
  ListBox1->clear();
  ListBox1->addItems(lines);
  if (ListBox1->count() > 0)
    ListBox1->setCurrentRow(std::min(kFirstRoundLine, ListBox1->count() - 1));
}

QStringList TForm3::Lines() const {
  QStringList lines;
  for (int i = 0; i < ListBox1->count(); ++i) lines << ListBox1->item(i)->text();
  return lines;
}

void TForm3::ShowHistory(const QStringList& lines) {
  SetLines(lines);
  move(kScreenPosition);
  exec();
}

}  // namespace numora
