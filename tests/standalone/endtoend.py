#!/usr/bin/env python3
"""The standalone application used as a musician uses it, on a virtual display with a window
manager and a JACK server of its own.

usage: endtoend.py <application> <source folder> <snapshot folder>

1. Starts the application with an empty home folder. The transport is armed: the recorded
   output is silent. Stop, then start (armed again: still silent), then start once more:
   playing. The recording of the application's JACK output is not silent, and its strongest
   pitches are notes of the demo track the factory bank plays, read from its note table.
2. Selects program 12 in the header's preset list, saves the bank with File > Save Preset Bank
   As... to a path typed into the file chooser, and closes the window with the window manager's
   close button. The settings file holds program 12 and the window's place; the saved bank,
   read by an independent reader of the preset file layout, holds the factory program names.
3. Starts again: the window opens where it was left and program 12 is still the current one.

Screenshots go to the snapshot folder: the whole window, the file menu open, the preset list
open, the file chooser. Exits 77 (skipped) when jackd cannot start on the machine.
"""

import glob
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave
import xml.etree.ElementTree as ET

import numpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "render"))

from smoke import (SKIP, Failure, Skip, check, decode_state, find_window, jack_connections, read_settings,
                   start_jack, start_xvfb, wait_for)
from preset_files import parse, program_names
import render_support

