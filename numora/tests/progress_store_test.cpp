// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress store: one contract for the SQLite store and the in-memory
// one, then what the file on disk must survive (crashes, damage, a newer
// schema, an unusable folder, two programs at once).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>
#include <limits>
#include <memory>

#include "memory_progress_store.h"
#include "pending_writes.h"
#include "sqlite_lock.h"
#include "sqlite_progress_store.h"
#include "sqlite_statement.h"

namespace numora {
namespace {

constexpr StoreTime kEver = std::numeric_limits<StoreTime>::max();

RoundOpening Opening(ProfileId profile, StoreTime start, std::vector<std::string> terms,
                     TLevel level = 1) {
  RoundOpening opening{profile, start, level, false, {}};
  for (std::size_t i = 0; i < terms.size(); ++i) {
    opening.Tasks.push_back(
        {static_cast<int>(i), QString::fromStdString(terms[i]), static_cast<std::int64_t>(i) + 10});
  }
  return opening;
}

AnswerRecord Answer(int slot, const char* typed, bool right, std::int32_t solved = 0) {
  AnswerRecord answer;
  answer.Slot = slot;
  answer.Typed = QString::fromUtf8(typed);
  answer.Right = right;
  answer.Counts.Solved = solved;
  return answer;
}

int CountRows(const QString& path, const char* table) {
  int count = -1;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
    db.setDatabaseName(path);
    if (db.open()) {
      QSqlQuery query(db);
      if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))) &&
          query.next()) {
        count = query.value(0).toInt();
      }
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("count"));
  return count;
}

std::vector<StoredTask> Tasks(ProgressStore& store, ProfileId profile) {
  std::vector<StoredTask> tasks;
  store.ForEachTask(profile, 0, kEver, [&](const StoredTask& t) { tasks.push_back(t); });
  return tasks;
}

// ---- the contract, for both stores ----

struct StoreMaker {
  const char* name;
  std::function<std::unique_ptr<ProgressStore>(const QString& folder)> make;
  // Makes every later call of the store fail, as a file gone bad under a
  // running program would.
  std::function<void(ProgressStore& store, const QString& folder)> breakIt;
};

class StoreContract : public ::testing::TestWithParam<StoreMaker> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_ = GetParam().make(dir_.path());
    ASSERT_TRUE(store_);
  }
  std::vector<StoredTask> Tasks(ProfileId profile) { return numora::Tasks(*store_, profile); }
  QTemporaryDir dir_;
  std::unique_ptr<ProgressStore> store_;
};

TEST_P(StoreContract, ProfileNamesAreCleanedAndUnique) {
  struct Case {
    QString given;
    QString kept;  // empty: refused
  };
  const Case cases[] = {
      {QString(), QString()},
      {QStringLiteral("   "), QString()},
      {QStringLiteral("\t\n"), QString()},
      {QStringLiteral("  Anna "), QStringLiteral("Anna")},
      {QStringLiteral("O'Brien \"Bob\"; DROP TABLE profiles;--"),
       QStringLiteral("O'Brien \"Bob\"; DROP TABLE profiles;--")},
      {QStringLiteral("Li\x01na\x7f\r\n"), QStringLiteral("Lina")},
      {QString::fromUtf8("\u05D3\u05E0\u05D4 \u202Eevil"),
       QString::fromUtf8("\u05D3\u05E0\u05D4 \u202Eevil")},
      {QString(10000, u'x'), QString(kProfileNameMax, u'x')},
      {QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("=HYPERLINK(\"x\")")},
  };
  for (const Case& c : cases) {
    const std::optional<ProfileId> id = store_->AddProfile(c.given);
    EXPECT_EQ(id.has_value(), !c.kept.isEmpty()) << c.given.left(40).toStdString();
  }
  QStringList names;
  for (const ProfileInfo& p : *store_->Profiles()) names << p.Name;
  QStringList expected;
  for (const Case& c : cases) {
    if (!c.kept.isEmpty()) expected << c.kept;
  }
  EXPECT_EQ(names, expected);
  EXPECT_FALSE(store_->AddProfile(QStringLiteral("Anna")));
  EXPECT_FALSE(store_->AddProfile(QStringLiteral(" Anna\t")));
}

