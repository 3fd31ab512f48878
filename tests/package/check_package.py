#!/usr/bin/env python3
"""Checks of what a release ships, each on a package CPack has just built.

  check_package.py zip --package ZIP --source DIR --version V --cmake CMAKE
                   --objdump OBJDUMP --windres WINDRES --pe-format FORMAT
  check_package.py symbols --package-dir DIR --zip-name NAME --version V --objdump OBJDUMP --addr2line ADDR2LINE
  check_package.py deb --package-dir DIR --source DIR --version V
  check_package.py lintian --package-dir DIR --version V
  check_package.py deb-starts --package-dir DIR --version V --source DIR --artifacts DIR

zip: the Windows zip holds brisko.exe, README.txt and LICENSE.txt in one
folder named after it; the texts have Windows line endings, and the program
is the GUI build of the expected format, with its icon and version.
symbols: the symbols zip beside it holds the same program unstripped, its
sections where the shipped one has them, and addr2line names an address.
deb: the Debian package's control fields (its Depends exactly what
dpkg-shlibdeps computes for the program), its file list, desktop entry,
icons, manual page and copyright. lintian: no errors and no warnings.
deb-starts: the package's program, unpacked into a scratch folder, passes
the display test's start-up scenario."""

import argparse
import glob
import gzip
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

sys.dont_write_bytecode = True  # keep the source tree free of caches

COPYRIGHT_FORMAT = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
NO_DISPLAY_EXIT_CODE = 1


class CheckFailed(Exception):
    pass


def require(condition, message):
    if not condition:
        raise CheckFailed(message)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL, **kwargs)


def licence_text(source):
    with open(os.path.join(source, "LICENSE"), encoding="utf-8") as f:
        return f.read()


# The Windows zip.

def check_windows_text(name, data):
    text = data.decode("utf-8")
    require("\r\n" in text and "\n" not in text.replace("\r\n", ""),
            "%s has line endings other than CRLF" % name)
    return text.replace("\r\n", "\n")


def check_zip(args):
    folder = os.path.basename(args.package)[:-len(".zip")]
    require(folder == "brisko-%s-windows-%s" % (args.version, "x86" if args.pe_format == "pei-i386" else "x64"),
            "the zip is named %s" % os.path.basename(args.package))
    with zipfile.ZipFile(args.package) as archive:
        files = {info.filename: info for info in archive.infolist() if not info.is_dir()}
        wanted = {folder + "/" + name for name in ("brisko.exe", "README.txt", "LICENSE.txt")}
        require(set(files) == wanted, "the zip holds %s, expected %s" % (sorted(files), sorted(wanted)))
        readme = check_windows_text("README.txt", archive.read(folder + "/README.txt"))
        licence = check_windows_text("LICENSE.txt", archive.read(folder + "/LICENSE.txt"))
        with tempfile.TemporaryDirectory(prefix="brisko-zip-") as scratch:
            program = archive.extract(folder + "/brisko.exe", scratch)
            check_windows_program(args, program)
    require(licence == licence_text(args.source), "LICENSE.txt is not the project's LICENSE")
    for needed in ("Brisko %s for Windows" % args.version, "double-click brisko.exe", "needs nothing else",
                   "LICENSE.txt", "SmartScreen", "Run anyway", "Alt+F4", "SHA256SUMS", "not yet on Windows itself",
                   "Get-FileHash %s.zip" % folder, "150 %"):
        require(needed in readme, "README.txt does not say %r" % needed)
    print("the zip holds brisko.exe (%s), README.txt and LICENSE.txt with CRLF line endings" % args.pe_format)


def check_windows_program(args, program):
    for script, options in (
            ("CheckWindowsProgram.cmake", ["-DOBJDUMP=" + args.objdump, "-DEXPECTED_FORMAT=" + args.pe_format]),
            ("CheckWindowsResources.cmake", ["-DWINDRES=" + args.windres, "-DVERSION=" + args.version,
                                             "-DPYTHON=" + sys.executable,
                                             "-DARCHITECTURE=" + ("x86" if args.pe_format == "pei-i386" else "amd64"),
                                             "-DRESOURCE_HEADER=" + os.path.join(args.source, "res", "resource.h"),
                                             "-DICON=" + os.path.join(args.source, "res", "brisko.ico")])):
        result = run([args.cmake, "-DPROGRAM=" + program] + options +
                     ["-P", os.path.join(args.source, "cmake", script)])
        require(result.returncode == 0, "the zip's brisko.exe fails %s:\n%s" % (script, result.stderr.strip()))


# The symbols zip beside it.

