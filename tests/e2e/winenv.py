"""The end-to-end tests' view of the Wine test environment (tools/wine-env):
running Windows programs in it, driving them with the probe helper and the
keyboard, and looking at the virtual display."""

import ctypes
import ctypes.util
import os
import shutil
import subprocess
import time


# Folder names that code page 932 cannot spell: Müller, 사용자.
UNSPELLABLE_IN_932 = ("M\u00fcller", "\uc0ac\uc6a9\uc790")


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
