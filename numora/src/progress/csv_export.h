// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV export of the progress store: one row per task, for a spreadsheet.
// UTF-8 with a byte-order mark (so LibreOffice and Excel keep the umlauts),
// ";" between cells as German spreadsheets expect, every text cell quoted,
// and a text that a spreadsheet would run as a formula (= + - @ at the
// start) made plain text with a leading apostrophe.
#pragma once

#include <QString>
#include <optional>

#include "progress_store.h"

class QIODevice;

namespace numora {

// A text as one CSV cell: quoted, quotes doubled, formulas defused.
QString CsvTextCell(const QString& text);

// Writes the header and the tasks of one profile, or of all when none is
// given. False when the device fails.
bool WriteProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, QIODevice& out);

// Writes to a file, replacing it only once everything is written. On
// failure, error receives a sentence for the user.
bool ExportProgressCsv(ProgressStore& store, std::optional<ProfileId> profile, const QString& path,
                       QString& error);

}  // namespace numora
