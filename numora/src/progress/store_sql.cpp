// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store_sql.h"

namespace numora::sql {

const char* const kProfiles = "SELECT id, name FROM profiles ORDER BY id";
const char* const kDeleteProfile = "DELETE FROM profiles WHERE id = ?";
const char* const kForgetLastProfile =
    "DELETE FROM settings WHERE key = 'last_profile' AND value = ?";
const char* const kLastProfile =
    "SELECT p.id FROM settings s JOIN profiles p ON p.id = s.value WHERE s.key = 'last_profile'";
const char* const kProfileExists = "SELECT 1 FROM profiles WHERE id = ?";

const char* const kStartRound =
    "INSERT INTO rounds(profile_id, started, level, practice)"
    " SELECT id, ?, ?, ? FROM profiles WHERE id = ?";
const char* const kAddTask =
    "INSERT INTO tasks(round_id, slot, term, expected, kind) VALUES(?, ?, ?, ?, ?)";
const char* const kAnswerTask =
    "UPDATE tasks SET wrong = wrong + ?, solved = CASE WHEN ? = 1 THEN 1 ELSE solved END,"
    " seconds_to_solve = CASE WHEN ? = 1 THEN ? ELSE seconds_to_solve END"
    " WHERE round_id = ? AND slot = ? RETURNING id";
const char* const kAddAnswer =
    "INSERT INTO answers(task_id, typed, right, second) VALUES(?, ?, ?, ?)";
const char* const kRoundCounts =
    "UPDATE rounds SET solved = ?, points = ?, errors = ?, seconds = ? WHERE id = ?";
const char* const kEndRound =
    "UPDATE rounds SET state = ?, special_points = ?, solved = ?, points = ?, errors = ?,"
    " seconds = ? WHERE id = ?";

const char* const kRounds =
    "SELECT id, started, level, solved, points, errors, seconds, special_points, state, practice"
    " FROM rounds WHERE profile_id = ? AND started >= ? AND started < ? ORDER BY started, id";
// A join walks the answers' index once, where a subquery per task would
// search it 600,000 times for ten years of practice.
const char* const kTasksWithAnswers =
    "SELECT t.id, t.round_id, r.started, r.level, t.slot, t.term, t.expected, t.kind, t.wrong,"
    " t.solved, t.seconds_to_solve, a.typed"
    " FROM rounds r JOIN tasks t ON t.round_id = r.id"
    " LEFT JOIN answers a ON a.task_id = t.id"
    " WHERE r.profile_id = ? AND r.started >= ? AND r.started < ?"
    " ORDER BY r.started, r.id, t.slot, a.id";
const char* const kMissedTasks =
    "WITH recent AS (SELECT t.term, t.expected, t.wrong, t.solved, r.started"
    "   FROM rounds r JOIN tasks t ON t.round_id = r.id"
    "   WHERE r.profile_id = ? AND r.started >= ?),"
    " missed AS (SELECT term, min(expected) AS expected, count(*) AS misses,"
    "   max(started) AS last_miss FROM recent WHERE wrong > 0 GROUP BY term)"
    " SELECT m.term, m.expected, m.misses, m.last_miss FROM missed m"
    " WHERE NOT EXISTS (SELECT 1 FROM recent x WHERE x.term = m.term AND x.wrong = 0"
    "   AND x.solved = 1 AND x.started > m.last_miss)"
    " ORDER BY m.last_miss DESC, m.misses DESC, m.term LIMIT ?";
const char* const kMostMissedTerms =
    "SELECT t.term, min(t.expected), count(*) AS tasks, sum(t.wrong) AS wrong"
    " FROM rounds r JOIN tasks t ON t.round_id = r.id"
    " WHERE r.profile_id = ? AND r.started >= ? AND r.started < ? AND t.wrong > 0"
    " GROUP BY t.term ORDER BY tasks DESC, wrong DESC, t.term LIMIT ?";
const char* const kFirstRoundStart = "SELECT min(started) FROM rounds WHERE profile_id = ?";

}  // namespace numora::sql
