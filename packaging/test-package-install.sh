#!/usr/bin/env bash
# Run by test-package.sh inside its fresh throwaway system, with the packages
# in /pkgs: installs old.deb, lets a pupil save and spoils a sample, upgrades
# to new.deb, checks what is installed, lets two pupils of one group use the
# program on an X display, and purges the package. Prints "ok:" or "FAIL:"
# for each check.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
prefix=/opt/tropinets
stories="$prefix/Рассказы"
pictures="$prefix/Картинки"
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fi
}
not() { ! "$@"; }
# A pupil's command, with the pupil's own user, group and umask.
as() {
    local pupil=$1 mask=$2
    shift 2
    setpriv --reuid="$pupil" --regid=pupils --init-groups \
        env -i PATH=/usr/bin:/bin HOME="/home/$pupil" DISPLAY=:7 LANG=C.UTF-8 \
        sh -c 'umask "$0" && exec "$@"' "$mask" "$@"
}
# What Petya, in Masha's group and with umask 002, manages to do.
petya() { as petya 002 sh -c "$1" 2>/dev/null; }
apt_install() { apt-get install -y -qq "$@" >/dev/null; }
# The visible window of that title, waiting up to 30 s. A window that goes
# while xdotool looks at the others ends its search with an error, so it
# looks again.
find_window() {
    local id
    for _ in $(seq 60); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.5
    done
}

apt-get update -qq
groupadd pupils
useradd -m -g pupils masha
useradd -m -g pupils petya

echo "== Installing the older package"
apt_install /pkgs/old.deb
as masha 022 sh -c "printf 'Моя глава\r\n' > '$stories/моя.txt' && printf '$pictures/мой.bmp\r\n' > '$stories/моя.il'"
as masha 022 cp /pkgs/samples/Картинки/лиса_спит.bmp "$pictures/мой.bmp"
# An administrator's slip: one sample spoilt, another deleted.
echo spoilt >"$stories/лиса.txt"
rm "$stories/зебра.il"
(cd "$prefix" && sha256sum "Рассказы/моя.txt" "Рассказы/моя.il" "Картинки/мой.bmp") >/pkgs/saved.sha256

echo "== Upgrading to the new package"
apt_install /pkgs/new.deb
installed=$(dpkg-query -W -f='${Version}' tropinets)
check "the new version $installed is installed" test "$installed" = "$(dpkg-deb -f /pkgs/new.deb Version)"
dpkg -L tropinets >/pkgs/installed-files
check "every installed file matches its checksum" dpkg --verify tropinets
check "the program is executable" test -x "$prefix/tropinets"
check "the command links to it" test "$(readlink /usr/bin/tropinets)" = "$prefix/tropinets"
for folder in "$stories" "$pictures"; do
    check "$folder is shared with the sticky bit" test "$(stat -c %a "$folder")" = 1777
