"""The program under test, started natively or under Wine on the test's own
X server, with its output kept in a log file."""

import os
import subprocess
import tempfile


class Program:
    """The native build: the executable itself."""

    startup_timeout = 20

    def __init__(self, path, session, log_path):
        self.path = path
        self.session = session
        self.log_path = log_path
        self.process = None

    def command(self):
        return [self.path]

    def environment(self):
        return self.session.environment()

    def prepare(self):
        """Whatever must exist before the first start."""

    def start(self):
        with open(self.log_path, "ab") as log:
            self.process = subprocess.Popen(self.command(), env=self.environment(), stdout=log, stderr=log,
                                            stdin=subprocess.DEVNULL)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait(self, timeout):
        """The exit code, or None if it is still running after the timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def send_signal(self, number):
        self.process.send_signal(number)

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def cleanup(self):
        self.stop()

    def output(self):
        with open(self.log_path, "rb") as log:
            return log.read().decode(errors="replace")


class WineProgram(Program):
    """The Windows build, under Wine in a prefix of its own."""

    startup_timeout = 60

    def __init__(self, path, session, log_path):
        super().__init__(path, session, log_path)
        self.temp = tempfile.TemporaryDirectory(prefix="brisko-wine-")
        self.prefix = os.path.join(self.temp.name, "prefix")

    def environment(self):
        # No Mono or Gecko prompts: the prefix has no need of either.
        return self.session.environment({"WINEPREFIX": self.prefix, "WINEDEBUG": "-all",
                                         "WINEDLLOVERRIDES": "mscoree,mshtml="})

    def command(self):
        return ["wine", self.path]

    def prepare(self):
        with open(self.log_path, "ab") as log:
            subprocess.run(["wine", "wineboot", "-i"], env=self.environment(), stdout=log, stderr=log,
                           stdin=subprocess.DEVNULL, timeout=120, check=True)

    def stop(self):
        super().stop()
        self.end_wineserver()

    def end_wineserver(self):
        subprocess.run(["wineserver", "-k"], env=self.environment(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def cleanup(self):
        self.stop()
        subprocess.run(["wineserver", "-w"], env=self.environment(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        self.temp.cleanup()
