#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: MIT
# Runs a ThreadSanitizer program; any report fails it. Kernels that randomise
# mmap with more bits than the sanitizer's memory layout allows make it stop
# at once ("unexpected memory mapping"); the program then runs again without
# address-space randomisation.
set -u
program=$1
shift
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$program" "$@" >"$log" 2>&1
status=$?
if [ "$status" -ne 0 ] && grep -q "FATAL: ThreadSanitizer" "$log" &&
  ! grep -q "WARNING: ThreadSanitizer" "$log"; then
  echo "run_tsan: the sanitizer could not start; again without randomisation" >&2
  setarch "$(uname -m)" -R "$program" "$@" >"$log" 2>&1
  status=$?
fi
cat "$log"
exit "$status"
