// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The fast execution form against the interpreter, its reference: wherever a
// fast run decides, the interpreter must give the same value bit for bit,
// status 0 and no message.
//
// The random differential runs a small number of programs here; with
// ZELV_FAST_DIFF_PROGRAMS set (scripts/fast-eval-diff.sh) the same test runs
// as many as asked and prints its counts. ZELV_FAST_DIFF_CORPUS names a
// folder of term files to run as well; ZELV_FAST_DIFF_SEED picks other
// random programs.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../src/fast_program.h"
#include "engine/interpreter.h"
#include "engine/parser.h"
#include "engine/run_context.h"
#include "test_support.h"

namespace engine {
namespace {

constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

// Values that reach every edge: zeros of both signs, the ends of the range,
// infinities, quiet NaN, the engine's own NaN patterns, whole numbers around
// 2^63 and 2^64, denormals.
std::vector<Extended> EdgeValues() {
  return {0.0L,
          -0.0L,
          1.0L,
          -1.0L,
          0.5L,
          2.0L,
          3.0L,
          -7.0L,
          10.0L,
          1e-5L,
          1e19L,
          9223372036854775808.0L,
          18446744073709551616.0L,
          -9223372036854775808.0L,
          std::numeric_limits<Extended>::max(),
          -std::numeric_limits<Extended>::max(),
          std::numeric_limits<Extended>::min(),
          std::numeric_limits<Extended>::denorm_min(),
          1e4000L,
          1e-4000L,
          kInf,
          -kInf,
          std::numeric_limits<Extended>::quiet_NaN(),
          ExtEngineNaN,
          ExtNanConstant,
          ExtPi,
          1e300L,
          -3.5L};
}

struct Counts {
  long Programs = 0;
  long Built = 0;
  long Native = 0;
  long Runs = 0;
  long Decided = 0;
  long Mismatches = 0;
};

constexpr int kFailureFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The x87 tag word: 0xFFFF when every register is empty, as the calling
// convention demands between calls.
std::uint16_t X87Tags() {
  struct {
    std::uint32_t Control, Status, Tags, Rest[4];
  } environment{};
  __asm__ __volatile__("fnstenv %0\n\tfldenv %0" : "+m"(environment) : : "memory");
  return static_cast<std::uint16_t>(environment.Tags);
}

// Encodings that only memory can hold: loading one into the x87 unit raises
// invalid and gives a quiet NaN (signalling NaN) or the indefinite NaN (the
// unsupported ones), so they are written into the variables byte by byte.
struct Encoding {
  std::uint16_t SignExponent;
  std::uint64_t Significand;
};
constexpr Encoding kRawEncodings[] = {
    {0x7FFF, 0xA000000000000000ULL},  // signalling NaN
    {0xFFFF, 0x8000000000000001ULL},  // negative signalling NaN
    {0x3FFF, 0x4000000000000000ULL},  // unnormal: integer bit clear
    {0x0000, 0x8000000000000001ULL},  // pseudo-denormal: integer bit set
    {0x7FFF, 0x0000000000000000ULL},  // pseudo-infinity
    {0xFFFF, 0x4000000000000000ULL},  // pseudo-NaN
};

void PutEncoding(Extended& to, const Encoding& encoding) {
  std::memcpy(&to, &encoding.Significand, 8);
  std::memcpy(reinterpret_cast<unsigned char*>(&to) + 8, &encoding.SignExponent, 2);
}

// Runs program with vars on both evaluators and compares. A decided run
// must also leave no failure flag of its own behind and the x87 registers
// empty.
void Compare(const TProgram& program, FastProgram& fast, bool built,
             const std::vector<Extended>& vars, Extended angleFactor, Counts& counts,
             const std::string& what) {
  ++counts.Runs;
  Extended fastValue = 0;
  RunContext context;
  const int flagsBefore = std::fetestexcept(kFailureFlags);
  const bool decided = built && fast.Run(context, vars, angleFactor, fastValue);
  const int flagsRaised = std::fetestexcept(kFailureFlags) & ~flagsBefore;
  const std::uint16_t tags = X87Tags();
  int status = -1;
  std::string message;
  const Extended reference = RunProgram(context, program, vars, angleFactor, status, message);
  if (!decided) return;
  ++counts.Decided;
  if ((flagsRaised != 0 || tags != 0xFFFF) && ++counts.Mismatches <= 10) {
    ADD_FAILURE() << what << ": a decided run left flags " << flagsRaised << ", x87 tags "
                  << std::hex << tags;
  }
  if (status == 0 && message.empty() && BitsOf(reference) == BitsOf(fastValue)) return;
  if (++counts.Mismatches <= 10) {
    // The bits: the edge values include encodings that print alike.
    std::string values;
    for (const Extended v : vars) {
      char text[48];
      std::snprintf(text, sizeof text, " %Lg [%04x %016llx]", v, BitsOf(v).SignExponent,
                    static_cast<unsigned long long>(BitsOf(v).Significand));
      values += text;
    }
    ADD_FAILURE() << what << ": fast " << static_cast<double>(fastValue) << ", reference "
                  << static_cast<double>(reference) << " status " << status << " '" << message
                  << "' (variables" << values << ", angle factor "
                  << static_cast<double>(angleFactor) << ")";
  }
}

// A random value: mostly an edge value, else a uniform or a log-uniform one.
class ValueSource {
 public:
  explicit ValueSource(std::uint64_t seed) : random_(seed), edges_(EdgeValues()) {}

