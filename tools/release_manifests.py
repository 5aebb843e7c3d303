#!/usr/bin/env python3
"""What tools/release.sh writes from the project's own facts, through a
serialiser rather than by hand: the setup's defines (release.nsh for
makensis), the winget manifest (three YAML files) and the Scoop bucket's
manifest (JSON).

    release_manifests.py [ADDRESSES] check
    release_manifests.py [ADDRESSES] nsis FILE
    release_manifests.py [ADDRESSES] manifests DIST

ADDRESSES: --base-url URL (where the release's files are downloaded from),
--homepage URL, --support-url URL and --license-url URL (both the homepage
unless given), --release-date YYYY-MM-DD, --publish (refuse, exit 1, unless
every address is a public https one and the base URL names the version) and
--source DIR (the repository, by default this one). The version comes from
the project() line of CMakeLists.txt; the publisher, description and
copyright from the version record of src/resources/pendrel.rc; the licence
from LICENSE."""
import argparse, datetime, hashlib, json, re, sys
from pathlib import Path
from urllib.parse import urlsplit

import yaml

IDENTIFIER = "LucienGarrow.Pendrel"
MANIFEST_VERSION = "1.12.0"
PLACEHOLDER_URL = "https://release-base-url.invalid/local-build"
SCHEMA_LINE = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{}.{}.schema.json\n"
# The setup's refusals (packaging/pendrel.nsi), as winget reports them.
RETURN_CODES = [(3, "installInProgress"), (4, "packageInUse"), (5, "custom"), (6, "fileInUse"),
                (7, "invalidParameter"), (8, "systemNotSupported")]
# Names no public address has: the reserved example and test domains.
RESERVED_HOSTS = re.compile(r"(^|\.)(example\.(com|net|org)|example|invalid|test|localhost)$")


def rc_value(rc, name):
    """A string of the version record, with the resource compiler's escapes undone."""
    match = re.search(r'VALUE "%s", "((?:[^"]|"")*)"' % name, rc)
    if not match:
        sys.exit(f"release: no {name} in the resource script")
    return match[1].replace('""', '"').replace("\\\\", "\\")


def facts(source):
    cmake = (source / "CMakeLists.txt").read_text()
    version = re.search(r"^project\(Pendrel VERSION (\d+\.\d+\.\d+)[ )]", cmake, re.M)
    if not version:
        sys.exit("release: no X.Y.Z project version in CMakeLists.txt")
    rc = (source / "src" / "resources" / "pendrel.rc").read_text(encoding="cp1252")
    homepage = re.search(r'IDS_HOMEPAGE_URL "([^"]*)"', rc)
    return dict(version=version[1], publisher=rc_value(rc, "CompanyName"),
                description=rc_value(rc, "FileDescription"), copyright=rc_value(rc, "LegalCopyright"),
                license=(source / "LICENSE").read_text().split("\n", 1)[0].removesuffix(" License"),
                program_homepage=homepage[1] if homepage else "")


def public_fault(name, url, version=None):
    parts = urlsplit(url or "")
    if not url:
        return f"--{name} is needed"
    if parts.scheme != "https" or not parts.hostname:
        return f"--{name} {url} is not an https address"
    if RESERVED_HOSTS.search(parts.hostname.lower()):
        return f"--{name} {url} names a reserved example domain"
    if version and version not in url:
        return f"--{name} {url} does not name the version {version}"
    return None


def addresses(args, known):
    homepage = args.homepage or known["program_homepage"]
    given = dict(base=(args.base_url or PLACEHOLDER_URL).rstrip("/"), homepage=homepage,
                 support=args.support_url or homepage, license=args.license_url or homepage)
    # Support and licence unless given are the homepage, which is checked.
    faults = [public_fault("base-url", args.base_url, known["version"]), public_fault("homepage", args.homepage),
              args.support_url and public_fault("support-url", args.support_url),
              args.license_url and public_fault("license-url", args.license_url)]
    return given, [f for f in faults if f]


def nsis_string(text):
    return '"' + text.replace("$", "$$").replace('"', '$\\"') + '"'


def write_nsis(path, known, urls):
    defines = dict(VERSION=known["version"], PUBLISHER=known["publisher"], COPYRIGHT=known["copyright"],
                   HOMEPAGE=urls["homepage"], SUPPORT_URL=urls["support"])
    path.write_text("".join(f"!define {k} {nsis_string(v)}\n" for k, v in defines.items()))


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def write_yaml(path, kind, fields):
    head = dict(PackageIdentifier=IDENTIFIER, PackageVersion=fields.pop("PackageVersion"))
    tail = dict(ManifestType=kind, ManifestVersion=MANIFEST_VERSION)
    text = yaml.safe_dump({**head, **fields, **tail}, sort_keys=False, allow_unicode=True, width=1000)
    path.write_text(SCHEMA_LINE.format(kind, MANIFEST_VERSION) + "\n" + text, encoding="utf-8")


