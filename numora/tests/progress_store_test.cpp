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
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <limits>
#include <memory>

#include "memory_progress_store.h"
#include "sqlite_progress_store.h"

namespace numora {
namespace {

constexpr StoreTime kEver = std::numeric_limits<StoreTime>::max();

RoundOpening Opening(ProfileId profile, StoreTime start, std::vector<std::string> terms,
                     TLevel level = 1) {
  RoundOpening opening{profile, start, level, false, {}};
  for (std::size_t i = 0; i < terms.size(); ++i) {
    opening.Tasks.push_back({static_cast<int>(i), terms[i], static_cast<std::int64_t>(i) + 10});
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
  for (const ProfileInfo& p : store_->Profiles()) names << p.Name;
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
  EXPECT_FALSE(store_->LastProfile());
  store_->SetLastProfile(ben);
  EXPECT_EQ(store_->LastProfile(), ben);
  store_->SetLastProfile(9999);  // no such profile: ignored
  EXPECT_EQ(store_->LastProfile(), ben);

  EXPECT_FALSE(store_->RenameProfile(anna, QStringLiteral("Ben")));
  EXPECT_FALSE(store_->RenameProfile(anna, QStringLiteral(" ")));
  EXPECT_TRUE(store_->RenameProfile(anna, QStringLiteral("Anna-Lena")));
  EXPECT_FALSE(store_->RenameProfile(9999, QStringLiteral("X")));

  const RoundId round = *store_->StartRound(Opening(ben, 100, {"1+1"}));
  EXPECT_TRUE(store_->RecordAnswer(round, Answer(0, "2", true, 1)));
  EXPECT_TRUE(store_->DeleteProfile(ben));
  EXPECT_FALSE(store_->DeleteProfile(ben));
  EXPECT_FALSE(store_->LastProfile());
  EXPECT_TRUE(store_->Rounds(ben, 0, kEver).empty());
  EXPECT_TRUE(Tasks(ben).empty());
  ASSERT_EQ(store_->Profiles().size(), 1u);
  EXPECT_EQ(store_->Profiles()[0].Name, QStringLiteral("Anna-Lena"));
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

  const std::vector<StoredRound> rounds = store_->Rounds(anna, 0, kEver);
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
  EXPECT_EQ(store_->Rounds(anna, 1000, 2000).size(), 1u);
  EXPECT_EQ(store_->Rounds(anna, 1001, 2001).size(), 1u);
  EXPECT_TRUE(store_->Rounds(anna, 3000, kEver).empty());

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
    EXPECT_EQ(tasks[i].Answers, expected[i]) << tasks[i].Term;
    EXPECT_EQ(tasks[i].WrongAnswers, expected[i].size()) << tasks[i].Term;
  }
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

  const std::vector<MissedTask> missed = store_->MissedTasks(anna, 0, 15);
  ASSERT_EQ(missed.size(), 3u);
  // Rounds at 300 first (12-5 and 8*9 by term), then 7*8 (missed twice, last at 200).
  EXPECT_EQ(missed[0].Term, "12-5");
  EXPECT_EQ(missed[1].Term, "8*9");
  EXPECT_EQ(missed[2].Term, "7*8");
  EXPECT_EQ(missed[2].Misses, 2);
  EXPECT_EQ(missed[2].LastMiss, 200);
  EXPECT_EQ(store_->MissedTasks(anna, 0, 2).size(), 2u);
  // Only the rounds since a given time count.
  EXPECT_EQ(store_->MissedTasks(anna, 250, 15).size(), 2u);
  EXPECT_EQ(store_->MissedTasks(ben, 0, 15).size(), 1u);
}

std::unique_ptr<ProgressStore> MakeSqlite(const QString& folder) {
  OpenedProgressStore opened = OpenProgressStore(folder + QStringLiteral("/data/progress.sqlite"));
  EXPECT_TRUE(opened.Problem.isEmpty()) << opened.Problem.toStdString();
  EXPECT_NE(dynamic_cast<SqliteProgressStore*>(opened.Store.get()), nullptr);
  return std::move(opened.Store);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreContract,
    ::testing::Values(StoreMaker{"Memory",
                                 [](const QString&) -> std::unique_ptr<ProgressStore> {
                                   return std::make_unique<MemoryProgressStore>();
                                 }},
                      StoreMaker{"Sqlite", MakeSqlite}),
    [](const ::testing::TestParamInfo<StoreMaker>& info) { return info.param.name; });

// ---- the file on disk ----

class SqliteFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("progress.sqlite"));
  }
  // A store with one profile and one round with one answer, closed again.
  void MakeFileWithData() {
    OpenedProgressStore opened = OpenProgressStore(path_);
    ASSERT_TRUE(opened.Problem.isEmpty());
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
  ASSERT_TRUE(again.Problem.isEmpty());
  ASSERT_EQ(again.Store->Profiles().size(), 1u);
  EXPECT_EQ(again.Store->Rounds(again.Store->Profiles()[0].Id, 0, kEver).size(), 1u);
}

