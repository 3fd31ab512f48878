#!/usr/bin/env python3
"""Unit tests of the display tests' own program handling: a Windows program
measured, signalled and waited for as its own process, even where the Wine
launcher starts it as a separate process and only waits for it (start.exe,
the way the 32-bit launcher runs a 64-bit program)."""

import os
import signal
import struct
import sys
import tempfile
import textwrap
import time
import unittest

sys.dont_write_bytecode = True

from program import WineProgram, processes_running

# Starts the program as a child whose first argument is its Windows path,
# as start.exe does, then only waits for it and passes its exit code on.
LAUNCHER = textwrap.dedent("""\
    import subprocess, sys
    child = subprocess.Popen(["Z:" + sys.argv[1].replace("/", "\\\\"), "-c", sys.argv[2]],
                             executable=sys.executable)
    sys.exit(child.wait())
    """)

# Busy, as a composing program is, until SIGTERM ends it with 3; it says
# when it is ready for the signal by making a file.
PROGRAM = textwrap.dedent("""\
    import signal, sys
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(3))
    open(%r, "w").close()
    while True:
        pass
    """)


class FakeSession:
    def environment(self, extra):
        return dict(os.environ, **extra)


def write_fake_pe(path):
    header = bytearray(512)
    header[0:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, 0x80)
    header[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<H", header, 0x84, 0x8664)
    with open(path, "wb") as f:
        f.write(header)


class ProgramStartedByALauncher(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.exe = os.path.join(self.temp.name, "Brisko.exe")
        write_fake_pe(self.exe)
        launcher = os.path.join(self.temp.name, "start.py")
        with open(launcher, "w") as f:
            f.write(LAUNCHER)
        self.program = WineProgram(self.exe, FakeSession(), os.path.join(self.temp.name, "log"))
        self.program.launcher = [sys.executable, launcher]
        self.ready = os.path.join(self.temp.name, "ready")
        self.program.command = lambda: self.program.launcher + [self.exe, PROGRAM % self.ready]
        self.program.start()
        self.wait_for_program()

    def tearDown(self):
        self.program.process.kill()
        self.program.process.wait()
        for pid in processes_running(self.exe, "WINEPREFIX", self.program.prefix):
            os.kill(pid, signal.SIGKILL)
        self.program.temp.cleanup()
        self.temp.cleanup()

    def wait_for_program(self):
        deadline = time.monotonic() + 10
        while self.program.pid() is None or not os.path.exists(self.ready):
            self.assertLess(time.monotonic(), deadline, "the program's own process never appeared")
            time.sleep(0.05)

    def test_the_program_is_not_its_launcher(self):
        self.assertNotEqual(self.program.pid(), self.program.process.pid)

    def test_cpu_time_is_the_programs_own(self):
        before = self.program.cpu_seconds()
        time.sleep(0.6)
        after = self.program.cpu_seconds()
        self.assertIsNotNone(before)
        self.assertGreater(after - before, 0.1, "the busy program's CPU time did not grow")

    def test_a_signal_reaches_the_program_and_its_exit_code_comes_back(self):
        self.program.send_signal(signal.SIGTERM)
        self.assertEqual(self.program.wait(10), 3)
        self.assertIsNone(self.program.pid())

    def test_another_prefix_running_the_same_file_is_not_ours(self):
        self.assertEqual(processes_running(self.exe, "WINEPREFIX", self.program.prefix + "-other"), [])


if __name__ == "__main__":
    unittest.main()
