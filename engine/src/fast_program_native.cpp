// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The fast form of a term without routines as x86-64 machine code.
//
// The steps of such a form are x87 arithmetic, so the machine code runs the
// very instructions the compiled step loop runs, on the same values in the
// same precision, and checks the same values at the same steps: a run gives
// the same value bit for bit and declines exactly where the step loop
// declines. What it saves is the loop around the arithmetic: no dispatch, no
// step records, and every value of the term stays in an x87 register instead
// of going through memory at every step. A term that needs more registers
// than the x87 unit has, or a step the code below does not know (a
// comparison), keeps the step loop.
//
// The function made here is called as
//   int run(const Extended* variables, Extended* result);
// (System V: variables in rdi, result in rsi, the answer in eax). 1: the run
// succeeded and *result holds its value; 0: declined, *result untouched. The
// x87 register stack is empty on entry and on return, as the calling
// convention demands. The term's constants follow the code in the same
// block and are read relative to the instruction pointer.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <span>
#include <vector>

#include "fast_program.h"

namespace engine {

namespace {

// The machine code is x86-64 only (executable_code.cpp makes none elsewhere),
// where long double takes 16 bytes; a 32-bit build compiles this file without
// ever running it.
#if defined(__x86_64__)
static_assert(sizeof(Extended) == 16, "the code addresses variables 16 bytes apart");
#endif

// Where a step's operand comes from.
struct NativeOperand {
  bool Variable = false;
  std::uint32_t Index = 0;  // variable slot or constant index
};

// x86-64 condition codes of the two-byte conditional jump (0F 80+cc).
constexpr std::uint8_t kIfEqual = 0x4;     // ZF
constexpr std::uint8_t kIfNotEqual = 0x5;  // !ZF
constexpr std::uint8_t kIfParity = 0xA;    // PF: an unordered x87 comparison

// How a constant is loaded: as fldz or fld1 where it is +0 or +1, as a
// double where it is one exactly (an 80-bit load is the slowest x87 load
// there is), else as its 80 bits.
enum class ConstantLoad : std::uint8_t { Zero, One, Double, Extended80 };

ConstantLoad LoadFor(Extended value) {
  if (BitsOf(value) == BitsOf(0.0L)) return ConstantLoad::Zero;
  if (BitsOf(value) == BitsOf(1.0L)) return ConstantLoad::One;
  // A normal double loads without a flag; a denormal one would raise one.
  // Only a value in the normal doubles' range is converted (the quiet
  // comparisons take NaN too), so that the test raises no failure flag.
  const Extended magnitude = std::fabs(value);
  if (!std::isgreaterequal(magnitude, std::numeric_limits<double>::min()) ||
      !std::islessequal(magnitude, std::numeric_limits<double>::max())) {
    return ConstantLoad::Extended80;
  }
  const auto asDouble = static_cast<double>(value);
  return BitsOf(static_cast<Extended>(asDouble)) == BitsOf(value) ? ConstantLoad::Double
                                                                  : ConstantLoad::Extended80;
}

// Writes the machine code, keeping count of the values on the x87 register
// stack. st(i) is the i-th value from the top. The variables read more than
// once may be kept at the bottom of the stack for the whole run (the cache),
// loaded once on entry: an 80-bit load from memory costs several times a
// copy from a register.
class X87Writer {
 public:
  X87Writer(const std::vector<Extended>& constants, const std::vector<std::uint16_t>& cached)
      : constants_(constants), cached_(cached) {
    for (const Extended& value : constants) loads_.push_back(LoadFor(value));
    for (const std::uint16_t slot : cached) {
      Grow(1);
      LoadVariable(slot);
    }
  }

  bool Failed() const { return failed_; }
  // Failed for want of x87 registers alone: a smaller cache may do.
  bool OutOfRegisters() const { return outOfRegisters_; }
  // The term's values on the stack, above the cache.
  int Values() const { return depth_ - static_cast<int>(cached_.size()); }
  void Fail() { failed_ = true; }

