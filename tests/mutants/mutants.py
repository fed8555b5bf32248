#!/usr/bin/env python3
"""Deliberate faults, one at a time: does the test suite notice?

Each mutant of tests/mutants/faults.txt changes one piece of text in one source
file (a constant, a boundary, a condition, a field, a reset). The script
plants it, rebuilds build/, runs the tests (all but the packaging ones,
stopping at the first failure), puts the file back and reports whether the
fault was caught and by which test program.

  python3 tests/mutants/mutants.py [--build DIR] [--only PATTERN] [-- ctest args]

Run it from a tree built by scripts/build.sh, under an X server (the test
command's xvfb-run): it takes a few minutes a mutant. PATTERN picks mutants
whose id or file contains it.
"""
import argparse
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def read_mutants(path):
    """Blocks of '<id> <file>: <what>', '<<< old', '>>> new' (new may be
    empty); a line that starts with a space continues the text above it."""
    mutants = []
    current = None
    text = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith(" ") and text is not None:
                current[text] += "\n" + line
            elif line.startswith("<<< "):
                text = "old"
                current[text] = line[4:]
            elif line.startswith(">>>"):
                text = "new"
                current[text] = line[4:]
            else:
                text = None
                ident, rest = line.split(" ", 1)
                source, what = rest.split(": ", 1)
                current = {"id": ident, "file": source, "what": what}
                mutants.append(current)
    return mutants


def run(command, log):
    with open(log, "w", encoding="utf-8") as out:
        return subprocess.call(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT)


def failed_tests(log):
    with open(log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    return sorted(set(re.findall(r"\d+ - (\S+) \(", text)))


def try_mutant(mutant, build, ctest_args, logs):
    path = os.path.join(ROOT, mutant["file"])
    with open(path, encoding="utf-8") as f:
        original = f.read()
    if original.count(mutant["old"]) != 1:
        return "not applicable (the text is not there exactly once)"
    stat = os.stat(path)
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(mutant["old"], mutant["new"]))
        log = os.path.join(logs, mutant["id"] + ".log")
        if run(["cmake", "--build", build, "-j", "2"], log) != 0:
            return "does not build"
        if run(["ctest", "--test-dir", build, "-LE", "install", "-j", "2", "--stop-on-failure",
                "--output-on-failure"] + ctest_args, log) == 0:
            return "SURVIVED"
        return "caught by " + (", ".join(failed_tests(log)) or "?")
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)
        # A fresh time stamp, so the next build compiles the original again.
        os.utime(path, (stat.st_atime, time.time()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--only", default="")
    parser.add_argument("ctest_args", nargs="*")
    options = parser.parse_args()
    build = os.path.join(ROOT, options.build)
    logs = os.path.join(build, "mutants")
    os.makedirs(logs, exist_ok=True)
    mutants = [m for m in read_mutants(os.path.join(ROOT, "tests", "mutants", "faults.txt"))
               if options.only in m["id"] or options.only in m["file"]]
    caught = 0
    for mutant in mutants:
        verdict = try_mutant(mutant, build, options.ctest_args, logs)
        # A fault that no longer applies or builds is not caught either: its
        # entry needs mending.
        caught += verdict.startswith("caught")
        print(f"{mutant['id']} {mutant['file']}: {mutant['what']}: {verdict}", flush=True)
    run(["cmake", "--build", build, "-j", "2"], os.path.join(logs, "restore.log"))
    print(f"mutants: {caught} of {len(mutants)} caught")
    return 0 if caught == len(mutants) else 1


if __name__ == "__main__":
    sys.exit(main())
