#!/usr/bin/env python3
"""Runs every test executable of a native build under valgrind's memcheck.

Any memory error or any definite, indirect or possible leak fails the run. Test cases
that would take minutes under valgrind are filtered out by name (VALGRIND_SKIP below);
tests whose command is not an executable of the build (cmake -P scripts), and programs
labelled own_operator_new, are left out.
Usage: scripts/test-valgrind.py <build dir> [jobs]
"""
import json
import os
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

# GoogleTest names of cases too slow under valgrind's 20-50x slowdown. None so far: the
# slowest, Sha1Path/Sha1BitCount.WrapsIntoTheHighHalfAtTwoToThe29Bytes/Integer (about 1 GiB
# hashed; valgrind reports no SHA extensions, so the other path is skipped), takes
# some 40 s, alongside the child-process tests that take longer.
VALGRIND_SKIP = []

VALGRIND = ["valgrind", "--tool=memcheck", "--error-exitcode=1", "--leak-check=full",
            "--show-leak-kinds=definite,indirect,possible",
            "--errors-for-leak-kinds=definite,indirect,possible",
            # Our programs that a test starts (kestrow-sign) are checked too; system tools not.
            "--trace-children=yes", "--trace-children-skip=/bin/*,/usr/bin/*,/usr/sbin/*",
            "--quiet"]


def list_tests(build_dir):
    out = subprocess.run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"],
                         check=True, capture_output=True, text=True).stdout
    tests = []
    others = []
    for t in json.loads(out)["tests"]:
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        if props.get("DISABLED"):
            continue
        # Only our own executables: a test driven by a system tool (cmake -P ...) would
        # check that tool's memory, not ours.
        if not os.path.realpath(t["command"][0]).startswith(os.path.realpath(build_dir) + os.sep):
            others.append(t["name"])
            continue
        # A program with its own operator new: valgrind's replaces it inside the standard
        # library, so its allocations would not pair up.
        if "own_operator_new" in props.get("LABELS", []):
            others.append(t["name"])
            continue
        env = dict(os.environ)
        for item in props.get("ENVIRONMENT", []):
            key, _, value = item.partition("=")
            env[key] = value
        if VALGRIND_SKIP:
            env["GTEST_FILTER"] = "-" + ":".join(VALGRIND_SKIP)
        tests.append((t["name"], t["command"], props.get("WORKING_DIRECTORY", build_dir), env))
    return tests, others


def run(test):
    name, command, cwd, env = test
    start = time.monotonic()
    proc = subprocess.run(VALGRIND + command, cwd=cwd, env=env, capture_output=True, text=True)
    return name, proc, time.monotonic() - start


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    build_dir = os.path.abspath(sys.argv[1])
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else 2
    tests, others = list_tests(build_dir)
    if others:
        print("test-valgrind: not our executables or with their own operator new, left out: "
              + ", ".join(others))
    if not tests:
        print(f"test-valgrind: no tests in {build_dir}", file=sys.stderr)
        return 1
    print(f"test-valgrind: {len(tests)} test executables under memcheck; skipped cases: "
          + (", ".join(VALGRIND_SKIP) or "none"))
    failed = []
    with ThreadPoolExecutor(max_workers=jobs) as pool:
        for name, proc, seconds in pool.map(run, tests):
            if proc.returncode == 0:
                print(f"test-valgrind: {name} clean ({seconds:.0f} s)")
            else:
                failed.append(name)
                print(f"test-valgrind: {name} FAILED (exit {proc.returncode}, {seconds:.0f} s)")
                sys.stdout.write(proc.stdout[-4000:])
                sys.stdout.write(proc.stderr[-8000:])
    if failed:
        print("test-valgrind: failed: " + ", ".join(failed), file=sys.stderr)
        return 1
    print("test-valgrind: no memory errors, no leaks.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