TEST_P(StoreContract, RenameDeleteAndTheLastProfile) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store_->AddProfile(QStringLiteral("Ben"));
  EXPECT_FALSE(*store_->LastProfile());
  store_->SetLastProfile(ben);
  EXPECT_EQ(*store_->LastProfile(), ben);
  store_->SetLastProfile(9999);  // no such profile: ignored
  EXPECT_EQ(*store_->LastProfile(), ben);

  EXPECT_FALSE(store_->RenameProfile(anna, QStringLiteral("Ben")));
  EXPECT_FALSE(store_->RenameProfile(anna, QStringLiteral(" ")));
  EXPECT_TRUE(store_->RenameProfile(anna, QStringLiteral("Anna-Lena")));
  EXPECT_FALSE(store_->RenameProfile(9999, QStringLiteral("X")));

  const RoundId round = *store_->StartRound(Opening(ben, 100, {"1+1"}));
  EXPECT_TRUE(store_->RecordAnswer(round, Answer(0, "2", true, 1)));
  EXPECT_TRUE(store_->DeleteProfile(ben));
  EXPECT_FALSE(store_->DeleteProfile(ben));
  EXPECT_FALSE(*store_->LastProfile());
  EXPECT_TRUE(store_->Rounds(ben, 0, kEver)->empty());
  EXPECT_TRUE(Tasks(ben).empty());
  ASSERT_EQ(store_->Profiles()->size(), 1u);
  EXPECT_EQ((*store_->Profiles())[0].Name, QStringLiteral("Anna-Lena"));
  // The name is free again.
  EXPECT_TRUE(store_->AddProfile(QStringLiteral("Ben")));
}

TEST_P(StoreContract, RoundsTasksAndAnswers) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store_->AddProfile(QStringLiteral("Ben"));
  EXPECT_FALSE(store_->StartRound(Opening(9999, 1, {"1+1"})));

  const RoundId first = *store_->StartRound(Opening(anna, 1000, {"3+4", "250/25+7"}, 2));
  const RoundId other = *store_->StartRound(Opening(ben, 1500, {"9-1"}));
  const RoundId second = *store_->StartRound(Opening(anna, 2000, {"8*8"}));
  EXPECT_FALSE(store_->RecordAnswer(9999, Answer(0, "1", true)));
  EXPECT_FALSE(store_->RecordAnswer(first, Answer(7, "1", true)));  // no such slot

  AnswerRecord wrong = Answer(1, "=1+1", false);
  wrong.Counts = {0, 1, 3, 2, 0};
  AnswerRecord right = Answer(1, "17", true);
  right.Counts = {5, 1, 9, 2, 1};
  right.Second = 9;
  right.SecondsToSolve = 6;
  EXPECT_TRUE(store_->RecordAnswer(first, wrong));
  EXPECT_TRUE(store_->RecordAnswer(first, right));
  EXPECT_TRUE(store_->EndRound(first, {RoundState::Abandoned, 0, {5, 1, 12, 2, 1}}));
  EXPECT_FALSE(store_->EndRound(9999, {}));
  EXPECT_TRUE(store_->RecordAnswer(other, Answer(0, "8", true, 1)));

  const std::vector<StoredRound> rounds = *store_->Rounds(anna, 0, kEver);
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[0].Id, first);
  EXPECT_EQ(rounds[0].Start, 1000);
  EXPECT_EQ(rounds[0].State, RoundState::Abandoned);
  EXPECT_EQ(rounds[0].Counts.Difficulty, 2);  // the level stays the round's
  EXPECT_EQ(rounds[0].Counts.Points, 5);
  EXPECT_EQ(rounds[0].Counts.Errors, 1);
  EXPECT_EQ(rounds[0].Counts.Seconds, 12);
  EXPECT_EQ(rounds[0].Counts.Solved, 1);
  EXPECT_EQ(rounds[1].Id, second);
  EXPECT_EQ(rounds[1].State, RoundState::Open);
  // [from, to)
  EXPECT_EQ(store_->Rounds(anna, 1000, 2000)->size(), 1u);
  EXPECT_EQ(store_->Rounds(anna, 1001, 2001)->size(), 1u);
  EXPECT_TRUE(store_->Rounds(anna, 3000, kEver)->empty());

  const std::vector<StoredTask> tasks = Tasks(anna);
  ASSERT_EQ(tasks.size(), 3u);
  EXPECT_EQ(tasks[0].Term, "3+4");
  EXPECT_EQ(tasks[0].Kind, TaskKind::Addition);
  EXPECT_FALSE(tasks[0].Solved);
  EXPECT_TRUE(tasks[0].Answers.isEmpty());
  EXPECT_EQ(tasks[1].Term, "250/25+7");
  EXPECT_EQ(tasks[1].Expected, 11);
  EXPECT_EQ(tasks[1].Kind, TaskKind::Mixed);
  EXPECT_EQ(tasks[1].Level, 2);
  EXPECT_EQ(tasks[1].RoundStart, 1000);
  EXPECT_EQ(tasks[1].Answers, (QStringList{"=1+1", "17"}));
  EXPECT_EQ(tasks[1].WrongAnswers, 1);
  EXPECT_TRUE(tasks[1].Solved);
  EXPECT_EQ(tasks[1].SecondsToSolve, 6);
  EXPECT_EQ(tasks[2].Round, second);
}

