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

from jack_session import (SKIP, Failure, Processes, Skip, check, find_window, outputs_connected, run_environment,
                          start_jack, start_xvfb, wait_for)
from smoke import decode_state, read_settings
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

    def __init__(self, application, env, work, log_name):
        self.env = env
        self.work = work
        log_path = os.path.join(work, log_name)
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

    def geometry_of(self, name):
        """(x, y, width, height) of a shown window whose name starts with the text, or None."""
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + name], env=self.env,
                             capture_output=True, text=True).stdout.split()
        if not ids:
            return None
        info = subprocess.run(["xwininfo", "-id", ids[0]], env=self.env, capture_output=True, text=True).stdout
        fields = dict((k.strip(), v.strip()) for k, v in (line.split(":", 1) for line in info.splitlines() if ":" in line))
        return tuple(int(fields[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def close_with_title_bar_button(self):
        """Clicks the window manager's close button, the rightmost one of the title bar above the
        window (xwininfo -frame tells how far the frame reaches above and left of the window)."""
        info = subprocess.run(["xwininfo", "-id", self.window_id(), "-frame"], env=self.env,
                              capture_output=True, text=True).stdout
        fields = dict((k.strip(), v.strip()) for k, v in (line.split(":", 1) for line in info.splitlines() if ":" in line))
        title_bar = int(fields["Relative upper-left Y"])
        check(title_bar > 0, "the window has no title bar")
        self.screenshot(os.path.join(self.work, "closing.png"), whole_screen=True)
        xdotool(self.env, "mousemove", self.x + self.width - 10, self.y - title_bar // 2, "click", 1)

    def wait_exit(self, what, timeout=30):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the application still runs %d s after %s" % (timeout, what))
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
    strongest, _ = strongest_notes(samples, 4)
    print("rms %.4f; strongest notes %s; demo notes sounding %s" % (level, strongest, sounding))
    # The synth's tones carry overtones, and the octave above a low note can outweigh its
    # fundamental: each strong pitch is a note of the track or an octave above one, and one of
    # the two strongest is a note of the track itself.
    def note_or_octave_above(pitch):
        return any(pitch >= note and (pitch - note) % 12 == 0 for note in sounding)

    check(all(note_or_octave_above(pitch) for pitch in strongest),
          "strong pitches %s are not the demo track's notes %s or octaves above them" % (strongest, sounding))
    check(any(pitch in sounding for pitch in strongest[:2]),
          "neither of the strongest pitches %s is a note of the demo track %s" % (strongest[:2], sounding))
    return level, strongest


def choose_program_and_save_bank(session, bank_path, snapshots):
    session.click(PRESET_LIST, settle=0.8)
    session.screenshot(os.path.join(snapshots, "app-preset-list.png"), whole_screen=True)
    # The list opens on the current program (0); the keys walk down to the wanted one.
    session.keys(*(["Down"] * PROGRAM), "Return", settle=0.5)

    # On a loaded machine the menu can open after the keys meant for it have gone: the menu is
    # opened again (Escape closes whatever is left) until the chooser shows.
    dialog = None
    for attempt in range(3):
        session.click(FILE_MENU, settle=1.0 + attempt)
        if attempt == 0:
            session.screenshot(os.path.join(snapshots, "app-file-menu.png"), whole_screen=True)
        # Load Preset Bank..., Load Preset..., then Save Preset Bank As... (separators are skipped).
        session.keys("Down", "Down", "Down", "Return", settle=0.5)
        dialog = wait_for(lambda: session.geometry_of("Save Preset Bank"), 20)
        if dialog:
            break
        session.keys("Escape", settle=0.5)
    check(dialog is not None, "no file chooser opened")
    # The chooser proposes untitled.fxb in its file name field, which runs across the dialog
    # 60 pixels above its lower edge: click into it, select all, type the path.
    x, y, width, height = dialog
    xdotool(session.env, "mousemove", x + width // 2, y + height - 60, "click", 1)
    time.sleep(0.3)
    session.keys("ctrl+a")
    session.type(bank_path)
    # Return on a typed path opens its folder and leaves the file's name in the field; the second
    # Return saves.
    session.keys("Return", settle=0.8)
    session.screenshot(os.path.join(snapshots, "app-save-bank.png"), whole_screen=True)
    session.keys("Return", settle=1.0)
    check(wait_for(lambda: os.path.isfile(bank_path), 30), "no bank saved at " + bank_path)


def end_to_end(application, source, snapshots, work):
    env = run_environment(work, "plimsar-e2e")
    os.makedirs(snapshots, exist_ok=True)
    settings_path = os.path.join(env["HOME"], ".config", "plimsar.settings")
    bank_path = os.path.join(work, "saved banks", "my bank.fxb")
    os.makedirs(os.path.dirname(bank_path))
    session = None
    with open(os.path.join(work, "servers.log"), "w") as server_log, Processes() as servers:
        try:
            xvfb, env["DISPLAY"] = start_xvfb(server_log)
            servers.add(xvfb)
            servers.add(subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=server_log, stderr=server_log))
            servers.add(start_jack(env, server_log))

            session = Session(application, env, work, "run1.log")
            check(wait_for(lambda: outputs_connected(env), 10), "outputs not connected to playback")
            session.screenshot(os.path.join(snapshots, "app.png"))
            level, strongest = play_and_listen(session, env, work, source, snapshots)
            choose_program_and_save_bank(session, bank_path, snapshots)
            title, width, height, x, y = session.window()
            position = (x, y)
            check(position == (session.x, session.y), "the window moved from %d,%d to %d,%d"
                  % ((session.x, session.y) + position))
            session.close_with_title_bar_button()
            code = session.wait_exit("the close button")
            check(code == 0, "exit code %d after the close button" % code)

            settings = read_settings(settings_path)
            check((int(settings["windowX"]), int(settings["windowY"])) == position,
                  "saved place %s,%s, the window was at %d,%d" % ((settings["windowX"], settings["windowY"]) + position))
            check(current_program(decode_state(settings["filterState"])) == PROGRAM,
                  "the settings do not hold program %d" % PROGRAM)

            preset, document = parse(bank_path, b"FBCh")
            check(program_names(document) == factory_names(source), "the saved bank's names are not the factory's")
            check(current_program(document) == PROGRAM, "the saved bank does not hold program %d" % PROGRAM)

            # Second start: the window where it was left, program 12 still current.
            session = Session(application, env, work, "run2.log")
            check((session.x, session.y) == position,
                  "second start at %d,%d, left at %d,%d" % ((session.x, session.y) + position))
            session.screenshot(os.path.join(snapshots, "app-restarted.png"))
            session.app.send_signal(signal.SIGTERM)
            check(session.wait_exit("SIGTERM") == 0, "second run did not end cleanly")
            check(current_program(decode_state(read_settings(settings_path)["filterState"])) == PROGRAM,
                  "program %d was not restored on the second start" % PROGRAM)
            print("end to end: rms %.4f, strongest notes %s, bank %s" % (level, strongest, program_names(document)[:3]))
        finally:
            # The session of the moment is ended before the servers it runs on.
            if session is not None:
                session.kill()


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
