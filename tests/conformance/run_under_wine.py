#!/usr/bin/env python3
"""Runs the Windows build of the conformance suite under Wine, in a fresh
prefix of its own with no display (Wine's null graphics driver), and passes
on its report and exit code.

  run_under_wine.py PROGRAM.exe [GROUP ...]

The 64-bit program runs under Wine's 64-bit loader directly, the 32-bit one
under the `wine` launcher. Where the kernel cannot run 32-bit programs, the
32-bit run exits with 77 (a skip), saying why. The prefix's wineserver is
waited for after the prefix is made and ended afterwards."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "display"))
import probe32  # noqa: E402

SKIPPED = 77
WINE64_LOADER = "/usr/lib/wine/wine64"
RUN_TIMEOUT = 180


def program_bits(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise SystemExit("%s is not a Windows program" % path)
    return {0x14C: 32, 0x8664: 64}[struct.unpack_from("<H", data, pe + 4)[0]]


class Prefix:
    def __init__(self, bits):
        self.temp = tempfile.TemporaryDirectory(prefix="brisko-conformance-wine-")
        self.launcher = [WINE64_LOADER] if bits == 64 else ["wine"]
        self.variables = dict(os.environ, WINEPREFIX=os.path.join(self.temp.name, "prefix"), WINEDEBUG="-all",
                              WINEDLLOVERRIDES="mscoree,mshtml=")
        # No display: whatever the caller has, Wine must not find one.
        self.variables.pop("DISPLAY", None)
        self.variables.pop("WAYLAND_DISPLAY", None)
        if bits == 64:
            self.variables["WINELOADER"] = WINE64_LOADER

    def wine(self, *arguments, timeout=120):
        return subprocess.run(self.launcher + list(arguments), env=self.variables, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=timeout)

    def wineserver(self, flag):
        subprocess.run(["wineserver", flag], env=self.variables, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def make(self):
        self.wine("wineboot", "-i")
        self.wineserver("-w")
        # The null driver: windows exist and get their messages, nothing is shown.
        self.wine("reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Graphics", "/d", "null", "/f")
        # A crash ends the run instead of waiting on a dialog.
        self.wine("reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                  "/d", "0", "/f")
        self.wineserver("-w")

    def close(self):
        self.wineserver("-k")
        self.wineserver("-w")
        self.temp.cleanup()


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    program = os.path.abspath(sys.argv[1])
    bits = program_bits(program)
    if bits == 32:
        refused = probe32.why_32bit_programs_cannot_run()
        if refused:
            print("SKIP: the 32-bit conformance suite needs 32-bit Wine, and %s" % refused)
            return SKIPPED
    needed = [WINE64_LOADER if bits == 64 else "wine", "wineserver"]
    missing = [tool for tool in needed if not shutil.which(tool)]
    if missing:
        print("FAILED: not installed: %s" % ", ".join(missing))
        return 1
    prefix = Prefix(bits)
    try:
        prefix.make()
        try:
            run = prefix.wine(program, *sys.argv[2:], timeout=RUN_TIMEOUT)
        except subprocess.TimeoutExpired as expired:
            sys.stdout.write((expired.stdout or b"").decode(errors="replace"))
            print("FAILED: the suite did not end within %d s" % RUN_TIMEOUT)
            return 1
        sys.stdout.write(run.stdout.decode(errors="replace"))
        errors = run.stderr.decode(errors="replace").strip()
        if errors:
            print("(Wine's own output)\n" + errors)
        return run.returncode
    finally:
        prefix.close()


if __name__ == "__main__":
    sys.exit(main())
