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
  status=$?
  # What the X server said, when the game failed: whether it stopped early.
  if [ "$status" -ne 0 ] && [ -s "$work/xvfb.log" ]; then cat "$work/xvfb.log" >&2; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

# A display of its own, well away from :0 and from numora's rounds.
. "$here/../../../scripts/private-xvfb.sh"
if ! start_private_xvfb $(($$ % 400 + 500)) 1024x800x24 "$work/xvfb.log"; then
  echo "keyboard_game_test: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
xvfb=$xvfb_pid
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
