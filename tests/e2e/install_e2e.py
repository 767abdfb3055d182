"""The release as a Windows user gets it: the zip's contents, and the
installer run silently under Wine (installing both programs and its
uninstaller for this user, making Fulmina the current saver when asked, the
installed saver running), then the uninstaller taking away what it added
and nothing else.

    install_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR ASSETS_DIR OUTPUT_DIR VERSION NSIS_TARGET
"""

import os
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


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], os.path.join(ARGS["bin"], "..", "tests", "e2e", "probe.exe"))
        cls.dist = os.path.join(ARGS["out"], "dist")
        subprocess.run([os.path.join(TOP, "tools", "make-release"), ARGS["bin"], ARGS["assets"], cls.dist,
                        ARGS["version"], ARGS["target"]], check=True, capture_output=True, timeout=300)
        cls.setup = os.path.join(cls.dist, "Fulmina-%s-setup.exe" % ARGS["version"])

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
        subprocess.run([self.wine.wine, os.path.join(folder, "uninstall.exe"), "/S"], env=self.wine.env, timeout=120)
        # The uninstaller runs on from a copy of itself: wait for it to finish.
        end = time.monotonic() + 60
        while time.monotonic() < end and self.wine.run_reg("query", UNINSTALL).returncode == 0:
            time.sleep(0.5)
        time.sleep(1.0)

    def test_the_zip_holds_the_two_programs_and_the_text(self):
        with zipfile.ZipFile(os.path.join(self.dist, "Fulmina-%s.zip" % ARGS["version"])) as z:
            self.assertEqual(sorted(z.namelist()), ["Fulmina.dll", "Fulmina.scr", "README.txt"])
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
        for name in ("Fulmina.scr", "Fulmina.dll", "uninstall.exe"):
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
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


if __name__ == "__main__":
    names = ["env", "bin", "assets", "out", "version", "target"]
    ARGS.update(zip(names, sys.argv[1:7]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[7:], verbosity=2)
