"""The animated GIF control's frames, as gifframes.exe shows them under Wine,
compared pixel for pixel with ImageMagick's coalesced frames of the same
file; and each exported frame against the frame's own pixels.

    gif_frames_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR OUTPUT_DIR
"""

import os
import shutil
import subprocess
import sys
import unittest

from gif_files import Gif, rows
from winenv import WineEnv, read_picture

ARGS = {}
PALETTE = [(0, 0, 0), (255, 255, 255), (220, 30, 30), (30, 200, 40), (40, 60, 230), (250, 220, 0), (0, 200, 200),
           (120, 0, 160)] + [(i, 255 - i, (i * 3) % 256) for i in range(8, 64)]
LOCAL = [(200, 100, 50), (10, 20, 30), (90, 180, 250), (255, 128, 0)]


def checker(a, b, size=3):
    return lambda x, y: a if (x // size + y // size) % 2 == 0 else b


def cases():
    """name -> (builder(screen_w, screen_h, first_disposal)): the file the
    control gets, and, built again with the control's canvas and its reading
    of disposal 3 on a first frame (none), the file ImageMagick gets."""
    def disposals(w, h, first):
        g = Gif(w, h, PALETTE)
        g.frame(0, 0, 40, 30, rows(40, 30, checker(2, 3)), disposal=first)
        g.frame(5, 4, 12, 10, rows(12, 10, lambda x, y: 0 if x % 3 == 0 else 4), disposal=2, transparent=0)
        g.frame(20, 10, 15, 15, rows(15, 15, lambda x, y: 5 if (x + y) % 4 else 7), disposal=3, transparent=7)
        g.frame(25, 15, 10, 10, rows(10, 10, checker(6, 1, 2)), disposal=0)
        g.frame(0, 0, 8, 8, rows(8, 8, lambda x, y: 1), disposal=1)
        return g.done()

    def transparent_start(w, h, first):
        g = Gif(w, h, PALETTE)
        g.frame(3, 3, 20, 12, rows(20, 12, lambda x, y: 0 if (x * y) % 5 == 0 else 2), disposal=first, transparent=0)
        g.frame(10, 0, 10, 20, rows(10, 20, checker(4, 5)), disposal=2)
        g.frame(0, 5, 30, 5, rows(30, 5, lambda x, y: 3), disposal=1, transparent=9)
        return g.done()

    def locals_interlaced(w, h, first):
        g = Gif(w, h, PALETTE)
        g.frame(0, 0, 24, 19, rows(24, 19, lambda x, y: (x + y) % 4), disposal=first, local=LOCAL)
        g.frame(2, 1, 20, 17, rows(20, 17, lambda x, y: y % 8), disposal=1, interlaced=True)
        g.frame(4, 3, 16, 13, rows(16, 13, lambda x, y: (x // 2) % 4), disposal=1, local=LOCAL[::-1],
                interlaced=True, transparent=1)
        return g.done()

    def restore_first(w, h, first):
        g = Gif(w, h, PALETTE)
        g.frame(0, 0, 16, 16, rows(16, 16, checker(2, 4)), disposal=first)
        g.frame(4, 4, 8, 8, rows(8, 8, lambda x, y: 6), disposal=3)
        g.frame(8, 8, 8, 8, rows(8, 8, lambda x, y: 5), disposal=1)
        return g.done()

    def screen_too_small(w, h, first):
        g = Gif(w, h, PALETTE)
        g.frame(0, 0, 20, 20, rows(20, 20, checker(3, 4)), disposal=first)
        g.frame(10, 10, 20, 20, rows(20, 20, checker(5, 6, 4)), disposal=1)  # past the screen
        return g.done()

    return {
        # name: (builder, screen the file states, disposal of its first frame, canvas)
        "disposals": (disposals, (40, 30), 1, (40, 30)),
        "transparent-start": (transparent_start, (30, 20), 1, (30, 20)),
        "locals-interlaced": (locals_interlaced, (24, 19), 1, (24, 19)),
        "restore-first": (restore_first, (16, 16), 3, (16, 16)),
        "screen-larger": (restore_first, (100, 100), 1, (16, 16)),
        "screen-smaller": (screen_too_small, (20, 20), 1, (30, 30)),
    }


class GifFramesEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], None)
        cls.tool = os.path.join(ARGS["bin"], "gifframes.exe")
        assert os.path.isfile(cls.tool), "missing " + cls.tool

    def gifframes(self, *args):
        return subprocess.run([self.wine.wine, self.tool, *args], env=self.wine.env, capture_output=True,
                              text=True, timeout=120)

    def test_frames_match_imagemagick_and_exports_hold_each_frame(self):
        for name, (build, screen, first, canvas) in cases().items():
            with self.subTest(name):
                folder = os.path.join(ARGS["out"], "gif-" + name)
                os.makedirs(folder, exist_ok=True)
                source = os.path.join(folder, "input.gif")
                with open(source, "wb") as f:
                    f.write(build(*screen, first))
                done = self.gifframes(source, folder)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                lines = done.stdout.strip().splitlines()
                # ImageMagick's frames of the same picture, on the control's
                # canvas, with a first frame's disposal 3 read as none.
                for old in os.listdir(folder):
                    if old.startswith("magick-"):
                        os.remove(os.path.join(folder, old))
                reference = os.path.join(folder, "reference.gif")
                with open(reference, "wb") as f:
                    f.write(build(*canvas, 1 if first == 3 else first))
                subprocess.run(["convert", reference, "-coalesce", "-background", "#FF00FF", "-alpha", "remove",
                                "-alpha", "off", os.path.join(folder, "magick-%03d.ppm")], check=True, timeout=60)
                for n in range(1, len(lines) + 1):
                    ours = read_picture(os.path.join(folder, "frame-%03d.bmp" % n))
                    theirs = read_picture(os.path.join(folder, "magick-%03d.ppm" % (n - 1)))
                    self.assertEqual((ours.width, ours.height), canvas)
                    self.assertEqual(ours.rgb, theirs.rgb, "%s frame %d differs from ImageMagick" % (name, n))
                    # The export is the frame's own pixels, at its own size.
                    exported = read_picture(os.path.join(folder, "export-%03d.gif" % n))
                    raw = subprocess.run(["convert", "%s[%d]" % (source, n - 1), "+repage", "-alpha", "off",
                                          "ppm:-"], capture_output=True, check=True, timeout=60).stdout
                    with open(os.path.join(folder, "raw.ppm"), "wb") as f:
                        f.write(raw)
                    own = read_picture(os.path.join(folder, "raw.ppm"))
                    self.assertEqual((exported.width, exported.height), (own.width, own.height))
                    self.assertEqual(exported.rgb, own.rgb, "%s export %d" % (name, n))
                magick = [f for f in os.listdir(folder) if f.startswith("magick-")]
                self.assertEqual(len(lines), len(magick), "one line a frame")
                self.assertRegex(lines[0], r"^frame 1 delay 100 disposal \d left \d+ top \d+ width \d+ height \d+$")

    def test_a_refused_file_says_why_exits_1_and_makes_no_folder(self):
        folder = os.path.join(ARGS["out"], "gif-refused")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "not.gif")
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + bytes(40))
        outdir = os.path.join(folder, "frames")
        if os.path.isdir(outdir):
            os.rmdir(outdir)
        done = self.gifframes(path, outdir)
        self.assertEqual(done.returncode, 1)
        self.assertIn("not a GIF", done.stdout)
        self.assertFalse(os.path.exists(outdir))

    def test_a_background_that_is_not_six_hex_digits_is_a_usage_error(self):
        folder = os.path.join(ARGS["out"], "gif-background")
        os.makedirs(folder, exist_ok=True)
        source = os.path.join(folder, "input.gif")
        with open(source, "wb") as f:
            f.write(cases()["restore-first"][0](16, 16, 1))
        for value, code in [("00FF00", 0), ("a0b1C2", 0), ("12345", 2), ("1234567", 2), ("GGGGGG", 2), ("", 2),
                            ("0x1234", 2), ("+12345", 2), (" 12345", 2)]:
            with self.subTest(value):
                outdir = os.path.join(folder, "out-" + value.strip().replace("+", "p"))
                shutil.rmtree(outdir, ignore_errors=True)
                done = self.gifframes("--background", value, source, outdir)
                self.assertEqual(done.returncode, code, done.stdout + done.stderr)
                self.assertEqual(os.path.isdir(outdir), code == 0)
                if code == 2:
                    self.assertIn("usage", done.stderr)

    def test_paths_are_taken_as_written_never_by_best_fit(self):
        # A Japanese input path, and an output folder the ANSI code page
        # cannot spell next to the one a best-fit mapping would pick.
        top = os.path.join(ARGS["out"], "gif-names")
        for folder_name, input_name in [("日本 語", "入力 ファイル.gif"), ("plain", "input.gif")]:
            with self.subTest(input_name):
                folder = os.path.join(top, folder_name)
                shutil.rmtree(folder, ignore_errors=True)
                os.makedirs(folder)
                source = os.path.join(folder, input_name)
                with open(source, "wb") as f:
                    f.write(cases()["restore-first"][0](16, 16, 1))
                lookalike = os.path.join(folder, "out e")
                os.makedirs(lookalike)
                with open(os.path.join(lookalike, "frame-001.bmp"), "wb") as f:
                    f.write(b"keep")
                outdir = os.path.join(folder, "out é")
                done = self.gifframes(source, outdir)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                self.assertEqual(os.listdir(lookalike), ["frame-001.bmp"])
                with open(os.path.join(lookalike, "frame-001.bmp"), "rb") as f:
                    self.assertEqual(f.read(), b"keep")
                self.assertEqual(sorted(os.listdir(outdir)), ["export-%03d.gif" % n for n in (1, 2, 3)] +
                                 ["frame-%03d.bmp" % n for n in (1, 2, 3)])
                self.assertEqual(read_picture(os.path.join(outdir, "frame-001.bmp")).width, 16)

if __name__ == "__main__":
    ARGS.update(zip(["env", "bin", "out"], sys.argv[1:4]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
