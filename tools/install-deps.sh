#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing Pendrel needs,
# when some are missing. Only 64-bit Wine: no i386 architecture, no wine32.
#   tools/install-deps.sh test   everything tools/test-all.sh uses
#   tools/install-deps.sh run    what tools/run.sh uses
#   tools/install-deps.sh release  what tools/release.sh uses
set -euo pipefail

RUN_PACKAGES=(cmake ninja-build python3 googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool x11-utils imagemagick)
RELEASE_PACKAGES=(cmake ninja-build python3 python3-yaml googletest g++-mingw-w64-x86-64-posix
    g++-mingw-w64-i686-posix nsis zip)
TEST_PACKAGES=("${RUN_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}" clang libclang-rt-14-dev
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)

case "${1:-test}" in
    run) wanted=("${RUN_PACKAGES[@]}") ;;
    test) wanted=("${TEST_PACKAGES[@]}") ;;
    release) wanted=("${RELEASE_PACKAGES[@]}") ;;
    *) echo "usage: $0 [test|run|release]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "missing packages and no root rights: apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
timeout 900 "${sudo[@]}" apt-get update -qq
timeout 1800 "${sudo[@]}" apt-get install -y -qq "${missing[@]}" </dev/null
