#!/usr/bin/env python3
"""Writes what KWin shows, the whole workspace, as an 8-bit PPM.

KWin hands its screenshots over D-Bus (org.kde.KWin.ScreenShot2): the caller
passes the write end of a pipe and reads raw pixels from it, described by the
reply. Needs the session's bus and python3-dbus.

    kwin_shot.py FILE.ppm
"""
import os
import sys

import dbus

# QImage formats KWin answers with: 32-bit pixels, B G R A in memory.
THIRTY_TWO_BIT = {4, 5, 6}  # RGB32, ARGB32, ARGB32_Premultiplied


def capture():
    bus = dbus.SessionBus()
    shots = dbus.Interface(bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                           "org.kde.KWin.ScreenShot2")
    read_end, write_end = os.pipe()
    try:
        reply = shots.CaptureWorkspace({"include-cursor": False}, dbus.types.UnixFd(write_end))
    finally:
        os.close(write_end)
    with os.fdopen(read_end, "rb") as pipe:
        data = pipe.read()
    return {str(k): v for k, v in reply.items()}, data


def to_ppm(reply, data):
    if reply.get("type") != "raw" or int(reply["format"]) not in THIRTY_TWO_BIT:
        raise ValueError("unexpected screenshot %r" % reply)
    width, height, stride = int(reply["width"]), int(reply["height"]), int(reply["stride"])
    if len(data) < stride * height:
        raise ValueError("screenshot cut short: %d of %d bytes" % (len(data), stride * height))
    rgb = bytearray(width * height * 3)
    for row in range(height):
        line = data[row * stride:row * stride + width * 4]
        out = row * width * 3
        for channel, source in enumerate((2, 1, 0)):
            rgb[out + channel:out + width * 3:3] = line[source::4]
    return b"P6\n%d %d\n255\n" % (width, height) + bytes(rgb)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        picture = to_ppm(*capture())
    except (dbus.DBusException, ValueError, OSError) as error:
        print("kwin_shot: %s" % error, file=sys.stderr)
        return 1
    with open(sys.argv[1], "wb") as out:
        out.write(picture)
    return 0


if __name__ == "__main__":
    sys.exit(main())
