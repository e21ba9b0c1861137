#!/usr/bin/env python3
"""Writes a Standard MIDI File (format 0, one track) from a readable note table.

usage: make_demo_midi.py TABLE.txt OUTPUT.mid

The table is a list of lines "keyword values..." ('#' starts a comment):
  ticks-per-quarter N, track-name TEXT, time-signature NUM DEN CLOCKS THIRTYSECONDS,
  channel 1-16, note-off-velocity V, end-of-track TICK, and any number of
  note START END NUMBER VELOCITY.
At tick 0 the track holds the track name (with a terminating zero byte) and the time
signature; then each note becomes a note-on at its start and a note-off (0x80) at its end.
Where events share a tick, note-offs come before note-ons, each kind in table order; the
end-of-track event comes last.
"""
import struct
import sys

SINGLE_KEYS = ("ticks-per-quarter", "track-name", "time-signature", "channel",
               "note-off-velocity", "end-of-track")


class TableError(Exception):
    pass


def parse_int(text, low, high, what):
    try:
        value = int(text)
    except ValueError:
        raise TableError("%s '%s' is not a number" % (what, text))
    if not low <= value <= high:
        raise TableError("%s %d is outside %d..%d" % (what, value, low, high))
    return value


def read_table(path):
    settings = {}
    notes = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            key, values = words[0], words[1:]
            try:
                if key == "note":
                    if len(values) != 4:
                        raise TableError("note needs START END NUMBER VELOCITY")
                    start = parse_int(values[0], 0, 0x0FFFFFFF, "start tick")
                    end = parse_int(values[1], start, 0x0FFFFFFF, "end tick")
                    notes.append((start, end, parse_int(values[2], 0, 127, "note number"),
                                  parse_int(values[3], 1, 127, "velocity")))
                elif key in SINGLE_KEYS:
                    if key in settings:
                        raise TableError("%s given twice" % key)
                    settings[key] = values
                else:
                    raise TableError("unknown keyword '%s'" % key)
            except TableError as e:
                raise TableError("%s:%d: %s" % (path, number, e))
    missing = [k for k in SINGLE_KEYS if k not in settings]
    if missing:
        raise TableError("%s: missing %s" % (path, ", ".join(missing)))
    return settings, notes


def variable_length(value):
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(data)


def meta(kind, data):
    return bytes([0xFF, kind]) + variable_length(len(data)) + data


def build_track(settings, notes):
    name = " ".join(settings["track-name"]).encode("ascii") + b"\0"
    num, den, clocks, thirtyseconds = settings["time-signature"]
    den = parse_int(den, 1, 128, "time signature denominator")
    if den & (den - 1):
        raise TableError("time signature denominator %d is not a power of two" % den)
    signature = bytes([parse_int(num, 1, 255, "time signature numerator"), den.bit_length() - 1,
                       parse_int(clocks, 1, 255, "clocks per click"),
                       parse_int(thirtyseconds, 1, 255, "32nds per quarter")])
    channel = parse_int(settings["channel"][0], 1, 16, "channel") - 1
    off_velocity = parse_int(settings["note-off-velocity"][0], 0, 127, "note-off velocity")
    end_of_track = parse_int(settings["end-of-track"][0], 0, 0x0FFFFFFF, "end of track")

    # (tick, order within the tick, message): metas first, then note-offs, then note-ons.
    events = [(0, 0, meta(0x03, name)), (0, 0, meta(0x58, signature))]
    for start, end, note, velocity in notes:
        if end > end_of_track:
            raise TableError("note %d ends at %d, after the end of track" % (note, end))
        events.append((end, 1, bytes([0x80 | channel, note, off_velocity])))
        events.append((start, 2, bytes([0x90 | channel, note, velocity])))
    events.sort(key=lambda e: (e[0], e[1]))  # stable: table order within each kind
    events.append((end_of_track, 3, meta(0x2F, b"")))

    data = bytearray()
    tick = 0
    for when, _, message in events:
        data += variable_length(when - tick) + message
        tick = when
    return bytes(data)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        settings, notes = read_table(argv[1])
        division = parse_int(settings["ticks-per-quarter"][0], 1, 0x7FFF, "ticks per quarter")
        track = build_track(settings, notes)
    except TableError as e:
        sys.stderr.write("make_demo_midi: %s\n" % e)
        return 1
    with open(argv[2], "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, division))
        f.write(b"MTrk" + struct.pack(">I", len(track)) + track)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
