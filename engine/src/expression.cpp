// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The embedders' facade over the engine's stages: TTermParser and
// TParserDeclarations analyse the term exactly as they do for every other
// user, and the compiled program is then kept, immutable, together with its
// fast execution form: both are made once and shared by every copy, thread
// and batch. A point runs the fast form where it decides alone, else the
// interpreter.
#include "engine/expression.h"

#include <algorithm>
#include <new>
#include <utility>

#include "engine/host_fp_env.h"
#include "engine/interpreter.h"
#include "engine/parser.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "engine/status.h"
#include "engine/term_text.h"
#include "expression_batch.h"
#include "expression_text.h"
#include "fast_program.h"

namespace engine {

// ErrorCode repeats the engine's status codes so that embedders need not
// include status.h; a code added or renumbered on one side only would pass
// wrong codes through the casts below.
static_assert(static_cast<int>(ErrorCode::kOk) == scSuccess);
static_assert(static_cast<int>(ErrorCode::kWrongParentheses) == scWrongParentheses);
static_assert(static_cast<int>(ErrorCode::kCannotAnalyse) == scCannotAnalyse);
static_assert(static_cast<int>(ErrorCode::kSyntaxError) == scSyntaxError);
static_assert(static_cast<int>(ErrorCode::kRecursiveCall) == scRecursiveCall);
static_assert(static_cast<int>(ErrorCode::kMissingOperand) == scMissingOperand);
static_assert(static_cast<int>(ErrorCode::kCannotEvaluate) == scCannotEvaluate);
static_assert(static_cast<int>(ErrorCode::kNaNConstant) == scNaN);
// The facade's own codes stay clear of the status codes.
static_assert(static_cast<int>(ErrorCode::kInvalidDeclaration) > scNoDeclarations);

namespace {

constexpr const char* kMsgOperandsDoNotFit =
    "Syntax Error: the operators and operands do not fit together";
constexpr const char* kMsgWrongValueCount = "The number of values is not the number of variables";
constexpr const char* kMsgWrongColumns =
    "The columns do not fit the variables, each other or the outputs";
constexpr const char* kMsgEmpty = "The expression is empty";
constexpr const char* kMsgOutOfMemory = "Out of memory";
constexpr const char* kMsgUndefinedFunction = "Undefined Function: ";
constexpr const char* kMsgDetected = " was detected in the string";

TAngleMode ParserAngleMode(AngleMode mode) {
  switch (mode) {
    case AngleMode::kDegrees:
      return DEG;
    case AngleMode::kGradians:
      return GON;
    default:
      return RAD;
  }
}

// True when every operator and function of the program finds its operands
// on the stack and exactly one value is left at the end. The compiler lets
// some terms through that break this (`x==y` leaves an operator without its
// operands, `(2)3` two values); their runs would fail or read the wrong
// value, so the facade refuses them when it compiles.
bool OperandsFit(const TProgram& program) {
  int depth = 0;
  for (int position = 1; position <= ProgramSize; ++position) {
    const TInstruction& record = program[static_cast<std::size_t>(position)];
    int needed = 0;
    switch (record.Kind) {
      case ikEnd:
        return depth == 1;
      case ikNumber:
      case ikVariable:
        ++depth;
        continue;
      case ikOperator:
        needed = record.Code == opNegate ? 1 : 2;
        break;
      case ikFunction:
        needed = FunctionArity(record.Code);
        if (needed == 0) return false;
        break;
      default:
        return false;
    }
    if (depth < needed) return false;
    depth -= needed - 1;
  }
  return false;
}

Error MakeError(ErrorCode code, std::string message, std::optional<std::size_t> position = {}) {
  return Error{code, std::move(message), position};
}

// Fills error where an allocation may just have failed: the message is left
// empty if it cannot be stored.
void FailSafely(Error& error, ErrorCode code, const char* message) noexcept {
  error.code = code;
  error.message.clear();
  error.position.reset();
  try {
    error.message = message;
  } catch (...) {
    // The code tells it all the same.
  }
}

void OutOfMemory(Error& error) noexcept {
  FailSafely(error, ErrorCode::kOutOfMemory, kMsgOutOfMemory);
}

// Where the text explains the analysis' failure, as far as it can tell.
std::optional<std::size_t> PositionOf(ErrorCode code, const std::string& message,
                                      std::string_view text) {
  const TermLocator locator(text);
  switch (code) {
    case ErrorCode::kWrongParentheses:
      return locator.UnbalancedParenthesis();
    case ErrorCode::kSyntaxError:
      if (message.rfind(kMsgUndefinedFunction, 0) == 0) {
        return locator.FindName(
            std::string_view(message).substr(std::string_view(kMsgUndefinedFunction).size()), true);
      }
      if (const std::size_t at = message.find(kMsgDetected); at != std::string::npos) {
        return locator.FindName(std::string_view(message).substr(0, at), false);
      }
      return locator.FirstMisfit();
    case ErrorCode::kMissingOperand:
      return locator.FirstMisfit();
    default:
      return std::nullopt;
  }
}

// Variable names as the declarations take them, each accepted and none twice.
bool CheckVariables(const std::vector<std::string>& given, const TParserDeclarations& declarations,
                    Error& error) {
  const std::vector<std::string>& prepared = declarations.PreparedVarNames();
  if (prepared.size() != given.size()) {
    error = MakeError(ErrorCode::kInvalidDeclaration, OneLine(declarations.DeclarationErrors()));
    return false;
  }
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (prepared[i] == prepared[j]) {
        error = MakeError(ErrorCode::kInvalidDeclaration, "Variable name given twice: " + given[i]);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

struct Expression::Impl {
  std::string text;
  std::vector<std::string> variables;
  AngleMode angles = AngleMode::kRadians;
  Extended angleFactor = 1;
  // The compiled program up to its end record (element 0 unused, as in a
  // program buffer): a whole buffer would take 16 KB.
  std::vector<TInstruction> program;
  // The fast execution form, made once and shared by every copy, thread and
  // batch; empty when the interpreter does all.
  FastProgram fast;
  std::unique_ptr<BatchPlan> batch;
};

bool Expression::CompileInto(std::string_view text, const std::vector<std::string>& variables,
                             const CompileOptions& options, Expression& expression,
                             Error& error) noexcept {
  try {
    const FpEnvGuard hostEnvironment;
    auto impl = std::make_shared<Impl>();
    impl->text.assign(text);
    impl->variables = variables;
    impl->angles = options.angle_mode;

    TParserDeclarations declarations;
    declarations.SetVarNames(variables);
    declarations.SetConstants(options.constants);
    declarations.SetFunctions(options.functions);
    // The first parser of a thread seeds the thread's generator from the
    // clock; compiling must not disturb a sequence the host has seeded.
    const std::uint32_t seed = RandomSeed();
    TTermParser parser;
    SetRandomSeed(seed);
    parser.SetAnglemode(ParserAngleMode(options.angle_mode));
    impl->angleFactor = parser.AngleFactor();
    parser.SetDeclarations(&declarations);
    if (!declarations.LastPrepareResult()) {
      error = MakeError(ErrorCode::kInvalidDeclaration, OneLine(declarations.DeclarationErrors()));
      return false;
    }
    if (!CheckVariables(variables, declarations, error)) return false;

    parser.SetTerm(impl->text);
    if (parser.EvalError() != scSuccess) {
      const auto code = static_cast<ErrorCode>(parser.EvalError());
      std::string message = OneLine(parser.ErrorText());
      const std::optional<std::size_t> position = PositionOf(code, message, impl->text);
      error = MakeError(code, std::move(message), position);
      return false;
    }
    if (!OperandsFit(parser.CodeBuffer())) {
      const TermLocator locator(impl->text);
      error = MakeError(ErrorCode::kSyntaxError, kMsgOperandsDoNotFit, locator.FirstMisfit());
      return false;
    }
    const TProgram& program = parser.CodeBuffer();
    int end = 1;
    while (end < ProgramSize && program[static_cast<std::size_t>(end)].Kind != ikEnd) ++end;
    impl->program.assign(program.begin(), program.begin() + end + 1);
    const auto machineCode = options.machine_code ? FastProgram::MachineCode::AfterManyRuns
                                                  : FastProgram::MachineCode::Never;
    impl->fast.Build(program, machineCode);
    impl->batch = std::make_unique<BatchPlan>(program, variables.size(), impl->fast, machineCode);
    impl->text.shrink_to_fit();
    expression.impl_ = std::move(impl);
    return true;
  } catch (const std::bad_alloc&) {
    OutOfMemory(error);
  } catch (...) {
    // The stages catch their own failures; nothing else is expected here.
    FailSafely(error, ErrorCode::kCannotAnalyse, "Cannot analyze given Term");
  }
  return false;
}

bool Expression::EvaluateFast(const long double* values, std::size_t count,
                              long double& value) const noexcept {
  if (!impl_) return false;
  const Impl& impl = *impl_;
  if (impl.fast.Empty() || count != impl.variables.size() || (count > 0 && values == nullptr)) {
    return false;
  }
  const std::span<const Extended> point(values, count);
  // The common case, as in TTermParser: a form of x87 arithmetic alone runs
  // under the narrow guard, without the thread's run context.
  if (!impl.fast.UsesRoutines()) {
    FpEnvGuard hostEnvironment(FpEnvGuard::X87Arithmetic);
    if (!impl.fast.RunArithmetic(point, value)) return false;
    // A successful run raised no failure flag: nothing to put back.
    hostEnvironment.Settled();
    return true;
  }
  FpEnvGuard hostEnvironment;
  // The calling thread's context, as the parsers on this thread use it: a
  // fresh one would cost more than many a run. A declined run changes
  // nothing the interpreter would see: random functions are never in a
  // fast form.
  if (!impl.fast.Run(ThreadRunContext(), point, impl.angleFactor, value)) return false;
  // The run has read the flags and found no failure.
  hostEnvironment.Settled();
  return true;
}

bool Expression::EvaluateInto(const long double* values, std::size_t count, long double& value,
                              Error& error) const noexcept {
  try {
    if (!impl_) {
      error = MakeError(ErrorCode::kWrongArgument, kMsgEmpty);
      return false;
    }
    if (count != impl_->variables.size() || (count > 0 && values == nullptr)) {
      error = MakeError(ErrorCode::kWrongArgument, kMsgWrongValueCount);
      return false;
    }
    const FpEnvGuard hostEnvironment;
    RunContext& context = ThreadRunContext();
    int status = scSuccess;
    std::string message;
    const Extended result =
        RunProgram(context, impl_->program, std::span<const Extended>(values, count),
                   impl_->angleFactor, status, message);
    if (status != scSuccess) {
      error = MakeError(static_cast<ErrorCode>(status), OneLine(message));
      return false;
    }
    value = result;
    return true;
  } catch (...) {
    OutOfMemory(error);
    return false;
  }
}

template <class Input, class Output>
bool Expression::BulkInto(const Input* const* columns, std::size_t columnCount, std::size_t points,
                          Output* results, ErrorCode* status, std::size_t& failures,
                          Error& error) const noexcept {
  try {
    if (!impl_) {
      error = MakeError(ErrorCode::kWrongArgument, kMsgEmpty);
      return false;
    }
    const std::size_t variables = impl_->variables.size();
    bool fits = columnCount == variables && (columnCount == 0 || columns != nullptr) &&
                (points == 0 || (results != nullptr && status != nullptr));
    for (std::size_t v = 0; fits && v < columnCount; ++v) {
      fits = points == 0 || columns[v] != nullptr;
    }
    if (!fits) {
      error = MakeError(ErrorCode::kWrongArgument, kMsgWrongColumns);
      return false;
    }
    failures = EvaluateBatch(impl_->program, variables, impl_->angleFactor, *impl_->batch, columns,
                             points, results, status);
    return true;
  } catch (...) {
    OutOfMemory(error);
    return false;
  }
}

template <class Input, class Output>
bool Expression::BulkSpansInto(const Span<const Input>* columns, std::size_t columnCount,
                               Output* results, std::size_t resultCount, ErrorCode* status,
                               std::size_t statusCount, std::size_t& failures,
                               Error& error) const noexcept {
  if (!impl_) {
    FailSafely(error, ErrorCode::kWrongArgument, kMsgEmpty);
    return false;
  }
  // Without variables the outputs say how many points there are.
  const std::size_t points =
      columnCount > 0 && columns != nullptr ? columns[0].size() : resultCount;
  bool fits = columnCount == impl_->variables.size() && (columnCount == 0 || columns != nullptr) &&
              resultCount >= points && statusCount >= points;
  for (std::size_t v = 0; fits && v < columnCount; ++v) {
    fits = columns[v].size() == points && (points == 0 || columns[v].data() != nullptr);
  }
  if (!fits) {
    FailSafely(error, ErrorCode::kWrongArgument, kMsgWrongColumns);
    return false;
  }
  try {
    // The columns' first values, as the batch reads them.
    std::vector<const Input*> heap;
    const Input* local[16] = {};
    const Input** pointers = local;
    if (columnCount > 16) {
      heap.resize(columnCount);
      pointers = heap.data();
    }
    for (std::size_t v = 0; v < columnCount; ++v) pointers[v] = columns[v].data();
    return BulkInto(pointers, columnCount, points, results, status, failures, error);
  } catch (...) {
    OutOfMemory(error);
    return false;
  }
}

bool Expression::EvaluateBulkInto(const Column* columns, std::size_t columnCount,
                                  long double* results, std::size_t resultCount, ErrorCode* status,
                                  std::size_t statusCount, std::size_t& failures,
                                  Error& error) const noexcept {
  return BulkSpansInto(columns, columnCount, results, resultCount, status, statusCount, failures,
                       error);
}

bool Expression::EvaluateBulkInto(const DoubleColumn* columns, std::size_t columnCount,
                                  double* results, std::size_t resultCount, ErrorCode* status,
                                  std::size_t statusCount, std::size_t& failures,
                                  Error& error) const noexcept {
  return BulkSpansInto(columns, columnCount, results, resultCount, status, statusCount, failures,
                       error);
}

bool Expression::EvaluateBulkInto(const double* const* columns, std::size_t columnCount,
                                  std::size_t points, double* results, ErrorCode* status,
                                  std::size_t& failures, Error& error) const noexcept {
  return BulkInto(columns, columnCount, points, results, status, failures, error);
}

std::size_t Expression::VariableCount() const noexcept {
  return impl_ ? impl_->variables.size() : 0;
}

const std::vector<std::string>& Expression::Variables() const noexcept {
  static const std::vector<std::string> none;
  return impl_ ? impl_->variables : none;
}

const std::string& Expression::Text() const noexcept {
  static const std::string none;
  return impl_ ? impl_->text : none;
}

AngleMode Expression::Angles() const noexcept {
  return impl_ ? impl_->angles : AngleMode::kRadians;
}

}  // namespace engine