  // Pushes a variable's or a constant's value.
  void Load(const NativeOperand& operand) {
    if (operand.Variable) {
      for (std::size_t j = 0; j < cached_.size(); ++j) {
        if (cached_[j] != operand.Index) continue;
        // fld st(i): the cached copy, j values above the bottom.
        const int i = depth_ - 1 - static_cast<int>(j);
        Grow(1);
        Put({0xD9, static_cast<std::uint8_t>(0xC0 + i)});
        return;
      }
      Grow(1);
      LoadVariable(operand.Index);
      return;
    }
    Grow(1);
    switch (loads_[operand.Index]) {
      case ConstantLoad::Zero:
        Put({0xD9, 0xEE});  // fldz
        return;
      case ConstantLoad::One:
        Put({0xD9, 0xE8});  // fld1
        return;
      case ConstantLoad::Double:
        Put({0xDD, 0x05});  // fld qword [rip + disp32]
        break;
      case ConstantLoad::Extended80:
        Put({0xDB, 0x2D});  // fld tbyte [rip + disp32]
        break;
    }
    constantUses_.push_back(ConstantUse{code_.size(), operand.Index});
    Put32(0);
  }
  // A "p" form of an arithmetic instruction (DE xx): st(1) = st(1) op st(0)
  // or its reverse, and the top is dropped.
  void ArithmeticPop(std::uint8_t modrm) {
    if (Values() < 2) failed_ = true;
    Put({0xDE, modrm});
    --depth_;
  }
  void Instruction(std::initializer_list<std::uint8_t> bytes) { Put(bytes); }

  // Declines the run unless st(i) is finite: st(i) - st(i) must be 0, as in
  // the step loop (NaN for infinities, NaN and unsupported encodings).
  void DeclineUnlessFinite(int i) {
    Grow(2);
    Put({0xD9, static_cast<std::uint8_t>(0xC0 + i)});  // fld st(i)
    Put({0xD8, 0xE0});                                 // fsub st(0), st(0)
    Put({0xD9, 0xEE});                                 // fldz
    Put({0xDF, 0xE9});                                 // fucomip st(0), st(1)
    Put({0xDD, 0xD8});                                 // fstp st(0)
    depth_ -= 2;
    Decline(kIfParity);
    Decline(kIfNotEqual);
  }
  // Declines the run when st(0) is NaN (or an unsupported encoding, which
  // compares unordered as std::isnan finds).
  void DeclineIfNaN() {
    Put({0xDB, 0xE8});  // fucomi st(0), st(0)
    Decline(kIfParity);
  }
  // A jump to a place not written yet; returns where its offset goes.
  std::size_t JumpIf(std::uint8_t condition) {
    Put({0x0F, static_cast<std::uint8_t>(0x80 + condition)});
    const std::size_t at = code_.size();
    Put32(0);
    return at;
  }
  std::size_t Jump() {
    Put({0xE9});
    const std::size_t at = code_.size();
    Put32(0);
    return at;
  }
  // Points the jump whose offset is at to the next instruction written.
  void Land(std::size_t at) { Patch(at, code_.size()); }

  // Needs n more registers now.
  void Grow(int n) {
    if (depth_ + n > kRegisters) failed_ = outOfRegisters_ = true;
    depth_ += n;
  }
  void Shrink(int n) { depth_ -= n; }

  // Ends a successful run: st(0) to *result, the cache dropped, answer 1.
  // The term must have left its result alone.
  void Succeed() {
    if (Values() != 1) failed_ = true;
    Put({0xDB, 0x3E});                                                   // fstp tbyte [rsi]
    for (std::size_t j = 0; j < cached_.size(); ++j) Put({0xDD, 0xD8});  // fstp st(0)
    Put({0xB8, 0x01, 0x00, 0x00, 0x00});                                 // mov eax, 1
    Put({0xC3});                                                         // ret
    depth_ = 0;
  }

