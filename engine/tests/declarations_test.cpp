// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Declarations: the string lists, the preparation of function lines and
// variable names, and the expansion of user function calls.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "../src/call_expansion.h"
#include "engine/parser.h"
#include "engine/run_context.h"

namespace engine {
namespace {

using Lines = std::vector<std::string>;

TEST(StringList, EveryChangeIsReportedAndBadIndicesAreIgnored) {
  TStringList list;
  int changes = 0;
  list.SetOnChange([&] { ++changes; });
  list.Add("b");
  list.Insert(0, "a");
  list.Put(1, "c");
  list.Insert(5, "x");  // ignored
  list.Delete(-1);      // ignored
  list.Put(2, "y");     // ignored
  EXPECT_EQ(list.Lines(), (Lines{"a", "c"}));
  EXPECT_EQ(changes, 3);
  list.Delete(0);
  list.Assign({"p", "q"});
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(changes, 6);
}

TEST(StringList, SetTextSplitsAtEveryKindOfLineBreak) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\r\n", {""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << c.text;
  }
}

TEST(Declarations, StartWithDefaultVariablesAndChangeBits) {
  TParserDeclarations decl;
  EXPECT_EQ(decl.VarNames().Lines(), (Lines{"t", "x", "y", "z"}));
  EXPECT_EQ(decl.ChangedLists(), 3);
  decl.SetChangedLists(0);
  decl.Constants().Add("A=1");
  EXPECT_EQ(decl.ChangedLists(), 4);
  decl.Functions().Add("F(A)=A");
  EXPECT_EQ(decl.ChangedLists(), 6);
  decl.SetVarNames({"a"});
  EXPECT_EQ(decl.ChangedLists(), 7);
}

TEST(Declarations, CreatingOneSetsTheConstantE) {
  ThreadRunContext().E = 0;
  TParserDeclarations decl;
  EXPECT_EQ(ThreadRunContext().E, std::exp(1.0L));
}

// e rounded to nearest, whatever rounding the host has set when the
// declarations (or a thread's first parser) are created, and so the value a
// term reads as E.
TEST(Declarations, TheConstantEIsTheSameUnderEveryRoundingMode) {
  const ExtendedBytes e{0xADF85458A2BB4A9BULL, 0x4000};
  for (const int mode : {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO}) {
    ExtendedBytes set{};
    ExtendedBytes read{};
    ExtendedBytes fresh{};
    std::thread([&] {
      std::fesetround(mode);
      // The thread's first use of the engine creates its context here.
      fresh = BitsOf(ThreadRunContext().E);
      TParserDeclarations decl;
      set = BitsOf(ThreadRunContext().E);
      TTermParser parser;
      parser.SetDeclarations(&decl);
      parser.SetTerm("E");
      read = BitsOf(parser.Evaluate());
      std::fesetround(FE_TONEAREST);
    }).join();
    EXPECT_EQ(fresh, e) << "mode " << mode;
    EXPECT_EQ(set, e) << "mode " << mode;
    EXPECT_EQ(read, e) << "mode " << mode;
  }
}

struct FunctionCase {
  const char* name;
  Lines functions;
  Lines prepared;  // NAME=body entries, then the names
  std::string arities;
  std::string errors;
};

// A failing case is named, not dumped byte by byte.
void PrintTo(const FunctionCase& c, std::ostream* out) {
  *out << c.name;
}

class PrepareFunctions : public ::testing::TestWithParam<FunctionCase> {};

