"""The saver on a display whose mode cannot be switched (Xvfb at 1280 x 1024,
which has no other mode, as a remote-desktop session or a virtual machine):
a plain green window under everything stands in for the desktop (a colour
the saver never draws, unlike the white of its glow), and screenshots show
that none of it is seen while the saver runs, that the scene is
letterboxed at 4 : 3 in the middle of the screen, and that the desktop is
back after Escape.

    fixed_mode_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR PROBE_EXE OUTPUT_DIR
"""

import os
import shutil
import sys
import time
import unittest

from winenv import WineEnv, black, bolt, pointer_visible, share

ARGS = {}


DESKTOP = "00FF00"


def desktop(rgb):
    return rgb[1] >= 200 and rgb[0] <= 60 and rgb[2] <= 60


def bright_centre(picture, step=2):
    """The centre of the brightest pixels: the glow's white core."""
    xs = ys = n = 0
    for y in range(0, picture.height, step):
        for x in range(0, picture.width, step):
            if sum(picture.at(x, y)) >= 720:
                xs, ys, n = xs + x, ys + y, n + 1
    return (xs // n, ys // n) if n else None


def desktop_pixels(picture, step=2):
    return sum(desktop(picture.at(x, y)) for y in range(0, picture.height, step) for x in range(0, picture.width, step))


class FixedModeEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], ARGS["probe"])
        monitors = cls.wine.probe("monitors")[1].splitlines()
        assert len(monitors) == 1, "needs a display of one monitor"
        cls.width, cls.height = map(int, monitors[0].split()[2:4])
        assert (cls.width, cls.height) != (1024, 768), "needs a display larger than the renderer's mode"
        cls.folder = cls.wine.drive_c("Fulmina")
        os.makedirs(cls.folder, exist_ok=True)
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(cls.folder, name))
        cls.original_mode = cls.wine.probe("mode")[1]
        # The scene's 4 : 3 in the middle of the screen, and the black bars around it.
        h = cls.width * 3 // 4 if cls.width * 3 <= cls.height * 4 else cls.height
        w = h * 4 // 3
        x, y = (cls.width - w) // 2, (cls.height - h) // 2
        cls.scene = (x, y, x + w, y + h)
        cls.bars = [r for r in ((0, 0, cls.width, y), (0, y + h, cls.width, cls.height),
                                (0, y, x, y + h), (x + w, y, cls.width, y + h)) if r[2] > r[0] and r[3] > r[1]]

    def setUp(self):
        self.processes = []
        self.shot = 0
        self.desktop = self.wine.start(ARGS["probe"], "window", 0, 0, self.width, self.height, 120000,
                                       DESKTOP)
        self.processes.append(self.desktop)
        time.sleep(1.5)

    def tearDown(self):
        if self.wine.window() is not None:
            self.wine.probe("post", "close")
            self.wine.wait_gone(10)
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait(10)

    def screenshot(self, name):
        self.shot += 1
        return self.wine.screenshot(os.path.join(ARGS["out"], "fixed-%s-%d-%s.png" % (
            self._testMethodName, self.shot, name)))

    def start_saver(self):
        host = self.wine.start(os.path.join(self.folder, "Fulmina.scr"), "/s")
        self.processes.append(host)
        window = self.wine.wait_window(lambda w: w["visible"] == "1")
        self.assertIsNotNone(window, "no renderer window")
        return host, window

    def assertCoversTheScreen(self, window):
        self.assertEqual(window["class"], "OpenGL")
        self.assertEqual(tuple(int(window[k]) for k in ("left", "top", "right", "bottom")),
                         (0, 0, self.width, self.height))
        self.assertEqual((window["popup"], window["topmost"]), ("1", "1"))

    def lightning(self):
        """A screenshot with the bolts shown (they blink)."""
        for _ in range(8):
            picture = self.screenshot("running")
            if share(picture, self.scene, bolt, step=2) * (self.width * self.height) / 4 > 400:
                return picture
            time.sleep(0.5)
        self.fail("no lightning on the screen")

    def test_no_desktop_is_seen_the_glow_is_centred_and_the_desktop_is_back_after_escape(self):
        before = self.screenshot("before")
        self.assertGreater(share(before, (0, 0, self.width, self.height), desktop), 0.99, "no desktop to hide")
        self.wine.x("xdotool", "mousemove", self.width - 40, self.height - 40)
        time.sleep(0.3)
        self.assertTrue(pointer_visible(self.wine.env["DISPLAY"]), "no pointer to see on the desktop")
        host, window = self.start_saver()
        self.assertCoversTheScreen(window)
        self.assertEqual(self.wine.probe("titled", "Fulmina_VC")[1], "1")
        self.assertEqual(self.wine.probe("mode")[1], self.original_mode, "the display mode was changed")
        self.wine.x("xdotool", "mousemove", self.width - 60, self.height - 60)
        time.sleep(0.5)
        self.assertFalse(pointer_visible(self.wine.env["DISPLAY"]), "the pointer shows over the saver")

        picture = self.lightning()
        # Nothing is drawn outside the scene's viewport: the bars are black.
        for bar in self.bars:
            self.assertEqual(share(picture, bar, black, step=2), 1.0, "the bar %s is not black" % (bar,))
        seen = desktop_pixels(picture)
        cx, cy = self.width // 2, self.height // 2
        centre = bright_centre(picture)
        print("desktop share while running: %.4f (%d pixels of every 2nd); glow centre %s on a %dx%d screen" % (
            seen * 4 / (self.width * self.height), seen, centre, self.width, self.height))
        self.assertEqual(seen, 0, "the desktop shows")
        self.assertIsNotNone(centre, "no glow")
        self.assertLess(abs(centre[0] - cx) + abs(centre[1] - cy), 40, "the glow is not centred")

        # Pressed where the keyboard is: nothing gives it to the renderer first.
        self.wine.x("xdotool", "key", "Escape")
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer did not end on Escape")
        self.assertEqual(host.wait(10), 0)
        self.assertEqual(self.wine.probe("mode")[1], self.original_mode)
        time.sleep(1.0)
        self.wine.x("xdotool", "mousemove", self.width - 40, self.height - 40)
        time.sleep(0.3)
        after = self.screenshot("after")
        self.assertGreater(share(after, (0, 0, self.width, self.height), desktop), 0.99, "the desktop is not back")
        self.assertTrue(pointer_visible(self.wine.env["DISPLAY"]), "the pointer was not given back")

    def test_the_display_switch_goes_to_a_window_and_back_to_the_whole_screen(self):
        self.start_saver()
        self.wine.probe("post", "switch")
        windowed = self.wine.wait_window(lambda w: w["popup"] == "0" and w["visible"] == "1")
        self.assertIsNotNone(windowed, "no window with a frame after the switch")
        self.assertEqual(windowed["topmost"], "0")
        self.wine.probe("post", "switch")
        full = self.wine.wait_window(lambda w: w["popup"] == "1" and w["visible"] == "1")
        self.assertIsNotNone(full, "not full screen again after the second switch")
        self.assertCoversTheScreen(full)
        picture = self.lightning()
        for bar in self.bars:
            self.assertEqual(share(picture, bar, black, step=2), 1.0, "the bar %s is not black" % (bar,))
        self.wine.probe("post", "close")
        self.assertIsNotNone(self.wine.wait_gone(10))


if __name__ == "__main__":
    ARGS.update(env=sys.argv[1], bin=sys.argv[2], probe=sys.argv[3], out=sys.argv[4])
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
