#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a 12-picture game of Bildwort with the keyboard only, reading the
# board through the accessibility tree, as a blind child's screen reader
# would: in a virtual X display of its own (Xvfb picks a free display
# number) and a private D-Bus session with its own AT-SPI bus, so it runs
# beside other sessions and on a machine without a desktop.
#   keyboard_game_test.sh <bildwort program> [pictures (12)] [de|en (de)]
set -euo pipefail

program=$(realpath "$1")
pictures=${2:-12}
language=${3:-de}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A free display, well away from :0, that a client really reaches: Xvfb's
# own -displayfd search can pick a number another server is about to leave,
# and its socket exists a moment before it listens.
display=""
first=$(($$ % 400 + 500))
for offset in $(seq 0 40); do
  n=$((first + offset))
  { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
  Xvfb ":$n" -screen 0 1024x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 && { display=$n; break; }
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] && break
  kill "$xvfb" 2>/dev/null || true
done
if [ -z "$display" ]; then
  echo "keyboard_game_test: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
echo "$display" >"$work/display"

# A private home: the game's settings choose the pictures, and nothing of
# the user running the test is read or changed.
mkdir -p "$work/config/zelv" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
printf '[Spiel]\nBilder=%s\n' "$pictures" >"$work/config/zelv/bildwort.conf"

# Debian's own Python, which holds pyatspi, also where another python3
# comes first in PATH.
env -u SESSION_MANAGER -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS \
  DISPLAY=":$(cat "$work/display")" HOME="$work" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANGUAGE="$language" LANG=C.UTF-8 \
  dbus-run-session -- /usr/bin/python3 "$here/keyboard_game.py" "$program" "$pictures" "$language"
