#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
#
# Start-up and exit of window programs, side by side in one run on one virtual X
# server: for each launch, the time from exec to the window being mapped, the time
# from the window manager's close request to the process's end, and the peak RSS.
#   measure_startup.py [--runs N] NAME=COMMAND [NAME=COMMAND ...]
# The programs run in turn, round after round, so that a busy machine weighs on
# all of them alike; medians are printed.
import argparse
import ctypes
import os
import select
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]

MAP_NOTIFY = 19
CLIENT_MESSAGE = 33
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", MapEvent), ("client", ClientMessage),
                ("pad", ctypes.c_long * 24)]


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        return server, ":" + numbers.readline().strip()


def launch_once(display, command, environment):
    """Returns (ms to mapped, ms from close request to exit, peak RSS in KiB)."""
    root = x11.XDefaultRootWindow(display)
    x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    x11.XFlush(display)
    while x11.XPending(display):
        x11.XNextEvent(display, ctypes.byref(Event()))
    started = time.monotonic()
    process = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    fd = x11.XConnectionNumber(display)
    window = None
    while window is None:
        if time.monotonic() - started > 30:
            process.kill()
            raise RuntimeError("no window from " + " ".join(command))
        if not x11.XPending(display):
            select.select([fd], [], [], 0.05)
            continue
        event = Event()
        x11.XNextEvent(display, ctypes.byref(event))
        if event.type == MAP_NOTIFY and not event.map.override_redirect:
            window = event.map.window
    mapped = time.monotonic()
    time.sleep(0.3)  # let the first paint settle before asking it to close
    request = Event()
    request.client.type = CLIENT_MESSAGE
    request.client.window = window
    request.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    request.client.format = 32
    request.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    closing = time.monotonic()
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(request))
    x11.XFlush(display)
    _, status, usage = os.wait4(process.pid, 0)
    ended = time.monotonic()
    process.returncode = status
    return (mapped - started) * 1000, (ended - closing) * 1000, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("programs", nargs="+", metavar="NAME=COMMAND")
    args = parser.parse_args()
    programs = [(p.split("=", 1)[0], shlex.split(p.split("=", 1)[1])) for p in args.programs]

    server, name = start_xvfb()
    runtime = tempfile.mkdtemp(prefix="taxcalc-startup.")
    os.chmod(runtime, 0o700)
    environment = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
    environment.pop("WAYLAND_DISPLAY", None)
    display = x11.XOpenDisplay(name.encode())
    results = {label: [] for label, _ in programs}
    try:
        for label, command in programs:  # one launch each to warm the caches
            launch_once(display, command, environment)
        for _ in range(args.runs):
            for label, command in programs:
                results[label].append(launch_once(display, command, environment))
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(runtime, ignore_errors=True)
    print("%-12s %8s %8s %8s %10s" % ("program", "mapped", "(min)", "exit", "peak RSS"))
    for label, _ in programs:
        runs = results[label]
        print("%-12s %6.1f ms %6.1f ms %6.1f ms %6.1f MiB" % (
            label, statistics.median(r[0] for r in runs), min(r[0] for r in runs),
            statistics.median(r[1] for r in runs), statistics.median(r[2] for r in runs) / 1024))


if __name__ == "__main__":
    sys.exit(main())
