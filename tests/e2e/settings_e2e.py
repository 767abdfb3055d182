"""The settings dialog as a user drives it: the real "Fulmina.scr /c" under
Wine on a virtual display, clicked and typed into with xdotool, its settings
file read byte for byte, the file chooser, the banner's browser, the pictures
it shows, and a chosen WAV file heard by the saver afterwards.

    settings_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR PROBE_EXE OUTPUT_DIR REFERENCE_DIR
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

from winenv import UNSPELLABLE_IN_932, WineEnv, read_picture

ARGS = {}
WESTERN = "de_DE.UTF-8"  # a locale whose ANSI code page is 1252
CAPTION = "↓Fulmina↓"
KIND, REPEAT, FILE = "BGM区分".encode("cp932"), "BGMﾘﾋﾟｰﾄ".encode("cp932"), "BGMﾌｧｲﾙ".encode("cp932")

# Places in the dialog's client area.
CHOICE = {0: (38, 82), 1: (38, 62), 2: (38, 102)}       # the indicator images
CHOICE_LABEL = {0: (60, 82), 1: (60, 62), 2: (60, 102)}
CHOICE_LABEL_END = {2: (106, 102)}  # the right part of "MP3、WAV"
REPEAT_BOX = (112, 62)
FILE_BUTTON = (60, 122)
SET, CANCEL, BANNER = (320, 192), (404, 192), (72, 181)
OFF_THE_DIALOG = (230, 300)  # below it, over no window


def settings_lines(kind, repeat, path=b""):
    """The settings file as the dialog writes it: Windows keeps the sign
    position's blank; Wine's profile code drops it. Either is right."""
    keep = b"[Section]\r\n" + KIND + b"= %d\r\n" % kind + REPEAT + b"= %d\r\n" % repeat + FILE + b"=" + path + b"\r\n"
    return {keep, keep.replace(b"= ", b"=")}


class SettingsDialog(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], ARGS["probe"])
        cls.folder = cls.wine.drive_c("Fulmina")
        cls.ini = os.path.join(cls.folder, "Fulmina.ini")

    def setUp(self):
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(self.folder, name))
        for leftover in ("browser.txt",):
            if os.path.exists(self.wine.drive_c(leftover)):
                os.remove(self.wine.drive_c(leftover))
        self.host = None

    def tearDown(self):
        if self.host is not None and self.host.poll() is None:
            self.host.kill()
            self.host.wait(10)

    def assertSaverHeard(self, lang=None):
        """The saver started as the user would: the sound sink keeps receiving
        its music (some 100 kB within a few seconds, however busy the machine)."""
        capture = os.path.join(ARGS["env"], "capture.raw")
        size = lambda: os.path.getsize(capture) if os.path.exists(capture) else 0
        saver = self.wine.start(os.path.join(self.folder, "Fulmina.scr"), "/s", lang=lang)
        try:
            self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"))
            time.sleep(2.5)
            first, end = size(), time.monotonic() + 8.0
            while size() <= first + 100000 and time.monotonic() < end:
                time.sleep(0.25)
            self.assertGreater(size(), first + 100000, "the chosen file was not heard")
        finally:
            self.wine.press("Escape")
            saver.wait(15)

    # Driving the dialog.
    def open(self, pointer=(600, 500), lang=None, folder=None, args=("/c",)):
        self.wine.x("xdotool", "mousemove", str(pointer[0]), str(pointer[1]))
        self.host = self.wine.start(os.path.join(folder or self.folder, "Fulmina.scr"), *args, lang=lang)
        end = time.monotonic() + 20
        while time.monotonic() < end:
            code, out = self.wine.probe("client", CAPTION)
            if code == 0 and out.split()[4] == "1":  # shown, and taking input
                self.origin = tuple(int(v) for v in out.split()[:2])
                time.sleep(0.8)  # its first paint
                return
            time.sleep(0.2)
        self.host.kill()
        self.host.wait(10)
        self.fail("the dialog did not open")

    def at(self, place):
        return self.origin[0] + place[0], self.origin[1] + place[1]

    def click(self, place, button="1"):
        x, y = self.at(place)
        self.wine.x("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.15)
        self.wine.x("xdotool", "click", button)
        time.sleep(0.4)

    def person_click(self, place):
        """A click as a person gives it: the pointer on the button, off the
        dialog and straight back to the same point, a rest, the button held a
        moment, released. Coming back to the point it left from over no
        window, the pointer brings the dialog no move: only the press says
        where it is."""
        x, y = self.at(place)
        for point, rest in (((x, y), 0.4), (self.at(OFF_THE_DIALOG), 0.4), ((x, y), 0.3)):
            self.wine.x("xdotool", "mousemove", *point)
            time.sleep(rest)
        self.wine.x("xdotool", "mousedown", "1")
        time.sleep(0.12)
        self.wine.x("xdotool", "mouseup", "1")

    def type_repeat(self, text):
        self.click(REPEAT_BOX)
        self.wine.x("xdotool", "key", "End", "shift+Home", "BackSpace")
        if text:
            self.wine.x("xdotool", "type", "--delay", "50", text)
        time.sleep(0.3)

    def closed(self, timeout=15):
        try:
            return self.host.wait(timeout) == 0
        except subprocess.TimeoutExpired:
            self.wine.x("import", "-window", "root", os.path.join(ARGS["out"], "settings-still-open.png"))
            raise

    def write_settings(self, kind, repeat, path=b""):
        with open(self.ini, "wb") as f:
            f.write(b"[Section]\r\n" + KIND + b"= %d\r\n" % kind + REPEAT + b"= %d\r\n" % repeat + FILE + b"=" + path +
                    b"\r\n")

    def ini_bytes(self):
        with open(self.ini, "rb") as f:
            return f.read()

    def picture(self, name):
        path = os.path.join(ARGS["out"], name + ".png")
        x, y = self.origin
        self.wine.x("import", "-window", "root", "-crop", "461x221+%d+%d" % (x, y), "+repage", path)
        return read_picture(path)

    def test_no_arguments_open_the_settings_as_explorers_configure_does(self):
        self.open(args=())
        self.assertIsNone(self.wine.window(), "the saver ran")
        self.click(CANCEL)
        self.assertTrue(self.closed())
        self.assertIsNone(self.wine.window(), "the saver ran")
        self.assertFalse(os.path.exists(self.ini))

    def test_a_button_clicks_only_for_a_release_over_it(self):
        for button in ("3", "2", "1"):
            with self.subTest(button=button):
                self.open()
                x, y = self.at(SET)
                # Pressed on "設定", dragged off and released elsewhere in the dialog: no click.
                for args in (("mousemove", x, y), ("mousedown", button), ("mousemove", x - 20, y - 20),
                             ("mousemove", x - 120, y - 120), ("mouseup", button)):
                    self.wine.x("xdotool", *map(str, args))
                    time.sleep(0.2)
                time.sleep(0.6)
                self.assertIsNone(self.host.poll(), "a release away from the button saved and closed")
                self.click(SET, button)  # over it: a click, whichever the button
                self.assertTrue(self.closed())
                self.assertIn(self.ini_bytes(), settings_lines(0, 0))
                os.remove(self.ini)

    def test_twenty_clicks_on_set_as_a_person_gives_them_save_twenty_times(self):
        lost = []
        for i in range(20):
            if os.path.exists(self.ini):
                os.remove(self.ini)
            self.open()
            self.person_click(SET)
            try:
                saved = self.host.wait(10) == 0 and self.ini_bytes() in settings_lines(0, 0)
            except subprocess.TimeoutExpired:
                saved = False
                self.host.kill()
                self.host.wait(10)
            if not saved:
                lost.append(i)
        self.assertEqual(lost, [], "clicks on 設定 that saved nothing")

    def test_the_file_button_and_cancel_take_a_persons_click_too(self):
        for _ in range(3):
            self.open()
            self.click(CHOICE_LABEL[2])  # the file button is enabled for the file source
            self.person_click(FILE_BUTTON)
            end = time.monotonic() + 10
            while self.wine.probe("client", "ﾌｧｲﾙを開く")[0] != 0 and time.monotonic() < end:
                time.sleep(0.2)
            self.assertEqual(self.wine.probe("client", "ﾌｧｲﾙを開く")[0], 0, "the file button opened no chooser")
            time.sleep(0.5)
            self.wine.x("xdotool", "key", "Escape")
            while self.wine.probe("client", "ﾌｧｲﾙを開く")[0] == 0 and time.monotonic() < end + 10:
                time.sleep(0.2)
            time.sleep(0.3)
            self.person_click(CANCEL)
            self.assertTrue(self.closed(), "ｷｬﾝｾﾙ did not close the dialog")
            self.assertFalse(os.path.exists(self.ini))

    # The Part's edge cases a user can produce.
    def test_no_settings_file_confirmed_at_once_writes_none(self):
        self.open()
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(0, 0))

    def test_a_cd_without_a_repeat_track_stays_so(self):
        self.write_settings(1, 0)
        self.open()
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(1, 0))

    def test_the_file_source_without_a_file_writes_kind_2_and_no_file(self):
        self.open()
        self.click(CHOICE_LABEL[2])
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 0))

    def test_repeat_texts_save_their_rounded_number_or_0(self):
        for text, saved in (("", 0), ("7", 7), ("abc", 0), ("2.5", 2), ("3.5", 4)):
            with self.subTest(text=text):
                self.write_settings(1, 9)
                self.open()
                self.type_repeat(text)
                self.click(SET)
                self.assertTrue(self.closed())
                self.assertIn(self.ini_bytes(), settings_lines(1, saved))

    def test_cancel_and_the_close_box_leave_the_file_as_it_was(self):
        self.write_settings(1, 3)
        before = self.ini_bytes()
        for how in ("cancel", "close box"):
            with self.subTest(how):
                self.open()
                self.click(CHOICE[2])
                if how == "cancel":
                    self.click(CANCEL)
                else:
                    self.click((461 - 10, -11))  # the title bar's close box
                self.assertTrue(self.closed())
                self.assertEqual(self.ini_bytes(), before)

    def test_enter_and_escape_do_nothing(self):
        self.open()
        self.click(CHOICE_LABEL[1])
        for key in ("Return", "Escape"):
            self.wine.x("xdotool", "key", key)
            time.sleep(0.5)
            self.assertIsNone(self.host.poll(), key + " closed the dialog")
        self.click(CANCEL)
        self.assertTrue(self.closed())
        self.assertFalse(os.path.exists(self.ini))

    def test_indicators_are_circles_on_opening_and_squares_after_a_click(self):
        self.open(pointer=(0, 0))  # zooming from the screen's corner
        x, y = CHOICE[0]
        corner = self.picture("indicators-open").at(x - 6, y - 6)
        self.assertGreater(sum(corner), 600, "a circle's corner shows the panel")
        self.click(CHOICE_LABEL[0])
        self.wine.x("xdotool", "mousemove", "0", "0")
        time.sleep(0.3)
        corner = self.picture("indicators-clicked").at(x - 6, y - 6)
        self.assertLess(sum(corner), 400, "a square's corner is its dark border")
        self.click(CANCEL)

    def test_the_dialog_looks_as_it_should(self):
        self.open()
        self.wine.x("xdotool", "mousemove", "0", "0")
        time.sleep(0.5)
        seen = self.picture("settings")
        reference = read_picture(os.path.join(ARGS["reference"], "settings.png"))
        self.assertEqual((seen.width, seen.height), (reference.width, reference.height))
        # Everything but the animated banner, within a small tolerance.
        diff, count = 0, 0
        for y in range(0, seen.height, 2):
            for x in range(0, seen.width, 2):
                if 12 <= x < 132 and 156 <= y < 206:
                    continue
                diff += sum(abs(a - b) for a, b in zip(seen.at(x, y), reference.at(x, y)))
                count += 3
        self.assertLess(diff / count, 6.0, "the dialog differs from tests/e2e/reference/settings.png")
        # Japanese text drawn: the "設定" button's middle holds dark caption pixels.
        dark = sum(1 for x in range(300, 340) for y in range(186, 198) if sum(seen.at(x, y)) < 200)
        self.assertGreater(dark, 15)
        self.click(CANCEL)

    def test_the_banner_opens_the_home_page_in_the_browser(self):
        # The recording stand-in answers for web addresses while the test runs.
        shutil.copyfile(ARGS["probe"], self.wine.drive_c("windows", "recorder.exe"))
        saved = self.wine.drive_c("url-classes.reg")
        key = r"HKLM\Software\Classes\https\shell\open\command"
        self.wine.run_reg("export", key, r"C:\url-classes.reg", "/y")
        self.wine.run_reg("add", key, "/ve", "/d", r'"C:\windows\recorder.exe" "%1"', "/f")
        try:
            self.open()
            self.click(BANNER)
            end = time.monotonic() + 15
            while not os.path.exists(self.wine.drive_c("browser.txt")) and time.monotonic() < end:
                time.sleep(0.2)
            with open(self.wine.drive_c("browser.txt"), "rb") as f:
                self.assertIn(b"https://fulmina.example.org/", f.read())
            self.assertIsNone(self.host.poll(), "the dialog stays open")
            self.click(CANCEL)
            self.assertTrue(self.closed())
        finally:
            self.wine.run_reg("import", r"C:\url-classes.reg")
            os.remove(saved)

    def choose_file(self, path):
        self.click(CHOICE_LABEL[2])
        self.click(FILE_BUTTON)
        end = time.monotonic() + 15
        while not self.wine.probe("client", "ﾌｧｲﾙを開く")[1].endswith(" 1") and time.monotonic() < end:
            time.sleep(0.2)
        time.sleep(0.8)
        self.wine.x("xdotool", "type", "--delay", "40", path)
        self.wine.x("xdotool", "key", "Return")
        while self.wine.probe("client", "ﾌｧｲﾙを開く")[0] == 0 and time.monotonic() < end + 15:
            time.sleep(0.2)
        time.sleep(0.5)

    def test_a_chosen_wav_file_is_saved_and_then_heard_even_by_a_name_the_code_page_cannot_spell(self):
        music = self.wine.drive_c("Music é")
        os.makedirs(music, exist_ok=True)
        wav = os.path.join(music, "tone é.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-b", "16", "-c", "2", wav, "synth", "1.0", "sine", "440",
                        "vol", "0.5"], check=True)
        self.open()
        self.choose_file("C:\\Music é\\tone é.wav")
        self.click(SET)
        self.assertTrue(self.closed())
        saved = self.ini_bytes()
        value = saved.split(FILE + b"=")[1].split(b"\r\n")[0]
        self.assertTrue(value.isascii() and value.upper().endswith(b".WAV"), value)
        self.assertIn(KIND + b"=", saved)
        # The saver plays it: the sound sink keeps receiving it.
        self.assertSaverHeard()

    def test_a_file_no_ansi_spelling_reaches_is_refused_with_a_message_and_the_choice_kept(self):
        kept = self.wine.drive_c("keep.wav")
        with open(kept, "wb") as f:
            f.write(b"RIFF")
        self.addCleanup(os.remove, kept)
        self.write_settings(2, 0, b"C:\\keep.wav")
        self.open()
        # No such file, so no short name either: what a system without short names gives.
        self.choose_file("C:\\absent é.mp3")
        code, out = self.wine.probe("messagebox", 10000)
        self.assertEqual(code, 0, "no message box")
        self.assertIn("使えません", out)
        time.sleep(0.5)
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 0, b"C:\\keep.wav"))

    def test_the_whole_text_of_a_choice_is_clickable(self):
        self.open()
        self.click(CHOICE_LABEL_END[2])
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 0))

    def test_a_file_name_typed_into_the_chooser_is_saved_as_it_reads(self):
        self.open()
        self.choose_file("C:\\My Music\\missing.mp3")
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 0, b"C:\\My Music\\missing.mp3"))

    def attrib(self, *args):
        return subprocess.run([self.wine.wine, "attrib.exe", *args, "C:\\Fulmina\\Fulmina.ini"], env=self.wine.env,
                              capture_output=True, text=True, timeout=60).stdout

    def assertSaveRefused(self):
        """The click on 設定 says the settings could not be saved and leaves the
        dialog open; nothing of the attempt is left in the folder."""
        self.click(SET)
        code, out = self.wine.probe("messagebox", 10000)
        self.assertEqual(code, 0, "no message box")
        self.assertIn("保存できません", out)
        time.sleep(0.5)
        self.assertIsNone(self.host.poll(), "the dialog closed")
        self.assertEqual(sorted(os.listdir(self.folder)), ["Fulmina.dll", "Fulmina.ini", "Fulmina.scr"])

    def test_a_folder_in_place_of_the_settings_file_is_said_so_and_the_choice_kept(self):
        os.makedirs(self.ini)
        self.open()
        self.click(CHOICE_LABEL[1])
        self.type_repeat("4")
        self.assertSaveRefused()
        self.assertTrue(os.path.isdir(self.ini))
        # Once the folder has gone, the same click saves what was chosen.
        os.rmdir(self.ini)
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(1, 4))

    def test_a_read_only_settings_file_is_said_so_and_kept_byte_for_byte(self):
        self.write_settings(1, 3)
        before = self.ini_bytes()
        self.attrib("+r")
        self.addCleanup(self.attrib, "-r")
        self.open()
        self.click(CHOICE_LABEL[2])
        self.assertSaveRefused()
        self.assertEqual(self.ini_bytes(), before)
        self.attrib("-r")
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 3))

    def save_the_file_choice(self):
        self.open()
        self.click(CHOICE_LABEL[2])
        self.click(SET)
        self.assertTrue(self.closed())

    def test_a_writable_settings_file_in_a_folder_that_takes_no_new_file_is_saved_in_place(self):
        self.write_settings(1, 3)
        inode = os.stat(self.ini).st_ino
        # No new file there, its file still writable: immutable for root (whom no
        # permission stops, nor Wine run by root), without write permission otherwise.
        if os.geteuid() != 0:
            os.chmod(self.folder, 0o555)
            self.addCleanup(os.chmod, self.folder, 0o755)
        elif subprocess.run(["chattr", "+i", self.folder]).returncode == 0:
            self.addCleanup(subprocess.run, ["chattr", "-i", self.folder], check=True)
        else:
            self.skipTest("this file system cannot make a folder immutable")
        self.save_the_file_choice()
        self.assertIn(self.ini_bytes(), settings_lines(2, 3))
        self.assertEqual(os.stat(self.ini).st_ino, inode)

    def linked_settings(self, kind):
        """Fulmina.ini as a link of that kind to C:\\Elsewhere\\settings.ini."""
        elsewhere = self.wine.drive_c("Elsewhere")
        shutil.rmtree(elsewhere, ignore_errors=True)
        os.makedirs(elsewhere)
        self.addCleanup(shutil.rmtree, elsewhere, True)
        target = os.path.join(elsewhere, "settings.ini")
        with open(target, "wb") as f:
            f.write(b"; mine\r\n[Section]\r\n" + KIND + b"= 1\r\n")
        (os.symlink if kind == "symbolic" else os.link)(target, self.ini)
        return target

    def test_a_linked_settings_file_is_saved_through_its_link_which_stays(self):
        for kind in ("symbolic", "hard"):
            with self.subTest(kind):
                if os.path.lexists(self.ini):
                    os.remove(self.ini)
                target = self.linked_settings(kind)
                self.save_the_file_choice()
                with open(target, "rb") as f:
                    self.assertIn(f.read(), {b"; mine\r\n" + lines for lines in settings_lines(2, 0)})
                self.assertEqual(os.path.islink(self.ini), kind == "symbolic")
                self.assertTrue(os.path.samefile(self.ini, target))
                self.assertEqual(os.stat(target).st_nlink, 1 if kind == "symbolic" else 2)
                self.assertEqual(os.listdir(os.path.dirname(target)), ["settings.ini"])
                self.assertEqual(sorted(os.listdir(self.folder)), ["Fulmina.dll", "Fulmina.ini", "Fulmina.scr"])

    def test_the_dialog_saves_beside_a_host_in_a_folder_the_code_page_cannot_spell(self):
        for name in UNSPELLABLE_IN_932:
            with self.subTest(name):
                folder = self.wine.fresh_copy(self.folder, name, self)
                self.open(folder=folder)
                self.click(CHOICE_LABEL[1])
                self.click(SET)
                self.assertTrue(self.closed())
                with open(os.path.join(folder, "Fulmina.ini"), "rb") as f:
                    self.assertIn(f.read(), settings_lines(1, 0))

    def test_under_a_western_code_page_a_chosen_name_is_stored_in_it_and_the_keys_stay_932(self):
        # Code page 1252 spells "café"; its bytes are what the saver's ANSI calls read.
        music = self.wine.drive_c("Musik")
        os.makedirs(music, exist_ok=True)
        self.addCleanup(shutil.rmtree, music, True)
        wav = os.path.join(music, "tone.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-b", "16", "-c", "2", wav, "synth", "1.0", "sine", "440",
                        "vol", "0.5"], check=True)
        subprocess.run(["lame", "--quiet", "-b", "128", wav, os.path.join(music, "caf\u00e9.mp3")], check=True)
        self.open(lang=WESTERN)
        self.choose_file("C:\\Musik\\caf\u00e9.mp3")
        self.click(SET)
        self.assertTrue(self.closed())
        self.assertIn(self.ini_bytes(), settings_lines(2, 0, "C:\\Musik\\caf\u00e9.mp3".encode("cp1252")))
        # The saver under the same code page plays it.
        self.assertSaverHeard(lang=WESTERN)


if __name__ == "__main__":
    names = ["env", "bin", "probe", "out", "reference"]
    ARGS.update(zip(names, sys.argv[1:6]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[6:], verbosity=2)
