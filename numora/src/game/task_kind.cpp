// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_kind.h"

#include <QtGlobal>

namespace numora {

TaskKind ClassifyTask(std::string_view term) {
  bool seen[kTaskKindCount] = {};
  bool operandBefore = false;  // whether a number or ")" precedes
  for (const char c : term) {
    switch (c) {
      case '+':
      case '-':
        if (operandBefore)
          seen[static_cast<int>(c == '+' ? TaskKind::Addition : TaskKind::Subtraction)] = true;
        operandBefore = false;
        break;
      case '*':
      case '^':
        seen[static_cast<int>(TaskKind::Multiplication)] = true;
        operandBefore = false;
        break;
      case '/':
        seen[static_cast<int>(TaskKind::Division)] = true;
        operandBefore = false;
        break;
      case '(':
        operandBefore = false;
        break;
      case ' ':
        break;
      default:
        operandBefore = true;  // digits, ")", names
        break;
    }
  }
  int kinds = 0;
  TaskKind found = TaskKind::Mixed;
  for (int k = 0; k < kTaskKindCount; ++k) {
    if (seen[k]) {
      ++kinds;
      found = static_cast<TaskKind>(k);
    }
  }
  return kinds == 1 ? found : TaskKind::Mixed;
}

const char* TaskKindName(TaskKind kind) {
  // Marked for translation; the windows translate them in this context.
  static constexpr std::array<const char*, kTaskKindCount> names = {
      QT_TRANSLATE_NOOP("numora::TaskKind", "Additionen"),
      QT_TRANSLATE_NOOP("numora::TaskKind", "Subtraktionen"),
      QT_TRANSLATE_NOOP("numora::TaskKind", "Multiplikationen"),
      QT_TRANSLATE_NOOP("numora::TaskKind", "Divisionen"),
      QT_TRANSLATE_NOOP("numora::TaskKind", "gemischte Aufgaben")};
  const auto index = static_cast<std::size_t>(kind);
  return index < names.size() ? names[index] : "";
}

}  // namespace numora
