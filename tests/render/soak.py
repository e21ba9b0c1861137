#!/usr/bin/env python3
"""Long renders of several programs over both demo tracks, checked from their event lists:
every note-on has its note-off, no note-off comes without a note-on and no key is switched on
twice on one channel; where nothing modulates the step, every bar in which the input holds
notes throughout has the program's number of firings; events go on to the end; and the peak
memory of the long render stays within 10 % of a short one.

usage: soak.py <plimsar-render> [--full] [--only RATE,PROGRAM,TRACK ...]

Without --full it runs a short form that takes a minute or two (CI). With --full it renders
24 hours of song at 44.1 kHz and 3 hours at 192 kHz per program and track, which takes hours;
--only picks single cases of the chosen form, e.g. --only 192000,28,0.
"""

import math
import os
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.abspath(__file__))
DEMO_TRACKS = [os.path.join(SOURCE, "..", "..", "resources", "demo-midi", name)
               for name in ("01-lead.txt", "02-bass.txt")]
PROGRAMS_TABLE = os.path.join(SOURCE, "..", "..", "resources", "factory", "programs.txt")

PROGRAMS = [0, 12, 25, 28, 50]
TEMPO = 120.0
BAR_QUARTERS = 4
STEPS = {"2": 8, "1": 4, "1/2": 2, "1/4": 1, "1/4T": 2 / 3, "1/8": 0.5, "1/8T": 1 / 3, "1/16": 0.25,
         "1/16T": 1 / 6, "1/32": 0.125, "1/32T": 1 / 12, "1/64": 0.0625}

# (sample rate, seconds of the long render, seconds of the reference render for memory)
FULL = [(44100, 24 * 3600, 3600), (192000, 3 * 3600, 3600)]
SHORT = [(44100, 300, 60), (192000, 90, 30)]
SHORT_PROGRAMS = [0, 25, 50]


class Failure(Exception):
    pass


def program_steps():
    """Step in quarter notes of each program, or None where an LFO drives it."""
    steps = {}
    for line in open(PROGRAMS_TABLE):
        if line.startswith("#") or "|" not in line:
            continue
        index, _, settings = [field.strip() for field in line.split("|")[:3]]
        step = 1.0
        for setting in settings.split(","):
            setting = setting.strip()
            if setting.startswith("step~"):
                step = None
            elif setting.startswith("step="):
                step = STEPS[setting[5:]]
        steps[int(index)] = step
    return steps


def input_rests(track):
    """Where the demo track holds no note, in quarter notes within its loop, and the loop length."""
    division, end, notes = 96, 0, []
    for line in open(DEMO_TRACKS[track]):
        fields = line.split()
        if not fields or fields[0].startswith("#"):
            continue
        if fields[0] == "ticks-per-quarter":
            division = int(fields[1])
        elif fields[0] == "end-of-track":
            end = int(fields[1])
        elif fields[0] == "note":
            notes.append((int(fields[1]), int(fields[2])))
    bar_ticks = BAR_QUARTERS * division
    loop = math.ceil(end / bar_ticks) * bar_ticks
    rests, covered = [], 0
    for start, stop in sorted(notes):
        if start > covered:
            rests.append((covered / division, start / division))
        covered = max(covered, stop)
    if covered < loop:
        rests.append((covered / division, loop / division))
    return rests, loop / division


