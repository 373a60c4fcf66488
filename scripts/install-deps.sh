#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing the project
# needs. This is the only list of system packages in the project. Idempotent:
# when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  # toolchain and build
  g++ cmake ninja-build pkg-config
  # tests
  libgtest-dev libgmock-dev
  # the Qt programs and their offscreen tests
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-dejavu-core fonts-liberation2
  # the sample picture library is rendered from these emoji at build time
  fonts-noto-color-emoji
  # numora's progress store (SQLite through Qt SQL), its charts and the
  # report's PDF (Qt Print Support is part of qt6-base-dev); pdftoppm to look
  # at a printed report
  libqt6sql6-sqlite qt6-charts-dev poppler-utils
  # translations: lupdate/lrelease and their CMake package (Qt6LinguistTools);
  # Qt's own catalogues, so that its print and file dialogs speak German
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # screenshots and trying the programs in a real X window
  xvfb xauth
  # the accessibility test: a real AT-SPI bus in a private D-Bus session
  at-spi2-core dbus-x11 python3-pyatspi xdotool
  # termcalc's line editing and history, and its test in a real terminal
  libedit-dev tmux
  # reading words aloud (Qt TextToSpeech through speech-dispatcher and
  # espeak-ng; its CMake package needs qt6-declarative-dev on Debian 12) and
  # checking the sound: a PulseAudio null sink recorded with parec, sox
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  pulseaudio pulseaudio-utils sox
  # benchmarks
  libbenchmark-dev libmuparser-dev
  # fuzzing (libFuzzer, sanitizer runtimes)
  clang libclang-rt-14-dev
  # packaging and desktop integration checks
  dpkg-dev file desktop-file-utils appstream
  # licence checks: REUSE compliance and the machine-readable copyright file
  reuse python3-debian
  # the engine's API reference from its headers (./dev docs)
  doxygen
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