// Answers given by turns to several tasks of several rounds each stay with
// their task, in the order given; tasks without answers have none.
TEST_P(StoreContract, AnswersStayWithTheirTaskInTheOrderGiven) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const RoundId early = *store_->StartRound(Opening(anna, 1000, {"1+1", "2+2", "3+3"}));
  const RoundId late = *store_->StartRound(Opening(anna, 2000, {"4+4", "5+5"}));
  const struct {
    RoundId round;
    int slot;
    const char* typed;
  } given[] = {{late, 1, "9"},  {early, 2, "5"}, {early, 0, "3"}, {late, 1, "11"},
               {early, 2, "7"}, {early, 0, "2"}, {early, 2, "6"}, {late, 1, "10"}};
  for (const auto& g : given) {
    ASSERT_TRUE(store_->RecordAnswer(g.round, Answer(g.slot, g.typed, false)));
  }
  const std::vector<StoredTask> tasks = Tasks(anna);
  ASSERT_EQ(tasks.size(), 5u);
  const QStringList expected[] = {{"3", "2"}, {}, {"5", "7", "6"}, {}, {"9", "11", "10"}};
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    EXPECT_EQ(tasks[i].Answers, expected[i]) << tasks[i].Term.toStdString();
    EXPECT_EQ(tasks[i].WrongAnswers, expected[i].size()) << tasks[i].Term.toStdString();
  }
}

// A store that fails gives a typed error with a detail for every read, never
// an empty answer that looks like "no data", and its writes fail the same way.
TEST_P(StoreContract, ReadsAndWritesOfABrokenStoreGiveTypedErrors) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const RoundId round = *store_->StartRound(Opening(anna, 100, {"1+1"}));
  ASSERT_TRUE(store_->RecordAnswer(round, Answer(0, "2", true, 1)));
  GetParam().breakIt(*store_, dir_.path());

  const TimeSpans spans{{0, 1000}, kEver};
  std::vector<std::pair<const char*, std::optional<StoreError>>> results;
  const auto error = [](const auto& result) -> std::optional<StoreError> {
    if (result) return std::nullopt;
    return result.Error();
  };
  results.emplace_back("Profiles", error(store_->Profiles()));
  results.emplace_back("LastProfile", error(store_->LastProfile()));
  results.emplace_back("Rounds", error(store_->Rounds(anna, 0, kEver)));
  int visited = 0;
  results.emplace_back("ForEachTask",
                       error(store_->ForEachTask(anna, 0, kEver, [&](const auto&) { ++visited; })));
  results.emplace_back("MissedTasks", error(store_->MissedTasks(anna, 0, 15)));
  results.emplace_back("SumRounds", error(store_->SumRounds(anna, spans)));
  results.emplace_back("SumTasks", error(store_->SumTasks(anna, spans)));
  results.emplace_back("MostMissedTerms", error(store_->MostMissedTerms(anna, 0, kEver, 10)));
  results.emplace_back("FirstRoundStart", error(store_->FirstRoundStart(anna)));
  results.emplace_back("StartRound", error(store_->StartRound(Opening(anna, 200, {"2+2"}))));
  results.emplace_back("RecordAnswer", error(store_->RecordAnswer(round, Answer(0, "2", true))));
  results.emplace_back("EndRound", error(store_->EndRound(round, {})));
  for (const auto& [call, failure] : results) {
    SCOPED_TRACE(call);
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->Kind, StoreErrorKind::Missing);
    EXPECT_FALSE(failure->Detail.isEmpty());
  }
  EXPECT_EQ(visited, 0);
  EXPECT_FALSE(store_->AddProfile(QStringLiteral("Ben")));
}

// Writes to a profile or round that is gone say so with their own kind:
// the recorder drops them instead of waiting for the store to recover.
TEST_P(StoreContract, WritesToWhatIsGoneAreMissing) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store_->AddProfile(QStringLiteral("Ben"));
  const RoundId round = *store_->StartRound(Opening(ben, 100, {"1+1"}));
  ASSERT_TRUE(store_->DeleteProfile(ben));
  const StoreResult<RoundId> started = store_->StartRound(Opening(ben, 200, {"1+1"}));
  ASSERT_FALSE(started);
  EXPECT_EQ(started.Error().Kind, StoreErrorKind::Missing);
  const StoreStatus answered = store_->RecordAnswer(round, Answer(0, "2", true));
  ASSERT_FALSE(answered);
  EXPECT_EQ(answered.Error().Kind, StoreErrorKind::Missing);
  const StoreStatus ended = store_->EndRound(round, {});
  ASSERT_FALSE(ended);
  EXPECT_EQ(ended.Error().Kind, StoreErrorKind::Missing);
  EXPECT_TRUE(store_->Rounds(ben, 0, kEver)->empty());
  EXPECT_TRUE(store_->Rounds(anna, 0, kEver)->empty());
}

