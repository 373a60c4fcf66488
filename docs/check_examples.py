#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the examples of a Markdown manual and compares what they print.

Two kinds of fenced blocks are examples:
- ```console blocks: each line "$ COMMAND" is run by bash, with the built
  termcalc first on PATH; the lines up to the next "$ " line or the end of
  the block are what the command must print on standard output.
- ```cpp and ```c blocks that define main(): compiled against the engine
  and run; when the next fenced block is a ```text block, that is what the
  program must print. C is compiled as C and linked with the C++ compiler.
Every other block is text. Exit status 0 when every example agrees.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^```(\w*)\s*$")


def blocks(path):
    """(language, first line number, lines) of every fenced block."""
    result = []
    language, start, body = None, 0, []
    with open(path, encoding="utf-8") as manual:
        for number, line in enumerate(manual, 1):
            line = line.rstrip("\n")
            match = FENCE.match(line)
            if language is None and match:
                language, start, body = match.group(1), number + 1, []
            elif language is not None and line == "```":
                result.append((language, start, body))
                language = None
            elif language is not None:
                body.append(line)
    if language is not None:
        sys.exit(f"{path}:{start}: block not closed")
    return result


def sessions(lines, start):
    """(line number, command, expected output lines) of a console block."""
    result = []
    for offset, line in enumerate(lines):
        if line.startswith("$ "):
            result.append((start + offset, line[2:], []))
        elif result:
            result[-1][2].append(line)
        else:
            sys.exit(f"line {start + offset}: console block must start with '$ '")
    return result


def compare(where, expected, actual):
    if expected == actual:
        return True
    print(f"{where}: the output differs")
    print("  expected:\n    " + "\n    ".join(expected))
    print("  actual:\n    " + "\n    ".join(actual))
    return False


def run_session(where, command, expected, environment):
    done = subprocess.run(["bash", "-c", command], capture_output=True, text=True,
                          env=environment, timeout=60)
    return compare(where, expected, done.stdout.splitlines())


def run_program(where, language, source, expected, options, workdir):
    suffix = ".c" if language == "c" else ".cpp"
    source_file = os.path.join(workdir, "example" + suffix)
    program = os.path.join(workdir, "example")
    with open(source_file, "w", encoding="utf-8") as out:
        out.write("\n".join(source) + "\n")
    include = ["-I", options.include]
    flags = options.flags.split()
    if language == "c":
        objects = os.path.join(workdir, "example.o")
        steps = [[options.cc, "-std=c11", "-Wall", "-Wextra", "-Werror", *flags, *include,
                  "-c", source_file, "-o", objects],
                 [options.cxx, *flags, objects, options.engine, "-o", program]]
    else:
        steps = [[options.cxx, "-std=c++20", "-Wall", "-Wextra", "-Werror", *flags, *include,
                  source_file, options.engine, "-o", program]]
    for step in steps:
        built = subprocess.run(step, capture_output=True, text=True)
        if built.returncode != 0:
            print(f"{where}: does not build\n{built.stderr}")
            return False
    done = subprocess.run([program], capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        print(f"{where}: exit status {done.returncode}\n{done.stderr}")
        return False
    return expected is None or compare(where, expected, done.stdout.splitlines())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("manual")
    parser.add_argument("--termcalc", required=True)
    parser.add_argument("--include", required=True, help="the engine's public headers")
    parser.add_argument("--engine", required=True, help="the engine library")
    parser.add_argument("--cxx", default="c++")
    parser.add_argument("--cc", default="cc")
    parser.add_argument("--flags", default="", help="extra compiler and linker flags")
    options = parser.parse_args()

    environment = dict(os.environ)
    environment["PATH"] = (os.path.dirname(os.path.abspath(options.termcalc)) + os.pathsep
                           + environment.get("PATH", ""))
    # The examples must not depend on the user's history or configuration.
    environment["LC_ALL"] = "C"
    found = blocks(options.manual)
    checked = failed = 0
    with tempfile.TemporaryDirectory() as workdir:
        environment["HOME"] = workdir
        for index, (language, start, lines) in enumerate(found):
            if language == "console":
                for number, command, expected in sessions(lines, start):
                    checked += 1
                    where = f"{options.manual}:{number}"
                    failed += not run_session(where, command, expected, environment)
            elif language in ("cpp", "c") and any("main(" in line for line in lines):
                following = found[index + 1] if index + 1 < len(found) else None
                expected = following[2] if following and following[0] == "text" else None
                checked += 1
                where = f"{options.manual}:{start}"
                failed += not run_program(where, language, lines, expected, options, workdir)
    print(f"{checked} examples, {failed} failed")
    return 1 if failed or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
