"""Helpers shared by the renderer's script tests: running the renderer, and failing with a
message that says what was expected."""

import os
import subprocess
import sys
import tempfile


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def renderer():
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} <plimsar-render>")
    return os.path.abspath(sys.argv[1])


def run(args, cwd, expect_status=0):
    """Runs the renderer in cwd; returns (stdout, stderr) after checking the exit status."""
    result = subprocess.run([renderer()] + [str(a) for a in args], cwd=cwd, capture_output=True,
                            text=True, timeout=240, stdin=subprocess.DEVNULL)
    if result.returncode != expect_status:
        raise Failure(f"plimsar-render {' '.join(map(str, args))}: exit status {result.returncode}, "
                      f"expected {expect_status}; stderr: {result.stderr!r}")
    return result.stdout, result.stderr


def main(test):
    """Runs test(folder) in a fresh temporary folder; prints the outcome and exits accordingly."""
    name = os.path.basename(sys.argv[0])
    with tempfile.TemporaryDirectory(prefix="plimsar-render-") as folder:
        try:
            test(folder)
        except Failure as failure:
            print(f"{name}: FAILED: {failure}")
            sys.exit(1)
    print(f"{name}: passed")
