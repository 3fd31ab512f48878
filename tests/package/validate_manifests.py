#!/usr/bin/env python3
"""Checks the package-manager manifests make dist writes beside the Windows zip.

  validate_manifests.py check --package-dir DIR --version V --architecture x86|x64 --schemas DIR
  validate_manifests.py broken --package-dir DIR --version V --architecture x86|x64 --schemas DIR

check: the winget set (winget/*.yaml: version, installer, defaultLocale)
passes winget's published 1.10 schemas and Scoop's brisko.json passes
Scoop's, each naming only the fields its schema defines (winget refuses
others, and Scoop's schema forbids them); both name the project's version,
the zip's real SHA256 and an address ending in the zip's name, and the
program they point into is in the zip.
broken: copies of the manifests damaged the ways a release goes wrong (a
hash of the wrong length or of another file, an unknown key, a missing
field) must each be refused, with the damage named."""

import argparse
import copy
import datetime
import hashlib
import json
import os
import sys
import zipfile

import jsonschema
import yaml

sys.dont_write_bytecode = True  # keep the source tree free of caches

PACKAGE_IDENTIFIER = "Brisko.Brisko"
WINGET_FILES = {
    "version": PACKAGE_IDENTIFIER + ".yaml",
    "installer": PACKAGE_IDENTIFIER + ".installer.yaml",
    "defaultLocale": PACKAGE_IDENTIFIER + ".locale.en-US.yaml",
}
WINGET_SCHEMAS = {kind: "manifest.%s.1.10.0.json" % kind for kind in WINGET_FILES}
SCOOP_SCHEMA = "scoop-manifest.schema.json"


def load_json(path):
    with open(path, encoding="utf-8-sig") as f:  # winget's schemas begin with a byte-order mark
        return json.load(f)


def closed(schema):
    """The schema with every object that lists its properties closed to others, as winget reads manifests."""
    schema = copy.deepcopy(schema)

    def close(node):
        if isinstance(node, dict):
            if "properties" in node and "additionalProperties" not in node:
                node["additionalProperties"] = False
            for value in node.values():
                close(value)
        elif isinstance(node, list):
            for value in node:
                close(value)

    close(schema)
    return schema


def as_strings(value):
    """YAML reads 2026-12-11 as a date; winget reads every scalar as the text it is."""
    if isinstance(value, dict):
        return {key: as_strings(item) for key, item in value.items()}
    if isinstance(value, list):
        return [as_strings(item) for item in value]
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.isoformat()
    return value


def schema_errors(document, schema):
    validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    return ["%s: %s" % ("/".join(str(p) for p in error.absolute_path) or "(top)", error.message)
            for error in sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))]


class Release:
    """The zip and what the manifests must say about it."""

    def __init__(self, package_dir, version, architecture):
        self.version = version
        self.architecture = architecture
        self.zip_name = "brisko-%s-windows-%s.zip" % (version, architecture)
        path = os.path.join(package_dir, self.zip_name)
        with open(path, "rb") as f:
            self.sha256 = hashlib.sha256(f.read()).hexdigest()
        with zipfile.ZipFile(path) as archive:
            self.members = set(archive.namelist())


def winget_problems(manifests, schemas, release):
    problems = []
    for kind, document in manifests.items():
        problems += ["%s: %s" % (WINGET_FILES[kind], e) for e in schema_errors(document, closed(schemas[kind]))]
        for field, wanted in (("PackageIdentifier", PACKAGE_IDENTIFIER), ("PackageVersion", release.version),
                              ("ManifestType", kind), ("ManifestVersion", "1.10.0")):
            if document.get(field) != wanted:
                problems.append("%s: %s is %r, expected %r" % (WINGET_FILES[kind], field, document.get(field), wanted))
    installer = manifests["installer"]
    for entry in installer.get("Installers") or []:
        if str(entry.get("InstallerSha256", "")).lower() != release.sha256:
            problems.append("installer: InstallerSha256 %s is not the zip's %s" % (
                entry.get("InstallerSha256"), release.sha256.upper()))
        if entry.get("Architecture") != release.architecture:
            problems.append("installer: Architecture is %r, the zip's program is %s" % (
                entry.get("Architecture"), release.architecture))
        if not str(entry.get("InstallerUrl", "")).endswith("/" + release.zip_name):
            problems.append("installer: InstallerUrl %s does not end in %s" % (entry.get("InstallerUrl"), release.zip_name))
    if installer.get("InstallerType") != "zip" or installer.get("NestedInstallerType") != "portable":
        problems.append("installer: not a zip holding a portable program")
    for nested in installer.get("NestedInstallerFiles") or []:
        inside = str(nested.get("RelativeFilePath", "")).replace("\\", "/")
        if inside not in release.members:
            problems.append("installer: NestedInstallerFiles names %s, which the zip does not hold" % inside)
    return problems