  Extended Next() {
    switch (random_() % 4) {
      case 0:
        return edges_[random_() % edges_.size()];
      case 1:
        return static_cast<Extended>(static_cast<std::int64_t>(random_() % 41) - 20) / 4;
      case 2: {
        const int exponent = static_cast<int>(random_() % 200) - 100;
        const Extended m = static_cast<Extended>(random_() >> 11) / 9007199254740992.0L;
        return std::ldexp(m, exponent) * ((random_() & 1) != 0 ? -1 : 1);
      }
      default: {
        const int exponent = static_cast<int>(random_() % 32800) - 16400;
        return std::ldexp(static_cast<Extended>(random_() >> 11), exponent - 53) *
               ((random_() & 1) != 0 ? -1 : 1);
      }
    }
  }
  std::uint64_t Draw() { return random_(); }
  Extended Huge() {
    const int exponent = 16000 + static_cast<int>(random_() % 384);
    return std::ldexp(1.0L + static_cast<Extended>(random_() % 1000) / 1000, exponent) *
           ((random_() & 1) != 0 ? -1 : 1);
  }

 private:
  std::mt19937_64 random_;
  std::vector<Extended> edges_;
};

// GAMMA multiplies 100,000 factors; it is drawn seldom to keep runs short.
constexpr int kGamma = 37;

// A random program: mostly well formed (the stack never runs empty, one value
// is left), sometimes anything at all, sometimes right at the 500-record
// limit.
void RandomProgram(ValueSource& source, TProgram& program) {
  const std::uint64_t shape = source.Draw() % 20;
  const bool anything = shape == 0;
  int length = static_cast<int>(1 + source.Draw() % 24);
  if (shape == 1) length = static_cast<int>(494 + source.Draw() % 7);
  int depth = 0;
  int count = 0;
  auto put = [&](std::uint8_t kind, int code, Extended value) {
    TInstruction& record = program[static_cast<std::size_t>(++count)];
    record.Kind = kind;
    record.Code = static_cast<std::int16_t>(code);
    record.Value = value;
  };
  while (count < length && count < ProgramSize) {
    const std::uint64_t pick = source.Draw() % 10;
    if (anything) {
      put(static_cast<std::uint8_t>(source.Draw() % 6), static_cast<int>(source.Draw() % 72) - 2,
          source.Next());
      continue;
    }
    const bool mustReduce = length - count <= depth - 1;
    if (depth < 2 || (!mustReduce && pick < 4)) {
      if (pick % 2 == 0) {
        put(ikNumber, 0, source.Next());
      } else {
        put(ikVariable, static_cast<int>(source.Draw() % 3), 0);
      }
      ++depth;
    } else if (pick < 7 || mustReduce) {
      int code = static_cast<int>(1 + source.Draw() % 20);
      if (mustReduce && code == opNegate) code = opAdd;
      put(ikOperator, code, 0);
      if (code != opNegate) --depth;
    } else {
      int code = static_cast<int>(1 + source.Draw() % FunctionCount);
      if (code == kGamma && source.Draw() % 50 != 0) code = 39;
      const int arity = FunctionArity(code);
      if (arity == 0 || arity > depth) {
        put(ikOperator, opNegate, 0);
        continue;
      }
      put(ikFunction, code, 0);
      depth -= arity - 1;
    }
  }
  if (count < ProgramSize && (anything || source.Draw() % 50 != 0)) {
    program[static_cast<std::size_t>(count + 1)].Kind = ikEnd;
  }
}

// Random term text from the term language, for programs as the compiler
// writes them.
std::string RandomTerm(ValueSource& source, int level) {
  static const char* const kLeaves[] = {"X",  "Y",   "Z",   "X",      "Y",       "Z",    "X", "Y",
                                        "Z",  "2",   "0.5", "1E4000", "1E-4000", "PI",   "0", "3",
                                        "-1", "NAN", "10",  "1E19",   "E",       "TRUE", "7"};
  static const char* const kOperators[] = {
      "+",      "-",     "*",     "/", "^",  " and ", " div ", " shl ", " or ", " shr ",
      " over ", " xor ", " mod ", "=", "<>", ">=",    "<=",    ">",     "<"};
  static const char* const kFunctions1[] = {
      "SIN", "COS", "TAN",  "EXP",   "LN",    "SQRT", "ABS",  "SQR",  "ARCTAN", "TANH",
      "LG",  "LB",  "INT",  "FRAC",  "SGN",   "CBRT", "SINH", "COSH", "ERF",    "GAUSS",
      "FAC", "NOT", "CEIL", "FLOOR", "ROUND", "REZ",  "COTH", "COT",  "SI",     "ODD"};
  static const char* const kFunctions2[] = {"MAX",    "MIN",  "ROOT",    "LOG",  "ATAN2",
                                            "MODULO", "BINO", "POISSON", "CABS", "POICUM"};
  const std::uint64_t pick = source.Draw() % 10;
  if (level <= 0 || pick < 3) {
    return kLeaves[source.Draw() % (sizeof kLeaves / sizeof *kLeaves)];
  }
  if (pick < 6) {
    return "(" + RandomTerm(source, level - 1) +
           kOperators[source.Draw() % (sizeof kOperators / sizeof *kOperators)] +
           RandomTerm(source, level - 1) + ")";
  }
  if (pick < 7) return "-" + RandomTerm(source, level - 1);
  if (pick < 9) {
    return std::string(kFunctions1[source.Draw() % (sizeof kFunctions1 / sizeof *kFunctions1)]) +
           "(" + RandomTerm(source, level - 1) + ")";
  }
  return std::string(kFunctions2[source.Draw() % (sizeof kFunctions2 / sizeof *kFunctions2)]) +
         "(" + RandomTerm(source, level - 1) + ";" + RandomTerm(source, level - 1) + ")";
}

Extended AngleFactorFor(std::uint64_t pick) {
  return pick % 3 == 0 ? 1.0L : pick % 3 == 1 ? ExtDegFactor : ExtGonFactor;
}

// ZELV_FAST_DIFF_SEED shifts the random sequences, so that runs with
// different seeds check different programs.
std::uint64_t SeedFromEnvironment(std::uint64_t base) {
  const char* text = std::getenv("ZELV_FAST_DIFF_SEED");
  return text == nullptr ? base : base + std::strtoull(text, nullptr, 10) * 1000003ULL;
}

long ProgramsFromEnvironment(long fallback) {
  const char* text = std::getenv("ZELV_FAST_DIFF_PROGRAMS");
  if (text == nullptr) return fallback;
  return std::strtol(text, nullptr, 10);
}

// Several variable sets per program, some with flags raised before the run
// (the fast form must then decline or ignore them, never report them). Both
// ways of running the form are checked: its machine code, where it has one,
// and the step loop.
void CompareOnSets(const TProgram& program, ValueSource& source, Counts& counts,
                   const std::string& what) {
  FastProgram fast;
  const bool built = fast.Build(program, FastProgram::MachineCode::Now);
  FastProgram steps;
  const bool stepsBuilt = steps.Build(program, FastProgram::MachineCode::Never);
  ++counts.Programs;
  if (built) ++counts.Built;
  if (fast.Native()) ++counts.Native;
  if (built != stepsBuilt && ++counts.Mismatches <= 10) {
    ADD_FAILURE() << what << ": built " << built << " with machine code, " << stepsBuilt
                  << " without";
  }
  for (int set = 0; set < 4; ++set) {
    std::vector<Extended> vars = {source.Next(), source.Next(), source.Next()};
    if (set == 0) vars = {1.5L, -2.0L, 0.25L};
    // Values whose products and sums overflow.
    if (set == 1) vars = {source.Huge(), source.Huge(), source.Next()};
    // Now and then an encoding the x87 unit only reads from memory.
    if (set >= 2 && source.Draw() % 4 == 0) {
      const Encoding& encoding =
          kRawEncodings[source.Draw() % (sizeof kRawEncodings / sizeof kRawEncodings[0])];
      PutEncoding(vars[source.Draw() % vars.size()], encoding);
    }
    const bool raised = source.Draw() % 8 == 0;
    const Extended angleFactor = AngleFactorFor(source.Draw());
    if (raised) std::feraiseexcept(FE_OVERFLOW);
    Compare(program, fast, built, vars, angleFactor, counts, what);
    if (!fast.Native()) continue;
    // The machine code declines exactly where the step loop does.
    Extended nativeValue = 0;
    Extended stepValue = 0;
    RunContext context;
    const bool nativeDecided = fast.Run(context, vars, angleFactor, nativeValue);
    const bool stepDecided = steps.Run(context, vars, angleFactor, stepValue);
    if ((nativeDecided != stepDecided ||
         (nativeDecided && BitsOf(nativeValue) != BitsOf(stepValue))) &&
        ++counts.Mismatches <= 10) {
      ADD_FAILURE() << what << ": machine code decided " << nativeDecided << " ("
                    << static_cast<double>(nativeValue) << "), step loop " << stepDecided << " ("
                    << static_cast<double>(stepValue) << ")";
    }
    if (raised) std::feraiseexcept(FE_OVERFLOW);
    Compare(program, steps, stepsBuilt, vars, angleFactor, counts, what + " (step loop)");
  }
}

void Report(const char* what, const Counts& counts) {
  std::printf(
      "%-14s programs %ld, built %ld, machine code %ld, runs %ld, decided fast %ld, mismatches "
      "%ld\n",
      what, counts.Programs, counts.Built, counts.Native, counts.Runs, counts.Decided,
      counts.Mismatches);
}

TEST(FastProgramDifferential, RandomProgramsAgreeWithTheInterpreter) {
  const long programs = ProgramsFromEnvironment(5000);
  ValueSource source(SeedFromEnvironment(20261207));
  Counts counts;
  auto program = std::make_unique<TProgram>();
  for (long i = 0; i < programs && counts.Mismatches < 10; ++i) {
    *program = TProgram{};
    RandomProgram(source, *program);
    CompareOnSets(*program, source, counts, "random program " + std::to_string(i));
  }
  Report("raw programs", counts);
  EXPECT_EQ(counts.Mismatches, 0);
  // The form must be used, not just be harmless.
  EXPECT_GT(counts.Built, programs / 5);
  EXPECT_GT(counts.Decided, counts.Runs / 20);
}

TEST(FastProgramDifferential, CompiledTermsAgreeWithTheInterpreter) {
  const long terms = ProgramsFromEnvironment(5000);
  ValueSource source(SeedFromEnvironment(7));
  Counts counts;
  TParserDeclarations declarations;
  declarations.SetVarNames({"X", "Y", "Z"});
  TTermParser parser;
  parser.SetDeclarations(&declarations);
  for (long i = 0; i < terms && counts.Mismatches < 10; ++i) {
    const std::string term = RandomTerm(source, 1 + static_cast<int>(source.Draw() % 5));
    parser.SetTerm(term);
    if (parser.AnalysisCode() != 0) continue;
    CompareOnSets(parser.CodeBuffer(), source, counts, term);
  }
  if (const char* corpus = std::getenv("ZELV_FAST_DIFF_CORPUS")) {
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
      std::ifstream file(entry.path(), std::ios::binary);
      std::stringstream text;
      text << file.rdbuf();
      parser.SetTerm(text.str());
      if (parser.AnalysisCode() != 0) continue;
      for (int round = 0; round < 25; ++round) {
        CompareOnSets(parser.CodeBuffer(), source, counts, entry.path().string());
      }
    }
  }
  Report("compiled terms", counts);
  EXPECT_EQ(counts.Mismatches, 0);
  EXPECT_GT(counts.Decided, counts.Runs / 10);
}

// The fast form is reached through the public interface: the same term
// evaluated again and again (fast from the second time) against a parser that
// analyses it before every evaluation (always the interpreter).
TEST(FastProgramThroughParser, RepeatedEvaluationMatchesFreshAnalysis) {
  TParserDeclarations declarations;
  declarations.SetVarNames({"X", "Y"});
  TTermParser repeated;
  TTermParser fresh;
  repeated.SetDeclarations(&declarations);
  fresh.SetDeclarations(&declarations);
  const char* const terms[] = {
      "(X+Y)*(X-Y)/(X*X+1)", "2.5*X^3-4*X^2+0.5*X-7", "MAX(X;Y)-MIN(X;Y)", "SIN(X)^2+COS(X)^2",
      "X/Y", "1/(X*1E4000)", "LN(X)+SQRT(Y)", "ODD(X)+REZ(Y)", "(X>Y)+(X=Y)", "ROOT(2;X)",
      // A whole power, SQR and ABS fail on a NaN; a zero exponent must not hide it.
      "(X^2)^(Y-Y)", "(X^3)^(Y-Y)", "(X^10)^FRAC(Y)", "SQR(X)^(Y*0)", "ABS(X)^(Y*0)"};
  const std::vector<Extended> values = EdgeValues();
  for (const char* term : terms) {
    repeated.SetTerm(term);
    for (std::size_t i = 0; i < values.size(); ++i) {
      for (std::size_t j = 0; j < values.size(); j += 3) {
        repeated.SetVarValue(0, values[i]);
        repeated.SetVarValue(1, values[j]);
        fresh.SetVarValue(0, values[i]);
        fresh.SetVarValue(1, values[j]);
        fresh.SetTerm(term);
        const Extended expected = fresh.Evaluate();
        const Extended actual = repeated.Evaluate();
        ASSERT_EQ(BitsOf(actual), BitsOf(expected))
            << term << " at " << static_cast<double>(values[i]) << ", "
            << static_cast<double>(values[j]);
        ASSERT_EQ(repeated.EvalError(), fresh.EvalError()) << term;
        ASSERT_EQ(repeated.ErrorText(), fresh.ErrorText()) << term;
      }
    }
  }
}

// What the form leaves to the interpreter: programs it cannot decide alone.
TEST(FastProgramBuild, DeclinesWhatOnlyTheInterpreterHandles) {
  struct Case {
    const char* What;
    test::ProgramBuilder Program;
    bool Builds;
  };
  std::vector<Case> cases;
  cases.push_back(
      {"x + 1", std::move(test::ProgramBuilder().Variable(0).Number(1).Operator(opAdd)), true});
  cases.push_back(
      {"stack underflow", std::move(test::ProgramBuilder().Number(1).Operator(opAdd)), false});
  cases.push_back(
      {"two values left", std::move(test::ProgramBuilder().Number(1).Number(2)), false});
  cases.push_back({"nothing", test::ProgramBuilder(), false});
  cases.push_back({"RND", std::move(test::ProgramBuilder().Number(1).Function(44)), false});
  cases.push_back(
      {"unknown function", std::move(test::ProgramBuilder().Number(1).Function(58)), false});
  cases.push_back({"unknown operator",
                   std::move(test::ProgramBuilder().Number(1).Number(2).Operator(21)), false});
  cases.push_back({"negative slot", std::move(test::ProgramBuilder().Variable(-1)), false});
  // The buffer holds no end record after the 500th: a program of 500 records
  // fails even when its last record has run; one of 499 runs.
  test::ProgramBuilder longest;
  longest.Number(1);
  for (int i = 0; i < 249; ++i) longest.Number(1).Operator(opAdd);
  test::ProgramBuilder tooLong;
  tooLong.Number(1);
  for (int i = 0; i < 249; ++i) tooLong.Number(1).Operator(opAdd);
  tooLong.Operator(opNegate);
  cases.push_back({"499 records", std::move(longest), true});
  cases.push_back({"500 records", std::move(tooLong), false});
  for (Case& c : cases) {
    FastProgram fast;
    EXPECT_EQ(fast.Build(c.Program.Build()), c.Builds) << c.What;
    EXPECT_EQ(fast.Empty(), !c.Builds) << c.What;
  }
}

// Where a run is decided without reading the flags, a failure must still be
// seen: overflow hidden by a division, a NaN compared, a flag raised before.
TEST(FastProgramRun, DeclinesWhereAFailureMayHide) {
  struct Case {
    const char* What;
    test::ProgramBuilder Program;
    std::vector<Extended> Vars;
    bool Decided;
  };
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  std::vector<Case> cases;
  // 1 / (x * 1e4000): the product overflows, the quotient would be 0.
  cases.push_back({"overflow under a divisor",
                   std::move(test::ProgramBuilder()
                                 .Number(1)
                                 .Variable(0)
                                 .Number(1e4000L)
                                 .Operator(opMultiply)
                                 .Operator(opDivide)),
                   {1e4000L},
                   false});
  cases.push_back({"overflow under a computed divisor",
                   std::move(test::ProgramBuilder()
                                 .Variable(0)
                                 .Number(1)
                                 .Operator(opAdd)
                                 .Variable(0)
                                 .Number(1e4000L)
                                 .Operator(opMultiply)
                                 .Operator(opDivide)),
                   {1e4000L},
                   false});
  cases.push_back({"overflow compared",
                   std::move(test::ProgramBuilder()
                                 .Variable(0)
                                 .Variable(0)
                                 .Operator(opMultiply)
                                 .Number(1)
                                 .Operator(opGreater)),
                   {1e4000L},
                   false});
  cases.push_back({"overflow under MIN",
                   std::move(test::ProgramBuilder()
                                 .Variable(0)
                                 .Variable(0)
                                 .Operator(opMultiply)
                                 .Number(1)
                                 .Function(46)),
                   {1e4000L},
                   false});
  cases.push_back({"finite quotient",
                   std::move(test::ProgramBuilder()
                                 .Number(1)
                                 .Variable(0)
                                 .Number(2)
                                 .Operator(opMultiply)
                                 .Operator(opDivide)),
                   {4},
                   true});
  cases.push_back({"NaN compared",
                   std::move(test::ProgramBuilder().Variable(0).Number(1).Operator(opGreater)),
                   {nan},
                   false});
  cases.push_back({"NaN in MIN",
                   std::move(test::ProgramBuilder().Variable(0).Number(1).Function(46)),
                   {nan},
                   false});
  cases.push_back({"infinite result",
                   std::move(test::ProgramBuilder().Variable(0).Number(2).Operator(opMultiply)),
                   {kInf},
                   false});
  cases.push_back({"missing variable", std::move(test::ProgramBuilder().Variable(1)), {1}, false});
  cases.push_back(
      {"LN of a negative", std::move(test::ProgramBuilder().Variable(0).Function(3)), {-1}, false});
  cases.push_back(
      {"REZ warning", std::move(test::ProgramBuilder().Variable(0).Function(9)), {0}, false});
  cases.push_back({"LN", std::move(test::ProgramBuilder().Variable(0).Function(3)), {2}, true});
  for (Case& c : cases) {
    FastProgram fast;
    ASSERT_TRUE(fast.Build(c.Program.Build())) << c.What;
    // Left raised by an earlier case, a flag would decline the run.
    std::feclearexcept(FE_ALL_EXCEPT);
    Extended value = 0;
    RunContext context;
    EXPECT_EQ(fast.Run(context, c.Vars, 1, value), c.Decided) << c.What;
  }
  // A flag raised before the run cannot be told from one raised in it.
  FastProgram ln;
  ASSERT_TRUE(ln.Build(test::ProgramBuilder().Variable(0).Function(3).Build()));
  const std::vector<Extended> two = {2};
  Extended value = 0;
  std::feraiseexcept(FE_DIVBYZERO);
  RunContext context;
  EXPECT_FALSE(ln.Run(context, two, 1, value));
  std::feclearexcept(FE_ALL_EXCEPT);
  EXPECT_TRUE(ln.Run(context, two, 1, value));
  EXPECT_EQ(value, std::log(2.0L));
}

// Which forms become machine code, and that it then runs as the step loop and
// the interpreter do: the cache of variables read more than once, constants
// loaded each way, terms that need every x87 register or more than there are.
TEST(FastProgramNative, MachineCodeWhereItFitsWithTheStepLoopsResults) {
  struct Case {
    const char* Term;
    bool Native;
  };
  const Case cases[] = {
      {"(X+Y)*(X-Y)/(X*X+1)", true},
      {"2.5*X^3-4*X^2+0.5*X-7", true},
      {"MAX(X;Y)-MIN(X;Y)+MAX(X*Y;Z)-MIN(Z;X/Y)", true},
      {"X^7+Y^10-ABS(Z)^5+SQR(X-Y)", true},
      {"Z-(Y-(X-(Z/(Y/(X-Y)))))", true},
      // Six values at once: room for one cached variable only.
      {"(X+Y)*((X+Z)*((Y+Z)*((X-Y)*((X-Z)/(Y-Z)))))", true},
      // Constants: +0 and +1 by their own loads, doubles, 80-bit values.
      {"X*0+Y*1-0.1*Z+1E-310*X+1E300*Y/3", true},
      {"X/(Y-0)-(-0)*Z", true},
      // Nine values at once: more than the x87 unit holds.
      {"(X+Y)*((X+Z)*((Y+Z)*((X-Y)*((X-Z)*((Y-Z)*((X+1)*((Y+2)*(Z+3))))))))", false},
      {"(X>Y)+1", false},
      {"SIN(X)*Y", false},
  };
  TParserDeclarations declarations;
  declarations.SetVarNames({"X", "Y", "Z"});
  TTermParser parser;
  parser.SetDeclarations(&declarations);
  const std::vector<Extended> edges = EdgeValues();
  for (const Case& c : cases) {
    parser.SetTerm(c.Term);
    ASSERT_EQ(parser.AnalysisCode(), 0) << c.Term;
    FastProgram native;
    FastProgram steps;
    ASSERT_TRUE(native.Build(parser.CodeBuffer(), FastProgram::MachineCode::Now)) << c.Term;
    ASSERT_TRUE(steps.Build(parser.CodeBuffer(), FastProgram::MachineCode::Never)) << c.Term;
    EXPECT_EQ(native.Native(), c.Native && ExecutableCode::Available()) << c.Term;
    EXPECT_FALSE(steps.Native());
    long decided = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
      for (std::size_t j = 0; j < edges.size(); j += 2) {
        const std::vector<Extended> vars = {edges[i], edges[j], edges[(i + j) % edges.size()]};
        RunContext context;
        Extended nativeValue = 0;
        Extended stepValue = 0;
        const bool nativeDecided = native.Run(context, vars, 1, nativeValue);
        ASSERT_EQ(nativeDecided, steps.Run(context, vars, 1, stepValue)) << c.Term << " " << i;
        if (!nativeDecided) continue;
        ++decided;
        int status = -1;
        std::string message;
        const Extended reference =
            RunProgram(context, parser.CodeBuffer(), vars, 1, status, message);
        ASSERT_EQ(status, 0) << c.Term;
        ASSERT_EQ(BitsOf(nativeValue), BitsOf(reference)) << c.Term << " " << i << " " << j;
        ASSERT_EQ(BitsOf(stepValue), BitsOf(reference)) << c.Term;
      }
    }
    EXPECT_GT(decided, 5) << c.Term;
  }
}

