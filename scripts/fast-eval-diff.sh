#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The engine's fast execution form against its interpreter on many random
# programs: raw postfix programs (well formed or not, up to the 500-record
# limit) and programs compiled from random terms and from the term fuzzer's
# corpora, each run with four sets of variable values (infinities, NaN, huge
# and tiny values among them, and now and then a signalling NaN, an
# unnormal, a pseudo-denormal or another encoding written byte by byte).
# Wherever the fast form decides a run, the interpreter must give the same
# value bit for bit, status 0 and no message, and the run must leave no
# failure flag of its own and the x87 registers empty.
# Prints the counts; fails on any mismatch.
#   scripts/fast-eval-diff.sh [programs per kind] [seed]   (default 5000000, 0)
# Runs with different seeds check different programs.
# Environment: ZELV_FAST_DIFF_BUILD_DIR (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."

programs=${1:-5000000}
seed=${2:-0}
build=${ZELV_FAST_DIFF_BUILD_DIR:-build/release}
[ -d "$build" ] || cmake --preset release >/dev/null
cmake --build "$build" --target engine_fast_program_test >&2

# The corpus folders of the term fuzzer: the seeds, and what a fuzzing run
# kept, when there is one.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
number=0
for folder in fuzz/corpus/term build/fuzz/corpus/term; do
  [ -d "$folder" ] || continue
  while IFS= read -r -d '' file; do
    number=$((number + 1))
    cp "$file" "$corpus/$number"
  done < <(find "$folder" -type f -print0)
done
echo "corpus terms: $(find "$corpus" -type f | wc -l) (each run 25 times with 4 value sets)"

ZELV_FAST_DIFF_PROGRAMS=$programs ZELV_FAST_DIFF_SEED=$seed ZELV_FAST_DIFF_CORPUS=$corpus \
  "$build/engine/engine_fast_program_test" --gtest_filter='FastProgramDifferential.*' \
  | grep -E '^(raw programs|compiled terms|\[  (PASSED|FAILED)|.*Failure)'
