#!/usr/bin/env python3
"""Checks the contents of two resources that no compiler looks into.

  check_resource_data.py region FILE
  check_resource_data.py program RES --region-id N --version V --architecture x86|amd64

region: FILE (res/region.bin) is a region block Windows' ExtCreateRegion
accepts. Windows refuses a block shorter than its header's rectangle count
needs, where Wine shapes the window anyway: a damaged block would give a
rectangular window on Windows only.
program: RES is the program's resources as `windres -O res` writes them; its
region block passes the same check, and its application manifest is
well-formed XML that states what Windows must read from it."""

import argparse
import struct
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # keep the source tree free of caches

RGNDATAHEADER_SIZE = 32
RDH_RECTANGLES = 1
RECT_SIZE = 16
RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
                   "publicKeyToken": "6595b64144ccf1df"}


def region_problems(data):
    """What would make Windows refuse the block, or shape the window otherwise than it says."""
    if len(data) < RGNDATAHEADER_SIZE:
        return ["%d bytes, shorter than the %d-byte RGNDATAHEADER" % (len(data), RGNDATAHEADER_SIZE)]
    size, kind, count, rectangles_size = struct.unpack_from("<4I", data, 0)
    bounds = struct.unpack_from("<4i", data, 16)
    problems = []
    if size != RGNDATAHEADER_SIZE:
        problems.append("dwSize is %d, not %d" % (size, RGNDATAHEADER_SIZE))
    if kind != RDH_RECTANGLES:
        problems.append("iType is %d, not RDH_RECTANGLES" % kind)
    needed = RGNDATAHEADER_SIZE + count * RECT_SIZE
    if len(data) != needed:
        problems.append("nCount %d needs %d bytes, the block has %d" % (count, needed, len(data)))
    if rectangles_size != count * RECT_SIZE:
        problems.append("nRgnSize is %d, %d rectangles take %d" % (rectangles_size, count, count * RECT_SIZE))
    if count == 0:
        problems.append("no rectangles")
    left, top, right, bottom = bounds
    whole = min(count, (len(data) - RGNDATAHEADER_SIZE) // RECT_SIZE)
    for index in range(whole):
        rect = struct.unpack_from("<4i", data, RGNDATAHEADER_SIZE + index * RECT_SIZE)
        if rect[0] >= rect[2] or rect[1] >= rect[3]:
            problems.append("rectangle %d %s is empty" % (index, rect))
        elif rect[0] < left or rect[1] < top or rect[2] > right or rect[3] > bottom:
            problems.append("rectangle %d %s lies outside the bounds %s" % (index, rect, bounds))
    return problems


def element(parent, namespace, path):
    return parent.find("/".join("{%s}%s" % (namespace, name) for name in path.split("/")))


def manifest_problems(data, version, architecture):
    """The manifest as Windows reads it: well-formed, and naming each choice the program makes."""
    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        return ["the manifest is not well-formed XML: %s" % error]
    if root.tag != "{%s}assembly" % ASM_V1 or root.get("manifestVersion") != "1.0":
        return ["the manifest's root is %s, not an asm.v1 assembly of manifestVersion 1.0" % root.tag]
    problems = []
    identity = element(root, ASM_V1, "assemblyIdentity")
    wanted_identity = {"type": "win32", "version": version + ".0", "processorArchitecture": architecture}
    if identity is None:
        problems.append("the manifest has no assemblyIdentity")
    else:
        for name, wanted in wanted_identity.items():
            if identity.get(name) != wanted:
                problems.append("assemblyIdentity's %s is %r, expected %r" % (name, identity.get(name), wanted))

    level = element(root, ASM_V3, "trustInfo/security/requestedPrivileges/requestedExecutionLevel")
    if level is None or level.get("level") != "asInvoker" or level.get("uiAccess", "false") != "false":
        problems.append("the manifest does not request the asInvoker execution level")

    application = element(root, COMPATIBILITY, "compatibility/application")
    stated = set() if application is None else {
        os.get("Id", "").lower() for os in application.findall("{%s}supportedOS" % COMPATIBILITY)}
    for guid, name in SUPPORTED_OS.items():
        if guid not in stated:
            problems.append("the manifest does not name Windows %s as supported" % name)
    for unknown in sorted(stated - set(SUPPORTED_OS)):
        problems.append("the manifest names an unknown supportedOS %s" % unknown)

    settings = element(root, ASM_V3, "application/windowsSettings")
    aware = None if settings is None else settings.find("{%s}dpiAware" % SETTINGS_2005)
    awareness = None if settings is None else settings.find("{%s}dpiAwareness" % SETTINGS_2016)
    if aware is None or (aware.text or "").strip().lower() != "false":
        problems.append("the manifest does not state dpiAware false")
    if awareness is None or (awareness.text or "").strip().lower() != "unaware":
        problems.append("the manifest does not state dpiAwareness unaware")

    dependencies = root.findall("{%s}dependency/{%s}dependentAssembly/{%s}assemblyIdentity" % (ASM_V1, ASM_V1, ASM_V1))
    if not any(all(d.get(k) == v for k, v in COMMON_CONTROLS.items()) for d in dependencies):
        problems.append("the manifest does not depend on Common Controls 6.0.0.0")
    return problems


def read_name(data, at):
    """A type or name field of a .res header: an ordinal (0xFFFF, number) or a NUL-ended UTF-16 string."""
    if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def read_res(path):
    """(type, name) -> bytes for every resource in a .res file."""
    with open(path, "rb") as f:
        data = f.read()
    resources = {}
    at = 0
    while at + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, at)
        kind, after = read_name(data, at + 8)
        name, _ = read_name(data, after)
        start = at + header_size
        if data_size or kind != 0:  # the file begins with an empty entry
            resources[(kind, name)] = data[start:start + data_size]
        at = (start + data_size + 3) & ~3
    return resources


def check_program(args):
    resources = read_res(args.res)
    problems = []
    region = resources.get(("BINARY", args.region_id))
    if region is None:
        problems.append("no BINARY resource %d (the region)" % args.region_id)
    else:
        problems += ["the region: " + p for p in region_problems(region)]
    manifests = [name for kind, name in resources if kind == RT_MANIFEST]
    if manifests != [CREATEPROCESS_MANIFEST_RESOURCE_ID]:
        problems.append("RT_MANIFEST resources %s, expected exactly %d" % (manifests, CREATEPROCESS_MANIFEST_RESOURCE_ID))
    else:
        problems += manifest_problems(resources[(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)],
                                      args.version, args.architecture)
    return problems, "a region block Windows accepts and a manifest that states all it must"


def check_region(args):
    with open(args.file, "rb") as f:
        return region_problems(f.read()), "a region block Windows accepts"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    region = commands.add_parser("region")
    region.add_argument("file")
    program = commands.add_parser("program")
    program.add_argument("res")
    program.add_argument("--region-id", type=int, required=True)
    program.add_argument("--version", required=True)
    program.add_argument("--architecture", choices=["x86", "amd64"], required=True)
    args = parser.parse_args()
    problems, summary = {"region": check_region, "program": check_program}[args.command](args)
    subject = args.file if args.command == "region" else args.res
    if problems:
        print("FAIL: %s:\n  %s" % (subject, "\n  ".join(problems)))
        return 1
    print("%s: %s" % (subject, summary))
    return 0


if __name__ == "__main__":
    sys.exit(main())