TEST_P(PrepareFunctions, BuildsEntriesAndReportsFaults) {
  const FunctionCase& c = GetParam();
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions(c.functions);
  bool result = decl.Prepare(parser);
  EXPECT_EQ(decl.PreparedFunctions(), c.prepared);
  EXPECT_EQ(decl.FunctionArities(), c.arities);
  EXPECT_EQ(decl.DeclarationErrors(), c.errors);
  EXPECT_EQ(result, c.errors.empty());
  EXPECT_EQ(decl.LastPrepareResult(), result);
  EXPECT_EQ(decl.ChangedLists(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PrepareFunctions,
    ::testing::Values(
        FunctionCase{"comment", {"SQ(A)=A*A # square"}, {"SQ=?1*?1", "SQ"}, "1", ""},
        FunctionCase{"blank_and_comment_lines", {"", "  # only a note"}, {}, "", ""},
        FunctionCase{"names_inside_longer_names", {"F(X;Y)=X*Y+XY"}, {"F=?1*?2+XY", "F"}, "2", ""},
        FunctionCase{
            "argument_name_in_function_name", {"X(X) = x^2 + XX"}, {"X=?1^2+XX", "X"}, "1", ""},
        FunctionCase{"lower_case_and_blanks",
                     {"cube ( a ) = a * a * a"},
                     {"CUBE=?1*?1*?1", "CUBE"},
                     "1",
                     ""},
        FunctionCase{"operator_words", {"M(A;B)=(A) mod (B)"}, {"M=(?1)m(?2)", "M"}, "2", ""},
        FunctionCase{"body_calls_other_function",
                     {"SQ(A)=A*A", "TW(B)=SQ(B)+1"},
                     {"SQ=?1*?1", "TW=((?1)*(?1))+1", "SQ", "TW"},
                     "11",
                     ""},
        FunctionCase{"recursive", {"F(X)=F(X)+1"}, {}, "", "\n\rRecursive Function: F(X)=F(X)+1"},
        FunctionCase{"mutually_recursive_first_is_dropped",
                     {"F(X)=G(X)", "G(X)=F(X)"},
                     {"G=F(?1)", "G"},
                     "1",
                     "\n\rRecursive Function: F(X)=G(X)"},
        FunctionCase{"duplicate",
                     {"G(A)=A", "G(B)=B+1"},
                     {"G=?1", "G"},
                     "1",
                     "Duplicate identifierG(B)=B+1"},
        FunctionCase{
            "bad_function_identifier", {"1F(A)=A"}, {}, "", "\n\rUnvalid function identifier  "},
        FunctionCase{"no_parameter_list", {"F=2"}, {}, "", "\n\rUnvalid argument identifier in F"},
        FunctionCase{
            "missing_equals", {"F(A)A"}, {}, "", "\n\rUnvalid argument identifier in F(A)A"},
        FunctionCase{"wrong_parentheses",
                     {"F(A=A", "SQ(A)=A*A"},
                     {"SQ=?1*?1", "SQ"},
                     "1",
                     "\n\rWrong Parentheses in Function F(A=A"},
        // Parameter lists that would substitute numbers or expressions.
        FunctionCase{"repeated_parameter",
                     {"F(A;A)=A"},
                     {},
                     "",
                     "\n\rUnvalid argument identifier in F(A;A)=A"},
        FunctionCase{"expression_as_parameter",
                     {"F(X+1)=X"},
                     {},
                     "",
                     "\n\rUnvalid argument identifier in F(X+1)=X"},
        FunctionCase{"number_as_parameter",
                     {"F(A;2)=A*2"},
                     {},
                     "",
                     "\n\rUnvalid argument identifier in F(A;2)=A*2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrepareFunctions, ErrorsNameTheRightLineBeyondTwoHundredLines) {
  TParserDeclarations decl;
  TTermParser parser;
  Lines lines(250, "# filler");
  lines.push_back("F(X)=F(X)");
  decl.SetFunctions(lines);
  decl.Prepare(parser);
  EXPECT_EQ(decl.DeclarationErrors(), "\n\rRecursive Function: F(X)=F(X)");
}

TEST(PrepareFunctions, ExplodingBodiesAreRejectedNotBuilt) {
  // Each level raises the size of the one below to the third power: F3 would
  // need a billion copies of its argument.
  std::string tenFold = "F1(A)=A";
  for (int i = 1; i < 10; ++i) tenFold += "*A";
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions({tenFold, "F2(A)=F1(F1(F1(A)))", "F3(A)=F2(F2(F2(A)))"});
  EXPECT_FALSE(decl.Prepare(parser));
  EXPECT_EQ(decl.DeclarationErrors(), "\n\rRecursive Function: F3(A)=F2(F2(F2(A)))");
  EXPECT_EQ(decl.FunctionArities(), "11");
}

struct VarCase {
  Lines names;
  Lines prepared;
  std::string errors;
};

TEST(PrepareVarNames, KeepsValidNamesInUpperCase) {
  const VarCase cases[] = {
      {{"t", "x", "y", "z"}, {"T", "X", "Y", "Z"}, ""},
      {{"_a1", " speed # km/h", "b_2"}, {"_A1", "SPEED", "B_2"}, ""},
      {{"1A", "ok"}, {"OK"}, "\n\rInvalid variable name: 1A"},
      {{"", "#x"}, {}, "\n\rInvalid variable name: \n\rInvalid variable name: #x"},
      {{"A+B", "\xE4"}, {}, "\n\rInvalid variable name: A+B\n\rInvalid variable name: \xE4"},
  };
  for (const VarCase& c : cases) {
    TParserDeclarations decl;
    TTermParser parser;
    decl.SetVarNames(c.names);
    EXPECT_EQ(decl.Prepare(parser), c.errors.empty()) << c.errors;
    EXPECT_EQ(decl.PreparedVarNames(), c.prepared);
    EXPECT_EQ(decl.DeclarationErrors(), c.errors);
    EXPECT_EQ(parser.VarCount(), static_cast<int>(c.prepared.size()));
  }
}

TEST(PrepareVarNames, ReportOfAnEarlierListDoesNotLinger) {
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions({"F=1"});
  decl.SetVarNames({"1A"});
  decl.Prepare(parser);
  EXPECT_EQ(decl.DeclarationErrors(),
            "\n\rUnvalid argument identifier in F\n\rInvalid variable name: 1A");
  decl.SetVarNames({"A"});  // only the variable names are prepared again
  EXPECT_TRUE(decl.Prepare(parser));
  EXPECT_EQ(decl.DeclarationErrors(), "\n\rUnvalid argument identifier in F");
}

TEST(PrepareVarNames, ValuesGrowWithZerosAndShrinkFromTheEnd) {
  TParserDeclarations decl;
  TTermParser parser;
  parser.SetDeclarations(&decl);
  ASSERT_EQ(parser.VarCount(), 4);
  for (int slot = 0; slot < 4; ++slot) parser.SetVarValue(slot, slot + 1);
  decl.VarNames().Delete(3);
  decl.Prepare(parser);
  ASSERT_EQ(parser.VarCount(), 3);
  EXPECT_EQ(parser.VarValue(2), 3);
  decl.VarNames().Add("w");
  decl.VarNames().Add("v");
  decl.Prepare(parser);
  ASSERT_EQ(parser.VarCount(), 5);
  EXPECT_EQ(parser.VarValue(0), 1);
  EXPECT_EQ(parser.VarValue(3), 0);
  EXPECT_EQ(parser.VarValue(4), 0);
  decl.SetVarNames({});
  decl.Prepare(parser);
  EXPECT_EQ(parser.VarCount(), 0);
}

struct ExpandCase {
  Lines functions;
  std::string term;  // already normalised
  bool ok;
  std::string expanded;  // when ok
};

TEST(ExpandFunctions, ReplacesCallsByTheirBodies) {
  const ExpandCase cases[] = {
      {{"SQ(A)=A*A"}, "2+SQ(3)", true, "2+((3)*(3))"},
      {{"SQ(A)=A*A"}, "SQ(SQ(2))", true, "((((2)*(2)))*(((2)*(2))))"},
      {{"SQ(A)=A*A"}, "XSQ(2)+SQ(1)", true, "XSQ(2)+((1)*(1))"},
      {{"SQ(A)=A*A"}, "SQX(2)", true, "SQX(2)"},
      {{"SQ(A)=A*A"}, "1+2", true, "1+2"},
      {{"S(A)=SIN(A)"}, "S(1+2)", true, "(SIN(1+2))"},
      {{"M(A;B)=MAX(A)(B)"}, "M(1)(2)", true, "(MAX(1)(2))"},
      {{"D(A;B)=A-B"}, "D(5)(2)*3", true, "((5)-(2))*3"},
      // A placeholder sign typed by the user is carried along, not replaced.
      {{"SQ(A)=A*A"},
       "SQ(\xA7"
       "1)",
       true,
       "((\xA7"
       "1)*(\xA7"
       "1))"},
      // Too few argument groups: the rest of the term must not be taken.
      {{"D(A;B)=A-B"}, "D(5)+(2)", false, ""},
      {{"D(A;B)=A-B"}, "D(5)", false, ""},
      {{"SQ(A)=A*A"}, "SQ", true, "SQ"},
      // A mask sign typed by the user is not mistaken for a masked name.
      {{"SQ(A)=A*A"}, "#1+XSQ(2)", true, "#1+XSQ(2)"},
  };
  for (const ExpandCase& c : cases) {
    TParserDeclarations decl;
    TTermParser parser;
    decl.SetFunctions(c.functions);
    ASSERT_TRUE(decl.Prepare(parser)) << decl.DeclarationErrors();
    std::string term = c.term;
    EXPECT_EQ(decl.ExpandFunctions(term), c.ok) << c.term;
    if (c.ok) {
      EXPECT_EQ(term, c.expanded) << c.term;
    }
  }
}

TEST(ExpandFunctions, StopsAfterAThousandSearches) {
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions({"I(A)=A"});
  decl.Prepare(parser);
  auto nested = [](int depth) {
    std::string term;
    for (int i = 0; i < depth; ++i) term += "I(";
    return term + "1" + std::string(static_cast<std::size_t>(depth), ')');
  };
  std::string shallow = nested(900);
  EXPECT_TRUE(decl.ExpandFunctions(shallow));
  std::string deep = nested(1000);
  EXPECT_FALSE(decl.ExpandFunctions(deep));
}

TEST(ExpandFunctions, HugeExpansionFailsInsteadOfExhaustingMemory) {
  // Every expansion copies a long argument a hundred times; within the
  // search limit that would reach about a hundred megabytes.
  std::string hundredFold = "G(A)=A";
  for (int i = 1; i < 100; ++i) hundredFold += "+A";
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions({hundredFold});
  decl.Prepare(parser);
  std::string term;
  for (int i = 0; i < 300; ++i) term += "G(";
  term += "1" + std::string(300, ')');
  EXPECT_FALSE(decl.ExpandFunctions(term));
}

// Each nested call scans its argument again: the work grows with the
// nesting times the argument's length even when the term barely grows.
TEST(ExpandFunctions, NestedCallsAroundALongArgumentAreTooComplex) {
  TParserDeclarations decl;
  TTermParser parser;
  decl.SetFunctions({"I(A)=A"});
  decl.Prepare(parser);
  auto nested = [](int depth, std::size_t core) {
    std::string term;
    for (int i = 0; i < depth; ++i) term += "I(";
    return term + std::string(core, '1') + std::string(static_cast<std::size_t>(depth), ')');
  };
  struct Case {
    int Depth;
    std::size_t Core;
    bool Expands;
  };
  for (const Case& c : {Case{500, 20, true}, Case{30, 20000, true}, Case{500, 20000, false},
                        Case{900, 8000, false}}) {
    std::string term = nested(c.Depth, c.Core);
    EXPECT_EQ(decl.ExpandFunctions(term), c.Expands) << c.Depth << " around " << c.Core;
    if (c.Expands) {
      EXPECT_EQ(term.find('I'), std::string::npos);
    }
  }
  parser.SetDeclarations(&decl);
  parser.SetTerm(nested(500, 20000));
  EXPECT_EQ(parser.EvalError(), 2);
  EXPECT_EQ(parser.ErrorText(), "Cannot analyze given Term");
}

// A declaration with the parameters P1..Pn whose body adds them all, called
// with 1..n: every parameter must be put in, whatever character its number
// is written with inside the engine (the 13th is '=', the 15th '?').
TEST(ExpandFunctions, EveryAcceptedParameterCountIsSubstituted) {
  for (int count : {13, 14, 15, 16, 63, 118}) {
    std::string parameters, body, arguments;
    for (int k = 1; k <= count; ++k) {
      const std::string separator = k == 1 ? "" : ";";
      parameters += separator + "P" + std::to_string(k);
      body += (k == 1 ? "" : "+") + std::string("P") + std::to_string(k);
      arguments += separator + std::to_string(k);
    }
    TParserDeclarations decl;
    decl.SetFunctions({"F(" + parameters + ")=" + body});
    TTermParser parser;
    parser.SetDeclarations(&decl);
    EXPECT_EQ(decl.DeclarationErrors(), "") << count;
    parser.SetTerm("F(" + arguments + ")");
    EXPECT_EQ(parser.Evaluate(), count * (count + 1) / 2) << count << ": " << parser.ErrorText();
    EXPECT_EQ(parser.EvalError(), 0) << count;
  }
}

TEST(ExpandFunctions, MoreParametersThanCanBeNumberedAreRefusedWhenDeclared) {
  std::string parameters;
  for (int k = 1; k <= 119; ++k) parameters += (k == 1 ? "P" : ";P") + std::to_string(k);
  const std::string line = "F(" + parameters + ")=P1";
  TParserDeclarations decl;
  decl.SetFunctions({line});
  TTermParser parser;
  parser.SetDeclarations(&decl);
  EXPECT_EQ(decl.DeclarationErrors(), "\n\rUnvalid argument identifier in " + line);
  parser.SetTerm("F(1)");
  EXPECT_EQ(parser.EvalError(), 3);
}

// The expansion is bounded by how far it grows the term, not by the term's
// own length.
TEST(ExpandFunctions, ALongTermWithACallExpands) {
  TParserDeclarations decl;
  decl.SetFunctions({"F(X)=X"});
  TTermParser parser;
  parser.SetDeclarations(&decl);
  const std::string deep = std::string(33000, '(') + "1" + std::string(33000, ')');
  parser.SetTerm("F(1)+" + deep);
  EXPECT_EQ(parser.Evaluate(), 2) << parser.ErrorText();
  EXPECT_EQ(parser.EvalError(), 0);
}

TEST(ExpandFunctions, ABlowUpIsTooComplexNotRecursive) {
  TParserDeclarations decl;
  decl.SetFunctions({"F(X)=X*X*X*X*X*X*X*X"});
  TTermParser parser;
  parser.SetDeclarations(&decl);
  // 8^5 copies of the number, in a few hundred expansions.
  std::string term = "1234567890123456789";
  for (int i = 0; i < 5; ++i) term = "F(" + term + ")";
  int events = 0;
  parser.SetOnError([&](TTermParser&, const std::string&) { ++events; });
  parser.SetTerm(term);
  EXPECT_EQ(parser.EvalError(), 2);
  EXPECT_EQ(parser.ErrorText(), "Cannot analyze given Term");
  EXPECT_EQ(events, 1);
  std::string text = term;
  EXPECT_FALSE(decl.ExpandFunctions(text));
}

// A body whose call of its own function is dropped before it is reached (by
// a function expanded earlier that ignores its argument) is no recursion;
// the same declarations in the other order are.
TEST(PrepareFunctions, RecursionDependsOnWhichCallIsExpandedFirst) {
  {
    TParserDeclarations decl;
    decl.SetFunctions({"K(X)=7", "F(X)=K(F(X))"});
    TTermParser parser;
    parser.SetDeclarations(&decl);
    EXPECT_EQ(decl.DeclarationErrors(), "");
    parser.SetTerm("F(5)");
    EXPECT_EQ(parser.Evaluate(), 7);
  }
  {
    TParserDeclarations decl;
    decl.SetFunctions({"F(X)=K(F(X))", "K(X)=7"});
    TTermParser parser;
    parser.SetDeclarations(&decl);
    EXPECT_EQ(decl.DeclarationErrors(), "\n\rRecursive Function: F(X)=K(F(X))");
  }
  {
    TParserDeclarations decl;
    // Mutual recursion: F is refused; G, expanded after, no longer sees F as
    // a function, so its call of F stays unknown.
    decl.SetFunctions({"F(X)=G(X)+1", "G(X)=F(X)*2", "H(X)=X"});
    TTermParser parser;
    parser.SetDeclarations(&decl);
    EXPECT_EQ(decl.DeclarationErrors(), "\n\rRecursive Function: F(X)=G(X)+1");
    parser.SetTerm("G(1)");
    EXPECT_EQ(parser.EvalError(), 3);
    EXPECT_EQ(parser.ErrorText(), "Undefined Function: F");
  }
}

// Found by the declarations fuzzer: recursive bodies that copy a long
// argument into every level once took a tenth of a second to give up on.
TEST(PrepareFunctions, RecursiveBodiesWithLongArgumentsAreRefused) {
  const std::string filler(80, '\xD1');
  const std::string nulls(11, '\0');
  const Lines functions = {
      "F01X=F1(F0\x9AX))",
      "F1(X)=F1(F" + nulls + "1(X))",
      "F1(X)=F1(F" + nulls + "1(X))",
      "F3(X)=F2()",
      "F2FF3(X)=F2()",
      "F2(X)=F2(" + filler + "0(X))1",
  };
  TParserDeclarations decl;
  decl.SetFunctions(functions);
  TTermParser parser;
  parser.SetDeclarations(&decl);
  EXPECT_EQ(
      decl.DeclarationErrors(),
      "\n\rWrong Parentheses in Function " + functions[0] + "Duplicate identifier" + functions[2] +
          "\n\rRecursive Function: " + functions[1] + "\n\rRecursive Function: " + functions[3] +
          "\n\rRecursive Function: " + functions[4] + "\n\rRecursive Function: " + functions[5]);
  EXPECT_TRUE(decl.PreparedFunctions().empty());
}

// The bodies of one set of declarations share the work they may do, so that
// many costly bodies cost no more than one; a short body after them still
// has the work its own length allows.
TEST(PrepareFunctions, BodiesAfterOneThatUsedUpTheWorkStillPrepare) {
  std::string costly = "C(X)=";
  for (int i = 0; i < 900; ++i) costly += "I(";
  costly += std::string(8000, '1') + std::string(900, ')');
  TParserDeclarations decl;
  decl.SetFunctions({"I(A)=A", costly, "H(X)=I(I(X))+1", "K(X)=H(X)*2"});
  TTermParser parser;
  parser.SetDeclarations(&decl);
  EXPECT_EQ(decl.DeclarationErrors(), "\n\rRecursive Function: " + costly);
  EXPECT_EQ(decl.FunctionArities(), "111");
  parser.SetTerm("K(4)");
  EXPECT_EQ(parser.Evaluate(), 10) << parser.ErrorText();
}

// The call graph answers before expanding: a circle it reports must be one
// the expansion would follow for ever, never a call the expansion drops.
TEST(CallGraph, FindsTheCirclesTheExpansionCannotLeave) {
  struct Case {
    const char* Name;
    Lines Prepared;  // NAME=body entries, then the names
    std::string Arities;
    std::string Leads;  // per function: '1' leads into a circle, '0' not
  };
  const Case cases[] = {
      {"own call", {"F=F(?1)+1", "F"}, "1", "1"},
      {"two in a circle", {"F=G(?1)", "G=2*F(?1)", "F", "G"}, "11", "11"},
      {"chain into a circle", {"H=F(1)", "F=G(?1)", "G=F(?1)", "H", "F", "G"}, "111", "111"},
      {"no circle", {"H=F(1)+G(2)", "F=G(?1)", "G=?1", "H", "F", "G"}, "111", "000"},
      {"argument dropped", {"K=7", "F=K(F(?1))", "K", "F"}, "11", "00"},
      {"argument kept", {"K=?1+1", "F=K(F(?1))", "K", "F"}, "11", "01"},
      {"argument kept through another call",
       {"K=G(?1)", "G=?1+1", "F=K(F(?1))", "K", "G", "F"},
       "111",
       "001"},
      {"argument inside a call of an invalid function",
       {"K=G(?1)", "G=5", "F=K(F(?1))", "K", "G", "F"},
       "1#1",
       "001"},
      {"argument kept only inside a call",
       {"K=G(?1)", "G=5", "F=K(F(?1))", "K", "G", "F"},
       "111",
       "000"},
      {"argument of a later parameter dropped", {"K=?1", "F=K(1)(F(?1))", "K", "F"}, "22", "00"},
      {"group beyond the arity stays", {"K=7", "F=K(1)(F(?1))", "K", "F"}, "11", "01"},
      {"inside a built-in function", {"F=SIN(F(?1))", "F"}, "1", "1"},
      {"tail of a longer name", {"F=XF(?1)+2F(1)", "F"}, "1", "0"},
      {"behind a placeholder pair", {"F=?;F(1)", "F"}, "<", "0"},
      {"invalid member", {"F=G(?1)", "G=F(?1)", "F", "G"}, "1#", "00"},
      {"invalid function keeps its arguments", {"K=7", "F=K(F(?1))", "K", "F"}, "#1", "01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    CallGraph graph(c.Prepared, c.Arities);
    std::string leads;
    for (std::size_t k = 0; k < c.Arities.size(); ++k) {
      leads += graph.LeadsIntoCircle(k) ? '1' : '0';
    }
    EXPECT_EQ(leads, c.Leads);
  }
}

// A function refused meanwhile breaks the circles through it, and a call in
// its argument groups then counts.
TEST(CallGraph, AnswersForTheFunctionsValidAtTheTimeOfAsking) {
  const Lines prepared = {"F=G(?1)", "G=F(?1)+K(G(1))", "K=0", "F", "G", "K"};
  std::string arities = "111";
  CallGraph graph(prepared, arities);
  EXPECT_TRUE(graph.LeadsIntoCircle(0));
  arities[0] = '#';
  EXPECT_FALSE(graph.LeadsIntoCircle(1));
  arities[2] = '#';
  EXPECT_TRUE(graph.LeadsIntoCircle(1));
}

}  // namespace
}  // namespace engine
