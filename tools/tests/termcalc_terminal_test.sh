#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: MIT
# termcalc at a terminal, as a person uses it: runs the program inside tmux,
# types with send-keys and reads the screen with capture-pane. Covers line
# editing (Home, End, the arrows), ANS, the marks under an unknown name,
# Ctrl-D to leave, and the history recalled after a restart (arrow up and
# Ctrl-R search), kept in the XDG state folder.
#   termcalc_terminal_test.sh PATH-TO-TERMCALC
set -euo pipefail

termcalc=$1
command -v tmux >/dev/null || { echo "tmux is missing: run scripts/install-deps.sh" >&2; exit 1; }

work=$(mktemp -d)
socket=""
sessions=0
stop() {
  [ -z "$socket" ] || tmux -S "$socket" kill-server 2>/dev/null || true
}
trap 'stop; rm -rf "$work"' EXIT
mkdir -p "$work/home"
state="$work/state"

fail() {
  echo "FAIL: $1" >&2
  echo "--- screen:" >&2
  tmux -S "$socket" capture-pane -p -t calc >&2 || true
  exit 1
}

# A fresh terminal of 80 x 24 with termcalc in it; when termcalc ends, the
# pane shows its exit status and stays open to be read.
start() {
  stop
  # A server of its own for each run: a new one on the old socket could meet
  # the old one still shutting down.
  sessions=$((sessions + 1))
  socket="$work/tmux.$sessions"
  tmux -S "$socket" -f /dev/null new-session -d -x 80 -y 24 -s calc \
    "env HOME='$work/home' XDG_STATE_HOME='$state' '$termcalc'; echo \"exit status \$?\"; sleep 600"
  wait_for '^> ?$' "no prompt"
}

# Types once termcalc waits at an empty prompt, so that no key reaches the
# terminal before the line editor has taken it over.
type_keys() {
  for _ in $(seq 100); do
    if [ "$(screen | tail -n 1)" = ">" ]; then
      tmux -S "$socket" send-keys -t calc "$@"
      return 0
    fi
    sleep 0.1
  done
  fail "no empty prompt to type $*"
}

# Presses keys on a line already begun.
press() {
  tmux -S "$socket" send-keys -t calc "$@"
}

# Waits until the screen has a line matching the pattern (grep -E).
wait_for() {
  local pattern=$1 what=$2
  for _ in $(seq 100); do
    if tmux -S "$socket" capture-pane -p -t calc | grep -Eq -- "$pattern"; then return 0; fi
    sleep 0.1
  done
  fail "$what (waited for /$pattern/)"
}

# The screen's lines from the first to the last one that is not empty.
screen() {
  tmux -S "$socket" capture-pane -p -t calc | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

expect_screen() {
  local expected=$1 what=$2 got
  got=$(screen)
  if [ "$got" != "$expected" ]; then
    echo "--- expected:" >&2
    echo "$expected" >&2
    fail "$what"
  fi
}

start
# Editing: a term typed with a missing front, completed after Home and End;
# a digit inserted after moving left; a wrong character rubbed out.
type_keys '1+2' Enter
wait_for '^3$' "1+2 gave no 3"
type_keys '(4+5' Home '2*' End ')' Enter
wait_for '^18$' "Home and End did not edit the line"
type_keys '12' Left '3' Enter
wait_for '^132$' "the left arrow did not move the cursor"
type_keys '7x' BSpace '+1' Enter
wait_for '^8$' "backspace did not rub out"
# ANS is the last successful result; a failure leaves it alone.
type_keys 'ANS*2' Enter
wait_for '^16$' "ANS did not hold the last result"
type_keys 'foo(1)' Enter
wait_for '^error 3: Undefined Function: FOO$' "no error for an unknown function"
type_keys 'ans+1' Enter
wait_for '^17$' "a failure changed ANS"
type_keys C-d
wait_for '^exit status 1$' "Ctrl-D did not end termcalc"
expect_screen "> 1+2
3
> 2*(4+5)
18
> 132
132
> 7+1
8
> ANS*2
16
> foo(1)
  ^^^
error 3: Undefined Function: FOO
> ans+1
17
> ^D
exit status 1" "the session does not look as typed"

[ -s "$state/termcalc/history" ] || fail "no history file in the state folder"

# A new run recalls the history: the arrow up brings back the last term,
# Ctrl-R finds an older one by a piece of it. ANS starts at 0 again.
start
type_keys Up
wait_for '^> ans\+1$' "the arrow up did not recall the last term of the previous run"
press Enter
wait_for '^1$' "ANS did not start at 0"
type_keys C-r '4+'
wait_for '4\+' "Ctrl-R did not search"
press Enter
wait_for '^18$' "Ctrl-R did not find 2*(4+5)"
type_keys C-d
wait_for '^exit status 0$' "the second run did not end well"
expect_screen "> ans+1
1
> 2*(4+5)
18
> ^D
exit status 0" "the second session does not look as typed"
echo "termcalc at a terminal: all good"
