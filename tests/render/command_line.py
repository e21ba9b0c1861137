#!/usr/bin/env python3
"""The renderer as a command: exit status 0 and a quiet standard error on success; one line on
standard error, exit status 2 and no file left behind on a problem or when interrupted; the same
arguments give the same bytes.

usage: command_line.py <plimsar-render>
"""

import os
import signal
import subprocess
import time

from render_support import check, check_equal, main, renderer, run

OUTPUTS = ["--midi-out", "out.mid", "--events-out", "out.csv", "--wav-out", "out.wav",
           "--save-bank", "out.fxb", "--save-preset", "out.fxp"]

PROBLEMS = [
    (["--wobble"], "unknown option '--wobble' (see --help)"),
    (["--tempo", "1e9"], "--tempo: 1e9 is out of range (20 to 999)"),
    (["--bank", "junk.fxb"], "{folder}/junk.fxb is not a bank preset file plimsar can load"),
    (["--input", "missing.mid"], "cannot read {folder}/missing.mid"),
    (["--program", "nonexistent"], "no program is named 'nonexistent'"),
]


def test(folder):
    def path(name):
        return os.path.join(folder, name)

    out, err = run(["--help"], folder)
    check(out.startswith("usage: plimsar-render [options]"), f"--help printed {out[:60]!r}")
    check_equal(err, "", "standard error of --help")

    # A successful render says nothing on standard error (the factory bank names a source and a
    # destination that no longer exist; the processor's notes on that are not the user's concern).
    out, err = run(["--events-out", "first.csv", "--quiet"], folder)
    check_equal((out, err), ("", ""), "output of a successful render")

    with open(path("junk.fxb"), "wb") as f:
        f.write(b"CcnK" + bytes(200))

    before = sorted(os.listdir(folder))
    for args, message in PROBLEMS:
        out, err = run(args + OUTPUTS, folder, expect_status=2)
        check_equal(err, f"plimsar-render: {message.format(folder=folder)}\n", f"standard error for {args}")
        check_equal(out, "", f"standard output for {args}")
        check_equal(sorted(os.listdir(folder)), before, f"files after {args}")

    # Ctrl-C, a termination request or a closed terminal in the middle of a long render: it stops
    # between two blocks and removes its temporary files.
    for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        process = subprocess.Popen([renderer(), "--seconds", "40000", "--wav-out", "long.wav", "--quiet"], cwd=folder,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 30
        while not any(name.startswith(".long") for name in os.listdir(folder)) and time.monotonic() < deadline:
            time.sleep(0.05)
        time.sleep(0.3)
        process.send_signal(signal_number)
        out, err = process.communicate(timeout=60)
        check_equal((process.returncode, out, err), (2, "", "plimsar-render: interrupted; no file was written\n"),
                    f"a render stopped by signal {signal_number}")
        check_equal(sorted(os.listdir(folder)), before, f"files after signal {signal_number}")

    # Same arguments, same bytes: the demo through the clean start, and a chord climbing arp in
    # 5/4 at another rate and block size.
    for args in ([], ["--program", "chord climbing arp", "--time-signature", "5/4", "--sample-rate", "22050",
                      "--block-size", "333", "--bars", "3"]):
        for run_name in ("a", "b"):
            run(args + ["--midi-out", f"{run_name}.mid", "--events-out", f"{run_name}.csv", "--wav-out",
                        f"{run_name}.wav", "--quiet"], folder)
        for suffix in ("mid", "csv", "wav"):
            first, second = (open(path(f"{r}.{suffix}"), "rb").read() for r in ("a", "b"))
            check(len(first) > 0, f"{args}: the .{suffix} file is empty")
            check(first == second, f"{args}: two runs wrote different .{suffix} files")


if __name__ == "__main__":
    main(test)
