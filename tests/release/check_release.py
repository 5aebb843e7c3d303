#!/usr/bin/env python3
"""Checks a release folder written by tools/release.sh, without the network:
the archives and the setup, their hashes, and the winget and Scoop manifests'
required fields, each file they name and its hash. Prints every fault; exits 1
on any."""
import hashlib, json, re, struct, sys, zipfile
from pathlib import Path

import yaml

IDENTIFIER = "LucienGarrow.Pendrel"
MANIFEST_VERSION = "1.12.0"
ZIP_CONTENT = {"pendrel.exe", "README.txt", "LICENSE.txt"}
MACHINE = {"x64": 0x8664, "x86": 0x14C}
REQUIRED = {
    "version": ["DefaultLocale"],
    "installer": ["Installers"],
    "defaultLocale": ["PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"],
}

faults = []


def expect(holds, text):
    if not holds:
        faults.append(text)
    return holds


def machine_of(exe):  # the PE header's machine field
    if exe[:2] != b"MZ":
        return None
    at = struct.unpack_from("<I", exe, 0x3C)[0]
    return struct.unpack_from("<H", exe, at + 4)[0] if exe[at:at + 4] == b"PE\0\0" else None


def check(dist):
    sums = {}
    for line in (dist / "SHA256SUMS").read_text().splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if expect(match, f"SHA256SUMS: bad line {line!r}"):
            sums[match[2]] = match[1]
    names = sorted(sums)
    version = names[0].split("-")[1] if names else "?"
    expect(names == [f"pendrel-{version}-{k}" for k in ("setup.exe", "x64.zip", "x86.zip")],
           f"SHA256SUMS names {names}")
    for name, digest in sums.items():
        expect(hashlib.sha256((dist / name).read_bytes()).hexdigest() == digest, f"{name}: hash differs")
    for arch in MACHINE:
        with zipfile.ZipFile(dist / f"pendrel-{version}-{arch}.zip") as z:
            expect(set(z.namelist()) == ZIP_CONTENT, f"{arch} zip holds {z.namelist()}")
            expect(machine_of(z.read("pendrel.exe")) == MACHINE[arch], f"{arch} zip: pendrel.exe for another machine")
    expect(machine_of((dist / f"pendrel-{version}-setup.exe").read_bytes()) == MACHINE["x64"], "setup: not x64")

    def names_file(url, digest, where):
        name = url.rsplit("/", 1)[-1]
        expect(url.startswith("https://") and name in sums, f"{where}: url {url}")
        expect(str(digest).lower() == sums.get(name), f"{where}: hash of {name}")
        return name

    manifests = {}
    for suffix, kind in (("", "version"), (".installer", "installer"), (".locale.en-US", "defaultLocale")):
        m = manifests[kind] = yaml.safe_load((dist / "winget" / f"{IDENTIFIER}{suffix}.yaml").read_text())
        for key, value in (("PackageIdentifier", IDENTIFIER), ("PackageVersion", version),
                           ("ManifestType", kind), ("ManifestVersion", MANIFEST_VERSION)):
            expect(str(m.get(key)) == value, f"winget {kind}: {key} {m.get(key)!r}")
        for key in REQUIRED[kind]:
            expect(m.get(key), f"winget {kind}: no {key}")
    expect(manifests["version"].get("DefaultLocale") == manifests["defaultLocale"].get("PackageLocale"),
           "winget: the default locale has no manifest")
    seen = set()
    for i in manifests["installer"].get("Installers") or []:
        name = names_file(i.get("InstallerUrl", ""), i.get("InstallerSha256"), f"winget {i.get('Architecture')}")
        seen.add((name, i.get("Architecture"), i.get("InstallerType"), i.get("Scope"), i.get("NestedInstallerType"),
                  str([f.get("RelativeFilePath") for f in i.get("NestedInstallerFiles") or []])))
    expect(seen == {(f"pendrel-{version}-setup.exe", "x64", "nullsoft", "user", None, "[]"),
                    (f"pendrel-{version}-x64.zip", "x64", "zip", None, "portable", "['pendrel.exe']"),
                    (f"pendrel-{version}-x86.zip", "x86", "zip", None, "portable", "['pendrel.exe']")},
           f"winget installers {sorted(seen, key=str)}")

    scoop = json.loads((dist / "scoop" / "pendrel.json").read_text())
    expect(scoop.get("version") == version, f"scoop: version {scoop.get('version')!r}")
    for key in ("description", "homepage", "license"):
        expect(scoop.get(key), f"scoop: no {key}")
    for bits, arch in (("64bit", "x64"), ("32bit", "x86")):
        entry = scoop.get("architecture", {}).get(bits, {})
        expect(names_file(entry.get("url", ""), entry.get("hash"), f"scoop {bits}") == f"pendrel-{version}-{arch}.zip",
               f"scoop {bits}: not the {arch} zip")
    expect(scoop.get("bin") == "pendrel.exe", f"scoop: bin {scoop.get('bin')!r}")
    expect(["pendrel.exe", "Pendrel"] in (scoop.get("shortcuts") or []), "scoop: no shortcut")


if __name__ == "__main__":
    try:
        check(Path(sys.argv[1]))
    except (OSError, KeyError, ValueError, yaml.YAMLError, zipfile.BadZipFile) as error:
        faults.append(f"unreadable: {error}")
    for fault in faults:
        print("FAULT:", fault)
    print("release files:", "FAULTS" if faults else "consistent")
    sys.exit(1 if faults else 0)
