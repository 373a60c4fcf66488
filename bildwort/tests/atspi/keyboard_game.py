"""Plays a 12-picture game of Bildwort with the keyboard only.

Everything the test knows about the window it reads from the accessibility
tree (AT-SPI), and everything it does is a key press: the focused picture,
Enter to open the word list, Home/Down to go through the words, Enter to
pick, until no picture is left; then Tab to "Nein" in the end question and
Enter, which ends the program. Run by keyboard_game_test.sh inside a private X display and D-Bus
session; the program's path is the only argument.
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


def answer(board, chosen):
    feedback = board.feedback()
    if feedback == "Richtig: %s! \u2605" % chosen:
        return "right"
    if feedback == "\u201e%s\u201c passt nicht. Versuch ein anderes Wort." % chosen:
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
        return descendants(self.app, lambda n: n.name.startswith("Bild in Reihe") and showing(n))

    def focused_cell(self):
        for cell in self.cells():
            if cell.getState().contains(pyatspi.STATE_FOCUSED):
                return cell
        return None

    def remaining(self):
        labels = descendants(self.app, lambda n: re.fullmatch(r"noch \d+ Bild(er)?", n.name or ""))
        counts = {int(label.name.split()[1]) for label in labels}
        return counts.pop() if len(counts) == 1 else None

    def feedback(self):
        found = descendants(self.app, lambda n: "passt nicht" in (n.name or "")
                            or (n.name or "").startswith("Richtig"))
        return found[0].name if found else None

    def word_list(self):
        lists = descendants(self.app, lambda n: n.name == "Wortliste" and showing(n))
        return lists[0] if lists else None

    def dialog(self, caption):
        found = descendants(self.app, lambda n: n.getRole() in (pyatspi.ROLE_DIALOG,
                                                                 pyatspi.ROLE_ALERT)
                            and n.name == caption)
        return found[0] if found else None


def main():
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = wait_for("the program on the accessibility bus", application, 30)
        board = Board(app)
        wait_for("12 pictures", lambda: len(board.cells()) == 12 and board.remaining() == 12)
        picks = 0
        for left in range(12, 0, -1):
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
        print("keyboard_game: 12 pictures solved in %d picks" % picks)
        question = wait_for("the end question", lambda: board.dialog("Bravo!"))
        # "Nein" ends the program: Tab to it, reading the focused button.
        for _ in range(6):
            focused = wait_for("a focused button", lambda: focused_button(question))
            if focused == "Nein":
                break
            key("Tab")
            wait_for("the focus to move", lambda: focused_button(question) != focused)
        else:
            fail("no button \"Nein\" in the end question")
        key("Return")
        try:
            code = program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            fail("the program did not end after \"Nein\"")
        if code != 0:
            fail("the program ended with %d" % code)
        print("keyboard_game: ended by \"Nein\" in the end question")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


if __name__ == "__main__":
    main()
