// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
// Evaluates each argument as a term with one declared function and prints the
// value, or "error <code>", one line per term.
#include <engine/parser.h>

#include <cstdio>

int main(int argc, char** argv) {
  engine::TParserDeclarations declarations;
  declarations.Functions().Add("SQ(A)=A*A");
  engine::TTermParser parser;
  parser.SetDeclarations(&declarations);
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    parser.SetTerm(argv[i]);
    const long double value = parser.EvalError() == 0 ? parser.Evaluate() : 0.0L;
    if (parser.EvalError() != 0) {
      std::printf("error %d\n", parser.EvalError());
      status = 1;
    } else {
      std::printf("%.21Lg\n", value);
    }
  }
  return status;
}
