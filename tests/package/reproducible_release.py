#!/usr/bin/env python3
"""Builds the release twice from this revision and compares the two byte for byte.

  reproducible_release.py --source DIR --scratch DIR --cmake CMAKE [--jobs N]

Each round starts from an empty build folder (the same path both times, as
two runs of make dist use) and runs cmake/Release.cmake, building only what
is packaged. Every release file must be there and identical in both rounds,
and SHA256SUMS must hold for the files it names."""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

EXPECTED = ["SHA256SUMS", "brisko.json", "winget/Brisko.Brisko.yaml", "winget/Brisko.Brisko.installer.yaml",
            "winget/Brisko.Brisko.locale.en-US.yaml"]


def release_files(folder):
    found = {}
    for directory, _subdirectories, names in os.walk(folder):
        for name in names:
            path = os.path.join(directory, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return found


def build_release(args, dist):
    build_root = os.path.join(args.scratch, "build")
    shutil.rmtree(build_root, ignore_errors=True)
    env = {k: v for k, v in os.environ.items() if k != "DESTDIR"}
    result = subprocess.run([args.cmake, "-DSOURCE=" + args.source, "-DBUILD_ROOT=" + build_root, "-DDIST=" + dist,
                             "-DJOBS=%d" % args.jobs, "-DPRODUCT_ONLY=ON", "-P",
                             os.path.join(args.source, "cmake", "Release.cmake")],
                            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        print(result.stdout)
        raise SystemExit("FAIL: the release build into %s failed" % dist)
    return release_files(dist)


def check_sums(dist, files):
    listed = {}
    with open(os.path.join(dist, "SHA256SUMS"), encoding="ascii") as f:
        for line in f:
            digest, name = line.rstrip("\n").split("  ", 1)
            listed[name] = digest
    downloads = {name for name in files if "/" not in name and name.endswith((".zip", ".deb"))}
    problems = []
    if set(listed) != downloads:
        problems.append("SHA256SUMS names %s, the downloads are %s" % (sorted(listed), sorted(downloads)))
    problems += ["SHA256SUMS gives %s for %s, which is %s" % (digest, name, files.get(name))
                 for name, digest in listed.items() if files.get(name) != digest]
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--scratch", required=True)
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.scratch, ignore_errors=True)
    rounds = [build_release(args, os.path.join(args.scratch, name)) for name in ("first", "second")]

    architecture = subprocess.run(["dpkg", "--print-architecture"], check=True, capture_output=True,
                                  text=True).stdout.strip()
    expected = EXPECTED + ["brisko-%s-windows-x86.zip" % args.version,
                           "brisko-%s-windows-x86-symbols.zip" % args.version,
                           "brisko_%s_%s.deb" % (args.version, architecture)]
    problems = []
    for name, files in zip(("first", "second"), rounds):
        missing = sorted(set(expected) - set(files))
        if missing:
            problems.append("the %s round wrote no %s" % (name, ", ".join(missing)))
        problems += ["the %s round: %s" % (name, p) for p in check_sums(os.path.join(args.scratch, name), files)]
    first, second = rounds
    for name in sorted(set(first) | set(second)):
        print("%s  %s  %s" % (first.get(name, "-" * 64), second.get(name, "-" * 64), name))
        if first.get(name) != second.get(name):
            problems.append("%s differs between the two rounds" % name)
    if problems:
        raise SystemExit("FAIL:\n  " + "\n  ".join(problems))
    print("both rounds wrote the same %d files" % len(first))
    shutil.rmtree(os.path.join(args.scratch, "build"), ignore_errors=True)


if __name__ == "__main__":
    main()
