#!/usr/bin/env python3
"""The renderer's MIDI files, read back with midicsv (a Standard MIDI File reader we did not
write), hold the notes its event lists hold, at the ticks their sample positions fall on, with
the tempo, time signature and length of the render.

usage: midi_readback.py <plimsar-render>
"""

import math
import os
import subprocess

from render_support import Failure, check, check_equal, main, run

# A chord file written by midicsv's own writer: C major for a bar of 4/4, then F major, at 480
# ticks per quarter note. Its tempo (60 bpm) must play no part.
CHORDS = """0, 0, Header, 0, 1, 480
1, 0, Start_track
1, 0, Tempo, 1000000
1, 0, Note_on_c, 0, 60, 100
1, 0, Note_on_c, 0, 64, 100
1, 0, Note_on_c, 0, 67, 100
1, 1920, Note_off_c, 0, 60, 0
1, 1920, Note_off_c, 0, 64, 0
1, 1920, Note_off_c, 0, 67, 0
1, 1920, Note_on_c, 0, 65, 100
1, 1920, Note_on_c, 0, 69, 100
1, 1920, Note_on_c, 0, 72, 100
1, 3840, Note_off_c, 0, 65, 0
1, 3840, Note_off_c, 0, 69, 0
1, 3840, Note_off_c, 0, 72, 0
1, 3840, End_track
0, 0, End_of_file
"""

# name, arguments, tempo, sample rate, ticks per quarter note, time signature, program name,
# length in quarter notes (None: from the arguments' seconds), seconds
CASES = [
    ("the demo chords through the clean start", [], 120, 44100, 960, (4, 4), "clean start", 32, None),
    ("a chord file through the arp at 96 bpm in 3/4",
     ["--input", "chords.mid", "--program", "chord climbing arp", "--tempo", "96", "--time-signature", "3/4",
      "--ppq", "480", "--bars", "4", "--sample-rate", "48000"],
     96, 48000, 480, (3, 4), "chord climbing arp", 12, None),
    ("the bass track, ended in the middle of a note",
     ["--track", "1", "--seconds", "1.2", "--sample-rate", "48000", "--block-size", "37"],
     120, 48000, 960, (4, 4), "clean start", None, 1.2),
    ("a groove in 6/8 at an odd tempo", ["--program", "even beat groove", "--tempo", "133.5", "--time-signature", "6/8"],
     133.5, 44100, 960, (6, 8), "even beat groove", 24, None),
]


def nearest(x):
    return int(math.floor(x + 0.5))


def events_of(csv_path):
    """(sample position, status, data bytes) of every line the renderer wrote."""
    events = []
    with open(csv_path) as f:
        for line in f:
            position, hexbytes = line.rstrip("\n").split(",")
            data = [int(b, 16) for b in hexbytes.split(" ")]
            events.append((int(position), data))
    return events


def expected_notes(events, name):
    """The note rows the MIDI file must hold: each note-on and note-off of the events. The event
    list itself ends every note: those still sounding at the end get their note-offs there."""
    rows, sounding = [], set()
    for position, data in events:
        kind, channel = data[0] & 0xF0, data[0] & 0x0F
        if kind == 0x90 and data[2] > 0:
            rows.append((position, "Note_on_c", channel, data[1], data[2]))
            sounding.add((channel, data[1]))
        elif kind in (0x80, 0x90):
            rows.append((position, "Note_off_c" if kind == 0x80 else "Note_on_c", channel, data[1], data[2]))
            sounding.discard((channel, data[1]))
        elif kind == 0xB0 and data[1] in (120, 123):
            sounding = {s for s in sounding if s[0] != channel}
    check(not sounding, f"{name}: notes left sounding at the end of the event list: {sorted(sounding)}")
    return rows


def midicsv(path):
    output = subprocess.run(["midicsv", path], capture_output=True, text=True, check=True).stdout
    return [[field.strip() for field in line.split(",", 3)] for line in output.splitlines()]


def check_case(folder, case):
    name, args, bpm, rate, ppq, (numerator, denominator), program, quarters, seconds = case
    run(args + ["--midi-out", "out.mid", "--events-out", "out.csv", "--quiet"], folder)

    samples_per_quarter = rate * 60.0 / bpm
    length = nearest(quarters * samples_per_quarter) if quarters is not None else nearest(seconds * rate)

    def tick_of(position):
        return nearest(position * ppq * bpm / (60.0 * rate))

    end_tick = tick_of(length)
    events = events_of(os.path.join(folder, "out.csv"))
    check(any(data[0] & 0xF0 == 0x90 for _, data in events), f"{name}: no notes were delivered")
    notes = [(tick_of(row[0]),) + row[1:] for row in expected_notes(events, name)]
    closed = sum(1 for position, data in events if position == length and data[0] & 0xF0 == 0x80)

    rows = midicsv(os.path.join(folder, "out.mid"))
    check_equal(rows[0], ["0", "0", "Header", "0, 1, " + str(ppq)], f"{name}: header (format 0, one track)")
    check_equal(rows[-1], ["0", "0", "End_of_file"], f"{name}: last row")
    track = [r for r in rows if r[0] == "1"]
    check_equal(track[0], ["1", "0", "Start_track"], f"{name}: first track row")
    check_equal(track[-1], ["1", str(end_tick), "End_track"], f"{name}: end of the track")

    meta = {r[2]: r[3] for r in track if r[2] in ("Title_t", "Tempo", "Time_signature")}
    check_equal(meta.get("Title_t"), f'"{program}"', f"{name}: track name")
    check_equal(meta.get("Tempo"), str(nearest(60000000 / bpm)), f"{name}: tempo")
    power = denominator.bit_length() - 1
    check_equal(meta.get("Time_signature"), f"{numerator}, {power}, {96 // denominator}, 8", f"{name}: time signature")

    read = []
    for r in track:
        if r[2] in ("Note_on_c", "Note_off_c"):
            channel, note, velocity = (int(v) for v in r[3].split(","))
            read.append((int(r[1]), r[2], channel, note, velocity))
        else:
            check(r[2] in ("Start_track", "End_track", "Title_t", "Tempo", "Time_signature"),
                  f"{name}: unexpected row {r}")
    check_equal(read, notes, f"{name}: notes read back by midicsv")
    return closed


def test(folder):
    subprocess.run(["csvmidi", "-", os.path.join(folder, "chords.mid")], input=CHORDS, text=True, check=True)
    closed = sum(check_case(folder, case) for case in CASES)
    check(closed > 0, "no render ended in the middle of a note, so closing notes went untested")


if __name__ == "__main__":
    main(test)
