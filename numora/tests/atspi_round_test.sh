#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays one whole round of the trainer with the keyboard only and reads it
# through the accessibility bus, as a screen reader would: its own X server
# (on a free display), its own D-Bus session with the AT-SPI bus, and
# an empty home folder. Usage:
#   atspi_round_test.sh <numora program> [language (de, en)] [zoom per cent]
# Exit status 77 (skipped) when the tools for it are not installed.
set -eu
program=$1
language=${2:-de}
zoom=${3:-100}
here=$(dirname "$0")

for tool in Xvfb dbus-run-session xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done
# The interpreter that has the AT-SPI bindings (a python3 of a virtual
# environment may come first on PATH).
python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import pyatspi' >/dev/null 2>&1; then python=$candidate; break; fi
done
[ -n "$python" ] || { echo "skipped: python3-pyatspi is missing"; exit 77; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A display of its own (lock files, sockets and a client's way in checked).
. "$here/../../scripts/private-xvfb.sh"
start_private_xvfb $(( $$ % 400 + 100 )) 1280x1024x24 "$work/xvfb.log" ||
  { echo "no X server could be started:"; cat "$work/xvfb.log"; exit 1; }

mkdir -p "$work/home/.config/zelv" "$work/runtime"
printf '[view]\nzoom=%s\n' "$zoom" >"$work/home/.config/zelv/numora.conf"
chmod 700 "$work/runtime"
export DISPLAY=":$display" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime" \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0
unset WAYLAND_DISPLAY SESSION_MANAGER
case "$language" in
  en) export LANGUAGE=en LANG=C.UTF-8 ;;
  *) export LANGUAGE=de LANG=C.UTF-8 ;;
esac

status=0
dbus-run-session -- "$python" "$here/atspi_round_test.py" "$program" "$language" "$zoom" \
  2>"$work/stderr.log" || status=$?
if [ "$status" -ne 0 ]; then
  grep -v -e 'Failed to set fd limit' -e 'Activating service' -e 'Successfully activated' \
    -e 'SpiRegistry daemon' "$work/stderr.log" >&2 || true
  echo "X server on :$display:" >&2
  cat "$work/xvfb.log" >&2
fi
exit "$status"