def pe_sections(data):
    """name -> (virtual address, raw bytes) of each section of a PE file."""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    require(data[header:header + 4] == b"PE\0\0", "not a PE file")
    count, = struct.unpack_from("<H", data, header + 6)
    symbol_table, symbol_count = struct.unpack_from("<II", data, header + 12)
    optional_size, = struct.unpack_from("<H", data, header + 20)
    table = header + 24 + optional_size
    sections = {}
    for index in range(count):
        entry = table + 40 * index
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/"):  # a long name, "/offset" into the string table after the symbols
            start = symbol_table + 18 * symbol_count + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
        virtual_address, raw_size, raw_offset = struct.unpack_from("<III", data, entry + 12)
        sections[name] = (virtual_address, data[raw_offset:raw_offset + raw_size])
    return sections


def check_symbols(args):
    """The symbols zip holds the program as linked: the shipped one's sections at the same
    addresses, plus what names an address (function, file and line)."""
    folder = args.zip_name + "-symbols"
    with zipfile.ZipFile(os.path.join(args.package_dir, folder + ".zip")) as archive:
        files = [name for name in archive.namelist() if not name.endswith("/")]
        require(files == [folder + "/brisko.exe"], "the symbols zip holds %s" % files)
        unstripped = archive.read(folder + "/brisko.exe")
    with zipfile.ZipFile(os.path.join(args.package_dir, args.zip_name + ".zip")) as archive:
        shipped = archive.read(args.zip_name + "/brisko.exe")
    full, stripped = pe_sections(unstripped), pe_sections(shipped)
    for name, (address, contents) in stripped.items():
        require(name in full, "the unstripped program has no section %s" % name)
        require(full[name][0] == address, "section %s is at 0x%x in the shipped program, 0x%x in the symbols zip" % (
            name, address, full[name][0]))
        require(full[name][1] == contents, "section %s differs between the shipped program and the symbols zip" % name)
    require(not any(name.startswith(".debug") for name in stripped), "the shipped program keeps its debug sections")
    require(".debug_line" in full, "the symbols zip's program has no line table")
    with tempfile.TemporaryDirectory(prefix="brisko-symbols-") as scratch:
        program = os.path.join(scratch, "brisko.exe")
        with open(program, "wb") as f:
            f.write(unstripped)
        nm = args.objdump.replace("objdump", "nm")
        symbols = run([nm, program], check=True).stdout
        entry = re.search(r"^([0-9a-f]+) T _?WinMain(@16)?$", symbols, re.M)
        require(entry is not None, "the symbols zip's program does not name WinMain")
        # A crash report gives an address a little way into a function.
        address = "0x%x" % (int(entry.group(1), 16) + 0x10)
        named = run([args.addr2line, "-f", "-C", "-e", program, address], check=True).stdout.split("\n")
    require(named[0].startswith("WinMain") and re.search(r"app/WinMain\.cpp:\d+$", named[1]),
            "addr2line names %s as %r" % (address, named[:2]))
    print("%s.zip: the program as linked, %d sections as shipped, %s is %s at %s" % (
        folder, len(stripped), address, named[0], os.path.basename(named[1])))


# The Debian package.

def find_deb(args):
    architecture = run(["dpkg", "--print-architecture"], check=True).stdout.strip()
    path = os.path.join(args.package_dir, "brisko_%s_%s.deb" % (args.version, architecture))
    require(os.path.exists(path), "no package %s (there is %s)" % (
        path, ", ".join(os.path.basename(p) for p in glob.glob(os.path.join(args.package_dir, "*.deb"))) or "none"))
    return path, architecture


def control_fields(deb):
    fields = {}
    name = None
    for line in run(["dpkg-deb", "--field", deb], check=True).stdout.splitlines():
        if line.startswith(" ") and name:
            fields[name] += "\n" + line
        elif ":" in line:
            name, value = line.split(":", 1)
            fields[name] = value.strip()
    return fields


def computed_depends(program):
    """What dpkg-shlibdeps makes of the program, run the way a package build runs it."""
    with tempfile.TemporaryDirectory(prefix="brisko-shlibdeps-") as scratch:
        os.makedirs(os.path.join(scratch, "debian"))
        with open(os.path.join(scratch, "debian", "control"), "w") as control:
            control.write("Source: brisko\n\nPackage: brisko\nArchitecture: any\n")
        result = run(["dpkg-shlibdeps", "-O", program], cwd=scratch)
    require(result.returncode == 0, "dpkg-shlibdeps failed:\n" + result.stderr.strip())
    match = re.search(r"^shlibs:Depends=(.*)$", result.stdout, re.M)
    require(match is not None, "dpkg-shlibdeps printed no Depends: %r" % result.stdout)
    return match.group(1).strip()


