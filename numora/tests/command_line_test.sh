#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# "numora --help" and "numora --version" print and end, with no display at
# all (no X server, no Wayland, no Qt platform chosen), in German and in
# English. Usage: command_line_test.sh <numora program> <version>
set -u
program=$1
version=$2
failures=0
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# Runs the program without any display; prints its standard output, keeps
# the exit status and standard error in files.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    LANGUAGE="$language" LC_ALL=C.UTF-8 "$program" "$@" 2>"$home/err"
  echo $? >"$home/status"
}

check() {  # name, expected text, output
  name=$1 expected=$2 output=$3
  status=$(cat "$home/status")
  if [ "$status" != 0 ]; then
    echo "FAIL $name: exit status $status"; cat "$home/err"; failures=$((failures + 1))
  elif ! printf '%s\n' "$output" | grep -qF -- "$expected"; then
    echo "FAIL $name: \"$expected\" missing in:"; printf '%s\n' "$output"; failures=$((failures + 1))
  elif [ -s "$home/err" ]; then
    echo "FAIL $name: wrote to standard error:"; cat "$home/err"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

language=de
check "German --help" "den Lernfortschritt aller Kinder" "$(run --help)"
check "German -h" "--export-csv DATEI" "$(run -h)"
check "help before export" "Aufruf: numora" "$(run --export-csv "$home/x.csv" --help)"
[ -e "$home/x.csv" ] && { echo "FAIL help before export: a file was written"; failures=$((failures + 1)); }
check "--version" "Numora $version" "$(run --version)"
language=en
check "English --help" "--export-csv FILE" "$(run --help)"
check "English --version" "Numora $version" "$(run --version)"
# No progress file is made by asking.
[ -e "$home/data/zelv" ] || [ -e "$home/data/numora" ] && {
  echo "FAIL asking made files:"; find "$home/data"; failures=$((failures + 1)); }
exit $((failures > 0))