  // The declining exits, then the constants; the finished block.
  std::vector<std::uint8_t> Finish() {
    for (int depth = 0; depth <= kRegisters; ++depth) {
      bool used = false;
      for (const Exit& exit : exits_) used = used || exit.Depth == depth;
      if (!used) continue;
      const std::size_t target = code_.size();
      for (const Exit& exit : exits_) {
        if (exit.Depth == depth) Patch(exit.At, target);
      }
      for (int i = 0; i < depth; ++i) Put({0xDD, 0xD8});  // fstp st(0)
      Put({0x31, 0xC0});                                  // xor eax, eax
      Put({0xC3});                                        // ret
    }
    while (code_.size() % 16 != 0) Put({0xCC});  // int3, never reached
    const std::size_t table = code_.size();
    for (std::size_t k = 0; k < constants_.size(); ++k) {
      std::uint8_t bytes[sizeof(Extended)] = {};
      if (loads_[k] == ConstantLoad::Double) {
        const auto asDouble = static_cast<double>(constants_[k]);
        std::memcpy(bytes, &asDouble, sizeof asDouble);
      } else {
        std::memcpy(bytes, &constants_[k], 10);  // the 80 bits; the rest stays 0
      }
      code_.insert(code_.end(), bytes, bytes + sizeof bytes);
    }
    for (const ConstantUse& use : constantUses_) {
      Patch(use.At, table + use.Index * sizeof(Extended));
    }
    return std::move(code_);
  }

 private:
  static constexpr int kRegisters = 8;
  struct Exit {
    std::size_t At;
    int Depth;
  };
  struct ConstantUse {
    std::size_t At;
    std::uint32_t Index;
  };

