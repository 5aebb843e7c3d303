#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program and writes what a release
# publishes to dist/:
#   pendrel-V-x64.zip, pendrel-V-x86.zip  pendrel.exe, README.txt, LICENSE.txt
#   pendrel-V-setup.exe                   the per-user installer of the x64 program
#   SHA256SUMS                            one line per file above
#   winget/LucienGarrow.Pendrel*.yaml     the winget manifest, in three files
#   scoop/pendrel.json                    the Scoop manifest
# V is the project's version (CMakeLists.txt); the publisher, description and
# home page are those of the program's resources. Runs on Debian as root (or
# with sudo) and installs what it lacks.
#   tools/release.sh [--base-url URL]
# URL is where the files will be downloaded from (the release's page of the
# forge); the manifests name each file under it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

placeholder_url="https://release-base-url.invalid/placeholder-pass-base-url-to-tools-release.sh"
base_url=$placeholder_url
while [ $# -gt 0 ]; do
    case "$1" in
        --base-url) base_url=${2:?--base-url needs a URL}; shift 2 ;;
        --base-url=*) base_url=${1#--base-url=}; shift ;;
        *) echo "usage: $0 [--base-url URL]" >&2; exit 2 ;;
    esac
done
base_url=${base_url%/}

die() { echo "release: $*" >&2; exit 1; }

# What the sources say, each in its one place.
rc=src/resources/pendrel.rc
version=$(sed -n 's/^project(Pendrel VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "no X.Y.Z project version in CMakeLists.txt"
publisher=$(sed -n 's/.*VALUE "CompanyName", "\(.*\)".*/\1/p' "$rc")
description=$(sed -n 's/.*VALUE "FileDescription", "\(.*\)".*/\1/p' "$rc")
copyright=$(sed -n 's/.*VALUE "LegalCopyright", "\(.*\)".*/\1/p' "$rc")
homepage=$(sed -n 's/.*IDS_HOMEPAGE_URL "\(.*\)".*/\1/p' "$rc")
license=$(sed -n '1s/ License$//p' LICENSE)
[ -n "$publisher" ] && [ -n "$description" ] && [ -n "$copyright" ] && [ -n "$homepage" ] && [ -n "$license" ] ||
    die "the publisher, description, copyright, home page or licence cannot be read"
identifier=LucienGarrow.Pendrel
manifest_version=1.12.0

"$root/tools/install-deps.sh" release

# The same configuration as the test command's, so that its builds serve here.
for preset in mingw-x86_64 mingw-i686; do
    cmake --preset "$preset" -DPENDREL_WERROR=ON >/dev/null || die "$preset configure"
    cmake --build --preset "$preset" -j2 --target pendrel || die "$preset build"
done

dist="$root/dist"
stage="$root/build/release-stage"
rm -rf "$dist" "$stage"
mkdir -p "$dist/winget" "$dist/scoop" "$stage"
# Notepad before Windows 10 1809 needs CRLF.
sed 's/$/\r/' packaging/README.txt >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

zip_of() {  # zip_of ARCH BUILD_DIR
    local name="pendrel-$version-$1.zip" dir="$stage/$1"
    mkdir -p "$dir"
    cp "$2/bin/pendrel.exe" "$stage/README.txt" "$stage/LICENSE.txt" "$dir/"
    (cd "$dir" && zip -X -q "$dist/$name" pendrel.exe README.txt LICENSE.txt)
}
zip_of x64 build/mingw-x86_64
zip_of x86 build/mingw-i686

setup="pendrel-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DPUBLISHER="$publisher" -DCOPYRIGHT="$copyright" -DSOURCE="$root" \
    -DEXE="$stage/x64/pendrel.exe" -DREADME="$stage/README.txt" -DLICENSE="$stage/LICENSE.txt" \
    -DOUTFILE="$dist/$setup" packaging/pendrel.nsi || die "makensis"

x64_zip="pendrel-$version-x64.zip"
x86_zip="pendrel-$version-x86.zip"
(cd "$dist" && sha256sum "$x64_zip" "$x86_zip" "$setup" >SHA256SUMS)
hash_of() { awk -v f="$1" '$2 == f { print $1 }' "$dist/SHA256SUMS"; }
upper() { tr 'a-f' 'A-F' <<<"$1"; }

schema="# yaml-language-server: \$schema=https://aka.ms/winget-manifest"
head_of() {  # head_of KIND
    printf '%s.%s.%s.schema.json\n\nPackageIdentifier: %s\nPackageVersion: %s\n' \
        "$schema" "$1" "$manifest_version" "$identifier" "$version"
}
tail_of() { printf 'ManifestType: %s\nManifestVersion: %s\n' "$1" "$manifest_version"; }
winget="$dist/winget/$identifier"
{
    head_of version
    echo "DefaultLocale: en-US"
    tail_of version
} >"$winget.yaml"
zip_installer() {  # zip_installer ARCH FILE
    cat <<EOF
- Architecture: $1
  InstallerType: zip
  NestedInstallerType: portable
  NestedInstallerFiles:
  - RelativeFilePath: pendrel.exe
    PortableCommandAlias: pendrel
  InstallerUrl: $base_url/$2
  InstallerSha256: $(upper "$(hash_of "$2")")
EOF
}
{
    head_of installer
    cat <<EOF
MinimumOSVersion: 10.0.0.0
Installers:
- Architecture: x64
  InstallerType: nullsoft
  Scope: user
  InstallerUrl: $base_url/$setup
  InstallerSha256: $(upper "$(hash_of "$setup")")
  ProductCode: Pendrel
EOF
    zip_installer x64 "$x64_zip"
    zip_installer x86 "$x86_zip"
    tail_of installer
} >"$winget.installer.yaml"
{
    head_of defaultLocale
    cat <<EOF
PackageLocale: en-US
Publisher: $publisher
PublisherUrl: $homepage
PackageName: Pendrel
PackageUrl: $homepage
License: $license
Copyright: $copyright
ShortDescription: $description
Description: Pendrel brings the taskbar to the front whenever the mouse pointer reaches the screen edge where the taskbar is docked, even when maximised or always-on-top windows cover it.
Moniker: pendrel
Tags:
- taskbar
- tray
EOF
    tail_of defaultLocale
} >"$winget.locale.en-US.yaml"

cat >"$dist/scoop/pendrel.json" <<EOF
{
    "version": "$version",
    "description": "$description",
    "homepage": "$homepage",
    "license": "$license",
    "architecture": {
        "64bit": {
            "url": "$base_url/$x64_zip",
            "hash": "$(hash_of "$x64_zip")"
        },
        "32bit": {
            "url": "$base_url/$x86_zip",
            "hash": "$(hash_of "$x86_zip")"
        }
    },
    "bin": "pendrel.exe",
    "shortcuts": [["pendrel.exe", "Pendrel"]]
}
EOF

python3 "$root/tests/release/check_release.py" "$dist" || die "the files written do not hold together"
[ "$base_url" != "$placeholder_url" ] ||
    echo "release: the manifests name the placeholder $placeholder_url: pass --base-url for a real release" >&2
echo "release $version written to dist/:"
(cd "$dist" && find . -type f | sort | sed 's|^\./|  |')
