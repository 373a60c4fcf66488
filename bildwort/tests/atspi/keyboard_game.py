# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a game of Bildwort with the keyboard only.

Everything the test knows about the window it reads from the accessibility
tree (AT-SPI), and everything it does is a key press: the focused picture,
Enter to open the word list, Home/Down to go through the words, Enter to
pick, until no picture is left; then Tab to "Nein" in the end question and
Enter, which ends the program. Run by keyboard_game_test.sh inside a private X display and D-Bus
session. Arguments: the program's path, the number of pictures the settings
ask for, and the interface language (de or en).
"""

import re
import subprocess
import sys
import time

import pyatspi

KEYSYMS = {"Return": 0xFF0D, "Down": 0xFF54, "Home": 0xFF50,
           "Tab": 0xFF09}


def fail(message):
    print("keyboard_game: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def key(name):
    pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)
    time.sleep(0.05)


def wait_for(what, probe, timeout=10.0, diagnose=None):
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except Exception:  # the tree changes under the walk; try again
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            fail("timed out waiting for " + what + (": " + diagnose() if diagnose else ""))
        time.sleep(0.05)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "bildwort":
            return app
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def descendants(root, predicate):
    return pyatspi.findAllDescendants(root, predicate)


def selected_word(words):
    for i in range(words.childCount):
        child = words.getChildAtIndex(i)
        if child.getState().contains(pyatspi.STATE_SELECTED):
            return child.name
    return None


# The interface's texts the test reads, in both languages.
TEXTS = {
    "de": {"cell": "Bild in Reihe", "left": r"noch (\d+) Bild(er)?", "list": "Wortliste",
           "right": "Richtig: %s! \u2605",
           "wrong": "\u201e%s\u201c passt nicht. Versuch ein anderes Wort.",
           "question": "Bravo!", "no": "Nein"},
    "en": {"cell": "Picture in row", "left": r"(\d+) pictures? left", "list": "Word list",
           "right": "Right: %s! \u2605", "wrong": "\u201c%s\u201d does not fit. Try another word.",
           "question": "Well done!", "no": "No"},
}
TEXT = TEXTS["de"]


def answer(board, chosen):
    feedback = board.feedback()
    if feedback == TEXT["right"] % chosen:
        return "right"
    if feedback == TEXT["wrong"] % chosen:
        return "wrong"
    return None


def focused_button(dialog):
    buttons = descendants(dialog, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                          and n.getState().contains(pyatspi.STATE_FOCUSED))
    return buttons[0].name if buttons else None


class Board:
    """The game window as the accessibility tree shows it."""

    def __init__(self, app):
        self.app = app

    def cells(self):
        return descendants(self.app, lambda n: n.name.startswith(TEXT["cell"]) and showing(n))

    def focused_cell(self):
        for cell in self.cells():
            if cell.getState().contains(pyatspi.STATE_FOCUSED):
                return cell
        return None

    def remaining(self):
        labels = descendants(self.app, lambda n: re.fullmatch(TEXT["left"], n.name or ""))
        counts = {int(re.fullmatch(TEXT["left"], label.name).group(1)) for label in labels}
        return counts.pop() if len(counts) == 1 else None

    def feedback(self):
        right = TEXT["right"].split("%s")[0]
        wrong = TEXT["wrong"].split("%s")[1]
        found = descendants(self.app, lambda n: (n.name or "").startswith(right)
                            or (n.name or "").endswith(wrong))
        return found[0].name if found else None

    def word_list(self):
        lists = descendants(self.app, lambda n: n.name == TEXT["list"] and showing(n))
        return lists[0] if lists else None

    def dialog(self, caption):
        found = descendants(self.app, lambda n: n.getRole() in (pyatspi.ROLE_DIALOG,
                                                                 pyatspi.ROLE_ALERT)
                            and n.name == caption)
        return found[0] if found else None


def main():
    global TEXT
    pictures = int(sys.argv[2])
    TEXT = TEXTS[sys.argv[3]]
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = wait_for("the program on the accessibility bus", application, 30)
        board = Board(app)
        wait_for("%d pictures" % pictures,
                 lambda: len(board.cells()) == pictures and board.remaining() == pictures)
        picks = 0
        for left in range(pictures, 0, -1):
            wait_for("noch %d" % left, lambda: board.remaining() == left)
            if len(board.cells()) != left:
                fail("%d pictures shown, %d left" % (len(board.cells()), left))
            cell = wait_for("a focused picture", board.focused_cell)
            key("Return")
            words = wait_for("the word list", board.word_list)
            names = [words.getChildAtIndex(i).name for i in range(words.childCount)]
            if len(names) != left:
                fail("%d words for %d pictures" % (len(names), left))
            for name in names:
                if name and name in cell.name:
                    fail("the picture's name gives its word away: " + cell.name)
            key("Home")
            chosen = None
            for attempt in range(left):
                if attempt > 0:
                    key("Down")
                # The key has moved the selection once the tree shows a
                # word other than the last one.
                previous = chosen
                chosen = wait_for("a chosen word",
                                  lambda: (selected_word(words) or previous) != previous
                                  and selected_word(words))
                key("Return")
                picks += 1
                # A wrong pick is answered by naming the word; a right one
                # lowers the count.
                outcome = wait_for("the answer to " + chosen, lambda: answer(board, chosen),
                                   diagnose=lambda: "feedback %r, %s left, %r chosen"
                                   % (board.feedback(), board.remaining(), selected_word(words)))
                if outcome == "right":
                    break
            else:
                fail("no word of the list was accepted for " + cell.name)
            if left > 1:
                wait_for("the list to close", lambda: board.word_list() is None)
        print("keyboard_game: %d pictures solved in %d picks" % (pictures, picks))
        question = wait_for("the end question", lambda: board.dialog(TEXT["question"]))
        # "Nein" ends the program: Tab to it, reading the focused button.
        for _ in range(6):
            focused = wait_for("a focused button", lambda: focused_button(question))
            if focused == TEXT["no"]:
                break
            key("Tab")
            wait_for("the focus to move", lambda: focused_button(question) != focused)
        else:
            fail("no button \"%s\" in the end question" % TEXT["no"])
        key("Return")
        try:
            code = program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            fail("the program did not end after \"%s\"" % TEXT["no"])
        if code != 0:
            fail("the program ended with %d" % code)
        print("keyboard_game: ended by \"%s\" in the end question" % TEXT["no"])
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


if __name__ == "__main__":
    main()
