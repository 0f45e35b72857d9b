#!/usr/bin/env bash
# Run by test-package.sh inside its throwaway build system, with a fresh
# clone of the repository in /src/first: builds the packages there and again,
# later, from another clone in another folder, compares their checksums and
# checks the packages. Prints "ok:" or "FAIL:" for each check.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fi
}

apt-get update -qq
apt-get install -y -qq git lintian rpmlint appstream desktop-file-utils man-db >/dev/null
cd /src/first
./package.sh /src/out-first | tee /src/first.sha256
# Another folder, and file times of another moment.
sleep 60
git clone -q /src/first /src/second
(cd /src/second && ./package.sh /src/out-second) | tee /src/second.sha256
check "two builds give the same bytes" diff /src/first.sha256 /src/second.sha256

cd /src/out-first
deb=$(ls deb/tropinets_*.deb)
rpm=$(ls rpm/RPMS/*/tropinets-*.rpm)
srpm=$(ls rpm/SRPMS/tropinets-*.src.rpm)
lintian --info --pedantic --tag-display-limit 0 deb/*.changes | tee lintian.txt || true
# What is kept on purpose is overridden in debian/tropinets.lintian-overrides,
# each with its reason; anything else is a fault.
check "lintian reports no errors or warnings" bash -c "! grep -q '^[EW]:' lintian.txt"
check "rpmlint reports nothing but what packaging/rpmlint.toml explains" \
    rpmlint -c /src/first/packaging/rpmlint.toml "$rpm" "$srpm"

dpkg-deb -x "$deb" payload
check "AppStream metadata is valid" appstreamcli validate-tree --no-net payload
check "the desktop entry is valid" desktop-file-validate payload/usr/share/applications/tropinets.desktop
for page in man1/tropinets.1.gz ru/man1/tropinets.1.gz; do
    check "man -l shows $page" bash -c "man -l payload/usr/share/man/$page 2>&1 | grep -q tropinets"
    check "$page renders without warnings" \
        bash -c "[ -z \"\$(man --warnings -l payload/usr/share/man/$page 2>&1 >/dev/null)\" ]"
done
# Both are built by the same install rules: the same files and links, but
# for the documents each distribution keeps in its own place.
documents='^/usr/share/(doc|licenses|lintian)/'
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | grep -Ev "$documents" |
    sort >deb-files
rpm -qp --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' "$rpm" | awk '$1 !~ /^d/ { print $2 }' |
    grep -Ev "$documents" | sort >rpm-files
check "the .rpm holds the same files as the .deb" diff deb-files rpm-files
check "the .rpm keeps the shared folders open to all, with the sticky bit" bash -c \
    "[ \$(rpm -qp --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' '$rpm' | grep -c '^drwxrwxrwt /opt/tropinets/') = 2 ]"
check "the .rpm asks for Qt by library capability" bash -c \
    "rpm -qpR '$rpm' | grep -qx 'libQt6Widgets.so.6()(64bit)'"
check "the .rpm asks for Qt's translations" bash -c "rpm -qpR '$rpm' | grep -q qt6-qttranslations"
check "the .deb asks for Qt's translations" bash -c \
    "dpkg-deb -f '$deb' Depends | grep -q qt6-translations-l10n"
echo "build: done"