def icon_sizes(source):
    names = glob.glob(os.path.join(source, "res", "icon-*.png"))
    return sorted(int(re.match(r"icon-(\d+)\.png$", os.path.basename(name)).group(1)) for name in names)


def expected_files(source):
    files = {
        "usr/bin/brisko": 0o755,
        "usr/share/applications/brisko.desktop": 0o644,
        "usr/share/man/man1/brisko.1.gz": 0o644,
        "usr/share/doc/brisko/copyright": 0o644,
        "usr/share/doc/brisko/changelog.gz": 0o644,
    }
    for size in icon_sizes(source):
        files["usr/share/icons/hicolor/%dx%d/apps/brisko.png" % (size, size)] = 0o644
    return files


def packaged_files(deb):
    """Path -> mode of every entry that is not a directory; every entry must be root's."""
    files = {}
    for line in run(["dpkg-deb", "--contents", deb], check=True).stdout.splitlines():
        mode, owner, _size, _date, _time, path = line.split(None, 5)
        require(owner == "root/root", "%s belongs to %s" % (path, owner))
        if mode.startswith("d"):
            require(mode == "drwxr-xr-x", "directory %s has mode %s" % (path, mode))
            continue
        bits = 0
        for i, flag in enumerate(mode[1:]):
            if flag != "-":
                bits |= 1 << (8 - i)
        files[path[2:] if path.startswith("./") else path] = bits
    return files


def check_control(deb, architecture, version):
    fields = control_fields(deb)
    for name, wanted in (("Package", "brisko"), ("Version", version), ("Architecture", architecture)):
        require(fields.get(name) == wanted, "control field %s is %r, expected %r" % (name, fields.get(name), wanted))
    for name in ("Maintainer", "Section", "Priority", "Description"):
        require(fields.get(name), "control field %s is missing" % name)
    require("\n" in fields["Description"], "the description has no long text below its synopsis")
    return fields


def check_desktop_entry(root):
    path = os.path.join(root, "usr/share/applications/brisko.desktop")
    result = run(["desktop-file-validate", path])
    require(result.returncode == 0 and not result.stdout.strip(),
            "desktop-file-validate: %s" % (result.stdout + result.stderr).strip())
    entry = dict(line.split("=", 1) for line in open(path, encoding="utf-8").read().splitlines() if "=" in line)
    require(entry.get("Type") == "Application", "the desktop entry is not an application")
    require(os.path.exists(os.path.join(root, "usr/bin", entry.get("Exec", "").split()[0])),
            "the desktop entry runs %r, which the package does not install in /usr/bin" % entry.get("Exec"))
    require(entry.get("Icon") == "brisko", "the desktop entry's icon is %r" % entry.get("Icon"))


