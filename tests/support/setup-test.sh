#!/usr/bin/env bash
# scripts/setup.sh's choices, with stand-ins for apt-get, dpkg, dpkg-query and sudo on the PATH: what
# it says and how it ends when a package list, 32-bit Wine or the 64-bit set cannot be had.
#   setup-test.sh SETUP
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/scripts"
cp "$setup" "$work/scripts/setup.sh"

# INSTALLED: "all", "64" (all but 32-bit Wine) or "none"; FAIL: the steps that fail ("update",
# "i386", "amd64": an install that asks for an i386 package or for any other).
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
eval "package=\${$#}"
case "$INSTALLED:$package" in
    all:*) echo "install ok installed" ;;
    64:*:i386) exit 1 ;;
    64:*) echo "install ok installed" ;;
    *) exit 1 ;;
esac
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
case "$*" in
    *update*) [[ $FAIL != *update* ]] ;;
    *:i386*) [[ $FAIL != *i386* ]] ;;
    *) [[ $FAIL != *amd64* ]] ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

failed=0
check() {
    local what=$1 installed=$2 fail=$3 status=$4 expected=$5 output actual
    output=$(INSTALLED=$installed FAIL=$fail PATH="$work/bin:$PATH" bash "$work/scripts/setup.sh" 2>&1)
    actual=$?
    if [ "$actual" != "$status" ] || [ "$(printf '%s' "$output" | grep -c '')" != "$(printf '%s' "$expected" | grep -c '')" ] ||
        [[ "$output" != $expected ]]; then
        echo "FAILED: $what: status $actual, output: ${output:-<none>}"
        failed=$((failed + 1))
    else
        echo "ok: $what"
    fi
}
check "everything there: silent" all "" 0 ""
installing="setup: installing cmake ninja-build *"$'\n'
check "everything installs" none "" 0 "setup: installing cmake *"
check "a package list fails to download" none update 0 \
    "$installing""setup: some package lists could not be downloaded (see $work/build/setup.log); *"
check "32-bit Wine cannot be installed" 64 "update i386" 0 "setup: installing wine32:i386 wine32-preloader:i386"$'\n'\
"setup: some package lists*"$'\n'"setup: 32-bit Wine (wine32:i386 wine32-preloader:i386) could not be installed*"
check "the 64-bit set cannot be installed" none amd64 1 "$installing""setup: could not install cmake ninja-build *"
exit "$failed"
