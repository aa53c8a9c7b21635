#!/usr/bin/env python3
"""Prints the counts of a ctest run from its JUnit report (ctest --output-junit FILE), as
"passed failed skipped". They are counted as ctest's own summary counts them: a test skipped on
purpose (its skip code or expression matched, or it is disabled) is skipped; one that did not
run for another reason (its fixture failed, its program is missing) has failed.
With --failures it prints instead each failed test's name and the end of what it printed, for
the last lines of a run, where a reader of a long log looks first."""
import sys
import xml.etree.ElementTree as ElementTree


def outcome(case):
    status = case.get("status")
    if status == "run":
        return "passed"
    if status == "disabled":
        return "skipped"
    skipped = case.find("skipped")
    reason = skipped.get("message", "") if skipped is not None else ""
    if status == "notrun" and reason.startswith(("SKIP_RETURN_CODE", "SKIP_REGULAR_EXPRESSION")):
        return "skipped"
    return "failed"


FAILURE_LINES = 30


def print_failures(cases):
    for case in cases:
        if outcome(case) != "failed":
            continue
        output = (case.findtext("system-out") or "").rstrip().splitlines()
        print(f"--- {case.get('name')} ({case.get('time', '?')} s)")
        if len(output) > FAILURE_LINES:
            print(f"    [{len(output) - FAILURE_LINES} lines before these]")
        for line in output[-FAILURE_LINES:] or ["(it printed nothing)"]:
            print(f"    {line}")


def main():
    failures = sys.argv[1] == "--failures"
    cases = list(ElementTree.parse(sys.argv[-1]).getroot().iter("testcase"))
    if failures:
        print_failures(cases)
        return
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    for case in cases:
        counts[outcome(case)] += 1
    print(counts["passed"], counts["failed"], counts["skipped"])


if __name__ == "__main__":
    main()
