#!/usr/bin/env bash
# Whether this host runs 32-bit Wine: starts Wine's 32-bit loader once. Some kernels cannot execute
# 32-bit Linux programs at all (built without IA32 emulation, or booted with ia32_emulation=0), and
# Debian's Wine 8 needs that loader for every 32-bit Windows program; its 64-bit side works there.
# Exits 0, silently, when the loader starts; otherwise prints one line saying why, and exits 1.
#   wine32-probe.sh         TOLLVEY_WINE32_LOADER names the loader to try (by default Debian's)
set -uo pipefail
loader=${TOLLVEY_WINE32_LOADER:-/usr/lib/wine/wine}
errors=$(timeout 20 "$loader" --version 2>&1 >/dev/null </dev/null)
status=$?
[ "$status" -eq 0 ] && exit 0
why=$(printf '%s\n' "$errors" | grep -av '^$' | tail -n 1)
echo "This host cannot run 32-bit Wine (${why:-$loader exited with status $status}): 32-bit Windows programs are not run here."
exit 1
