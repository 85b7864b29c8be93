#!/usr/bin/env python3
"""Plays a user's pointer into a GNOME Shell session through the shell's Eval.

A headless mutter has no pointer device of its own; a virtual pointer made in
the shell's own Clutter seat gives real pointer events to every client, X or
Wayland. The shell must run in unsafe mode, and DBUS_SESSION_BUS_ADDRESS must
name its session bus.

    gnome_pointer.py STEP...

Steps and their timing are those of vnc_pointer.py.
"""
import subprocess
import sys

import vnc_pointer

DEVICE = """
if (!global._pelmoPointer) {
  const Clutter = imports.gi.Clutter;
  global._pelmoPointer = Clutter.get_default_backend().get_default_seat()
    .create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
}
const pointer = global._pelmoPointer;
const now = imports.gi.GLib.get_monotonic_time();
"""


def evaluate(script):
    reply = subprocess.run(
        ["gdbus", "call", "--session", "--dest", "org.gnome.Shell",
         "--object-path", "/org/gnome/Shell", "--method", "org.gnome.Shell.Eval",
         DEVICE + script + '\n"done"'],
        capture_output=True, text=True, timeout=10)
    if reply.returncode != 0 or not reply.stdout.startswith("(true,"):
        raise ConnectionError("the shell refused Eval: %s%s" % (reply.stdout, reply.stderr))


class Pointer(vnc_pointer.Pointer):
    """The VNC pointer's moves and presses, sent as Clutter events."""

    def __init__(self):
        super().__init__(None)
        self.sent = (None, None, 0)

    def send(self):
        x, y, buttons = self.sent
        script = ""
        if (x, y) != (self.x, self.y):
            script += "pointer.notify_absolute_motion(now, %d, %d);\n" % (self.x, self.y)
        for bit in range(3):
            if (buttons ^ self.buttons) & (1 << bit):
                state = 1 if self.buttons & (1 << bit) else 0
                script += "pointer.notify_button(now, %d, %d);\n" % (bit + 1, state)
        if script:
            evaluate(script)
        self.sent = (self.x, self.y, self.buttons)


def main():
    try:
        pointer = Pointer()
        for step in sys.argv[1:]:
            vnc_pointer.run(pointer, step)
    except (OSError, ConnectionError, ValueError, subprocess.SubprocessError) as error:
        print("gnome_pointer: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
