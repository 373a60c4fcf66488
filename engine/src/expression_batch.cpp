// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "expression_batch.h"

#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/engine_state.h"
#include "engine/function_memo.h"
#include "engine/host_fp_env.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/status.h"

// How a batch stays exactly what single evaluations give:
//
// Every point is decided by the fast execution form or, where it declines,
// by the interpreter, as a single evaluation would be. The batch only saves
// what does not depend on the point: one context, one memo of function
// results, one look at the floating-point environment; the fast form itself
// is made once, when the program is compiled (BatchPlan).
//
// A plot's term calls functions of its coordinates, SIN(X) or COS(Y), and a
// grid repeats each coordinate in every row or column. Such a call (a
// function of one argument applied directly to a variable) is taken out of
// the program: the batch computes it before the run and the program reads the
// result like one more variable. The fast form then runs on plain values
// without reading the floating-point flags. The result of a call is taken
// from the previous point when the argument's bits are the same, from the
// memo when it was computed before, or computed; only a call that reports
// nothing (no failure, warning or flag) is used this way. A call that reports
// something sends the point to the interpreter with the whole program, which
// then decides everything. A value that is the clean result of the call is,
// to every later step, indistinguishable from the same value in a variable,
// so the fast form's answer is unchanged.
//
// A batch of a few points must cost little more per point than a long one:
// nothing is allocated for it unless the expression has many variables, and
// the memo only fills in batches long enough to repay its table.

namespace engine {

namespace {

// The program with the calls of sites replaced by reads of slots from
// variables on; sites receives the calls. Empty when there is none.
std::vector<BatchPlan::Site> TakeOutCalls(const TProgram& program, std::size_t variables,
                                          TProgram& out) {
  std::vector<BatchPlan::Site> sites;
  int written = 0;
  for (int position = 1; position <= ProgramSize; ++position) {
    const TInstruction& record = program[static_cast<std::size_t>(position)];
    const TInstruction* next =
        position < ProgramSize ? &program[static_cast<std::size_t>(position + 1)] : nullptr;
    TInstruction copy = record;
    if (record.Kind == ikVariable && record.Code >= 0 && next != nullptr &&
        next->Kind == ikFunction && FunctionArity(next->Code) == 1 &&
        WorthRemembering(next->Code)) {
      std::size_t index = 0;
      while (index < sites.size() &&
             !(sites[index].Code == next->Code && sites[index].Variable == record.Code)) {
        ++index;
      }
      if (index == sites.size()) {
        sites.push_back(BatchPlan::Site{static_cast<std::uint8_t>(next->Code),
                                        static_cast<std::uint16_t>(record.Code)});
      }
      copy.Code = static_cast<std::int16_t>(variables + index);
      ++position;
    }
    out[static_cast<std::size_t>(++written)] = copy;
    if (record.Kind == ikEnd) break;
  }
  return sites;
}

// Copies the ten bytes of a value as integers: through the x87 unit, a load
// and a store of the 80-bit format cost several times more.
inline void CopyValue(Extended& to, const Extended& from) {
  std::memcpy(&to, &from, 10);
}
inline void CopyValue(Extended& to, const double& from) {
  to = from;
}

// Storage of n elements, on the stack up to N; only those n are made (a
// short batch must not pay for clearing the whole buffer).
template <class T, std::size_t N>
class SmallBuffer {
  static_assert(std::is_trivially_destructible_v<T>);

 public:
  explicit SmallBuffer(std::size_t n) {
    if (n > N) {
      heap_ = std::make_unique<T[]>(n);
      data_ = heap_.get();
      return;
    }
    for (std::size_t i = 0; i < n; ++i) new (&local_.Items[i]) T();
  }
  SmallBuffer(const SmallBuffer&) = delete;
  SmallBuffer& operator=(const SmallBuffer&) = delete;
  T* data() { return data_; }
  T& operator[](std::size_t i) { return data_[i]; }

 private:
  union Local {
    Local() {}
    T Items[N];
  } local_;
  std::unique_ptr<T[]> heap_;
  T* data_ = local_.Items;
};

// Where a site's call was last computed: the argument's bits and the value.
struct LastCall {
  ExtendedBytes Argument{};
  bool Known = false;
  Extended Value = 0;
};

// Batches shorter than this leave the memo empty: its first table costs as
// much as many calls.
constexpr std::size_t kPointsForMemo = 64;

// Sets the thread context's memo for the batch and puts the old one back.
class MemoInContext {
 public:
  MemoInContext(RunContext& context, FunctionMemo* memo)
      : context_(context), previous_(context.Memo) {
    context_.Memo = memo;
  }
  ~MemoInContext() { context_.Memo = previous_; }
  MemoInContext(const MemoInContext&) = delete;
  MemoInContext& operator=(const MemoInContext&) = delete;

 private:
  RunContext& context_;
  FunctionMemo* previous_;
};

template <class Input, class Output>
class Batch {
 public:
  Batch(std::span<const TInstruction> program, std::size_t variables, Extended angleFactor,
        const BatchPlan& plan, std::size_t points)
      : program_(program),
        variables_(variables),
        angleFactor_(angleFactor),
        form_(plan.Form()),
        sites_(plan.Sites()),
        row_(variables + sites_.size()),
        last_(sites_.size()),
        memoAllowed_(points >= kPointsForMemo) {}

