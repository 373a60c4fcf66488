// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "fast_program.h"

#include <atomic>
#include <cmath>
#include <limits>

#include "engine/engine_state.h"
#include "engine/integer_routines.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"

// How a fast run can decide alone, without reading the floating-point flags
// after every step:
//
// Under round-to-nearest, a sum, difference, product or quotient that raised
// a failure (invalid, division by zero, overflow) is infinite or NaN. And an
// infinite or NaN operand of +, -, *, of the dividend of /, of a negation, a
// square, ABS or a whole power makes the result infinite or NaN again. So an
// infinite or NaN value that the interpreter would have stopped at is carried
// along until a step that can hide it (a divisor, a comparison, MAX, MIN, the
// final result), and those steps check their computed operands: a value that
// is not finite there declines the run. When every checked value is finite,
// no step of the arithmetic failed, and the interpreter, running the same
// operations on the same values in the same precision, gives the same value.
//
// A NaN is different: arithmetic carries it without raising a flag, in the
// interpreter too, but the interpreter's power operator, SQR and ABS fail on
// it, and the power operator's rule that x^0 is 1 for every x could hide it
// afterwards. So the steps that stand for those decline a NaN operand.
//
// Steps run by shared routines (the other operators and functions) report
// through the run status and the flags. The flags stay raised once set and no
// routine clears a flag it did not raise, so they are read once, at the end;
// a flag raised before the run also declines it, and the interpreter clears
// it. Running on after a failure is harmless: every routine ends promptly for
// every argument, and random functions, whose draws a declined run would
// repeat, are never in a fast form.

namespace engine {

namespace {

using Op = FastProgram::Op;

// Function codes handled without their shared routine, or left out.
constexpr int kFnSqr = 39;
constexpr int kFnRnd = 44;
constexpr int kFnMax = 45;
constexpr int kFnMin = 46;
constexpr int kFnNormrand = 52;
constexpr int kFnAbs = 55;
constexpr int kFnPoirand = 65;
constexpr int kFnRand = 66;

bool IsRandom(int code) {
  return code == kFnRnd || code == kFnNormrand || code == kFnPoirand || code == kFnRand;
}

// A finite value. x - x is 0 for every finite x and NaN for infinities, NaN
// and the x87's unsupported encodings; the comparison with 0 needs no
// constant from memory.
inline bool Finite(Extended value) {
  return value - value == 0;
}

bool Compare(Extended a, Extended b, int code) {
  switch (code) {
    case opEqual:
      return a == b;
    case opNotEqual:
      return a != b;
    case opGreaterEqual:
      return a >= b;
    case opLessEqual:
      return a <= b;
    case opGreater:
      return a > b;
    default:
      return a < b;
  }
}

Extended OperatorRoutine(RunContext& context, int code, Extended a, Extended b) {
  switch (code) {
    case opPower: {
      bool exactFlags = false;
      return Power(a, b, exactFlags);
    }
    case opAnd:
      return AndOp(context, a, b);
    case opDiv:
      return DivOp(context, a, b);
    case opShl:
      return ShlOp(context, a, b);
    case opOr:
      return OrOp(context, a, b);
    case opShr:
      return ShrOp(context, a, b);
    case opOver:
      return BINO(context, a, b);
    case opXor:
      return XorOp(context, a, b);
    default:
      return ModOp(context, a, b);
  }
}

}  // namespace

// A value of the term: a leaf (variable or constant) or an operation on the
// values below it.
struct FastProgram::Node {
  enum Kind : std::uint8_t { Variable, Constant, Operator, Function } Type = Constant;
  int Code = 0;
  std::uint16_t Index = 0;  // variable slot or constant index
  int Children[3] = {-1, -1, -1};
  int ChildCount = 0;
  bool Leaf() const { return Type == Variable || Type == Constant; }
};

class FastProgram::Translator {
 public:
  Translator(FastProgram& form, const std::vector<Node>& nodes) : form_(form), nodes_(nodes) {}

