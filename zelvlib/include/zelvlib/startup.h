// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up step that both programs run once, after the QApplication exists
// (Qt reads the user's locale when it is constructed) and before any window.
#pragma once

namespace zelv {

// Makes "." the decimal separator of every number conversion of the program,
// whatever the user's locale, and switches off any fatal-error box.
void RunStartupStep();

}  // namespace zelv