// Unreadable files: the program plays on in memory, says so once, and the
// file is moved aside byte for byte, never deleted or overwritten.
TEST_F(SqliteFile, UnreadableFilesAreMovedAsideAndPlayGoesOn) {
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
      {"newer schema",
       [&] {
         MakeFileWithData();
         QSqlDatabase db =
             QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
         db.setDatabaseName(path_);
         ASSERT_TRUE(db.open());
         QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99"));
         db.close();
         db = QSqlDatabase();
         QSqlDatabase::removeDatabase(QStringLiteral("newer"));
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
    EXPECT_NE(dynamic_cast<MemoryProgressStore*>(opened.Store.get()), nullptr);
    EXPECT_TRUE(opened.Problem.contains(QStringLiteral("beiseitegelegt")))
        << opened.Problem.toStdString();
    ASSERT_EQ(SetAside().size(), 1);
    EXPECT_EQ(opened.MovedAside, dir_.filePath(SetAside()[0]));
    EXPECT_EQ(Bytes(opened.MovedAside), before);
    EXPECT_FALSE(QFile::exists(path_));
    // Play goes on in memory.
    const std::optional<ProfileId> anna = opened.Store->AddProfile(QStringLiteral("Anna"));
    ASSERT_TRUE(anna);
    EXPECT_TRUE(opened.Store->StartRound(Opening(*anna, 1, {"1+1"})));
    opened.Store.reset();

    // The next start begins a new file beside the one set aside.
    OpenedProgressStore next = OpenProgressStore(path_);
    EXPECT_TRUE(next.Problem.isEmpty());
    EXPECT_EQ(SetAside().size(), 1);
  }
}

TEST_F(SqliteFile, UnusableFolderGivesOneMessageAndPlayGoesOn) {
  // A file where the folder should be: no user, not even root, can create it.
  Write("not a folder");
  OpenedProgressStore opened = OpenProgressStore(path_ + QStringLiteral("/sub/progress.sqlite"));
  ASSERT_TRUE(opened.Store);
  EXPECT_NE(dynamic_cast<MemoryProgressStore*>(opened.Store.get()), nullptr);
  EXPECT_FALSE(opened.Problem.isEmpty());
  EXPECT_TRUE(opened.MovedAside.isEmpty());
  EXPECT_EQ(Bytes(path_), QByteArray("not a folder"));
  EXPECT_TRUE(opened.Store->AddProfile(QStringLiteral("Anna")));
}

// A store that can no longer write (here: its tables gone under it) reports
// one problem, however often it fails, and the calls just return false.
TEST_F(SqliteFile, WriteFailuresAreReportedOnce) {
  OpenedProgressStore opened = OpenProgressStore(path_);
  ProgressStore& store = *opened.Store;
  QStringList problems;
  store.SetProblemHandler([&](const QString& message) { problems << message; });
  const ProfileId anna = *store.AddProfile(QStringLiteral("Anna"));
  const RoundId round = *store.StartRound(Opening(anna, 1, {"1+1"}));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
    db.setDatabaseName(path_);
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DROP TABLE answers")));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("drop"));
  EXPECT_FALSE(store.RecordAnswer(round, Answer(0, "2", true)));
  EXPECT_FALSE(store.RecordAnswer(round, Answer(0, "2", true)));
  ASSERT_EQ(problems.size(), 1);
  EXPECT_TRUE(problems[0].contains(QStringLiteral("weiter üben")));
  // The failed answer's transaction left nothing half done.
  EXPECT_EQ(store.Rounds(anna, 0, kEver)[0].Counts.Solved, 0);
}

// Writes answers in a child process; reports each committed one on the pipe.
[[noreturn]] void WriteAnswersUntilKilled(const QString& path, int pipeOut, int answers) {
  OpenedProgressStore opened = OpenProgressStore(path);
  if (!opened.Problem.isEmpty()) _exit(2);
  ProgressStore& store = *opened.Store;
  std::optional<ProfileId> profile = store.AddProfile(QStringLiteral("Kind %1").arg(getpid()));
  if (!profile) _exit(3);
  std::vector<std::string> terms(15, "6*7");
  const std::optional<RoundId> round = store.StartRound(Opening(*profile, 1, terms));
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
  ASSERT_TRUE(opened.Problem.isEmpty()) << opened.Problem.toStdString();
  ASSERT_EQ(opened.Store->Profiles().size(), 1u);
  const ProfileId profile = opened.Store->Profiles()[0].Id;
  int stored = 0;
  for (const StoredTask& task : Tasks(*opened.Store, profile)) stored += task.WrongAnswers;
  // The answer being written at the kill may be in too, but none reported is lost.
  EXPECT_GE(stored, committed);
  EXPECT_LE(stored, committed + 1);
  EXPECT_EQ(opened.Store->Rounds(profile, 0, kEver)[0].State, RoundState::Open);
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
