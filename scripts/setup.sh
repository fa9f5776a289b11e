#!/usr/bin/env bash
# Installs from Debian's packages everything the build and the tests need, skipping what is there.
# Safe to run again; uses sudo only when not root.
set -euo pipefail

packages=(
    cmake ninja-build make g++ python3 python3-pefile
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine64 wine32:i386 fonts-wine
    # Without its preloader Wine reserves its fixed regions only after Linux has laid out the
    # loader's own memory, which now and then takes one of them: a start then fails with "failed
    # to map the shared user data" and exit status 1 (seen about once in 2,000 starts).
    wine64-preloader wine32-preloader:i386
    xvfb xdotool imagemagick
    googletest
    clang lld libclang-rt-14-dev
    valgrind
    zip unzip
    git osslsigncode openssl
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
