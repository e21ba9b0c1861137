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
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

SKIP = 77
SCREEN = (1280, 1024)
WINDOW_SIZE = (695, 520)
PLANTED_NAME = "Planted by the smoke test"
KEYS = ("windowX", "windowY", "audioSetup", "filterState")


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, interval=0.2):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(interval)
    return condition()


def start_xvfb(log):
    """A virtual display on a free number that Xvfb picks itself (no race with other servers)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=log, stderr=log)
    os.close(write_end)
    number = b""
    end = time.monotonic() + 20
    while not number.endswith(b"\n") and time.monotonic() < end:
        ready, _, _ = select.select([read_end], [], [], 0.5)
        if ready:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    if not number.strip():
        server.kill()
        raise Failure("Xvfb did not start")
    return server, ":" + number.decode().strip()


def start_jack(env, log):
    jackd = shutil.which("jackd")
    if jackd is None or shutil.which("jack_lsp") is None:
        raise Skip("jackd is not installed")
    server = subprocess.Popen(
        [jackd, "--no-realtime", "-n", env["JACK_DEFAULT_SERVER"], "-d", "dummy", "-r", "48000", "-p", "256"],
        env=env, stdout=log, stderr=log)

    def running():
        if server.poll() is not None:
            return True
        return subprocess.run(["jack_lsp"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    wait_for(running, 15)
    if server.poll() is not None or not running():
        server.kill()
        raise Skip("jackd could not start a server here")
    return server


def find_window(env):
    """(title, width, height, x, y) of the application's top-level window once it is shown, or None."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True).stdout
    for line in tree.splitlines():
        match = re.match(r'\s*(0x[0-9a-f]+) "(plimsar[^"]*)": \("plimsar" "plimsar"\)', line)
        if not match:
            continue
        info = subprocess.run(["xwininfo", "-id", match.group(1)], env=env, capture_output=True, text=True).stdout
        fields = dict(re.findall(r"^\s*([A-Za-z -]+):\s*(\S+)\s*$", info, re.MULTILINE))
        if fields.get("Map State") == "IsViewable":
            return (match.group(2),) + tuple(int(fields[key]) for key in
                                             ("Width", "Height", "Absolute upper-left X", "Absolute upper-left Y"))
    return None


def jack_connections(env):
    """{port: [connected ports]} as jack_lsp -c lists them."""
    listing = subprocess.run(["jack_lsp", "-c"], env=env, capture_output=True, text=True).stdout
    connections, port = {}, None
    for line in listing.splitlines():
        if line.startswith((" ", "\t")):
            connections[port].append(line.strip())
        elif line.strip():
            port = line.strip()
            connections[port] = []
    return connections


def run_application(application, env, mode, log_path, expected_position=None, quit_signal=signal.SIGTERM):
    """Starts the application, checks its window while it runs, then quits it with the signal.
    The window must be at the expected position, or centred when none is given."""
    with open(log_path, "w") as log:
        app = subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
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
            connected = wait_for(lambda: all("system:playback_%d" % i in jack_connections(env).get("plimsar:out_%d" % i, [])
                                             for i in (1, 2)), 10)
            check(connected, "outputs not connected to playback: %r" % jack_connections(env))
        elif sound_cards_present():
            print("note: this machine has sound cards; the title is %r" % title)
        else:
            check(title == "plimsar (no audio device)", "title %r" % title)

        time.sleep(2)
        check(app.poll() is None, "the application ended by itself")
        app.send_signal(quit_signal)
        code = app.wait(timeout=30)
        check(code == 0, "exit code %d after %s" % (code, signal.Signals(quit_signal).name))
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()

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
    home = os.path.join(work, "home")
    os.makedirs(home)
    settings_path = os.path.join(home, ".config", "plimsar.settings")
    # A server name of its own: no other JACK server on the machine is reachable.
    env = dict(os.environ, HOME=home, JACK_DEFAULT_SERVER="plimsar-smoke-%d" % os.getpid())
    servers = []
    with open(os.path.join(work, "servers.log"), "w") as server_log:
        try:
            xvfb, env["DISPLAY"] = start_xvfb(server_log)
            servers.append(xvfb)
            if mode == "jack":
                servers.append(start_jack(env, server_log))

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
        finally:
            for server in reversed(servers):
                server.terminate()
                try:
                    server.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    server.kill()
                    server.wait()


def outputs_connected(env):
    return all("system:playback_%d" % i in jack_connections(env).get("plimsar:out_%d" % i, []) for i in (1, 2))


def server_restart(application, work):
    home = os.path.join(work, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, JACK_DEFAULT_SERVER="plimsar-smoke-%d" % os.getpid())
    servers, app = [], None
    with open(os.path.join(work, "servers.log"), "w") as server_log, open(os.path.join(work, "app.log"), "w") as log:
        try:
            xvfb, env["DISPLAY"] = start_xvfb(server_log)
            servers.append(xvfb)
            jack = start_jack(env, server_log)
            app = subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT)
            title = lambda: (find_window(env) or ("",))[0]
            check(wait_for(lambda: title() == "plimsar" and outputs_connected(env), 30),
                  "not playing on the first server: title %r" % title())

            jack.terminate()
            jack.wait(timeout=10)
            check(wait_for(lambda: title() == "plimsar (no audio device)", 15),
                  "title %r after the server stopped" % title())
            check(app.poll() is None, "the application ended when the server stopped")

            servers.append(start_jack(env, server_log))
            check(wait_for(lambda: title() == "plimsar" and outputs_connected(env), 20),
                  "not back on the new server: title %r, ports %r" % (title(), jack_connections(env)))

            app.send_signal(signal.SIGTERM)
            code = app.wait(timeout=30)
            check(code == 0, "exit code %d after SIGTERM" % code)
        finally:
            if app is not None and app.poll() is None:
                app.kill()
                app.wait()
            for server in reversed(servers):
                if server.poll() is None:
                    server.terminate()
                    try:
                        server.wait(timeout=10)
                    except subprocess.TimeoutExpired:
                        server.kill()
                        server.wait()


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
    home = os.path.join(work, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, JACK_DEFAULT_SERVER="plimsar-smoke-%d" % os.getpid())
    servers, app = [], None
    with open(os.path.join(work, "servers.log"), "w") as server_log, open(os.path.join(work, "app.log"), "w") as log:
        try:
            xvfb, env["DISPLAY"] = start_xvfb(server_log)
            servers.append(xvfb)
            app = subprocess.Popen([application], env=env, stdout=log, stderr=subprocess.STDOUT)
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
        finally:
            if app is not None and app.poll() is None:
                app.kill()
                app.wait()
            for server in reversed(servers):
                server.terminate()
                server.wait(timeout=10)


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
