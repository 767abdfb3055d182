"""The release as a Windows user gets it: the zip's contents, and the
installer run silently under Wine (installing both programs, their texts and
its uninstaller for this user, making Fulmina the current saver when asked,
the installed saver running; run again, installing over the first copy),
then the uninstaller taking away what it added and nothing else.

    install_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR ASSETS_DIR OUTPUT_DIR VERSION NSIS_TARGET
"""

import glob
import os
import shutil
import subprocess
import sys
import time
import unittest
import zipfile

from winenv import WineEnv

ARGS = {}
TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Fulmina"
UNINSTALLER = "Fulmina-uninstall.exe"
TEXTS = ["Fulmina-README.txt", "Fulmina-THIRD-PARTY-NOTICES.txt"]
INSTALLED = sorted(["Fulmina-uninstall.exe", "Fulmina.dll", "Fulmina.scr"] + TEXTS)
OTHER_SAVER = r"C:\windows\system32\other.scr"


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def wait_until(condition, timeout=30.0):
    end = time.monotonic() + timeout
    while not condition() and time.monotonic() < end:
        time.sleep(0.2)


def held(path):
    """True once some process (the wineserver, for a Windows program) has the file open."""
    for fd in glob.glob("/proc/[0-9]*/fd/*"):
        try:
            if os.readlink(fd) == os.path.realpath(path):
                return True
        except OSError:
            pass
    return False


