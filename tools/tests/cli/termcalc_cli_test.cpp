// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// termcalc end to end: the built program with its arguments and standard
// input; standard output, standard error and the exit status as a user sees
// them.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A file in the temporary folder, removed again at the end of the scope.
class TempFile {
 public:
  explicit TempFile(const std::string& contents) {
    const char* folder = std::getenv("TMPDIR");
    path_ = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
            "/termcalc_cli_XXXXXX";
    const int fd = mkstemp(path_.data());
    if (fd < 0) {
      ADD_FAILURE() << "cannot create a temporary file";
      return;
    }
    if (!contents.empty() && write(fd, contents.data(), contents.size()) < 0) {
      ADD_FAILURE() << "cannot write a temporary file";
    }
    close(fd);
  }
  ~TempFile() { unlink(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Runs termcalc with standard input from a file (never a terminal) and both
// outputs into files, so no pipe can fill up and block.
Outcome RunTermcalc(const std::vector<std::string>& args, const std::string& input = "") {
  TempFile in(input), out(""), err("");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.Path().c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.Path().c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.Path().c_str(), O_WRONLY | O_TRUNC, 0);
  std::vector<std::string> words{TERMCALC_PROGRAM};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  Outcome outcome;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, TERMCALC_PROGRAM, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << TERMCALC_PROGRAM;
    return outcome;
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  outcome.out = ReadFile(out.Path());
  outcome.err = ReadFile(err.Path());
  return outcome;
}

const std::string kUsage =
    "usage: termcalc [--angle rad|deg|gon] [--const LINE]... [--func LINE]... "
    "[--var NAME[=VALUE]]... [--seed N] [--digits N] [TERM]...\n";

struct CliCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  std::string out;
  std::string err;
  int status;
};

// A failing case is named, not dumped byte by byte.
void PrintTo(const CliCase& c, std::ostream* out) {
  *out << c.name;
}

class Termcalc : public ::testing::TestWithParam<CliCase> {};

TEST_P(Termcalc, WritesOneLinePerTermAndTheRightStatus) {
  const CliCase& c = GetParam();
  const Outcome outcome = RunTermcalc(c.args, c.input);
  EXPECT_EQ(outcome.out, c.out);
  EXPECT_EQ(outcome.err, c.err);
  EXPECT_EQ(outcome.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Termcalc,
    ::testing::Values(
        // What a new user tries first.
        CliCase{"standard_input", {}, "2*(3+4)\n", "14\n", "", 0},
        CliCase{"declared_function", {"--func", "SQ(A)=A*A", "SQ(SQ(2))"}, "", "16\n", "", 0},
        CliCase{"division_by_zero",
                {"1/0"},
                "",
                "error 7: Function is not defined for the given argument\\n\\ror division by "
                "zero\n",
                "",
                1},
        // Lines of standard input: CR dropped, empty lines are empty terms,
        // the last line needs no line break.
        CliCase{
            "input_lines", {}, "1+1\r\n\n25/5/5", "2\nerror 2: Term is empty string\n1\n", "", 1},
        CliCase{"no_input", {}, "", "", "", 0},
        // Values as the shortest text that reads back to the same value, in
        // exponent form when very large or very small.
        CliCase{
            "shortest_exact_text",
            {"2E-3", "10/4", "PI", "1/3", "-2^0.5", "2E-3*1000", "1E4000*10", "2^(-30)", "1E21"},
            "",
            "0.002\n2.5\n3.1415926535897932385\n0.33333333333333333334\n"
            "-1.4142135623730950488\n1.9999999999999999999\n1E4001\n"
            "9.313225746154785156E-10\n1E21\n",
            "",
            0},
        CliCase{"rounded_to_digits",
                {"--digits", "18", "2E-3*1000", "PI", "1/3", "2^70"},
                "",
                "2\n3.14159265358979324\n0.333333333333333333\n1.1805916207174113E21\n",
                "",
                0},
        CliCase{"one_digit",
                {"--digits", "1", "2/3", "-0.96", "1E-9*7.5"},
                "",
                "0.7\n-1\n8E-9\n",
                "",
                0},
        CliCase{"warning",
                {"REZ(0)"},
                "",
                "1E4000\twarning: Division by zero. Large value inserted.\n",
                "",
                0},
        // Without a terminal there is no ANS: scripts see what they always saw.
        CliCase{"no_answer_without_terminal",
                {},
                "2+3\nANS\n",
                "5\nerror 3: ANS was detected in the string. Unknown or recursive call\n",
                "",
                1},
        // Errors of the analysis are reported as SetTerm left them, without
        // the text an Evaluate would add.
        CliCase{"analysis_errors",
                {"(1+2", "FOO(1)", "2+*3", "NAN"},
                "",
                "error 1: Wrong parentheses\nerror 3: Undefined Function: FOO\n"
                "error 5: Missing Operand in Function Term\nerror 8: NaN: Evaluation aborted\n",
                "",
                1},
        CliCase{"unexpandable_call",
                {"--func", "D(A;B)=A-B", "D(5)"},
                "",
                "error 4: Recursive or unknown function call\n",
                "",
                1},
        // Terms lose their control bytes in normalisation; the declaration
        // report keeps the lines as written, so it shows the escapes.
        CliCase{"control_bytes_escaped",
                {"--func",
                 "F(\x01"
                 "A\t=A\\",
                 "1"},
                "",
                "1\n",
                "declarations: \\n\\rWrong Parentheses in Function F(\\x01A\\t=A\\\\\n",
                0},
        CliCase{"other_bytes_as_they_are",
                {"\xE4(1)"},
                "",
                "error 3: Undefined Function: \xE4\n",
                "",
                1},
        CliCase{"mixed_status",
                {"1", "1/0", "2"},
                "",
                "1\nerror 7: Function is not defined for the given argument\\n\\ror division by "
                "zero\n2\n",
                "",
                1},
        // Declarations and variables.
        CliCase{"constants_and_functions_in_order",
                {"--const", "G=9.81", "--const", "H=G*2", "--func", "F(A)=A+H", "F(1)"},
                "",
                "20.62\n",
                "",
                0},
        CliCase{"default_variables", {"t+x+y+z"}, "", "0\n", "", 0},
        CliCase{"given_variables",
                {"--var", "a=1.5", "--var", "b", "--var", "c=-2e1", "a+b+c"},
                "",
                "-18.5\n",
                "",
                0},
        CliCase{"given_variables_replace_defaults",
                {"--var", "a=1", "x"},
                "",
                "error 3: X was detected in the string. Unknown or recursive call\n",
                "",
                1},
        CliCase{"declaration_errors_once_on_stderr",
                {"--func", "F(X)=F(X)+1", "--var", "1A", "--var", "b=2", "b", "b*2"},
                "",
                "2\n4\n",
                "declarations: \\n\\rRecursive Function: F(X)=F(X)+1\\n\\rInvalid variable "
                "name: 1A\n",
                0},
        CliCase{"angle_degrees", {"--angle", "deg", "SIN(30)*2"}, "", "1\n", "", 0},
        CliCase{"angle_gradians", {"--angle", "gon", "COS(200)"}, "", "-1\n", "", 0},
        CliCase{"seed_repeats_random", {"--seed", "0", "RND(4294967296)"}, "", "1\n", "", 0},
        CliCase{"double_dash_ends_options",
                {"--", "--help"},
                "",
                "error 3: HELP was detected in the string. Unknown or recursive call\n",
                "",
                1},
        CliCase{"negative_term_is_no_option", {"-3+1"}, "", "-2\n", "", 0},
        // Usage errors: one line on standard error, nothing evaluated.
        CliCase{"unknown_option",
                {"--frob", "1"},
                "",
                "",
                "termcalc: unknown option '--frob'; " + kUsage,
                2},
        CliCase{"missing_value",
                {"1", "--func"},
                "",
                "",
                "termcalc: option '--func' needs a value; " + kUsage,
                2},
        CliCase{"bad_angle",
                {"--angle", "grad", "1"},
                "",
                "",
                "termcalc: angle unit must be rad, deg or gon, not 'grad'; " + kUsage,
                2},
        CliCase{"seed_too_large",
                {"--seed", "4294967296", "1"},
                "",
                "",
                "termcalc: seed must be a whole number from 0 to 4294967295, not "
                "'4294967296'; " +
                    kUsage,
                2},
        CliCase{"digits_out_of_range",
                {"--digits", "22", "1"},
                "",
                "",
                "termcalc: digits must be a whole number from 1 to 21, not '22'; " + kUsage,
                2},
        CliCase{"bad_variable_value",
                {"--var", "x=1,5", "x"},
                "",
                "",
                "termcalc: variable value must be a finite number in 'x=1,5'; " + kUsage,
                2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Termcalc, HelpAgreesWithTheUsageAndExitsZero) {
  const Outcome outcome = RunTermcalc({"--help"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.out.rfind("Usage: termcalc [--angle rad|deg|gon]", 0), 0u) << outcome.out;
  for (const char* option :
       {"--angle", "--const", "--func", "--var", "--seed", "--digits", "--help"}) {
    EXPECT_NE(outcome.out.find(std::string("\n  ") + option), std::string::npos) << option;
  }
}

TEST(Termcalc, SeedMakesRandomFunctionsRepeat) {
  const Outcome first = RunTermcalc({"--seed", "4711", "RND(1000)", "RND(1000)"});
  const Outcome second = RunTermcalc({"--seed", "4711", "RND(1000)", "RND(1000)"});
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, second.out);
}

TEST(Termcalc, HostileInputNeverCrashes) {
  std::string input;
  input += std::string(100000, '(') + "\n";
  input += std::string(3000, '1') + "\n";
  input += std::string("1+\0+2", 5) + "\n";
  for (int i = 0; i < 600; ++i) input += "SIN(";
  input += "1" + std::string(600, ')') + "\n";
  std::string sum = "1";
  for (int i = 0; i < 2000; ++i) sum += "+1";
  input += sum + "\n";
  const Outcome outcome = RunTermcalc({"--func", "F(A)=A*A*A*A", "--func", "G(A)=F(F(F(F(A))))"},
                                      input + "G(G(G(G(2))))\n");
  EXPECT_LT(outcome.status, 2);
  int lines = 0;
  for (char c : outcome.out) lines += c == '\n';
  EXPECT_EQ(lines, 6) << outcome.out.substr(0, 2000);
}

}  // namespace
