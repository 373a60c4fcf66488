// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/user_names.h"

#include <gtest/gtest.h>

#include <QSysInfo>

namespace {

struct NameCase {
  QString account;
  QString defaultLogonUser;
  QString expected;
  bool readsDefault;
};

TEST(ChooseLogonUserName, SystemAccountTakesTheDefaultLogonUser) {
  const NameCase cases[] = {
      {"anna", "admin", "anna", false},
      {"SYSTEM", "anna", "anna", true},
      {"system", "anna", "anna", true},
      {"SyStEm", "", "", true},  // nothing readable: empty
      {"SYSTEM ", "anna", "SYSTEM ", false},
      {"systems", "anna", "systems", false},
      {QString::fromUtf8("ſystem"), "anna", QString::fromUtf8("ſystem"), false},  // ASCII only
      {"", "anna", "", false},
  };
  for (const NameCase& c : cases) {
    bool read = false;
    const QString name = zelv::ChooseLogonUserName(c.account, [&] {
      read = true;
      return c.defaultLogonUser;
    });
    EXPECT_EQ(name, c.expected) << c.account.toStdString();
    EXPECT_EQ(read, c.readsDefault) << c.account.toStdString();
  }
}

TEST(ChooseLogonUserName, NamesAreCutAtTheBufferSize) {
  const QString longName(300, QChar('a'));
  EXPECT_EQ(zelv::ChooseLogonUserName(longName, {}).size(), 255);
  EXPECT_TRUE(zelv::ChooseLogonUserName("SYSTEM", {}).isEmpty());
}

TEST(SystemNames, ComeFromTheRunningSystem) {
  const QString user = zelv::GetLogonUserName();
  EXPECT_FALSE(user.isEmpty());
  EXPECT_EQ(zelv::GetMachineName(), QSysInfo::machineHostName());
}

}  // namespace
