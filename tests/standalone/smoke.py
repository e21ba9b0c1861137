#!/usr/bin/env python3
"""Smoke test of the standalone application on a virtual display.

usage: smoke.py <application> nodevice|jack|jackloss|menus

Starts the application with an empty home folder, checks its window (centred on a first start),
quits it the way the system does (SIGTERM) and checks the settings file it saved. Then plants a
changed processor state and a window position in that file, starts it again, and checks that the
state came back exactly and the window opened where it was left. A third start with a position
off the screen opens centred again, and is ended by SIGHUP, which saves as SIGTERM does.

nodevice: no audio server is reachable; the window title says so.
jack:     a JACK server with the dummy driver runs; the application opens it and connects its
          outputs. Exits 77 (skipped) when jackd cannot be started on this machine.
jackloss: the JACK server stops while the application runs and starts again: the title says
          "(no audio device)" meanwhile, then the application is back on the new server, outputs
          connected, and quits normally. Exits 77 like jack.
menus:    the menus are opened with the mouse (xdotool) and "Audio Settings..." opens its
          dialog; the application quits normally while the dialog is open. Exits 77 when xdotool
          is not installed.
"""

import base64
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from jack_session import (SCREEN, SKIP, Failure, Processes, Skip, check, find_window, jack_connections,
                          outputs_connected, run_environment, start_jack, start_xvfb, wait_for)

WINDOW_SIZE = (695, 520)
PLANTED_NAME = "Planted by the smoke test"
KEYS = ("windowX", "windowY", "audioSetup", "filterState")
SERVER_PREFIX = "plimsar-smoke"


