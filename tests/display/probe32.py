"""Whether this machine's kernel runs 32-bit x86 programs: a tiny static
ELF, written here byte by byte, that only exits with a known code."""

import os
import struct
import subprocess
import tempfile

LOAD_ADDRESS = 0x08048000
EXIT_CODE = 42
ELF_HEADER_SIZE = 52
PROGRAM_HEADER_SIZE = 32


def tiny_elf32():
    # mov ebx, 42; mov eax, 1 (exit); int 0x80
    code = b"\xbb" + struct.pack("<I", EXIT_CODE) + b"\xb8\x01\x00\x00\x00\xcd\x80"
    entry_offset = ELF_HEADER_SIZE + PROGRAM_HEADER_SIZE
    size = entry_offset + len(code)
    ident = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)  # 32-bit, little-endian, version 1, System V
    elf_header = ident + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, LOAD_ADDRESS + entry_offset, ELF_HEADER_SIZE, 0, 0,
                                     ELF_HEADER_SIZE, PROGRAM_HEADER_SIZE, 1, 0, 0, 0)  # executable, i386
    readable_executable = 5
    program_header = struct.pack("<IIIIIIII", 1, 0, LOAD_ADDRESS, LOAD_ADDRESS, size, size, readable_executable,
                                 0x1000)  # one loadable segment: the whole file
    return elf_header + program_header + code


def why_32bit_programs_cannot_run():
    """None when they run; otherwise what happened when one was started."""
    with tempfile.TemporaryDirectory(prefix="brisko-probe32-") as directory:
        path = os.path.join(directory, "exit42")
        with open(path, "wb") as out:
            out.write(tiny_elf32())
        os.chmod(path, 0o755)
        try:
            result = subprocess.run([path], stdin=subprocess.DEVNULL, capture_output=True, timeout=10)
        except OSError as error:
            return "a 32-bit x86 program cannot start: %s" % error
        if result.returncode != EXIT_CODE:
            return "a 32-bit x86 program that exits with %d ended with %d" % (EXIT_CODE, result.returncode)
        return None
