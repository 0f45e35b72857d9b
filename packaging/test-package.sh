#!/usr/bin/env bash
# Tries the Debian package as a school's administrator would. It builds the
# packages in a clean folder, checks them (lintian, rpmlint, AppStream, the
# desktop entry, manual pages, the .rpm's files), installs the .deb, checks
# the installed files and the shared folders, starts the program by its
# desktop entry's command on Qt's offscreen display until the title window is
# up, then purges the package and checks that only the pupils' files are left.
#
#   packaging/test-package.sh [OLD.deb]
#
# With OLD.deb it first installs that older package, lets a pupil save a
# story, spoils a sample, and upgrades over it: the story must survive and
# the sample must come back. It installs and removes packages on this machine
# (root or sudo), so .ci/run does not run it. It refuses to run while
# tropinets is installed.
set -euo pipefail
old_deb=${1:+$(realpath "$1")}
extra_packages=(dpkg-dev rpm rpmlint lintian appstream desktop-file-utils man-db)
setup_builds=no
source "$(dirname "${BASH_SOURCE[0]}")/../setup.sh"
source_dir=$PWD

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export LC_ALL=C.UTF-8
prefix=/opt/tropinets
stories="$prefix/Рассказы"
pictures="$prefix/Картинки"
failures=0
step() { echo "== $*"; }
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
as_pupil() { $sudo setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
apt_install() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"; }

if dpkg-query -W -f='${Status}' tropinets 2>/dev/null | grep -q "installed"; then
    echo "tropinets is installed; this test installs and purges it. Remove it first." >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

step "Building the packages in a clean folder"
./package.sh "$work/build" >"$work/build.log" 2>&1 || {
    tail -30 "$work/build.log"
    exit 1
}
deb=$(ls "$work"/build/tropinets_*.deb)
rpm=$(ls "$work"/build/tropinets-*.rpm)
echo "$deb"
echo "$rpm"

step "Checking the packages"
lintian --info --pedantic --tag-display-limit 0 "$deb" | tee "$work/lintian.txt" || true
check "lintian reports no errors" bash -c "! grep -q '^E:' '$work/lintian.txt'"
# What we keep on purpose is overridden in packaging/lintian-overrides, each
# with its reason; anything else is a fault.
check "lintian reports no warnings" bash -c "! grep -q '^W:' '$work/lintian.txt'"
check "rpmlint reports nothing but what packaging/rpmlint.toml explains" \
    rpmlint -c packaging/rpmlint.toml "$rpm"

payload="$work/payload"
dpkg-deb -x "$deb" "$payload"
check "AppStream metadata is valid" appstreamcli validate-tree --no-net "$payload"
check "the desktop entry is valid" \
    desktop-file-validate "$payload/usr/share/applications/tropinets.desktop"
for page in man1/tropinets.1.gz ru/man1/tropinets.1.gz; do
    check "man -l shows $page" bash -c \
        "man -l '$payload/usr/share/man/$page' 2>&1 | grep -q 'tropinets'"
    check "$page renders without warnings" bash -c \
        "[ -z \"\$(man --warnings -l '$payload/usr/share/man/$page' 2>&1 >/dev/null)\" ]"
done
# The .rpm is made from the same install rules: the same files and links,
# less what only Debian reads.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' |
    grep -v -e '^/usr/share/lintian/' -e '^/usr/share/doc/tropinets/changelog.gz$' |
    sort >"$work/deb-files"
rpm -qp --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' "$rpm" | awk '$1 !~ /^d/ { print $2 }' |
    sort >"$work/rpm-files"
check "the .rpm holds the same files as the .deb" diff "$work/deb-files" "$work/rpm-files"
check "the .rpm asks for Qt by library capability" bash -c \
    "rpm -qpR '$rpm' | grep -qx 'libQt6Widgets.so.6()(64bit)'"

if [ -n "$old_deb" ]; then
    step "Installing the older package $(basename "$old_deb")"
    apt_install "$old_deb"
    as_pupil sh -c "printf 'Моя глава\r\n' > '$stories/моя.txt' && printf '$pictures/мой.bmp\r\n' > '$stories/моя.il'"
    as_pupil cp "$source_dir/samples/Картинки/лиса_спит.bmp" "$pictures/мой.bmp"
    # An administrator's slip: one sample spoilt, another deleted.
    $sudo sh -c "echo spoilt > '$stories/лиса.txt'"
    $sudo rm "$stories/зебра.il"
    (cd "$prefix" && sha256sum "Рассказы/моя.txt" "Рассказы/моя.il" "Картинки/мой.bmp") \
        >"$work/pupil.sha256"
    step "Upgrading to $(basename "$deb")"
else
    step "Installing $(basename "$deb")"
fi
apt_install "$deb"
installed=$(dpkg-query -W -f='${Version}' tropinets)
check "version $installed is installed" dpkg --compare-versions "$installed" gt 1.0
dpkg -L tropinets >"$work/installed-files"

step "Checking the installed files"
check "every installed file matches its checksum" dpkg --verify tropinets
check "the program is executable" test -x "$prefix/tropinets"
check "the command links to it" test "$(readlink /usr/bin/tropinets)" = "$prefix/tropinets"
for folder in "$stories" "$pictures"; do
    check "$folder is shared with the sticky bit" test "$(stat -c %a "$folder")" = 1777
done
for sample in samples/Рассказы/* samples/Картинки/*; do
    check "sample ${sample#samples/} is installed as it is in the source" \
        cmp -s "$sample" "$prefix/${sample#samples/}"
done
for file in /usr/share/applications/tropinets.desktop \
    /usr/share/icons/hicolor/{16x16,32x32,128x128}/apps/tropinets.png \
    /usr/share/man/man1/tropinets.1.gz /usr/share/man/ru/man1/tropinets.1.gz \
    /usr/share/doc/tropinets/copyright /usr/share/doc/tropinets/changelog.gz \
    /usr/share/lintian/overrides/tropinets; do
    check "$file is installed" test -s "$file"
done
check "AppStream metadata is installed" bash -c "ls /usr/share/metainfo/*.metainfo.xml |
    xargs grep -l '<launchable type=\"desktop-id\">tropinets.desktop<' >/dev/null"
check "man -L ru finds the Russian manual page" bash -c \
    "man -L ru -w tropinets | grep -q '/ru/man1/tropinets.1.gz'"
if [ -n "$old_deb" ]; then
    check "the pupil's story and picture survived the upgrade" \
        bash -c "cd '$prefix' && sha256sum --quiet -c '$work/pupil.sha256'"
fi

step "Pupils share the folders"
as_pupil sh -c "printf 'Глава\r\n' > '$stories/пробный.txt'"
check "a pupil may save a story" test -f "$stories/пробный.txt"
check "a pupil cannot overwrite a sample" bash -c \
    "! $sudo setpriv --reuid=65534 --regid=65534 --clear-groups sh -c \"echo x > '$stories/лиса.txt'\" 2>/dev/null"
check "a pupil cannot delete a sample" bash -c \
    "! $sudo setpriv --reuid=65534 --regid=65534 --clear-groups rm -f '$pictures/лиса_спит.bmp' 2>/dev/null"

step "Starting the program as the desktop entry does"
# Exec without its field codes; the program takes no arguments.
command=$(sed -n 's/^Exec=//p' /usr/share/applications/tropinets.desktop | sed 's/ *%[a-zA-Z]//g')
echo "Exec: $command"
# Started as a pupil would start it. Qt's accessibility debug output names
# each window it shows by its object name, caption and client size; the
# title window is the first one at start.
home="$work/pupil"
mkdir -p "$home/run"
chmod 700 "$home/run"
$sudo chown -R 65534:65534 "$home"
log="$work/program.log"
$sudo setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.accessibility.cache.debug=true" \
    $command >"$log" 2>&1 &
program=$!
title='name="Выбери продолжение рассказа" role=Client .*obj=FrmTytle.*x370)'
title_seen=no
for _ in $(seq 1 150); do
    if ! kill -0 "$program" 2>/dev/null; then break; fi
    if grep -q "$title" "$log"; then
        title_seen=yes
        break
    fi
    sleep 0.2
done
# A second more: the program must still be running after it has shown it.
sleep 1
alive=no
kill -0 "$program" 2>/dev/null && alive=yes
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
check "the program is running" test "$alive" = yes
check "its title window appeared" test "$title_seen" = yes
[ "$title_seen" = yes ] || cat "$log"

step "Purging the package"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tropinets 2>&1 | tee "$work/purge.txt"
check "the package is gone" bash -c "! dpkg-query -W -f='\${Status}' tropinets 2>/dev/null | grep -q installed"
left=()
while read -r path; do
    [ -d "$path" ] && continue
    { [ -e "$path" ] || [ -L "$path" ]; } && left+=("$path")
done <"$work/installed-files"
check "every installed file is removed (left: ${left[*]:-none})" test ${#left[@]} -eq 0
check "the pupil's story stays" test -f "$stories/пробный.txt"
check "the removal says where the pupils' files stay" grep -q "keeps the pupils' own files" "$work/purge.txt"
if [ -n "$old_deb" ]; then
    check "the story saved before the upgrade stays" \
        bash -c "cd '$prefix' && sha256sum --quiet -c '$work/pupil.sha256'"
fi
# What the test itself saved as a pupil goes now.
$sudo rm -rf "$prefix"

if [ "$failures" -gt 0 ]; then
    echo "package test: $failures check(s) failed"
    exit 1
fi
echo "package test: passed"