# Where the user clicks, in the window's client area. The menu bar is 20 pixels high; the editor
# below it places the header at (147, 7); in the header the preset list's field spans x 69..184
# and the start and stop buttons sit at x 266 and 240, all 19 pixels high from y 5.
MENU_BAR_HEIGHT = 20
HEADER = (147, MENU_BAR_HEIGHT + 7)
START_BUTTON = (HEADER[0] + 266 + 13, HEADER[1] + 5 + 9)
STOP_BUTTON = (HEADER[0] + 240 + 13, HEADER[1] + 5 + 9)
PRESET_LIST = (HEADER[0] + 69 + 57, HEADER[1] + 5 + 9)
FILE_MENU = (16, MENU_BAR_HEIGHT // 2)

SAMPLE_RATE = 48000
PROGRAM = 12


def xdotool(env, *args):
    subprocess.run(["xdotool"] + [str(a) for a in args], env=env, check=True)


class Session:
    """One run of the application: its window, clicks and keys into it, screenshots."""

    def __init__(self, application, env, log_path):
        self.env = env
        self.log = open(log_path, "w")
        self.app = subprocess.Popen([application], env=env, stdout=self.log, stderr=subprocess.STDOUT)
        check(wait_for(lambda: self.window() is not None and self.window()[0] == "plimsar", 30),
              "no application window on the JACK device: %r" % (self.window(),))
        # The window is shown at a first size before the editor sets its own: let it settle.
        time.sleep(1.0)
        self.title, self.width, self.height, self.x, self.y = self.window()

    def window(self):
        return find_window(self.env)

    def click(self, point, settle=0.4):
        xdotool(self.env, "mousemove", self.x + point[0], self.y + point[1], "click", 1)
        time.sleep(settle)

    def keys(self, *names, settle=0.3):
        for name in names:
            xdotool(self.env, "key", name)
            time.sleep(0.05)
        time.sleep(settle)

    def type(self, text):
        xdotool(self.env, "type", "--delay", 20, text)
        time.sleep(0.3)

    def screenshot(self, path, whole_screen=False):
        target = "root" if whole_screen else self.window_id()
        subprocess.run(["import", "-window", target, path], env=self.env, check=True)

    def window_id(self):
        ids = subprocess.run(["xdotool", "search", "--name", "^plimsar"], env=self.env,
                             capture_output=True, text=True).stdout.split()
        check(ids, "no window named plimsar")
        return ids[0]

    def close_with_title_bar_button(self):
        """Clicks the window manager's close button, the rightmost one of the title bar above the
        window (xwininfo -frame tells how far the frame reaches above and left of the window)."""
        info = subprocess.run(["xwininfo", "-id", self.window_id(), "-frame"], env=self.env,
                              capture_output=True, text=True).stdout
        fields = dict((k.strip(), v.strip()) for k, v in (line.split(":", 1) for line in info.splitlines() if ":" in line))
        title_bar = int(fields["Relative upper-left Y"])
        check(title_bar > 0, "the window has no title bar")
        xdotool(self.env, "mousemove", self.x + self.width - 10, self.y - title_bar // 2, "click", 1)

    def wait_exit(self, timeout=30):
        try:
            return self.app.wait(timeout=timeout)
        finally:
            self.log.close()

    def kill(self):
        if self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        self.log.close()


def record(env, path, seconds):
    """The application's two outputs for a few seconds, as a 16-bit WAV file; samples as floats."""
    subprocess.run(["jack_rec", "-f", path, "-d", str(seconds), "-b", "16", "plimsar:out_1", "plimsar:out_2"],
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=seconds + 20)
    with wave.open(path) as recording:
        check(recording.getframerate() == SAMPLE_RATE, "recorded at %d Hz" % recording.getframerate())
        frames = recording.readframes(recording.getnframes())
        channels = recording.getnchannels()
    samples = numpy.frombuffer(frames, dtype="<i2").astype(numpy.float64) / 32768.0
    return samples.reshape(-1, channels).mean(axis=1)


def rms(samples):
    return float(numpy.sqrt(numpy.mean(samples ** 2))) if len(samples) else 0.0


def note_frequency(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def strongest_notes(samples, count, lowest=24, highest=108):
    """The notes whose fundamentals carry the most energy, strongest first: for each note the peak
    of the magnitude spectrum within a quarter tone of its frequency."""
    spectrum = numpy.abs(numpy.fft.rfft(samples * numpy.hanning(len(samples))))
    bin_width = SAMPLE_RATE / len(samples)
    energy = {}
    for note in range(lowest, highest + 1):
        low = int(note_frequency(note - 0.25) / bin_width)
        high = int(math.ceil(note_frequency(note + 0.25) / bin_width))
        energy[note] = float(spectrum[low:high + 1].max())
    return sorted(energy, key=energy.get, reverse=True)[:count], energy


def demo_track(source):
    """(ticks per quarter, [(start, end, note)]) of the demo track the factory bank plays: its MIDI
    input plays built-in track 0, the first table in name order (the archive packs them so)."""
    table = sorted(glob.glob(os.path.join(source, "resources", "demo-midi", "*.txt")))[0]
    division, notes = None, []
    for line in open(table):
        fields = line.split()
        if fields[:1] == ["ticks-per-quarter"]:
            division = int(fields[1])
        elif fields[:1] == ["note"]:
            notes.append((int(fields[1]), int(fields[2]), int(fields[3])))
    check(division and notes, "no notes in " + table)
    return division, notes


def factory_names(source):
    """Program names of the factory bank, from its source table (programs beyond it are Untitled)."""
    names = ["Untitled %d" % i for i in range(128)]
    for line in open(os.path.join(source, "resources", "factory", "programs.txt")):
        fields = [f.strip() for f in line.split("|")]
        if len(fields) >= 2 and fields[0].isdigit():
            names[int(fields[0])] = fields[1]
    return names


def current_program(document):
    value = document.find("mod/cm/mod[@i='1000']/glob/ps/pv[@i='0']")
    check(value is not None, "the state holds no current program")
    return int(value.get("v"))


def play_and_listen(session, env, work, source, snapshots):
    check(rms(record(env, os.path.join(work, "armed.wav"), 1)) < 1e-4, "sound while armed before any click")

    session.click(STOP_BUTTON)
    session.click(START_BUTTON)
    session.screenshot(os.path.join(snapshots, "app-armed.png"))
    check(rms(record(env, os.path.join(work, "armed-again.wav"), 1)) < 1e-4, "sound after one click on start (armed)")

    session.click(START_BUTTON, settle=0.0)
    started = time.monotonic()
    samples = record(env, os.path.join(work, "playing.wav"), 4)
    elapsed = time.monotonic() - started
    session.screenshot(os.path.join(snapshots, "app-playing.png"))
    level = rms(samples)
    check(level > 1e-3, "the recording is silent after the second click on start (rms %.6f)" % level)

    # The notes the track holds while the recording ran (at the bank's 120 bpm), with a beat to spare.
    division, notes = demo_track(source)
    last_tick = (elapsed + 0.5) * 2.0 * division
    sounding = sorted({note for start, end, note in notes if start < last_tick})
    strongest, energy = strongest_notes(samples, 3)
    print("rms %.4f; strongest notes %s; demo notes sounding %s" % (level, strongest, sounding))
    check(all(note in sounding for note in strongest),
          "strongest pitches %s are not all notes of the demo track %s" % (strongest, sounding))
    return level, strongest


def choose_program_and_save_bank(session, bank_path, snapshots):
    session.click(PRESET_LIST, settle=0.8)
    session.screenshot(os.path.join(snapshots, "app-preset-list.png"), whole_screen=True)
    # The list opens on the current program (0); the keys walk down to the wanted one.
    session.keys(*(["Down"] * PROGRAM), "Return", settle=0.5)

    session.click(FILE_MENU, settle=0.6)
    session.screenshot(os.path.join(snapshots, "app-file-menu.png"), whole_screen=True)
    # Load Preset Bank..., Load Preset..., then Save Preset Bank As... (separators are skipped).
    session.keys("Down", "Down", "Down", "Return", settle=1.5)
    session.screenshot(os.path.join(snapshots, "app-save-bank.png"), whole_screen=True)
    # The chooser's file name field has the keyboard focus and proposes untitled.fxb.
    session.keys("ctrl+a")
    session.type(bank_path)
    session.keys("Return", settle=1.0)
    check(wait_for(lambda: os.path.isfile(bank_path), 10), "no bank saved at " + bank_path)


def end_to_end(application, source, snapshots, work):
    home = os.path.join(work, "home")
    os.makedirs(home)
    os.makedirs(snapshots, exist_ok=True)
    settings_path = os.path.join(home, ".config", "plimsar.settings")
    bank_path = os.path.join(work, "saved banks", "my bank.fxb")
    os.makedirs(os.path.dirname(bank_path))
    env = dict(os.environ, HOME=home, JACK_DEFAULT_SERVER="plimsar-e2e-%d" % os.getpid())
    servers, session = [], None
    with open(os.path.join(work, "servers.log"), "w") as server_log:
        try:
            xvfb, env["DISPLAY"] = start_xvfb(server_log)
            servers.append(xvfb)
            servers.append(subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=server_log, stderr=server_log))
            servers.append(start_jack(env, server_log))

            session = Session(application, env, os.path.join(work, "run1.log"))
            check(wait_for(lambda: all("system:playback_%d" % i in jack_connections(env).get("plimsar:out_%d" % i, [])
                                       for i in (1, 2)), 10), "outputs not connected to playback")
            session.screenshot(os.path.join(snapshots, "app.png"))
            level, strongest = play_and_listen(session, env, work, source, snapshots)
            choose_program_and_save_bank(session, bank_path, snapshots)
            position = (session.x, session.y)
            session.close_with_title_bar_button()
            code = session.wait_exit()
            check(code == 0, "exit code %d after the close button" % code)

            settings = read_settings(settings_path)
            check((int(settings["windowX"]), int(settings["windowY"])) == position,
                  "saved place %s,%s, the window was at %d,%d" % (settings["windowX"], settings["windowY"]) + position)
            check(current_program(decode_state(settings["filterState"])) == PROGRAM,
                  "the settings do not hold program %d" % PROGRAM)

            preset, document = parse(bank_path, b"FBCh")
            check(program_names(document) == factory_names(source), "the saved bank's names are not the factory's")
            check(current_program(document) == PROGRAM, "the saved bank does not hold program %d" % PROGRAM)

            # Second start: the window where it was left, program 12 still current.
            session = Session(application, env, os.path.join(work, "run2.log"))
            check((session.x, session.y) == position,
                  "second start at %d,%d, left at %d,%d" % ((session.x, session.y) + position))
            session.screenshot(os.path.join(snapshots, "app-restarted.png"))
            session.app.send_signal(signal.SIGTERM)
            check(session.wait_exit() == 0, "second run did not end cleanly")
            check(current_program(decode_state(read_settings(settings_path)["filterState"])) == PROGRAM,
                  "program %d was not restored on the second start" % PROGRAM)
            print("end to end: rms %.4f, strongest notes %s, bank %s" % (level, strongest, program_names(document)[:3]))
        finally:
            if session is not None:
                session.kill()
            for server in reversed(servers):
                if server.poll() is None:
                    server.terminate()
                    try:
                        server.wait(timeout=10)
                    except subprocess.TimeoutExpired:
                        server.kill()
                        server.wait()


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    application, source, snapshots = (os.path.abspath(a) for a in sys.argv[1:])
    started = time.monotonic()
    work = tempfile.mkdtemp(prefix="plimsar-e2e-")
    try:
        end_to_end(application, source, snapshots, work)
    except Skip as skipped:
        print("skipped: %s" % skipped)
        return SKIP
    except (Failure, render_support.Failure) as failure:
        print("FAILED: %s (logs in %s)" % (failure, work))
        return 1
    print("passed in %.1f s" % (time.monotonic() - started))
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