  // Emits the steps that leave node's value in the accumulator; push says
  // that the accumulator holds a value to keep first.
  void Emit(int index, bool push) {
    const Node& node = At(index);
    if (node.Leaf()) {
      Put(push ? PushLoad : Load, &node);
      return;
    }
    if (node.Type == Node::Function) {
      EmitFunction(node, push);
      return;
    }
    const int left = node.Children[0];
    if (node.Code == opNegate) {
      Emit(left, push);
      Put(Negate);
      return;
    }
    const int right = node.Children[1];
    switch (node.Code) {
      case opAdd:
      case opSubtract:
      case opMultiply:
      case opDivide:
        EmitBasic(node.Code, At(left), At(right), push);
        return;
      case opPower:
        if (EmitWholePower(left, At(right), push)) return;
        break;
      case opEqual:
      case opNotEqual:
      case opGreaterEqual:
      case opLessEqual:
      case opGreater:
      case opLess:
        Emit(left, push);
        Emit(right, true);
        Put(ComparePop, nullptr, nullptr, static_cast<std::uint8_t>(node.Code));
        return;
      default:
        break;
    }
    Emit(left, push);
    Emit(right, true);
    Put(OperatorPop, nullptr, nullptr, static_cast<std::uint8_t>(node.Code));
    form_.usesRoutines_ = true;
  }

 private:
  const Node& At(int index) const { return nodes_[static_cast<std::size_t>(index)]; }

  void Put(Op kind, const Node* a = nullptr, const Node* b = nullptr, std::uint8_t code = 0) {
    Step step;
    step.Kind = kind;
    step.Code = code;
    step.A = Operand(a);
    step.B = Operand(b);
    form_.steps_.push_back(step);
  }

  // A leaf's operand index: its variable slot, or its constant counted back
  // from the end of the constants.
  std::int32_t Operand(const Node* leaf) const {
    if (leaf == nullptr) return 0;
    if (leaf->Type == Node::Variable) return leaf->Index;
    return static_cast<std::int32_t>(leaf->Index) -
           static_cast<std::int32_t>(form_.constants_.size());
  }

  // +, -, *, /: an operand that is a leaf is fused into the step, so most
  // steps neither push nor pop. A sum and a product are the same with their
  // operands exchanged, bit for bit.
  void EmitBasic(int code, const Node& l, const Node& r, bool push) {
    const int k = code == opAdd ? 0 : code == opSubtract ? 1 : code == opMultiply ? 2 : 3;
    if (l.Leaf() && r.Leaf()) {
      static constexpr Op kLeaves[4] = {AddLeaves, SubLeaves, MulLeaves, DivLeaves};
      static constexpr Op kPushLeaves[4] = {PushAddLeaves, PushSubLeaves, PushMulLeaves,
                                            PushDivLeaves};
      Put(push ? kPushLeaves[k] : kLeaves[k], &l, &r);
      return;
    }
    if (r.Leaf()) {
      static constexpr Op kRight[4] = {Add, Sub, Mul, Div};
      Emit(Index(l), push);
      Put(kRight[k], &r);
      return;
    }
    if (l.Leaf()) {
      // RevDiv checks its computed divisor.
      static constexpr Op kLeft[4] = {Add, RevSub, Mul, RevDiv};
      Emit(Index(r), push);
      Put(kLeft[k], &l);
      return;
    }
    static constexpr Op kPop[4] = {AddPop, SubPop, MulPop, DivPop};
    Emit(Index(l), push);
    Emit(Index(r), true);
    Put(kPop[k]);
  }

  // x ^ n for a positive whole constant n: the multiplications of the power
  // operator, inline.
  bool EmitWholePower(int left, const Node& exponent, bool push) {
    if (exponent.Type != Node::Constant) return false;
    const Extended b = form_.constants_[exponent.Index];
    if (!(b > 0 && b == std::trunc(b) && b <= 2147483647.0L)) return false;
    // The power operator's square-and-multiply gives x*x and x*(x*x) for
    // these two, and x*x is +0 for either zero, as the operator's result.
    if (b == 2 && At(left).Leaf()) {
      Put(push ? PushSquareLeaf : SquareLeaf, &At(left));
      return true;
    }
    Emit(left, push);
    if (b == 2) {
      Put(Square);
    } else if (b == 3) {
      Put(Cube);
    } else {
      Put(PowerInt);
      form_.steps_.back().Count = static_cast<std::uint32_t>(b);
    }
    return true;
  }

  void EmitFunction(const Node& node, bool push) {
    if ((node.Code == kFnMax || node.Code == kFnMin) && At(node.Children[0]).Leaf() &&
        At(node.Children[1]).Leaf()) {
      const bool max = node.Code == kFnMax;
      Put(push ? (max ? PushMaxLeaves : PushMinLeaves) : (max ? MaxLeaves : MinLeaves),
          &At(node.Children[0]), &At(node.Children[1]));
      return;
    }
    for (int i = 0; i < node.ChildCount; ++i) Emit(node.Children[i], push || i > 0);
    switch (node.Code) {
      case kFnAbs:
        Put(Abs);
        return;
      case kFnSqr:
        Put(Square);
        return;
      case kFnMax:
        Put(MaxPop);
        return;
      case kFnMin:
        Put(MinPop);
        return;
      default:
        break;
    }
    const Op call = node.ChildCount == 1 ? Call1 : node.ChildCount == 2 ? Call2 : Call3;
    Put(call, nullptr, nullptr, static_cast<std::uint8_t>(node.Code));
    form_.usesRoutines_ = true;
  }

