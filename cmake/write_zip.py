#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' contents, names and modes.

  write_zip.py OUTPUT EPOCH FOLDER

Every entry of FOLDER (named from FOLDER's own name down, in sorted order)
gets EPOCH as its time and no extra fields: cmake -E tar would record each
file's access and change times, which differ from one build to the next."""

import os
import sys
import time
import zipfile


def main():
    output, epoch, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
    base = os.path.dirname(os.path.abspath(folder))
    paths = []
    for directory, subdirectories, names in os.walk(folder):
        subdirectories.sort()
        paths.append(directory)
        paths += [os.path.join(directory, name) for name in sorted(names)]
    with zipfile.ZipFile(output, "w") as archive:
        for path in paths:
            name = os.path.relpath(path, base).replace(os.sep, "/")
            mode = os.stat(path).st_mode
            if os.path.isdir(path):
                entry = zipfile.ZipInfo(name + "/", stamp)
                entry.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(entry, b"")
            else:
                entry = zipfile.ZipInfo(name, stamp)
                entry.external_attr = ((0o100755 if mode & 0o111 else 0o100644) << 16)
                entry.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    archive.writestr(entry, f.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main())
