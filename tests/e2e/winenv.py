"""The end-to-end tests' view of the Wine test environment (tools/wine-env):
running Windows programs in it, driving them with the probe helper and the
keyboard, and looking at the virtual display."""

import ctypes
import ctypes.util
import os
import shutil
import struct
import subprocess
import time


# Folder names that code page 932 cannot spell: Müller, 사용자.
UNSPELLABLE_IN_932 = ("M\u00fcller", "\uc0ac\uc6a9\uc790")
# An untextured sprite square's side, as screenshots show it.
EDGE_STEP = 24  # brightness step across a sprite square's side
EDGE_RUN = 12   # rows of the same step, one above the other


class WineEnv:
    def __init__(self, env_dir, probe):
        self.env_dir = env_dir
        self.probe_exe = probe
        self.env = dict(os.environ)
        with open(os.path.join(env_dir, "env.sh")) as f:
            for line in f:
                if line.startswith("export "):
                    name, _, value = line[len("export "):].strip().partition("=")
                    self.env[name] = value.strip('"')
        self.env["WINEDEBUG"] = "-all"
        self.wine = self.env["WINE"]
        self.prefix = self.env["WINEPREFIX"]

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def fresh_copy(self, source, name, test):
        """The folder source copied to C:\\NAME\\Fulmina, gone again when the test ends."""
        folder = self.drive_c(name, "Fulmina")
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(source, folder)
        test.addCleanup(shutil.rmtree, self.drive_c(name), True)
        return folder

    def start(self, program, *args, winedebug=None, stderr=None, lang=None):
        """lang: another Unix locale for the program (its ANSI code page)."""
        env = dict(self.env)
        if winedebug:
            env["WINEDEBUG"] = winedebug
        if lang:
            env["LANG"] = env["LC_ALL"] = lang
        return subprocess.Popen([self.wine, program, *map(str, args)], env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE if stderr == "pipe"
                                else subprocess.DEVNULL,
                                stderr=stderr if stderr not in (None, "pipe") else subprocess.DEVNULL)

    def probe(self, *args, timeout=30):
        done = subprocess.run([self.wine, self.probe_exe, *map(str, args)], env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              timeout=timeout)
        return done.returncode, done.stdout.strip()

    def window(self):
        """The renderer window's properties, or None when there is none."""
        code, out = self.probe("find")
        if code != 0:
            return None
        return dict(item.split("=", 1) for item in out.split())

    def wait_window(self, predicate=lambda w: True, timeout=15.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            w = self.window()
            if w is not None and predicate(w):
                return w
            time.sleep(0.1)
        return None

    def wait_gone(self, timeout=15.0):
        """True once no renderer window exists, None on time-out."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.window() is None:
                return True
            time.sleep(0.1)
        return None

    def run_reg(self, *args):
        return subprocess.run([self.wine, "reg.exe", *args], env=self.env, capture_output=True, timeout=60)

    def x(self, *args):
        return subprocess.run(list(map(str, args)), env=self.env, capture_output=True, text=True, timeout=30)

    def focus(self, title, program):
        """Gives the keyboard focus to the window of that title whose program
        (Wine names each X window's class after it) is program."""
        ids = self.x("xdotool", "search", "--all", "--name", "^%s$" % title,
                     "--classname", "^%s$" % program.lower()).stdout.split()
        if ids:
            self.x("xdotool", "windowfocus", "--sync", ids[0])
            time.sleep(0.3)

    def press(self, key, title="Fulmina_VC", program="Fulmina.dll"):
        """Gives the window the keyboard focus and presses a key the way a
        person does: held for a moment, not a synthetic tap."""
        self.focus(title, program)
        self.x("xdotool", "keydown", key)
        time.sleep(0.2)
        self.x("xdotool", "keyup", key)

    def tap(self, key, title="Fulmina_VC", program="Fulmina.dll"):
        """A quick tap: key-down and key-up sent with no pause between, so that
        both reach the program in one pass of its message pump, as a quick
        tap during a slow frame does."""
        self.focus(title, program)
        self.x("xdotool", "key", "--delay", "0", key)

    def screenshot(self, path):
        self.x("import", "-window", "root", path)
        return read_picture(path, self.env)

    def screenshots(self, folder, name, count=3, pause=0.4):
        """A few screenshots a moment apart, kept as folder/name-N.png."""
        pictures = []
        for i in range(count):
            pictures.append(self.screenshot(os.path.join(folder, "%s-%d.png" % (name, i))))
            time.sleep(pause)
        return pictures


class Picture:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]


def read_picture(path, env=None):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True,
                         env=env, timeout=60, check=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    assert fields[0] == b"P6"
    width, height = int(fields[1]), int(fields[2])
    return Picture(width, height, ppm[pos + 1:pos + 1 + width * height * 3])


def bolt_pixels(picture, step=2):
    """Pixels of the bolt colour, every step-th in each direction."""
    n = 0
    for y in range(0, picture.height, step):
        for x in range(0, picture.width, step):
            n += bolt(picture.at(x, y))
    return n


def share(picture, rect, test, step=4):
    """The share of the rectangle's pixels (every step-th) that pass test."""
    left, top, right, bottom = rect
    n = hits = 0
    for y in range(max(top, 0), min(bottom, picture.height), step):
        for x in range(max(left, 0), min(right, picture.width), step):
            n += 1
            hits += bool(test(picture.at(x, y)))
    return hits / n if n else 0.0


def black(rgb):
    return max(rgb) <= 8


def bolt(rgb):
    """The bolts' colour: more red than green (the sprites never are)."""
    return rgb[0] > 90 and rgb[0] > rgb[1] + 30


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def pointer_visible(display):
    """Whether the X server's current pointer image has any opaque pixel."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    assert dpy, "cannot open " + display
    try:
        image = xfixes.XFixesGetCursorImage(dpy)
        assert image, "no pointer image"
        c = image.contents
        opaque = any((c.pixels[i] >> 24) & 0xFF for i in range(c.width * c.height))
        x11.XFree(image)
        return opaque
    finally:
        x11.XCloseDisplay(dpy)


def straight_edges(picture):
    """Columns where a sharp step in the sprites' colour runs straight down for
    EDGE_RUN rows: the side of an untextured sprite square. A soft glow has
    none; the bolts (more red than green) are left out."""
    runs = 0
    for x in range(picture.width - 1):
        run = 0
        for y in range(picture.height):
            (r0, g0, b0), (r1, g1, b1) = picture.at(x, y), picture.at(x + 1, y)
            run = run + 1 if r0 <= g0 + 30 and r1 <= g1 + 30 and abs(b0 - b1) >= EDGE_STEP else 0
            runs += run == EDGE_RUN
    return runs


def glow_pixels(picture, half=64, step=2):
    """Pixels of the sprites' blue-white in the square of side 2 x half about
    the screen's centre, where the glow sprites crowd; the bolts (more red
    than green) are left out. A sprite texture that is black puts them out."""
    cx, cy, n = picture.width // 2, picture.height // 2, 0
    for y in range(cy - half, cy + half, step):
        for x in range(cx - half, cx + half, step):
            r, g, b = picture.at(x, y)
            n += b > 150 and r <= g + 30
    return n


def red_pixels(picture, step=4):
    """Pixels of a red sprite texture: red with little green or blue, which
    neither the glow nor the bolts ever are."""
    n = 0
    for y in range(0, picture.height, step):
        for x in range(0, picture.width, step):
            r, g, b = picture.at(x, y)
            n += r > 100 and g < 60 and b < 60
    return n


def another_accounts(path):
    """Gives a file to a Unix user other than the one Wine runs as: Wine then
    reports another account (not the user) as its owner, as Windows does for
    a file another account made."""
    other = 54321 if os.getuid() != 54321 else 54322
    os.chown(path, other, other)


def bmp_file(width, height, rgb):
    """The bytes of a 24-bit BMP file of one colour."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += bytes((-len(row)) % 4)
    pixels = row * height
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0) + pixels)
