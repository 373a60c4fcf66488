#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (fuzz/) with clang in build/fuzz and runs each
# one for a bounded time, then replays every input it kept, its seeds and the
# inputs in fuzz/regressions/<target> in a plain build (build/fuzz-replay)
# against the time budget. For the term and declarations
# targets that is 10 ms for preparing declarations and expanding the calls
# and 10 ms for analysing and evaluating; for the other targets 100 ms per
# input. An input fails only when it is over budget twice in a row, so
# one-time costs (Qt's fonts, a GAMMA product the engine keeps) do not count,
# and the engine's targets get 10 ms more for each GAMMA product computed.
# ZELV_FUZZ_BUDGET_MS and ZELV_FUZZ_EXPANSION_BUDGET_MS override the figures.
# Any crash, sanitizer report, broken invariant, hang, memory blow-up or slow
# input fails the script; the input that caused it is left in
# build/fuzz/findings.
#   scripts/fuzz.sh [seconds per target]   (default 60)
#   scripts/fuzz.sh 60 term rtf            (only the named targets)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(term declarations rtf word_list answer shared_object)

build=build/fuzz
replay_build=build/fuzz-replay
jobs=$(nproc 2>/dev/null || echo 2)
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
CC=clang CXX=clang++ cmake -S fuzz -B "$replay_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELV_FUZZ_REPLAY=ON >/dev/null
cmake --build "$build" -j "$jobs"
cmake --build "$replay_build" -j "$jobs"

mkdir -p "$build/findings"
failed=()
summary=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  log="$build/$target.log"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/findings/$target-")
  case "$target" in
    term | declarations) options+=(-dict=fuzz/term.dict) ;;
  esac
  echo "== $target: fuzzing for $seconds s"
  status=ok
  if ! "$build/${target}_fuzzer" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    status=FINDING
    grep -E "ERROR|invariant broken|\*\*\* |SUMMARY|Test unit written" "$log" | head -20 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  budget=100
  case "$target" in
    term | declarations) budget=10 ;;
  esac
  replayed=("$corpus" "fuzz/corpus/$target")
  [ -d "fuzz/regressions/$target" ] && replayed+=("fuzz/regressions/$target")
  if [ "$status" = ok ] && ! ZELV_FUZZ_BUDGET_MS="${ZELV_FUZZ_BUDGET_MS:-$budget}" \
       ZELV_FUZZ_EXPANSION_BUDGET_MS="${ZELV_FUZZ_EXPANSION_BUDGET_MS:-$budget}" timeout 300 \
       "$replay_build/${target}_replay" "${replayed[@]}" >>"$log" 2>&1; then
    status=SLOW
    grep -E "invariant broken|\*\*\* " "$log" | tail -4 || true
  fi
  summary+=("$(printf '%-13s %12s executions  %s' "$target" "${runs:-?}" "$status")")
  [ "$status" = ok ] || failed+=("$target")
done

echo "== fuzzing summary (log per target in $build/<target>.log)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in $build/findings)" >&2
  exit 1
fi
