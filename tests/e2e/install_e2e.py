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
INSTALLED = ["Fulmina-uninstall.exe", "Fulmina.dll", "Fulmina.scr", "README.txt", "THIRD-PARTY-NOTICES.txt"]


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], os.path.join(ARGS["bin"], "..", "tests", "e2e", "probe.exe"))
        cls.dist = os.path.join(ARGS["out"], "dist")
        shutil.rmtree(cls.dist, ignore_errors=True)  # this test's own output
        subprocess.run([os.path.join(TOP, "tools", "make-release"), ARGS["bin"], ARGS["assets"], cls.dist,
                        ARGS["version"], ARGS["target"]], check=True, capture_output=True, timeout=300)
        cls.setup = os.path.join(cls.dist, "Fulmina-%s-setup.exe" % ARGS["version"])

    def setUp(self):
        # Each test installs afresh: no entry and no copy left by another.
        self.wine.run_reg("delete", UNINSTALL, "/f")
        for folder in glob.glob(self.wine.drive_c("users", "*", "AppData", "Local", "Programs", "Fulmina")):
            shutil.rmtree(folder)

    def reg_value(self, key, name):
        done = self.wine.run_reg("query", key, "/v", name)
        if done.returncode != 0:
            return None
        for line in done.stdout.decode("cp932", "replace").splitlines():
            parts = line.split("REG_SZ")
            if len(parts) == 2 and parts[0].strip() == name:
                return parts[1].strip()
        return None

    def windows_to_unix(self, path):
        self.assertTrue(path.upper().startswith("C:\\"), path)
        return self.wine.drive_c(*path[3:].split("\\"))

    def install(self, *options):
        done = subprocess.run([self.wine.wine, self.setup, "/S", *options], env=self.wine.env, timeout=120,
                              capture_output=True)
        self.assertEqual(done.returncode, 0)
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
        done = subprocess.run([os.path.join(TOP, "tools", "make-release"), ARGS["bin"], ARGS["assets"], foreign,
                               ARGS["version"], ARGS["target"]], capture_output=True, timeout=300)
        self.assertNotEqual(done.returncode, 0)
        self.assertEqual(os.listdir(foreign), ["thesis.txt"])
        # Its own folder again: what it made is replaced, what someone added stays.
        with open(os.path.join(self.dist, "notes.txt"), "wb") as f:
            f.write(b"added by hand")
        subprocess.run([os.path.join(TOP, "tools", "make-release"), ARGS["bin"], ARGS["assets"], self.dist,
                        ARGS["version"], ARGS["target"]], check=True, capture_output=True, timeout=300)
        self.assertIn("notes.txt", os.listdir(self.dist))
        self.assertTrue(os.path.isfile(self.setup))
        shutil.rmtree(foreign)

    def test_the_zip_holds_the_two_programs_and_the_text(self):
        with zipfile.ZipFile(os.path.join(self.dist, "Fulmina-%s.zip" % ARGS["version"])) as z:
            self.assertEqual(sorted(z.namelist()), ["Fulmina.dll", "Fulmina.scr", "README.txt",
                                                    "THIRD-PARTY-NOTICES.txt"])
            notices = z.read("THIRD-PARTY-NOTICES.txt").decode("utf-8")
            for licence in ("GCC RUNTIME LIBRARY EXCEPTION", "winpthreads", "mingw-w64"):
                self.assertIn(licence, notices)
            for name in ("Fulmina.scr", "Fulmina.dll"):
                with open(os.path.join(ARGS["bin"], name), "rb") as f:
                    self.assertEqual(z.read(name), f.read(), name)
            text = z.read("README.txt").decode("ascii")
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
