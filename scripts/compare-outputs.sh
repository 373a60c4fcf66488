#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Records what the engine makes of a fixed set of inputs, as one text file, so
# that the files of two builds (before and after a change) can be compared
# with diff or cmp:
#   - termcalc on every input of the term fuzzer's corpus and regression
#     inputs, with the fuzzer's declared constants, functions and variables,
#     in each angle unit;
#   - termcalc on every input of the declarations fuzzer's corpus and
#     regression inputs, split as the fuzzer splits it: lines starting with
#     F declare functions, C constants, V variable names, all other lines
#     form the term;
#   - the tasks the trainer deals for fixed seeds (numora_print_tasks).
# Standard output, standard error and exit status of each run are recorded.
#
#   scripts/compare-outputs.sh OUTFILE [BUILD_DIR]     (default build/release)
#
# The build directory must be configured; termcalc and numora_print_tasks are
# built in it first. The number of recorded inputs goes to standard error.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUTFILE [BUILD_DIR]" >&2
  exit 2
fi
out=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${2:-$root/build/release}
build=$(cd "$build" && pwd)

cmake --build "$build" --target termcalc numora_print_tasks >&2
termcalc=$build/tools/termcalc
print_tasks=$build/numora/numora_print_tasks

# The declarations of the term fuzzer; the variables get its values.
term_options=(
  --const 'TWOPI=2*PI' --const 'HALF=0.5' --const 'BIG=1E4000' --const 'TINY=1E-4000'
  --const 'LOOP=LOOP+1' --const 'NEG=-3' --const 'FLAG=TRUE or FALSE'
  --func 'SQ(A)=A*A' --func 'F(X;Y)=X*Y+1' --func 'G(X)=SQ(X)+F(X;2)'
  --func 'H(A;B;C)=IF(A>B;C;-C) # comment' --func 'D(X)=X div 2 mod 7' --func 'R(X)=R(X)+1'
  --var t=0 --var x=2 --var y=-3.5 --var z=1e300 --var _alpha=7.25 --var n1=-1e-30
)
# Random functions draw from a fixed seed.
seed_options=(--seed 20261207)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Runs termcalc with the given arguments and appends what it wrote.
record() {
  local status=0
  "$termcalc" "$@" >"$tmp/stdout" 2>"$tmp/stderr" || status=$?
  {
    cat "$tmp/stdout"
    echo "-- stderr"
    cat "$tmp/stderr"
    echo "-- exit $status"
  } >>"$out"
}

: >"$out"
inputs=0

for file in "$root"/fuzz/corpus/term/* "$root"/fuzz/regressions/term/*; do
  [ -f "$file" ] || continue
  term=$(cat "$file"; echo x)
  term=${term%x}
  for angle in rad deg gon; do
    echo "== term/$(basename "$file") $angle" >>"$out"
    record "${term_options[@]}" "${seed_options[@]}" --angle "$angle" -- "$term"
  done
  inputs=$((inputs + 1))
done

for file in "$root"/fuzz/corpus/declarations/* "$root"/fuzz/regressions/declarations/*; do
  [ -f "$file" ] || continue
  args=()
  term=""
  # Every line, the last one also without a line break.
  while IFS= read -r line || [ -n "$line" ]; do
    case $line in
      F*) args+=(--func "${line:1}") ;;
      C*) args+=(--const "${line:1}") ;;
      V*) args+=(--var "${line:1}") ;;
      *) term+=$line ;;
    esac
  done <"$file"
  echo "== declarations/$(basename "$file")" >>"$out"
  record "${args[@]}" "${seed_options[@]}" -- "$term"
  inputs=$((inputs + 1))
done

echo "== tasks" >>"$out"
"$print_tasks" 20 1 42 20261207 >>"$out"
inputs=$((inputs + 1))

echo "recorded $inputs inputs ($(wc -l <"$out") lines) in $out" >&2
