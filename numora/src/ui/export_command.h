// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The command line for teachers and scripts:
//   numora --export-csv FILE [--profile NAME]
// writes the progress as CSV (one profile, or all) and ends without opening
// a window or needing a display.
#pragma once

#include <QString>
#include <QStringList>

namespace numora {

// Whether the command line asks for the export.
bool WantsExport(int argc, char* argv[]);

// Runs the export; messages go to standard error. The exit status: 0 done,
// 1 failed, 2 a wrong command line.
int RunExportCommand(const QStringList& arguments, const QString& storePath);

}  // namespace numora
