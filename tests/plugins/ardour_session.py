#!/usr/bin/env python3
"""The LV2 plug-in in Ardour 7, headless: its Lua session tool (ardour7-lua) with Ardour's own
"None (Dummy)" audio backend.

ardour/session.lua makes a session with a MIDI track holding plimsar and a region with a C major
chord for eight quarter notes, rolls the transport from the start, and prints the MIDI the
plug-in sends out (kept by ardour/midi_log.lua, a Lua DSP script after the plug-in). The default
program plays the held chord in quarter notes, 24000 samples apart at the session's 120 bpm and
48 kHz, each for 90 % of a quarter note, and nothing else while the chord is held.

Usage: ardour_session.py <bundle directory> <plug-in URI>
Exits 77 (skipped) when Ardour's Lua session tool is not installed.
"""

import os
import shutil
import subprocess
import sys
import tempfile

SAMPLE_RATE = 48000
QUARTER = SAMPLE_RATE // 2
CHORD = [60, 64, 67]
HELD_QUARTERS = 8
HERE = os.path.dirname(os.path.abspath(__file__))


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def plugin_events(output):
    """(sample, status, data 1, data 2) of every event the plug-in sent out."""
    events = []
    for line in output.splitlines():
        fields = line.split()
        if len(fields) == 5 and fields[0] == "event":
            events.append(tuple(int(f) for f in fields[1:]))
    return events


def check_rhythm(events):
    ons = [(s, d1) for s, status, d1, d2 in events if status & 0xF0 == 0x90 and d2 > 0]
    offs = [(s, d1) for s, status, d1, d2 in events if status & 0xF0 == 0x80 or (status & 0xF0 == 0x90 and d2 == 0)]
    firings = sorted(set(s for s, _ in ons))
    if not firings:
        fail("the plug-in sent no notes")
    start = firings[0]
    held = [f for f in firings if f < start + HELD_QUARTERS * QUARTER]
    expected = [start + k * QUARTER for k in range(HELD_QUARTERS)]
    if held != expected:
        fail("while the chord is held the firings are at %r, not a quarter note apart from %d" % (held[:20], start))
    for frame in held:
        keys = sorted(key for s, key in ons if s == frame)
        if keys != CHORD:
            fail("the firing at %d plays %r, not the held chord" % (frame, keys))
        ends = sorted(key for s, key in offs if s == frame + QUARTER * 9 // 10)
        if ends != CHORD:
            fail("the notes fired at %d do not end after 90 %% of a quarter note: %r" % (frame, ends))
    resets = [s for s, status, d1, _ in events if status & 0xF0 == 0xB0 and d1 == 123 and start < s < expected[-1]]
    if resets:
        fail("All Notes Off while the chord is held, at %r" % resets[:10])
    print("ardour: %d firings of the chord a quarter note apart" % len(held))


def main():
    bundle, uri = sys.argv[1], sys.argv[2]
    tool = shutil.which("ardour7-lua")
    if tool is None:
        print("ardour7-lua is not installed (Debian's ardour package): skipped")
        sys.exit(77)

    with tempfile.TemporaryDirectory(prefix="plimsar-ardour-") as home:
        # The plug-in installed per user, as scripts/install-plugins.sh does, and the MIDI log
        # where Ardour looks for the user's Lua scripts.
        shutil.copytree(bundle, os.path.join(home, ".lv2", os.path.basename(bundle)))
        scripts = os.path.join(home, ".config", "ardour7", "scripts")
        os.makedirs(scripts)
        shutil.copy(os.path.join(HERE, "ardour", "midi_log.lua"), scripts)

        env = dict(os.environ, HOME=home, PLIMSAR_LV2_URI=uri, PLIMSAR_SESSION_DIR=os.path.join(home, "session"))
        # The plug-in's message thread opens an X display; with none named it tries :0, which
        # may be another job's server that goes away. A display that does not exist keeps it
        # headless.
        env["DISPLAY"] = "unix:65535"
        result = subprocess.run([tool, os.path.join(HERE, "ardour", "session.lua")], env=env, cwd=home,
                                capture_output=True, text=True, timeout=240)
        output = result.stdout + result.stderr
        if result.returncode != 0:
            fail("ardour7-lua exited with %d:\n%s" % (result.returncode, output[-4000:]))
        if "plug-in:" not in output:
            fail("the session has no plug-in:\n" + output[-4000:])
        check_rhythm(plugin_events(output))


if __name__ == "__main__":
    main()
