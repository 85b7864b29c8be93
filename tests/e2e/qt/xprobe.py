#!/usr/bin/env python3
"""Small X11 probes for the end-to-end tests, on plain libX11/libXfixes through ctypes.

  xprobe.py backdrop LOG RRGGBB X Y W H
                                  a window of that colour at the bottom of the stack; every
                                  button press it receives is appended to LOG as "x y button"
  xprobe.py cursor                the current pointer image: width height xhot yhot and the
                                  number of strawberry-red pixels in it
  xprobe.py tray                  exit status 0 when a tray host owns the system tray selection
  xprobe.py free                  exit status 0 when no program holds the pointer: it can be
                                  grabbed (and is let go at once)
  xprobe.py audible RAW           seconds from the first to the last clearly audible sample of
                                  a recording (16-bit little-endian stereo at 44100 Hz)
  xprobe.py region PPM X Y W H RRGGBB
                                  of a screenshot's rectangle: how many pixels differ from the
                                  backdrop colour, how many are exact key blue, and one drawn
                                  pixel nearest the rectangle's centre ("none" if there is none)
  xprobe.py grip WINDOW [BOTTOM]   a point of the screen inside a window's shape in two looks
                                  a tick apart, and so are its neighbours three pixels off on
                                  each side, nearest the middle of the shape (failing that,
                                  any point the two looks share; nothing, and status 1, if
                                  there is none):
                                  where a press takes hold of the mascot whichever of two
                                  alternating frames is up, and whatever lies beneath it;
                                  with BOTTOM, only above that screen row (where a bar at the
                                  bottom of the screen, stacked over the window, ends)
  xprobe.py ink PPM X Y W H       how many pixels of a screenshot's rectangle differ from its
                                  most common colour (the text on a menu, for instance)
  xprobe.py figure BMP            where a 24-bit picture's pixels other than key blue begin:
                                  the left and top of their bounding box
  xprobe.py replica PPM BMP X Y N RRGGBB
                                  compares a screenshot at (X, Y) with a 24-bit picture shown
                                  N times by pixel replication over a backdrop of that colour:
                                  how many pixels differ from it, and how many are key blue
"""
import ctypes
import ctypes.util
import sys
import time


def load(name, fallback):
    return ctypes.CDLL(ctypes.util.find_library(name) or fallback)


x11 = load("X11", "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]


def open_display():
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("xprobe: cannot open the display")
    return display


class SetWindowAttributes(ctypes.Structure):
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("cursor", ctypes.c_ulong)]


class ButtonEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("root", ctypes.c_ulong), ("subwindow", ctypes.c_ulong), ("time", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("x_root", ctypes.c_int),
                ("y_root", ctypes.c_int), ("state", ctypes.c_uint), ("button", ctypes.c_uint)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("button", ButtonEvent), ("pad", ctypes.c_long * 24)]


BUTTON_PRESS = 4
BUTTON_PRESS_MASK = 1 << 2
CW_BACK_PIXEL = 1 << 1
CW_OVERRIDE_REDIRECT = 1 << 9
CW_EVENT_MASK = 1 << 11


def backdrop(log_path, colour, x, y, w, h):
    """Stands in for the desktop: below every other window, and it notes the clicks it gets."""
    display = open_display()
    root = x11.XDefaultRootWindow(display)
    attributes = SetWindowAttributes()
    attributes.background_pixel = int(colour, 16)
    attributes.override_redirect = 1
    attributes.event_mask = BUTTON_PRESS_MASK
    x11.XCreateWindow.restype = ctypes.c_ulong
    x11.XCreateWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_void_p, ctypes.c_ulong,
                                  ctypes.POINTER(SetWindowAttributes)]
    window = x11.XCreateWindow(display, root, x, y, w, h, 0, 0, 1, None,
                               CW_BACK_PIXEL | CW_OVERRIDE_REDIRECT | CW_EVENT_MASK,
                               ctypes.byref(attributes))
    x11.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
    x11.XStoreName(display, window, b"backdrop")
    x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XLowerWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XMapWindow(display, window)
    x11.XLowerWindow(display, window)
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XFlush(display)
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    event = Event()
    with open(log_path, "a", buffering=1) as log:
        log.write("ready\n")
        while True:
            x11.XNextEvent(display, ctypes.byref(event))
            if event.type == BUTTON_PRESS:
                b = event.button
                log.write(f"{b.x_root} {b.y_root} {b.button}\n")


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def cursor():
    xfixes = load("Xfixes", "libXfixes.so.3")
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    image = xfixes.XFixesGetCursorImage(open_display()).contents
    red = 0
    for i in range(image.width * image.height):
        argb = image.pixels[i]
        a, r, g = (argb >> 24) & 255, (argb >> 16) & 255, (argb >> 8) & 255
        if a > 128 and r > 150 and g < 100:
            red += 1
    print(image.width, image.height, image.xhot, image.yhot, red)


