#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Times fuzz inputs in the plain optimised replay build (build/fuzz-replay):
# the CPU milliseconds the target's whole round takes for each file. For the
# declarations target that is Prepare, SetTerm and Evaluate, with the
# fuzzer's checks (a second Evaluate, a second SetTerm), so the figure is an
# upper bound of one preparation and evaluation. The first file of a run
# carries one-time costs; a GAMMA product, once computed, is kept.
#   scripts/time-inputs.sh TARGET FILE|FOLDER...
#   scripts/time-inputs.sh declarations fuzz/corpus/declarations
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { sed -n '4,11p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
target=$1
shift
build=build/fuzz-replay
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELV_FUZZ_REPLAY=ON >/dev/null
cmake --build "$build" --target "${target}_replay" >/dev/null
# A generous budget: this is a measurement, not the check of scripts/fuzz.sh.
ZELV_REPLAY_TIMES=1 ZELV_FUZZ_BUDGET_MS=100000 "$build/${target}_replay" "$@"
