#!/usr/bin/env python3
"""The release's manifests and the setup's defines as tools/release_manifests.py
writes them from a project whose texts hold quotes, ": " and "$", and its
judgement of the addresses of a publishable release."""
import json, subprocess, sys, tempfile, unittest
from pathlib import Path

import yaml

HERE = Path(__file__).resolve().parent
WRITER = HERE.parents[1] / "tools" / "release_manifests.py"
sys.path.insert(0, str(HERE))
import check_release  # noqa: E402

PUBLISHER = 'Lucien "LG" Garrow: Tools'
DESCRIPTION = "Raises the taskbar: at once, # not a comment, 'quoted'"
COPYRIGHT = "Copyright (C) 2004 $HOME & Co"
RC = f'''    IDS_HOMEPAGE_URL "https://pendrel.example.org/"
            VALUE "CompanyName", "Lucien ""LG"" Garrow: Tools"
            VALUE "FileDescription", "{DESCRIPTION}"
            VALUE "LegalCopyright", "{COPYRIGHT}"
'''


def write(source, *args):
    return subprocess.run([sys.executable, str(WRITER), "--source", str(source), *args], capture_output=True, text=True)


class Manifests(unittest.TestCase):
    def test_texts_come_through_every_format_unchanged(self):
        with tempfile.TemporaryDirectory() as temp:
            source, dist = Path(temp), Path(temp) / "dist"
            (source / "src" / "resources").mkdir(parents=True)
            (source / "src" / "resources" / "pendrel.rc").write_text(RC, encoding="cp1252")
            (source / "CMakeLists.txt").write_text("project(Pendrel VERSION 3.4.5 LANGUAGES C CXX)\n")
            (source / "LICENSE").write_text("MIT License\n")
            dist.mkdir()
            for name in ("setup.exe", "x64.zip", "x86.zip"):
                (dist / f"pendrel-3.4.5-{name}").write_bytes(name.encode())
            urls = ["--base-url", "https://forge.example.net/r/v3.4.5", "--homepage", "https://forge.example.net/p"]
            self.assertEqual(write(source, *urls, "--release-date", "2024-02-29", "manifests", str(dist)).returncode, 0)
            self.assertEqual(write(source, *urls, "nsis", str(source / "release.nsh")).returncode, 0)

            locale = yaml.safe_load((dist / "winget" / "LucienGarrow.Pendrel.locale.en-US.yaml").read_text())
            installer = yaml.safe_load((dist / "winget" / "LucienGarrow.Pendrel.installer.yaml").read_text())
            scoop = json.loads((dist / "bucket" / "pendrel.json").read_text())
            self.assertEqual((locale["Publisher"], locale["ShortDescription"], locale["Copyright"]),
                             (PUBLISHER, DESCRIPTION, COPYRIGHT))
            self.assertEqual((installer["PackageVersion"], installer["ReleaseDate"]), ("3.4.5", "2024-02-29"))
            self.assertEqual(scoop["description"], DESCRIPTION)
            self.assertEqual(scoop["autoupdate"]["architecture"]["32bit"]["url"],
                             "https://forge.example.net/r/v$version/pendrel-$version-x86.zip")
            check_release.faults.clear()
            check_release.schema_faults(locale, "manifest.defaultLocale.1.12.0.json", "locale")
            check_release.schema_faults(installer, "manifest.installer.1.12.0.json", "installer")
            check_release.schema_faults(scoop, "scoop.schema.json", "scoop")
            self.assertEqual(check_release.faults, [])
            self.assertIn('!define PUBLISHER "Lucien $\\"LG$\\" Garrow: Tools"\n', (source / "release.nsh").read_text())
            self.assertIn('!define COPYRIGHT "Copyright (C) 2004 $$HOME & Co"\n', (source / "release.nsh").read_text())

    def test_a_publishable_release_needs_public_https_addresses(self):
        good = ["--base-url", "https://github.com/o/pendrel/releases/download/v2.1.0",
                "--homepage", "https://github.com/o/pendrel"]
        rows = [([], False), (good, True), (good + ["--support-url", "https://github.com/o/pendrel/issues"], True),
                (good[:2] + ["--homepage", "http://github.com/o/pendrel"], False),
                (good[:2] + ["--homepage", "https://lucien-garrow.example.org/"], False),
                (good + ["--license-url", "https://pendrel.example/LICENSE"], False),
                (["--base-url", "https://github.com/o/pendrel/releases/latest"] + good[2:], False)]
        for args, publishable in rows:
            with self.subTest(args=args):
                self.assertEqual(write(HERE.parents[1], *args, "--publish", "check").returncode, 0 if publishable else 1)
        # Without --publish a build is a local one, and says so.
        local = write(HERE.parents[1], "check")
        self.assertEqual(local.returncode, 0)
        self.assertIn("LOCAL build", local.stderr)


if __name__ == "__main__":
    unittest.main()
