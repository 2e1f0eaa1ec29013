#!/usr/bin/env python3
"""Counts the test cases of one ctest run from its LastTest.log, over the
entries whose names match a pattern (all when none is given), and prints
"<passed> <failed> <skipped> <entries>".

A ctest entry may hold many cases: a GoogleTest suite says how many passed,
failed and skipped; a Python unittest file says how many it ran and how many
failed or erred or were skipped; any other entry is one case. An entry that
failed without naming a failed case (a crash, a timeout) counts one failure.
"""
import re
import sys


def count_entry(text, passed):
    ok = bad = skipped = 0
    gtest_passed = re.findall(r"^\[  PASSED  \] (\d+) tests?\.", text, re.M)
    gtest_failed = re.findall(r"^\[  FAILED  \] (\d+) tests?, listed below", text, re.M)
    gtest_skipped = re.findall(r"^\[  SKIPPED \] (\d+) tests?, listed below", text, re.M)
    ran = re.findall(r"^Ran (\d+) tests? in ", text, re.M)
    if gtest_passed or gtest_failed:
        ok = sum(map(int, gtest_passed))
        bad = sum(map(int, gtest_failed))
        skipped = sum(map(int, gtest_skipped))
        ok -= skipped  # GoogleTest counts its skipped cases among the passed ones
    elif ran:
        total = int(ran[-1])
        summary = re.findall(r"^(?:OK|FAILED) ?\((.*)\)\s*$", text, re.M)
        counts = dict((k, int(v)) for k, v in re.findall(r"(\w+)=(\d+)", summary[-1] if summary else ""))
        bad = counts.get("failures", 0) + counts.get("errors", 0) + counts.get("unexpected_successes", 0)
        skipped = counts.get("skipped", 0)
        ok = total - bad - skipped - counts.get("expected_failures", 0)
    else:
        ok, bad = (1, 0) if passed else (0, 1)
    if not passed and bad == 0:
        bad = 1
    return ok, bad, skipped


def main(path, pattern=None):
    with open(path, encoding="utf-8", errors="replace") as f:
        log = f.read()
    totals = [0, 0, 0, 0]
    # Each entry runs from "<n>/<N> Testing: <name>" to "Test Passed." or "Test Failed." (or another end).
    parts = re.split(r"^\d+/\d+ Testing: (.*)$", log, flags=re.M)[1:]
    for name, body in zip(parts[0::2], parts[1::2]):
        if pattern and not re.search(pattern, name.strip()):
            continue
        passed = re.search(r"^Test Passed\.\s*$", body, re.M) is not None
        for i, n in enumerate(count_entry(body, passed)):
            totals[i] += n
        totals[3] += 1
    print(*totals)


if __name__ == "__main__":
    # count_cases.py <LastTest.log> [<entry name pattern>]: prints
    # "<passed> <failed> <skipped> <entries>" over the entries whose names match.
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
