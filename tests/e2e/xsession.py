"""A real X server for the game's end-to-end tests: Xvfb, windows found by
their title, keys pressed and held through XTEST (xdotool), and pictures of a
window read straight from the server.

Pictures are read with Xlib's XGetImage through ctypes: a few milliseconds a
picture, so the tests can watch the screen at the pace of the game's own
passes (40 ms) instead of guessing with fixed sleeps.
"""

import ctypes
import ctypes.util
import os
import struct
import subprocess
import time
import zlib


class Failure(Exception):
    """A check of the end-to-end test that did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout, interval=0.02):
    """Calls probe() until it returns something true; that is the result."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


class _XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
    ]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# An X error (a window that went away while being read) must not end the test
# process, which is what Xlib's own handler does; the failed call returns null.
_ignore_x_errors = _ERROR_HANDLER(lambda display, event: 0)


class Shot:
    """A picture of a window: width x height pixels, 4 bytes each (B, G, R, 0)."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def __eq__(self, other):
        return isinstance(other, Shot) and (self.width, self.height, self.pixels) == (
            other.width, other.height, other.pixels)

    def __hash__(self):
        return hash(self.pixels)

    def alike(self, other, tolerance=8):
        """Whether both pictures show the same thing: no colour apart by more
        than one step of a 16-bit screen. Alpha blending onto a 16-bit screen
        rounds after the picture that was there before, so the same screen
        reached along two ways can differ by that step here and there."""
        if self == other:
            return True
        if other is None or (self.width, self.height) != (other.width, other.height):
            return False
        stride = self.width * 4
        for y in range(self.height):
            a = self.pixels[y * stride:(y + 1) * stride]
            b = other.pixels[y * stride:(y + 1) * stride]
            if a != b and max(abs(p - q) for p, q in zip(a, b)) > tolerance:
                return False
        return True

    def rgb(self, x, y):
        i = (y * self.width + x) * 4
        b, g, r = self.pixels[i:i + 3]
        return r, g, b

    def rows(self, spans):
        """The pixel values within the given (y, x0, x1) spans, as one sequence."""
        view = memoryview(self.pixels).cast("I")
        for y, x0, x1 in spans:
            yield view[y * self.width + x0:y * self.width + x1]

    def same_pixels(self, other, spans):
        """How many pixels in the spans are exactly alike in both pictures."""
        same = 0
        for a, b in zip(self.rows(spans), other.rows(spans)):
            if a == b:
                same += len(a)
            else:
                same += sum(1 for p, q in zip(a, b) if p == q)
        return same

    def write_png(self, path):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            row = self.pixels[y * self.width * 4:(y + 1) * self.width * 4]
            rgb = bytearray(self.width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
            raw += rgb

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(
                ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b""))

    def sketch(self, columns=40, rows=12):
        """A few lines of text that show the picture's light and dark areas."""
        ramp = " .:-=+*#%@"
        lines = []
        for r in range(rows):
            line = ""
            for c in range(columns):
                x0, x1 = c * self.width // columns, (c + 1) * self.width // columns
                y0, y1 = r * self.height // rows, (r + 1) * self.height // rows
                total = count = 0
                for y in range(y0, y1, 4):
                    for x in range(x0, x1, 4):
                        red, green, blue = self.rgb(x, y)
                        total += 3 * red + 6 * green + blue
                        count += 10
                line += ramp[min(len(ramp) - 1, total * len(ramp) // (256 * count))]
            lines.append("|" + line + "|")
        return lines


class XServer:
    """An Xvfb of its own on a free display number, ended with close()."""

    def __init__(self, width=1024, height=768):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        # Xvfb writes its display number once it accepts clients.
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        check(number.isdigit(), "Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self._sizes = {}
        self._xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self._xlib.XOpenDisplay.restype = ctypes.c_void_p
        self._xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._xlib.XGetImage.restype = ctypes.POINTER(_XImage)
        self._xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                         ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self._xlib.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        self._xlib.XSetErrorHandler(_ignore_x_errors)
        self._connection = self._xlib.XOpenDisplay(self.display.encode())
        check(self._connection, "cannot connect to Xvfb")

    def close(self):
        self._xlib.XCloseDisplay(ctypes.c_void_p(self._connection))
        self.process.terminate()
        self.process.wait(timeout=10)

    def run(self, *args):
        """Runs an X client such as xdotool; its standard output, stripped."""
        done = subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=20)
        return done.stdout.strip() if done.returncode == 0 else None

    def windows(self, title):
        """The windows whose title is exactly `title`."""
        found = self.run("xdotool", "search", "--name", title)
        ids = [int(w) for w in found.split()] if found else []
        return [w for w in ids if self.run("xdotool", "getwindowname", str(w)) == title]

    def size(self, window):
        """(width, height) of a window, or None once it has gone."""
        geometry = self.run("xdotool", "getwindowgeometry", "--shell", str(window))
        if not geometry:
            return None
        values = dict(line.split("=", 1) for line in geometry.splitlines())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def focus(self, window):
        self.run("xdotool", "windowfocus", str(window))
        check(self.run("xdotool", "getwindowfocus") == str(window), "window did not take the focus")

    def key_down(self, key):
        check(self.run("xdotool", "keydown", key) is not None, f"xdotool could not press {key}")

    def key_up(self, key):
        check(self.run("xdotool", "keyup", key) is not None, f"xdotool could not release {key}")

    def shot(self, window):
        """The window's picture as the server shows it, or None once it has gone."""
        all_planes = 0xFFFFFFFF
        z_pixmap = 2
        if window not in self._sizes:
            self._sizes[window] = self.size(window)
        if self._sizes[window] is None:
            return None
        width, height = self._sizes[window]
        image = self._xlib.XGetImage(ctypes.c_void_p(self._connection), window, 0, 0, width, height,
                                     all_planes, z_pixmap)
        if not image:
            return None
        try:
            im = image.contents
            check(im.bits_per_pixel == 32 and im.byte_order == 0, "unexpected X picture format")
            line = im.bytes_per_line
            data = bytearray(ctypes.string_at(im.data, line * height))
        finally:
            self._xlib.XDestroyImage(image)
        stride = width * 4
        if line != stride:
            data = bytearray(b"".join(data[y * line:y * line + stride] for y in range(height)))
        data[3::4] = bytes(width * height)  # the unused fourth byte carries nothing
        return Shot(width, height, bytes(data))
