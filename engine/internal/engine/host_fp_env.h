// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The host's floating-point environment around a call into the engine.
//
// The engine reads its failures from the failure flags (invalid operation,
// division by zero, overflow) and clears them where it must; and it computes
// with 64-bit precision, rounding to nearest and every exception masked,
// whatever the host has chosen: its values, and its rule that a finite
// result of + - * / cannot have failed, depend on that. The host's flags (an
// overflow it raised before the call) and its control settings are the
// host's business. So every entry point that computes holds a FpEnvGuard.
// On entry it notes the host's state and, only where that state differs from
// what the engine needs, sets the engine's (failure flags clear, default
// control). On exit:
//   - every flag the host had raised is raised again;
//   - no failure flag the engine raised is left behind;
//   - the host's control settings (rounding, precision, masks) are back.
// Inexact and underflow raised by the engine's arithmetic may stay, as they
// do after any arithmetic: clearing them would cost more than a whole
// evaluation (the x87 unit's only ways to clear a flag, fnclex and fldenv,
// take some 50 ns after arithmetic on the machines measured, see
// bench/engine_bench), and no failure is read from them.
//
// Evaluation is the hot path. An evaluation that only runs x87 arithmetic
// needs the x87 words alone; everything else widens the guard to the SSE unit
// first (Widen). Flags are read on entry and exit, and written only where the
// rules above demand it.
#pragma once

#include <cfenv>
#include <cstdint>

namespace engine {

// The <cfenv> form: exception flags and rounding mode (the precision and the
// exception masks are out of its reach). Used where the units cannot be read
// directly; compiled everywhere so that tests and benchmarks can compare.
class PortableFpEnvGuard {
 public:
  PortableFpEnvGuard() noexcept {
    raised_ = std::fetestexcept(FE_ALL_EXCEPT);
    if (raised_ != 0) {
      std::fegetexceptflag(&flags_, FE_ALL_EXCEPT);
      if ((raised_ & kFailures) != 0) std::feclearexcept(kFailures);
    }
    rounding_ = std::fegetround();
    if (rounding_ != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  }
  ~PortableFpEnvGuard() {
    const int now = std::fetestexcept(FE_ALL_EXCEPT);
    const int left = now & kFailures & ~raised_;
    if (left != 0) std::feclearexcept(left);
    if ((raised_ & ~now) != 0) std::fesetexceptflag(&flags_, raised_ & ~now);
    if (rounding_ != FE_TONEAREST) std::fesetround(rounding_);
  }
  PortableFpEnvGuard(const PortableFpEnvGuard&) = delete;
  PortableFpEnvGuard& operator=(const PortableFpEnvGuard&) = delete;

  // Every flag is covered already, and put back where needed.
  void Widen() noexcept {}
  void Settled() noexcept {}

 private:
  static constexpr int kFailures = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
  std::fexcept_t flags_{};
  int raised_ = 0;
  int rounding_ = FE_TONEAREST;
};

#if defined(__x86_64__) && defined(__GNUC__)
// Both units directly: the x87 status and control words (long double
// arithmetic) and MXCSR (SSE, which the C library uses in places). The
// <cfenv> calls would store and reload the whole x87 environment each time.
// Every word goes straight to memory: with fnstsw into a register, the
// compiler may hold the address of a member in that very register.
class FpEnvGuard {
 public:
  // What the guarded code does: only x87 arithmetic (which may raise flags
  // but neither reads nor clears them), or anything (the SSE unit included).
  // A narrow guard must be widened before anything beyond x87 arithmetic
  // runs.
  enum Scope : std::uint8_t { X87Arithmetic, Everything };

  explicit FpEnvGuard(Scope scope = Everything) noexcept {
    if (scope == Everything) {
      wide_ = true;
      __asm__ __volatile__("fnstsw %0\n\tfnstcw %1\n\tstmxcsr %2"
                           : "=m"(status_), "=m"(control_), "=m"(csr_)
                           :
                           : "memory");
    } else {
      __asm__ __volatile__("fnstsw %0\n\tfnstcw %1" : "=m"(status_), "=m"(control_) : : "memory");
    }
    if ((control_ & kX87Control) != kX87Engine) {
      const auto control = static_cast<std::uint16_t>((control_ & ~kX87Control) | kX87Engine);
      __asm__ __volatile__("fldcw %0" : : "m"(control) : "memory");
      controlSet_ = true;
    }
    if (wide_) Prepare(status_);
  }

