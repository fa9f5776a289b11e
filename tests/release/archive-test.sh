#!/usr/bin/env bash
# Makes the release archive as `make package` does without signing, checks what it holds and that
# nothing in it depends on the build, checks the programs against its SHA256SUMS with sha256sum,
# unpacks it into a fresh folder whose path has blanks and runs archive_tests.exe there against one
# pair: x64, the 64-bit pair, or x86, the 32-bit one. MAKE_RELEASE... is make-release.py's command
# line without its --output.
#   archive-test.sh SOURCE_DIR BUILD_DIR ARCHIVE_TESTS_EXE x64|x86 MAKE_RELEASE...
set -euo pipefail
source=$1
build=$2
tests_exe=$3
pair=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)

output="$build/release test/$pair"
rm -rf "$output"
env -u SIGN_PKCS12 -u SIGN_PASSWORD_FILE -u SIGN_TIMESTAMP_URL "$@" --output "$output" >/dev/null
archive=$(ls "$output"/Tollvey-*-win32.zip)
echo "archive: $archive ($(stat -c %s "$archive") bytes)"

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}
pages=$(for page in using deploying checking security changes; do echo "docs/$page.html docs/$page.txt"; done)
programs="Tollvey.exe TollveyCheck.exe TollveyCmd.exe TollveyDeploy.exe"
# shellcheck disable=SC2046,SC2086 # the names hold no blanks
python3 "$here/check_archive.py" "$archive" --epoch "$epoch" LICENSE SHA256SUMS docs/dialog.png index.html \
    $pages $programs $(for program in $programs; do echo "x64/$program"; done)

target="$output/unpacked here"
rm -rf "$target"
mkdir -p "$target"
unzip -q "$archive" -d "$target"
folder=$(ls -d "$target"/Tollvey-*-win32)
(cd "$folder" && sha256sum --check --strict SHA256SUMS)
# Every link and anchor of the unpacked pages resolves there, offline.
python3 "$source/tests/docs/check_docs.py" "$source" "$folder"

export TOLLVEY_UNPACKED="Z:$(echo "$folder" | tr / '\\')" TOLLVEY_PAIR=$pair
wine "$tests_exe"
