#!/usr/bin/env bash
# Rehearses a host that cannot install 32-bit Wine, on one that may have it: in a private mount
# namespace, Wine's 32-bit loader, preloader, server and i386 libraries are covered, and build/ is
# build/without-wine32 with its Wine prefixes made anew, so that 64-bit Wine makes them alone, as it
# does there (no WoW64 half: Wow6432Node holds almost nothing). Then the probe, every build and test
# (make test) and the main job (./tollveycmd). Needs root, as CI has.
#   without-wine32.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${TOLLVEY_WITHOUT_WINE32:-}" != inside ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "without-wine32: needs root, for a private mount namespace (unshare --mount)" >&2
        exit 2
    fi
    TOLLVEY_WITHOUT_WINE32=inside exec unshare --mount --propagation private "$0" "$@"
fi

cover=$(mktemp -d)
hidden=()
# What covers a path is a mount point until it is unmounted, and cannot be removed before.
cleanup() {
    for path in "${hidden[@]}"; do umount "$path" 2>/dev/null || true; done
    rm -rf "$cover"
}
trap cleanup EXIT
touch "$cover/file"
mkdir "$cover/folder"
for path in /usr/lib/wine/wine /usr/lib/wine/wine-preloader /usr/lib/wine/wine-preloader.static \
    /usr/lib/i386-linux-gnu/wine; do
    if [ -d "$path" ]; then
        mount --bind "$cover/folder" "$path"
    elif [ -e "$path" ]; then
        # Not executable: an empty file that is would be run by the shell as an empty script.
        mount --bind "$cover/file" "$path"
    else
        continue
    fi
    hidden+=("$path")
done
# Where the wineserver alternative is the 32-bit server, the 64-bit one stands in its place, as
# the alternative is on a host without it.
if [ -e /usr/lib/wine/wineserver32 ]; then
    mount --bind /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32
    hidden+=(/usr/lib/wine/wineserver32)
fi
echo "without-wine32: covered ${hidden[*]:-nothing: this host has no 32-bit Wine}"

mkdir -p "$root/build/without-wine32"
mount --bind "$root/build/without-wine32" "$root/build"
rm -rf "$root"/build/*/wineprefix* "$root/build/prefix-main"

cd "$root"
if why=$(scripts/wine32-probe.sh); then
    echo "without-wine32: 32-bit Wine still runs; nothing here is rehearsed" >&2
    exit 1
fi
echo "without-wine32: $why"
make test
./tollveycmd -u=alice -p=secret -d=WORKGROUP
echo "without-wine32: passed"
