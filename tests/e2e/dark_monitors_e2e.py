"""The saver on a desktop of two monitors (Xorg with the dummy driver: a
1280 x 1024 primary and a 1024 x 768 monitor to its right), looked at through
screenshots of the whole X screen: while it runs every monitor but the
lightning's is black, also after a monitor comes and goes; a click there
changes nothing; after Escape the desktop is back on both.

    dark_monitors_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR PROBE_EXE WINE_ENV_TOOL OUTPUT_DIR
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

from winenv import WineEnv, black, bolt, pointer_visible, share

ARGS = {}
ROOT_COLOUR = (0x3a, 0x6e, 0xa5)   # the desktop's background
FOLDER = ("Fulmina",)


def desktop(rgb):
    """The desktop's background or the white of the window on it."""
    return all(abs(a - b) <= 8 for a, b in zip(rgb, ROOT_COLOUR)) or min(rgb) >= 247


class DarkMonitorsEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], ARGS["probe"])
        assert cls.wine.env.get("FULMINA_DISPLAY_KIND") == "two-monitors", "needs the two-monitor display"
        cls.folder = cls.wine.drive_c(*FOLDER)
        os.makedirs(cls.folder, exist_ok=True)
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(cls.folder, name))
        cls.reset_layout()
        cls.wine.x("xsetroot", "-solid", "#%02x%02x%02x" % ROOT_COLOUR)
        cls.original_mode = cls.wine.probe("mode")[1]
        cls.original_monitors = cls.monitors()

    @classmethod
    def reset_layout(cls):
        subprocess.run([ARGS["wine_env"], "reset-layout", ARGS["env"]], check=True, timeout=60,
                       capture_output=True)

    @classmethod
    def monitors(cls):
        """Wine's monitors: (primary rectangle, [other rectangles])."""
        primary, others = None, []
        for line in cls.wine.probe("monitors")[1].splitlines():
            *rect, is_primary = map(int, line.split())
            if is_primary:
                primary = tuple(rect)
            else:
                others.append(tuple(rect))
        return primary, others

    def dark_windows(self):
        """The renderer's dark windows: [(rectangle, visible, topmost, no activation)]."""
        out = []
        for line in self.wine.probe("dark")[1].splitlines():
            v = list(map(int, line.split()))
            out.append((tuple(v[:4]), *map(bool, v[4:])))
        return out

    def setUp(self):
        self.processes = []
        self.shot = 0
        # A window of the desktop on the second monitor, white on the blue background.
        self.desktop_window = self.wine.start(ARGS["probe"], "window", "1400", "100", "600", "400", "120000")
        self.processes.append(self.desktop_window)
        time.sleep(1.5)

    def tearDown(self):
        for p in self.processes:
            if p.poll() is None:
                if p is not self.desktop_window:
                    self.wine.probe("post", "close")
                    try:
                        p.wait(10)
                        continue
                    except subprocess.TimeoutExpired:
                        pass
                p.kill()
                p.wait(10)
        if self.wine.window() is not None:
            self.wine.probe("post", "close")
            self.wine.wait_gone(10)
        # Wine does not undo the mode change of a program that was killed.
        self.reset_layout()
        time.sleep(0.5)

    def screenshot(self, name):
        self.shot += 1
        path = os.path.join(ARGS["out"], "dark-%s-%d-%s.png" % (self._testMethodName, self.shot, name))
        return self.wine.screenshot(path)

    def start_saver(self):
        host = self.wine.start(os.path.join(self.folder, "Fulmina.scr"), "/s")
        self.processes.append(host)
        window = self.wine.wait_window(lambda w: w["visible"] == "1")
        self.assertIsNotNone(window, "no renderer window")
        time.sleep(1.0)
        return host

    def second_monitor(self):
        primary, others = self.monitors()
        self.assertEqual(primary, (0, 0, 1024, 768), "the primary was not switched")
        self.assertEqual(len(others), 1, "Wine does not see two monitors")
        return others[0]

    def lightning_on_primary(self):
        for attempt in range(8):
            picture = self.screenshot("lightning")
            if share(picture, (0, 0, 1024, 768), bolt, step=2) * 512 * 384 > 400:
                return picture
            time.sleep(0.5)
        self.fail("no lightning on the primary monitor")

    def escape_ends(self, host):
        # Pressed where the keyboard is: nothing gives it to the renderer first.
        self.wine.x("xdotool", "key", "Escape")
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer did not end on Escape")
        self.assertEqual(host.wait(10), 0)

    def test_the_second_monitor_is_black_while_the_saver_runs_and_the_desktop_is_back_after(self):
        primary, others = self.original_monitors
        self.assertEqual((primary, others), ((0, 0, 1280, 1024), [(1280, 0, 2304, 768)]))
        before = self.screenshot("before")
        self.assertGreater(share(before, others[0], desktop), 0.99, "no desktop on the second monitor to hide")
        # Below the desktop's window, over the bare desktop.
        self.wine.x("xdotool", "mousemove", others[0][0] + 50, others[0][3] - 50)
        time.sleep(0.3)
        self.assertTrue(pointer_visible(self.wine.env["DISPLAY"]), "no pointer to see on the desktop")

        host = self.start_saver()
        second = self.second_monitor()
        picture = self.lightning_on_primary()
        dark = share(picture, second, black)
        print("black share of the second monitor %s while running: %.4f" % (second, dark))
        self.assertGreater(dark, 0.999, "the second monitor shows the desktop")
        self.assertEqual(self.wine.probe("titled", "Fulmina_VC")[1], "1")
        self.assertEqual(self.dark_windows(), [(second, True, True, True)])
        # The pointer over the dark monitor is hidden too.
        self.wine.x("xdotool", "mousemove", second[0] + 50, second[3] - 50)
        time.sleep(0.5)
        self.assertFalse(pointer_visible(self.wine.env["DISPLAY"]), "the pointer shows over the dark monitor")

        self.escape_ends(host)
        time.sleep(1.0)
        self.assertEqual(self.wine.probe("mode")[1], self.original_mode, "the primary's mode was not restored")
        self.assertEqual(self.monitors(), self.original_monitors)
        self.assertEqual(self.dark_windows(), [])
        after = self.screenshot("after")
        for name, rect in (("primary", primary), ("second", others[0])):
            seen = share(after, rect, desktop)
            print("desktop share of the %s monitor %s after Escape: %.4f" % (name, rect, seen))
            self.assertGreater(seen, 0.99, "something was left over the %s monitor" % name)

    def test_where_the_mode_cannot_be_switched_the_primary_is_covered_and_the_second_monitor_dark(self):
        # The renderer's Wine is told to use neither XRandR nor VidMode: it
        # sees both monitors but can set no display mode, as in a remote
        # session. (Only Fulmina.dll: the probe and the host are unchanged.)
        key = r"HKCU\Software\Wine\AppDefaults\Fulmina.dll\X11 Driver"
        for value in ("UseXRandR", "UseXVidMode"):
            self.wine.run_reg("add", key, "/v", value, "/d", "N", "/f")
        self.addCleanup(self.wine.run_reg, "delete", key, "/f")
        primary, others = self.original_monitors
        host = self.start_saver()
        # The 4 : 3 scene in the middle of the 5 : 4 primary, dark above and below.
        window = self.wine.window()
        self.assertEqual(tuple(int(window[k]) for k in ("left", "top", "right", "bottom")), (0, 32, 1280, 992))
        self.assertEqual((window["popup"], window["topmost"]), ("1", "1"))
        self.assertEqual(self.monitors(), self.original_monitors, "a display mode was changed")
        bands = [(0, 0, 1280, 32), (0, 992, 1280, 1024)]
        self.assertEqual(sorted(self.dark_windows()), sorted((r, True, True, True) for r in bands + others))
        picture = self.lightning_on_primary()
        dark = share(picture, others[0], black)
        print("black share of the second monitor %s with the primary unswitched: %.4f" % (others[0], dark))
        self.assertGreater(dark, 0.999, "the second monitor shows the desktop")
        for band in bands:
            self.assertEqual(share(picture, band, black, step=2), 1.0, "the band %s is not black" % (band,))
        self.escape_ends(host)
        self.assertEqual(self.dark_windows(), [])

    def test_a_monitor_switched_off_and_on_during_the_run_is_dark_again_within_a_second(self):
        host = self.start_saver()
        second = self.second_monitor()
        self.assertEqual(self.dark_windows(), [(second, True, True, True)])
        # Windows tells every top-level window of a monitor that comes or
        # goes with WM_DISPLAYCHANGE; Wine does not for a change made outside
        # it, so the probe sends what Windows would.
        self.wine.x("xrandr", "--output", "DUMMY1", "--off")
        time.sleep(1.0)
        self.assertEqual(self.monitors()[1], [], "the monitor is still there")
        self.wine.probe("displaychange")
        self.assertEqual(self.dark_windows(), [], "a dark window was left where the monitor was")
        # Back, somewhere else: left of the primary.
        self.wine.x("xrandr", "--output", "DUMMY1", "--mode", "1024x768", "--left-of", "DUMMY0")
        back = time.monotonic()
        time.sleep(0.5)
        self.wine.probe("displaychange")
        primary, others = self.monitors()
        self.assertEqual(len(others), 1, "the monitor did not come back")
        self.assertEqual(self.dark_windows(), [(others[0], True, True, True)])
        # The X screen now begins at the monitor on the left.
        shift = -min(others[0][0], primary[0])
        left, top, right, bottom = others[0]
        while time.monotonic() - back < 1.0:
            time.sleep(0.05)
        dark = share(self.screenshot("replugged"), (left + shift, top, right + shift, bottom), black)
        print("black share of the monitor plugged in again, a second after: %.4f" % dark)
        self.assertGreater(dark, 0.999, "the monitor plugged in again shows the desktop after a second")
        self.escape_ends(host)

    def test_a_click_on_the_dark_monitor_changes_nothing_and_escape_still_ends_the_saver(self):
        host = self.start_saver()
        second = self.second_monitor()
        self.wine.x("xdotool", "mousemove", second[0] + 200, second[1] + 200, "click", "1")
        time.sleep(1.0)
        self.assertIsNone(host.poll(), "a click ended the saver")
        window = self.wine.window()
        self.assertIsNotNone(window, "a click ended the renderer")
        self.assertEqual(window["foreground"], "1", "a click took the activation from the renderer")
        self.assertGreater(share(self.screenshot("clicked"), second, black), 0.999, "a click showed the desktop")
        self.escape_ends(host)

    def test_the_dark_is_there_exactly_while_the_renderer_is_full_screen(self):
        host = self.start_saver()
        second = self.second_monitor()
        self.assertEqual(self.dark_windows(), [(second, True, True, True)])
        self.wine.probe("post", "switch")
        windowed = self.wine.wait_window(lambda w: w["visible"] == "1" and w["popup"] == "0")
        self.assertIsNotNone(windowed, "the renderer did not switch to a window")
        self.assertEqual(self.dark_windows(), [], "dark windows beside a windowed renderer")
        self.assertEqual(self.monitors(), self.original_monitors)
        self.wine.probe("post", "switch")
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1" and w["popup"] == "1"))
        time.sleep(0.5)
        self.assertEqual(self.dark_windows(), [(self.second_monitor(), True, True, True)])
        # (After a switch under Wine the X keyboard focus may stay with the
        # desktop's window, as it did before there were dark windows: a close
        # request ends the run here.)
        self.wine.probe("post", "close")
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer did not end on a close request")
        self.assertEqual(host.wait(10), 0)
        self.assertEqual(self.dark_windows(), [])


if __name__ == "__main__":
    ARGS.update(env=sys.argv[1], bin=sys.argv[2], probe=sys.argv[3], wine_env=sys.argv[4], out=sys.argv[5])
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
