#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the existing build tree, unpacks it into a
# scratch root and runs the programs from there: termcalc on a term, the Qt
# programs on the offscreen platform until a timeout ends them.
#   deb_test.sh <build-dir> <scratch> <installed targets...>
# Exit status 77 means skipped (no Debian tools on this machine).
set -euo pipefail
build=$1 scratch=$2
shift 2
targets=" $* "
has() { [[ $targets == *" $1 "* ]]; }
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cpack dpkg-deb file readelf timeout; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

# ---- control fields
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zelv ] || fail "package name is '$(field Package)'"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
depends=$(field Depends)
needed=()
if has termcalc || has numora || has bildwort; then needed+=(libc6 libstdc++6); fi
if has numora || has bildwort; then
  needed+=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-translations-l10n)
fi
for package in "${needed[@]}"; do
  # A glob, not a regular expression: "libstdc++6" holds "+" signs.
  [[ ", $depends," == *[\ ,]"$package"[\ ,\(]* ]] || fail "Depends lacks $package: $depends"
done

# ---- contents
root=$scratch/root
dpkg-deb -x "$deb" "$root"
root=$(realpath "$root")
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ ! -e "$root/usr/local" ] || fail "files in /usr/local"

expect=()  # paths below usr/ that must exist
if has engine; then
  expect+=(include/engine/parser.h)
  expect+=("$(cd "$root/usr" && find lib -name libengine.a | head -n1)")
  expect+=("$(cd "$root/usr" && find lib -path '*/cmake/engine/engineConfig.cmake' | head -n1)")
  expect+=("$(cd "$root/usr" && find lib -path '*/cmake/engine/engineConfigVersion.cmake' | head -n1)")
fi
if has termcalc; then expect+=(bin/termcalc share/man/man1/termcalc.1.gz); fi
for program in numora bildwort; do
  has "$program" || continue
  id=org.zelv.$program
  expect+=(bin/$program share/applications/$id.desktop share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg)
  for size in 16 22 24 32 48 64 128 256; do
    expect+=(share/icons/hicolor/${size}x${size}/apps/$id.png)
  done
done
if has bildwort; then expect+=(libexec/bildwort/bildwort); fi
expect+=(share/doc/zelv/copyright)
for path in "${expect[@]}"; do
  [ -n "$path" ] && [ -e "$root/usr/$path" ] || fail "missing in the package: usr/$path"
done

# The copyright file is in Debian's machine-readable format, and every
# licence it names is spelled out in a stand-alone licence paragraph.
copyright=$root/usr/share/doc/zelv/copyright
if /usr/bin/python3 -c 'import debian.copyright' 2>/dev/null; then
  /usr/bin/python3 - "$copyright" <<'PY' || fail "usr/share/doc/zelv/copyright is not a valid DEP-5 file"
import re, sys
from debian.copyright import Copyright
with open(sys.argv[1], encoding="utf-8") as f:
    c = Copyright(f, strict=True)
files = list(c.all_files_paragraphs())
assert files and files[0].files == ("*",), "the first Files paragraph must cover *"
named = {p.license.synopsis for p in c.all_license_paragraphs()}
for p in files:
    for name in re.split(r"\s+(?:AND|OR)\s+", p.license.synopsis):
        assert name in named, f"no licence text for {name}"
PY
else
  grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
    fail "copyright file lacks the DEP-5 Format line"
fi

# Each PNG has the size its folder names.
while IFS= read -r png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file -b "$png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," ||
    fail "$png is not a ${size} PNG: $(file -b "$png")"
done < <(find "$root/usr/share/icons" -name '*.png')

if has termcalc; then
  gzip -t "$root/usr/share/man/man1/termcalc.1.gz" || fail "man page is not valid gzip"
  zcat "$root/usr/share/man/man1/termcalc.1.gz" | grep -q '^\.TH TERMCALC 1' || fail "man page header"
fi

# Installed binaries must not point back into the build tree.
while IFS= read -r binary; do
  if readelf -d "$binary" 2>/dev/null | grep -Eq 'R(UN)?PATH'; then
    fail "$binary keeps a run path: $(readelf -d "$binary" | grep -E 'R(UN)?PATH')"
  fi
done < <(find "$root/usr/bin" "$root/usr/libexec" -type f 2>/dev/null)

# ---- running from the unpacked root
if has termcalc; then
  out=$("$root/usr/bin/termcalc" '2*(3+4)') || fail "termcalc exited with $?"
  [ "$out" = 14 ] || fail "termcalc '2*(3+4)' printed '$out'"
  out=$(printf '2*(3+4)\n' | "$root/usr/bin/termcalc") || fail "termcalc on stdin exited with $?"
  [ "$out" = 14 ] || fail "echo '2*(3+4)' | termcalc printed '$out'"
fi

mkdir -p "$scratch/home" "$scratch/run"
chmod 700 "$scratch/run"
# Starts a program for a few seconds. A GUI program that is still running
# when the timeout ends it has started; an early exit, a crash or a missing
# library fails. The dynamic loader's log shows which libraries it loaded.
start_gui() {  # $1: program
  local log=$scratch/$1.log rc=0
  HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/run QT_QPA_PLATFORM=offscreen \
    LD_DEBUG=libs LD_DEBUG_OUTPUT=$scratch/ld-$1 \
    timeout -s TERM 4 "$root/usr/bin/$1" >"$log" 2>&1 || rc=$?
  if [ "$rc" -ne 124 ]; then
    cat "$log" >&2
    fail "$1 ended with status $rc before the timeout"
  fi
  # The scratch root itself lies inside the build tree; only libraries from
  # elsewhere in the tree count.
  if grep -h 'calling init:' "$scratch"/ld-"$1".* | grep -v -- "$root/" |
    grep -q -- "$(realpath "$build")/"; then
    fail "$1 loaded a library from the build tree"
  fi
}
if has numora; then start_gui numora; fi
if has bildwort; then
  start_gui bildwort
  if has zelvpics; then
    grep -h 'calling init:' "$scratch"/ld-bildwort.* |
      grep -q "$root/usr/libexec/bildwort/[^/]*zelvpics" ||
      fail "bildwort did not load the picture library installed beside it"
  fi
fi
echo "package $(basename "$deb") installs and runs"
