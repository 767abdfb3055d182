"""The saver on a display whose mode cannot be switched (Xvfb at 1280 x 1024,
which has no other mode, as a remote-desktop session or a virtual machine).
A plain green window under everything stands in for the desktop (a colour the
saver never draws, unlike the white of its glow); screenshots show that none
of it is seen while the saver runs, with the scene letterboxed at 4 : 3 in the
middle (the renderer's window) and black around it (its dark windows), also
after a switch to a framed window and back, and that the desktop is back
after Escape.

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
    """Where the brightest pixels are, the median of each coordinate: the
    glow's white core, whatever bright bolts lie around it."""
    points = [(x, y) for y in range(0, picture.height, step) for x in range(0, picture.width, step)
              if sum(picture.at(x, y)) >= 720]
    return tuple(sorted(c)[len(c) // 2] for c in zip(*points)) if points else None


class FixedModeEndToEnd(unittest.TestCase):
    def setUp(self):
        self.wine = WineEnv(ARGS["env"], ARGS["probe"])
        monitors = self.wine.probe("monitors")[1].splitlines()
        self.assertEqual(len(monitors), 1, "needs a display of one monitor")
        self.width, self.height = map(int, monitors[0].split()[2:4])
        self.screen = (0, 0, self.width, self.height)
        self.assertNotEqual((self.width, self.height), (1024, 768), "needs a display larger than the mode")
        folder = self.wine.drive_c("Fulmina")
        os.makedirs(folder, exist_ok=True)
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(folder, name))
        self.host_path = os.path.join(folder, "Fulmina.scr")
        # The renderer's window: the 4 : 3 scene in the middle of the screen;
        # black bars around it.
        h = min(self.height, self.width * 3 // 4)
        w, x, y = h * 4 // 3, (self.width - h * 4 // 3) // 2, (self.height - h) // 2
        self.scene = (x, y, x + w, y + h)
        self.bars = [r for r in ((0, 0, self.width, y), (0, y + h, self.width, self.height),
                                 (0, y, x, y + h), (x + w, y, self.width, y + h)) if r[2] > r[0] and r[3] > r[1]]
        self.processes = [self.wine.start(ARGS["probe"], "window", 0, 0, self.width, self.height, 120000, DESKTOP)]
        time.sleep(1.5)

    def tearDown(self):
        if self.wine.window() is not None:
            self.wine.probe("post", "close")
            self.wine.wait_gone(10)
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait(10)

    def look(self, name):
        path = os.path.join(ARGS["out"], "fixed-mode-%s.png" % name)
        for _ in range(8):  # the bolts blink: a look with them shown
            picture = self.wine.screenshot(path)
            if share(picture, self.screen, bolt, step=2) * self.width * self.height / 4 > 400:
                return picture
            time.sleep(0.5)
        self.fail("no lightning on the screen")

    def pointer_over_the_desktop(self):
        self.moves = getattr(self, "moves", 0) + 1  # a new spot each time: X then shows the pointer anew
        self.wine.x("xdotool", "mousemove", self.width - 40 - 10 * self.moves, self.height - 40)
        time.sleep(0.4)
        return pointer_visible(self.wine.env["DISPLAY"])

    def assertWholeScreenHidden(self, name):
        window = self.wine.window()
        self.assertEqual((window["class"], window["popup"], window["topmost"]), ("OpenGL", "1", "1"))
        self.assertEqual(tuple(int(window[k]) for k in ("left", "top", "right", "bottom")), self.scene)
        picture = self.look(name)
        seen = share(picture, self.screen, desktop, step=2)
        centre = bright_centre(picture)
        print("%s: desktop share %.4f, glow centre %s on %dx%d" % (name, seen, centre, self.width, self.height))
        self.assertEqual(seen, 0.0, "the desktop shows")
        for bar in self.bars:
            self.assertEqual(share(picture, bar, black, step=2), 1.0, "the bar %s is not black" % (bar,))
        self.assertLess(max(abs(centre[0] - self.width // 2), abs(centre[1] - self.height // 2)), 48, "not centred")

    def test_no_desktop_is_seen_while_the_saver_runs_and_it_is_back_after_escape(self):
        mode = self.wine.probe("mode")[1]
        self.assertGreater(share(self.wine.screenshot(os.path.join(ARGS["out"], "fixed-mode-before.png")),
                                 self.screen, desktop), 0.99, "no desktop to hide")
        self.assertTrue(self.pointer_over_the_desktop(), "no pointer to see on the desktop")
        host = self.wine.start(self.host_path, "/s")
        self.processes.append(host)
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"), "no renderer window")
        self.assertEqual(self.wine.probe("titled", "Fulmina_VC")[1], "1")
        self.assertEqual(self.wine.probe("mode")[1], mode, "a display mode was changed")
        self.assertFalse(self.pointer_over_the_desktop(), "the pointer shows over the saver")
        self.assertWholeScreenHidden("running")
        # To a framed window and back: the same whole screen again.
        for popup in ("0", "1"):
            self.wine.probe("post", "switch")
            self.assertIsNotNone(self.wine.wait_window(lambda w: w["popup"] == popup and w["visible"] == "1"))
        self.assertWholeScreenHidden("switched-back")

        self.wine.focus("Fulmina_VC", "Fulmina.dll")  # after a switch Wine may leave the X focus elsewhere
        self.wine.x("xdotool", "key", "Escape")
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer did not end on Escape")
        self.assertEqual(host.wait(10), 0)
        self.assertEqual(self.wine.probe("mode")[1], mode)
        time.sleep(1.0)
        self.assertTrue(self.pointer_over_the_desktop(), "the pointer was not given back")
        self.assertGreater(share(self.wine.screenshot(os.path.join(ARGS["out"], "fixed-mode-after.png")),
                                 self.screen, desktop), 0.99, "the desktop is not back")


if __name__ == "__main__":
    ARGS.update(env=sys.argv[1], bin=sys.argv[2], probe=sys.argv[3], out=sys.argv[4])
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
