// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Task texts as a screen reader should say them: "17*13*9" is read
// "17 mal 13 mal 9", not as a string of digits and stars.
#pragma once

#include <QString>

namespace numora {

// The task text with every operator and parenthesis as a word, separated by
// blanks: "$A-($B+7)" style texts become "12 minus Klammer auf 3 plus 7
// Klammer zu". Digits and a decimal point stay as they are; anything else
// is kept as written.
QString SpokenTask(const QString& text);

}  // namespace numora
