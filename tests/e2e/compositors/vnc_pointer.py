#!/usr/bin/env python3
"""Plays a user's pointer into a Wayland session through its VNC server.

A headless compositor has no pointer device of its own; wayvnc turns the
pointer messages of a VNC client into real Wayland pointer events. Everything
given runs over one connection, for a new connection releases the buttons.

    vnc_pointer.py PORT STEP...

Steps: move:X,Y  down[:BUTTON]  up[:BUTTON]  click[:BUTTON]  double  wait:SECONDS
       drag:X1,Y1,X2,Y2,STEPS  (press at the first point, move in STEPS, release)
Buttons: 1 left, 2 middle, 3 right.
"""
import socket
import struct
import sys
import time


def recv_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise ConnectionError("the VNC server closed the connection")
        data += chunk
    return data


def connect(port):
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    version = recv_exact(sock, 12)
    if not version.startswith(b"RFB "):
        raise ConnectionError("not a VNC server: %r" % version)
    sock.sendall(b"RFB 003.008\n")
    count = recv_exact(sock, 1)[0]
    if count == 0:
        raise ConnectionError("the VNC server refused the connection")
    types = recv_exact(sock, count)
    if 1 not in types:
        raise ConnectionError("the VNC server wants a password (types %r)" % list(types))
    sock.sendall(b"\x01")
    if struct.unpack(">I", recv_exact(sock, 4))[0] != 0:
        raise ConnectionError("the VNC server did not accept the connection")
    sock.sendall(b"\x01")  # shared
    header = recv_exact(sock, 24)
    name_length = struct.unpack(">I", header[20:24])[0]
    recv_exact(sock, name_length)
    return sock


class Pointer:
    def __init__(self, sock):
        self.sock = sock
        self.x = self.y = 0
        self.buttons = 0

    def send(self):
        self.sock.sendall(struct.pack(">BBHH", 5, self.buttons, self.x, self.y))

    def move(self, x, y):
        # A jump arrives as one motion event with no frame event after it; XWayland
        # applies a motion only at the next frame, and would take a press that
        # follows as meant for where the pointer was. A hand never jumps: the
        # pointer lands one pixel short and then steps onto the spot.
        x, y = max(0, x), max(0, y)
        self.x, self.y = x + (1 if x == 0 else -1), y
        self.send()
        time.sleep(0.05)
        self.x = x
        self.send()
        self.moved = True

    def press(self, button):
        # And it rests a moment where it landed before pressing.
        if getattr(self, "moved", False):
            time.sleep(0.2)
            self.moved = False
        self.buttons |= 1 << (button - 1)
        self.send()

    def release(self, button):
        self.buttons &= ~(1 << (button - 1))
        self.send()


def run(pointer, step):
    name, _, arg = step.partition(":")
    if name == "move":
        x, y = (int(v) for v in arg.split(","))
        pointer.move(x, y)
    elif name in ("down", "up", "click"):
        button = int(arg or 1)
        if name != "up":
            pointer.press(button)
        if name == "click":
            time.sleep(0.05)
        if name != "down":
            pointer.release(button)
    elif name == "double":
        for _ in range(2):
            pointer.press(1)
            time.sleep(0.03)
            pointer.release(1)
            time.sleep(0.08)
    elif name == "wait":
        time.sleep(float(arg))
    elif name == "drag":
        x1, y1, x2, y2, steps = (int(v) for v in arg.split(","))
        pointer.move(x1, y1)
        time.sleep(0.1)
        pointer.press(1)
        time.sleep(0.3)
        for i in range(1, steps + 1):
            pointer.move(x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
            time.sleep(0.03)
        time.sleep(0.4)
        pointer.release(1)
    else:
        raise ValueError("unknown step %r" % step)
    time.sleep(0.02)


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        sock = connect(int(sys.argv[1]))
        pointer = Pointer(sock)
        for step in sys.argv[2:]:
            run(pointer, step)
        time.sleep(0.1)
        sock.close()
    except (OSError, ConnectionError, ValueError) as error:
        print("vnc_pointer: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
