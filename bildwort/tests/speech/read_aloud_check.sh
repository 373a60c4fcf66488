#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a word the game reads aloud really sounds: a private
# PulseAudio with a null sink as the only sound device, the word said
# through the game's speaker (Qt TextToSpeech -> speech-dispatcher ->
# espeak-ng), the sink's monitor recorded with parec, and sox measuring the
# recording: loud enough and about as long as a spoken word.
#   read_aloud_check.sh <bildwort_say_word> [word] [de|en]
set -euo pipefail

say=$(realpath "$1")
word=${2:-Schmetterling}
language=${3:-de}
work=$(mktemp -d)
pulse=""
recorder=""
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null && wait "$recorder" 2>/dev/null
  [ -n "$pulse" ] && kill "$pulse" 2>/dev/null && wait "$pulse" 2>/dev/null
  # speech-dispatcher, started on demand for this runtime folder, would
  # end by itself a few seconds after its last client; end it now.
  local speechd="$work/runtime/speech-dispatcher/pid/speech-dispatcher.pid"
  [ -s "$speechd" ] && kill "$(cat "$speechd")" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/runtime" "$work/config"
chmod 700 "$work/runtime"
export HOME="$work" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
unset PULSE_SERVER DBUS_SESSION_BUS_ADDRESS SPEECHD_ADDRESS

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  --load="module-native-protocol-unix" \
  --load="module-null-sink sink_name=record sink_properties=device.description=record" \
  --load="module-always-sink" >"$work/pulse.log" 2>&1 &
pulse=$!
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
pactl info >/dev/null 2>&1 || { cat "$work/pulse.log" >&2; echo "read_aloud_check: PulseAudio did not start" >&2; exit 1; }
pactl set-default-sink record

parec -d record.monitor --file-format=wav "$work/word.wav" &
recorder=$!
sleep 0.3
rc=0
dbus-run-session -- "$say" "$word" "$language" || rc=$?
sleep 0.5
kill "$recorder"
wait "$recorder" 2>/dev/null || true
recorder=""
if [ "$rc" -ne 0 ]; then
  echo "read_aloud_check: saying the word failed ($rc)" >&2
  exit 1
fi

# The sound alone: silence cut from both ends.
sox "$work/word.wav" "$work/spoken.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
length=$(soxi -D "$work/spoken.wav")
rms=$(sox "$work/word.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
peak=$(sox "$work/word.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
echo "read_aloud_check: \"$word\" ($language): spoken for $length s, RMS $rms, peak $peak"
awk -v l="$length" -v r="$rms" 'BEGIN { exit !(l >= 0.3 && l <= 4.0 && r >= 0.005) }' || {
  echo "read_aloud_check: FAIL: silent or not the length of a word" >&2
  exit 1
}
if [ -n "${KEEP_RECORDING:-}" ]; then cp "$work/word.wav" "$KEEP_RECORDING"; fi
