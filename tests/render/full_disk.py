#!/usr/bin/env python3
"""On a disk that fills up, every output of the renderer fails whole: exit status 2, one line on
standard error naming the file it was asked to write, and no file left behind, not even a
temporary one. With room enough the same commands succeed.

The small disk is a tmpfs mounted in a mount namespace of the test's own, which needs no
privileges where user namespaces are allowed; where they are not, the test is skipped.

usage: full_disk.py <plimsar-render>
"""

import os
import subprocess
import sys

from render_support import check, check_equal, main, renderer, run

SKIPPED = 77
MARKER = "PLIMSAR_FULL_DISK_NAMESPACE"

# option, file name, further arguments, disk size in KiB, whether the disk starts full
CASES = [
    ("--midi-out", "out.mid", ["--program", "25", "--seconds", "120"], 16, False),
    ("--events-out", "out.csv", ["--program", "25", "--seconds", "120"], 16, False),
    ("--wav-out", "out.wav", ["--bars", "8"], 1024, False),
    ("--save-bank", "out.fxb", [], 64, True),
    ("--save-preset", "out.fxp", [], 64, True),
]


def mount_disk(disk, kib, full):
    os.makedirs(disk, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={kib}k", "tmpfs", disk], check=True)
    if full:
        # Fills the disk to its last byte; the filler stays.
        filler = os.open(os.path.join(disk, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(filler, bytes(512)) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(filler)


def unmount_disk(disk):
    subprocess.run(["umount", disk], check=True)


def test(folder):
    disk = os.path.join(folder, "disk")
    for option, name, args, kib, full in CASES:
        mount_disk(disk, kib, full)
        try:
            before = sorted(os.listdir(disk))
            target = os.path.join(disk, name)
            out, err = run(args + [option, target, "--quiet"], folder, expect_status=2)
            check_equal(out, "", f"{option}: standard output")
            first = f"plimsar-render: cannot write {target}"
            check(err.startswith(first) and err[len(first)] in ":\n" and err.count("\n") == 1,
                  f"{option}: standard error {err!r} does not name {target} on one line")
            check_equal(sorted(os.listdir(disk)), before, f"{option}: files on the full disk")
        finally:
            unmount_disk(disk)

        # With room enough the same command writes the file.
        mount_disk(disk, 64 * 1024, False)
        try:
            run(args + [option, os.path.join(disk, name), "--quiet"], folder)
            check_equal(sorted(os.listdir(disk)), [name], f"{option}: files with room enough")
        finally:
            unmount_disk(disk)


if __name__ == "__main__":
    if os.environ.get(MARKER) != "1":
        # Runs itself again as root of a user and mount namespace of its own.
        environment = dict(os.environ, **{MARKER: "1"})
        command = ["unshare", "--user", "--map-root-user", "--mount", sys.executable] + sys.argv
        try:
            probe = subprocess.run(["unshare", "--user", "--map-root-user", "--mount", "true"], capture_output=True)
        except FileNotFoundError:
            probe = None
        if probe is None or probe.returncode != 0:
            print("full_disk.py: skipped: no user and mount namespaces here")
            sys.exit(SKIPPED)
        sys.exit(subprocess.run(command, env=environment).returncode)
    renderer()
    main(test)
