#!/usr/bin/env python3
"""Checks a release folder written by tools/release.sh, without the network:
the archives and the setup, their hashes and the version they carry, the
winget and Scoop manifests against their official schemas (copies in
schemas/), each file they name and its hash. The version is the project's
(CMakeLists.txt), never the one the files name. Prints every fault; exits 1
on any."""
import hashlib, json, re, struct, sys, zipfile
from pathlib import Path

import jsonschema
import yaml

ROOT = Path(__file__).resolve().parents[2]
SCHEMAS = Path(__file__).resolve().parent / "schemas"
IDENTIFIER = "LucienGarrow.Pendrel"
MANIFEST_VERSION = "1.12.0"
ZIP_CONTENT = {"pendrel.exe", "README.txt", "LICENSE.txt"}
MACHINE = {"x64": 0x8664, "x86": 0x14C}
# The setup's refusals and what winget is to make of them.
RETURN_CODES = {3: "installInProgress", 4: "packageInUse", 5: "custom", 6: "fileInUse", 7: "invalidParameter",
                8: "systemNotSupported"}
FIXED_FILE_INFO = b"\xbd\x04\xef\xfe"

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


def file_version(exe):  # "X.Y.Z" of the version record's fixed part
    at = exe.find(FIXED_FILE_INFO)
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", exe, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"


def project_version():
    match = re.search(r"^project\(Pendrel VERSION (\d+\.\d+\.\d+)[ )]", (ROOT / "CMakeLists.txt").read_text(), re.M)
    return match[1] if match else "?"


def schema_faults(document, schema_name, where):
    schema = json.loads((SCHEMAS / schema_name).read_text())
    validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    for error in validator.iter_errors(document):
        faults.append(f"{where}: {'/'.join(map(str, error.absolute_path))}: {error.message}")


def check(dist):
    version = project_version()
    sums = {}
    for line in (dist / "SHA256SUMS").read_text().splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if expect(match, f"SHA256SUMS: bad line {line!r}"):
            sums[match[2]] = match[1]
    setup = f"pendrel-{version}-setup.exe"
    expect(sorted(sums) == [setup, f"pendrel-{version}-x64.zip", f"pendrel-{version}-x86.zip"],
           f"SHA256SUMS names {sorted(sums)}, not the files of version {version}")
    for name, digest in sums.items():
        expect(hashlib.sha256((dist / name).read_bytes()).hexdigest() == digest, f"{name}: hash differs")
    for arch in MACHINE:
        with zipfile.ZipFile(dist / f"pendrel-{version}-{arch}.zip") as z:
            expect(set(z.namelist()) == ZIP_CONTENT, f"{arch} zip holds {z.namelist()}")
            exe = z.read("pendrel.exe")
            expect(machine_of(exe) == MACHINE[arch], f"{arch} zip: pendrel.exe for another machine")
            expect(file_version(exe) == version, f"{arch} zip: pendrel.exe of version {file_version(exe)}")
    # A 32-bit setup runs on every Windows, and refuses where the program cannot.
    setup_exe = (dist / setup).read_bytes()
    expect(machine_of(setup_exe) == MACHINE["x86"], "setup: not a 32-bit program")
    expect(file_version(setup_exe) == version, f"setup: of version {file_version(setup_exe)}")

    def names_file(url, digest, where):
        name = url.rsplit("/", 1)[-1]
        expect(url.startswith("https://") and name in sums, f"{where}: url {url}")
        expect(str(digest).lower() == sums.get(name), f"{where}: hash of {name}")
        return name

    manifests = {}
    for suffix, kind in (("", "version"), (".installer", "installer"), (".locale.en-US", "defaultLocale")):
        m = manifests[kind] = yaml.safe_load((dist / "winget" / f"{IDENTIFIER}{suffix}.yaml").read_text())
        schema_faults(m, f"manifest.{kind}.{MANIFEST_VERSION}.json", f"winget {kind}")
        for key, value in (("PackageIdentifier", IDENTIFIER), ("PackageVersion", version)):
            expect(m.get(key) == value, f"winget {kind}: {key} {m.get(key)!r}")
    expect(manifests["version"].get("DefaultLocale") == manifests["defaultLocale"].get("PackageLocale"),
           "winget: the default locale has no manifest")
    for key in ("PublisherUrl", "PublisherSupportUrl", "LicenseUrl", "PackageUrl"):
        expect(manifests["defaultLocale"].get(key), f"winget defaultLocale: no {key}")
    expect(manifests["installer"].get("ReleaseDate"), "winget installer: no ReleaseDate")
    seen = set()
    for i in manifests["installer"].get("Installers") or []:
        name = names_file(i.get("InstallerUrl", ""), i.get("InstallerSha256"), f"winget {i.get('Architecture')}")
        seen.add((name, i.get("Architecture"), i.get("InstallerType"), i.get("Scope"), i.get("NestedInstallerType"),
                  str([f.get("RelativeFilePath") for f in i.get("NestedInstallerFiles") or []])))
        codes = {c.get("InstallerReturnCode"): c.get("ReturnResponse") for c in i.get("ExpectedReturnCodes") or []}
        expect(codes == (RETURN_CODES if i.get("InstallerType") == "nullsoft" else {}),
               f"winget {name}: return codes {codes}")
    expect(seen == {(setup, "x64", "nullsoft", "user", None, "[]"),
                    (f"pendrel-{version}-x64.zip", "x64", "zip", None, "portable", "['pendrel.exe']"),
                    (f"pendrel-{version}-x86.zip", "x86", "zip", None, "portable", "['pendrel.exe']")},
           f"winget installers {sorted(seen, key=str)}")

    scoop = json.loads((dist / "bucket" / "pendrel.json").read_text())
    schema_faults(scoop, "scoop.schema.json", "scoop")
    expect(scoop.get("version") == version, f"scoop: version {scoop.get('version')!r}")
    for key in ("description", "checkver"):
        expect(scoop.get(key), f"scoop: no {key}")
    update = scoop.get("autoupdate", {})
    expect(update.get("hash", {}).get("url") == "$baseurl/SHA256SUMS", "scoop: autoupdate hashes not from SHA256SUMS")
    for bits, arch in (("64bit", "x64"), ("32bit", "x86")):
        entry = scoop.get("architecture", {}).get(bits, {})
        url = entry.get("url", "")
        expect(names_file(url, entry.get("hash"), f"scoop {bits}") == f"pendrel-{version}-{arch}.zip",
               f"scoop {bits}: not the {arch} zip")
        # The next release's address is this one's with the version changed.
        later = update.get("architecture", {}).get(bits, {}).get("url", "")
        expect("$version" in later and later.replace("$version", version) == url, f"scoop {bits}: autoupdate {later}")
    expect(scoop.get("bin") == "pendrel.exe", f"scoop: bin {scoop.get('bin')!r}")
    expect(["pendrel.exe", "Pendrel"] in (scoop.get("shortcuts") or []), "scoop: no shortcut")


if __name__ == "__main__":
    try:
        check(Path(sys.argv[1]))
    except (OSError, KeyError, ValueError, AttributeError, yaml.YAMLError, zipfile.BadZipFile) as error:
        faults.append(f"unreadable: {error}")
    for fault in faults:
        print("FAULT:", fault)
    print("release files:", "FAULTS" if faults else "consistent, and valid against the manifests' schemas")
    sys.exit(1 if faults else 0)
