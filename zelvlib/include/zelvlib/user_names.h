// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the user the program runs as and of the computer, for the
// trainer's history listing.
#pragma once

#include <QString>
#include <functional>

namespace zelv {

// The account name of the running program. Under the system account
// ("SYSTEM" in any case) the default logon user's name stands in for it, read
// from the system's settings; where the system keeps no such setting, the
// result is empty.
QString GetLogonUserName();

// The computer's name; empty if the system does not say.
QString GetMachineName();

// The rule behind GetLogonUserName with its two sources passed in.
QString ChooseLogonUserName(const QString& accountName,
                            const std::function<QString()>& readDefaultLogonUser);

}  // namespace zelv
