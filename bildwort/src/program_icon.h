// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, drawn in code: a picture above a line of words.
#pragma once

#include <QIcon>

namespace bildwort {

QIcon ProgramIcon();

}  // namespace bildwort
