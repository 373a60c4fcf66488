// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Keeps the host's floating-point exception flags as they were found around
// a call into the engine, which clears and reads them for its own failures.
#pragma once

#include <cfenv>

namespace engine {

#if defined(__x86_64__) && defined(__GNUC__)
// The x87 unit and SSE keep flags of their own; both are put back as they
// were, each by itself. Writing is needed only where the call changed them,
// and the x87 environment (slow to load) only when the host had x87 flags
// raised: otherwise clearing them restores the state.
class HostFlagsGuard {
 public:
  HostFlagsGuard() { Read(x87_, sse_); }
  ~HostFlagsGuard() {
    unsigned short x87 = 0;
    unsigned int sse = 0;
    Read(x87, sse);
    if (((sse ^ sse_) & kSseFlags) != 0) {
      sse = (sse & ~kSseFlags) | (sse_ & kSseFlags);
      __asm__ __volatile__("ldmxcsr %0" : : "m"(sse) : "memory");
    }
    if (((x87 ^ x87_) & kX87Flags) == 0) return;
    if ((x87_ & kX87Flags) == 0) {
      __asm__ __volatile__("fnclex" : : : "memory");
      return;
    }
    X87Environment environment;
    __asm__ __volatile__("fnstenv %0" : "=m"(environment) : : "memory");
    environment.Status =
        static_cast<unsigned short>((environment.Status & ~kX87Flags) | (x87_ & kX87Flags));
    __asm__ __volatile__("fldenv %0" : : "m"(environment) : "memory");
  }
  HostFlagsGuard(const HostFlagsGuard&) = delete;
  HostFlagsGuard& operator=(const HostFlagsGuard&) = delete;

 private:
  // The exception flags with the stack fault, summary and busy bits.
  static constexpr unsigned short kX87Flags = 0x80FF;
  static constexpr unsigned int kSseFlags = 0x3F;
  struct X87Environment {
    unsigned short Control, Unused1, Status, Unused2, Tag, Unused3;
    unsigned int Rest[4];
  };

  static void Read(unsigned short& x87, unsigned int& sse) {
    __asm__ __volatile__("fnstsw %0\n\tstmxcsr %1" : "=am"(x87), "=m"(sse) : : "memory");
  }

  unsigned short x87_ = 0;
  unsigned int sse_ = 0;
};
#else
class HostFlagsGuard {
 public:
  HostFlagsGuard() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
  ~HostFlagsGuard() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
  HostFlagsGuard(const HostFlagsGuard&) = delete;
  HostFlagsGuard& operator=(const HostFlagsGuard&) = delete;

 private:
  std::fexcept_t saved_{};
};
#endif

}  // namespace engine