def run_application(application, env, mode, log_path, expected_position=None, quit_signal=signal.SIGTERM):
    """Starts the application, checks its window while it runs, then quits it with the signal.
    The window must be at the expected position, or centred when none is given."""
    with open(log_path, "w") as log, Processes() as processes:
        app = processes.add(subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT), kill=True)
        # The window is created at a default size and then given its own; wait for the latter.
        wait_for(lambda: (find_window(env) or ("", 0, 0))[1:3] == WINDOW_SIZE, 30)
        window = find_window(env)
        check(window is not None, "no application window appeared")
        title, width, height, x, y = window
        check((width, height) == WINDOW_SIZE, "window is %dx%d" % (width, height))
        if expected_position is None:
            check(abs(x - (SCREEN[0] - width) // 2) <= 1 and abs(y - (SCREEN[1] - height) // 2) <= 1,
                  "window at %d,%d is not centred" % (x, y))
        else:
            check((x, y) == expected_position, "window at %d,%d, expected at %d,%d" % ((x, y) + expected_position))

        if mode == "jack":
            check(title == "plimsar", "title %r: the JACK device did not open" % title)
            # The outputs appear once the device runs; the device connects them to the playback ports.
            check(wait_for(lambda: outputs_connected(env), 10), "outputs not connected to playback: %r" % jack_connections(env))
        elif sound_cards_present():
            print("note: this machine has sound cards; the title is %r" % title)
        else:
            check(title == "plimsar (no audio device)", "title %r" % title)

        time.sleep(2)
        check(app.poll() is None, "the application ended by itself")
        app.send_signal(quit_signal)
        code = app.wait(timeout=30)
        check(code == 0, "exit code %d after %s" % (code, signal.Signals(quit_signal).name))

    with open(log_path) as log:
        output = log.read()
    check("initializing plimsar" in output, "no start-up line in the debug output")
    # A normal start says nothing else on the console.
    check(output.strip() == "initializing plimsar", "the application printed more than its start-up line:\n" + output)
    # Debug builds report failed library assertions and leaked objects here.
    for complaint in ("JUCE Assertion failure", "Leaked objects detected"):
        check(complaint not in output, "the application reported: " + complaint)
    return x, y


def sound_cards_present():
    return os.path.isdir("/dev/snd") and any(name.startswith("pcm") for name in os.listdir("/dev/snd"))


def read_settings(path):
    check(os.path.isfile(path), "no settings file at " + path)
    root = ET.parse(path).getroot()
    check(root.tag == "PROPERTIES", "settings root is " + root.tag)
    values = {element.get("name"): element.get("val") for element in root.iter("VALUE")}
    missing = [key for key in KEYS if key not in values]
    check(not missing, "settings file lacks %s" % missing)
    return values


def decode_state(text):
    state = base64.b64decode(text, validate=True)
    check(state.endswith(b"\0"), "state chunk is not terminated")
    document = ET.fromstring(state[:-1].decode("utf-8"))
    check(document.tag == "fxb", "state is a <%s> document" % document.tag)
    return document


def canonical(document):
    return ET.canonicalize(ET.tostring(document, encoding="unicode"))


def first_program_name(document):
    value = document.find(".//mod[@i='1000']/ext/dom[@n='Preset']/val[@i='0']")
    check(value is not None, "state holds no name of program 0")
    return value


def plant(path, document, position):
    """Writes a state and a window position into the settings file as a previous run would."""
    tree = ET.parse(path)
    state = ET.tostring(document, encoding="unicode").encode("utf-8") + b"\0"
    for element in tree.getroot().iter("VALUE"):
        if element.get("name") == "filterState":
            element.set("val", base64.b64encode(state).decode("ascii"))
        elif element.get("name") == "windowX":
            element.set("val", str(position[0]))
        elif element.get("name") == "windowY":
            element.set("val", str(position[1]))
    tree.write(path, encoding="UTF-8", xml_declaration=True)


def smoke(application, mode, work):
    env = run_environment(work, SERVER_PREFIX)
    settings_path = os.path.join(env["HOME"], ".config", "plimsar.settings")
    with open(os.path.join(work, "servers.log"), "w") as server_log, Processes() as servers:
        xvfb, env["DISPLAY"] = start_xvfb(server_log)
        servers.add(xvfb)
        if mode == "jack":
            servers.add(start_jack(env, server_log))

        # First start: no settings file.
        x, y = run_application(application, env, mode, os.path.join(work, "run1.log"))
        first = read_settings(settings_path)
        check((int(first["windowX"]), int(first["windowY"])) == (x, y),
              "saved position %s,%s, window was at %d,%d" % (first["windowX"], first["windowY"], x, y))
        planted = decode_state(first["filterState"])
        check(first_program_name(planted).get("n") != PLANTED_NAME, "state already planted")

        # Second start: a state changed in the file is restored exactly and saved again, and
        # the window opens where the file says it was left.
        first_program_name(planted).set("n", PLANTED_NAME)
        plant(settings_path, planted, (10, 20))
        x, y = run_application(application, env, mode, os.path.join(work, "run2.log"), expected_position=(10, 20))
        second = read_settings(settings_path)
        check((int(second["windowX"]), int(second["windowY"])) == (x, y), "second position not saved")
        restored = decode_state(second["filterState"])
        check(first_program_name(restored).get("n") == PLANTED_NAME, "planted program name was not restored")
        check(canonical(restored) == canonical(planted), "the saved state differs from the planted one")

        # Third start: a place off every screen (a screen unplugged since) opens centred; a
        # hang-up saves the settings too.
        plant(settings_path, restored, (SCREEN[0] + 500, 40))
        x, y = run_application(application, env, mode, os.path.join(work, "run3.log"), quit_signal=signal.SIGHUP)
        third = read_settings(settings_path)
        check((int(third["windowX"]), int(third["windowY"])) == (x, y), "position not saved after SIGHUP")


def server_restart(application, work):
    env = run_environment(work, SERVER_PREFIX)
    with open(os.path.join(work, "servers.log"), "w") as server_log, open(os.path.join(work, "app.log"), "w") as log, \
            Processes() as processes:
        xvfb, env["DISPLAY"] = start_xvfb(server_log)
        processes.add(xvfb)
        jack = processes.add(start_jack(env, server_log))
        app = processes.add(subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT), kill=True)
        title = lambda: (find_window(env) or ("",))[0]
        check(wait_for(lambda: title() == "plimsar" and outputs_connected(env), 30),
              "not playing on the first server: title %r" % title())

        jack.terminate()
        jack.wait(timeout=10)
        check(wait_for(lambda: title() == "plimsar (no audio device)", 15),
              "title %r after the server stopped" % title())
        check(app.poll() is None, "the application ended when the server stopped")

        processes.add(start_jack(env, server_log))
        check(wait_for(lambda: title() == "plimsar" and outputs_connected(env), 20),
              "not back on the new server: title %r, ports %r" % (title(), jack_connections(env)))

        app.send_signal(signal.SIGTERM)
        code = app.wait(timeout=30)
        check(code == 0, "exit code %d after SIGTERM" % code)


