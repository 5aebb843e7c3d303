#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program and writes what a release
# publishes to dist/:
#   pendrel-V-x64.zip, pendrel-V-x86.zip  pendrel.exe, README.txt, LICENSE.txt
#   pendrel-V-setup.exe                   the per-user installer of the x64 program
#                                         (a 32-bit program that runs on every Windows)
#   SHA256SUMS                            one line per file above
#   winget/LucienGarrow.Pendrel*.yaml     the winget manifest, in three files
#   bucket/pendrel.json                   the Scoop bucket's manifest
# and build/release-stage/pendrel-V-setup-x64.exe, the setup's 64-bit twin for
# Wine's tests (Wine here runs no 32-bit program), which is not published.
# V is the project's version (CMakeLists.txt); the publisher, description and
# copyright are those of the program's resources. Runs on Debian as root (or
# with sudo) and installs what it lacks.
#   tools/release.sh [--publish] [--base-url URL] [--homepage URL] [--support-url URL] [--license-url URL]
# --base-url is where the files will be downloaded from (the release's page of
# the forge, naming the version), --homepage the project's page; support and
# licence default to the homepage. Without them the build is a local one whose
# manifests are not for publishing; --publish refuses (exit 1) to make a
# release without public https addresses.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

addresses=()
while [ $# -gt 0 ]; do
    case "$1" in
        --publish) addresses+=("$1"); shift ;;
        --base-url | --homepage | --support-url | --license-url) addresses+=("$1" "${2:?$1 needs a URL}"); shift 2 ;;
        --base-url=* | --homepage=* | --support-url=* | --license-url=*) addresses+=("$1"); shift ;;
        *) echo "usage: $0 [--publish] [--base-url URL] [--homepage URL] [--support-url URL] [--license-url URL]" >&2
           exit 2 ;;
    esac
done

die() { echo "release: $*" >&2; exit 1; }

"$root/tools/install-deps.sh" release
# The release's date is its commit's, so that the same commit makes the same manifests.
release_date=$(git -C "$root" log -1 --format=%cs 2>/dev/null || date -u +%F)
manifests=(python3 "$root/tools/release_manifests.py" "${addresses[@]}" --release-date "$release_date")
"${manifests[@]}" check || exit 1
version=$(sed -n 's/^project(Pendrel VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "no X.Y.Z project version in CMakeLists.txt"

# The same configuration as the test command's, so that the builds it tested are the ones packed here.
for preset in mingw-x86_64 mingw-i686; do
    cmake --preset "$preset" -DPENDREL_WERROR=ON >/dev/null || die "$preset configure"
    cmake --build --preset "$preset" -j2 --target pendrel || die "$preset build"
done

dist="$root/dist"
stage="$root/build/release-stage"
rm -rf "$dist" "$stage"
mkdir -p "$dist" "$stage"
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
"${manifests[@]}" nsis "$stage/release.nsh"
setup_of() {  # setup_of OUTFILE [makensis options]
    local out=$1
    shift
    makensis -V2 -DINFO="$stage/release.nsh" -DSOURCE="$root" -DEXE="$stage/x64/pendrel.exe" \
        -DREADME="$stage/README.txt" -DLICENSE="$stage/LICENSE.txt" -DOUTFILE="$out" "$@" packaging/pendrel.nsi ||
        die "makensis $out"
}
setup_of "$dist/$setup"
setup_of "$stage/pendrel-$version-setup-x64.exe" -DSTUB=amd64-unicode

x64_zip="pendrel-$version-x64.zip"
x86_zip="pendrel-$version-x86.zip"
(cd "$dist" && sha256sum "$x64_zip" "$x86_zip" "$setup" >SHA256SUMS)
"${manifests[@]}" manifests "$dist" || die "the manifests"

python3 "$root/tests/release/check_release.py" "$dist" || die "the files written do not hold together"
echo "release $version written to dist/:"
(cd "$dist" && find . -type f | sort | sed 's|^\./|  |')
"${manifests[@]}" check
