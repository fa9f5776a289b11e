#!/usr/bin/env bash
# A program deeper than MAX_PATH must still find its own path whole. Windows programs cannot start
# one there under Wine (CreateProcess stops at MAX_PATH), so Wine's loader starts it from here.
#   long-path.sh PROBE.EXE WORKDIR
set -euo pipefail
probe=$1
deep="$2/long path"
rm -rf "$2/long path"
while [ ${#deep} -lt 400 ]; do deep="$deep/a directory with a long name"; done
mkdir -p "$deep"
cp "$probe" "$deep/probe.exe"
trap 'rm -rf "$2/long path"' EXIT

windows="Z:${deep//\//\\}"
mapfile -t lines < <(wine "$deep/probe.exe" | tr -d '\r' | sed 's/\\x5C/\\/g')
status=0
check() {
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAILED: $1"; echo "  got:      $2"; echo "  expected: $3"; status=1
    fi
}
check "path longer than MAX_PATH" "${lines[0]:-}" "$windows\\probe.exe"
check "its directory" "${lines[1]:-}" "$windows\\"
exit $status
