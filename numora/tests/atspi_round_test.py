# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""One round of Numora with the keyboard only, seen through AT-SPI.

Run by atspi_round_test.sh inside a private D-Bus session and X server. Keys
go in through xdotool; everything the test knows of the program it reads from
the accessibility tree: the task it has the focus on (as spoken arithmetic),
the input dialog, the closing message and the status rows.
"""
import os
import re
import subprocess
import sys
import time
from fractions import Fraction

import pyatspi

PROGRAM, LANGUAGE, ZOOM = sys.argv[1], sys.argv[2], int(sys.argv[3])

# Spoken arithmetic back to a term; longer phrases first.
WORDS = {
    "de": [("Klammer auf", "("), ("Klammer zu", ")"), ("geteilt durch", "/"),
           ("plus", "+"), ("minus", "-"), ("mal", "*"), ("hoch", "**")],
    "en": [("open bracket", "("), ("close bracket", ")"), ("divided by", "/"),
           ("to the power of", "**"), ("plus", "+"), ("minus", "-"), ("times", "*")],
}[LANGUAGE]
TEXTS = {
    "de": {"input": "Bitte das Ergebnis eingeben:", "bravo": "Bravo, alle Aufgaben gelöst!",
           "special": r"Als Belohnung gibt es (\d+) Sonderpunkte",
           "round": "Diese Runde: {points} Punkte, 0 Fehler,",
           "total": "Gesamt: {points} Punkte, 0 Fehler,",
           "progress": "{solved} von 15 Aufgaben gelöst", "round2": "2. Runde: mittel",
           "child": "Es übt: {child}"},
    "en": {"input": "Please enter the result:", "bravo": "Well done, all tasks solved!",
           "special": r"you get (\d+) bonus points",
           "round": "This round: {points} points, 0 errors,",
           "total": "Total: {points} points, 0 errors,",
           "progress": "{solved} of 15 tasks solved", "round2": "Round 2: medium",
           "child": "Practising: {child}"},
}[LANGUAGE]


def fail(message):
    print("FAIL: " + message, flush=True)
    app = application()
    if app is not None:
        for node in descendants(app):
            if showing(node):
                print("  %s %r %s %s" % (node.getRoleName(), node.name,
                                      "focused" if node.getState().contains(
                                          pyatspi.STATE_FOCUSED) else "",
                                      "active" if node.getState().contains(pyatspi.STATE_ACTIVE) else ""))
    sys.exit(1)


def wait_for(what, find, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "numora":
            return app
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def focused_task(app):
    for node in descendants(app):
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.getState().contains(
                pyatspi.STATE_FOCUSED) and node.parent.getRole() != pyatspi.ROLE_DIALOG:
            return node
    return None


def focused_field(dialog):
    for node in descendants(dialog):
        if node.getRole() == pyatspi.ROLE_TEXT and node.getState().contains(
                pyatspi.STATE_FOCUSED):
            return node
    return None


def field_text(field):
    text = field.queryText()
    return text.getText(0, text.characterCount)


def window_named(app, name):
    for window in app:
        if window is not None and window.name == name and showing(window):
            return window
    return None


def text_of_window_containing(app, text):
    for window in app:
        if window is None or not showing(window):
            continue
        for node in descendants(window):
            if text in (node.name or ""):
                return node.name
    return None


def status_bars(app):
    return [n.name for n in descendants(app) if n.getRole() == pyatspi.ROLE_STATUS_BAR]


def progress(app):
    for node in descendants(app):
        if node.getRole() == pyatspi.ROLE_PROGRESS_BAR:
            return node.name
    return None


def answer_of(spoken):
    term = spoken
    for word, symbol in WORDS:
        term = term.replace(word, " " + symbol + " ")
    if not re.fullmatch(r"[\d\s()+\-*/.]+", term):
        fail("not spoken arithmetic: %r" % spoken)
    term = re.sub(r"(\d+)", r"Fraction(\1)", term)
    value = eval(term, {"Fraction": Fraction})  # only numbers and operators, checked above
    whole = int(value)  # towards zero, as the trainer compares
    return str(whole)


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def main():
    env = dict(os.environ)
    # A program that could not reach the X server (other servers starting on
    # this machine may disturb ours for a moment) is started again.
    for attempt in range(3):
        program = subprocess.Popen([PROGRAM], env=env)
        deadline = time.monotonic() + 10
        while program.poll() is None and application() is None and time.monotonic() < deadline:
            time.sleep(0.1)
        if program.poll() is None:
            break
        print("the program ended at start (attempt %d), starting it again" % (attempt + 1),
              flush=True)
    try:
        play(program)
    finally:
        program.terminate()
        program.wait(10)
    print("PASS", flush=True)


def play(program):
    app = wait_for("the program on the accessibility bus", application)
    # The title names the child who practises, and so does the window's
    # description (a new child here, named after the login).
    main_window = wait_for("the main window", lambda: [
        w for w in app if w is not None and w.getRole() == pyatspi.ROLE_FRAME
        and showing(w) and w.name.startswith("Numora – ")][0])
    child = main_window.name[len("Numora – "):]
    if not child or main_window.description != TEXTS["child"].format(child=child):
        fail("the main window %r does not say who practises: %r" %
             (main_window.name, main_window.description))
    # The start-up window hides itself after three seconds; then the window
    # manager would hand the main window the keyboard (there is none here).
    wait_for("the start-up window to hide", lambda: not any(
        w is not None and w.getRole() == pyatspi.ROLE_DIALOG and showing(w) for w in app))
    # The window at the user's zoom (its client area is 421 pixels wide at 100 %).
    width = main_window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width
    if width < 421 * ZOOM // 100:
        fail("the main window is %d pixels wide at %d %%" % (width, ZOOM))
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Numora – ",
                    "windowfocus", "--sync"], check=True, stdout=subprocess.DEVNULL)
    wait_for("a task with the keyboard focus", lambda: focused_task(app))

    solved = 0
    special = None
    while solved < 15:
        task = wait_for("the next task to take the focus", lambda: focused_task(app))
        spoken = task.name
        answer = answer_of(spoken)
        print("task %d: %s = %s" % (solved + 1, spoken, answer), flush=True)
        key("Return")
        dialog = wait_for("the input dialog", lambda: window_named(app, TEXTS["input"]))
        field = wait_for("the keyboard in the answer field", lambda: focused_field(dialog))
        type_text(answer)
        wait_for("the answer %s in the field" % answer, lambda: field_text(field) == answer)
        key("Return")
        solved += 1
        if solved < 15:
            wait_for("the task to be solved (%s = %s)" % (spoken, answer),
                     lambda: not window_named(app, TEXTS["input"]) and progress(app) ==
                     TEXTS["progress"].format(solved=solved))
            bars = status_bars(app)
            expected = TEXTS["round"].format(points=2 * solved)
            if not any(bar.startswith(expected) for bar in bars):
                fail("after %d tasks the status rows read %r" % (solved, bars))
        else:
            message = wait_for("the message of the completed round",
                               lambda: text_of_window_containing(app, TEXTS["bravo"]))
            match = re.search(TEXTS["special"], message)
            if not match:
                fail("no special points in %r" % message)
            special = int(match.group(1))
            key("Return")

    if special not in (2, 4, 6):
        fail("special points %r at level mittel" % special)
    total = TEXTS["total"].format(points=30 + special)
    wait_for("the totals " + total, lambda: any(b.startswith(total) for b in status_bars(app)))
    wait_for("the second round", lambda: TEXTS["round2"] in status_bars(app))
    wait_for("a fresh progress bar", lambda: progress(app) == TEXTS["progress"].format(solved=0))
    wait_for("the focus back on a task", lambda: focused_task(app))
    if program.poll() is not None:
        fail("the program ended during the round")


main()
