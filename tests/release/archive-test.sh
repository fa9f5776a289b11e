#!/usr/bin/env bash
# Makes the release archive as `make package` does without signing, checks what it holds and that
# nothing in it depends on the build, checks the programs against its SHA256SUMS with sha256sum,
# unpacks it into a fresh folder whose path has blanks and runs archive_tests.exe there against one
# pair: x64, the 64-bit pair with the deployment script, or x86, the 32-bit pair with the deployment
# script in a 32-bit cmd; each beside the pair's Windows Installer package, made with the archive.
# MAKE_RELEASE... is make-release.py's command line without its --output.
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
# shellcheck disable=SC2086 # the pages' names hold no blanks
python3 "$here/check_archive.py" "$archive" --epoch "$epoch" \
    LICENSE SHA256SUMS Tollvey.exe TollveyCheck.exe TollveyCmd.exe docs/deploy.cmd docs/dialog.png index.html \
    $pages x64/Tollvey.exe x64/TollveyCheck.exe x64/TollveyCmd.exe

target="$output/unpacked here"
rm -rf "$target"
mkdir -p "$target"
unzip -q "$archive" -d "$target"
folder=$(ls -d "$target"/Tollvey-*-win32)
(cd "$folder" && sha256sum --check --strict SHA256SUMS)
# Every link and anchor of the unpacked pages resolves there, offline.
python3 "$source/tests/docs/check_docs.py" "$source" "$folder"

# The deployment script chooses its pair itself; run by a 32-bit cmd it needs 32-bit Wine, as x86 does.
tests=ArchiveTest.*:DeployScriptTest.*
[ "$pair" = x64 ] || tests=ArchiveTest.*:DeployScriptIn32BitCmdTest.*
package=$(ls "$output"/Tollvey-*-"$pair".msi)
export TOLLVEY_UNPACKED="Z:$(echo "$folder" | tr / '\\')" TOLLVEY_PAIR=$pair
export TOLLVEY_PACKAGE="Z:$(echo "$package" | tr / '\\')"
wine "$tests_exe" --gtest_filter="$tests"

# Wine 8's cmd reads a batch file in the OEM code page whatever the script switches to, so the run
# above sees the script refuse its UTF-8 value. In a Hindi locale that code page is UTF-8: the value
# must then be stored as written.
if [ "$pair" = x64 ]; then
    LC_ALL=hi_IN.UTF-8 TOLLVEY_CMD_READS_UTF8=1 wine "$tests_exe" \
        --gtest_filter='DeployScriptTest.FromAShareFolderItStoresEachValueAsWrittenOrRefusesBeforeWritingAnything'
fi

# A link where the log's folder was: Wine shows a Unix symbolic link as a reparse point, and its
# Windows programs cannot make one. The script made and marked the folder, which then became a link:
# it must write nothing through it, and say so.
if [ "$pair" = x64 ]; then
    script="Z:$(echo "$folder/docs/deploy.cmd" | tr / '\\')" log_folder="$WINEPREFIX/drive_c/ProgramData/Tollvey"
    wine cmd /c "$script" >/dev/null 2>&1 || true
    rm -rf "$log_folder" "$output/elsewhere" && mkdir "$output/elsewhere" && ln -s "$output/elsewhere" "$log_folder"
    said=$(wine cmd /c "$script" 2>&1 || true)
    wine cmd /c "$script" off >/dev/null 2>&1 || true
    rm -f "$log_folder" && wine reg delete 'HKLM\SOFTWARE\Tollvey' /f /reg:64 >/dev/null 2>&1 || true
    if [ -n "$(ls -A "$output/elsewhere")" ] || [[ $said != *"keeps no log: C:\\ProgramData\\Tollvey is a link"* ]]; then
        echo "FAILED: a link as the log's folder: written through: $(ls -A "$output/elsewhere"); said: $said"
        exit 1
    fi
fi