// Through the parser the machine code is made only after many runs; before
// and after, every evaluation gives what the interpreter gives.
TEST(FastProgramNative, MadeAfterManyRunsThroughTheParser) {
  TParserDeclarations declarations;
  declarations.SetVarNames({"X", "Y"});
  TTermParser parser;
  parser.SetDeclarations(&declarations);
  parser.SetTerm("(X+Y)*(X-Y)/(X*X+1)-MAX(X;Y)^3");
  const std::vector<Extended> edges = EdgeValues();
  const long runs = FastProgram::kRunsBeforeMachineCode + 2 * static_cast<long>(edges.size());
  for (long i = 0; i < runs; ++i) {
    const std::vector<Extended> vars = {edges[static_cast<std::size_t>(i) % edges.size()],
                                        edges[static_cast<std::size_t>(i / 3) % edges.size()]};
    parser.SetVarValue(0, vars[0]);
    parser.SetVarValue(1, vars[1]);
    const Extended value = parser.Evaluate();
    RunContext context;
    int status = -1;
    std::string message;
    const Extended reference = RunProgram(context, parser.CodeBuffer(), vars, 1, status, message);
    ASSERT_EQ(parser.EvalError(), status) << i;
    ASSERT_EQ(parser.ErrorText(), message) << i;
    if (status == 0) {
      ASSERT_EQ(BitsOf(value), BitsOf(reference)) << i;
    }
  }
  FastProgram form;
  ASSERT_TRUE(form.Build(parser.CodeBuffer()));
  const std::vector<Extended> vars = {1.5L, -2.0L};
  Extended value = 0;
  RunContext context;
  for (std::uint32_t i = 1; i < FastProgram::kRunsBeforeMachineCode; ++i) {
    ASSERT_TRUE(form.Run(context, vars, 1, value));
  }
  EXPECT_FALSE(form.Native());
  // The code is made now; it runs once its page in the code arena closes,
  // at the latest after kRunsBeforeClosingPage more runs.
  ASSERT_TRUE(form.Run(context, vars, 1, value));
  for (std::uint32_t i = 0; i <= FastProgram::kRunsBeforeClosingPage && !form.Native(); ++i) {
    ASSERT_TRUE(form.Run(context, vars, 1, value));
  }
  EXPECT_EQ(form.Native(), ExecutableCode::Available());
  const Extended stepValue = value;
  ASSERT_TRUE(form.Run(context, vars, 1, value));
  EXPECT_EQ(BitsOf(value), BitsOf(stepValue));
}

}  // namespace
}  // namespace engine
