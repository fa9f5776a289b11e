#!/usr/bin/env bash
# Installs from Debian's packages everything the build and the tests need, skipping what is there.
# The 64-bit set is required: set-up fails, naming it, when it cannot be installed. 32-bit Wine is
# installed when it can be: a mirror whose i386 list is out of step makes it uninstallable, and then
# the tests that need it are skipped (scripts/wine32-probe.sh). Safe to run again, silent when all is
# there; apt's own output goes to build/setup.log. Uses sudo only when not root.
set -euo pipefail

required=(
    cmake ninja-build make g++ python3 python3-pefile
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine64 fonts-wine
    # Without its preloader Wine reserves its fixed regions only after Linux has laid out the
    # loader's own memory, which now and then takes one of them: a start then fails with "failed
    # to map the shared user data" and exit status 1 (seen about once in 2,000 starts).
    wine64-preloader
    xvfb xdotool imagemagick
    googletest
    clang lld libclang-rt-14-dev
    valgrind
    zip unzip
    git osslsigncode openssl
    # The release's pages, made from the Markdown.
    pandoc
    # The Windows Installer packages: wixl builds them, libmsi (through Python) sets what wixl
    # leaves to chance, msitools' msiinfo and msiextract read them back in the tests.
    wixl msitools gir1.2-libmsi-1.0 python3-gi
)
wine32=(wine32:i386 wine32-preloader:i386)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing() {
    local package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] || echo "$package"
    done
}

mapfile -t missing_required < <(missing "${required[@]}")
mapfile -t missing_wine32 < <(missing "${wine32[@]}")
[ ${#missing_required[@]} -eq 0 ] && [ ${#missing_wine32[@]} -eq 0 ] && exit 0

log="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/setup.log"
mkdir -p "$(dirname "$log")"
: >"$log"
install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" >>"$log" 2>&1
}

all=("${missing_required[@]}" "${missing_wine32[@]}")
echo "setup: installing ${all[*]}"
if [ ${#missing_wine32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi
# A list that fails to download (a mirror in the middle of a sync) need not stop anything: the
# install says whether what is needed can still be had.
if ! as_root apt-get update -q >>"$log" 2>&1; then
    echo "setup: some package lists could not be downloaded (see $log); installing from what there is"
fi
if [ ${#missing_required[@]} -gt 0 ] && ! install "${missing_required[@]}"; then
    echo "setup: could not install ${missing_required[*]} (see $log)" >&2
    exit 1
fi
if [ ${#missing_wine32[@]} -gt 0 ] && ! install "${missing_wine32[@]}"; then
    echo "setup: 32-bit Wine (${missing_wine32[*]}) could not be installed (see $log); its tests will be skipped"
fi
