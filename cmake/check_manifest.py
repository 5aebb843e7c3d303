"""Checks the application manifest written in the resource script.

    python3 check_manifest.py pendrel.rc

The manifest is the one resource of type RT_MANIFEST (24), written as a block
of string literals. This rebuilds the text those literals make, parses it as
XML and checks the four things the program relies on: common controls 6, DPI
awareness per monitor with its fallback, the supported versions of Windows and
the asInvoker execution level. Exits 1, naming the fault, when anything is
missing or malformed, which fails the build.
"""
import re
import sys
import xml.etree.ElementTree as ET

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}

HEADER = re.compile(r"^\s*(CREATEPROCESS_MANIFEST_RESOURCE_ID|1)\s+(RT_MANIFEST|24)\s*$")
LITERAL = re.compile(r'"((?:[^"\\]|""|\\.)*)"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}


class ManifestError(Exception):
    pass


def unescape(body, line_number):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '"':  # a doubled quote stands for one
            out.append('"')
            i += 2
        elif c == "\\":
            code = body[i + 1]
            if code not in ESCAPES:
                raise ManifestError(f"line {line_number}: escape \\{code} in the manifest")
            out.append(ESCAPES[code])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def manifest_text(script_lines):
    """The text of the RT_MANIFEST block; fails unless there is exactly one."""
    starts = [i for i, line in enumerate(script_lines) if HEADER.match(line)]
    if not starts:
        raise ManifestError("no manifest: no resource 1 of type RT_MANIFEST (24)")
    if len(starts) > 1:
        raise ManifestError("more than one RT_MANIFEST resource 1")
    i = starts[0] + 1
    if i >= len(script_lines) or script_lines[i].strip() not in ("BEGIN", "{"):
        raise ManifestError(f"line {i + 1}: the manifest block must open with BEGIN")
    parts = []
    for i in range(i + 1, len(script_lines)):
        line = script_lines[i].strip()
        if line in ("END", "}"):
            return "".join(parts)
        if not line or line.startswith("//"):
            continue
        rest = LITERAL.sub("", line).strip()
        if rest and not rest.startswith("//"):
            raise ManifestError(f"line {i + 1}: only string literals belong in the manifest: {rest}")
        parts.extend(unescape(body, i + 1) for body in LITERAL.findall(line))
    raise ManifestError("the manifest block has no END")


def q(namespace, tag):
    return f"{{{namespace}}}{tag}"


def require(element, path, namespaces, what):
    found = element.find(path, namespaces)
    if found is None:
        raise ManifestError(f"no {what} ({path})")
    return found


def check(text):
    if not text.isascii():
        raise ManifestError("the manifest must be plain ASCII (the script's code page is not UTF-8)")
    try:
        root = ET.fromstring(text.encode("ascii"))
    except ET.ParseError as error:
        raise ManifestError(f"not well-formed XML: {error}") from None
    if root.tag != q(ASM_V1, "assembly") or root.get("manifestVersion") != "1.0":
        raise ManifestError(f"the root must be an asm.v1 assembly of manifestVersion 1.0, not {root.tag}")
    ns = {"v1": ASM_V1, "v3": ASM_V3, "c": COMPATIBILITY, "s5": SETTINGS_2005, "s16": SETTINGS_2016}

    controls = [
        identity
        for identity in root.findall("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", ns)
        if identity.get("name") == "Microsoft.Windows.Common-Controls"
    ]
    if len(controls) != 1:
        raise ManifestError("needs exactly one dependency on Microsoft.Windows.Common-Controls")
    wanted = {
        "type": "win32",
        "version": "6.0.0.0",
        "processorArchitecture": "*",
        "publicKeyToken": "6595b64144ccf1df",
    }
    for name, value in wanted.items():
        if (controls[0].get(name) or "").lower() != value.lower():
            raise ManifestError(f"common controls {name} is {controls[0].get(name)!r}, not {value!r}")

    settings = "v3:application/v3:windowsSettings/"
    awareness = require(root, settings + "s16:dpiAwareness", ns, "per-monitor DPI awareness")
    modes = [mode.strip().lower() for mode in (awareness.text or "").split(",")]
    if modes[:1] != ["permonitorv2"] or "permonitor" not in modes:
        raise ManifestError(f"dpiAwareness is {awareness.text!r}, not PerMonitorV2 with PerMonitor after it")
    aware = require(root, settings + "s5:dpiAware", ns, "DPI awareness for Windows before 10")
    if (aware.text or "").strip().lower() != "true/pm":
        raise ManifestError(f"dpiAware is {aware.text!r}, not true/pm")

    ids = {
        (os.get("Id") or "").lower()
        for os in root.findall("c:compatibility/c:application/c:supportedOS", ns)
    }
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in ids]
    if missing:
        raise ManifestError("no supportedOS entry for " + ", ".join(missing))

    level = require(
        root,
        "v3:trustInfo/v3:security/v3:requestedPrivileges/v3:requestedExecutionLevel",
        ns,
        "requested execution level",
    )
    if level.get("level") != "asInvoker":
        raise ManifestError(f"requestedExecutionLevel is {level.get('level')!r}, not asInvoker")


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} RESOURCE-SCRIPT", file=sys.stderr)
        return 2
    try:
        # The script is in code page 1252; the manifest itself must be ASCII.
        with open(argv[1], encoding="latin-1") as script:
            check(manifest_text(script.read().splitlines()))
    except (OSError, ManifestError) as error:
        print(f"{argv[1]}: manifest: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
