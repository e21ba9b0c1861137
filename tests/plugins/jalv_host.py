#!/usr/bin/env python3
"""The LV2 plug-in in a real LV2 host: jalv on a JACK dummy server.

lv2info must show the plug-in with its ports and no warnings, and the bundle's Turtle files must
validate with lv2_validate. Then jalv runs the plug-in, jack_midiseq holds a chord on its MIDI
input, jack_transport rolls the JACK transport at 120 bpm as timebase master, and jack_midi_dump
records the plug-in's MIDI out: the default program plays the held chord in quarter notes, 24000
frames apart at 48 kHz, each for 90 % of a quarter note.

Usage: jalv_host.py <bundle directory> <plug-in URI>
Exits 77 (skipped) when the JACK server cannot start on this machine.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from jack_session import SKIP, Failure, Processes, Skip, start_jack, wait_for

SAMPLE_RATE = 48000
PERIOD = 256
TEMPO = 120
QUARTER = SAMPLE_RATE * 60 // TEMPO
CHORD = (60, 64, 67)


# A dummy server on a loaded machine misses cycles (its log says "XRun"), and then neither the
# plug-in's clock nor the recorder's frame times can be judged: such a recording is taken again.
ATTEMPTS = 3


def fail(message):
    raise Failure(message)


def run(arguments, env, timeout=60):
    return subprocess.run(arguments, env=env, capture_output=True, text=True, timeout=timeout)


def wait_or_fail(condition, seconds, what):
    if not wait_for(condition, seconds, interval=0.1):
        fail("timed out waiting for " + what)


def check_description(bundle, uri, env):
    info = run(["lv2info", uri], env)
    print(info.stdout)
    if info.returncode != 0 or uri not in info.stdout:
        fail("lv2info does not know " + uri + ": " + info.stderr)
    if info.stderr.strip():
        fail("lv2info warns: " + info.stderr)
    for expected in ("Name:              plimsar", "Class:             Instrument Plugin", "clean start",
                     "Symbol:      audio_out_1", "Symbol:      audio_out_2", "#AtomPort"):
        if expected not in info.stdout:
            fail("lv2info does not show " + repr(expected))
    if info.stdout.count("#InputPort") < 1 or info.stdout.count("#AtomPort") < 2:
        fail("lv2info does not show a MIDI input and a MIDI output")
    # The 33 parameters are LV2 parameters (patch messages on the atom ports), named in dsp.ttl.
    with open(os.path.join(bundle, "dsp.ttl"), encoding="utf-8") as f:
        description = f.read()
    parameters = re.findall(r"^plug:p\d+\n\ta lv2:Parameter ;", description, re.MULTILINE)
    if len(parameters) != 33:
        fail("dsp.ttl declares %d parameters, not 33" % len(parameters))
    if description.count("midi:MidiEvent") < 2:
        fail("the atom ports do not both carry MIDI events")
    for text in ('rdfs:label "Step"', 'rdfs:label "1/16"', 'rdfs:label "Gate"'):
        if text not in description:
            fail("dsp.ttl does not name " + text)
    # A list parameter's N scale points stand on the host's steps i/(N-1), and its default (the
    # first program's value) is one of them, so a host shows and sets each choice at its own step.
    for block in description.split("\n\n"):
        points = [float(v) for v in re.findall(r"rdf:value ([-0-9.e]+)", block)]
        if not points:
            continue
        name = re.search(r'rdfs:label "([^"]*)"', block).group(1)
        steps = [i / (len(points) - 1) for i in range(len(points))]
        if any(abs(p - s) > 1e-5 for p, s in zip(sorted(points), steps)):
            fail("the scale points of %s are not at its %d steps: %r" % (name, len(points), points))
        default = float(re.search(r"lv2:default ([-0-9.e]+)", block).group(1))
        if not any(abs(default - p) < 1e-5 for p in points):
            fail("the default %g of %s is not one of its scale points" % (default, name))

    turtle = sorted(os.path.join(bundle, f) for f in os.listdir(bundle) if f.endswith(".ttl"))
    validation = run(["lv2_validate"] + turtle, env)
    report = validation.stdout + validation.stderr
    print(report)
    found = re.search(r"Found (\d+) errors", report)
    if validation.returncode != 0 or found is None or found.group(1) != "0" or "warning" in report.lower():
        fail("lv2_validate rejects " + " ".join(turtle))


def jack_ports(env):
    result = run(["jack_lsp", "-t"], env, timeout=20)
    lines = result.stdout.splitlines()
    ports = {}
    for i, line in enumerate(lines):
        if not line.startswith("\t") and i + 1 < len(lines):
            ports[line] = lines[i + 1].strip()
    return ports


def find_port(ports, client, kind, direction_words):
    for name, port_type in ports.items():
        if name.startswith(client + ":") and kind in port_type:
            if any(word in name.lower() for word in direction_words):
                return name
    return None


def recorded_notes(dump_text):
    """(frame, status, note, velocity) of every note event jack_midi_dump printed."""
    notes = []
    for line in dump_text.splitlines():
        match = re.match(r"\s*(\d+):\s*(.*)$", line)
        if not match:
            continue
        data = [int(b, 16) for b in re.findall(r"(?:0x)?([0-9a-fA-F]{2})\b", match.group(2))]
        if len(data) >= 3 and data[0] & 0xE0 == 0x80:
            status = data[0] & 0xF0
            if status == 0x90 and data[2] == 0:
                status = 0x80
            notes.append((int(match.group(1)), status, data[1], data[2]))
    return notes


def check_rhythm(notes):
    ons = [n for n in notes if n[1] == 0x90]
    offs = [n for n in notes if n[1] == 0x80]
    firings = sorted(set(n[0] for n in ons))
    if not firings:
        fail("the plug-in sent no notes")
    # The firings on the quarter-note grid of the first one (the JACK transport's beats).
    on_grid = [f for f in firings if (f - firings[0]) % QUARTER == 0]
    if len(on_grid) < 4:
        fail("fewer than four firings a quarter note (%d frames) apart: %r" % (QUARTER, firings[:20]))
    for frame in on_grid:
        chord = sorted(n[2] for n in ons if n[0] == frame)
        if chord != list(CHORD):
            fail("firing at %d plays %r, not the held chord" % (frame, chord))
    for frame in on_grid[:-1]:
        ends = sorted(n[0] - frame for n in offs if n[0] - frame == QUARTER * 9 // 10)
        if len(ends) != len(CHORD):
            fail("the notes fired at %d do not end after 90 %% of a quarter note" % frame)
    others = len(firings) - len(on_grid)
    print("jalv: %d firings of the chord a quarter note apart, %d off that grid" % (len(on_grid), others))


def record(uri, env, home):
    """One session: jalv plays the held chord while the transport rolls. Returns the recorder's
    dump and the number of cycles the server reported missed meanwhile."""
    with open(os.path.join(home, "jackd.log"), "w") as server_log, Processes() as processes:
        def start(arguments, **kwargs):
            return processes.add(subprocess.Popen(arguments, env=env, text=True, **kwargs))

        try:
            processes.add(start_jack(env, server_log, SAMPLE_RATE, PERIOD))
        except Skip as skipped:
            with open(server_log.name) as log:
                raise Skip("%s: %s" % (skipped, log.read()))

        jalv = start(["jalv", "-n", "plimsar", "-x", uri], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                     stderr=subprocess.STDOUT)
        dump_file = open(os.path.join(home, "dump.txt"), "w")
        # Line-buffered, so what it printed is in the file when it is stopped.
        start(["stdbuf", "-oL", "jack_midi_dump", "-a", "recorder"], stdout=dump_file, stderr=subprocess.DEVNULL)
        # A chord struck at the start of every two-second loop and held for all but its last frame
        # (jack_midiseq plays its loop from when it starts, connected or not).
        loop = 2 * SAMPLE_RATE
        sequence = []
        for note in CHORD:
            sequence += ["0", str(note), str(loop - 1)]
        start(["jack_midiseq", "chord", str(loop)] + sequence, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def ports_ready():
            ports = jack_ports(env)
            return (find_port(ports, "plimsar", "midi", ("in",)) is not None
                    and find_port(ports, "plimsar", "midi", ("out",)) is not None
                    and any(p.startswith("recorder:") for p in ports)
                    and any(p.startswith("chord:") for p in ports))

        wait_or_fail(lambda: ports_ready() or jalv.poll() is not None, 30,
                     "the JACK ports of jalv, the sequencer and the recorder")
        if jalv.poll() is not None:
            fail("jalv exited: " + jalv.stdout.read())

        ports = jack_ports(env)
        midi_in = find_port(ports, "plimsar", "midi", ("in",))
        midi_out = find_port(ports, "plimsar", "midi", ("out",))
        print("jalv ports: " + ", ".join(p for p in ports if p.startswith("plimsar:")))
        recorder_in = next(p for p in ports if p.startswith("recorder:"))
        chord_out = next(p for p in ports if p.startswith("chord:"))
        for source, destination in ((chord_out, midi_in), (midi_out, recorder_in)):
            connected = run(["jack_connect", source, destination], env)
            if connected.returncode != 0:
                fail("cannot connect %s to %s: %s" % (source, destination, connected.stderr))

        # Let the chord reach the plug-in, then roll the transport at 120 bpm.
        time.sleep(2.5)
        transport = start(["jack_transport"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        transport.stdin.write("master\ntempo %d\nlocate 0\nplay\n" % TEMPO)
        transport.stdin.flush()
        time.sleep(4.0)
        transport.stdin.write("stop\n")
        transport.stdin.flush()
        time.sleep(0.5)
        dump_file.flush()

    with open(os.path.join(home, "dump.txt")) as f:
        dump_text = f.read()
    with open(os.path.join(home, "jackd.log")) as f:
        xruns = f.read().count("XRun")
    return dump_text, xruns


def main():
    bundle, uri = sys.argv[1], sys.argv[2]
    for tool in ("jackd", "jalv", "jack_midiseq", "jack_midi_dump", "jack_transport", "jack_lsp",
                 "jack_connect", "lv2info", "lv2_validate"):
        if shutil.which(tool) is None:
            sys.exit("FAILED: " + tool + " is missing (scripts/setup.sh installs it)")

    home = tempfile.mkdtemp(prefix="plimsar-jalv-")
    server = "plimsar-plugins-jalv-%d" % os.getpid()
    env = dict(os.environ, HOME=home, LV2_PATH=os.path.dirname(os.path.abspath(bundle)) + ":/usr/lib/lv2",
               JACK_DEFAULT_SERVER=server, JACK_NO_START_SERVER="1",
               # The plug-in's message thread opens an X display; with none named it tries :0,
               # which may be another job's server that goes away and takes jalv with it.
               DISPLAY="unix:65535")
    try:
        check_description(bundle, uri, env)
        for attempt in range(1, ATTEMPTS + 1):
            dump_text, xruns = record(uri, env, home)
            try:
                check_rhythm(recorded_notes(dump_text))
                return
            except Failure as failure:
                if not xruns:
                    raise
                print("attempt %d: %s, with %d missed cycles of the server" % (attempt, failure, xruns))
        raise Skip("the server missed cycles in each of %d recordings: this machine is too busy to "
                   "judge the timing" % ATTEMPTS)
    except Failure as failure:
        print("FAILED: %s" % failure)
        sys.exit(1)
    except Skip as skipped:
        print("SKIPPED: %s" % skipped)
        sys.exit(SKIP)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