TEST_P(StoreContract, MissedTasksMostRecentFirstUntilRightLater) {
  const ProfileId anna = *store_->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *store_->AddProfile(QStringLiteral("Ben"));
  const auto play = [&](ProfileId who, StoreTime start,
                        std::vector<std::pair<std::string, bool>> tasks) {
    std::vector<std::string> terms;
    for (const auto& t : tasks) terms.push_back(t.first);
    const RoundId round = *store_->StartRound(Opening(who, start, terms));
    for (std::size_t i = 0; i < tasks.size(); ++i) {
      if (!tasks[i].second) store_->RecordAnswer(round, Answer(static_cast<int>(i), "0", false));
      store_->RecordAnswer(round, Answer(static_cast<int>(i), "1", true));
    }
  };
  // false: answered wrong first.
  play(anna, 100, {{"7*8", false}, {"6*7", false}, {"3+4", true}});
  play(anna, 200, {{"7*8", false}, {"9*9", true}});
  play(anna, 300, {{"6*7", true}, {"12-5", false}});  // 6*7 now right at the first try
  play(anna, 300, {{"8*9", false}});
  play(ben, 400, {{"1+1", false}});

  const std::vector<MissedTask> missed = *store_->MissedTasks(anna, 0, 15);
  ASSERT_EQ(missed.size(), 3u);
  // Rounds at 300 first (12-5 and 8*9 by term), then 7*8 (missed twice, last at 200).
  EXPECT_EQ(missed[0].Term, "12-5");
  EXPECT_EQ(missed[1].Term, "8*9");
  EXPECT_EQ(missed[2].Term, "7*8");
  EXPECT_EQ(missed[2].Misses, 2);
  EXPECT_EQ(missed[2].LastMiss, 200);
  EXPECT_EQ(store_->MissedTasks(anna, 0, 2)->size(), 2u);
  // Only the rounds since a given time count.
  EXPECT_EQ(store_->MissedTasks(anna, 250, 15)->size(), 2u);
  EXPECT_EQ(store_->MissedTasks(ben, 0, 15)->size(), 1u);
}

QString SqlitePath(const QString& folder) {
  return folder + QStringLiteral("/data/progress.sqlite");
}

std::unique_ptr<ProgressStore> MakeSqlite(const QString& folder) {
  OpenedProgressStore opened = OpenProgressStore(SqlitePath(folder));
  EXPECT_FALSE(opened.Problem);
  EXPECT_NE(dynamic_cast<SqliteProgressStore*>(opened.Store.get()), nullptr);
  return std::move(opened.Store);
}

// Another program takes the tables away under the store.
void DropTables(ProgressStore&, const QString& folder) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
    db.setDatabaseName(SqlitePath(folder));
    ASSERT_TRUE(db.open());
    for (const char* table :
         {"answers", "round_kind_sums", "tasks", "rounds", "settings", "profiles"}) {
      ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("drop"));
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreContract,
    ::testing::Values(StoreMaker{"Memory",
                                 [](const QString&) -> std::unique_ptr<ProgressStore> {
                                   return std::make_unique<MemoryProgressStore>();
                                 },
                                 [](ProgressStore& store, const QString&) {
                                   dynamic_cast<MemoryProgressStore&>(store).FailWith(StoreError{
                                       StoreErrorKind::Unreadable, QStringLiteral("test")});
                                 }},
                      StoreMaker{"Sqlite", MakeSqlite, DropTables}),
    [](const ::testing::TestParamInfo<StoreMaker>& info) { return info.param.name; });

// ---- the file on disk ----

// Opens a healthy file in a folder that may not be written (the caller is
// an unprivileged user): said to be a folder that is not writable, never a
// damaged file, and play goes on.
void CheckUnwritableFolder(const QString& path) {
  OpenedProgressStore opened = OpenProgressStore(path);
  ASSERT_TRUE(opened.Store);
  ASSERT_TRUE(opened.Problem);
  EXPECT_NE(opened.Problem->Event, StoreEvent::SetAside);
  EXPECT_NE(opened.Problem->Event, StoreEvent::DamagedButInUse);
  EXPECT_EQ(opened.Problem->Error.Kind, StoreErrorKind::FolderNotWritable)
      << opened.Problem->Error.Detail.toStdString();
  EXPECT_TRUE(opened.MovedAside.isEmpty());
  const std::optional<ProfileId> anna = opened.Store->AddProfile(QStringLiteral("Lena"));
  if (anna) {
    PendingWrites writes(*opened.Store);
    writes.StartRound(Opening(*anna, 1, {"1+1"}));
  }
}

class SqliteFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("progress.sqlite"));
  }
  // A store with one profile and one round with one answer, closed again.
  void MakeFileWithData() {
    OpenedProgressStore opened = OpenProgressStore(path_);
    ASSERT_FALSE(opened.Problem);
    const ProfileId anna = *opened.Store->AddProfile(QStringLiteral("Anna"));
    const RoundId round = *opened.Store->StartRound(Opening(anna, 5, {"2+2", "3+3"}));
    ASSERT_TRUE(opened.Store->RecordAnswer(round, Answer(0, "4", true, 1)));
  }
  QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Write(const QByteArray& bytes) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  // A file larger than 64 KiB, its write-ahead log folded in.
  void MakeLargeFile() {
    {
      OpenedProgressStore opened = OpenProgressStore(path_);
      ASSERT_FALSE(opened.Problem);
      const ProfileId anna = *opened.Store->AddProfile(QStringLiteral("Anna"));
      for (int r = 0; r < 80; ++r) {
        const RoundId round =
            *opened.Store->StartRound(Opening(anna, r, std::vector<std::string>(15, "17*23+4")));
        for (int slot = 0; slot < 15; ++slot) {
          ASSERT_TRUE(opened.Store->RecordAnswer(round, Answer(slot, "395", true, slot + 1)));
        }
        ASSERT_TRUE(opened.Store->EndRound(round, {}));
      }
    }
    ASSERT_FALSE(QFile::exists(path_ + QStringLiteral("-wal")));
  }
  QStringList SetAside() {
    return QDir(dir_.path())
        .entryList({QStringLiteral("progress.sqlite.unreadable-*")}, QDir::Files);
  }

  QTemporaryDir dir_;
  QString path_;
};

TEST_F(SqliteFile, CreatedWithSchemaVersionAndWriteAheadLog) {
  MakeFileWithData();
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
  db.setDatabaseName(path_);
  ASSERT_TRUE(db.open());
  {
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
    EXPECT_EQ(query.value(0).toInt(), kProgressSchemaVersion);
    ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("wal"));
  }
  db.close();
  db = QSqlDatabase();
  QSqlDatabase::removeDatabase(QStringLiteral("check"));

  // Opened again, everything is there.
  OpenedProgressStore again = OpenProgressStore(path_);
  ASSERT_FALSE(again.Problem);
  ASSERT_EQ(again.Store->Profiles()->size(), 1u);
  EXPECT_EQ(again.Store->Rounds((*again.Store->Profiles())[0].Id, 0, kEver)->size(), 1u);
}

