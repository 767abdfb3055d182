"""The real saver host and renderer under Wine on a virtual display, started
with the command lines Windows uses: the saver run, the preview in a pane,
the quiet modes, the missing renderer, a running settings dialog, and the
background music actually heard through the ALSA file sink.

    host_e2e.py WINE_ENV_DIR WINDOWS_BIN_DIR PROBE_EXE ASSETS_DIR OUTPUT_DIR
"""

import os
import re
import shutil
import subprocess
import sys
import time
import unittest

from winenv import (UNSPELLABLE_IN_932, WineEnv, another_accounts, bmp_file, glow_pixels, read_picture, red_pixels,
                    straight_edges)

ARGS = {}
HOST_FOLDER = ("Program Files", "Fulmina Saver")  # blanks on purpose
MISSING_RENDERER = "Fulmina.dll が同じﾌｫﾙﾀﾞに見つかりません！"
RED, BLACK = (230, 20, 10), (0, 0, 0)


def sjis(text):
    return text.encode("cp932")


class HostEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wine = WineEnv(ARGS["env"], ARGS["probe"])
        cls.folder = cls.wine.drive_c(*HOST_FOLDER)
        cls.host = os.path.join(cls.folder, "Fulmina.scr")
        cls.capture = os.path.join(ARGS["env"], "capture.raw")

    def setUp(self):
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(self.folder, name))
        shutil.rmtree(self.wine.drive_c("z_quil"), ignore_errors=True)
        # Where an unquoted command line with blanks would start a program.
        shutil.copyfile(ARGS["probe"], self.wine.drive_c("Program.exe"))
        for leftover in ("decoy_ran",):
            if os.path.exists(self.wine.drive_c(leftover)):
                os.remove(self.wine.drive_c(leftover))
        self.processes = []

    def tearDown(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait(10)
        if self.wine.window() is not None:
            self.wine.probe("post", "close")
            self.wine.wait_window(timeout=0.1)
        os.remove(self.wine.drive_c("Program.exe"))

    def start(self, *args, **kw):
        p = self.wine.start(self.host, *args, **kw)
        self.processes.append(p)
        return p

    def settings(self, kind, repeat=0, path=""):
        lines = [b"[Section]", sjis("BGM区分") + b"= %d" % kind, sjis("BGMﾘﾋﾟｰﾄ") + b"= %d" % repeat,
                 sjis("BGMﾌｧｲﾙ") + b"=" + sjis(path), b""]
        with open(os.path.join(self.folder, "Fulmina.ini"), "wb") as f:
            f.write(b"\r\n".join(lines))

    def texture(self):
        return self.wine.drive_c("z_quil", "Fulmina.bmp")

    def run_saver_until_escape(self, *args, check_while_running=None, host_ends_within=3.0, texture=True):
        host = self.start(*args)
        window = self.wine.wait_window(lambda w: w["visible"] == "1")
        self.assertIsNotNone(window, "the renderer window did not appear")
        if texture:
            self.assertTrue(os.path.isfile(self.texture()), "no glow texture file while the renderer runs")
        if check_while_running:
            check_while_running()
        self.wine.press("Escape")
        gone = time.monotonic()
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer did not end on Escape")
        self.assertEqual(host.wait(10), 0)
        self.assertLess(time.monotonic() - gone, host_ends_within, "the host outlived the renderer")
        if texture:
            self.assertFalse(os.path.lexists(self.texture()), "the glow texture file was left behind")
        self.assertFalse(os.path.exists(self.wine.drive_c("decoy_ran")), "a wrong program was started")
        return host

    def test_saver_writes_the_texture_runs_the_renderer_and_cleans_up(self):
        def texture_is_the_glow():
            picture = read_picture(self.texture())
            self.assertEqual((picture.width, picture.height), (128, 128))
            self.assertEqual(picture.at(64, 64), (255, 255, 255))
            self.assertEqual(picture.at(0, 0), (0, 0, 0))
        self.run_saver_until_escape("/s", check_while_running=texture_is_the_glow)

    def test_a_read_only_texture_file_is_replaced_and_then_deleted(self):
        os.makedirs(self.wine.drive_c("z_quil"))
        with open(self.texture(), "wb") as f:
            f.write(b"an old picture")
        def attrib(*args):
            return subprocess.run([self.wine.wine, "attrib.exe", *args, "C:\\z_quil\\Fulmina.bmp"], env=self.wine.env,
                                  capture_output=True, text=True, timeout=60).stdout
        attrib("+r")
        self.assertIn("R", attrib().split("C:")[0], "the file is not read-only")
        self.run_saver_until_escape("/s", check_while_running=lambda: self.assertEqual(
            read_picture(self.texture()).at(64, 64), (255, 255, 255)))

    def test_planted_links_and_files_are_neither_written_nor_deleted_through_nor_read(self):
        victims = self.wine.drive_c("victims")
        victim = os.path.join(victims, "Fulmina.bmp")
        folder = self.wine.drive_c("z_quil")
        red = bmp_file(128, 128, RED)
        # What a case made unchangeable goes before the next case, or test.
        release = ["chattr", "-R", "-i", folder]
        self.addCleanup(subprocess.run, release, capture_output=True)

        def unchangeable():  # another account's, which the user may neither change nor delete
            with open(self.texture(), "wb") as f:
                f.write(red)
            another_accounts(self.texture())
            subprocess.run(["chattr", "+i", self.texture()], check=True, capture_output=True)
        plants = {  # case: (plant it, the files that keep the red picture)
            "the file a symbolic link to another": (lambda: os.symlink(victim, self.texture()), [victim]),
            "the folder a link to another folder": (lambda: (os.rmdir(folder), os.symlink(victims, folder)), [victim]),
            "the file a hard link of another": (lambda: os.link(victim, self.texture()), [victim]),
            "the file another account's, unchangeable": (unchangeable, [victim, self.texture()]),
        }
        for case, (plant, kept) in plants.items():
            with self.subTest(case):
                for path in (folder, victims):
                    if os.path.islink(path):
                        os.remove(path)
                    subprocess.run(release[:3] + [path], capture_output=True)
                    shutil.rmtree(path, ignore_errors=True)
                    os.makedirs(path)
                with open(victim, "wb") as f:
                    f.write(red)
                plant()
                def untouched():
                    for path in kept:
                        with open(path, "rb") as f:
                            self.assertEqual(f.read(), red, "written through the link, or into the file")
                def untouched_and_never_shown():
                    untouched()
                    time.sleep(1.0)
                    pictures = self.wine.screenshots(ARGS["out"], "planted-" + case.replace(" ", "-"))
                    self.assertEqual([red_pixels(p) for p in pictures], [0, 0, 0], "the planted picture was read")
                self.run_saver_until_escape("/s", check_while_running=untouched_and_never_shown, texture=False)
                untouched()  # and not deleted
        if os.path.islink(folder):
            os.remove(folder)
        shutil.rmtree(victims)

    def test_another_program_writing_and_swapping_the_file_as_the_saver_starts_leaves_it_the_glow(self):
        # Another account's program (under Wine, one of the same user, which
        # Windows' sharing rules bind all the same) plants a black picture
        # and keeps writing it into the file and renaming a copy over it.
        os.makedirs(self.wine.drive_c("z_quil"))
        with open(self.wine.drive_c("black.bmp"), "wb") as f:
            f.write(bmp_file(128, 128, BLACK))
        self.addCleanup(os.remove, self.wine.drive_c("black.bmp"))
        other = self.wine.start(self.wine.probe_exe, "trample", "C:\\z_quil\\Fulmina.bmp", "C:\\black.bmp", "5000",
                                stderr="pipe")
        self.processes.append(other)
        time.sleep(1.0)

        def the_glow_shows():
            line = other.communicate(timeout=15)[0].decode()  # writes OK/TRIED swaps OK/TRIED
            self.assertEqual(other.returncode, 0)
            counts = line.split()
            (wrote, writes), (swapped, swaps) = (map(int, counts[i].split("/")) for i in (1, 3))
            self.assertLess(wrote, writes, "the other program wrote into the file while the saver had it")
            self.assertLess(swapped, swaps, "the other program renamed a file over it while the saver had it")
            pictures = self.wine.screenshots(ARGS["out"], "trampled")
            with open(os.path.join(ARGS["out"], "trampled.txt"), "w") as f:
                f.write("%sglow %s edges %s\n" % (line, [glow_pixels(p) for p in pictures],
                                                  [straight_edges(p) for p in pictures]))
            # The square about the centre holds 64 x 64 looks; the black
            # picture puts them all out, the glow lights nearly all.
            self.assertGreater(min(glow_pixels(p) for p in pictures), 3000, "the glow is out")
            self.assertLess(max(straight_edges(p) for p in pictures), 40, "plain squares: no texture")
        self.run_saver_until_escape("/s", check_while_running=the_glow_shows)
        left = sorted(os.listdir(self.wine.drive_c("z_quil")))
        self.assertIn(left, ([], ["Fulmina.bmp.swap"]), "the saver left something behind")

    def test_the_host_passes_its_foreground_right_to_the_renderer_which_takes_it(self):
        # Windows alone shows the foreground lock; Wine's relay trace shows who
        # allows whom: the host must allow the renderer's own process, which
        # asks for the foreground once its window shows.
        key = r"HKCU\Software\Wine\Debug"
        self.wine.run_reg("add", key, "/v", "RelayInclude", "/d",
                          "user32.AllowSetForegroundWindow;user32.ShowWindow;user32.SetForegroundWindow", "/f")
        self.addCleanup(self.wine.run_reg, "delete", key, "/v", "RelayInclude", "/f")
        trace = os.path.join(ARGS["out"], "foreground-relay.txt")
        with open(trace, "w") as f:
            host = self.wine.start(self.host, "/s", winedebug="+pid,+relay", stderr=f)
            self.processes.append(host)
            self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"))
            self.wine.press("Escape")
            self.assertEqual(host.wait(15), 0)
        calls = []  # (process, function, first argument)
        with open(trace, errors="replace") as f:
            for line in f:
                m = re.match(r"([0-9a-f]+):[0-9a-f]+:Call user32\.(\w+)\(([0-9a-f]+)", line)
                if m:
                    calls.append((int(m.group(1), 16), m.group(2), int(m.group(3), 16)))
        allowed = [arg for pid, name, arg in calls if name == "AllowSetForegroundWindow"]
        self.assertEqual(len(allowed), 1, "the host allowed no process, or several")
        renderer = [name for pid, name, arg in calls if pid == allowed[0]]
        self.assertIn("SetForegroundWindow", renderer, "the allowed process is not the one asking for the foreground")
        self.assertLess(renderer.index("ShowWindow"), renderer.index("SetForegroundWindow"))

    def test_the_control_panel_finds_the_saver_by_name(self):
        code, out = self.wine.probe("describe", "C:\\%s\\%s\\Fulmina.scr" % HOST_FOLDER)
        self.assertEqual(code, 0)
        self.assertEqual(out.split("\n"), ["Fulmina", "Fulmina"])

    def test_two_saver_starts_at_once_run_one_saver(self):
        first = self.start("/s")
        time.sleep(0.08)
        second = self.start("/s")
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"))
        time.sleep(3.0)
        self.assertEqual(self.wine.probe("count"), (0, "1"), "two renderers run")
        self.assertEqual([p.poll() is None for p in (first, second)].count(True), 1, "not one host alone")
        self.wine.press("Escape")
        self.assertIsNotNone(self.wine.wait_gone(10), "one Escape did not end the saver")
        self.assertEqual((first.wait(10), second.wait(10)), (0, 0))
        self.assertFalse(os.path.exists(self.texture()), "the glow texture file was left behind")

    def test_another_program_taking_the_foreground_ends_the_saver(self):
        mode = self.wine.probe("mode")[1]
        host = self.start("/s")
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"))
        time.sleep(1.5)
        self.assertIsNotNone(self.wine.window(), "the saver ended before another program came")
        other = self.wine.start(self.wine.probe_exe, "foreground", "8000")
        self.processes.append(other)
        self.assertIsNotNone(self.wine.wait_gone(10), "the renderer stays over the program with the keyboard")
        self.assertEqual(host.wait(10), 0)
        self.assertEqual(self.wine.probe("mode")[1], mode, "the display mode was not restored")
        self.assertFalse(os.path.exists(self.texture()), "the glow texture file was left behind")
        self.assertIsNone(other.poll(), "the other program was ended")

    def test_a_slow_renderer_and_its_gap_between_windows_keep_the_saver(self):
        # The probe, named as the renderer, takes 1.5 s to show a window and
        # later has none for 1.5 s; the host waits for it, then ends with it.
        shutil.copyfile(ARGS["probe"], os.path.join(self.folder, "Fulmina.dll"))
        start = time.monotonic()
        host = self.start("/s")
        self.assertEqual(host.wait(20), 0)
        took = time.monotonic() - start
        self.assertGreater(took, 6.5, "the host ended while the renderer was still coming")
        self.assertLess(took, 10.0, "the host did not end soon after the renderer")
        self.assertFalse(os.path.exists(self.texture()))

    def test_another_programs_window_of_the_renderers_title_does_not_keep_the_saver(self):
        decoy = self.wine.start(self.wine.probe_exe, "caption-window", "Fulmina_VC", "60000")
        self.processes.append(decoy)
        time.sleep(1.5)
        # The host's watch ticks every 500 ms; the rest is Wine ending processes.
        self.run_saver_until_escape("/s", host_ends_within=1.5)
        self.assertIsNone(decoy.poll(), "the other program's window was closed")

    def test_a_lone_s_does_nothing_visible_but_makes_the_folder(self):
        host = self.start("s")
        self.assertEqual(host.wait(20), 0)
        self.assertIsNone(self.wine.window())
        self.assertTrue(os.path.isdir(self.wine.drive_c("z_quil")))
        self.assertFalse(os.path.exists(self.texture()))

    def test_password_and_unknown_modes_end_quietly(self):
        for mode in ("/a", "/x"):
            host = self.start(mode)
            self.assertEqual(host.wait(20), 0, mode)
            self.assertIsNone(self.wine.window(), mode)

    def test_missing_renderer_shows_the_message_and_creates_nothing(self):
        os.remove(os.path.join(self.folder, "Fulmina.dll"))
        host = self.start("/s")
        code, out = self.wine.probe("messagebox", 15000)
        self.assertEqual(code, 0, "no message box")
        caption, text = (out.split("\n") + [""])[:2]
        self.assertEqual(text, MISSING_RENDERER)
        self.assertEqual(host.wait(10), 0)
        self.assertFalse(os.path.exists(self.wine.drive_c("z_quil")), "the folder was made anyway")

    def test_an_open_settings_dialog_makes_every_mode_end_silently(self):
        holder = self.wine.start(self.wine.probe_exe, "caption-window", "↓Fulmina↓", "30000")
        self.processes.append(holder)
        time.sleep(1.5)
        for args in (["/s"], [], ["/c"], ["/p", "123"]):
            host = self.start(*args)
            self.assertEqual(host.wait(20), 0, args)
            self.assertIsNone(self.wine.window(), args)
        self.assertFalse(os.path.exists(self.wine.drive_c("z_quil")))

    def test_preview_fills_the_pane_and_ends_with_it(self):
        os.remove(os.path.join(self.folder, "Fulmina.dll"))  # the preview needs no renderer
        pane = self.wine.start(self.wine.probe_exe, "pane", "8000", stderr="pipe")
        self.processes.append(pane)
        handle = pane.stdout.readline().decode().strip()
        self.assertTrue(handle.isdigit(), handle)
        host = self.start("/p", handle)
        time.sleep(2.5)
        code, out = self.wine.probe("child", handle)
        self.assertEqual(code, 0, "the pane has no child window")
        child = dict(item.split("=", 1) for item in out.split())
        self.assertEqual(child["caption"], "Preview_Window")
        self.assertEqual((child["left"], child["top"], child["width"], child["height"]), ("0", "0", "152", "112"))
        self.assertEqual((child["child"], child["popup"], child["visible"]), ("1", "0", "1"))
        # What the pane shows is checked in-process by the Windows tests: Wine does
        # not draw a child window of another process into its parent.
        self.wine.x("import", "-window", "root", os.path.join(ARGS["out"], "preview-pane.png"))
        self.assertIsNone(self.wine.window(), "the preview started the renderer")
        self.assertFalse(os.path.exists(self.wine.drive_c("z_quil")), "the preview made the folder")
        self.assertEqual(pane.wait(15), 0)
        self.assertEqual(host.wait(10), 0, "the host did not end with its pane")

    def test_preview_without_a_window_handle_ends_quietly(self):
        for args in (["/p"], ["/p", "0"], ["/p", "12345678"]):
            host = self.start(*args)
            self.assertEqual(host.wait(20), 0, args)

    def music_file(self, name, kind):
        folder = self.wine.drive_c("My Music")
        os.makedirs(folder, exist_ok=True)
        wav = os.path.join(folder, "tone.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-b", "16", "-c", "2", wav, "synth", "1.0",
                        "sine", "440", "vol", "0.5"], check=True)
        path = os.path.join(folder, name)
        if kind == "mp3":
            subprocess.run(["lame", "--quiet", "-b", "128", wav, path], check=True)
        return "C:\\My Music\\" + name

    def captured(self):
        return os.path.getsize(self.capture) if os.path.exists(self.capture) else 0

    def heard_looping(self):
        """More sound keeps arriving well after the one-second file would have ended."""
        time.sleep(3.0)
        first = self.captured()
        time.sleep(2.0)
        later = self.captured()
        self.assertGreater(first, 0, "nothing was played")
        self.assertGreater(later, first + 100000, "the music did not go on looping")

    def assertSilentAfterShutdown(self):
        time.sleep(1.0)
        before = self.captured()
        time.sleep(1.5)
        self.assertEqual(self.captured(), before, "sound went on after the saver ended")

    def test_wav_music_loops_while_the_saver_runs(self):
        self.settings(2, path=self.music_file("tone.wav", "wav"))
        self.run_saver_until_escape("/s", check_while_running=self.heard_looping)
        self.assertSilentAfterShutdown()

    def test_mp3_music_with_blanks_in_its_path_loops(self):
        self.settings(2, path=self.music_file("tone one.mp3", "mp3"))
        self.run_saver_until_escape("/s", check_while_running=self.heard_looping)
        self.assertSilentAfterShutdown()

    def test_the_saver_runs_from_folders_the_code_page_cannot_spell_and_reads_its_settings_there(self):
        tone = self.music_file("tone.wav", "wav")
        for name in UNSPELLABLE_IN_932:
            with self.subTest(name):
                folder = self.wine.fresh_copy(self.folder, name, self)
                self.settings(2, path=tone)
                shutil.copyfile(os.path.join(self.folder, "Fulmina.ini"), os.path.join(folder, "Fulmina.ini"))
                os.remove(os.path.join(self.folder, "Fulmina.ini"))
                host = self.wine.start(os.path.join(folder, "Fulmina.scr"), "/s")
                self.processes.append(host)
                self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"),
                                     "the renderer window did not appear")
                self.heard_looping()
                self.wine.press("Escape")
                self.assertEqual(host.wait(15), 0)
                self.assertSilentAfterShutdown()

    def test_a_saver_in_the_real_system32_started_by_the_64_bit_loader_finds_its_renderer(self):
        # A 32-bit host there is named System32 while its own file accesses go
        # to SysWOW64; it must reach the renderer beside it all the same.
        system32 = self.wine.drive_c("windows", "system32")
        for name in ("Fulmina.scr", "Fulmina.dll"):
            shutil.copyfile(os.path.join(ARGS["bin"], name), os.path.join(system32, name))
            self.addCleanup(os.remove, os.path.join(system32, name))
        loader = "/usr/lib/wine/wine64" if os.path.exists("/usr/lib/wine/wine64") else self.wine.wine
        host = subprocess.Popen([loader, "C:\\windows\\system32\\Fulmina.scr", "/s"], env=self.wine.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(host)
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"), "the renderer window did not appear")
        self.wine.press("Escape")
        self.assertEqual(host.wait(15), 0)

    def test_a_wav_that_cannot_be_played_leaves_the_saver_silent(self):
        # The system's default sound (win.ini's [sounds] Default, kept in the
        # registry) is a tone that would be heard in the file's place.
        tone = self.music_file("tone.wav", "wav")
        key = r"HKCU\Control Panel\Sounds"
        self.wine.run_reg("add", key, "/v", "Default", "/d", tone, "/f")
        self.addCleanup(self.wine.run_reg, "delete", key, "/v", "Default", "/f")
        folder = self.wine.drive_c("My Music")
        with open(os.path.join(folder, "corrupt.wav"), "wb") as f:
            f.write(b"RIFF\x10\x00\x00\x00not a wave at all")
        shutil.copyfile(os.path.join(folder, "tone.wav"), os.path.join(folder, "busy.wav"))
        for name in ("corrupt.wav", "busy.wav"):
            with self.subTest(name):
                if name == "busy.wav":
                    # Another program writing it: it opens for reading, but not for playing.
                    holder = self.wine.start(self.wine.probe_exe, "hold-file", "C:\\My Music\\busy.wav", "20000")
                    self.processes.append(holder)
                    time.sleep(1.5)
                self.settings(2, path="C:\\My Music\\" + name)
                def silent():
                    time.sleep(2.0)
                    before = self.captured()
                    time.sleep(2.0)
                    self.assertEqual(self.captured(), before, "a sound was played in place of the file")
                self.run_saver_until_escape("/s", check_while_running=silent)

    def test_cd_music_commands_and_the_poll_stopping_without_a_drive(self):
        self.settings(1, repeat=3)
        log = open(os.path.join(ARGS["out"], "mci-trace.txt"), "w+")
        host = self.start("/s", winedebug="+mci", stderr=log)
        self.assertIsNotNone(self.wine.wait_window(lambda w: w["visible"] == "1"))
        time.sleep(2.0)
        self.wine.press("Escape")
        self.assertEqual(host.wait(15), 0)
        log.seek(0)
        trace = log.read()
        log.close()
        commands = [c for c in ("open cdaudio", "set cdaudio time format tmst",
                                "status cdaudio current track") if c in trace]
        self.assertEqual(commands, ["open cdaudio", "set cdaudio time format tmst",
                                    "status cdaudio current track"])
        positions = [trace.index(c) for c in commands]
        self.assertEqual(positions, sorted(positions), "commands out of order")
        # Two seconds of a live poll would ask ten times; the error stopped it at once.
        self.assertEqual(trace.count("status cdaudio current track"), 1, "the poll did not stop")
        self.assertNotIn("play cdaudio", trace)


if __name__ == "__main__":
    names = ["env", "bin", "probe", "assets", "out"]
    ARGS.update(zip(names, sys.argv[1:6]))
    os.makedirs(ARGS["out"], exist_ok=True)
    unittest.main(argv=sys.argv[:1] + sys.argv[6:], verbosity=2)
