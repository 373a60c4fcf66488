// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The host's floating-point environment across the parser's entry points:
// its exception flags, raised in either unit, stay raised, failure flags the
// engine raises are not left behind, and its rounding mode and control
// settings neither change nor change the engine's results.
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/extended.h"
#include "engine/host_fp_env.h"
#include "engine/parser.h"

namespace engine {
namespace {

// The exception flags of both units apart where they can be read apart, so
// that a flag moved from one unit to the other counts as a change.
struct Flags {
  unsigned X87 = 0;
  unsigned Sse = 0;
  friend bool operator==(const Flags&, const Flags&) = default;
};

void PrintTo(const Flags& flags, std::ostream* out) {
  *out << "x87 " << std::hex << flags.X87 << ", sse " << flags.Sse;
}

#if defined(__x86_64__) && defined(__GNUC__)
constexpr unsigned kFailureFlags = 0x0D;  // invalid, division by zero, overflow
#else
constexpr unsigned kFailureFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
#endif

// What the host may find after a call: every flag it had is still raised,
// and no failure flag has been added. Inexact and underflow from the
// engine's arithmetic may have been, as from any arithmetic.
bool KeptForHost(const Flags& before, const Flags& after) {
  const auto kept = [](unsigned host, unsigned now) {
    return (now & host) == host && (now & kFailureFlags & ~host) == 0;
  };
  return kept(before.X87, after.X87) && kept(before.Sse, after.Sse);
}

Flags ReadFlags() {
#if defined(__x86_64__) && defined(__GNUC__)
  std::uint16_t status = 0;
  std::uint32_t csr = 0;
  __asm__ __volatile__("fnstsw %0\n\tstmxcsr %1" : "=m"(status), "=m"(csr) : : "memory");
  return {status & 0x3FU, csr & 0x3FU};
#else
  return {static_cast<unsigned>(std::fetestexcept(FE_ALL_EXCEPT)), 0};
#endif
}

// Puts the whole environment back however a case ends.
class SavedEnvironment {
 public:
  SavedEnvironment() { std::fegetenv(&saved_); }
  ~SavedEnvironment() { std::fesetenv(&saved_); }
  SavedEnvironment(const SavedEnvironment&) = delete;
  SavedEnvironment& operator=(const SavedEnvironment&) = delete;

