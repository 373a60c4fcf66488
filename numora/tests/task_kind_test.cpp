// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_kind.h"

#include <gtest/gtest.h>

namespace numora {
namespace {

TEST(TaskKind, ClassifiedByTheOperationsOfTheTerm) {
  struct Case {
    const char* term;
    TaskKind kind;
  };
  const Case cases[] = {
      {"12+7", TaskKind::Addition},
      {"12+7+30", TaskKind::Addition},
      {"-5+3", TaskKind::Addition},  // a leading sign is no subtraction
      {"40-7", TaskKind::Subtraction},
      {"40-(7-2)", TaskKind::Subtraction},
      {"7*8", TaskKind::Multiplication},
      {"12^2", TaskKind::Multiplication},
      {"3*(-4)", TaskKind::Multiplication},
      {"250/25", TaskKind::Division},
      {"(30/5)/2", TaskKind::Division},
      {"250/25+7", TaskKind::Mixed},
      {"12+3*4", TaskKind::Mixed},
      {"40-(7+2)", TaskKind::Mixed},
      {"42", TaskKind::Mixed},
      {"", TaskKind::Mixed},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyTask(c.term), c.kind) << c.term;
}

TEST(TaskKind, EveryKindHasAName) {
  for (int k = 0; k < kTaskKindCount; ++k) {
    EXPECT_STRNE(TaskKindName(static_cast<TaskKind>(k)), "");
  }
  EXPECT_STREQ(TaskKindName(static_cast<TaskKind>(kTaskKindCount)), "");
}

}  // namespace
}  // namespace numora