done
for sample in /pkgs/samples/Рассказы/* /pkgs/samples/Картинки/*; do
    name=${sample#/pkgs/samples/}
    check "sample $name is installed as it is in the source" cmp -s "$sample" "$prefix/$name"
done
for file in /usr/share/applications/tropinets.desktop \
    /usr/share/icons/hicolor/{16x16,32x32,128x128}/apps/tropinets.png \
    /usr/share/man/man1/tropinets.1.gz /usr/share/man/ru/man1/tropinets.1.gz \
    /usr/share/doc/tropinets/copyright /usr/share/doc/tropinets/changelog.gz \
    /usr/share/lintian/overrides/tropinets; do
    check "$file is installed" test -s "$file"
done
check "the words children write are installed for the spelling check" \
    test -s "$prefix/hunspell/children-words.txt"
check "Qt's Russian translations are installed with it" test -s /usr/share/qt6/translations/qtbase_ru.qm
check "the pupil's story and picture survived the upgrade" \
    bash -c "cd '$prefix' && sha256sum --quiet -c /pkgs/saved.sha256"

echo "== Pupils share the folders"
check "a pupil cannot overwrite a sample" not petya "echo x > '$stories/лиса.txt'"
check "a pupil cannot delete a sample" not petya "rm -f '$pictures/лиса_спит.bmp'"

echo "== Pupils use the program on an X display"
apt_install xvfb xdotool openbox
Xvfb :7 -screen 0 1280x1024x24 -nolisten tcp >/pkgs/xvfb.log 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X7 ] && break; sleep 0.2; done
DISPLAY=:7 openbox >/dev/null 2>&1 &
wm=$!
sleep 1
# The command as the desktop entry gives it, without its field codes.
command=$(sed -n 's/^Exec=//p' /usr/share/applications/tropinets.desktop | sed 's/ *%[a-zA-Z]//g')
export DISPLAY=:7
# Masha starts the program, goes on from the title picture with Enter, writes
# her name into the first chapter and saves the story with Ctrl+S.
save_as_masha() {
    local mask=$1 name=$2
    as masha "$mask" $command >"/pkgs/program-$mask.log" 2>&1 &
    local job=$! title editor program
    title=$(find_window 'Выбери продолжение рассказа')
    check "the program shows its title window to a pupil (umask $mask)" test -n "$title"
    program=$(for p in /proc/[0-9]*; do
        if [ "$(cat "$p/comm" 2>/dev/null)" = tropinets ]; then echo "${p#/proc/}"; fi
    done | head -1)
    check "it runs as the pupil" test "$(stat -c %U "/proc/$program" 2>/dev/null)" = masha
    [ -n "$title" ] && xdotool windowactivate --sync "$title" key Return 2>/dev/null
    editor=$(find_window 'Создание нового рассказа')
    check "Enter opens the editor" test -n "$editor"
    if [ -n "$editor" ]; then
        xdotool windowactivate --sync "$editor" key Return
        sleep 1
        xdotool type --delay 50 Masha
        xdotool key Tab space
        sleep 1
        xdotool windowactivate --sync "$editor" key ctrl+s
        sleep 2
        xdotool type --delay 50 "$name"
        xdotool key Return
    fi
    for _ in $(seq 50); do [ -e "$stories/${name%.txt}.il" ] && break; sleep 0.2; done
    sleep 1
    kill "$program" 2>/dev/null || true
    wait "$job" 2>/dev/null || true
}
for mask in 022 002; do
    story="$stories/masha-$mask.txt"
    save_as_masha "$mask" "masha-$mask.txt"
    check "the story saved with umask $mask begins with what Masha wrote" \
        bash -c "head -c 7 '$story' | grep -qx 'Masha.'"
    for file in "$story" "${story%.txt}.il"; do
        check "$(basename "$file") is Masha's, mode 644" \
            test "$(stat -c '%U %a' "$file" 2>/dev/null)" = "masha 644"
        before=$(sha256sum <"$file" || true)
        check "Petya cannot change $(basename "$file") in place" not petya "echo x >> '$file'"
        check "Petya cannot replace it" not petya "echo x > /tmp/petya && mv -f /tmp/petya '$file'"
        check "Petya cannot delete it" not petya "rm -f '$file'"
        check "$(basename "$file") is as Masha saved it" test "$(sha256sum <"$file" || true)" = "$before"
    done
done
check "no other file is left beside the stories" \
    test "$(find "$stories" -name '.*' -type f | wc -l)" = 0
kill "$wm" "$xvfb" 2>/dev/null || true
wait "$wm" "$xvfb" 2>/dev/null || true

echo "== Purging the package"
apt-get purge -y -qq tropinets 2>&1 | tee /pkgs/purge.txt
check "the package is gone" bash -c "! dpkg-query -W -f='\${Status}' tropinets 2>/dev/null | grep -q installed"
left=()
while read -r path; do
    [ -d "$path" ] && continue
    { [ -e "$path" ] || [ -L "$path" ]; } && left+=("$path")
done </pkgs/installed-files
check "every installed file is removed (left: ${left[*]:-none})" test ${#left[@]} -eq 0
check "the pupils' stories stay" test -f "$stories/masha-002.txt"
check "the story saved before the upgrade stays" \
    bash -c "cd '$prefix' && sha256sum --quiet -c /pkgs/saved.sha256"
check "the removal says where the pupils' files stay" grep -q "keeps the pupils' own files" /pkgs/purge.txt
echo "install: done"
