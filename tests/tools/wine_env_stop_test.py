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
    def test_only_the_recorded_server_itself_is_stopped(self):
        d = os.path.realpath(ARGS["scratch"])
        conf = os.path.join(d, "xorg.conf")
        cases = [
            # (why, the process's argv0 and arguments, the record: a file and its text, ended?)
            ("its own Xvfb", ["Xvfb", ":93"], "x-server", "{pid} {start} 93 xvfb", True),
            ("its own Xorg", ["Xorg", ":93", "-config", conf], "x-server", "{pid} {start} 93 two-monitors", True),
            ("not an X server at all", ["sleep", ":93"], "x-server", "{pid} {start} 93 xvfb", False),
            ("an Xvfb on another display", ["Xvfb", ":94"], "x-server", "{pid} {start} 93 xvfb", False),
            ("a process started after the record", ["Xvfb", ":93"], "x-server", "{pid} 1 93 xvfb", False),
            ("an Xorg of another configuration", ["Xorg", ":93", "-config", "/etc/x.conf"], "x-server",
             "{pid} {start} 93 two-monitors", False),
            ("an earlier bare pid record naming another process", ["sleep"], "xvfb.pid", "{pid}", False),
        ]
        for why, argv, record, text, ended in cases:
            with self.subTest(why):
                os.makedirs(d, exist_ok=True)
                with open(os.path.join(d, "env.sh"), "w") as f:
                    f.write('export DISPLAY=":93"\nexport WINESERVER="/bin/true"\n')
                p = subprocess.Popen(["bash", "-c", 'exec -a "$0" python3 -c "import time; time.sleep(600)" "$@"',
                                      *argv])
                self.addCleanup(lambda p=p: (p.kill(), p.wait()))
                while not open("/proc/%d/cmdline" % p.pid, "rb").read().startswith(argv[0].encode()):
                    time.sleep(0.02)
                with open(os.path.join(d, record), "w") as f:
                    f.write(text.format(pid=p.pid, start=start_time(p.pid)) + "\n")
                subprocess.run([ARGS["wine_env"], "stop", d], check=True, timeout=60, capture_output=True)
                time.sleep(0.2)
                self.assertEqual(p.poll() is not None, ended)
                self.assertFalse(os.path.exists(os.path.join(d, record)), "the record was kept")


if __name__ == "__main__":
    ARGS.update(wine_env=sys.argv[1], scratch=sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