// Damaged files: set aside byte for byte under a name with the time, never
// deleted, and a new file takes the child's practice from then on.
TEST_F(SqliteFile, DamagedFilesAreSetAsideAndSavingGoesOn) {
  struct Case {
    const char* name;
    std::function<void()> damage;
  };
  const Case cases[] = {
      {"garbage", [&] { Write(QByteArray(5000, '\x5a')); }},
      {"text file", [&] { Write("Hallo, ich bin keine Datenbank.\n"); }},
      {"truncated",
       [&] {
         MakeFileWithData();
         QFile(path_ + QStringLiteral("-wal")).remove();  // as if copied without it
         const QByteArray bytes = Bytes(path_);
         Write(bytes.left(bytes.size() / 2));
       }},
      {"damaged in the middle",
       [&] {
         MakeLargeFile();
         QByteArray bytes = Bytes(path_);
         ASSERT_GT(bytes.size(), 70000);
         bytes.replace(60000, 4096, QByteArray(4096, '\xff'));
         Write(bytes);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
    c.damage();
    const QByteArray before = Bytes(path_);
    ASSERT_FALSE(before.isEmpty());

    OpenedProgressStore opened = OpenProgressStore(path_);
    ASSERT_TRUE(opened.Store);
    ASSERT_TRUE(opened.Problem);
    EXPECT_EQ(opened.Problem->Event, StoreEvent::SetAside);
    EXPECT_EQ(opened.Problem->Error.Kind, StoreErrorKind::Unreadable);
    EXPECT_FALSE(opened.Problem->Error.Detail.isEmpty());
    // The window learns of it through the store's problems.
    EXPECT_EQ(opened.Store->Problems().Take(), std::vector<StoreProblem>{*opened.Problem});
    ASSERT_EQ(SetAside().size(), 1);
    EXPECT_EQ(opened.MovedAside, dir_.filePath(SetAside()[0]));
    EXPECT_EQ(opened.Problem->Path, opened.MovedAside);
    EXPECT_EQ(Bytes(opened.MovedAside), before);
    // A new file, and the child's practice is saved in it.
    ASSERT_NE(dynamic_cast<SqliteProgressStore*>(opened.Store.get()), nullptr);
    const std::optional<ProfileId> anna = opened.Store->AddProfile(QStringLiteral("Anna"));
    ASSERT_TRUE(anna);
    EXPECT_TRUE(opened.Store->StartRound(Opening(*anna, 1, {"1+1"})));
    opened.Store.reset();

    OpenedProgressStore next = OpenProgressStore(path_);
    EXPECT_FALSE(next.Problem);
    ASSERT_EQ(next.Store->Profiles()->size(), 1u);
    EXPECT_EQ(next.Store->Rounds(*anna, 0, kEver)->size(), 1u);
    EXPECT_EQ(SetAside().size(), 1);
  }
}

// A file of a newer numora is not damaged: it stays as it is, and this run
// plays without saving.
TEST_F(SqliteFile, NewerFilesStayAndNothingIsSaved) {
  MakeFileWithData();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
    db.setDatabaseName(path_);
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99"));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("newer"));
  const QByteArray before = Bytes(path_);
  OpenedProgressStore opened = OpenProgressStore(path_);
  ASSERT_TRUE(opened.Problem);
  EXPECT_EQ(opened.Problem->Event, StoreEvent::NotOpened);
  EXPECT_EQ(opened.Problem->Error.Kind, StoreErrorKind::NewerVersion);
  EXPECT_NE(dynamic_cast<MemoryProgressStore*>(opened.Store.get()), nullptr);
  EXPECT_TRUE(SetAside().isEmpty());
  EXPECT_EQ(Bytes(path_), before);
  EXPECT_TRUE(opened.Store->AddProfile(QStringLiteral("Anna")));
}

// A damaged file that another running copy still holds is not taken from
// under it: this copy says so and plays without saving; once the other copy
// is gone, the next start sets the file aside.
TEST_F(SqliteFile, DamagedFileHeldByAnotherCopyStaysUntilItIsFree) {
  Write(QByteArray(5000, '\x5a'));
  // What every running copy holds while it uses the file.
  FileLock other(path_ + QStringLiteral(".lock"));
  ASSERT_TRUE(other.TryShared());
  OpenedProgressStore opened = OpenProgressStore(path_);
  ASSERT_TRUE(opened.Problem);
  EXPECT_EQ(opened.Problem->Event, StoreEvent::DamagedButInUse);
  EXPECT_EQ(opened.Problem->Error.Kind, StoreErrorKind::Unreadable);
  EXPECT_NE(dynamic_cast<MemoryProgressStore*>(opened.Store.get()), nullptr);
  EXPECT_TRUE(SetAside().isEmpty());
  EXPECT_EQ(Bytes(path_), QByteArray(5000, '\x5a'));
  opened.Store.reset();
  other.Unlock();

  OpenedProgressStore later = OpenProgressStore(path_);
  ASSERT_TRUE(later.Problem);
  EXPECT_EQ(later.Problem->Event, StoreEvent::SetAside);
  EXPECT_EQ(SetAside().size(), 1);
}

TEST_F(SqliteFile, UnusableFolderSaysSoAndPlayGoesOn) {
  // A file where the folder should be: no user, not even root, can create it.
  Write("not a folder");
  OpenedProgressStore opened = OpenProgressStore(path_ + QStringLiteral("/sub/progress.sqlite"));
  ASSERT_TRUE(opened.Store);
  EXPECT_NE(dynamic_cast<MemoryProgressStore*>(opened.Store.get()), nullptr);
  ASSERT_TRUE(opened.Problem);
  EXPECT_EQ(opened.Problem->Event, StoreEvent::NotOpened);
  EXPECT_EQ(opened.Problem->Error.Kind, StoreErrorKind::FolderNotWritable);
  EXPECT_TRUE(opened.MovedAside.isEmpty());
  EXPECT_EQ(Bytes(path_), QByteArray("not a folder"));
  EXPECT_TRUE(opened.Store->AddProfile(QStringLiteral("Anna")));
}

// What the SQLite result codes mean for the user.
TEST(SqliteErrors, ResultCodesAreSortedIntoKinds) {
  const std::pair<int, StoreErrorKind> cases[] = {
      {13, StoreErrorKind::DiskFull},
      {8, StoreErrorKind::FolderNotWritable},
      {14, StoreErrorKind::FolderNotWritable},
      {3, StoreErrorKind::FolderNotWritable},
      {5, StoreErrorKind::Busy},
      {6, StoreErrorKind::Busy},
      {11, StoreErrorKind::Unreadable},
      {26, StoreErrorKind::Unreadable},
      {1, StoreErrorKind::Other},
      {10, StoreErrorKind::Other},
      {8 | (1 << 8), StoreErrorKind::FolderNotWritable},  // SQLITE_READONLY_RECOVERY
      {5 | (2 << 8), StoreErrorKind::Busy},               // SQLITE_BUSY_SNAPSHOT
  };
  for (const auto& [code, kind] : cases) EXPECT_EQ(KindOfSqliteCode(code), kind) << code;
}

// A healthy file in a folder its user may not write: never called damaged,
// never set aside. CI runs as root, who writes anywhere, so the check runs
// as the unprivileged user "nobody" through setpriv.
TEST_F(SqliteFile, FolderNotWritableIsNotDamage) {
  if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty() && geteuid() == 0) {
    GTEST_SKIP() << "setpriv is missing: cannot check as an unprivileged user";
  }
  MakeFileWithData();
  const QByteArray before = Bytes(path_);
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  QFile::setPermissions(path_,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  QString out;
  if (geteuid() == 0) {
    // The test program itself, as nobody, opens the file (see below).
    QTemporaryDir binDir;
    ASSERT_TRUE(binDir.isValid());
    QFile::setPermissions(binDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther);
    const QString self = binDir.filePath(QStringLiteral("store_test"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/proc/self/exe"), self));
    QFile::setPermissions(self,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NUMORA_UNPRIVILEGED_STORE"), path_);
    env.insert(QStringLiteral("HOME"), binDir.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QStringLiteral("setpriv"),
        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
         QStringLiteral("--clear-groups"), self, QStringLiteral("--gtest_filter=Unprivileged.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    out = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
  } else {
    qputenv("NUMORA_UNPRIVILEGED_STORE", path_.toLocal8Bit());
    CheckUnwritableFolder(path_);
    qunsetenv("NUMORA_UNPRIVILEGED_STORE");
  }
  EXPECT_TRUE(SetAside().isEmpty());
  EXPECT_EQ(Bytes(path_), before);
}

// Run by the test above as an unprivileged user.
TEST(Unprivileged, OpensAFileInAFolderItMayNotWrite) {
  const QString path = qEnvironmentVariable("NUMORA_UNPRIVILEGED_STORE");
  if (path.isEmpty()) GTEST_SKIP() << "only run by SqliteFile.FolderNotWritableIsNotDamage";
  CheckUnwritableFolder(path);
}

// A store that fails in the middle of a round (here: its disk is full) keeps
// the answers, in order, and writes each of them once as soon as it can.
TEST_F(SqliteFile, FullDiskMidRoundLosesNothing) {
  OpenedProgressStore opened = OpenProgressStore(path_);
  auto& store = dynamic_cast<SqliteProgressStore&>(*opened.Store);
  const ProfileId anna = *store.AddProfile(QStringLiteral("Anna"));
  PendingWrites writes(store);
  const PendingWrites::Handle round =
      writes.StartRound(Opening(anna, 1, std::vector<std::string>(15, "6*7")));
  ASSERT_TRUE(store.LimitGrowth(0));
  QStringList given;
  int answer = 0;
  // Until the disk is full, then a few more.
  for (int more = 3; more > 0 && answer < 20000; ++answer) {
    given << QString::number(answer);
    writes.RecordAnswer(round, Answer(answer % 15, qPrintable(given.back()), false));
    if (!writes.Saving()) --more;
  }
  ASSERT_FALSE(writes.Saving()) << "the disk never filled";
  std::vector<StoreProblem> problems = store.Problems().Take();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Event, StoreEvent::NotSaving);
  EXPECT_EQ(problems[0].Error.Kind, StoreErrorKind::DiskFull);
  // Still full at the next answer: nothing new to say.
  given << QStringLiteral("x");
  writes.RecordAnswer(round, Answer(0, "x", false));
  EXPECT_TRUE(store.Problems().Empty());
  EXPECT_GE(writes.Waiting(), 4u);

  ASSERT_TRUE(store.LimitGrowth(1 << 20));  // room again
  given << QStringLiteral("last");
  writes.RecordAnswer(round, Answer(1, "last", true));
  EXPECT_TRUE(writes.Saving());
  EXPECT_EQ(writes.Waiting(), 0u);
  problems = store.Problems().Take();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Event, StoreEvent::SavingAgain);

  // Every answer once, in the order given.
  QStringList stored;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("read"));
    db.setDatabaseName(path_);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT typed FROM answers ORDER BY id")));
    while (query.next()) stored << query.value(0).toString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("read"));
  EXPECT_EQ(stored, given);
}

// Another running copy deletes the child this one records for: the writes
// for that child are dropped (nothing lands in a deleted profile), it is
// said once, and saving goes on.
TEST_F(SqliteFile, ChildDeletedByAnotherCopy) {
  OpenedProgressStore mine = OpenProgressStore(path_);
  OpenedProgressStore other = OpenProgressStore(path_);
  const ProfileId anna = *mine.Store->AddProfile(QStringLiteral("Anna"));
  const ProfileId ben = *mine.Store->AddProfile(QStringLiteral("Ben"));
  PendingWrites writes(*mine.Store);
  const PendingWrites::Handle round = writes.StartRound(Opening(ben, 1, {"1+1", "2+2"}));
  writes.RecordAnswer(round, Answer(0, "2", true, 1));
  ASSERT_TRUE(other.Store->DeleteProfile(ben));

  writes.RecordAnswer(round, Answer(1, "4", true, 2));
  writes.EndRound(round, {});
  EXPECT_TRUE(writes.Gone(round));
  EXPECT_TRUE(writes.Saving());
  std::vector<StoreProblem> problems = mine.Store->Problems().Take();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Event, StoreEvent::ProfileGone);
  EXPECT_EQ(problems[0].Profile, ben);
  const PendingWrites::Handle next = writes.StartRound(Opening(ben, 2, {"3+3"}));
  EXPECT_TRUE(writes.Gone(next));
  EXPECT_EQ(CountRows(path_, "rounds"), 0);
  EXPECT_EQ(CountRows(path_, "answers"), 0);

  // The remaining child's practice is saved.
  const PendingWrites::Handle hers = writes.StartRound(Opening(anna, 3, {"4+4"}));
  writes.RecordAnswer(hers, Answer(0, "8", true, 1));
  EXPECT_FALSE(writes.Gone(hers));
  EXPECT_EQ(CountRows(path_, "answers"), 1);
}

// Writes answers in a child process; reports each committed one on the pipe.
[[noreturn]] void WriteAnswersUntilKilled(const QString& path, int pipeOut, int answers) {
  OpenedProgressStore opened = OpenProgressStore(path);
  if (opened.Problem) _exit(2);
  ProgressStore& store = *opened.Store;
  std::optional<ProfileId> profile = store.AddProfile(QStringLiteral("Kind %1").arg(getpid()));
  if (!profile) _exit(3);
  std::vector<std::string> terms(15, "6*7");
  const StoreResult<RoundId> round = store.StartRound(Opening(*profile, 1, terms));
  if (!round) _exit(4);
  for (int i = 0; i < answers; ++i) {
    if (!store.RecordAnswer(*round, Answer(i % 15, "41", false))) _exit(5);
    const char done = 'x';
    if (pipeOut >= 0 && write(pipeOut, &done, 1) != 1) _exit(6);
  }
  _exit(0);
}

// The process is killed in the middle of a round: every answer committed
// before is there on the next start.
TEST_F(SqliteFile, AnswersCommittedBeforeAKillSurvive) {
  { OpenProgressStore(path_); }  // created before, as by an earlier run
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    WriteAnswersUntilKilled(path_, fds[1], 1000000);
  }
  close(fds[1]);
  int committed = 0;
  char byte;
  while (committed < 40 && read(fds[0], &byte, 1) == 1) ++committed;
  ASSERT_EQ(kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  // Answers reported between the last read and the kill count too.
  while (read(fds[0], &byte, 1) == 1) ++committed;
  close(fds[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "child ended with " << status;

  OpenedProgressStore opened = OpenProgressStore(path_);
  ASSERT_FALSE(opened.Problem);
  ASSERT_EQ(opened.Store->Profiles()->size(), 1u);
  const ProfileId profile = (*opened.Store->Profiles())[0].Id;
  int stored = 0;
  for (const StoredTask& task : Tasks(*opened.Store, profile)) stored += task.WrongAnswers;
  // The answer being written at the kill may be in too, but none reported is lost.
  EXPECT_GE(stored, committed);
  EXPECT_LE(stored, committed + 1);
  EXPECT_EQ((*opened.Store->Rounds(profile, 0, kEver))[0].State, RoundState::Open);
}

// Two programs at once, each writing as fast as it can: both work, nothing
// is lost.
TEST_F(SqliteFile, TwoInstancesAtOnceLoseNothing) {
  { OpenProgressStore(path_); }
  constexpr int kAnswers = 150;
  pid_t children[2];
  for (pid_t& child : children) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteAnswersUntilKilled(path_, -1, kAnswers);
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(CountRows(path_, "answers"), 2 * kAnswers);
  EXPECT_EQ(CountRows(path_, "profiles"), 2);
}

}  // namespace
}  // namespace numora
