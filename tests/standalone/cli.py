#!/usr/bin/env python3
"""The standalone application's command line and its start without a display.

usage: cli.py <application> <version>

--help and --version print and exit 0 without a display; an unknown argument is refused with
status 2; without a display the application prints exactly one line and exits with status 1
(whether DISPLAY is unset or names a server that is not there).
"""

import os
import subprocess
import sys
import tempfile

NO_DISPLAY = "plimsar: no display; set DISPLAY or use plimsar-render for offline rendering\n"


def run(application, arguments, display):
    env = dict(os.environ, HOME=tempfile.mkdtemp(prefix="plimsar-cli-"))
    env.pop("DISPLAY", None)
    if display is not None:
        env["DISPLAY"] = display
    result = subprocess.run([application] + arguments, env=env, capture_output=True, text=True, timeout=60)
    return result.returncode, result.stdout, result.stderr


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    application, version = sys.argv[1], sys.argv[2]
    # A display number no server of this machine uses.
    absent = ":%d" % (4000 + os.getpid() % 1000)
    cases = [
        (["--version"], None, 0, "plimsar %s\n" % version, ""),
        (["--help"], None, 0, None, ""),
        (["--frobnicate"], None, 2, "", "plimsar: unknown argument '--frobnicate' (see --help)\n"),
        ([], absent, 1, "", NO_DISPLAY),
    ]
    # Without DISPLAY the library tries display :0, which may be a real one on this machine.
    if not os.path.exists("/tmp/.X11-unix/X0"):
        cases.append(([], None, 1, "", NO_DISPLAY))
    failures = 0
    for arguments, display, code, out, err in cases:
        got = run(application, arguments, display)
        expected_out = out if out is not None else got[1]
        if got != (code, expected_out, err) or (out is None and not got[1].startswith("usage: plimsar")):
            failures += 1
            print("FAILED %r (DISPLAY=%r): got %r" % (arguments, display, got))
    print("cli: %s" % ("passed" if failures == 0 else "%d FAILED" % failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
