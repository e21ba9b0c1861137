#!/usr/bin/env python3
"""Launch to first audio block of the standalone application, measured from outside.

usage: first_audio.py <application> [runs] [other application ...]

Starts a virtual display and a JACK server with the dummy driver (a server name of its own), then
launches each application `runs` times in turn (default 9), each time with an empty home folder.
A JACK client of this script connects to the application's first output as soon as it exists;
the time from launch to the first block that carries a sample other than zero is the figure. The
synth's silence guard puts 0.0001 into the first sample of every block it renders, so the very
first block the processor renders is seen, even while the transport waits. Prints every run and
the median per application. The server's period is 256 samples at 48000 Hz, so the figure is late
by at most one period (5.3 ms). Exits 77 when jackd cannot start here.
"""

import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "standalone"))

from smoke import SKIP, Skip, start_jack, start_xvfb  # noqa: E402

PROCESS_CALLBACK = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_uint32, ctypes.c_void_p)
PERIOD = 256


class Listener:
    """A JACK client with one input; notes the monotonic time of the first non-zero block."""

    def __init__(self, server):
        self.jack = ctypes.CDLL("libjack.so.0")
        self.jack.jack_client_open.restype = ctypes.c_void_p
        self.jack.jack_client_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.c_void_p]
        self.jack.jack_port_register.restype = ctypes.c_void_p
        self.jack.jack_port_register.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                                 ctypes.c_ulong, ctypes.c_ulong]
        self.jack.jack_port_get_buffer.restype = ctypes.POINTER(ctypes.c_float)
        self.jack.jack_port_get_buffer.argtypes = [ctypes.c_void_p, ctypes.c_uint32]
        self.jack.jack_set_process_callback.argtypes = [ctypes.c_void_p, PROCESS_CALLBACK, ctypes.c_void_p]
        self.jack.jack_activate.argtypes = [ctypes.c_void_p]
        self.jack.jack_connect.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]
        self.jack.jack_disconnect.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]
        self.jack.jack_client_close.argtypes = [ctypes.c_void_p]

        # The library finds the server by the variable, as the application does.
        os.environ["JACK_DEFAULT_SERVER"] = server
        JACK_NO_START_SERVER, JACK_USE_EXACT_NAME = 0x01, 0x02
        self.client = self.jack.jack_client_open(b"first_audio", JACK_NO_START_SERVER | JACK_USE_EXACT_NAME, None)
        if not self.client:
            raise Skip("cannot open a client on the JACK server")
        JACK_PORT_IS_INPUT = 0x1
        self.port = self.jack.jack_port_register(self.client, b"in", b"32 bit float mono audio", JACK_PORT_IS_INPUT, 0)
        self.heard = None
        self.lock = threading.Lock()
        self.callback = PROCESS_CALLBACK(self.process)
        self.jack.jack_set_process_callback(self.client, self.callback, None)
        self.jack.jack_activate(self.client)

    def process(self, frames, _):
        if self.heard is None:
            samples = self.jack.jack_port_get_buffer(self.port, frames)
            if any(samples[i] != 0.0 for i in range(frames)):
                with self.lock:
                    self.heard = time.monotonic()
        return 0

    def connect(self, source):
        return self.jack.jack_connect(self.client, source, b"first_audio:in") == 0

    def reset(self):
        with self.lock:
            self.heard = None

    def close(self):
        self.jack.jack_client_close(self.client)


def one_launch(application, env, listener, log):
    home = tempfile.mkdtemp(prefix="first-audio-home-")
    run_env = dict(env, HOME=home)
    listener.reset()
    start = time.monotonic()
    app = subprocess.Popen([application], env=run_env, stdout=log, stderr=log)
    try:
        connected = False
        while time.monotonic() - start < 30:
            if not connected:
                connected = listener.connect(b"plimsar:out_1")
            if listener.heard is not None:
                return listener.heard - start
            time.sleep(0.0005)
        raise RuntimeError("no audio from %s within 30 s" % application)
    finally:
        app.terminate()
        try:
            app.wait(timeout=20)
        except subprocess.TimeoutExpired:
            app.kill()
            app.wait()
        shutil.rmtree(home, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    applications = [sys.argv[1]] + sys.argv[3:]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    work = tempfile.mkdtemp(prefix="first-audio-")
    env = dict(os.environ, JACK_DEFAULT_SERVER="plimsar-first-audio-%d" % os.getpid(), JACK_NO_START_SERVER="1")
    log = open(os.path.join(work, "log.txt"), "w")
    xvfb, display = start_xvfb(log)
    env["DISPLAY"] = display
    jackd = listener = None
    try:
        jackd = start_jack(env, log)
        listener = Listener(env["JACK_DEFAULT_SERVER"])
        times = {application: [] for application in applications}
        for run in range(runs):
            for application in applications:
                seconds = one_launch(application, env, listener, log)
                times[application].append(seconds)
                print("run %d %s: %.3f s" % (run + 1, application, seconds), flush=True)
        for application in applications:
            print("median %s: %.3f s over %d runs" % (application, statistics.median(times[application]), runs))
        return 0
    except Skip as skip:
        print("skipped:", skip)
        return SKIP
    finally:
        if listener is not None:
            listener.close()
        if jackd is not None:
            jackd.terminate()
            jackd.wait()
        xvfb.terminate()
        xvfb.wait()
        log.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