  void Decline(std::uint8_t condition) { exits_.push_back(Exit{JumpIf(condition), depth_}); }
  void LoadVariable(std::uint32_t slot) {
    Put({0xDB, 0xAF});  // fld tbyte [rdi + disp32]
    Put32(slot * static_cast<std::uint32_t>(sizeof(Extended)));
  }
  void Put(std::initializer_list<std::uint8_t> bytes) {
    code_.insert(code_.end(), bytes.begin(), bytes.end());
  }
  void Put32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) code_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  // A 32-bit offset at `at`, relative to the end of its instruction.
  void Patch(std::size_t at, std::size_t target) {
    const auto offset = static_cast<std::uint32_t>(static_cast<std::int64_t>(target) -
                                                   static_cast<std::int64_t>(at + 4));
    for (int i = 0; i < 4; ++i) code_[at + i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }

  const std::vector<Extended>& constants_;
  std::vector<ConstantLoad> loads_;
  const std::vector<std::uint16_t> cached_;
  std::vector<std::uint8_t> code_;
  std::vector<Exit> exits_;
  std::vector<ConstantUse> constantUses_;
  int depth_ = 0;
  bool failed_ = false;
  bool outOfRegisters_ = false;
};

// The second bytes of the DE-prefixed "p" forms, with st(1) the left
// operand: st(1) + st(0), st(1) - st(0), st(1) * st(0), st(1) / st(0), and
// the reversed st(0) - st(1) and st(0) / st(1).
constexpr std::uint8_t kAddPop = 0xC1;
constexpr std::uint8_t kSubPop = 0xE9;
constexpr std::uint8_t kMulPop = 0xC9;
constexpr std::uint8_t kDivPop = 0xF9;
constexpr std::uint8_t kRevSubPop = 0xE1;
constexpr std::uint8_t kRevDivPop = 0xF1;

using Op = FastProgram::Op;

std::uint8_t PopFormOf(Op op) {
  switch (op) {
    case Op::Add:
    case Op::AddLeaves:
    case Op::PushAddLeaves:
    case Op::AddPop:
      return kAddPop;
    case Op::Sub:
    case Op::SubLeaves:
    case Op::PushSubLeaves:
    case Op::SubPop:
      return kSubPop;
    case Op::Mul:
    case Op::MulLeaves:
    case Op::PushMulLeaves:
    case Op::MulPop:
      return kMulPop;
    default:
      return kDivPop;
  }
}

// st(0) ^ n for a whole n > 0 by the power operator's square-and-multiply,
// with a zero base giving +0; st(0) is neither NaN nor unsupported here.
void WritePowerOfTop(X87Writer& out, std::uint32_t n) {
  out.Grow(1);
  out.Instruction({0xD9, 0xEE});  // fldz
  out.Instruction({0xDF, 0xE9});  // fucomip st(0), st(1): the base against 0
  out.Shrink(1);
  const std::size_t zero = out.JumpIf(kIfEqual);
  out.Grow(1);
  out.Instruction({0xD9, 0xE8});  // fld1: the result, above the base
  for (;;) {
    if ((n & 1U) != 0) out.Instruction({0xD8, 0xC9});  // fmul st(0), st(1)
    n >>= 1;
    if (n == 0) break;
    out.Grow(1);
    out.Instruction({0xD9, 0xC1});  // fld st(1)
    out.Instruction({0xDE, 0xCA});  // fmulp st(2), st(0): the base squared
    out.Shrink(1);
  }
  out.Instruction({0xDD, 0xD9});  // fstp st(1): the result in the base's place
  out.Shrink(1);
  const std::size_t done = out.Jump();
  out.Land(zero);
  out.Instruction({0xDD, 0xD8});  // fstp st(0)
  out.Instruction({0xD9, 0xEE});  // fldz
  out.Land(done);
}

// MAX or MIN of st(1) (the first argument) and st(0), both finite, as the
// step loop chooses: a > b ? a : b, a < b ? a : b.
void WriteMaxMin(X87Writer& out, bool max) {
  if (out.Values() < 2) out.Fail();
  out.DeclineUnlessFinite(1);
  out.DeclineUnlessFinite(0);
  out.Instruction({0xDB, 0xE9});  // fucomi st(0), st(1): b against a
  if (max) {
    out.Instruction({0xDA, 0xC1});  // fcmovb st(0), st(1): a where b < a
  } else {
    out.Instruction({0xDB, 0xD1});  // fcmovnbe st(0), st(1): a where b > a
  }
  out.Instruction({0xDD, 0xD9});  // fstp st(1)
  out.Shrink(1);
}

// Writes the steps after the cache's loads; false where the machine code
// cannot run them (out has failed).
bool WriteSteps(X87Writer& out, std::span<const FastProgram::Step> steps,
                const std::vector<NativeOperand>& operands) {
  using enum FastProgram::Op;
  // Whether the top of the x87 stack is the accumulator: the step loop's
  // first step loads it, and every push keeps a valid one.
  bool started = false;
  for (std::size_t s = 0; s < steps.size() && !out.Failed(); ++s) {
    const FastProgram::Step& step = steps[s];
    const NativeOperand& a = operands[s * 2];
    const NativeOperand& b = operands[s * 2 + 1];
    const Op kind = step.Kind;
    // The steps that start a value of their own: without a push only as the
    // first step, with one only after it.
    const bool pushes = kind == PushLoad || kind == PushAddLeaves || kind == PushSubLeaves ||
                        kind == PushMulLeaves || kind == PushDivLeaves || kind == PushSquareLeaf ||
                        kind == PushMaxLeaves || kind == PushMinLeaves;
    const bool loads = kind == Load || kind == AddLeaves || kind == SubLeaves ||
                       kind == MulLeaves || kind == DivLeaves || kind == SquareLeaf ||
                       kind == MaxLeaves || kind == MinLeaves;
    if ((pushes && !started) || (loads && started) || (!pushes && !loads && !started)) {
      out.Fail();
      break;
    }
    started = true;
    switch (kind) {
      case Load:
      case PushLoad:
        out.Load(a);
        break;
      case Add:
      case Sub:
      case Mul:
      case Div:
        out.Load(a);
        out.ArithmeticPop(PopFormOf(kind));
        break;
      case RevSub:
        out.Load(a);
        out.ArithmeticPop(kRevSubPop);
        break;
      case RevDiv:
        out.DeclineUnlessFinite(0);
        out.Load(a);
        out.ArithmeticPop(kRevDivPop);
        break;
      case AddLeaves:
      case SubLeaves:
      case MulLeaves:
      case DivLeaves:
      case PushAddLeaves:
      case PushSubLeaves:
      case PushMulLeaves:
      case PushDivLeaves:
        out.Load(a);
        out.Load(b);
        out.ArithmeticPop(PopFormOf(kind));
        break;
      case AddPop:
      case SubPop:
      case MulPop:
        out.ArithmeticPop(PopFormOf(kind));
        break;
      case DivPop:
        out.DeclineUnlessFinite(0);
        out.ArithmeticPop(kDivPop);
        break;
      case Negate:
        out.Instruction({0xD9, 0xE0});  // fchs
        break;
      case Abs:
        out.DeclineIfNaN();
        out.Instruction({0xD9, 0xE1});  // fabs
        break;
      case SquareLeaf:
      case PushSquareLeaf:
        out.Load(a);
        [[fallthrough]];
      case Square:
        out.DeclineIfNaN();
        out.Instruction({0xD8, 0xC8});  // fmul st(0), st(0)
        break;
      case Cube:
        // a * (a * a): the power operator's steps for 3.
        out.DeclineIfNaN();
        WritePowerOfTop(out, 3);
        break;
      case PowerInt:
        out.DeclineIfNaN();
        WritePowerOfTop(out, step.Count);
        break;
      case MaxLeaves:
      case MinLeaves:
      case PushMaxLeaves:
      case PushMinLeaves:
        out.Load(a);
        out.Load(b);
        WriteMaxMin(out, kind == MaxLeaves || kind == PushMaxLeaves);
        break;
      case MaxPop:
      case MinPop:
        WriteMaxMin(out, kind == MaxPop);
        break;
      case Finish:
        out.DeclineUnlessFinite(0);
        out.Succeed();
        break;
      default:
        // Comparisons and routines stay with the step loop.
        out.Fail();
        break;
    }
  }
  return !out.Failed();
}

}  // namespace

bool FastProgram::WriteNative() const {
  if (usesRoutines_ || steps_.empty() || !ExecutableCode::Available()) return false;

  // The operands of the steps, and how often each variable is read.
  std::vector<NativeOperand> operands(steps_.size() * 2);
  std::vector<int> uses;
  const auto constants = static_cast<std::int32_t>(constants_.size());
  for (std::size_t s = 0; s < steps_.size(); ++s) {
    const std::int32_t indices[2] = {steps_[s].A, steps_[s].B};
    for (int k = 0; k < OperandCount(steps_[s].Kind); ++k) {
      const std::int32_t index = indices[k];
      if (index >= 0) {
        operands[s * 2 + k] = NativeOperand{true, static_cast<std::uint32_t>(index)};
        if (uses.size() <= static_cast<std::size_t>(index)) {
          uses.resize(static_cast<std::size_t>(index) + 1U, 0);
        }
        ++uses[static_cast<std::size_t>(index)];
      } else {
        operands[s * 2 + k] = NativeOperand{false, static_cast<std::uint32_t>(index + constants)};
      }
    }
  }

  // The cache: the variables read more than once, the most read first, as
  // many as leave registers enough for the term itself.
  std::vector<std::uint16_t> candidates;
  for (std::size_t slot = 0; slot < uses.size(); ++slot) {
    if (uses[slot] > 1) candidates.push_back(static_cast<std::uint16_t>(slot));
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](std::uint16_t x, std::uint16_t y) { return uses[x] > uses[y]; });
  for (std::size_t count = candidates.size() + 1; count-- > 0;) {
    X87Writer out(constants_,
                  std::vector<std::uint16_t>(candidates.begin(),
                                             candidates.begin() + static_cast<long>(count)));
    if (!WriteSteps(out, steps_, operands)) {
      if (out.OutOfRegisters()) continue;
      return false;
    }
    return native_.Assign(out.Finish());
  }
  return false;
}

}  // namespace engine
