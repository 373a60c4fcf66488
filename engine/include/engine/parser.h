// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// The engine's face: TTermParser analyses and evaluates a term given as text,
// TParserDeclarations holds the user-declared constants, functions and
// variable names a parser may use. Neither throws; failures are status codes
// with messages, and optionally the OnError event.
//
// Threads: a parser belongs to one thread at a time; it may move to another
// between calls. One declarations object may be shared by parsers on any
// number of threads: once prepared, and as long as nobody changes its lists,
// SetDeclarations, SetTerm, Prepare, Evaluate and the destruction of those
// parsers only read it (attaching and detaching parsers is locked inside). The
// first preparation may happen in several threads at once; one of them does
// it, the others wait for it. Changing the lists, SetChangedLists and
// destroying the object are not safe while another thread uses it. Each
// thread has its own random generator (random.h) and its own analysis and
// evaluation state. The message and about hooks are set before threads use
// parsers.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/extended.h"
#include "engine/program_format.h"
#include "engine/status.h"

namespace engine {

class TTermParser;
class FastProgram;
class FpEnvGuard;
struct RunContext;
enum class ExpansionResult : std::uint8_t;

// A list of text lines that reports every change to its owner.
class TStringList {
 public:
  using ChangeHandler = std::function<void()>;

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& Lines() const { return lines_; }

  void Add(std::string line);
  void Insert(int index, std::string line);
  void Delete(int index);
  void Put(int index, std::string line);
  void Clear();
  // Replaces all lines with a copy of the given ones.
  void Assign(const std::vector<std::string>& lines);
  // Replaces all lines with the lines of text (CR LF, LF or CR end a line; a
  // final line break adds no line).
  void SetText(std::string_view text);

  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

 private:
  void Changed();
  std::vector<std::string> lines_;
  ChangeHandler onChange_;
};

enum TAngleMode : std::uint8_t { RAD = 0, DEG = 1, GON = 2 };

using TErrorEvent = std::function<void(TTermParser& Sender, const std::string& errormessage)>;

class TParserDeclarations {
 public:
  TParserDeclarations();
  ~TParserDeclarations();
  TParserDeclarations(const TParserDeclarations&) = delete;
  TParserDeclarations& operator=(const TParserDeclarations&) = delete;

  // The owned lists; changing them marks them for the next Prepare.
  TStringList& Constants() { return constants_; }
  TStringList& Functions() { return functions_; }
  TStringList& VarNames() { return varNames_; }
  const TStringList& Constants() const { return constants_; }
  const TStringList& Functions() const { return functions_; }
  const TStringList& VarNames() const { return varNames_; }
  // Property writes: copy the given lines into the owned list.
  void SetConstants(const std::vector<std::string>& lines) { constants_.Assign(lines); }
  void SetFunctions(const std::vector<std::string>& lines) { functions_.Assign(lines); }
  void SetVarNames(const std::vector<std::string>& lines) { varNames_.Assign(lines); }

  // Processes the changed lists and sizes the parser's variable values; true
  // when every processed declaration was valid. With no list changed it
  // writes nothing in this object.
  bool Prepare(TTermParser& parser);
  // What the last Prepare that processed changed lists returned (also the
  // ones SetTerm and SetDeclarations run); true before the first.
  bool LastPrepareResult() const { return lastPrepareResult_; }
  // Replaces calls of declared functions in a normalised term by their bodies.
  bool ExpandFunctions(std::string& term);

  // Bits: 1 VarNames, 2 Functions, 4 Constants changed since the last Prepare.
  // Setting 0 declares the prepared state current.
  std::uint8_t ChangedLists() const { return changedLists_; }
  void SetChangedLists(std::uint8_t bits) { changedLists_ = bits; }

  const std::string& DeclarationErrors() const { return declarationErrors_; }
  const std::vector<std::string>& PreparedFunctions() const { return preparedFunctions_; }
  const std::vector<std::string>& PreparedVarNames() const { return preparedVarNames_; }
  const std::string& FunctionArities() const { return functionArities_; }
  const std::string& FunctionSources() const { return functionSources_; }

 private:
  friend class TTermParser;
  // Prepare; with all, every list is processed again if any has changed.
  bool PrepareLists(TTermParser& parser, bool all);
  // The registry of parsers that refer to this object.
  void Attach(TTermParser& parser);
  void Detach(TTermParser& parser);
  void PrepareFunctions(bool& result);
  void ParseDeclaration(std::size_t entry);
  void PrepareVarNames(bool& result);
  void PurgeInvalid();
  // ExpandFunctions, telling a call that cannot be expanded from a term that
  // would grow too far (call_expansion.h).
  ExpansionResult Expand(std::string& term) const;
  // The line of Functions that prepared function entry came from.
  const std::string& SourceLine(std::size_t entry) const;

