#!/usr/bin/env bash
# Makes docs/bildwort-board.png from the real program: starts bildwort in a
# virtual X display (Xvfb), clicks a picture as a child would, so the word
# list opens at the click point, and saves the window.
#   scripts/screenshot-bildwort.sh [build folder] [output .png]
# The build folder defaults to build/release (configured with the "release"
# preset when missing).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
out=${2:-docs/bildwort-board.png}

if [ ! -f "$build/CMakeCache.txt" ]; then
  if [ "$build" != build/release ]; then
    echo "screenshot-bildwort: $build is no configured build folder" >&2
    exit 2
  fi
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target bildwort zelvpics bildwort_screen_shot -j 2

mkdir -p "$(dirname "$out")"
# The window sits at (33, 34) on a black screen with no window manager. The
# click goes to the fourth picture of the third row (cells are 64 pixels with
# a one-pixel gap), below a menu bar of less than 40 pixels.
click_x=$((33 + 3 * 65 + 40))
click_y=$((34 + 2 * 65 + 60))

xvfb-run -a -s "-screen 0 1024x800x24 -br" \
  env QT_QPA_PLATFORM=xcb bash -c '
    "$1" &
    program=$!
    sleep 3
    rc=0
    "$2" --click "$3" "$4" "$5" || rc=$?
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    exit "$rc"' _ "$build/bildwort/bildwort" "$build/bildwort/bildwort_screen_shot" \
  "$click_x" "$click_y" "$out"
echo "screenshot-bildwort: wrote $out"
