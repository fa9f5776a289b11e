#!/usr/bin/env bash
# Builds both pairs of programs, the release archive and both Windows Installer packages a second
# time, from a fresh clone of the commit under test in a folder whose path has a blank, with make
# release, and compares them byte for byte with these builds' (the win32 and win64 presets', their
# release made by MAKE_RELEASE..., make-release.py's command line without its --output).
# Uncommitted changes to tracked files go into the clone too, so that it builds what these builds
# did.
#   reproducible-test.sh SOURCE_DIR PAIR32_BUILD_DIR BUILD_DIR MAKE_RELEASE...
set -euo pipefail
source=$1
build32=$2
build=$3
shift 3
root="$build/reproducible"
second="$root/second build/src"
log="$root/build.log"
unset SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL

rm -rf "$root"
mkdir -p "$(dirname "$second")"
git clone -q --no-checkout "$source" "$second"
git -C "$second" checkout -q --detach "$(git -C "$source" rev-parse HEAD)"
if ! git -C "$source" diff --quiet HEAD; then
    echo "the checkout has uncommitted changes: the clone gets them too"
    git -C "$source" diff --binary HEAD | git -C "$second" apply --whitespace=nowarn
fi

fail() {
    echo "$1; the last lines of $log:"
    tail -n 40 "$log"
    untracked=$(git -C "$source" ls-files --others --exclude-standard)
    [ -z "$untracked" ] || echo "files git does not track are not in the clone: $untracked"
    exit 1
}
"$@" --output "$root/first" >"$log" 2>&1 || fail "these builds' archive could not be made"
# A make of its own, not a part of whichever make runs this test.
env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$second" release >>"$log" 2>&1 || fail "the second build failed"

status=0
compare() {
    local first second_hash first_hash
    first_hash=$(sha256sum <"$2" | cut -d' ' -f1)
    second_hash=$(sha256sum <"$3" | cut -d' ' -f1)
    if [ "$first_hash" = "$second_hash" ]; then
        echo "same       $1"
    else
        echo "DIFFERENT  $1"
        status=1
    fi
    echo "  $first_hash  $2"
    echo "  $second_hash  $3"
}
# Every program each build ships, as its release-pair.txt names them.
while IFS=$'\t' read -r kind program _; do
    [ "$kind" = program ] || continue
    compare "win32/$program" "$build32/bin/$program" "$second/build/win32/bin/$program"
    compare "win64/$program" "$build/bin/$program" "$second/build/win64/bin/$program"
done <"$build/release-pair.txt"
for made in $(cd "$root/first" && ls Tollvey-*-win32.zip Tollvey-*-x64.msi Tollvey-*-x86.msi SHA256SUMS); do
    compare "$made" "$root/first/$made" "$second/build/release/$made"
done

if [ "$status" -eq 0 ]; then
    rm -rf "$root"
else
    echo "both builds are kept under $root and $build"
fi
exit "$status"
