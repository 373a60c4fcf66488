// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/scale.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "zelvlib/gui_test_main.h"

namespace {

TEST(Scale, NeighbouringRectanglesStillTouchAtEveryZoom) {
  // The trainer's task grid: five columns of 84 pixels, three rows of 42.
  for (int percent : zelv::kZoomPercents) {
    const zelv::Scale scale = zelv::Scale::FromPercent(percent);
    for (int column = 0; column + 1 < 5; ++column) {
      const QRect left = scale.Rect(QRect(column * 84, 0, 84, 42));
      const QRect right = scale.Rect(QRect((column + 1) * 84, 0, 84, 42));
      EXPECT_EQ(left.right() + 1, right.left()) << percent;
    }
    EXPECT_EQ(scale.Rect(QRect(0, 0, 421, 204)).size(), scale.Size(QSize(421, 204)));
  }
  EXPECT_EQ(zelv::Scale(1.5).Rect(QRect(3, 3, 3, 3)), QRect(5, 5, 4, 4));
}

TEST(Scale, FontsKeepTheirUnit) {
  QFont pixels;
  pixels.setPixelSize(15);
  EXPECT_EQ(zelv::Scale(2.0).Font(pixels).pixelSize(), 30);
  EXPECT_EQ(zelv::Scale(1.5).Font(pixels).pixelSize(), 23);
  QFont points;
  points.setPointSizeF(9);
  EXPECT_DOUBLE_EQ(zelv::Scale(3.0).Font(points).pointSizeF(), 27);
  EXPECT_EQ(zelv::Scale(0).Factor(), 1.0);  // a broken factor is no zoom
}

TEST(Zoom, StepsStayWithinTheLevels) {
  struct Case {
    int from, in, out;
  };
  const Case cases[] = {{100, 150, 100}, {150, 200, 100}, {200, 300, 150},
                        {300, 300, 200}, {125, 150, 100}, {50, 100, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(zelv::ZoomedIn(c.from), c.in) << c.from;
    EXPECT_EQ(zelv::ZoomedOut(c.from), c.out) << c.from;
  }
  EXPECT_EQ(zelv::ValidZoom(175), 100);
  EXPECT_EQ(zelv::ValidZoom(300), 300);
}

class ZoomControlTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
  QSettings settings_{dir_.filePath(QStringLiteral("zoom.ini")), QSettings::IniFormat};
};

TEST_F(ZoomControlTest, RemembersTheChoiceAndIgnoresNonsenseStored) {
  {
    zelv::ZoomControl zoom(&settings_);
    EXPECT_EQ(zoom.Percent(), 100);
    QSignalSpy changed(&zoom, &zelv::ZoomControl::Changed);
    zoom.ZoomIn();
    zoom.ZoomIn();
    zoom.SetPercent(200);  // no change, no signal
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.last().at(0).value<zelv::Scale>().Percent(), 200);
  }
  EXPECT_EQ(zelv::ZoomControl(&settings_).Percent(), 200);
  settings_.setValue(QStringLiteral("view/zoom"), QStringLiteral("huge"));
  EXPECT_EQ(zelv::ZoomControl(&settings_).Percent(), 100);
  settings_.setValue(QStringLiteral("view/zoom"), 1000);
  EXPECT_EQ(zelv::ZoomControl(&settings_).Percent(), 100);
}

TEST_F(ZoomControlTest, MenuShowsOneRadioMarkAndTheShortcuts) {
  zelv::ZoomControl zoom(&settings_);
  QMenu menu;
  const QList<QAction*> actions = zoom.FillMenu(menu);
  ASSERT_EQ(actions.size(), 3);
  EXPECT_TRUE(actions[0]->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
  EXPECT_TRUE(actions[1]->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Minus)));
  EXPECT_TRUE(actions[2]->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_0)));

  const auto checkedLevels = [&menu] {
    QList<int> levels;
    for (QAction* item : menu.actions()) {
      if (item->isChecked()) levels << item->data().toInt();
    }
    return levels;
  };
  EXPECT_EQ(checkedLevels(), QList<int>{100});
  menu.actions().at(3)->trigger();  // 300 %
  EXPECT_EQ(zoom.Percent(), 300);
  EXPECT_EQ(checkedLevels(), QList<int>{300});
  actions[2]->trigger();
  EXPECT_EQ(checkedLevels(), QList<int>{100});
}

}  // namespace