  ~FpEnvGuard() {
    std::uint16_t status = status_;
    if (wide_) {
      std::uint32_t csr = csr_;
      if (!settled_) {
        __asm__ __volatile__("fnstsw %0\n\tstmxcsr %1" : "=m"(status), "=m"(csr) : : "memory");
      }
      if (Disturbed(csr, csr_) || sseSet_) {
        __asm__ __volatile__("ldmxcsr %0" : : "m"(csr_) : "memory");
      }
    } else if (!settled_) {
      __asm__ __volatile__("fnstsw %0" : "=m"(status) : : "memory");
    }
    if (Disturbed(status, status_)) {
      RestoreX87();
    } else if (controlSet_) {
      __asm__ __volatile__("fldcw %0" : : "m"(control_) : "memory");
    }
  }
  FpEnvGuard(const FpEnvGuard&) = delete;
  FpEnvGuard& operator=(const FpEnvGuard&) = delete;

  // Covers the SSE unit too and clears the failure flags for the engine's
  // own tests. The host's x87 flags are those noted on entry: x87 arithmetic
  // since then may have raised some.
  void Widen() noexcept {
    if (wide_) return;
    wide_ = true;
    std::uint16_t status = 0;
    __asm__ __volatile__("fnstsw %0\n\tstmxcsr %1" : "=m"(status), "=m"(csr_) : : "memory");
    Prepare(status);
  }

  // The guarded code has found no failure flag raised (in either unit, for
  // a wide guard), and nothing since Widen has cleared a flag: there are no
  // flags to put back.
  void Settled() noexcept { settled_ = !x87Cleared_; }

 private:
  // The engine's start: failure flags clear in both units, MXCSR with the
  // engine's control. status is the x87 status word now.
  void Prepare(std::uint16_t status) noexcept {
    if ((status & kFailureFlags) != 0) {
      __asm__ __volatile__("fnclex" : : : "memory");
      x87Cleared_ = true;
    }
    const std::uint32_t csr = kSseEngine | (csr_ & kFlags & ~kFailureFlags);
    if (csr != csr_) {
      __asm__ __volatile__("ldmxcsr %0" : : "m"(csr) : "memory");
      sseSet_ = true;
    }
  }

  // The exception flags, the same six bits in both units: invalid 0x01,
  // denormal 0x02, division by zero 0x04, overflow 0x08, underflow 0x10,
  // inexact 0x20.
  static constexpr std::uint32_t kFlags = 0x3F;
  static constexpr std::uint32_t kFailureFlags = 0x0D;
  // x87 control: exception masks, precision, rounding. The engine's: all
  // masked, 64-bit significand, to nearest.
  static constexpr std::uint32_t kX87Control = 0x0F3F;
  static constexpr std::uint32_t kX87Engine = 0x033F;
  // MXCSR control: denormals-are-zero, masks, rounding, flush-to-zero. The
  // engine's: all masked, to nearest, neither flush.
  static constexpr std::uint32_t kSseControl = 0xFFC0;
  static constexpr std::uint32_t kSseEngine = 0x1F80;

  // The protected-mode layout that fnstenv and fldenv use.
  struct X87Environment {
    std::uint32_t Control;
    std::uint32_t Status;
    std::uint32_t Rest[5];
  };

  // A failure flag the engine left, or a flag of the host's that is gone.
  static bool Disturbed(std::uint32_t now, std::uint32_t host) {
    return ((now & kFailureFlags & ~host) | (host & kFlags & ~now)) != 0;
  }

  // Back to the host's x87 flags exactly, and its control word.
  void RestoreX87() noexcept {
    if ((status_ & kFlags) == 0) {
      __asm__ __volatile__("fnclex" : : : "memory");
      if (controlSet_) __asm__ __volatile__("fldcw %0" : : "m"(control_) : "memory");
      return;
    }
    // Raising given flags takes a whole environment: the status word cannot
    // be written alone. Its low byte and busy bit are the host's again.
    X87Environment environment;
    __asm__ __volatile__("fnstenv %0" : "=m"(environment) : : "memory");
    environment.Control = control_;
    environment.Status = (environment.Status & 0x7F00U) | (status_ & 0x80FFU);
    __asm__ __volatile__("fldenv %0" : : "m"(environment) : "memory");
  }

  std::uint16_t status_ = 0;
  std::uint16_t control_ = 0;
  std::uint32_t csr_ = 0;
  bool wide_ = false;
  // What the guard changed on entry: the x87 control word, MXCSR (flags or
  // control), the x87 flags.
  bool controlSet_ = false;
  bool sseSet_ = false;
  bool x87Cleared_ = false;
  bool settled_ = false;
};
#else
class FpEnvGuard : public PortableFpEnvGuard {
 public:
  enum Scope : std::uint8_t { X87Arithmetic, Everything };
  explicit FpEnvGuard(Scope = Everything) noexcept {}
};
#endif

}  // namespace engine
