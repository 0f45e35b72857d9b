#!/usr/bin/env bash
# Tries the packages as a school's technician would, inside throwaway
# Debian 12 systems that it makes itself (mmdebstrap, from Debian's packages)
# in a temporary folder and removes again. The machine it runs on is only
# read: nothing is installed there but mmdebstrap itself when it is missing,
# and /opt/tropinets, with whatever pupils saved there, stays as it is.
#
#   sudo packaging/test-package.sh [OLD.deb]
#
# In a build system, from a fresh clone of this repository, ./package.sh
# builds the packages twice, in two folders at two times, and the checksums
# must agree; lintian, rpmlint, AppStream, the desktop entry and the manual
# pages check them. In a fresh system, OLD.deb (without it, the new .deb
# marked as an older version) is installed, a pupil saves a story, a sample
# is spoilt, and the new .deb upgrades it. Two pupils of one group then start
# the program on an X display, one saves stories with umask 022 and 002 and
# the other tries to change them; last the package is purged. .ci/run does
# not run it: it takes a quarter of an hour and Debian's package servers,
# which it reaches through the mirrors this machine's apt configuration names.
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
old_deb=${1:+$(realpath "$1")}
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi
export LC_ALL=C.UTF-8
suite=bookworm
source "$source_dir/packaging/apt-mirrors.sh"
# The throwaway systems reach Debian as this machine does.
mirror_lines=$(apt_mirrors_or_fail deb "$suite" "$suite-updates" "$suite-security")
mapfile -t mirrors <<<"$mirror_lines"

if ! command -v mmdebstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap
fi

# What pupils keep in /opt/tropinets on this machine, to the byte, with the
# files' modes, owners and times.
pupils_files() {
    if [ -d /opt/tropinets/Рассказы ]; then
        (cd /opt/tropinets/Рассказы && find . -printf '%p %M %u %g %T@\n' | sort &&
            find . -type f -print0 | sort -z | xargs -0r sha256sum)
    else
        echo "no /opt/tropinets/Рассказы"
    fi
}
host_before=$(pupils_files)

work=$(mktemp -d /tmp/tropinets-package-test.XXXXXX)
# Nothing is mounted under $work outside the namespaces of in_system, so
# removing it cannot reach beyond it.
trap 'rm -rf --one-file-system "$work"' EXIT

# Runs a command in a system with its own /proc, in a mount namespace of its
# own, so the mount goes with the command and never shows on this machine.
in_system() {
    local root=$1
    shift
    unshare --mount --propagation private -- sh -c \
        'mount -t proc proc "$1/proc" && root=$1 && shift && exec chroot "$root" "$@"' \
        sh "$root" "$@"
}

echo "== Making a fresh Debian 12 system"
mmdebstrap --quiet --variant=apt --include=ca-certificates "$suite" "$work/fresh" \
    "${mirrors[@]}"
cp -a "$work/fresh" "$work/build"

echo "== Building the packages from a fresh clone, twice"
git clone -q --no-local "$source_dir" "$work/build/src/first"
cp "$source_dir/packaging/test-package-build.sh" "$work/build/src/"
in_system "$work/build" bash /src/test-package-build.sh 2>&1 | tee "$work/build.log"
version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
new_deb=$(ls "$work"/build/src/out-first/deb/tropinets_"$version"_*.deb)

echo "== Installing, upgrading and purging in a fresh system"
mkdir -p "$work/fresh/pkgs"
cp "$new_deb" "$work/fresh/pkgs/new.deb"
if [ -n "$old_deb" ]; then
    cp "$old_deb" "$work/fresh/pkgs/old.deb"
else
    # The same package as an older version, so that the upgrade runs.
    dpkg-deb -R "$new_deb" "$work/older"
    sed -i "s/^Version: .*/Version: $version~older/" "$work/older/DEBIAN/control"
    dpkg-deb --root-owner-group -b "$work/older" "$work/fresh/pkgs/old.deb" >/dev/null
fi
cp -r "$source_dir/samples" "$work/fresh/pkgs/samples"
cp "$source_dir/packaging/test-package-install.sh" "$work/fresh/pkgs/"
in_system "$work/fresh" bash /pkgs/test-package-install.sh 2>&1 | tee "$work/install.log"

echo "== This machine"
if [ "$(pupils_files)" = "$host_before" ]; then
    echo "ok: /opt/tropinets/Рассказы on this machine is as it was"
else
    echo "FAIL: /opt/tropinets/Рассказы on this machine has changed" >&2
    echo "FAIL" >>"$work/install.log"
fi

failures=$(cat "$work/build.log" "$work/install.log" | grep -c '^FAIL' || true)
if ! grep -q '^build: done' "$work/build.log" || ! grep -q '^install: done' "$work/install.log"; then
    echo "package test: a part did not run to its end"
    exit 1
fi
if [ "$failures" -gt 0 ]; then
    echo "package test: $failures check(s) failed"
    exit 1
fi
echo "package test: passed"
