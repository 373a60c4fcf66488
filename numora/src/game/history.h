// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the round history: a heading, one line per round, the totals,
// the special points and a line naming the date, the user and the computer.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "game_params.h"

namespace numora {

struct HistoryFooter {
  QString Date;  // today's date in the system's short format
  QString UserName;
  QString MachineName;
};

// Every line of the history list, in order.
QStringList HistoryLines(const std::vector<TGameParams>& rounds, const TGameParams& totals,
                         std::int32_t specialPoints, const HistoryFooter& footer);

// The footer for now: today's date, the logged-on user and the computer.
HistoryFooter CurrentHistoryFooter();

}  // namespace numora
