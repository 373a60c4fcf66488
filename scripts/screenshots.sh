#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's pictures of the trainer from the program itself:
# docs/numora-main.png (the main window in the middle of a round),
# docs/numora-history.png (the history window after three rounds),
# docs/numora-main-200.png (the main window at 200 %) and
# docs/numora-english.png, docs/numora-english-200.png (the English
# interface at 100 % and 200 %) and docs/numora-progress.png (the progress
# window with six weeks of a sample child's practice).
# The windows are rendered off screen, so no display is needed.
# Usage: scripts/screenshots.sh
# Environment (optional):
#   ZELV_SHOTS_BUILD_DIR  build directory (default build/release)
#   ZELV_SHOTS_JOBS       parallel compile jobs (default 2)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${ZELV_SHOTS_BUILD_DIR:-build/release}
jobs=${ZELV_SHOTS_JOBS:-2}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target numora_screenshots numora_progress_pictures -j"$jobs"

mkdir -p docs
# A fixed language and time zone keep the date line's format the same on
# every machine that makes the pictures.
shots() {
  LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC QT_QPA_PLATFORM=offscreen \
    "$build/numora/numora_screenshots" docs "$@"
}
shots
shots de 200 numora-main-200
shots en 100 numora-english
shots en 200 numora-english-200
# Only the main windows of the extra pictures are shown.
rm -f docs/numora-main-200-history.png docs/numora-english-history.png \
  docs/numora-english-200-history.png
# The progress window; its printed report (also made) stays out of docs.
report=$(mktemp -d)
TZ=UTC QT_QPA_PLATFORM=offscreen "$build/numora/numora_progress_pictures" pictures "$report"
cp "$report/numora-progress.png" docs/
rm -rf "$report"
echo "wrote docs/numora-main.png, numora-history.png, numora-main-200.png," \
  "numora-english.png, numora-english-200.png and numora-progress.png"