def tray():
    display = open_display()
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    atom = x11.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0)
    sys.exit(0 if x11.XGetSelectionOwner(display, atom) else 1)


def free():
    display = open_display()
    x11.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                                 ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                                 ctypes.c_ulong]
    x11.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    grab_success = 0
    status = x11.XGrabPointer(display, x11.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    if status == grab_success:
        x11.XUngrabPointer(display, 0)
    x11.XSync(display, 0)
    sys.exit(0 if status == grab_success else 1)


def audible(path, threshold=300):
    with open(path, "rb") as f:
        data = f.read()
    samples = memoryview(data[:len(data) // 4 * 4]).cast("h")
    loud = [i // 2 for i in range(0, len(samples), 2) if abs(samples[i]) > threshold]
    print(f"{(loud[-1] - loud[0]) / 44100:.3f}" if loud else "0")


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("xprobe: expected an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[at + 1:]


def region(path, x, y, w, h, colour):
    width, height, pixels = read_ppm(path)
    back = bytes.fromhex(colour)
    drawn = blue = 0
    best, best_distance = None, None
    cx, cy = x + w // 2, y + h // 2
    for py in range(max(y, 0), min(y + h, height)):
        for px in range(max(x, 0), min(x + w, width)):
            at = (py * width + px) * 3
            pixel = pixels[at:at + 3]
            if pixel == b"\x00\x00\xff":
                blue += 1
            if pixel != back:
                drawn += 1
                distance = abs(px - cx) + abs(py - cy)
                if best is None or distance < best_distance:
                    best, best_distance = (px, py), distance
    print(drawn, blue, f"{best[0]} {best[1]}" if best else "none")


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


def shape_on_screen(display, window, screen_width, screen_height):
    """The window's bounding shape as a screen-sized bitmap, and the shape's extents."""
    xext = load("Xext", "libXext.so.6")
    xext.XShapeGetRectangles.restype = ctypes.POINTER(XRectangle)
    xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                         ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                          ctypes.c_int, ctypes.c_int,
                                          ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_ulong)]
    left, top, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    if not x11.XTranslateCoordinates(display, window, x11.XDefaultRootWindow(display), 0, 0,
                                     ctypes.byref(left), ctypes.byref(top), ctypes.byref(child)):
        return None, None
    count, ordering = ctypes.c_int(), ctypes.c_int()
    rects = xext.XShapeGetRectangles(display, window, 0, ctypes.byref(count), ctypes.byref(ordering))
    covered = bytearray(screen_width * screen_height)
    extents = None
    for i in range(count.value):
        r = rects[i]
        x0, y0 = max(left.value + r.x, 0), max(top.value + r.y, 0)
        x1 = min(left.value + r.x + r.width, screen_width)
        y1 = min(top.value + r.y + r.height, screen_height)
        if x0 >= x1 or y0 >= y1:
            continue
        for row in range(y0, y1):
            covered[row * screen_width + x0:row * screen_width + x1] = b"\x01" * (x1 - x0)
        extents = (x0, y0, x1, y1) if extents is None else (
            min(extents[0], x0), min(extents[1], y0), max(extents[2], x1), max(extents[3], y1))
    return covered, extents


def grip(window, bottom=None):
    display = open_display()
    x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    width, height = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    if bottom is not None:
        height = min(height, bottom)
    first, extents = shape_on_screen(display, window, width, height)
    time.sleep(0.12)
    second, _ = shape_on_screen(display, window, width, height)
    if extents is None or second is None:
        sys.exit(1)

    def held(px, py, around):
        return all(0 <= px + dx < width and 0 <= py + dy < height and
                   first[(py + dy) * width + px + dx] and second[(py + dy) * width + px + dx]
                   for dx, dy in around)

    # A point with room round it, where a moving frame cannot slip from under
    # the press; failing that, as of a mascot showing only a sliver of itself,
    # any point that both looks share.
    cx, cy = (extents[0] + extents[2]) // 2, (extents[1] + extents[3]) // 2
    for around in (((0, 0), (3, 0), (-3, 0), (0, 3), (0, -3)), ((0, 0),)):
        best = min(((abs(px - cx) + abs(py - cy), px, py)
                    for py in range(extents[1], extents[3]) for px in range(extents[0], extents[2])
                    if held(px, py, around)), default=None)
        if best:
            print(f"{best[1]} {best[2]}")
            return
    sys.exit(1)


def ink(path, x, y, w, h):
    width, height, pixels = read_ppm(path)
    counts = {}
    for py in range(max(y, 0), min(y + h, height)):
        row = (py * width) * 3
        for px in range(max(x, 0), min(x + w, width)):
            pixel = pixels[row + px * 3:row + px * 3 + 3]
            counts[pixel] = counts.get(pixel, 0) + 1
    print(sum(counts.values()) - max(counts.values(), default=0))


def read_bmp(path):
    """A bottom-up 24-bit BMP as width, height and rows of RGB bytes, top row first."""
    with open(path, "rb") as f:
        data = f.read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    if data[:2] != b"BM" or int.from_bytes(data[28:30], "little") != 24 or height <= 0:
        sys.exit("xprobe: expected a bottom-up 24-bit BMP")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        row = offset + (height - 1 - y) * stride
        rows.append(b"".join(data[row + x * 3:row + x * 3 + 3][::-1] for x in range(width)))
    return width, height, rows


def figure(path):
    width, height, rows = read_bmp(path)
    left, top = width, height
    for y in range(height):
        for x in range(width):
            if rows[y][x * 3:x * 3 + 3] != b"\x00\x00\xff":
                left, top = min(left, x), min(top, y)
    print(left, top)


def replica(ppm, bmp, x, y, n, colour):
    width, height, pixels = read_ppm(ppm)
    w, h, rows = read_bmp(bmp)
    back = bytes.fromhex(colour)
    wrong = blue = 0
    for py in range(h * n):
        for px in range(w * n):
            sx, sy = x + px, y + py
            if not (0 <= sx < width and 0 <= sy < height):
                wrong += 1
                continue
            at = (sy * width + sx) * 3
            seen = pixels[at:at + 3]
            expected = rows[py // n][px // n * 3:px // n * 3 + 3]
            if expected == b"\x00\x00\xff":
                expected = back
            wrong += seen != expected
            blue += seen == b"\x00\x00\xff"
    print(wrong, blue)


def main(argv):
    if len(argv) == 7 and argv[0] == "backdrop":
        backdrop(argv[1], argv[2], *map(int, argv[3:7]))
    elif argv == ["cursor"]:
        cursor()
    elif argv == ["tray"]:
        tray()
    elif argv == ["free"]:
        free()
    elif len(argv) == 2 and argv[0] == "audible":
        audible(argv[1])
    elif len(argv) == 6 and argv[0] == "ink":
        ink(argv[1], *map(int, argv[2:6]))
    elif len(argv) == 2 and argv[0] == "figure":
        figure(argv[1])
    elif len(argv) == 7 and argv[0] == "replica":
        replica(argv[1], argv[2], *map(int, argv[3:6]), argv[6])
    elif len(argv) in (2, 3) and argv[0] == "grip":
        grip(int(argv[1], 0), *map(int, argv[2:]))
    elif len(argv) == 7 and argv[0] == "region":
        region(argv[1], *map(int, argv[2:6]), argv[6])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
