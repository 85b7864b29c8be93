#!/usr/bin/env python3
"""Milliseconds from starting a program to its first window mapped on the display.

  first-window.py NAME PROGRAM [ARGS...]

Watches the root window's children, then starts PROGRAM and waits (30 s at most)
for the first window to be mapped whose name is NAME (any window when NAME is
empty); prints the time from just before the program's exec to that map, and
ends the program. The watch is set up before the start, so no map is missed,
and it waits in the X connection, so the figure carries no polling delay.
"""
import ctypes
import ctypes.util
import os
import select
import signal
import subprocess
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFree.argtypes = [ctypes.c_void_p]


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", MapEvent), ("pad", ctypes.c_long * 24)]


MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


def window_name(display, window):
    name = ctypes.c_char_p()
    if not x11.XFetchName(display, window, ctypes.byref(name)) or not name.value:
        return ""
    text = name.value.decode("utf-8", "replace")
    x11.XFree(name)
    return text


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    wanted, command = sys.argv[1], sys.argv[2:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("first-window: cannot open the display")
    x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    x11.XSync(display, 0)
    connection = x11.XConnectionNumber(display)
    start = time.monotonic()
    program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = start + 30
    event = Event()
    try:
        while time.monotonic() < deadline:
            if not x11.XPending(display):
                select.select([connection], [], [], 0.5)
                continue
            x11.XNextEvent(display, ctypes.byref(event))
            if event.type != MAP_NOTIFY:
                continue
            mapped = time.monotonic()
            if wanted and window_name(display, event.map.window) != wanted:
                continue
            print(f"{(mapped - start) * 1000:.1f}")
            return 0
        print("first-window: no such window was mapped within 30 s", file=sys.stderr)
        return 1
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(5)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()


if __name__ == "__main__":
    sys.exit(main())