def write_manifests(dist, known, urls, release_date):
    version, base = known["version"], urls["base"]
    setup, zips = f"pendrel-{version}-setup.exe", {a: f"pendrel-{version}-{a}.zip" for a in ("x64", "x86")}
    winget = dist / "winget"
    winget.mkdir(parents=True, exist_ok=True)
    write_yaml(winget / f"{IDENTIFIER}.yaml", "version", dict(PackageVersion=version, DefaultLocale="en-US"))
    zip_installers = [dict(Architecture=arch, InstallerType="zip", NestedInstallerType="portable",
                           NestedInstallerFiles=[dict(RelativeFilePath="pendrel.exe", PortableCommandAlias="pendrel")],
                           InstallerUrl=f"{base}/{name}", InstallerSha256=sha256(dist / name).upper())
                      for arch, name in zips.items()]
    setup_installer = dict(Architecture="x64", InstallerType="nullsoft", Scope="user",
                           InstallerUrl=f"{base}/{setup}", InstallerSha256=sha256(dist / setup).upper(),
                           ProductCode="Pendrel",
                           ExpectedReturnCodes=[dict(InstallerReturnCode=code, ReturnResponse=response,
                                                     **({"ReturnResponseUrl": urls["support"]}
                                                        if response == "custom" else {}))
                                                for code, response in RETURN_CODES])
    write_yaml(winget / f"{IDENTIFIER}.installer.yaml", "installer",
               dict(PackageVersion=version, MinimumOSVersion="10.0.0.0", ReleaseDate=release_date,
                    Installers=[setup_installer] + zip_installers))
    write_yaml(winget / f"{IDENTIFIER}.locale.en-US.yaml", "defaultLocale", dict(
        PackageVersion=version, PackageLocale="en-US", Publisher=known["publisher"], PublisherUrl=urls["homepage"],
        PublisherSupportUrl=urls["support"], PackageName="Pendrel", PackageUrl=urls["homepage"],
        License=known["license"], LicenseUrl=urls["license"], Copyright=known["copyright"],
        ShortDescription=known["description"],
        Description="Pendrel brings the taskbar to the front whenever the mouse pointer reaches the screen edge "
                    "where the taskbar is docked, even when maximised or always-on-top windows cover it.",
        Moniker="pendrel", Tags=["taskbar", "tray"]))

    # Scoop finds a new release itself: the base URL with the version left
    # open, each hash read from that release's SHA256SUMS.
    base_open = base.replace(version, "$version")
    homepage = urls["homepage"]
    github = re.fullmatch(r"https://github\.com/[^/]+/[^/]+", homepage)
    checkver = {"github": homepage} if github else {"url": homepage, "regex": r"pendrel-([\d.]+)-x64\.zip"}
    scoop = dict(version=version, description=known["description"], homepage=homepage, license=known["license"],
                 architecture={bits: dict(url=f"{base}/{zips[arch]}", hash=sha256(dist / zips[arch]))
                               for bits, arch in (("64bit", "x64"), ("32bit", "x86"))},
                 bin="pendrel.exe", shortcuts=[["pendrel.exe", "Pendrel"]], checkver=checkver,
                 autoupdate=dict(architecture={bits: dict(url=f"{base_open}/pendrel-$version-{arch}.zip")
                                               for bits, arch in (("64bit", "x64"), ("32bit", "x86"))},
                                 hash=dict(url="$baseurl/SHA256SUMS")))
    bucket = dist / "bucket"
    bucket.mkdir(parents=True, exist_ok=True)
    (bucket / "pendrel.json").write_text(json.dumps(scoop, indent=4, ensure_ascii=False) + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for name in ("base-url", "homepage", "support-url", "license-url", "release-date"):
        parser.add_argument(f"--{name}")
    parser.add_argument("--publish", action="store_true")
    parser.add_argument("--source", type=Path, default=Path(__file__).resolve().parent.parent)
    parser.add_argument("command", choices=["check", "nsis", "manifests"])
    parser.add_argument("path", type=Path, nargs="?")
    args = parser.parse_args()
    known = facts(args.source)
    urls, faults = addresses(args, known)
    if args.command == "check":
        if args.publish and faults:
            for fault in faults:
                print(f"release: {fault}", file=sys.stderr)
            print("release: not publishable: give the project's public addresses", file=sys.stderr)
            return 1
        if faults:
            print("release: a LOCAL build: its manifests name placeholder or example addresses and are not "
                  "for publishing (tools/release.sh --publish --base-url URL --homepage URL)", file=sys.stderr)
        return 0
    if args.command == "nsis":
        write_nsis(args.path, known, urls)
    else:
        write_manifests(args.path, known, urls, args.release_date or datetime.date.today().isoformat())
    return 0


if __name__ == "__main__":
    sys.exit(main())
