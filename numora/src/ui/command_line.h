// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line asks of the program, read before any application
// object exists: the help and the version are printed without a window and
// without a display, like the CSV export.
#pragma once

#include <QString>
#include <cstdint>

namespace numora {

enum class CommandLineRequest : std::uint8_t {
  Window,   // the trainer itself (Qt's own options such as -platform pass on)
  Help,     // --help or -h, anywhere on the line
  Version,  // --version
  Export,   // --export-csv FILE [--profile NAME]
};

// Help comes first, then the version, then the export: "numora --export-csv
// x --help" explains rather than writes.
CommandLineRequest ReadCommandLine(int argc, char* argv[]);

// The texts for standard output, in the interface language; each ends with a
// line break.
QString CommandLineHelp();
QString VersionText();

// Prints the help or the version to standard output; the exit status (0).
int PrintCommandLineAnswer(CommandLineRequest request);

}  // namespace numora
