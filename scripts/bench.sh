#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and runs them, printing one table:
#   - the engine against muparser (analyse + evaluate, evaluate only);
#   - a 1000 x 1000 grid: the facade's batch evaluation against muparser;
#   - the facade one point at a time against the parser's loop, batches of
#     8 and 1,024 doubles, memory per compiled expression;
#   - the trainer's task making, ms per round by level over 1000 rounds;
#   - termcalc as a filter of 200,000 task texts against a muparser filter;
#   - the peak resident memory of numora and bildwort from start to first
#     window.
# Usage: scripts/bench.sh
# Environment (all optional):
#   ZELV_BENCH_BUILD_DIR  build directory (default build/bench)
#   ZELV_BENCH_JOBS       parallel compile jobs (default 2)
#   ZELV_BENCH_MIN_TIME   seconds per Google Benchmark repetition (default 0.1)
#   ZELV_BENCH_REPS       repetitions; the fastest counts (default 3)
#   ZELV_BENCH_ROUNDS     task-making rounds per level (default 1000)
#   ZELV_BENCH_SKIP_DEPS  set to 1 to skip scripts/install-deps.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${ZELV_BENCH_BUILD_DIR:-build/bench}
jobs=${ZELV_BENCH_JOBS:-2}
min_time=${ZELV_BENCH_MIN_TIME:-0.1}
reps=${ZELV_BENCH_REPS:-3}
rounds=${ZELV_BENCH_ROUNDS:-1000}

if [ "${ZELV_BENCH_SKIP_DEPS:-0}" != 1 ]; then
  scripts/install-deps.sh
fi

echo "== building in $build" >&2
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZELV_BUILD_BENCH=ON -DZELV_BUILD_TESTS=OFF >"$build.configure.log" 2>&1 || {
  cat "$build.configure.log" >&2
  exit 1
}
rm -f "$build.configure.log"

# The programs are built when their folders define them; a missing one is
# reported in the memory section instead of failing the run.
available=$(cmake --build "$build" --target help | sed -n 's/^\([A-Za-z_0-9]*\): .*/\1/p')
has_target() { grep -qx "$1" <<<"$available"; }
targets=(bench_engine bench_grid bench_muparser_filter termcalc bench_facade)
for t in bench_task_making numora_print_tasks numora bildwort; do
  if has_target "$t"; then targets+=("$t"); fi
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}" >&2

log="$build/bench-details.log"
: >"$log"

echo
echo "== engine against muparser (ns per operation: fastest CPU time of $reps repetitions)"
"$build/bench/bench_engine" --benchmark_min_time="$min_time" \
  --benchmark_repetitions="$reps" --benchmark_color=false 2>>"$log"

echo
echo "== grid: 1000 x 1000 points, the facade's batch against muparser's loop (ns per point)"
"$build/bench/bench_grid" "$reps"

echo
echo "== the facade: per point against the parser's loop, batches, memory (CPU time)"
"$build/bench/bench_facade"

echo
echo "== task making"
if [ -x "$build/bench/bench_task_making" ]; then
  "$build/bench/bench_task_making" "$rounds"
else
  echo "bench_task_making was not built (numora's object library is missing)."
fi

# termcalc reading task texts from standard input, one per line, against
# the same filter on muparser: the CPU time (user + system) of the whole
# process, the fastest of the repetitions, output to /dev/null.
cpu_seconds() {
  local TIMEFORMAT='%3U %3S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f", $1 + $2 }'
}
echo
echo "== termcalc as a filter: 200,000 task texts (CPU seconds, fastest of $reps)"
if [ -x "$build/numora/numora_print_tasks" ]; then
  tasks=$(mktemp)
  # The texts the trainer deals, 45 a round (15 per level), for three seeds.
  "$build/numora/numora_print_tasks" 1500 1 42 20261207 |
    sed -n 's/^seed [0-9]* [^ ]* round [0-9]*: \(.*\) = [^=]*$/\1/p' | head -n 200000 >"$tasks"
  best_termcalc="" best_muparser=""
  for _ in $(seq "$reps"); do
    t=$(cpu_seconds "$build/tools/termcalc" <"$tasks")
    m=$(cpu_seconds "$build/bench/bench_muparser_filter" <"$tasks")
    best_termcalc=$(awk -v a="$t" -v b="$best_termcalc" 'BEGIN { print (b == "" || a < b) ? a : b }')
    best_muparser=$(awk -v a="$m" -v b="$best_muparser" 'BEGIN { print (b == "" || a < b) ? a : b }')
  done
  failed=$("$build/bench/bench_muparser_filter" <"$tasks" | grep -c '^error' || true)
  awk -v n="$(wc -l <"$tasks")" -v t="$best_termcalc" -v m="$best_muparser" -v f="$failed" 'BEGIN {
    printf "%-22s %8s %12s\n", "filter", "seconds", "ns per line"
    printf "%-22s %8.3f %12.0f\n", "termcalc", t, t / n * 1e9
    printf "%-22s %8.3f %12.0f\n", "muparser", m, m / n * 1e9
    r = t > 0 ? m / t : 0
    printf "muparser/termcalc %.2f (target >= 10) %s; %d lines, %d muparser errors\n",
      r, (r >= 10 ? "met" : "MISSED"), n, f }'
  rm -f "$tasks"
else
  echo "numora_print_tasks was not built (the Qt programs are missing); not measured."
fi

# Peak resident memory (VmHWM) of a Qt program from its start until its first
# window is painted and the program has gone idle. It runs on Qt's offscreen
# platform with an empty home directory, so nothing of the user's is read or
# written; Qt's painting log tells when the first top-level window is drawn.
peak_memory() {
  local name=$1 program=$2
  local home pid hwm stderr_file
  home=$(mktemp -d)
  stderr_file="$home/stderr.log"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="qt.widgets.painting=true" \
    "$program" >/dev/null 2>"$stderr_file" &
  pid=$!
  local painted=0 idle=0 last_cpu="" deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    if [ $painted = 0 ] && grep -q "painting: Syncing" "$stderr_file"; then painted=1; fi
    if [ $painted = 1 ]; then
      # Idle: asleep, and no CPU time used for 0.3 s.
      local stat state cpu
      stat=$(cat "/proc/$pid/stat" 2>/dev/null) || break
      stat=${stat##*) }
      state=${stat%% *}
      cpu=$(awk '{print $12 + $13}' <<<"$stat")
      if [ "$state" = S ] && [ "$cpu" = "$last_cpu" ]; then
        idle=$((idle + 1))
      else
        idle=0
      fi
      last_cpu=$cpu
      if [ $idle -ge 3 ]; then
        hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        break
      fi
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ -n "${hwm:-}" ]; then
    awk -v n="$name" -v kb="$hwm" 'BEGIN {
      mb = kb / 1024; printf "%-9s %8.1f MB   %s\n", n, mb, (mb < 80 ? "met" : "MISSED") }'
  elif [ $painted = 0 ]; then
    echo "$name: no window was painted within 60 s; see its messages:"
    sed 's/^/  /' "$stderr_file" | grep -v "qt.widgets.painting" | head -5
  else
    echo "$name: ended or hung before going idle; no figure."
  fi
  rm -rf "$home"
}

echo
echo "== peak resident memory, start to first window (target < 80 MB each)"
for program in numora bildwort; do
  if [ -x "$build/$program/$program" ]; then
    peak_memory "$program" "$build/$program/$program"
  else
    echo "$program: not built in this tree (no executable $build/$program/$program); not measured."
  fi
done
echo
echo "Google Benchmark's own report: $log"
