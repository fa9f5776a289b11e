#!/usr/bin/env bash
# Builds both pairs of programs and the release archive a second time, from a fresh clone of the
# commit under test in a folder whose path has a blank, and compares them byte for byte with this
# build's (the 64-bit build, which makes the archive; the 32-bit pair is the win32 preset's).
# Uncommitted changes to tracked files go into the clone too, so that it builds what this build did.
#   reproducible-test.sh SOURCE_DIR BUILD_DIR DISPLAY_NUMBER
set -euo pipefail
source=$1
build=$2
display=$3
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
cmake --build "$build" --target release >"$log" 2>&1 || fail "this build's archive could not be made"
(cd "$second" && cmake --preset win64 -DTOLLVEY_DISPLAY="$display" && cmake --build --preset win64 --target release) \
    >>"$log" 2>&1 || fail "the second build failed"

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
for pair in win32 win64; do
    for program in TollveyCmd.exe Tollvey.exe TollveyCheck.exe; do
        compare "$pair/$program" "$source/build/$pair/bin/$program" "$second/build/$pair/bin/$program"
    done
done
archive=$(cd "$build/release" && ls Tollvey-*-win32.zip)
compare "$archive" "$build/release/$archive" "$second/build/win64/release/$archive"

if [ "$status" -eq 0 ]; then
    rm -rf "$root"
else
    echo "both builds are kept under $root and $build"
fi
exit "$status"
