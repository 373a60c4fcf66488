// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 text, the 8-bit encoding of the engine's terms, the task
// templates and the picture library's word list, converted at the GUI boundary.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zelv {

QString FromWindows1252(std::string_view text);
// Characters that Windows-1252 cannot hold become '?'.
std::string ToWindows1252(const QString& text);

}  // namespace zelv