def scoop_problems(manifest, schema, release):
    problems = ["brisko.json: %s" % e for e in schema_errors(manifest, schema)]
    if manifest.get("version") != release.version:
        problems.append("brisko.json: version is %r" % manifest.get("version"))
    if str(manifest.get("hash", "")).lower() != release.sha256:
        problems.append("brisko.json: hash %s is not the zip's %s" % (manifest.get("hash"), release.sha256))
    if not str(manifest.get("url", "")).endswith("/" + release.zip_name):
        problems.append("brisko.json: url %s does not end in %s" % (manifest.get("url"), release.zip_name))
    program = "%s/%s" % (manifest.get("extract_dir"), manifest.get("bin"))
    if program not in release.members:
        problems.append("brisko.json: extract_dir and bin name %s, which the zip does not hold" % program)
    return problems


def load_manifests(package_dir):
    winget = {}
    for kind, name in WINGET_FILES.items():
        with open(os.path.join(package_dir, "winget", name), encoding="utf-8") as f:
            winget[kind] = as_strings(yaml.safe_load(f))
    return winget, load_json(os.path.join(package_dir, "brisko.json"))


def load_schemas(folder):
    winget = {kind: load_json(os.path.join(folder, name)) for kind, name in WINGET_SCHEMAS.items()}
    return winget, load_json(os.path.join(folder, SCOOP_SCHEMA))


def check(args, release):
    winget, scoop = load_manifests(args.package_dir)
    winget_schemas, scoop_schema = load_schemas(args.schemas)
    problems = winget_problems(winget, winget_schemas, release) + scoop_problems(scoop, scoop_schema, release)
    if problems:
        raise SystemExit("FAIL:\n  " + "\n  ".join(problems))
    print("winget (version, installer, defaultLocale; schema 1.10.0) and Scoop manifests valid, "
          "naming %s with SHA256 %s" % (release.zip_name, release.sha256))


def damaged_copies(winget, scoop):
    """(what was damaged, which manifest, the damaged copy, a phrase the refusal must contain)."""
    other = hashlib.sha256(b"another file").hexdigest()

    def winget_with(change):
        damaged = copy.deepcopy(winget)
        change(damaged)
        return damaged

    def scoop_with(change):
        damaged = copy.deepcopy(scoop)
        change(damaged)
        return damaged

    def set_installer(field, value):
        return lambda m: m["installer"]["Installers"][0].__setitem__(field, value)

    return [
        ("a winget hash one digit short", "winget",
         winget_with(set_installer("InstallerSha256", winget["installer"]["Installers"][0]["InstallerSha256"][:-1])),
         "does not match"),
        ("a winget hash of another file", "winget", winget_with(set_installer("InstallerSha256", other.upper())),
         "is not the zip's"),
        ("an unknown winget installer key", "winget", winget_with(lambda m: m["installer"].__setitem__("InstallerKind", "zip")),
         "'InstallerKind' was unexpected"),
        ("an unknown key inside an installer", "winget", winget_with(set_installer("Sha256", other)),
         "'Sha256' was unexpected"),
        ("a winget locale without its licence", "winget", winget_with(lambda m: m["defaultLocale"].pop("License")),
         "'License' is a required property"),
        ("an unknown installer type", "winget", winget_with(lambda m: m["installer"].__setitem__("InstallerType", "archive")),
         "'archive' is not one of"),
        ("a Scoop hash that is not hexadecimal", "scoop", scoop_with(lambda m: m.__setitem__("hash", "z" * 64)),
         "hash"),
        ("a Scoop hash of another file", "scoop", scoop_with(lambda m: m.__setitem__("hash", other)), "is not the zip's"),
        ("an unknown Scoop key", "scoop", scoop_with(lambda m: m.__setitem__("binary", "brisko.exe")),
         "'binary' was unexpected"),
        ("a Scoop manifest without its homepage", "scoop", scoop_with(lambda m: m.pop("homepage")),
         "'homepage' is a required property"),
    ]


def broken(args, release):
    winget, scoop = load_manifests(args.package_dir)
    winget_schemas, scoop_schema = load_schemas(args.schemas)
    failures = []
    cases = damaged_copies(winget, scoop)
    for name, which, damaged, phrase in cases:
        if which == "winget":
            problems = winget_problems(damaged, winget_schemas, release)
        else:
            problems = scoop_problems(damaged, scoop_schema, release)
        if not any(phrase in problem for problem in problems):
            failures.append("%s was not refused as expected (%r); the check said %s" % (name, phrase, problems))
        else:
            print("refused: %s" % name)
    if failures:
        raise SystemExit("FAIL:\n  " + "\n  ".join(failures))
    print("all %d damaged manifests refused" % len(cases))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mode", choices=["check", "broken"])
    parser.add_argument("--package-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--schemas", required=True)
    parser.add_argument("--architecture", choices=["x86", "x64"], required=True)
    args = parser.parse_args()
    release = Release(args.package_dir, args.version, args.architecture)
    {"check": check, "broken": broken}[args.mode](args, release)


if __name__ == "__main__":
    main()
