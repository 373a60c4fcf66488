#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the pictures of Bildwort 2 in docs/ from the real program: starts
# bildwort in a virtual X display (Xvfb, a free display number) with a
# private settings folder, clicks a picture as a child would, so the word
# list opens there, and saves the window.
#   docs/bildwort-board.png        German, 100 %, the list opened on a
#                                  picture of the bottom row
#   docs/bildwort-english-200.png  the English interface at 200 %
#   scripts/screenshot-bildwort.sh [build folder] [output folder]
# The build folder defaults to build/release (configured with the "release"
# preset when missing).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
out=${2:-docs}

if [ ! -f "$build/CMakeCache.txt" ]; then
  if [ "$build" != build/release ]; then
    echo "screenshot-bildwort: $build is no configured build folder" >&2
    exit 2
  fi
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target bildwort zelvpics bildwort_screen_shot -j 2
mkdir -p "$out"

# shot <language> <zoom %> <screen size> <output> <screen_shot arguments...>
shot() {
  local language=$1 zoom=$2 screen=$3 output=$4
  shift 4
  local home
  home=$(mktemp -d)
  mkdir -p "$home/config/zelv"
  printf '[view]\nzoom=%s\n' "$zoom" >"$home/config/zelv/bildwort.conf"
  xvfb-run -a -s "-screen 0 ${screen}x24 -br" \
    env QT_QPA_PLATFORM=xcb HOME="$home" XDG_CONFIG_HOME="$home/config" LANGUAGE="$language" \
    bash -c '
      "$1" &
      program=$!
      sleep 3
      rc=0
      tool=$2
      shift 2
      "$tool" "$@" || rc=$?
      kill "$program" 2>/dev/null || true
      wait "$program" 2>/dev/null || true
      exit "$rc"' _ "$build/bildwort/bildwort" "$build/bildwort/bildwort_screen_shot" "$@" "$output"
  rm -rf "$home"
  echo "screenshot-bildwort: wrote $output"
}

# The window sits at (33, 34) on a black screen with no window manager;
# cells are 64 pixels with a one-pixel gap below a menu bar of less than 30
# pixels. The click goes to the eighth picture of the tenth (bottom) row,
# where the list has to open above the click point to stay inside.
shot de 100 1024x800 "$out/bildwort-board.png" \
  --click $((33 + 7 * 65 + 40)) $((34 + 26 + 9 * 65 + 40))
# At 200 % everything is twice the size: the sixth picture of the fourth
# row, then Down twice to choose a word.
shot en 200 1800x1500 "$out/bildwort-english-200.png" \
  --click $((33 + 5 * 130 + 70)) $((34 + 50 + 3 * 130 + 70)) --key Down --key Down
