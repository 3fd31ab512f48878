#!/usr/bin/env python3
"""The web page's files, each compressed with gzip as a web server would
send them, and their sum; fails when the sum is over the limit.

  page_size.py DIR [--limit BYTES]"""

import argparse
import gzip
import os
import sys

DEFAULT_LIMIT = 400 * 1024


def compressed_sizes(folder):
    sizes = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                data = f.read()
            sizes[name] = (len(data), len(gzip.compress(data, 9)))
    return sizes


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--limit", type=int, default=DEFAULT_LIMIT, help="bytes, compressed (default 400 KiB)")
    args = parser.parse_args()
    sizes = compressed_sizes(args.folder)
    if "index.html" not in sizes:
        print("FAIL: no index.html in %s" % args.folder)
        return 1
    for name, (plain, packed) in sizes.items():
        print("%-12s %9d bytes, %8d gzip-compressed" % (name, plain, packed))
    total = sum(packed for _, packed in sizes.values())
    print("%-12s %9d bytes, %8d gzip-compressed (limit %d)" % (
        "all", sum(plain for plain, _ in sizes.values()), total, args.limit))
    if total > args.limit:
        print("FAIL: the page's files come to %d bytes compressed, over %d" % (total, args.limit))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