def windows(env):
    """{title: (x, y, width, height)} of the top-level windows on the display."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True).stdout
    found = {}
    for match in re.finditer(r'^\s+0x[0-9a-f]+ "([^"]*)": \("plimsar" "plimsar"\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)',
                             tree, re.MULTILINE):
        title, width, height, x, y = match.groups()
        found[title] = (int(x), int(y), int(width), int(height))
    return found


def click(env, x, y):
    """Points, lets the pointer settle (a menu takes its item from where the pointer rests), clicks."""
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=env, check=True)
    time.sleep(0.5)
    subprocess.run(["xdotool", "click", "1"], env=env, check=True)


def menus(application, work):
    if shutil.which("xdotool") is None:
        raise Skip("xdotool is not installed")
    env = run_environment(work, SERVER_PREFIX)
    with open(os.path.join(work, "servers.log"), "w") as server_log, open(os.path.join(work, "app.log"), "w") as log, \
            Processes() as processes:
        xvfb, env["DISPLAY"] = start_xvfb(server_log)
        processes.add(xvfb)
        app = processes.add(subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT), kill=True)
        check(wait_for(lambda: (find_window(env) or ("", 0, 0))[1:3] == WINDOW_SIZE, 30), "no application window")
        _, _, _, x, y = find_window(env)

        # The menu bar runs along the top of the window: "File", then "Settings".
        click(env, x + 67, y + 10)
        menu = wait_for(lambda: windows(env).get("menu"), 10)
        check(menu is not None, "the Settings menu did not open")
        click(env, menu[0] + 40, menu[1] + 10)
        dialog = wait_for(lambda: windows(env).get("Audio Settings"), 10)
        check(dialog is not None, "no Audio Settings dialog: %r" % windows(env))
        check(dialog[2] >= 500, "the dialog is %d pixels wide" % dialog[2])

        # Quitting with the dialog open closes it first; the device manager it shows goes
        # with the main window.
        app.send_signal(signal.SIGTERM)
        code = app.wait(timeout=30)
        check(code == 0, "exit code %d after SIGTERM with the dialog open" % code)


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("nodevice", "jack", "jackloss", "menus"):
        print(__doc__)
        return 2
    application, mode = os.path.abspath(sys.argv[1]), sys.argv[2]
    started = time.monotonic()
    work = tempfile.mkdtemp(prefix="plimsar-smoke-")
    try:
        if mode == "jackloss":
            server_restart(application, work)
        elif mode == "menus":
            menus(application, work)
        else:
            smoke(application, mode, work)
        print("smoke %s: passed in %.1f s" % (mode, time.monotonic() - started))
        return 0
    except Skip as skip:
        print("smoke %s: skipped: %s" % (mode, skip))
        return SKIP
    except Failure as failure:
        print("smoke %s: FAILED: %s" % (mode, failure))
        for name in sorted(os.listdir(work)):
            path = os.path.join(work, name)
            if name.endswith(".log"):
                with open(path, errors="replace") as log:
                    print("---- %s ----\n%s" % (name, log.read()[-4000:]))
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
