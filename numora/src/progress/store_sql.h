// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The statements of an SQL progress store in standard SQL, for every SQL
// store: the SQLite file (progress/sqlite/) runs them as they are, and a store
// on a database server (PostgreSQL) could too. What only one engine
// understands (SQLite's PRAGMAs and json_each, the schema's INTEGER PRIMARY
// KEY) stays with that engine's store. Values are bound in order to the "?"
// placeholders; booleans are stored as 0 and 1.
#pragma once

namespace numora::sql {

// ---- profiles and settings ----
extern const char* const kProfiles;           // id, name
extern const char* const kDeleteProfile;      // (id)
extern const char* const kForgetLastProfile;  // (id)
extern const char* const kLastProfile;        // id
extern const char* const kProfileExists;      // (id) -> 1

// ---- rounds, tasks and answers as they are played ----
extern const char* const kStartRound;  // (started, level, practice, profile id)
extern const char* const kAddTask;     // (round, slot, term, expected, kind)
// (wrong 0/1, right 0/1, right 0/1, seconds to solve, round, slot) -> task id
extern const char* const kAnswerTask;
extern const char* const kAddAnswer;    // (task, typed, right, second)
extern const char* const kRoundCounts;  // (solved, points, errors, seconds, round)
// (state, special points, solved, points, errors, seconds, round)
extern const char* const kEndRound;

// ---- reading ----
// (profile, from, to): id, started, level, solved, points, errors, seconds,
// special points, state, practice
extern const char* const kRounds;
// (profile, from, to): one row per answer (or per task without any)
extern const char* const kTasksWithAnswers;
extern const char* const kMissedTasks;      // (profile, since, limit)
extern const char* const kMostMissedTerms;  // (profile, from, to, limit)
extern const char* const kFirstRoundStart;  // (profile)

}  // namespace numora::sql
