#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Injects each fault of mutants.txt into the program, one at a time, and runs every test.

A fault the suite does not fail on is a fault a user could meet unseen. Run from the root:
    python3 tests/mutants/run.py [--build DIR] [--only NAME...]
It builds without sanitizers and without optimisation (quick to rebuild), stops the tests at
the first failure, and puts every file back as it was, whatever happens. With --map it runs
every test on each fault instead, to show which tests are a fault's only catcher.
"""
import argparse
import os
import re
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SEPARATOR = re.compile(r"(?<!\\) \| ")


def unescape(text):
    return text.replace("\\|", "|").replace("\\n", "\n")


def read_mutants(path):
    mutants = []
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = SEPARATOR.split(line)
            if len(fields) != 4:
                sys.exit(f"mutants.txt: not four fields: {line}")
            name, file, before, after = (unescape(field.strip()) for field in fields)
            mutants.append((name, file, before, after))
    return mutants


def run(command, log, timeout):
    with open(log, "w", encoding="utf-8") as out:
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return "timeout"


def run_tests(build, log, whole=False):
    stop = [] if whole else ["--stop-on-failure"]
    return run(["ctest", "--test-dir", build, "-j2", *stop, "--timeout", "300",
                "--output-on-failure"], log, 3600)


def failed_tests(log):
    with open(log, encoding="utf-8", errors="replace") as out:
        text = out.read()
    failed = re.findall(r"^\s*\d+ - (\S+) \(", text, re.MULTILINE)
    return failed or ["a timeout"]


def configure(build):
    if not os.path.exists(os.path.join(ROOT, build, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ".", "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
                        "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DPIXTINT_BUILD_TESTS=ON",
                        "-DPIXTINT_BUILD_BENCH=OFF"], cwd=ROOT, check=True,
                       stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)


def matches_once(mutant):
    path = os.path.join(ROOT, mutant[1])
    if not os.path.exists(path):
        return False
    with open(path, encoding="utf-8") as source:
        return source.read().count(mutant[2]) == 1


def try_mutant(build, mutant, logs, whole=False):
    name, file, before, after = mutant
    if not matches_once(mutant):
        return "stale"
    path = os.path.join(ROOT, file)
    with open(path, encoding="utf-8") as source:
        original = source.read()
    try:
        with open(path, "w", encoding="utf-8") as source:
            source.write(original.replace(before, after))
        if run(["cmake", "--build", build, "-j2"], os.path.join(logs, name + ".build"), 1200):
            return "does not build"
        log = os.path.join(logs, name + ".tests")
        if run_tests(build, log, whole) == 0:
            return "MISSED"
        return "caught by " + ", ".join(failed_tests(log))
    finally:
        with open(path, "w", encoding="utf-8") as source:
            source.write(original)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build-mutants")
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--map", action="store_true",
                        help="run every test on each fault, to see which tests catch it alone")
    parser.add_argument("--check", action="store_true",
                        help="only say which faults no longer match the code")
    arguments = parser.parse_args()
    mutants = read_mutants(os.path.join(ROOT, "tests", "mutants", "mutants.txt"))
    if arguments.only:
        mutants = [m for m in mutants if m[0] in arguments.only]
    if arguments.check:
        stale = [m[0] for m in mutants if not matches_once(m)]
        print(f"{len(mutants)} faults, {len(stale)} stale: {' '.join(stale)}")
        return 1 if stale else 0
    configure(arguments.build)
    logs = os.path.join(ROOT, arguments.build, "mutants")
    os.makedirs(logs, exist_ok=True)
    # A test that fails without a fault would be counted as catching every one.
    if run_tests(arguments.build, os.path.join(logs, "no-fault.tests")) != 0:
        sys.exit("the tests fail without a fault: " + ", ".join(
            failed_tests(os.path.join(logs, "no-fault.tests"))))
    results = {}
    for mutant in mutants:
        started = time.monotonic()
        results[mutant[0]] = try_mutant(arguments.build, mutant, logs, arguments.map)
        print(f"{mutant[0]:32} {results[mutant[0]]} ({time.monotonic() - started:.0f} s)",
              flush=True)
    # Every file is back: the build left behind is the program's own again.
    subprocess.run(["cmake", "--build", arguments.build, "-j2"], cwd=ROOT,
                   stdout=subprocess.DEVNULL)
    counts = {}
    for outcome in results.values():
        outcome = "caught" if outcome.startswith("caught") else outcome
        counts[outcome] = counts.get(outcome, 0) + 1
    print(", ".join(f"{count} {outcome}" for outcome, count in sorted(counts.items())))
    return 1 if counts.get("MISSED") else 0


if __name__ == "__main__":
    sys.exit(main())
