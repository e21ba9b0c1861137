"""What the script tests that run the application or a plug-in host share: a virtual display, a
JACK dummy server under a name of its own, the application's window on that display, and the
stopping of whatever a test started, whether it passed or failed.

The CTest registration puts this folder on PYTHONPATH.
"""

import os
import re
import select
import shutil
import subprocess
import time

# CTest reads this exit code as "skipped" (SKIP_RETURN_CODE).
SKIP = 77
SCREEN = (1280, 1024)


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, interval=0.2):
    """The condition's first true result within the timeout, else its result after it."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(interval)
    return condition()


def run_environment(work, server_prefix):
    """The environment for one test run: an empty home folder of its own inside the work folder,
    and a JACK server name that no other server on the machine uses, so the clients reach only
    the server this run starts."""
    home = os.path.join(work, "home")
    os.makedirs(home)
    return dict(os.environ, HOME=home, JACK_DEFAULT_SERVER="%s-%d" % (server_prefix, os.getpid()))


def start_xvfb(log):
    """A virtual display on a free number that Xvfb picks itself (no race with other servers).
    Returns the server and the display name."""
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
        server.wait()
        raise Failure("Xvfb did not start")
    return server, ":" + number.decode().strip()


def start_jack(env, log, sample_rate=48000, period=256):
    """A JACK server with the dummy driver under the environment's JACK_DEFAULT_SERVER, once its
    clients can reach it. Raises Skip when jackd is missing or cannot run on this machine."""
    jackd = shutil.which("jackd")
    if jackd is None or shutil.which("jack_lsp") is None:
        raise Skip("jackd is not installed")
    server = subprocess.Popen(
        [jackd, "--no-realtime", "-n", env["JACK_DEFAULT_SERVER"], "-d", "dummy",
         "-r", str(sample_rate), "-p", str(period)],
        env=env, stdout=log, stderr=log)

    def running():
        if server.poll() is not None:
            return True
        return subprocess.run(["jack_lsp"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    wait_for(running, 15)
    if server.poll() is not None or not running():
        stop(server)
        raise Skip("jackd could not start a server here")
    return server


def stop(process, timeout=10):
    """Ends a process that still runs: SIGTERM, then SIGKILL when it has not ended in time."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Processes:
    """The processes a test starts, ended when the block is left, however it is left: first the
    processes under test by SIGKILL (a test that failed has nothing more to learn from them),
    then the servers in reverse order by SIGTERM, so each can close cleanly."""

    def __init__(self):
        self.started = []

    def add(self, process, kill=False):
        self.started.append((process, kill))
        return process

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        for process, kill in self.started:
            if kill and process.poll() is None:
                process.kill()
                process.wait()
        for process, kill in reversed(self.started):
            if not kill:
                stop(process)
        return False


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


def outputs_connected(env):
    """True once the application's two outputs are connected to the server's playback ports."""
    return all("system:playback_%d" % i in jack_connections(env).get("plimsar:out_%d" % i, []) for i in (1, 2))
