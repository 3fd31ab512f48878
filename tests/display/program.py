"""The program under test, started natively or under Wine on the test's own
X server, with its output kept in a log file."""

import os
import struct
import subprocess
import tempfile

import layout
import probe32

# Where Debian's wine64 package puts the 64-bit loader; the `wine` launcher
# prefers the 32-bit one whenever wine32 is installed.
WINE64_LOADER = "/usr/lib/wine/wine64"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class Program:
    """The native build: the executable itself."""

    startup_timeout = 20
    # The about box is the desktop backend's own.
    about_box_ok_above_bottom = layout.ABOUT_BOX_OK_ABOVE_BOTTOM

    def __init__(self, path, session, log_path, variables=None):
        self.path = path
        self.session = session
        self.log_path = log_path
        self.variables = variables or {}
        self.process = None
        self.log_offset = 0

    def command(self):
        return [self.path]

    def environment(self):
        return self.session.environment(self.variables)

    def prepare(self):
        """Whatever must exist before the first start."""

    def start(self):
        # Standard output goes beside the log: what the program says on
        # standard error is checked line by line.
        with open(self.log_path, "ab") as log, open(self.log_path + ".stdout", "ab") as out:
            self.log_offset = log.tell()
            self.process = subprocess.Popen(self.command(), env=self.environment(), stdout=out, stderr=log,
                                            stdin=subprocess.DEVNULL)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def state(self):
        return "still running" if self.running() else "exited with %s" % self.process.poll()

    def wait(self, timeout):
        """The exit code, or None if it is still running after the timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def send_signal(self, number):
        pid = self.pid()
        if pid is not None:
            os.kill(pid, number)

    def pid(self):
        """The process that is the program itself."""
        return self.process.pid

    def cpu_seconds(self):
        """User and system time the program has used so far, in seconds
        (in steps of a clock tick), or None once it has ended."""
        pid = self.pid()
        return None if pid is None else process_cpu_seconds(pid)

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def cleanup(self):
        self.stop()

    def output(self):
        with open(self.log_path, "rb") as log:
            return log.read().decode(errors="replace")

    def errors(self):
        """What the latest start wrote on standard error."""
        with open(self.log_path, "rb") as log:
            log.seek(self.log_offset)
            return log.read().decode(errors="replace")


def process_cpu_seconds(pid):
    """User and system time of one process, or None once it has ended."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    # After the command name: state is field 3, utime 14, stime 15.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def read_proc(pid, name):
    try:
        with open("/proc/%d/%s" % (pid, name), "rb") as f:
            return f.read()
    except OSError:
        return None


def program_name(argument):
    """The file name at the end of a Unix or Windows path, in lower case."""
    return argument.replace("\\", "/").rsplit("/", 1)[-1].lower()


def processes_running(executable, variable, value):
    """The pids of the live processes whose first argument names the file
    executable (whichever way the path is written) and whose environment
    holds variable=value."""
    wanted = program_name(executable)
    setting = ("%s=%s" % (variable, value)).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        pid = int(entry)
        command = read_proc(pid, "cmdline")
        environment = read_proc(pid, "environ")
        if not command or environment is None:
            continue
        if program_name(command.split(b"\0", 1)[0].decode(errors="replace")) != wanted:
            continue
        if setting in environment.split(b"\0"):
            found.append(pid)
    return sorted(found)


def windows_program_bits(path):
    """32 or 64, from the machine field of the PE header."""
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("%s is not a Windows program" % path)
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    bits = {0x14C: 32, 0x8664: 64}.get(machine)
    if bits is None:
        raise ValueError("%s is for machine 0x%x, neither i386 nor x86-64" % (path, machine))
    return bits


class WineProgram(Program):
    """The Windows build, under Wine in a prefix of its own."""

    startup_timeout = 60
    about_box_ok_above_bottom = layout.WINE_ABOUT_BOX_OK_ABOVE_BOTTOM

    def __init__(self, path, session, log_path, variables=None, windows_version=None):
        super().__init__(path, session, log_path, variables)
        self.bits = windows_program_bits(path)
        self.windows_version = windows_version
        # Wine reports 32-bit XP only in a 32-bit prefix (a 64-bit one offers winxp64).
        self.prefix_variables = {"WINEARCH": "win32"} if windows_version == "winxp" else {}
        self.temp = tempfile.TemporaryDirectory(prefix="brisko-wine-")
        self.prefix = os.path.join(self.temp.name, "prefix")
        self.launcher = ["wine"]
        self.loader_variables = {}

    def choose_loader(self):
        """Picks how to start the program; returns why this machine cannot
        run it, or None. The `wine` launcher runs both builds through its
        32-bit loader; where the kernel refuses 32-bit programs, a 64-bit
        build can still run under the 64-bit loader alone."""
        refused = probe32.why_32bit_programs_cannot_run()
        if refused is None:
            return None
        if self.bits == 32:
            return "the 32-bit program needs 32-bit Wine, and %s" % refused
        self.launcher = [WINE64_LOADER]
        self.loader_variables = {"WINELOADER": WINE64_LOADER}
        return None

    def environment(self):
        # No Mono or Gecko prompts: the prefix has no need of either.
        return self.session.environment(dict(self.variables, **self.loader_variables, **self.prefix_variables,
                                             WINEPREFIX=self.prefix, WINEDEBUG="-all",
                                             WINEDLLOVERRIDES="mscoree,mshtml="))

    def command(self):
        return self.launcher + [self.path]

    def pid(self):
        """The program's own process, however Wine started it: where the
        `wine` launcher is the 32-bit loader, a 64-bit program runs as a
        separate process started by start.exe, and the launcher's process
        is not the program. It is the one process of this prefix that runs
        the program's file; None when there is none (yet, or any more)."""
        if not self.running():
            return None
        found = processes_running(self.path, "WINEPREFIX", self.prefix)
        return found[0] if found else None

    def prepare(self):
        with open(self.log_path, "ab") as log:
            subprocess.run(self.launcher + ["wineboot", "-i"], env=self.environment(), stdout=log, stderr=log,
                           stdin=subprocess.DEVNULL, timeout=120, check=True)
            if self.windows_version:
                # What GetVersionEx reports and which manifest compatibility entries apply.
                subprocess.run(self.launcher + ["winecfg", "-v", self.windows_version], env=self.environment(),
                               stdout=log, stderr=log, stdin=subprocess.DEVNULL, timeout=120, check=True)

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
