"""The real renderer under Wine on a virtual display, driven as Windows and a
person drive it: its window, the keyboard, the system's commands, the
display mode before and after.

    renderer_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR PROBE_EXE GLOW_BMP OUTPUT_DIR
"""

import os
import shutil
import sys
import time
import unittest
import xml.etree.ElementTree as ElementTree

from winenv import WineEnv, another_accounts, bmp_file, bolt_pixels, red_pixels, straight_edges

ARGS = {}
RED = (230, 20, 10)
class RendererEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], ARGS["probe"])
        cls.renderer = os.path.join(ARGS["bin"], "Fulmina.dll")
        for path in (cls.renderer, ARGS["probe"], ARGS["glow"]):
            assert os.path.isfile(path), "missing " + path
        cls.original_mode = cls.wine.probe("mode")[1]

    def setUp(self):
        os.makedirs(self.wine.drive_c("z_quil"), exist_ok=True)
        shutil.copyfile(ARGS["glow"], self.wine.drive_c("z_quil", "Fulmina.bmp"))
        self.process = None

    def tearDown(self):
        if self.process is not None and self.process.poll() is None:
            self.wine.probe("post", "close")
            try:
                self.process.wait(10)
            except Exception:
                self.process.kill()
        self.assertIsNone(self.wine.window(), "a renderer window was left behind")
        self.assertEqual(self.wine.probe("mode")[1], self.original_mode,
                         "the display mode was not restored")

    def start(self):
        self.process = self.wine.start(self.renderer)
        window = self.wine.wait_window(lambda w: w["visible"] == "1")
        self.assertIsNotNone(window, "no visible window titled Fulmina_VC")
        return window

    def assertEnds(self, code=0, timeout=10):
        self.assertEqual(self.process.wait(timeout), code)
        self.assertIsNone(self.wine.window())

    def assertRunning(self):
        time.sleep(1.0)
        self.assertIsNone(self.process.poll(), "the renderer ended")
        self.assertIsNotNone(self.wine.window(), "the renderer window is gone")

    def test_full_screen_lightning_then_escape_ends_with_zero(self):
        window = self.start()
        self.assertEqual(window["class"], "OpenGL")
        self.assertEqual((window["left"], window["top"], window["right"], window["bottom"]),
                         ("0", "0", "1024", "768"))
        self.assertEqual((window["popup"], window["topmost"]), ("1", "1"))
        # The bolts blink; a few looks find them shown.
        best, best_count = None, 0
        for attempt in range(8):
            time.sleep(0.7)
            path = os.path.join(ARGS["out"], "renderer-%d.png" % attempt)
            picture = self.wine.screenshot(path)
            count = bolt_pixels(picture)
            if count > best_count:
                best, best_count, best_picture = path, count, picture
            if best_count > 400:
                break
        self.assertGreater(best_count, 400, "no lightning on the screen")
        shutil.copyfile(best, os.path.join(ARGS["out"], "renderer.png"))
        # The glow sprites make the centre bright blue-white.
        r, g, b = best_picture.at(512, 384)
        self.assertGreater(b, 150)
        # The corners are black but for faint sprites.
        self.assertLess(sum(best_picture.at(2, 2)), 120)
        self.wine.press("Escape")
        self.assertEnds(0)

    def test_a_quick_tap_of_escape_ends_it(self):
        self.start()
        time.sleep(1.0)  # well into the frame loop
        self.wine.tap("Escape")
        self.assertEnds(0)

    def test_close_request_ends_with_zero(self):
        self.start()
        self.assertEqual(self.wine.probe("post", "close")[0], 0)
        self.assertEnds(0)

    def test_screen_saver_and_monitor_power_commands_are_refused(self):
        self.start()
        # The four low bits are the system's own: the command is the rest.
        for command in ("0xF140", "0xF170", "0xF141", "0xF14F", "0xF172"):
            self.assertEqual(self.wine.probe("syscommand", command, timeout=10), (0, "0"), command)
        self.assertRunning()
        self.wine.probe("post", "close")
        self.assertEnds(0)

    def test_display_switch_goes_to_a_window_and_back(self):
        self.start()
        self.wine.probe("post", "switch")
        windowed = self.wine.wait_window(lambda w: w["popup"] == "0" and w["visible"] == "1")
        self.assertIsNotNone(windowed, "no windowed renderer after the switch")
        self.assertEqual(windowed["topmost"], "0")
        self.assertRunning()
        self.wine.probe("post", "switch")
        full = self.wine.wait_window(lambda w: w["popup"] == "1" and w["visible"] == "1")
        self.assertIsNotNone(full, "no full-screen renderer after switching back")
        self.assertRunning()
        self.wine.probe("post", "close")
        self.assertEnds(0)

    def test_the_glow_sprites_stay_soft_after_two_display_switches(self):
        def edges(name):  # the most seen in a few screenshots
            return max(straight_edges(self.wine.screenshot(os.path.join(ARGS["out"], "%s-%d.png" % (name, i))))
                       for i in range(3))
        self.start()
        before = edges("glow-before")
        for popup in ("0", "1"):
            self.wine.probe("post", "switch")
            self.assertIsNotNone(self.wine.wait_window(lambda w: w["popup"] == popup and w["visible"] == "1"))
        time.sleep(1.0)
        after = edges("glow-after")
        self.assertLess(after, max(40, 3 * before), "the sprites are flat squares (%d edges, %d before)"
                        % (after, before))
        self.wine.probe("post", "close")
        self.assertEnds(0)

    def test_the_shipped_renderer_is_per_monitor_dpi_aware_and_claims_no_windows_8(self):
        # Read from the built file's resource type 24, as Windows reads it.
        code, text = self.wine.probe("manifest", "Z:" + self.renderer.replace("/", "\\"))
        self.assertEqual(code, 0, "the renderer carries no application manifest")
        manifest = ElementTree.fromstring(text.encode())
        settings = "{http://schemas.microsoft.com/SMI/%s/WindowsSettings}%s"
        awareness = [e.text.strip() for e in manifest.iter(settings % ("2016", "dpiAwareness"))]
        self.assertEqual([a.split(",")[0].strip() for a in awareness], ["PerMonitorV2"])
        aware = [e.text.strip() for e in manifest.iter(settings % ("2005", "dpiAware"))]
        self.assertEqual(len(aware), 1)
        self.assertIn(aware[0].lower(), ("true", "true/pm", "per monitor"))
        # Windows 8, 8.1, 10 and later: such a program is refused the 16-bit modes.
        windows_8_and_later = {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
        claimed = {e.get("Id", "").lower() for e in manifest.iter("{urn:schemas-microsoft-com:compatibility.v1}"
                                                                  "supportedOS")}
        self.assertEqual(claimed & windows_8_and_later, set())
        window = self.start()
        print("Wine's DPI awareness of the renderer's window: %s" % window["awareness"])
        self.wine.press("Escape")
        self.assertEnds(0)

    def test_a_bitmap_cut_short_or_a_file_not_the_users_alone_gives_no_texture(self):
        # Each draws as with no texture file at all: plain squares, and never
        # a planted red picture.
        texture = self.wine.drive_c("z_quil", "Fulmina.bmp")
        with open(ARGS["glow"], "rb") as f:
            glow = f.read()
        red = bmp_file(128, 128, RED)
        cases = {
            # The last ten rows would come from the memory after the bytes.
            "the glow cut ten rows short": (glow[:len(glow) - 10 * 384], None),
            "a red picture of another account": (red, lambda: another_accounts(texture)),
            "a red picture that anyone may write": (red, lambda: os.chmod(texture, 0o666)),
        }
        for case, (content, change) in cases.items():
            with self.subTest(case):
                os.remove(texture)
                with open(texture, "wb") as f:
                    f.write(content)
                if change:
                    change()
                self.start()
                time.sleep(1.0)
                pictures = self.wine.screenshots(ARGS["out"], "refused-" + case.replace(" ", "-"))
                self.assertEqual([red_pixels(p) for p in pictures], [0, 0, 0], "the planted picture was read")
                self.assertGreater(max(straight_edges(p) for p in pictures), 40, "textured sprites, not plain squares")
                self.wine.probe("post", "close")
                self.assertEnds(0)

    def test_missing_glow_texture_file_still_runs(self):
        os.remove(self.wine.drive_c("z_quil", "Fulmina.bmp"))
        self.start()
        self.assertRunning()
        self.wine.press("Escape")
        self.assertEnds(0)


if __name__ == "__main__":
    names = ["env", "bin", "probe", "glow", "out"]
    ARGS.update(zip(names, sys.argv[1:6]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[6:], verbosity=2)
