#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs only the engine into a scratch prefix, moves that prefix elsewhere
# (the package must not remember where it was installed), and builds and runs
# a consumer project against it with find_package(engine).
#   find_package_test.sh <build-dir> <consumer-src> <scratch> <project-version> [cxx-flags]
set -euo pipefail
build=$1 consumer=$2 scratch=$3 version=$4 cxxflags=${5:-}
major=${version%%.*}

rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --component dev --prefix "$scratch/staged" >"$scratch/install.log"
mv "$scratch/staged" "$scratch/prefix"
prefix=$scratch/prefix

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$prefix/include/engine/parser.h" ] || fail "headers not installed"
# Exactly the public interface: the parser and what it needs, the random
# generator, the embedders' expression facade and its C interface.
installed=$(cd "$prefix/include/engine" && ls | sort | tr '\n' ' ')
[ "$installed" = "engine_c.h expression.h extended.h parser.h program_format.h random.h status.h " ] ||
  fail "installed headers are: $installed"
config=$(find "$prefix" -name engineConfig.cmake -print -quit)
[ -n "$config" ] || fail "engineConfig.cmake not installed"
if grep -rq -- "$scratch/staged" "$(dirname "$config")"; then
  fail "the package config names the install prefix"
fi

configure() {  # $1: build folder, $2: version request
  cmake -S "$consumer" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" -DENGINE_VERSION_REQUEST="$2" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$cxxflags" >"$1.log" 2>&1
}

# Version requests find_package must accept or refuse (same major version).
accepted=("" "$major" "$major.0" "$version")
refused=("$((major + 1))" "$((major + 1)).0" "$major.999")
for request in "${accepted[@]}"; do
  configure "$scratch/accept-$request" "$request" ||
    { cat "$scratch/accept-$request.log" >&2; fail "find_package(engine $request) refused"; }
done
for request in "${refused[@]}"; do
  if configure "$scratch/refuse-$request" "$request"; then
    fail "find_package(engine $request) accepted version $version"
  fi
done

cmake --build "$scratch/accept-" >"$scratch/build.log" 2>&1 ||
  { cat "$scratch/build.log" >&2; fail "consumer does not build"; }

# Runs a consumer program with the terms of (term, expected line) pairs and
# fails unless it prints exactly the expected lines.
expect_output() {
  local program=$1
  shift
  local pairs=("$@") terms=() expected="" actual i
  for ((i = 0; i < ${#pairs[@]}; i += 2)); do
    terms+=("${pairs[i]}")
    expected+="${pairs[i + 1]}"$'\n'
  done
  actual=$("$scratch/accept-/$program" "${terms[@]}" || true)$'\n'
  if [ "$actual" != "$expected" ]; then
    echo "expected:" >&2; printf '%s' "$expected" >&2
    echo "actual:" >&2; printf '%s' "$actual" >&2
    fail "$program printed wrong values"
  fi
}

# The parser: term, expected line.
expect_output engine_consumer \
  "2*(3+4)" "14" \
  "SQ(SQ(2))" "16" \
  "(1+2" "error 1" \
  "" "error 2"

# The facade and the C interface: term, expected line of both programs (the
# value at (2, 3), then a batch at (1, 3), (2, 3), (3, 3)).
facade_cases=(
  "x*y+1" "7 4 7 10"
  "1/(x-3)" "-1 -0.5 -1 undefined"
  "x==y" "error 3 at 2"
  "(x+1" "error 1 at 0"
)
for program in engine_consumer_facade engine_consumer_c; do
  expect_output "$program" "${facade_cases[@]}"
done
echo "find_package(engine) works from a moved prefix"
