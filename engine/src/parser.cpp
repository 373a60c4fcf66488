// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/parser.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "call_expansion.h"
#include "engine/compiler.h"
#include "engine/engine_state.h"
#include "engine/host_fp_env.h"
#include "engine/interpreter.h"
#include "engine/random.h"
#include "engine/run_context.h"
#include "engine/term_text.h"
#include "fast_program.h"

namespace engine {

namespace {

// Parsers alive on this thread; the first one seeds the thread's random
// generator.
thread_local int liveParsers = 0;

TMessageHook& MessageHook() {
  static TMessageHook hook;
  return hook;
}

TAboutHook& AboutHook() {
  static TAboutHook hook;
  return hook;
}

constexpr const char* kLineBreak = "\n\r";
constexpr const char* kNotAnalysed = "Term is not properly analyzed yet";
constexpr const char* kNoDeclarations = "No declarations assigned";

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TTermParser

TTermParser::TTermParser() : codeBuffer_(std::make_unique<TProgram>()), varValues_(1, 0.0L) {
  if (liveParsers++ == 0) Randomize();
}

TTermParser::~TTermParser() {
  SetDeclarations(nullptr);
  // A parser may end on another thread than the one that made it; the count
  // of that thread must not drop below zero.
  if (liveParsers > 0) --liveParsers;
}

void TTermParser::SetAnglemode(TAngleMode mode) {
  anglemode_ = mode;
  switch (mode) {
    case RAD:
      angleFactor_ = 1;
      break;
    case DEG:
      angleFactor_ = ExtDegFactor;
      break;
    case GON:
      angleFactor_ = ExtGonFactor;
      break;
    default:
      break;
  }
}

void TTermParser::SetAbout(bool value) {
  if (value) ShowAboutWindow();
}

void TTermParser::ShowAboutWindow() {
  const TAboutHook& hook = AboutHook();
  if (!hook) return;
  try {
    hook();
  } catch (...) {
    // A failing host window must not break the engine's no-throw promise;
    // there is nothing to report.
  }
}

void TTermParser::SetDeclarations(TParserDeclarations* declarations) {
  if (declarations_ != nullptr && declarations_ != declarations) declarations_->Detach(*this);
  if (declarations != nullptr && declarations_ != declarations) {
    try {
      declarations->Attach(*this);
    } catch (...) {
      // Unregistered, the reference could dangle; without it SetTerm
      // reports code 9 instead.
      declarations = nullptr;
    }
  }
  declarations_ = declarations;
  if (declarations_ == nullptr) return;
  // Every list again, unless the declarations are prepared and unchanged:
  // then parsers on other threads may be reading them.
  declarations_->PrepareLists(*this, true);
}

void TTermParser::SetTerm(const std::string& term) {
  if (declarations_ == nullptr) {
    const TMessageHook& hook = MessageHook();
    if (hook) {
      try {
        hook(kNoDeclarations);
      } catch (...) {
        // The box is only a notice; the code below reports the failure.
      }
    }
    // The previous program must not be evaluated as if it belonged to this
    // term, so the analysis is marked as failed too.
    errorText_ = kNoDeclarations;
    analysisCode_ = scNoDeclarations;
    evalError_ = scNoDeclarations;
    return;
  }
  try {
    termText_ = term;
    declarations_->Prepare(*this);
    evalError_ = Analyse();
  } catch (...) {
    errorText_ = "Cannot analyze given Term";
    analysisCode_ = scCannotAnalyse;
    evalError_ = scCannotAnalyse;
  }
}

std::uint8_t TTermParser::Analyse() {
  bool report = true;
  std::uint8_t code = scSuccess;
  {
    // The host's handler runs in the host's environment, after this ends.
    // Without declared constants an analysis reads numbers and compiles:
    // x87 arithmetic alone, which never reads or clears the flags. A
    // declared constant is evaluated by the interpreter.
    const bool constants = declarations_ != nullptr && declarations_->constants_.Count() > 0;
    FpEnvGuard hostEnvironment(constants ? FpEnvGuard::Everything : FpEnvGuard::X87Arithmetic);
    code = AnalyseTerm(report);
    // Only a number beyond the range raises a failure flag, and it fails
    // the analysis.
    if (!constants && code == scSuccess) hostEnvironment.Settled();
  }
  if (report && code != scSuccess) FireError();
  return code;
}

std::uint8_t TTermParser::AnalyseTerm(bool& report) {
  RunContext& context = ThreadRunContext();
  std::uint8_t code = scSuccess;
  fastState_ = FastState::NotEvaluated;
  try {
    errorText_.clear();
    preparedTerm_ = termText_;
    NormaliseTerm(preparedTerm_, true);
    if (preparedTerm_.empty()) {
      errorText_ = "Term is empty string";
      analysisCode_ = scCannotAnalyse;
      return scCannotAnalyse;
    }
    if (!CheckParentheses(preparedTerm_, context)) {
      errorText_ = "Wrong parentheses";
      analysisCode_ = scWrongParentheses;
      return scWrongParentheses;
    }
    if (declarations_ != nullptr) {
      const ExpansionResult expansion = declarations_->Expand(preparedTerm_);
      if (expansion == ExpansionResult::kTooComplex) {
        errorText_ = "Cannot analyze given Term";
        analysisCode_ = scCannotAnalyse;
        return scCannotAnalyse;
      }
      if (expansion == ExpansionResult::kFailed) {
        errorText_ = "Recursive or unknown function call";
        // The stored analysis code has always been 1 here, unlike the
        // result; Compute reports it, and no error event is raised.
        analysisCode_ = scWrongParentheses;
        report = false;
        return scRecursiveCall;
      }
    }
    static const std::vector<std::string> noLines;
    const std::vector<std::string>& constants =
        declarations_ != nullptr ? declarations_->constants_.Lines() : noLines;
    const std::vector<std::string>& varNames =
        declarations_ != nullptr ? declarations_->preparedVarNames_ : noLines;
    int count = 0;
    code = static_cast<std::uint8_t>(CompileTerm(context, preparedTerm_, errorText_, *codeBuffer_,
                                                 constants, &varNames, angleFactor_, count));
    codeCount_ = count;
    if (code == scSuccess) code = CheckVariableSlots();
  } catch (...) {
    errorText_ = "Cannot analyze given Term";
    code = scCannotAnalyse;
  }
  analysisCode_ = code;
  return code;
}

std::uint8_t TTermParser::CheckVariableSlots() {
  slotsNeeded_ = 0;
  for (int i = 1; i <= ProgramSize && (*codeBuffer_)[static_cast<std::size_t>(i)].Kind != ikEnd;
       ++i) {
    const TInstruction& instruction = (*codeBuffer_)[static_cast<std::size_t>(i)];
    if (instruction.Kind != ikVariable) continue;
    if (instruction.Code < 0) {
      errorText_ = "Cannot analyze given Term";
      return scCannotAnalyse;
    }
    slotsNeeded_ = std::max(slotsNeeded_, static_cast<std::size_t>(instruction.Code) + 1);
  }
  return scSuccess;
}

std::uint8_t TTermParser::Compute() {
  if (analysisCode_ != scSuccess) {
    const std::uint8_t code = analysisCode_;
    try {
      errorText_ += kLineBreak;
      errorText_ += kNotAnalysed;
    } catch (...) {
      // The text could not grow; the code still tells the failure.
    }
    FireError();
    return code;
  }
  const auto code = static_cast<std::uint8_t>(RunAnalysed());
  evalError_ = code;
  if (code != scSuccess) FireError();
  return code;
}

int TTermParser::RunAnalysed() {
  // The common case of a term evaluated again and again: the fast form runs
  // x87 arithmetic alone, under the narrow guard, without the thread's run
  // context.
  if (fastState_ == FastState::Built && !fastForm_->UsesRoutines()) {
    FpEnvGuard hostEnvironment(FpEnvGuard::X87Arithmetic);
    if (slotsNeeded_ <= varValues_.size() && fastForm_->RunArithmetic(varValues_, resultValue_)) {
      // A successful run raised no failure flag: nothing to put back.
      hostEnvironment.Settled();
      errorText_.clear();
      return scSuccess;
    }
    hostEnvironment.Widen();
    return RunAnyForm(hostEnvironment, false);
  }
  FpEnvGuard hostEnvironment;
  return RunAnyForm(hostEnvironment, true);
}

int TTermParser::RunAnyForm(FpEnvGuard& hostEnvironment, bool tryFast) {
  // The guard has just cleared the failure flags, unless the fast form runs
  // or is built first.
  const bool flagsClear = !tryFast || fastState_ == FastState::NotEvaluated;
  int status = scSuccess;
  try {
    errorText_.clear();
    // The variable names may have shrunk since this program was compiled
    // (the same declarations prepared again); it must not read past them.
    if (slotsNeeded_ > varValues_.size()) {
      status = scCannotEvaluate;
      errorText_ = "Cannot evaluate Term with given value";
    } else {
      // The fast form writes its result straight into resultValue_: every
      // copy of an 80-bit value costs a slow store and load.
      RunContext& context = ThreadRunContext();
      if (!tryFast || !ComputeFast(context, hostEnvironment)) {
        hostEnvironment.Widen();
        // RunProgram ends with FinishRun: a NaN is no value. The fast form
        // declines every result that is not finite, so it comes here.
        const Extended value = RunProgram(context, *codeBuffer_, varValues_, angleFactor_, status,
                                          errorText_, flagsClear);
        if (status == scSuccess) {
          resultValue_ = value;
          // Every failure flag of a run is tested unless its result is
          // finite, which it cannot be after a failure; only loading a
          // signalling NaN from a variable may raise one unseen. A term
          // without variables that succeeds leaves no flag to put back.
          if (flagsClear && slotsNeeded_ == 0) hostEnvironment.Settled();
        }
      }
    }
  } catch (...) {
    status = scCannotEvaluate;
    errorText_ = "Cannot evaluate Term with given value";
  }
  return status;
}

bool TTermParser::ComputeFast(RunContext& context, FpEnvGuard& hostEnvironment) {
  // The trainer analyses and evaluates each candidate term once; building
  // the fast form for those would only slow task making down.
  if (fastState_ == FastState::NotEvaluated) {
    fastState_ = FastState::EvaluatedOnce;
    return false;
  }
  if (fastState_ == FastState::EvaluatedOnce) {
    hostEnvironment.Widen();  // building compares the program's constants
    try {
      if (!fastForm_) fastForm_ = std::make_unique<FastProgram>();
      fastState_ = fastForm_->Build(*codeBuffer_) ? FastState::Built : FastState::Unavailable;
    } catch (...) {
      // Without memory for the fast form the interpreter does the work.
      fastState_ = FastState::Unavailable;
    }
  }
  if (fastState_ != FastState::Built) return false;
  if (!fastForm_->Run(context, varValues_, angleFactor_, resultValue_)) return false;
  // A successful run with routines has read the flags and found no failure.
  if (fastForm_->UsesRoutines()) hostEnvironment.Settled();
  return true;
}

Extended TTermParser::Evaluate() {
  std::uint8_t code;
  try {
    code = Compute();
  } catch (...) {
    // Only a derived Compute can get here.
    code = scCannotEvaluate;
  }
  evalError_ = code;
  if (code == scSuccess) return resultValue_;
  if (code == scNaN) return EngineNaN();
  return 0;
}

void TTermParser::FireError() {
  if (!onError_) return;
  // Copy the handler so that it may replace itself while it runs.
  TErrorEvent handler = onError_;
  try {
    handler(*this, errorText_);
  } catch (...) {
    // The failure is already recorded in EvalError and ErrorText; an
    // exception from the host's handler must not cross the engine's
    // interface, so it is dropped.
  }
}

Extended TTermParser::VarValue(int slot) const {
  if (slot < 0 || static_cast<std::size_t>(slot) >= varValues_.size()) return 0;
  return varValues_[static_cast<std::size_t>(slot)];
}

bool TTermParser::SetVarValue(std::string_view name, Extended value) {
  if (declarations_ == nullptr) return false;
  const auto& names = declarations_->preparedVarNames_;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (EqualIgnoringCase(names[i], name)) return SetVarValue(static_cast<int>(i), value);
  }
  return false;
}

void TTermParser::ResizeVarValues(std::size_t count) {
  varValues_.resize(count, 0.0L);
}

// ---------------------------------------------------------------------------

void SetMessageHook(TMessageHook hook) {
  MessageHook() = std::move(hook);
}

void SetAboutHook(TAboutHook hook) {
  AboutHook() = std::move(hook);
}

Extended EngineNaN() {
  return ExtEngineNaN;
}

}  // namespace engine