 private:
  std::fenv_t saved_{};
};

struct TermCase {
  const char* Term;
  Extended X;
  Extended Y;
};

// Successes and failures on both evaluators' paths: arithmetic the fast form
// runs alone, routines whose flags it reads, failures the interpreter reports,
// an underflow that is no failure, a literal whose value depends on the
// rounding and one that overflows while the term is analysed.
const std::vector<TermCase> kTerms = {
    {"(X+Y)*(X-Y)/(X*X+1)", 3, 2},
    {"X*X", 1E4000L, 0},
    {"1/X", 0, 0},
    {"SIN(X)+COS(Y)", 1, 2},
    {"LN(X)", 0, 0},
    {"SQRT(X)", -1, 0},
    {"X^0.5+Y^3", 2, 3},
    {"X*1E-4000*1E-4000", 1, 0},
    {"0.1+X/3", 1, 0},
    {"MAX(X;Y)-MIN(X;Y)", -4, 7},
    {"1E5000+X", 1, 0},
};

struct Outcome {
  ExtendedBytes Value;
  int Code;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << "code " << outcome.Code << ", bits " << std::hex << outcome.Value.SignExponent << ":"
       << outcome.Value.Significand;
}

// A parser with the default variable names t, x, y, z.
struct Engine {
  TParserDeclarations Declarations;
  TTermParser Parser;
  Engine() { Parser.SetDeclarations(&Declarations); }
  void Set(const TermCase& c) {
    Parser.SetVarValue("X", c.X);
    Parser.SetVarValue("Y", c.Y);
  }
};

// The outcome in the engine's own environment: flags clear, to nearest.
Outcome Reference(const TermCase& c) {
  Engine engine;
  engine.Set(c);
  engine.Parser.SetTerm(c.Term);
  const Extended value = engine.Parser.Evaluate();
  return {BitsOf(value), engine.Parser.EvalError()};
}

// SetTerm, then three evaluations: the interpreter's, the one that builds the
// fast form, and a fast one. check runs after each call.
// prepare sets up the host's environment once the parser exists.
void RunEntryPoints(const TermCase& c, const Outcome& expected,
                    const std::function<void()>& prepare,
                    const std::function<void(const char* step)>& check) {
  Engine engine;
  prepare();
  engine.Set(c);
  check("after setting the variables");
  engine.Parser.SetTerm(c.Term);
  check("after SetTerm");
  for (int run = 1; run <= 3; ++run) {
    const Extended value = engine.Parser.Evaluate();
    check("after Evaluate");
    EXPECT_EQ((Outcome{BitsOf(value), engine.Parser.EvalError()}), expected)
        << c.Term << ", evaluation " << run;
  }
  engine.Parser.Analyse();
  check("after Analyse");
  engine.Parser.Compute();
  check("after Compute");
}

struct HostFlags {
  const char* Name;
  std::function<void()> Raise;
};

const std::vector<HostFlags> kHostFlags = {
    {"none", [] {}},
    {"overflow by the library", [] { std::feraiseexcept(FE_OVERFLOW); }},
    {"overflow in x87 arithmetic",
     [] {
       volatile long double big = LDBL_MAX;
       big = big * big;
     }},
    {"division by zero in x87 arithmetic",
     [] {
       volatile long double zero = 0;
       zero = 1 / zero;
     }},
    {"invalid in SSE arithmetic",
     [] {
       volatile double zero = 0;
       zero = zero / zero;
     }},
    {"inexact in x87 arithmetic",
     [] {
       volatile long double third = 1;
       third = third / 3;
     }},
    {"underflow in SSE arithmetic",
     [] {
       volatile double tiny = DBL_MIN;
       tiny = tiny * tiny;
     }},
    {"every flag", [] { std::feraiseexcept(FE_ALL_EXCEPT); }},
};

TEST(HostFloatingPointFlags, StayRaisedAndNoFailureFlagIsAddedByAnyEntryPoint) {
  for (const TermCase& c : kTerms) {
    const Outcome expected = Reference(c);
    for (const HostFlags& host : kHostFlags) {
      SCOPED_TRACE(std::string(c.Term) + " with host flags: " + host.Name);
      const SavedEnvironment restore;
      Flags before;
      const auto prepare = [&] {
        std::feclearexcept(FE_ALL_EXCEPT);
        host.Raise();
        before = ReadFlags();
      };
      RunEntryPoints(c, expected, prepare, [&](const char* step) {
        const Flags after = ReadFlags();
        EXPECT_TRUE(KeptForHost(before, after))
            << step << ": before " << testing::PrintToString(before) << ", after "
            << testing::PrintToString(after);
      });
    }
  }
}

TEST(HostFloatingPointFlags, AFailureLeavesNoFlagForTheHostToFind) {
  // The engine's own failures are reported by code; the host's later test of
  // its flags must not see them.
  const SavedEnvironment restore;
  Engine engine;
  std::feclearexcept(FE_ALL_EXCEPT);
  engine.Parser.SetTerm("X*X+1/Y");
  engine.Parser.SetVarValue("X", 1E4000L);
  for (int run = 0; run < 3; ++run) {
    engine.Parser.Evaluate();
    EXPECT_EQ(engine.Parser.EvalError(), 7);
  }
  EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
}

TEST(HostFloatingPointFlags, TheErrorEventRunsInTheHostsEnvironment) {
  // A handler is host code: its rounding mode is the host's, and what it
  // raises stays raised.
  const SavedEnvironment restore;
  Engine engine;
  std::feclearexcept(FE_ALL_EXCEPT);
  std::fesetround(FE_UPWARD);
  int handlerRounding = -1;
  engine.Parser.SetOnError([&](TTermParser&, const std::string&) {
    handlerRounding = std::fegetround();
    std::feraiseexcept(FE_OVERFLOW);
  });
  engine.Parser.SetTerm("1/X");
  engine.Parser.Evaluate();
  EXPECT_EQ(engine.Parser.EvalError(), 7);
  EXPECT_EQ(handlerRounding, FE_UPWARD);
  EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0);
  EXPECT_EQ(std::fegetround(), FE_UPWARD);
}

TEST(HostRoundingMode, IsKeptAndDoesNotChangeAnyResult) {
  const struct {
    const char* Name;
    int Mode;
  } modes[] = {{"to nearest", FE_TONEAREST},
               {"upward", FE_UPWARD},
               {"downward", FE_DOWNWARD},
               {"toward zero", FE_TOWARDZERO}};
  for (const TermCase& c : kTerms) {
    const Outcome expected = Reference(c);
    for (const auto& mode : modes) {
      SCOPED_TRACE(std::string(c.Term) + ", host rounding " + mode.Name);
      const SavedEnvironment restore;
      RunEntryPoints(
          c, expected, [&] { std::fesetround(mode.Mode); },
          [&](const char* step) { EXPECT_EQ(std::fegetround(), mode.Mode) << step; });
    }
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
struct Control {
  std::uint16_t X87 = 0;
  std::uint32_t Sse = 0;
  friend bool operator==(const Control&, const Control&) = default;
};

void PrintTo(const Control& control, std::ostream* out) {
  *out << "x87 " << std::hex << control.X87 << ", mxcsr " << control.Sse;
}

Control ReadControl() {
  Control control;
  __asm__ __volatile__("fnstcw %0\n\tstmxcsr %1"
                       : "=m"(control.X87), "=m"(control.Sse)
                       :
                       : "memory");
  control.Sse &= ~0x3FU;  // the flags are not control
  return control;
}

void WriteControl(const Control& control) {
  std::uint32_t csr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(csr) : : "memory");
  csr = (csr & 0x3FU) | control.Sse;
  __asm__ __volatile__("fldcw %0\n\tldmxcsr %1" : : "m"(control.X87), "m"(csr) : "memory");
}

TEST(HostControlSettings, AreKeptAndDoNotChangeAnyResult) {
  // Settings a host may have for its own reasons; with unmasked exceptions
  // the engine's failures would otherwise end the host with SIGFPE.
  const struct {
    const char* Name;
    std::function<Control(Control)> Change;
  } settings[] = {
      {"x87 double precision",
       [](Control c) {
         c.X87 = static_cast<std::uint16_t>((c.X87 & ~0x300U) | 0x200U);
         return c;
       }},
      {"x87 single precision, rounding down",
       [](Control c) {
         c.X87 = static_cast<std::uint16_t>((c.X87 & ~0xF00U) | 0x400U);
         return c;
       }},
      {"x87 failures unmasked",
       [](Control c) {
         c.X87 = static_cast<std::uint16_t>(c.X87 & ~0x0DU);
         return c;
       }},
      {"SSE flush to zero, denormals are zero",
       [](Control c) {
         c.Sse |= 0x8040U;
         return c;
       }},
      {"SSE failures unmasked",
       [](Control c) {
         c.Sse &= ~(0x0DU << 7);
         return c;
       }},
  };
  for (const TermCase& c : kTerms) {
    const Outcome expected = Reference(c);
    for (const auto& setting : settings) {
      SCOPED_TRACE(std::string(c.Term) + ", host setting " + setting.Name);
      const SavedEnvironment restore;
      Control host;
      const auto prepare = [&] {
        std::feclearexcept(FE_ALL_EXCEPT);
        host = setting.Change(ReadControl());
        WriteControl(host);
      };
      RunEntryPoints(c, expected, prepare,
                     [&](const char* step) { EXPECT_EQ(ReadControl(), host) << step; });
    }
  }
}
#endif

TEST(FpEnvGuard, BothFormsRestoreFlagsAndRounding) {
  // The guard alone, in the two forms a build may use: in the guarded scope
  // failure flags are clear and rounding is to nearest; afterwards the host's
  // state is back, whatever the scope raised.
  const auto check = [](auto tag) {
    using Guard = typename decltype(tag)::type;
    const SavedEnvironment restore;
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_DIVBYZERO);
    std::fesetround(FE_DOWNWARD);
    {
      const Guard guard;
      EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
      EXPECT_EQ(std::fegetround(), FE_TONEAREST);
      std::feraiseexcept(FE_OVERFLOW | FE_INVALID);
    }
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), FE_DIVBYZERO);
    EXPECT_EQ(std::fegetround(), FE_DOWNWARD);
  };
  check(std::type_identity<PortableFpEnvGuard>{});
  check(std::type_identity<FpEnvGuard>{});
}

}  // namespace
}  // namespace engine
