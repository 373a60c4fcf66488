// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The words for people about the progress store's problems: each message
// says which kind of problem it is (a damaged file, a newer version's file, a
// folder that cannot be written, a full disk, a file another copy holds) and
// what a parent can do about it, and whether the child's practice is saved.
// A folder that cannot be written is never called damaged: a parent told
// "damaged" might delete a healthy file.
#pragma once

#include <QString>

#include "store_problems.h"

namespace numora {

// The message for a problem, in the interface language.
QString StoreProblemText(const StoreProblem& problem);
// What happened, in one sentence: "Der Ordner … ist nicht beschreibbar."
QString StoreErrorSentence(const StoreError& error, const QString& where);
// A child deleted by another running copy, and who practises now.
QString ProfileGoneText(const QString& gone, const QString& now);
// The main window's sign while nothing is saved, and its spoken name.
QString NotSavingSignText();
QString NotSavingSignDescription();

}  // namespace numora