  std::size_t Run(const Input* const* columns, std::size_t points, Output* results,
                  ErrorCode* status) {
    // A form of x87 arithmetic alone needs the narrow guard only, until a
    // point goes to the interpreter.
    const bool arithmetic = form_ != nullptr && !form_->UsesRoutines() && sites_.empty();
    FpEnvGuard hostEnvironment(arithmetic ? FpEnvGuard::X87Arithmetic : FpEnvGuard::Everything);
    bool wide = !arithmetic;
    bool anyFailed = false;
    RunContext* context = nullptr;
    std::optional<MemoInContext> memoSet;
    std::size_t failures = 0;
    for (std::size_t i = 0; i < points; ++i) {
      for (std::size_t v = 0; v < variables_; ++v) CopyValue(row_[v], columns[v][i]);
      if (arithmetic) {
        Extended value;
        if (form_->RunArithmetic(std::span<const Extended>(row_.data(), variables_), value)) {
          results[i] = static_cast<Output>(value);
          status[i] = ErrorCode::kOk;
          continue;
        }
      }
      if (!wide) {
        hostEnvironment.Widen();
        wide = true;
      }
      if (context == nullptr) {
        context = &ThreadRunContext();
        memoSet.emplace(*context, Memo());
      }
      if (!arithmetic && form_ != nullptr && CallsComputed(*context) &&
          form_->Run(*context, std::span<const Extended>(row_.data(), variables_ + sites_.size()),
                     angleFactor_, fastValue_)) {
        results[i] = static_cast<Output>(fastValue_);
        status[i] = ErrorCode::kOk;
        continue;
      }
      int code = scSuccess;
      const Extended value =
          RunProgram(*context, program_, std::span<const Extended>(row_.data(), variables_),
                     angleFactor_, code, message_);
      // A failed run leaves its flags raised; the next point's fast run
      // would read them as its own.
      if (FloatingPointFailed()) {
        ClearFloatingPointFailures();
        anyFailed = true;
      }
      if (code == scSuccess) {
        results[i] = static_cast<Output>(value);
        status[i] = ErrorCode::kOk;
      } else {
        results[i] = 0;
        status[i] = static_cast<ErrorCode>(code);
        ++failures;
      }
    }
    // Every fast run that succeeded found no failure flag; the failed runs'
    // flags were cleared after them.
    if (!anyFailed && failures == 0 && context == nullptr) hostEnvironment.Settled();
    return failures;
  }

 private:
  // Puts the results of the calls taken out of the program into the row;
  // false when one of them reports something.
  bool CallsComputed(RunContext& context) {
    for (std::size_t k = 0; k < sites_.size(); ++k) {
      const BatchPlan::Site& site = sites_[k];
      LastCall& last = last_[k];
      const Extended& argument = row_[site.Variable];
      Extended& slot = row_[variables_ + k];
      if (last.Known && BytesIn(argument) == last.Argument) {
        CopyValue(slot, last.Value);
        continue;
      }
      if (const Extended* known = memo_.Find(site.Code, argument)) {
        CopyValue(slot, *known);
        Keep(last, argument, slot);
        continue;
      }
      // Computed from a clean start, without a second lookup.
      context.Ok = true;
      context.Pending.clear();
      if (FloatingPointFailed()) ClearFloatingPointFailures();
      context.Memo = nullptr;
      slot =
          FunctionValue(context, site.Code, std::span<const Extended>(&argument, 1), angleFactor_);
      context.Memo = Memo();
      if (!context.Ok || !context.Pending.empty() || FloatingPointFailed()) return false;
      if (memoAllowed_) {
        try {
          memo_.Remember(site.Code, argument, slot);
        } catch (...) {
          // Without memory the value is simply computed again next time.
        }
      }
      Keep(last, argument, slot);
    }
    return true;
  }

  // The memo the interpreter and the calls may use: none in a short batch.
  FunctionMemo* Memo() { return memoAllowed_ ? &memo_ : nullptr; }

  static void Keep(LastCall& last, const Extended& argument, Extended value) {
    last.Argument = BytesIn(argument);
    last.Known = true;
    last.Value = value;
  }

  std::span<const TInstruction> program_;
  std::size_t variables_;
  Extended angleFactor_;
  const FastProgram* form_;
  const std::vector<BatchPlan::Site>& sites_;
  // The values of the current point, and after them the results of the
  // calls taken out.
  SmallBuffer<Extended, 16> row_;
  SmallBuffer<LastCall, 8> last_;
  bool memoAllowed_;
  FunctionMemo memo_;
  Extended fastValue_ = 0;
  std::string message_;
};

}  // namespace

BatchPlan::BatchPlan(const TProgram& program, std::size_t variables, const FastProgram& fast,
                     FastProgram::MachineCode machineCode) {
  if (fast.Empty()) return;
  form_ = &fast;
  if (!fast.UsesRoutines()) return;
  auto reduced = std::make_unique<TProgram>();
  sites_ = TakeOutCalls(program, variables, *reduced);
  if (sites_.empty()) return;
  reduced_ = std::make_unique<FastProgram>();
  if (reduced_->Build(*reduced, machineCode)) {
    form_ = reduced_.get();
    sites_.shrink_to_fit();
    return;
  }
  reduced_.reset();
  sites_.clear();
  sites_.shrink_to_fit();
}

template <class Input, class Output>
std::size_t EvaluateBatch(std::span<const TInstruction> program, std::size_t variables,
                          Extended angleFactor, const BatchPlan& plan, const Input* const* columns,
                          std::size_t points, Output* results, ErrorCode* status) {
  Batch<Input, Output> batch(program, variables, angleFactor, plan, points);
  return batch.Run(columns, points, results, status);
}

template std::size_t EvaluateBatch<long double, long double>(std::span<const TInstruction>,
                                                             std::size_t, Extended,
                                                             const BatchPlan&,
                                                             const long double* const*, std::size_t,
                                                             long double*, ErrorCode*);
template std::size_t EvaluateBatch<double, double>(std::span<const TInstruction>, std::size_t,
                                                   Extended, const BatchPlan&, const double* const*,
                                                   std::size_t, double*, ErrorCode*);

}  // namespace engine
