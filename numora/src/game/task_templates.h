// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The task templates: arithmetic terms whose placeholders "$A", "$B", "$C" and
// "$Z" stand for random numbers. They ship as a Windows-1252 text resource, one
// template per line; comment lines begin with ";".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace numora {

// Templates in Windows-1252, one entry per template line, in file order. A
// template occurring several times is kept several times, so a uniform pick by
// line favours it accordingly.
using TTemplateList = std::vector<std::string>;

// Splits text into lines (CR LF, LF or CR end a line; a final line break adds
// no line) and keeps the template lines: a line whose text, trimmed of blanks
// and control characters, is empty or begins with ";" is dropped. Kept lines
// stay exactly as they are, blanks included.
TTemplateList LoadTemplates(std::string_view text);

// The templates compiled into the program; empty only if the resource is
// missing from the build.
TTemplateList LoadShippedTemplates();

}  // namespace numora
