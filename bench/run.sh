#!/usr/bin/env bash
# Whole-run cost of TollveyCmd.exe, TollveyCheck.exe and TollveyDeploy.exe under Wine, in one prefix
# with one persistent wineserver: an acting run (five registry writes), a check of what it wrote (the
# prefix's own account, looked up and asked for its state) and a deployment (from a folder of its
# own with a TollveyDeploy.ini for that account: it writes, checks, records, logs and reports an
# event) against an empty program's start, and the acting run against the same five writes done
# with Wine's reg.exe, interleaved; then each executable's size and imports.
# The empty program is built for the same processor as TollveyCmd.exe, by MinGW-w64's compiler.
#   bench/run.sh [BUILD_DIR] [ROUNDS]     (defaults: build/win32, 21; build/win64 for the 64-bit pair)
# Not a test: it prints figures and exits 0 whatever they are.
set -euo pipefail
set -E
# Every run's output goes to /dev/null, so a step that fails says which it was here.
trap 'echo "bench: failed (status $?): $BASH_COMMAND" >&2' ERR
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
rounds=${2:-21}
cmd_exe="$build/bin/TollveyCmd.exe"
[ -f "$cmd_exe" ] || { echo "no $cmd_exe: build its preset first" >&2; exit 1; }
# The processor is the one in TollveyCmd.exe's PE header.
pe_header=$(od -An -tu4 -j60 -N4 "$cmd_exe" | tr -d ' ')
case $(od -An -tx2 -j$((pe_header + 4)) -N2 "$cmd_exe" | tr -d ' ') in
8664) target=x86_64-w64-mingw32 ;;
*) target=i686-w64-mingw32 ;;
esac
cc=$target-gcc-posix
system32=syswow64
if [ "$target" = x86_64-w64-mingw32 ]; then
    # The 64-bit pair runs on Wine's 64-bit side alone, as on a host without 32-bit support.
    export PATH="$root/scripts/wine64:$PATH"
    system32=system32
elif ! why=$("$root/scripts/wine32-probe.sh"); then
    echo "$why" >&2
    exit 1
fi

work=$(mktemp -d)
export WINEPREFIX="$root/build/prefix-bench-$target"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v Tollvey /f /reg:64 \
        >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

"$cc" -Os -s -o "$work/empty.exe" "$root/bench/empty.c"
if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
    echo "making the benchmark's Wine prefix $WINEPREFIX (once)"
    wineboot --init >/dev/null 2>&1 </dev/null
fi
wineserver -p >/dev/null 2>&1 </dev/null || true
wine cmd /c exit >/dev/null 2>&1 </dev/null

winlogon='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
# The one account Wine knows, on this computer, so that the check looks it up and asks its state.
user=$(wine cmd /c echo %USERNAME% </dev/null | tr -d '\r')
computer=$(wine cmd /c echo %COMPUTERNAME% </dev/null | tr -d '\r')
run_tollvey() { wine "$cmd_exe" "-u=$user" -p=secret "-d=$computer" >/dev/null; }
run_check() { wine "$build/bin/TollveyCheck.exe" >/dev/null || true; }
# Its status tells whether this version was recorded before, or what stopped it: a figure either way.
run_deploy() { wine "$work/TollveyDeploy/TollveyDeploy.exe" >/dev/null || true; }
run_empty() { wine "$work/empty.exe" >/dev/null; }
run_reg() {
    wine reg add "$winlogon" /v AutoAdminLogon /t REG_SZ /d 1 /f /reg:64 >/dev/null
    wine reg add "$winlogon" /v DefaultUserName /t REG_SZ /d "$user" /f /reg:64 >/dev/null
    wine reg add "$winlogon" /v DefaultPassword /t REG_SZ /d secret /f /reg:64 >/dev/null
    wine reg add "$winlogon" /v DefaultDomainName /t REG_SZ /d "$computer" /f /reg:64 >/dev/null
    wine reg add "$runonce" /v Tollvey /t REG_SZ /d "C:\\Tollvey.exe -u=$user -p=secret -d$computer" \
        /f /reg:64 >/dev/null
}

# Milliseconds, to a tenth.
time_once() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 100000))
}
median() { sort -n | awk '{ a[NR] = $1 } END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m / 10 }'; }

mkdir "$work/TollveyDeploy"
cp "$build/bin/TollveyDeploy.exe" "$work/TollveyDeploy/"
printf '%s\r\n' "user=$user" password=secret version=1 >"$work/TollveyDeploy/TollveyDeploy.ini"

names=(tollvey check deploy empty)
for name in "${names[@]}" reg; do "run_$name"; done # warm every path once
# A whole deployment ends with 3010 (this version recorded now) or 0 (recorded before); Wine hands
# Linux the low 8 bits of a status, 3010 as 194.
status=0
said=$(wine "$work/TollveyDeploy/TollveyDeploy.exe" 2>&1 </dev/null) || status=$?
case $status in
0 | 194) ;;
*) echo "TollveyDeploy.exe ends with status $status, so its figure is not a whole deployment's: $(tail -n 1 <<<"$said")" ;;
esac
for name in "${names[@]}" reg; do : >"$work/$name"; done
# Whatever runs just after reg.exe pays for part of its wind-down (some 2 ms here), so the acting
# run, the check, the deployment and the empty program take turns at following it.
for round in $(seq "$rounds"); do
    first=$((round % ${#names[@]}))
    order=(reg "${names[@]:first}" "${names[@]:0:first}")
    for name in "${order[@]}"; do time_once "run_$name" >>"$work/$name"; done
done

tollvey=$(median <"$work/tollvey")
check=$(median <"$work/check")
deploy=$(median <"$work/deploy")
empty=$(median <"$work/empty")
reg=$(median <"$work/reg")
echo "medians over $rounds interleaved rounds (ms):"
printf '  %-44s %8s\n' "TollveyCmd.exe acting run (5 writes)" "$tollvey" "TollveyCheck.exe, an account looked up" "$check" \
    "TollveyDeploy.exe, a whole deployment" "$deploy" "empty program" "$empty" "reg.exe, the same 5 writes" "$reg"
awk -v t="$tollvey" -v c="$check" -v d="$deploy" -v e="$empty" -v r="$reg" 'BEGIN {
    printf "ratios:\n  acting run / empty program   %6.2f   (goal: at most 1.2)\n", t / e
    printf "  check / empty program        %6.2f   (goal: at most 1.3)\n", c / e
    printf "  deployment / empty program   %6.2f   (goal: at most 1.5)\n", d / e
    printf "  reg.exe sequence / acting run %6.2f   (goal: at least 8)\n", r / t }'

echo "executables ($target):"
for exe in "$cmd_exe" "$build/bin/Tollvey.exe" "$build/bin/TollveyCheck.exe" "$build/bin/TollveyDeploy.exe" \
    "$work/empty.exe" "$WINEPREFIX/drive_c/windows/$system32/reg.exe"; do
    [ -f "$exe" ] || continue
    imports=$("$target-objdump" -p "$exe" 2>/dev/null | awk '/DLL Name:/ { print $3 }' | sort -u | paste -sd' ')
    printf '  %-17s %7d bytes  imports: %s\n' "$(basename "$exe")" "$(stat -c %s "$exe")" "${imports:-?}"
done
# The budgets are kept by the build (TOLLVEY_SIZE_BUDGET), which writes them here.
while read -r name budget; do
    size=$(stat -c %s "$build/bin/$name")
    echo "$name: $size bytes of at most $budget ($([ "$size" -le "$budget" ] && echo within || echo OVER) budget)"
done <"$build/size-budgets.txt"