def render(renderer, folder, program, track, rate, seconds):
    """Renders into an event list; returns its path, the render's samples and its peak memory in KiB."""
    events = os.path.join(folder, f"p{program}-t{track}-{rate}-{seconds}.csv")
    # The peak memory comes from /usr/bin/time rather than from our own wait: a child forked from
    # this script starts with the script's pages, which grow with the event lists it has read.
    peak_file = os.path.join(folder, "peak")
    result = subprocess.run(
        ["/usr/bin/time", "-f", "%M", "-o", peak_file,
         renderer, "--program", str(program), "--track", str(track), "--sample-rate", str(rate),
         "--seconds", str(seconds), "--tempo", str(TEMPO), "--time-signature", f"{BAR_QUARTERS}/4",
         "--events-out", events, "--quiet"],
        capture_output=True, text=True, stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        raise Failure(f"program {program}, track {track}, {rate} Hz, {seconds} s: exit status "
                      f"{result.returncode}: {result.stderr.strip()}")
    with open(peak_file) as file:
        peak = int(file.read().split()[-1])
    return events, int(round(seconds * rate)), peak


def check_events(path, total, rate, step, track):
    """Checks one event list; returns (note-ons, checked bars)."""
    sounding = set()
    firings = []
    last = -1
    note_ons = 0
    with open(path) as f:
        for line in f:
            position, data = line.rstrip("\n").split(",")
            sample = int(position)
            status, *rest = [int(byte, 16) for byte in data.split()]
            if sample < last:
                raise Failure(f"{path}: events out of order at sample {sample}")
            last = sample
            kind, channel = status & 0xF0, status & 0x0F
            if kind == 0x90 and rest[1] > 0:
                key = (channel, rest[0])
                if key in sounding:
                    raise Failure(f"{path}: note {rest[0]} on channel {channel + 1} switched on again at {sample} "
                                  "before its note-off")
                sounding.add(key)
                note_ons += 1
                if not firings or firings[-1] != sample:
                    firings.append(sample)
            elif kind == 0x80 or kind == 0x90:
                key = (channel, rest[0])
                if key not in sounding:
                    raise Failure(f"{path}: note-off of note {rest[0]} on channel {channel + 1} at {sample} "
                                  "without a note-on")
                sounding.discard(key)
    if sounding:
        raise Failure(f"{path}: {len(sounding)} notes never ended, e.g. {sorted(sounding)[:4]}")

    samples_per_quarter = rate * 60.0 / TEMPO
    bar_samples = BAR_QUARTERS * samples_per_quarter
    if not firings or firings[-1] < total - 2 * bar_samples:
        raise Failure(f"{path}: the events stop at sample {firings[-1] if firings else None} of {total}")

    if step is None:
        return note_ons, 0

    # Count the firings of every whole bar in which the input holds notes from before its first
    # sample to after its last.
    expected = round(BAR_QUARTERS / step)
    rests, loop = input_rests(track)
    margin = 1.0 / samples_per_quarter
    counts = {}
    for sample in firings:
        bar = int(sample // bar_samples)
        counts[bar] = counts.get(bar, 0) + 1
    checked = 0
    for bar in range(int(total // bar_samples)):
        start = (bar * BAR_QUARTERS) % loop
        stop = start + BAR_QUARTERS
        if any(r0 < stop + margin and r1 > start - margin for r0, r1 in rests):
            continue
        if counts.get(bar, 0) != expected:
            raise Failure(f"{path}: bar {bar} holds {counts.get(bar, 0)} firings, expected {expected}")
        checked += 1
    return note_ons, checked


def main():
    arguments = sys.argv[2:]
    full = "--full" in arguments
    only = set()
    while "--only" in arguments:
        at = arguments.index("--only")
        if at + 1 >= len(arguments):
            sys.exit(__doc__)
        only.add(tuple(int(v) for v in arguments[at + 1].split(",")))
        del arguments[at:at + 2]
    if len(sys.argv) < 2 or any(a != "--full" for a in arguments):
        sys.exit(__doc__)
    renderer = os.path.abspath(sys.argv[1])
    steps = program_steps()
    failures = 0

    with tempfile.TemporaryDirectory(prefix="plimsar-soak-") as folder:
        for rate, seconds, reference_seconds in (FULL if full else SHORT):
            for program in (PROGRAMS if full else SHORT_PROGRAMS):
                for track in (0, 1):
                    if only and (rate, program, track) not in only:
                        continue
                    what = f"program {program:2d}, track {track}, {rate} Hz, {seconds / 3600:g} h"
                    try:
                        began = time.monotonic()
                        events, total, peak = render(renderer, folder, program, track, rate, seconds)
                        elapsed = time.monotonic() - began
                        note_ons, bars = check_events(events, total, rate, steps[program], track)
                        os.remove(events)
                        reference, _, reference_peak = render(renderer, folder, program, track, rate, reference_seconds)
                        os.remove(reference)
                        growth = peak / reference_peak - 1.0
                        print(f"{what}: {note_ons} note-ons, {bars} bars on the grid, rendered in {elapsed:.0f} s; "
                              f"peak memory {peak / 1024:.1f} MiB, {growth * 100:+.1f} % against "
                              f"{reference_seconds / 3600:g} h", flush=True)
                        if growth > 0.10:
                            raise Failure(f"peak memory grew by {growth * 100:.1f} %")
                    except Failure as failure:
                        print(f"{what}: FAILED: {failure}", flush=True)
                        failures += 1

    if failures:
        print(f"soak.py: {failures} FAILED")
        sys.exit(1)
    print("soak.py: passed")


if __name__ == "__main__":
    main()
