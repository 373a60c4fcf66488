#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the freedesktop and AppStream validators on the desktop entries and
# metainfo files. Exit status 77 means skipped (validators not installed).
#   validate_test.sh <file>...
set -euo pipefail
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
status=0
for file in "$@"; do
  case $file in
    *.desktop) desktop-file-validate "$file" || status=1 ;;
    *.metainfo.xml) appstreamcli validate --no-net "$file" || status=1 ;;
    *) echo "don't know how to validate $file" >&2; status=1 ;;
  esac
done
exit $status
