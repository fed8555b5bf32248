#!/usr/bin/env python3
"""Deliberate faults, one at a time: does the test suite notice?

Each mutant of tests/mutants/faults.txt changes one piece of text in one source
file (a constant, a boundary, a condition, a field, a reset). The script
plants it, rebuilds build/, runs the tests (all but the package's, which build
it anew, and the browser's, whose build it does not remake), puts the file
back and reports whether the fault was caught and by which test cases:
googletest's cases by their XML reports, other test programs by their ctest
result.

  python3 tests/mutants/mutants.py [--build DIR] [--only PATTERN] [--matrix] [-- ctest args]

Without --matrix the tests stop at the first failing program. With it every
fault runs the whole suite, and DIR/mutants/matrix.md gets the table of faults
against the cases that catch them, and for each case the faults that no other
case catches: a case that catches none alone can go without losing a fault.

Run it from a tree built by scripts/build.sh, under an X server (the test
command's xvfb-run): it takes a minute or so a mutant. PATTERN, a regular
expression, picks the mutants in whose "<id> <file>" it is found.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time
from xml.etree import ElementTree

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


def run(command, log, env=None):
    with open(log, "w", encoding="utf-8") as out:
        return subprocess.call(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT, env=env)


def failed_programs(log):
    with open(log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    return sorted(set(re.findall(r"\d+ - (\S+) \(", text)))


def read_cases(xml_dir):
    """{case: passed} from the googletest XML reports in xml_dir, cases named
    'Program: Suite.Name'."""
    cases = {}
    for name in sorted(os.listdir(xml_dir)):
        program = os.path.splitext(name)[0]
        try:
            tree = ElementTree.parse(os.path.join(xml_dir, name))
        except ElementTree.ParseError:
            continue  # a report cut short by a crash; ctest's verdict counts
        for case in tree.iter("testcase"):
            if case.get("result", "completed") == "completed":
                case_name = f"{program}: {case.get('classname')}.{case.get('name')}"
                cases[case_name] = case.find("failure") is None
    return cases


def run_suite(build, ctest_args, logs, ident, whole):
    """Every case's result under the tree built now: {case: passed}. A failing
    program none of whose cases failed (a shell test, a crash, a hang) counts
    as one case of its own."""
    xml_dir = os.path.join(logs, "xml")
    shutil.rmtree(xml_dir, ignore_errors=True)
    os.makedirs(xml_dir)
    env = dict(os.environ, GTEST_OUTPUT="xml:" + xml_dir + "/")
    log = os.path.join(logs, ident + ".log")
    stop = [] if whole else ["--stop-on-failure"]
    run(["ctest", "--test-dir", build, "-E", "^(PackageBuild|PackageTest|WebTest)$", "-j", "2",
         "--output-on-failure"] +
        stop + ctest_args, log, env)
    cases = read_cases(xml_dir)
    for program in failed_programs(log):
        if all(passed for case, passed in cases.items() if case.startswith(program + ": ")):
            cases[program] = False
    return cases


def try_mutant(mutant, build, ctest_args, logs, whole):
    """The verdict, and the cases that catch the fault (None if it was not
    tried)."""
    path = os.path.join(ROOT, mutant["file"])
    with open(path, encoding="utf-8") as f:
        original = f.read()
    if original.count(mutant["old"]) != 1:
        return "not applicable (the text is not there exactly once)", None
    stat = os.stat(path)
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(mutant["old"], mutant["new"]))
        if run(["cmake", "--build", build, "-j", "2"],
               os.path.join(logs, mutant["id"] + ".build.log")) != 0:
            return "does not build", None
        cases = run_suite(build, ctest_args, logs, mutant["id"], whole)
        catchers = sorted(case for case, passed in cases.items() if not passed)
        return ("caught by " + ", ".join(catchers)) if catchers else "SURVIVED", catchers
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)
        # A fresh time stamp, so the next build compiles the original again.
        os.utime(path, (stat.st_atime, time.time()))


def write_matrix(path, results, all_cases):
    """results: [(mutant, verdict, catchers)]."""
    caught_by = {case: [] for case in all_cases}
    alone = {case: [] for case in all_cases}
    lines = ["# Faults and the test cases that catch them", "",
             "| Fault | What | Caught by |", "| --- | --- | --- |"]
    for mutant, verdict, catchers in results:
        lines.append(f"| {mutant['id']} | {mutant['what']} | "
                     f"{'<br>'.join(catchers) if catchers else '**' + verdict + '**'} |")
        for case in catchers or []:
            caught_by.setdefault(case, []).append(mutant["id"])
            alone.setdefault(case, [])
        if catchers and len(catchers) == 1:
            alone[catchers[0]].append(mutant["id"])
    lines += ["", "## Cases", "", "| Case | Catches | The only catcher of |", "| --- | --- | --- |"]
    for case in sorted(caught_by):
        lines.append(f"| {case} | {' '.join(caught_by[case]) or '-'} | "
                     f"{' '.join(alone[case]) or '-'} |")
    spare = sorted(case for case in alone if not alone[case])
    lines += ["", f"## Cases that catch no fault alone ({len(spare)} of {len(alone)})", ""]
    lines += [f"- {case}" + ("" if caught_by[case] else " (catches none)") for case in spare]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--only", default="")
    parser.add_argument("--matrix", action="store_true")
    parser.add_argument("ctest_args", nargs="*")
    options = parser.parse_args()
    build = os.path.join(ROOT, options.build)
    logs = os.path.join(build, "mutants")
    os.makedirs(logs, exist_ok=True)
    mutants = [m for m in read_mutants(os.path.join(ROOT, "tests", "mutants", "faults.txt"))
               if re.search(options.only, m["id"] + " " + m["file"])]
    results = []
    for mutant in mutants:
        verdict, catchers = try_mutant(mutant, build, options.ctest_args, logs, options.matrix)
        results.append((mutant, verdict, catchers))
        print(f"{mutant['id']} {mutant['file']}: {mutant['what']}: {verdict}", flush=True)
    run(["cmake", "--build", build, "-j", "2"], os.path.join(logs, "restore.log"))
    if options.matrix:
        # Every case the suite has, from a run of the unchanged tree: those
        # that catch nothing are listed too.
        all_cases = run_suite(build, options.ctest_args, logs, "unchanged", True)
        broken = sorted(case for case, passed in all_cases.items() if not passed)
        if broken:
            print("fails unchanged, so its catches say nothing: " + ", ".join(broken))
        write_matrix(os.path.join(logs, "matrix.md"), results, all_cases)
        print("matrix: " + os.path.join(logs, "matrix.md"))
    # A fault that no longer applies or builds is not caught either: its
    # entry needs mending.
    caught = sum(verdict.startswith("caught") for _, verdict, _ in results)
    print(f"mutants: {caught} of {len(mutants)} caught")
    return 0 if caught == len(mutants) else 1


if __name__ == "__main__":
    sys.exit(main())
