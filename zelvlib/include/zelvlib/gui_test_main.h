// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Test programs that create widgets include this once instead of linking
// GoogleTest's own main: the widgets need a QApplication, made here before any
// test runs. They run on Qt's offscreen platform unless QT_QPA_PLATFORM says
// otherwise, also when the build lists the tests, where no display exists.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