  std::vector<std::string> preparedFunctions_;
  std::vector<std::string> preparedVarNames_;
  std::string functionArities_;
  std::string functionSources_;
  std::string declarationErrors_;
  // The two halves of DeclarationErrors, so that preparing only the variable
  // names replaces their report instead of adding to a stale one.
  std::string functionErrors_;
  std::string varNameErrors_;
  // FunctionSources as line numbers: its characters only count up to 207.
  std::vector<int> functionSourceLines_;
  TStringList constants_;
  TStringList functions_;
  TStringList varNames_;
  std::atomic<std::uint8_t> changedLists_{3};
  bool lastPrepareResult_ = true;
  // Serialises the preparation of changed lists and guards users_.
  std::mutex mutex_;
  // Parsers that refer to this object; they forget it when it is destroyed.
  std::vector<TTermParser*> users_;
};

class TTermParser {
 public:
  TTermParser();
  virtual ~TTermParser();
  TTermParser(const TTermParser&) = delete;
  TTermParser& operator=(const TTermParser&) = delete;

  // Properties.
  TAngleMode Anglemode() const { return anglemode_; }
  void SetAnglemode(TAngleMode mode);
  Extended AngleFactor() const { return angleFactor_; }
  bool About() const { return false; }
  void SetAbout(bool value);
  TParserDeclarations* Declarations() const { return declarations_; }
  void SetDeclarations(TParserDeclarations* declarations);
  std::string Version() const { return "V6.1"; }
  void SetVersion(std::string_view) {}
  const TErrorEvent& OnError() const { return onError_; }
  void SetOnError(TErrorEvent handler) { onError_ = std::move(handler); }

  // Operations.
  void SetTerm(const std::string& term);
  Extended Evaluate();
  virtual std::uint8_t Analyse();
  virtual std::uint8_t Compute();
  void FireError();
  void ShowAboutWindow();

  std::uint8_t EvalError() const { return evalError_; }
  const std::string& ErrorText() const { return errorText_; }

  // Variable values, one slot per prepared variable name.
  int VarCount() const { return static_cast<int>(varValues_.size()); }
  Extended VarValue(int slot) const;
  // false when the slot or name does not exist. Inline: an embedder sets the
  // variables before every evaluation, and a call would pass the 80-bit
  // value through memory twice more.
  bool SetVarValue(int slot, Extended value) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= varValues_.size()) return false;
    varValues_[static_cast<std::size_t>(slot)] = value;
    return true;
  }
  bool SetVarValue(std::string_view name, Extended value);

  // Read-only views of the analysis.
  std::uint8_t AnalysisCode() const { return analysisCode_; }
  const std::string& TermText() const { return termText_; }
  const std::string& PreparedTerm() const { return preparedTerm_; }
  const TProgram& CodeBuffer() const { return *codeBuffer_; }
  int CodeCount() const { return codeCount_; }
  Extended ResultValue() const { return resultValue_; }

 private:
  friend class TParserDeclarations;
  void ResizeVarValues(std::size_t count);
  // Analyse and Compute without raising the error event; they run in the
  // engine's floating-point environment, the event in the host's.
  std::uint8_t AnalyseTerm(bool& report);
  int RunAnalysed();
  // The general evaluation: the fast form where tryFast, else or when it
  // declines, the interpreter.
  int RunAnyForm(FpEnvGuard& hostEnvironment, bool tryFast);
  // Records the highest variable slot the compiled program reads; returns
  // the analysis code.
  std::uint8_t CheckVariableSlots();
  // Runs the fast form of the program where it decides the result alone;
  // builds it on the second evaluation of an analysed term. On success the
  // result is in resultValue_.
  // hostEnvironment is widened before anything beyond x87 arithmetic runs.
  bool ComputeFast(RunContext& context, FpEnvGuard& hostEnvironment);

  std::unique_ptr<TProgram> codeBuffer_;
  Extended angleFactor_ = 1;
  TAngleMode anglemode_ = RAD;
  Extended resultValue_ = 0;
  std::vector<Extended> varValues_;
  int codeCount_ = 0;
  std::uint8_t analysisCode_ = scNotAnalysed;
  std::string preparedTerm_;
  std::uint8_t evalError_ = 0;
  std::string errorText_;
  TErrorEvent onError_;
  TParserDeclarations* declarations_ = nullptr;
  std::string termText_;
  // Variable slots the compiled program reads.
  std::size_t slotsNeeded_ = 0;
  // The fast form of the program, and how far it is since the analysis.
  enum class FastState : std::uint8_t { NotEvaluated, EvaluatedOnce, Built, Unavailable };
  std::unique_ptr<FastProgram> fastForm_;
  FastState fastState_ = FastState::NotEvaluated;
};

// The engine never shows a window itself. A host program installs these hooks
// to show SetTerm's "No declarations assigned" box and the about window;
// without a hook nothing is shown.
using TMessageHook = std::function<void(const std::string& text)>;
using TAboutHook = std::function<void()>;
void SetMessageHook(TMessageHook hook);
void SetAboutHook(TAboutHook hook);

// The value Evaluate returns for code 8.
Extended EngineNaN();

}  // namespace engine