def png_pixel_rows(path):
    """Width, height, colour type, and the image data as zlib inflates it."""
    with open(path, "rb") as f:
        data = f.read()
    require(data[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % path)
    width, height, _depth, colour_type = struct.unpack(">IIBB", data[16:26])
    compressed, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            compressed += data[at + 8:at + 8 + length]
        at += 12 + length
    return width, height, colour_type, zlib.decompress(compressed)


def check_icons(root, sizes):
    for size in sizes:
        path = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/brisko.png" % (size, size))
        width, height, colour_type, rows = png_pixel_rows(path)
        require((width, height) == (size, size), "%s is %dx%d" % (path, width, height))
        require(colour_type == 6, "%s has no alpha channel" % path)
        require(len(rows) == height * (1 + 4 * width), "%s inflates to %d bytes" % (path, len(rows)))


def check_manual(root, version):
    path = os.path.join(root, "usr/share/man/man1/brisko.1.gz")
    with gzip.open(path, "rb") as f:
        source = f.read().decode("utf-8")
    with open(path, "rb") as f:
        require(f.read(8)[4:8] == b"\0\0\0\0", "the manual page's gzip header carries a time stamp")
    rendered = run(["man", "--warnings", "-E", "UTF-8", "-l", path], env=dict(os.environ, MANWIDTH="80"))
    require(rendered.returncode == 0, "man cannot show the page: %s" % rendered.stderr.strip())
    require(not rendered.stderr.strip(), "man warns about the page:\n" + rendered.stderr.strip())
    text = rendered.stdout
    for needed in ("brisko - the skinned front end of a music disk", "Brisko %s" % version, "EXIT STATUS",
                   "DIAGNOSTICS", "close", "volume"):
        require(needed in text, "the manual page does not say %r" % needed)
    return text


def check_no_display_text(root, manual):
    """The page quotes what the program prints without a display, and the status it ends with."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    result = run([os.path.join(root, "usr/bin/brisko")], env=env, timeout=30)
    said = result.stderr.strip()
    require(result.returncode == NO_DISPLAY_EXIT_CODE, "without a display the program exits with %d, not %d" % (
        result.returncode, NO_DISPLAY_EXIT_CODE))
    prefix = said.split("(")[0].strip()
    require(prefix and prefix in manual, "the manual page does not quote %r (from %r)" % (prefix, said))
    require(re.search(r"^\s*%d\s+The window could not be opened" % NO_DISPLAY_EXIT_CODE, manual, re.M),
            "the manual page does not give %d as the status without a window" % NO_DISPLAY_EXIT_CODE)


def check_copyright(root, source):
    with open(os.path.join(root, "usr/share/doc/brisko/copyright"), encoding="utf-8") as f:
        text = f.read()
    require(text.splitlines()[0] == COPYRIGHT_FORMAT, "the copyright file is not in the machine-readable format")
    require(re.search(r"^Copyright: 2026 The Brisko developers$", text, re.M), "the copyright file names no holder")
    stanza = re.search(r"^License: Expat\n((?: .*\n?)+)", text, re.M)
    require(stanza is not None, "the copyright file has no Expat licence text")
    body = "\n".join("" if line == " ." else line[1:] for line in stanza.group(1).splitlines())
    licence = licence_text(source)
    require(body.strip() in licence, "the copyright file's licence text is not the project's LICENSE")


def check_deb(args):
    deb, architecture = find_deb(args)
    fields = check_control(deb, architecture, args.version)
    files = packaged_files(deb)
    wanted = expected_files(args.source)
    require(files == wanted, "the package's files differ:\n  unexpected %s\n  missing %s\n  modes %s" % (
        sorted(set(files) - set(wanted)), sorted(set(wanted) - set(files)),
        sorted(p for p in files if p in wanted and files[p] != wanted[p])))
    with tempfile.TemporaryDirectory(prefix="brisko-deb-") as root:
        run(["dpkg-deb", "--extract", deb, root], check=True)
        depends = computed_depends(os.path.join(root, "usr/bin/brisko"))
        require(fields.get("Depends") == depends,
                "Depends is %r; dpkg-shlibdeps gives %r" % (fields.get("Depends"), depends))
        check_desktop_entry(root)
        check_icons(root, icon_sizes(args.source))
        manual = check_manual(root, args.version)
        check_no_display_text(root, manual)
        check_copyright(root, args.source)
    print("%s: %d files, Depends: %s" % (os.path.basename(deb), len(files), fields["Depends"]))


def check_lintian(args):
    deb, _ = find_deb(args)
    result = run(["lintian", "--display-info", "--pedantic", deb])
    tags = [line for line in result.stdout.splitlines() if re.match(r"^[EWIPX]: ", line)]
    for tag in tags:
        print(tag)
    serious = [tag for tag in tags if tag[0] in "EW"]
    require(result.returncode == 0 or not serious, "lintian failed:\n" + (result.stdout + result.stderr).strip())
    require(not serious, "lintian reports:\n  " + "\n  ".join(serious))
    print("lintian: no errors, no warnings (%d informational tags)" % len(tags))


def check_deb_starts(args):
    deb, _ = find_deb(args)
    with tempfile.TemporaryDirectory(prefix="brisko-unpacked-") as root:
        run(["dpkg-deb", "--extract", deb, root], check=True)
        result = subprocess.run([sys.executable, "-B", os.path.join(args.source, "tests/display/run_display_test.py"),
                                 "--program", os.path.join(root, "usr/bin/brisko"), "--res",
                                 os.path.join(args.source, "res"), "--artifacts", args.artifacts,
                                 "--scenario", "startup"], stdin=subprocess.DEVNULL)
    require(result.returncode == 0, "the unpacked program failed the start-up scenario")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("check", choices=["zip", "symbols", "deb", "lintian", "deb-starts"])
    parser.add_argument("--package", help="the zip")
    parser.add_argument("--package-dir", help="where the .deb is")
    parser.add_argument("--source", help="the source tree")
    parser.add_argument("--version", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--cmake")
    parser.add_argument("--objdump")
    parser.add_argument("--windres")
    parser.add_argument("--pe-format")
    parser.add_argument("--zip-name", help="the Windows zip's name, without .zip")
    parser.add_argument("--addr2line")
    return parser.parse_args()


def main():
    args = parse_arguments()
    checks = {"zip": check_zip, "symbols": check_symbols, "deb": check_deb, "lintian": check_lintian, "deb-starts": check_deb_starts}
    try:
        checks[args.check](args)
    except (CheckFailed, subprocess.CalledProcessError) as failure:
        print("FAIL: %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
