// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The compiled form an Expression shares with its copies and batches, and
// the machine code it may become: many terms share a few executable
// mappings, machine code can be turned off, a refused mapping is asked for
// once per process, and no failure of it ever fails an evaluation.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../src/executable_code.h"
#include "../src/fast_program.h"
#include "engine/expression.h"
#include "engine/extended.h"

namespace engine {
namespace {

// The anonymous executable mappings of this process: the code arena's.
int ExecutableMappings() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  int count = 0;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode >> path;
    if (perms.size() >= 3 && perms[2] == 'x' && path.empty()) ++count;
  }
  return count;
}

// A lower threshold for machine code while a test runs.
class FewRunsBeforeMachineCode {
 public:
  explicit FewRunsBeforeMachineCode(std::uint32_t runs) {
    FastProgram::SetRunsBeforeMachineCodeForTesting(runs);
  }
  ~FewRunsBeforeMachineCode() { FastProgram::SetRunsBeforeMachineCodeForTesting(0); }
  FewRunsBeforeMachineCode(const FewRunsBeforeMachineCode&) = delete;
  FewRunsBeforeMachineCode& operator=(const FewRunsBeforeMachineCode&) = delete;
};

// The term of number i and its value, computed here by the same x87
// operations in the same order.
std::string TermOf(int i) {
  return "(x+" + std::to_string(i) + ")*(x-1)/(x*x+" + std::to_string(i % 97 + 1) + ")";
}
long double ValueOf(int i, long double x) {
  const auto a = static_cast<long double>(i);
  const auto b = static_cast<long double>(i % 97 + 1);
  return (x + a) * (x - 1) / (x * x + b);
}

// Enough runs of a form to reach machine code and to close its page.
constexpr std::uint32_t kThreshold = 3;
constexpr int kRunsPastIt = kThreshold + 2;

