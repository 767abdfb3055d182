"""tools/wine-env stop ends the environment's own X server and nothing else:
a record left behind by a server that has gone may name any process by now.

    wine_env_stop_test.py WINE_ENV SCRATCH_DIR
"""

import os
import subprocess
import sys
import time
import unittest

ARGS = {}


def start_time(pid):
    with open("/proc/%d/stat" % pid) as f:
        return f.read().rsplit(")", 1)[1].split()[19]


class WineEnvStop(unittest.TestCase):
    def setUp(self):
        self.dir = os.path.join(ARGS["scratch"], self.id().rsplit(".", 1)[1])
        os.makedirs(self.dir, exist_ok=True)
        for name in ("x-server", "xvfb.pid", "env.sh"):
            if os.path.exists(os.path.join(self.dir, name)):
                os.remove(os.path.join(self.dir, name))
        self.processes = []

    def tearDown(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()

    def decoy(self, argv0, *args):
        """A process whose command line reads argv0 ... args; it only sleeps."""
        p = subprocess.Popen(["bash", "-c", 'exec -a "$0" python3 -c "import time; time.sleep(600)" "$@"',
                              argv0, *args])
        self.processes.append(p)
        for _ in range(50):
            with open("/proc/%d/cmdline" % p.pid, "rb") as f:
                if f.read().startswith(argv0.encode()):
                    break
            time.sleep(0.02)
        return p

    def write(self, name, text):
        with open(os.path.join(self.dir, name), "w") as f:
            f.write(text)

    def stop(self):
        subprocess.run([ARGS["wine_env"], "stop", self.dir], check=True, timeout=60,
                       stdin=subprocess.DEVNULL, capture_output=True)
        time.sleep(0.2)

    def test_records_of_other_processes_leave_them_running(self):
        cases = [
            # (why, argv0, args, recorded start time: True = its own, else a number)
            ("not an X server at all", "sleep", [":93"], True),
            ("an Xvfb on another display", "Xvfb", [":94"], True),
            ("the right command line, but started after the record was made", "Xvfb", [":93"], "1"),
            ("an Xorg without this environment's configuration", "Xorg", [":93", "-config", "/etc/x.conf"],
             True),
        ]
        for why, argv0, args, start in cases:
            with self.subTest(why):
                kind = "two-monitors" if argv0 == "Xorg" else "xvfb"
                p = self.decoy(argv0, *args)
                recorded = start_time(p.pid) if start is True else start
                self.write("x-server", "%d %s 93 %s\n" % (p.pid, recorded, kind))
                self.stop()
                self.assertIsNone(p.poll(), "wine-env stop killed %s" % why)
                self.assertFalse(os.path.exists(os.path.join(self.dir, "x-server")))

    def test_an_earlier_bare_pid_record_naming_another_process_leaves_it_running(self):
        self.write("env.sh", 'export DISPLAY=":93"\nexport WINESERVER="/bin/true"\n')
        p = self.decoy("sleep")
        self.write("xvfb.pid", "%d\n" % p.pid)
        self.stop()
        self.assertIsNone(p.poll(), "wine-env stop killed the process a stale xvfb.pid named")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "xvfb.pid")))

    def test_its_own_servers_are_stopped(self):
        conf = os.path.join(os.path.realpath(self.dir), "xorg.conf")
        cases = [
            ("xvfb", "Xvfb", [":93", "-screen", "0", "1024x768x24"]),
            ("two-monitors", "Xorg", [":93", "-noreset", "-config", conf]),
        ]
        for kind, argv0, args in cases:
            with self.subTest(kind):
                p = self.decoy(argv0, *args)
                self.write("x-server", "%d %s 93 %s\n" % (p.pid, start_time(p.pid), kind))
                self.stop()
                self.assertIsNotNone(p.poll(), "wine-env stop left its own %s running" % kind)


if __name__ == "__main__":
    ARGS.update(wine_env=sys.argv[1], scratch=sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
