#!/usr/bin/env bash
# Table test of apt_mirrors over a made-up apt configuration: a .sources file
# and a sources.list with comments, options, several suites, a disabled entry,
# source-only entries and other distributions' suites.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../packaging/apt-mirrors.sh"
APT_ROOT=$(mktemp -d)
trap 'rm -rf "$APT_ROOT"' EXIT
export APT_ROOT
mkdir -p "$APT_ROOT/etc/apt/sources.list.d"
cat >"$APT_ROOT/etc/apt/sources.list" <<'LIST'
# deb file:/srv/commented/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/a.gpg] file:/srv/list/debian bookworm main contrib
deb-src file:/srv/list/debian bookworm main
deb file:/srv/list/debian bullseye main
deb file:/srv/list/debian-security bookworm-security main # security
LIST
cat >"$APT_ROOT/etc/apt/sources.list.d/debian.sources" <<'SOURCES'
Types: deb deb-src
# a comment inside the paragraph
URIs: file:/srv/mirror/debian
 file:/srv/second/debian
Suites: bookworm bookworm-updates sid
Components: main

Types: deb
URIs: file:/srv/off/debian
Suites: bookworm
Enabled: no

Types: deb-src
URIs: file:/srv/srconly/debian
Suites: bookworm

Types: deb
URIs: file:/srv/vendor/apt
Suites: cloud-sdk-bookworm nodistro
SOURCES

failures=0
passes=0
check() {
    local name=$1 expected=$2 actual
    shift 2
    actual=$("$@" 2>/dev/null) || true
    if [ "$actual" = "$expected" ]; then
        echo "PASS: $name"; passes=$((passes + 1))
    else
        echo "FAIL: $name"; echo " expected: $expected"; echo " actual:   $actual"
        failures=$((failures + 1))
    fi
}
check "bookworm and its updates and security suites" "deb file:/srv/list/debian bookworm main
deb file:/srv/list/debian-security bookworm-security main
deb file:/srv/mirror/debian bookworm main
deb file:/srv/mirror/debian bookworm-updates main
deb file:/srv/second/debian bookworm main
deb file:/srv/second/debian bookworm-updates main" \
    apt_mirrors deb bookworm bookworm-updates bookworm-security
check "the same mirrors as source lines" "deb-src file:/srv/list/debian bookworm main
deb-src file:/srv/mirror/debian bookworm main
deb-src file:/srv/second/debian bookworm main" \
    apt_mirrors deb-src bookworm
check "a suite nobody names" "" apt_mirrors deb trixie
check "no Debian entry fails" "" apt_mirrors_or_fail deb trixie
if apt_mirrors_or_fail deb trixie 2>/dev/null; then
    echo "FAIL: no Debian entry is not a failure"; failures=$((failures + 1))
else
    passes=$((passes + 1))
fi
message=$(apt_mirrors_or_fail deb trixie 2>&1 >/dev/null || true)
case $message in
*trixie*"$APT_ROOT/etc/apt/sources.list"*) echo "PASS: the message says what was looked for"; passes=$((passes + 1)) ;;
*) echo "FAIL: message: $message"; failures=$((failures + 1)) ;;
esac
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