TEST(CompiledForm, HundredThousandTermsShareFewExecutableMappings) {
  const FewRunsBeforeMachineCode few(kThreshold);
  const int before = ExecutableMappings();
  constexpr int kTerms = 100000;
  std::vector<Expression> expressions;
  expressions.reserve(kTerms);
  int wrong = 0;
  for (int i = 0; i < kTerms; ++i) {
    auto compiled = Expression::Compile(TermOf(i), {"x"});
    ASSERT_TRUE(compiled.has_value()) << TermOf(i);
    for (int run = 0; run < kRunsPastIt; ++run) {
      const long double x = 0.25L * run - 0.5L;
      const Result<long double> value = compiled->Evaluate({x});
      if (!value || BitsOf(*value) != BitsOf(ValueOf(i, x))) ++wrong;
    }
    expressions.push_back(std::move(*compiled));
  }
  // Again, now that most pages have closed and run as machine code.
  for (int i = 0; i < kTerms; ++i) {
    const long double x = 1.0L / 3;
    const Result<long double> value = expressions[static_cast<std::size_t>(i)].Evaluate({x});
    if (!value || BitsOf(*value) != BitsOf(ValueOf(i, x))) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
  const int mappings = ExecutableMappings() - before;
  EXPECT_LE(mappings, 64);
  if (ExecutableCode::Available()) {
    EXPECT_GE(mappings, 1);
  }
}

// Copies share the form; a batch over doubles gives each point's value
// rounded once, and a batch of 8 the same as one of many.
TEST(CompiledForm, DoubleColumnsGiveTheRoundedValuesOfSinglePoints) {
  const char* terms[] = {"(x+1)*(x-1)/(x*y+1)", "sin(x)*cos(y)+x^2", "1/(x-y)", "ln(x)+abs(y)"};
  for (const char* term : terms) {
    SCOPED_TRACE(term);
    const auto compiled = Expression::Compile(term, {"x", "y"});
    ASSERT_TRUE(compiled.has_value());
    const Expression copy = *compiled;
    for (const std::size_t points : {std::size_t{1}, std::size_t{8}, std::size_t{1000}}) {
      std::vector<double> xs(points), ys(points), results(points, -1);
      std::vector<ErrorCode> status(points, ErrorCode::kWrongArgument);
      for (std::size_t i = 0; i < points; ++i) {
        xs[i] = 0.1 * static_cast<double>(i % 23) - 0.5;
        ys[i] = i % 5 == 0 ? xs[i] : 0.3 * static_cast<double>(i % 7);
      }
      const double* columns[] = {xs.data(), ys.data()};
      const auto viaPointers = copy.EvaluateBulk(columns, 2, points, results.data(), status.data());
      ASSERT_TRUE(viaPointers.has_value());
      std::vector<double> spanResults(points, -1);
      std::vector<ErrorCode> spanStatus(points);
      const auto viaSpans = compiled->EvaluateBulk({xs, ys}, spanResults, spanStatus);
      ASSERT_TRUE(viaSpans.has_value());
      std::size_t failures = 0;
      for (std::size_t i = 0; i < points; ++i) {
        const auto single = compiled->Evaluate({static_cast<long double>(xs[i]), ys[i]});
        if (single) {
          ASSERT_EQ(status[i], ErrorCode::kOk) << i;
          ASSERT_EQ(results[i], static_cast<double>(*single)) << i;
        } else {
          ++failures;
          ASSERT_EQ(status[i], single.error().code) << i;
          ASSERT_EQ(results[i], 0) << i;
        }
        ASSERT_EQ(spanStatus[i], status[i]);
        ASSERT_EQ(std::memcmp(&spanResults[i], &results[i], sizeof(double)), 0);
      }
      EXPECT_EQ(*viaPointers, failures);
      EXPECT_EQ(*viaSpans, failures);
    }
  }
}

TEST(CompiledForm, DoubleColumnsThatDoNotFitAreRefused) {
  const auto compiled = Expression::Compile("x*y", {"x", "y"});
  ASSERT_TRUE(compiled.has_value());
  std::vector<double> two(2), three(3), results(2);
  std::vector<ErrorCode> status(2);
  const double* columns[] = {two.data(), nullptr};
  struct Case {
    const char* What;
    Result<std::size_t> Got;
  };
  const Case cases[] = {
      {"one column of two", compiled->EvaluateBulk({two}, results, status)},
      {"columns of different lengths", compiled->EvaluateBulk({two, three}, results, status)},
      {"outputs too short", compiled->EvaluateBulk({three, three}, results, status)},
      {"a null column", compiled->EvaluateBulk(columns, 2, 2, results.data(), status.data())},
      {"null outputs", compiled->EvaluateBulk(columns, 2, 2, nullptr, nullptr)},
      {"an empty expression", Expression().EvaluateBulk({two}, results, status)},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(c.Got.has_value()) << c.What;
    EXPECT_EQ(c.Got.error().code, ErrorCode::kWrongArgument) << c.What;
  }
  EXPECT_EQ(results, (std::vector<double>{0, 0}));
}

// Memory grows with the term, not with a buffer of the largest term.
TEST(CompiledForm, SmallTermsTakeLittleMemory) {
  constexpr int kTerms = 1000;
  std::vector<Expression> expressions;
  expressions.reserve(kTerms);
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < kTerms; ++i) {
    auto compiled = Expression::Compile(TermOf(i), {"x"});
    ASSERT_TRUE(compiled.has_value());
    ASSERT_TRUE(compiled->Evaluate({0.5L}).has_value());
    expressions.push_back(std::move(*compiled));
  }
  const std::size_t perTerm = (mallinfo2().uordblks - before) / kTerms;
  EXPECT_LE(perTerm, 2048U);
}

