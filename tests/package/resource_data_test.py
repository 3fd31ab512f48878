#!/usr/bin/env python3
"""The resource data checks against the real region block and manifest, and
against copies damaged the ways that matter: each damage must be named.

  resource_data_test.py --source DIR --version V"""

import argparse
import os
import re
import struct
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree free of caches

SOURCE = None
VERSION = None


def load_checker():
    sys.path.insert(0, os.path.join(SOURCE, "cmake"))
    import check_resource_data
    return check_resource_data


def region_block():
    with open(os.path.join(SOURCE, "res", "region.bin"), "rb") as f:
        return f.read()


def with_field(data, offset, value, form="<I"):
    return data[:offset] + struct.pack(form, value) + data[offset + struct.calcsize(form):]


def manifest(architecture):
    """The manifest as the build configures it."""
    with open(os.path.join(SOURCE, "res", "brisko.manifest.in"), encoding="utf-8") as f:
        text = f.read()
    text = text.replace("@BRISKO_VERSION_QUAD@", VERSION + ".0").replace("@BRISKO_MANIFEST_ARCHITECTURE@", architecture)
    return text.encode("utf-8")


class RegionBlockTest(unittest.TestCase):
    def setUp(self):
        self.checker = load_checker()
        self.block = region_block()

    def test_the_shipped_block_is_accepted(self):
        self.assertEqual(self.checker.region_problems(self.block), [])

    def test_each_damage_is_named(self):
        count = struct.unpack_from("<I", self.block, 8)[0]
        last_rectangle = 32 + (count - 1) * 16
        cases = [
            ("one rectangle short of the count", self.block[:-16], r"nCount 64 needs 1056 bytes, the block has 1040"),
            ("a count one too high", with_field(self.block, 8, count + 1), r"nCount 65 needs 1072 bytes"),
            ("a count one too low", with_field(self.block, 8, count - 1), r"nCount 63 needs 1040 bytes"),
            ("cut inside the header", self.block[:20], r"shorter than the 32-byte RGNDATAHEADER"),
            ("a header of another size", with_field(self.block, 0, 40), r"dwSize is 40, not 32"),
            ("not rectangles", with_field(self.block, 4, 2), r"iType is 2, not RDH_RECTANGLES"),
            ("nRgnSize off by one rectangle", with_field(self.block, 12, 1008), r"nRgnSize is 1008"),
            ("bounds that miss the right column", with_field(self.block, 24, 298, "<i"), r"outside the bounds"),
            ("bounds that miss the top row", with_field(self.block, 20, 24, "<i"), r"outside the bounds"),
            ("an empty rectangle", with_field(self.block, last_rectangle + 8, 27, "<i"), r"rectangle 63 .* is empty"),
            ("no rectangles at all", with_field(self.block[:32], 8, 0), r"no rectangles"),
        ]
        for name, damaged, expected in cases:
            with self.subTest(name):
                problems = self.checker.region_problems(damaged)
                self.assertTrue(any(re.search(expected, p) for p in problems),
                                "%s: %r names no %r" % (name, problems, expected))


class ManifestTest(unittest.TestCase):
    def setUp(self):
        self.checker = load_checker()

    def problems(self, data, architecture="x86"):
        return self.checker.manifest_problems(data, VERSION, architecture)

    def test_the_configured_manifest_is_accepted(self):
        for architecture in ("x86", "amd64"):
            with self.subTest(architecture):
                self.assertEqual(self.problems(manifest(architecture), architecture), [])

    def test_each_damage_is_named(self):
        good = manifest("x86").decode("utf-8")
        cases = [
            ("cut short", good[:len(good) // 2], r"not well-formed XML"),
            ("an elevated level", good.replace('"asInvoker"', '"requireAdministrator"'), r"asInvoker"),
            ("no Windows 8.1", re.sub(r"<supportedOS Id=\"\{1f676c76[^>]*>", "", good), r"Windows 8\.1"),
            ("no Windows 10", re.sub(r"<supportedOS Id=\"\{8e0f7a12[^>]*>", "", good), r"Windows 10 and 11"),
            ("a mistyped GUID", good.replace("{e2011457-1546", "{e2011457-1547"), r"unknown supportedOS"),
            ("DPI aware", good.replace(">false</dpiAware>", ">true</dpiAware>"), r"dpiAware false"),
            ("per-monitor aware", good.replace(">unaware<", ">permonitorv2<"), r"dpiAwareness unaware"),
            ("Common Controls 5", good.replace('version="6.0.0.0"', 'version="5.82.0.0"'), r"Common Controls 6"),
            ("another version", good.replace(VERSION + ".0", "0.9.0.0"), r"assemblyIdentity's version"),
            ("settings in the wrong namespace", good.replace("SMI/2005", "SMI/2006"), r"dpiAware false"),
            ("not a manifest", "<?xml version='1.0'?><assembly/>", r"not an asm.v1 assembly"),
        ]
        for name, damaged, expected in cases:
            with self.subTest(name):
                problems = self.problems(damaged.encode("utf-8"))
                self.assertTrue(any(re.search(expected, p) for p in problems),
                                "%s: %r names no %r" % (name, problems, expected))

    def test_the_other_processor_is_named(self):
        problems = self.problems(manifest("x86"), "amd64")
        self.assertTrue(any("processorArchitecture" in p for p in problems), problems)


def main():
    global SOURCE, VERSION
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--version", required=True)
    args, rest = parser.parse_known_args()
    SOURCE, VERSION = args.source, args.version
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
