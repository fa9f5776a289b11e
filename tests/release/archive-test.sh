#!/usr/bin/env bash
# Makes the release archive, checks what it holds, unpacks it into a fresh folder whose path has
# blanks and runs archive_tests.exe against the programs found there.
#   archive-test.sh BUILD_DIR ARCHIVE_TESTS_EXE
set -euo pipefail
build=$1
tests_exe=$2

cd "$build"
cpack -G ZIP --config CPackConfig.cmake >cpack.log 2>&1 || { cat cpack.log; exit 1; }
archive=$(ls release/Tollvey-*-win32.zip)
echo "archive: $archive ($(stat -c %s "$archive") bytes)"

expected="LICENSE README.md Tollvey.exe TollveyCmd.exe docs/dialog.png"
listed=$(unzip -Z1 "$archive" | grep -v '/$' | sed 's|^[^/]*/||' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$listed" != "$expected" ]; then
    echo "archive holds: $listed"
    echo "expected:      $expected"
    exit 1
fi

target="$build/release test/unpacked here"
rm -rf "$target"
mkdir -p "$target"
unzip -q "$archive" -d "$target"
folder=$(ls -d "$target"/Tollvey-*-win32)

TOLLVEY_UNPACKED="Z:$(echo "$folder" | tr / '\\')" wine "$tests_exe"