  int Index(const Node& node) const { return static_cast<int>(&node - nodes_.data()); }

  FastProgram& form_;
  const std::vector<Node>& nodes_;
};

namespace {

std::atomic<std::uint32_t> runsBeforeMachineCodeForTesting{0};

}  // namespace

void FastProgram::SetRunsBeforeMachineCodeForTesting(std::uint32_t runs) {
  runsBeforeMachineCodeForTesting.store(runs, std::memory_order_relaxed);
}

int FastProgram::OperandCount(Op kind) {
  switch (kind) {
    case Load:
    case PushLoad:
    case Add:
    case Sub:
    case Mul:
    case Div:
    case RevSub:
    case RevDiv:
    case SquareLeaf:
    case PushSquareLeaf:
      return 1;
    case AddLeaves:
    case SubLeaves:
    case MulLeaves:
    case DivLeaves:
    case PushAddLeaves:
    case PushSubLeaves:
    case PushMulLeaves:
    case PushDivLeaves:
    case MaxLeaves:
    case MinLeaves:
    case PushMaxLeaves:
    case PushMinLeaves:
      return 2;
    default:
      return 0;
  }
}

bool FastProgram::Build(const TProgram& program, MachineCode machineCode) {
  nativeEntry_.store(nullptr, std::memory_order_relaxed);
  nativeState_.store(NativeState::Settled, std::memory_order_relaxed);
  native_.Clear();
  runs_.store(0, std::memory_order_relaxed);
  runsBeforeNative_ = 0;
  steps_.clear();
  constants_.clear();
  slotsNeeded_ = 0;
  usesRoutines_ = false;

  // The postfix program as a tree: the stack holds the nodes whose values it
  // would hold.
  std::vector<Node> nodes;
  std::vector<int> stack;
  bool ended = false;
  for (int position = 1; position <= ProgramSize && !ended; ++position) {
    const TInstruction& instruction = program[static_cast<std::size_t>(position)];
    Node node;
    // The interpreter fails a program that reaches its 500th record.
    if (instruction.Kind != ikEnd && position == ProgramSize) return false;
    switch (instruction.Kind) {
      case ikEnd:
        ended = true;
        continue;
      case ikNumber:
        node.Type = Node::Constant;
        node.Index = static_cast<std::uint16_t>(constants_.size());
        constants_.push_back(instruction.Value);
        break;
      case ikVariable:
        if (instruction.Code < 0) return false;
        node.Type = Node::Variable;
        node.Index = static_cast<std::uint16_t>(instruction.Code);
        slotsNeeded_ = std::max(slotsNeeded_, static_cast<std::size_t>(instruction.Code) + 1);
        break;
      case ikOperator:
        if (instruction.Code < opSubtract || instruction.Code > opLess) return false;
        node.Type = Node::Operator;
        node.ChildCount = instruction.Code == opNegate ? 1 : 2;
        break;
      case ikFunction:
        node.Type = Node::Function;
        node.ChildCount = FunctionArity(instruction.Code);
        if (node.ChildCount == 0 || IsRandom(instruction.Code)) return false;
        break;
      default:
        return false;
    }
    node.Code = instruction.Code;
    if (stack.size() < static_cast<std::size_t>(node.ChildCount)) return false;
    for (int i = node.ChildCount - 1; i >= 0; --i) {
      node.Children[i] = stack.back();
      stack.pop_back();
    }
    stack.push_back(static_cast<int>(nodes.size()));
    nodes.push_back(node);
  }
  if (!ended || stack.size() != 1) {
    constants_.clear();
    return false;
  }
  // constants_ is complete: the operand indices count back from its end.
  Translator translator(*this, nodes);
  translator.Emit(stack.back(), false);
  steps_.push_back(Step{});
  steps_.shrink_to_fit();
  constants_.shrink_to_fit();
  if (usesRoutines_ || machineCode == MachineCode::Never || !ExecutableCode::Available()) {
    return true;
  }
  if (machineCode == MachineCode::Now) {
    try {
      if (WriteNative() && PublishNative(true)) return true;
    } catch (...) {
      // Without memory for it the step loop runs.
    }
    native_.Clear();
    return true;
  }
  const std::uint32_t runs = runsBeforeMachineCodeForTesting.load(std::memory_order_relaxed);
  runsBeforeNative_ = runs != 0 ? runs : kRunsBeforeMachineCode;
  nativeState_.store(NativeState::Counting, std::memory_order_relaxed);
  return true;
}

bool FastProgram::Run(RunContext& context, std::span<const Extended> varValues,
                      Extended angleFactor, Extended& value) const {
  return usesRoutines_ ? Execute<true>(&context, varValues, angleFactor, value)
                       : RunArithmetic(varValues, value);
}

bool FastProgram::RunSteps(std::span<const Extended> varValues, Extended& value) const {
  if (usesRoutines_) return false;
  if (nativeState_.load(std::memory_order_relaxed) != NativeState::Settled) Advance();
  return Execute<false>(nullptr, varValues, 1, value);
}

void FastProgram::Advance() const {
  // Only the thread that moves the state on to Making writes native_;
  // the others go on with the step loop meanwhile.
  NativeState state = nativeState_.load(std::memory_order_acquire);
  if (state == NativeState::Counting) {
    if (runs_.fetch_add(1, std::memory_order_relaxed) + 1 < runsBeforeNative_) return;
    if (!nativeState_.compare_exchange_strong(state, NativeState::Making,
                                              std::memory_order_acq_rel)) {
      return;
    }
    bool written = false;
    try {
      written = WriteNative();
    } catch (...) {
      // Without memory for it the step loop goes on.
    }
    runs_.store(0, std::memory_order_relaxed);
    nativeState_.store(written ? NativeState::Waiting : NativeState::Settled,
                       std::memory_order_release);
    if (written) PublishNative(false);
    return;
  }
  if (state != NativeState::Waiting || PublishNative(false)) return;
  if (runs_.fetch_add(1, std::memory_order_relaxed) + 1 < kRunsBeforeClosingPage) return;
  if (!nativeState_.compare_exchange_strong(state, NativeState::Making,
                                            std::memory_order_acq_rel)) {
    return;
  }
  PublishNative(true);
  nativeState_.store(NativeState::Settled, std::memory_order_release);
}

bool FastProgram::PublishNative(bool close) const {
  if (close) native_.Seal();
  const void* entry = native_.Entry();
  if (entry == nullptr) return false;
  nativeEntry_.store(reinterpret_cast<NativeEntry>(const_cast<void*>(entry)),
                     std::memory_order_release);
  nativeState_.store(NativeState::Settled, std::memory_order_release);
  return true;
}

template <bool kRoutines>
bool FastProgram::Execute(RunContext* context, std::span<const Extended> varValues,
                          Extended angleFactor, Extended& value) const {
  if (steps_.empty() || varValues.size() < slotsNeeded_) return false;
  // An operand index selects its base by its sign: the caller's values or
  // the form's constants, counted back from their end.
  const Extended* const variables = varValues.data();
  const Extended* const constantsEnd = constants_.data() + constants_.size();
  const auto operand = [variables, constantsEnd](std::int32_t index) -> const Extended& {
    return (index >= 0 ? variables : constantsEnd)[index];
  };
  // The value stack below the accumulator. Its first value, the one most
  // terms need, stays in a register: storing an 80-bit value and loading it
  // again costs several times an addition. The rest is written before it
  // is read, so not zeroed.
  Extended stack[ProgramSize + 1];
  Extended bottom = 0;
  int depth = 0;
  const auto push = [&](Extended v) {
    if (++depth == 1) {
      bottom = v;
    } else {
      stack[depth] = v;
    }
  };
  const auto pop = [&]() {
    const Extended v = depth == 1 ? bottom : stack[depth];
    --depth;
    return v;
  };
  Extended acc = 0;
  if constexpr (kRoutines) {
    // As the interpreter starts a run; a successful run leaves the context
    // so. Arithmetic alone neither reads nor reports through it.
    context->Ok = true;
    context->Pending.clear();
  }
  // A switch, not labels as values: GCC keeps the accumulator in an x87
  // register across the switch, but stores and reloads it at every computed
  // goto, which made the arithmetic terms 1.6 times slower.
  for (const Step* step = steps_.data();; ++step) {
    switch (step->Kind) {
      case Load:
        acc = operand(step->A);
        break;
      case PushLoad:
        push(acc);
        acc = operand(step->A);
        break;
      case Add:
        acc = acc + operand(step->A);
        break;
      case Sub:
        acc = acc - operand(step->A);
        break;
      case Mul:
        acc = acc * operand(step->A);
        break;
      case Div:
        acc = acc / operand(step->A);
        break;
      case RevSub:
        acc = operand(step->A) - acc;
        break;
      case RevDiv:
        if (!Finite(acc)) return false;
        acc = operand(step->A) / acc;
        break;
      case PushAddLeaves:
        push(acc);
        [[fallthrough]];
      case AddLeaves:
        acc = operand(step->A) + operand(step->B);
        break;
      case PushSubLeaves:
        push(acc);
        [[fallthrough]];
      case SubLeaves:
        acc = operand(step->A) - operand(step->B);
        break;
      case PushMulLeaves:
        push(acc);
        [[fallthrough]];
      case MulLeaves:
        acc = operand(step->A) * operand(step->B);
        break;
      case PushDivLeaves:
        push(acc);
        [[fallthrough]];
      case DivLeaves:
        acc = operand(step->A) / operand(step->B);
        break;
      case AddPop:
        acc = pop() + acc;
        break;
      case SubPop:
        acc = pop() - acc;
        break;
      case MulPop:
        acc = pop() * acc;
        break;
      case DivPop:
        if (!Finite(acc)) return false;
        acc = pop() / acc;
        break;
      case Negate:
        acc = -acc;
        break;
      case PushSquareLeaf:
        push(acc);
        [[fallthrough]];
      case SquareLeaf:
        acc = operand(step->A);
        [[fallthrough]];
      case Square:
        if (std::isnan(acc)) return false;
        acc = acc * acc;
        break;
      case Cube:
        if (std::isnan(acc)) return false;
        acc = acc == 0 ? 0 : acc * (acc * acc);
        break;
      case PowerInt:
        if (std::isnan(acc)) return false;
        // The power operator gives +0 for any zero base, a negative one too.
        acc = acc == 0 ? 0 : IntegerPower(acc, step->Count);
        break;
      case Abs:
        if (std::isnan(acc)) return false;
        acc = std::fabs(acc);
        break;
      case PushMaxLeaves:
        push(acc);
        [[fallthrough]];
      case MaxLeaves: {
        const Extended a = operand(step->A);
        const Extended b = operand(step->B);
        if (!Finite(a) || !Finite(b)) return false;
        acc = a > b ? a : b;
        break;
      }
      case PushMinLeaves:
        push(acc);
        [[fallthrough]];
      case MinLeaves: {
        const Extended a = operand(step->A);
        const Extended b = operand(step->B);
        if (!Finite(a) || !Finite(b)) return false;
        acc = a < b ? a : b;
        break;
      }
      case MaxPop: {
        // A NaN argument fails MAX and MIN, and a computed infinite one may
        // hide a failure.
        const Extended a = pop();
        if (!Finite(a) || !Finite(acc)) return false;
        acc = a > acc ? a : acc;
        break;
      }
      case MinPop: {
        const Extended a = pop();
        if (!Finite(a) || !Finite(acc)) return false;
        acc = a < acc ? a : acc;
        break;
      }
      case ComparePop: {
        const Extended a = pop();
        if (!Finite(a) || !Finite(acc)) return false;
        acc = BooleanValue(Compare(a, acc, step->Code));
        break;
      }
      case OperatorPop:
        if constexpr (kRoutines) {
          acc = OperatorRoutine(*context, step->Code, pop(), acc);
          break;
        }
        __builtin_unreachable();
      case Call1:
        if constexpr (kRoutines) {
          // A copy: taking the accumulator's address would keep it in memory.
          const Extended arg = acc;
          acc =
              FunctionValue(*context, step->Code, std::span<const Extended>(&arg, 1), angleFactor);
          break;
        }
        __builtin_unreachable();
      case Call2:
        if constexpr (kRoutines) {
          const Extended args[2] = {pop(), acc};
          acc = FunctionValue(*context, step->Code, args, angleFactor);
          break;
        }
        __builtin_unreachable();
      case Call3:
        if constexpr (kRoutines) {
          const Extended second = pop();
          const Extended args[3] = {pop(), second, acc};
          acc = FunctionValue(*context, step->Code, args, angleFactor);
          break;
        }
        __builtin_unreachable();
      case Finish:
        if (!Finite(acc)) return false;
        if constexpr (kRoutines) {
          if (!context->Ok || !context->Pending.empty() || FloatingPointFailed()) return false;
        }
        value = acc;
        return true;
      default:
        // OpCount and beyond are never stored.
        __builtin_unreachable();
    }
  }
}

}  // namespace engine