TEST(CompiledForm, MachineCodeTurnedOffMapsNothing) {
  const FewRunsBeforeMachineCode few(kThreshold);
  CompileOptions options;
  options.machine_code = false;
  const int before = ExecutableMappings();
  std::vector<Expression> expressions;
  int wrong = 0;
  for (int i = 0; i < 2000; ++i) {
    auto compiled = Expression::Compile(TermOf(i), {"x"}, options);
    ASSERT_TRUE(compiled.has_value());
    for (std::uint32_t run = 0; run < FastProgram::kRunsBeforeClosingPage / 64; ++run) {
      const long double x = 0.125L * static_cast<long double>(run % 9);
      const Result<long double> value = compiled->Evaluate({x});
      if (!value || BitsOf(*value) != BitsOf(ValueOf(i, x))) ++wrong;
    }
    expressions.push_back(std::move(*compiled));
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(ExecutableMappings(), before);
}

// The environment variable, read once per process: the test runs itself in
// a new process with it set.
TEST(CompiledForm, EnvironmentVariableTurnsMachineCodeOff) {
  if (std::getenv("ZELV_COMPILED_FORM_CHILD") != nullptr) {
    EXPECT_FALSE(ExecutableCode::Available());
    const auto compiled = Expression::Compile("x*x+1", {"x"});
    ASSERT_TRUE(compiled.has_value());
    const int before = ExecutableMappings();
    for (int i = 0; i < 40000; ++i) ASSERT_EQ(*compiled->Evaluate({2.0L}), 5.0L);
    EXPECT_EQ(ExecutableMappings(), before);
    return;
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("ZELV_ENGINE_NO_MACHINE_CODE", "1", 1);
    setenv("ZELV_COMPILED_FORM_CHILD", "1", 1);
    const char* argv[] = {"compiled_form_test",
                          "--gtest_filter=CompiledForm.EnvironmentVariableTurnsMachineCodeOff",
                          nullptr};
    execv("/proc/self/exe", const_cast<char* const*>(argv));
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Counts the calls that would make memory executable, and refuses them, as
// a sandbox that forbids executable memory does.
std::atomic<int> refusedCalls{0};

void RefuseCall(int, siginfo_t*, void* context) {
  refusedCalls.fetch_add(1);
  static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RAX] = -EPERM;
}

bool RefuseExecutableMemory() {
  struct sigaction action {};
  action.sa_sigaction = RefuseCall;
  action.sa_flags = SA_SIGINFO;
  if (sigaction(SIGSYS, &action, nullptr) != 0) return false;
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_mprotect, 2, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_mmap, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, PROT_EXEC, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Exit codes of the child below.
constexpr int kNoSandbox = 100;
constexpr int kWrongValues = 101;

TEST(CompiledForm, RefusedExecutableMemoryIsAskedForOnce) {
  const FewRunsBeforeMachineCode few(kThreshold);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!RefuseExecutableMemory()) _exit(kNoSandbox);
    int wrong = 0;
    std::vector<Expression> expressions;
    for (int i = 0; i < 1000; ++i) {
      auto compiled = Expression::Compile(TermOf(i), {"x"});
      if (!compiled) _exit(kWrongValues);
      for (std::uint32_t run = 0; run < FastProgram::kRunsBeforeClosingPage / 16; ++run) {
        const long double x = 0.5L * static_cast<long double>(run % 5);
        const Result<long double> value = compiled->Evaluate({x});
        if (!value || BitsOf(*value) != BitsOf(ValueOf(i, x))) ++wrong;
      }
      // Batches too, past the old block size of their copies.
      std::vector<double> xs(70000, 0.5), results(xs.size());
      std::vector<ErrorCode> status(xs.size());
      if (i % 400 == 0 &&
          !compiled->EvaluateBulk({engine::DoubleColumn(xs.data(), xs.size())}, results, status)) {
        ++wrong;
      }
      expressions.push_back(std::move(*compiled));
    }
    _exit(wrong != 0 ? kWrongValues : refusedCalls.load());
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  const int code = WEXITSTATUS(status);
  if (code == kNoSandbox) GTEST_SKIP() << "no seccomp filter can be installed here";
  ASSERT_NE(code, kWrongValues);
  EXPECT_LE(code, 1) << "refused calls";
  // Where machine code is made, the first attempt was the one refused.
  if (ExecutableCode::Available()) {
    EXPECT_EQ(code, 1);
  }
}

}  // namespace
}  // namespace engine
