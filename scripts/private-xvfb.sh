# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that need a real X display of their own (the AT-SPI
# games). start_private_xvfb FIRST GEOMETRY LOG starts Xvfb on a free display
# number from FIRST on and sets `display` and `xvfb_pid`; it fails when none
# of 40 numbers works.
#
# Xvfb's own -displayfd search can pick a number another server is about to
# leave, some servers run without lock files, a socket file exists a moment
# before its server listens, and a client may get through to another server
# that answers on the same number (the abstract socket outlives a deleted
# socket file). So a number counts as ours only when our server is still
# running, the lock file names it, and a client gets through.
start_private_xvfb() {
  local first=$1 geometry=$2 log=$3 n offset
  display=""
  xvfb_pid=""
  for offset in $(seq 0 40); do
    n=$((first + offset))
    { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
    Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp >"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb_pid" ] &&
        DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 &&
        kill -0 "$xvfb_pid" 2>/dev/null; then
        display=$n
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  return 1
}