def make_release(programs, out):
    return subprocess.run([os.path.join(TOP, "tools", "make-release"), programs, ARGS["assets"], out,
                           ARGS["version"], ARGS["target"]], capture_output=True, timeout=300).returncode


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], os.path.join(ARGS["bin"], "..", "tests", "e2e", "probe.exe"))
        cls.dist = os.path.join(ARGS["out"], "dist")
        shutil.rmtree(cls.dist, ignore_errors=True)  # this test's own output
        assert make_release(ARGS["bin"], cls.dist) == 0
        cls.setup = os.path.join(cls.dist, "Fulmina-%s-setup.exe" % ARGS["version"])

    def setUp(self):
        # Each test installs afresh: no entry and no copy left by another.
        self.wine.run_reg("delete", UNINSTALL, "/f")
        for folder in glob.glob(self.wine.drive_c("users", "*", "AppData", "Local", "Programs", "Fulmina")):
            shutil.rmtree(folder)

    def reg_typed(self, key, name):
        """(type, data) of a registry value, None when there is none."""
        done = self.wine.run_reg("query", key, "/v", name)
        for line in done.stdout.decode("cp932", "replace").splitlines() if done.returncode == 0 else []:
            for kind in ("REG_SZ", "REG_DWORD"):
                parts = line.split("    %s    " % kind)
                if len(parts) == 2 and parts[0].strip() == name:
                    return kind, parts[1].strip()
        return None

    def reg_value(self, key, name):
        typed = self.reg_typed(key, name)
        return typed[1] if typed is not None and typed[0] == "REG_SZ" else None

    def state(self, folder):
        """What a failed install must leave as it was: the folder's files,
        the uninstall entry and the current saver."""
        files = {name: read(os.path.join(folder, name)) for name in os.listdir(folder)}
        return files, self.wine.run_reg("query", UNINSTALL).stdout, self.reg_typed(DESKTOP, "SCRNSAVE.EXE")

    def short(self, path):
        return subprocess.run([self.wine.wine, "winepath.exe", "-s", path], env=self.wine.env, capture_output=True,
                              text=True, timeout=60).stdout.strip()

    def set_saver(self, path):
        self.wine.run_reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", path, "/f")

    def windows_to_unix(self, path):
        self.assertTrue(path.upper().startswith("C:\\"), path)
        return self.wine.drive_c(*path[3:].split("\\"))

    def run_setup(self, *options):
        return subprocess.run([self.wine.wine, self.setup, "/S", *options], env=self.wine.env, timeout=120,
                              capture_output=True).returncode

    def install(self, *options):
        self.assertEqual(self.run_setup(*options), 0)
        location = self.reg_value(UNINSTALL, "InstallLocation")
        self.assertIsNotNone(location, "no uninstaller registered")
        return location, self.windows_to_unix(location)

    def uninstall(self, folder):
        subprocess.run([self.wine.wine, os.path.join(folder, UNINSTALLER), "/S"], env=self.wine.env, timeout=120)
        # The uninstaller runs on from a copy of itself: wait for it to finish.
        end = time.monotonic() + 60
        while time.monotonic() < end and self.wine.run_reg("query", UNINSTALL).returncode == 0:
            time.sleep(0.5)
        time.sleep(1.0)

    def test_make_release_writes_only_into_a_folder_of_its_own(self):
        foreign = os.path.join(ARGS["out"], "someones-folder")
        shutil.rmtree(foreign, ignore_errors=True)
        os.makedirs(foreign)
        with open(os.path.join(foreign, "thesis.txt"), "wb") as f:
            f.write(b"not a release")
        self.assertNotEqual(make_release(ARGS["bin"], foreign), 0)
        self.assertEqual(os.listdir(foreign), ["thesis.txt"])
        # Its own folder again: what it made is replaced, what someone added stays.
        with open(os.path.join(self.dist, "notes.txt"), "wb") as f:
            f.write(b"added by hand")
        self.assertEqual(make_release(ARGS["bin"], self.dist), 0)
        self.assertIn("notes.txt", os.listdir(self.dist))
        self.assertTrue(os.path.isfile(self.setup))
        shutil.rmtree(foreign)
        # A run that fails half-way (a program missing) leaves a folder the next run still takes.
        half, again = os.path.join(ARGS["out"], "half-programs"), os.path.join(ARGS["out"], "after-a-failure")
        for folder in (half, again):
            shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(half)
        shutil.copy(os.path.join(ARGS["bin"], "Fulmina.scr"), half)
        self.assertNotEqual(make_release(half, again), 0)
        self.assertEqual(make_release(ARGS["bin"], again), 0)
        self.assertEqual(set(os.listdir(again)), set(os.listdir(self.dist)) - {"notes.txt"})
        shutil.rmtree(half)
        shutil.rmtree(again)

    def test_the_zip_holds_the_two_programs_and_the_text(self):
        with zipfile.ZipFile(os.path.join(self.dist, "Fulmina-%s.zip" % ARGS["version"])) as z:
            self.assertEqual(sorted(z.namelist()), sorted(["Fulmina.dll", "Fulmina.scr"] + TEXTS))
            notices = z.read("Fulmina-THIRD-PARTY-NOTICES.txt").decode("utf-8")
            for licence in ("GCC RUNTIME LIBRARY EXCEPTION", "winpthreads", "mingw-w64"):
                self.assertIn(licence, notices)
            for name in ("Fulmina.scr", "Fulmina.dll"):
                with open(os.path.join(ARGS["bin"], name), "rb") as f:
                    self.assertEqual(z.read(name), f.read(), name)
            text = z.read("Fulmina-README.txt").decode("ascii")
            for topic in ("Installing", "Removing", "Fulmina.ini"):
                self.assertIn(topic, text)
            self.assertIn("\r\n", text, "Windows line ends")

    def test_install_make_current_run_and_uninstall_giving_back_the_saver_before(self):
        self.wine.run_reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", r"C:\windows\system32\other.scr", "/f")
        location, folder = self.install("/current")
        self.assertEqual(sorted(os.listdir(folder)), INSTALLED)
        self.assertIn("Programs", location, "per user by default")
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), location + "\\Fulmina.scr")
        # The installed saver works.
        saver = self.wine.start(os.path.join(folder, "Fulmina.scr"), "/s")
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"), "no renderer window")
        self.wine.press("Escape")
        self.assertEqual(saver.wait(20), 0)
        self.uninstall(folder)
        self.assertFalse(os.path.exists(folder), "the folder was left behind")
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), r"C:\windows\system32\other.scr")
        self.assertNotEqual(self.wine.run_reg("query", UNINSTALL).returncode, 0)
        self.assertFalse(os.path.exists(self.wine.drive_c("z_quil")), "the saver's folder was left behind")

    def test_without_current_an_unrelated_saver_stays_and_settings_stay_unless_asked(self):
        self.wine.run_reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", r"C:\windows\system32\unrelated.scr", "/f")
        location, folder = self.install()
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), r"C:\windows\system32\unrelated.scr")
        with open(os.path.join(folder, "Fulmina.ini"), "wb") as f:
            f.write(b"[Section]\r\n")
        self.uninstall(folder)
        self.assertEqual(sorted(os.listdir(folder)), ["Fulmina.ini"], "a silent uninstall keeps the settings only")
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), r"C:\windows\system32\unrelated.scr")
        os.remove(os.path.join(folder, "Fulmina.ini"))
        os.rmdir(folder)


    def test_installing_again_goes_over_the_first_copy_and_uninstalling_gives_everything_back(self):
        self.wine.run_reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", r"C:\windows\system32\mine.scr", "/f")
        self.wine.run_reg("add", DESKTOP, "/v", "ScreenSaveActive", "/d", "0", "/f")
        custom = self.wine.drive_c("CustomSaver")
        os.makedirs(custom, exist_ok=True)
        with open(os.path.join(custom, "uninstall.exe"), "wb") as f:
            f.write(b"another program's uninstaller")
        listener = subprocess.Popen([self.wine.wine, self.wine.probe_exe, "setting-changes", "60000"],
                                    env=self.wine.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
        self.assertEqual(listener.stdout.readline().strip(), b"ready")
        location, folder = self.install("/current", r"/D=C:\CustomSaver")
        self.assertEqual(location, r"C:\CustomSaver")
        with open(os.path.join(folder, "Fulmina.ini"), "wb") as f:
            f.write(b"[Section]\r\nmine\r\n")
        self.assertEqual(self.install()[0], r"C:\CustomSaver", "a second copy went elsewhere")
        self.install("/current")
        listener.kill()
        announced = listener.communicate(timeout=30)[0]
        self.assertIn(b"setting-change 17", announced, "the new saver was not announced")
        self.assertEqual(glob.glob(self.wine.drive_c("users", "*", "AppData", "Local", "Programs", "Fulmina")), [],
                         "a second copy in the default folder")
        self.assertEqual(sorted(os.listdir(folder)), sorted(INSTALLED + ["Fulmina.ini", "uninstall.exe"]))
        with open(os.path.join(folder, "Fulmina.ini"), "rb") as f:
            self.assertEqual(f.read(), b"[Section]\r\nmine\r\n")
        self.assertEqual(self.reg_value(UNINSTALL, "PreviousScreenSaver"), r"C:\windows\system32\mine.scr")
        self.assertEqual(self.reg_value(DESKTOP, "ScreenSaveActive"), "1")
        self.uninstall(folder)
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), r"C:\windows\system32\mine.scr")
        self.assertEqual(self.reg_value(DESKTOP, "ScreenSaveActive"), "0")
        self.assertEqual(sorted(os.listdir(folder)), ["Fulmina.ini", "uninstall.exe"])
        with open(os.path.join(folder, "uninstall.exe"), "rb") as f:
            self.assertEqual(f.read(), b"another program's uninstaller")
        shutil.rmtree(custom)

    def test_an_upgrade_that_cannot_be_done_changes_nothing_and_says_so(self):
        self.set_saver(OTHER_SAVER)
        blocker, target = self.wine.drive_c("blocker"), self.wine.drive_c("SaverB")
        write(blocker, b"a file")
        os.makedirs(os.path.join(target, "Fulmina.dll"))  # a folder where a file must go: it fails half-way
        self.addCleanup(os.remove, blocker)
        self.addCleanup(shutil.rmtree, target)
        _, folder = self.install("/current", r"/D=C:\SaverA")
        self.addCleanup(shutil.rmtree, folder, True)
        write(os.path.join(folder, "Fulmina.ini"), b"[Section]\r\nmine\r\n")
        write(os.path.join(folder, TEXTS[0]), b"as the user left it")  # an install would write it again
        before = self.state(folder)
        for case, where in {"a file in place of the folder": r"C:\blocker", "a path through a file": r"C:\blocker\B",
                            "a file of the copy that cannot be written": r"C:\SaverB"}.items():
            with self.subTest(case):
                self.assertNotEqual(self.run_setup("/current", "/D=" + where), 0)
                self.assertEqual(self.state(folder), before)
        self.assertEqual(os.listdir(target), ["Fulmina.dll"], "what it wrote there was left")
        self.assertEqual(read(blocker), b"a file")
        # As a person does it: Install, Cancel on the write error, then close the installer.
        setup = self.wine.start(self.setup, r"/D=C:\SaverB")
        self.addCleanup(setup.kill)
        for key, windows in (("Return", 1), ("Escape", 2), ("Return", 1)):
            wait_until(lambda: len(self.wine.x("xdotool", "search", "--onlyvisible", "--name",
                                               "^Fulmina %s" % ARGS["version"]).stdout.split()) == windows)
            time.sleep(0.5)
            self.wine.x("xdotool", "key", key)
        self.assertEqual(setup.wait(60), 2)
        self.assertEqual(self.state(folder), before)
        self.assertEqual(os.listdir(target), ["Fulmina.dll"], "what it wrote there was left")
        # Over itself while a program (a running saver, say) holds one of its files: nothing of it replaced.
        holder = self.wine.start(self.wine.probe_exe, "hold-file", r"C:\SaverA\Fulmina.dll", "60000")
        self.addCleanup(holder.kill)
        wait_until(lambda: held(os.path.join(folder, "Fulmina.dll")))
        self.assertNotEqual(self.run_setup("/current"), 0)
        self.assertEqual(self.state(folder), before)
        holder.kill()
        holder.wait(30)
        self.uninstall(folder)
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), OTHER_SAVER)

    def test_moving_writes_the_new_copy_then_retires_the_old_one(self):
        self.set_saver(OTHER_SAVER)
        _, old = self.install("/current", r"/D=C:\FulminaSaverA")
        self.addCleanup(shutil.rmtree, old, True)
        write(os.path.join(old, "Fulmina.ini"), b"[Section]\r\nmine\r\n")
        short = self.short(r"C:\FulminaSaverA\Fulmina.scr")  # as Windows may store it
        self.assertNotIn(short.upper(), ("", r"C:\FULMINASAVERA\FULMINA.SCR"))
        self.set_saver(short)
        location, new = self.install(r"/D=C:\SaverB")
        self.assertEqual(location, r"C:\SaverB")
        self.addCleanup(shutil.rmtree, new, True)
        self.assertFalse(os.path.exists(old), "the old copy was left")
        self.assertEqual(sorted(os.listdir(new)), sorted(INSTALLED + ["Fulmina.ini"]))
        self.assertEqual(read(os.path.join(new, "Fulmina.ini")), b"[Section]\r\nmine\r\n")
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), r"C:\SaverB\Fulmina.scr")
        self.uninstall(new)
        self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), OTHER_SAVER)

    def test_the_copy_is_known_however_the_saver_spells_it_and_the_switch_comes_back_as_it_was(self):
        rows = {"upper case": (str.upper, ("REG_DWORD", "0x0")), "short form": (self.short, None)}
        for case, (spell, switch) in rows.items():
            with self.subTest(case):
                self.set_saver(OTHER_SAVER)
                self.wine.run_reg("delete", DESKTOP, "/v", "ScreenSaveActive", "/f")
                if switch:
                    self.wine.run_reg("add", DESKTOP, "/v", "ScreenSaveActive", "/t", switch[0], "/d", "0", "/f")
                location, folder = self.install("/current", r"/D=C:\FulminaSaverFolder")
                spelt = spell(location + r"\Fulmina.scr")
                self.assertNotIn(spelt, ("", location + r"\Fulmina.scr"))
                self.set_saver(spelt)
                self.install("/current")  # over itself: what it replaced stays what was there before it
                self.assertEqual(self.reg_value(UNINSTALL, "PreviousScreenSaver"), OTHER_SAVER)
                self.set_saver(spelt)
                self.uninstall(folder)
                self.assertEqual(self.reg_value(DESKTOP, "SCRNSAVE.EXE"), OTHER_SAVER)
                self.assertEqual(self.reg_typed(DESKTOP, "ScreenSaveActive"), switch)

    def test_another_programs_texts_stay_and_those_the_earlier_installer_wrote_go(self):
        earlier = read(os.path.join(TOP, "installer", "README-1.0.0.txt")).replace(b"\n", b"\r\n")
        notices = read(os.path.join(self.dist, TEXTS[1]))
        rows = {"another program's": (b"another program's readme", b"another program's notices", True),
                "the earlier installer's": (earlier, notices, False),
                "the earlier ones changed by a byte": (b"x" + earlier[1:], notices[:-3] + b"x" + notices[-2:], True)}
        shared = self.wine.drive_c("Shared")
        for case, (readme, third_party, kept) in rows.items():
            with self.subTest(case):
                shutil.rmtree(shared, ignore_errors=True)
                os.makedirs(shared)
                texts = {"README.txt": readme, "THIRD-PARTY-NOTICES.txt": third_party}
                for name, data in texts.items():
                    write(os.path.join(shared, name), data)
                self.install(r"/D=C:\Shared")
                self.install()  # over itself, as over the earlier one
                def left():
                    return {name: read(os.path.join(shared, name)) for name in texts
                            if os.path.exists(os.path.join(shared, name))}
                self.assertEqual(left(), texts if kept else {}, "installed again")
                self.uninstall(shared)
                self.assertEqual(left(), texts if kept else {}, "uninstalled")
        shutil.rmtree(shared, ignore_errors=True)

    def test_the_uninstaller_deletes_the_texture_file_only_when_it_is_a_plain_one(self):
        texture_folder = self.wine.drive_c("z_quil")
        victim = self.wine.drive_c("victim.bmp")
        plants = {
            "a plain file left by a run": (lambda: open(os.path.join(texture_folder, "Fulmina.bmp"), "wb").close(),
                                           False),
            "a symbolic link": (lambda: os.symlink(victim, os.path.join(texture_folder, "Fulmina.bmp")), True),
            "a hard link": (lambda: os.link(victim, os.path.join(texture_folder, "Fulmina.bmp")), True),
            "the folder a link": (lambda: (os.rmdir(texture_folder), os.symlink(self.wine.drive_c("victims"),
                                                                                 texture_folder)), True),
        }
        for case, (plant, kept) in plants.items():
            with self.subTest(case):
                if os.path.islink(texture_folder):
                    os.remove(texture_folder)
                shutil.rmtree(texture_folder, ignore_errors=True)
                os.makedirs(texture_folder)
                os.makedirs(self.wine.drive_c("victims"), exist_ok=True)
                for path in (victim, self.wine.drive_c("victims", "Fulmina.bmp")):
                    with open(path, "wb") as f:
                        f.write(b"someone else's")
                plant()
                _, folder = self.install()
                self.uninstall(folder)
                for path in (victim, self.wine.drive_c("victims", "Fulmina.bmp")):
                    with open(path, "rb") as f:
                        self.assertEqual(f.read(), b"someone else's", path)
                self.assertEqual(os.path.lexists(texture_folder), kept)
        if os.path.islink(texture_folder):
            os.remove(texture_folder)
        shutil.rmtree(texture_folder, ignore_errors=True)
        shutil.rmtree(self.wine.drive_c("victims"))
        os.remove(victim)


if __name__ == "__main__":
    names = ["env", "bin", "assets", "out", "version", "target"]
    ARGS.update(zip(names, sys.argv[1:7]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[7:], verbosity=2)
