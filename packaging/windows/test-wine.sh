#!/usr/bin/env bash
# Tests the Windows build under Wine, after packaging/windows/build.sh:
#   1. the core tests, cross-built, each run under wine64 (ctest);
#   2. the setup program installed silently into a fresh Wine prefix, its
#      layout checked;
#   3. the installed program started on an X display: a story written by
#      keys and saved, whose two files must be byte-identical to the Linux
#      build's save of the same story by the same keys; a BMP and a JPEG
#      loaded into frames; screenshots kept;
#   4. the silent uninstall, which must leave a pupil's story.
#
#   packaging/windows/test-wine.sh [OUT]   (TROPINETS_WINE_DISPLAY=:N for a display other than :73)
#
# OUT (default /tmp/tropinets-wine) keeps the screenshots and a log.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here=$top/packaging/windows
out=${1:-/tmp/tropinets-wine}
win=$top/build-windows
version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
setup=$win/tropinets-$version-setup.exe
export LC_ALL=C.UTF-8

extra_packages=(wine64 xvfb xdotool openbox imagemagick)
build_targets=(tropinets tst_pictureloader)
source "$top/setup.sh"
cd "$top"

rm -rf "$out"
mkdir -p "$out"
failures=0
passes=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passes=$((passes + 1))
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

# Another display where :73 is taken: TROPINETS_WINE_DISPLAY=:NN.
display=${TROPINETS_WINE_DISPLAY:-:73}
Xvfb $display -screen 0 1280x1024x24 -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${display#:} ] && break; sleep 0.2; done
export DISPLAY=$display
openbox >/dev/null 2>&1 &
wm=$!
prefix_dir=$(mktemp -d /tmp/tropinets-wineprefix.XXXXXX)
cleanup() {
    WINEPREFIX=$prefix_dir wineserver -k 2>/dev/null || true
    kill "$wm" "$xvfb" 2>/dev/null || true
    rm -rf "$prefix_dir"
}
trap cleanup EXIT

echo "== The core tests under Wine"
# What ImageMagick writes of every picture kind, made here on Linux: no
# ImageMagick runs under Wine.
mkdir -p "$out/magick"
TROPINETS_MAGICK_KEEP=$out/magick QT_QPA_PLATFORM=offscreen \
    build/tests/tst_pictureloader writtenByOthers >"$out/magick.log" 2>&1
check "ImageMagick wrote every picture kind" test "$(ls "$out/magick" | wc -l)" -ge 40
# tst_spelling reads the dictionary and the word list that the setup program
# ships, from the staged folder.
TROPINETS_MAGICK_MADE=$(/usr/lib/wine/wine64 winepath -w "$out/magick" 2>/dev/null) \
    TROPINETS_SPELLING_FOLDER=$(/usr/lib/wine/wine64 winepath -w "$win/stage/hunspell" 2>/dev/null) \
    check "the core tests pass under Wine" \
    ctest --test-dir "$win/build" --output-on-failure --timeout 600
# Wine's SAPI has no voice: reading aloud must be off and say why.
check "under Wine, reading aloud is off and says why in Russian" \
    grep -q "PASS   : tst_ReadingAloud::withoutVoice()" \
    <(ctest --test-dir "$win/build" -R tst_readingaloud -V --timeout 120 2>&1)

echo "== Saves killed on exFAT and FAT32 sticks, under Wine, in a prefix of their own"
sticks_prefix=$(mktemp -d /tmp/tropinets-sticks.XXXXXX)
started=$SECONDS
WINEPREFIX=$sticks_prefix WINE=$here/wine-run.sh TROPINETS_KILL_ROUNDS=${TROPINETS_WINE_KILL_ROUNDS:-300} \
    check "saves killed on sticks under Wine" bash tests/sticks.sh --wine "$win/build/tests/tst_storysave.exe"
echo "the sticks took $((SECONDS - started)) s"
WINEPREFIX=$sticks_prefix wineserver -k 2>/dev/null || true
rm -rf "$sticks_prefix"

echo "== Silent install into a fresh Wine prefix"
export WINEPREFIX=$prefix_dir WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine=/usr/lib/wine/wine64
$wine wineboot --init >/dev/null 2>&1
wineserver -w
started=$SECONDS
$wine "$(winepath -w "$setup" 2>/dev/null || $wine winepath -w "$setup")" /S
wineserver -w
echo "the silent install took $((SECONDS - started)) s"
program="$WINEPREFIX/drive_c/Program Files/Тропинец"
for file in tropinets.exe uninstall.exe qt.conf Qt6Core.dll Qt6Widgets.dll Qt6PrintSupport.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll plugins/platforms/qwindows.dll \
    plugins/imageformats/qjpeg.dll translations/qtbase_ru.qm Рассказы/лиса.txt Рассказы/лиса.il \
    hunspell/ru_RU.aff hunspell/ru_RU.dic hunspell/children-words.txt \
    Картинки/лиса_спит.bmp; do
    check "installed: $file" test -f "$program/$file"
done
check "a Start-menu entry" \
    test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Тропинец.lnk"
check "a desktop shortcut" test -f "$WINEPREFIX/drive_c/users/Public/Desktop/Тропинец.lnk"
check "the samples match the source" diff -r "$top/samples/Рассказы" "$program/Рассказы"

# Waits for a visible window of that exact name and prints its id.
find_window() {
    local id
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.2
    done
}

# Waits until no visible window of that name is left.
gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
}

# The same keys for both builds: Ctrl+O and the sample story «лиса»'s copy,
# a sentence added to its first chapter by Enter, the text, Tab, Enter;
# then Ctrl+S and the new file's name («Рассказы» is where the dialog
# starts). Latin letters only: xdotool types other letters by remapping keys,
# which Wine does not follow; the Windows-1251 bytes of every letter are the
# core tests' own, under Wine too.
edit_story() {
    local editor=$1 story=$2 file=$3
    xdotool windowactivate --sync "$editor" key ctrl+o
    sleep 2
    xdotool type --delay 40 "$story"
    xdotool key Return
    sleep 2
    xdotool windowactivate --sync "$editor" key Return
    find_window 'Ввод текста' >/dev/null
    # Under Wine the text box takes keys a moment after its window shows.
    sleep 1
    xdotool key ctrl+End
    xdotool type --delay 40 " Zhila-byla lisa (1), konec; da!"
    xdotool key Tab Return
    gone 'Ввод текста'
    save_as "$editor" "$file"
}

# Ctrl+S, then the name in the dialog.
save_as() {
    xdotool windowactivate --sync "$1" key ctrl+s
    sleep 2
    xdotool type --delay 40 "$2"
    xdotool key Return
    sleep 2
}

echo "== The installed program"
started=$SECONDS
(cd "$program" && $wine tropinets.exe >"$out/program.log" 2>&1) &
title=$(find_window 'Выбери продолжение рассказа')
echo "start to the title window: $((SECONDS - started)) s"
check "the title window shows" test -n "$title"
[ -n "$title" ] && xdotool windowactivate --sync "$title" key Return
editor=$(find_window 'Создание нового рассказа')
echo "start to the editor (Enter on the title window): $((SECONDS - started)) s"
check "Enter opens the editor" test -n "$editor"
if [ -n "$editor" ]; then
    sleep 2
    import -window root "$out/editor-empty.png"
    saved="$program/Рассказы/wine.txt"
    mkdir -p "$out/story"
    cp "$program/Рассказы/лиса.txt" "$out/story/fox.txt"
    cp "$program/Рассказы/лиса.il" "$out/story/fox.il"
    edit_story "$editor" "$(winepath -w "$out/story/fox.txt" 2>/dev/null)" wine.txt
    check "the story is saved" test -f "$saved"
    cp "$saved" "${saved%.txt}.il" "$out/" 2>/dev/null || true
    # A BMP and a JPEG into the last two frames: before the first block
    # Shift+Tab reaches them. Their copies have Latin names, for the keys.
    mkdir -p "$out/pictures"
    cp "$program/Картинки/лиса_спит.bmp" "$out/pictures/fox.bmp"
    cp "$program/Картинки/лиса_у_реки.jpg" "$out/pictures/river.jpg"
    for picture in fox.bmp river.jpg; do
        xdotool windowactivate --sync "$editor" key shift+Tab Return
        sleep 2
        xdotool type --delay 40 "$(winepath -w "$out/pictures/$picture" 2>/dev/null)"
        xdotool key Return
        sleep 2
    done
    save_as "$editor" pictures.txt
    import -window root "$out/editor-story.png"
    # «Рассказ» by keys: «Читать вслух» greyed out, Wine having no voice.
    xdotool windowactivate --sync "$editor" key alt Right Down
    sleep 1
    import -window root "$out/menu-story.png"
    xdotool key Escape Escape
    cp "$program/Рассказы/pictures.il" "$out/" 2>/dev/null || true
    # The frames in order: the JPEG went into the third, the BMP the fourth.
    check "a BMP and a JPEG are in the saved list" grep -q 'pictures\\river.jpg.*pictures\\fox.bmp' \
        <(tr -d '\r\n' <"$out/pictures.il")
fi
wineserver -k 2>/dev/null || true
sleep 1

echo "== The Linux build, by the same keys"
linux_folder=$(mktemp -d /tmp/tropinets-linux.XXXXXX)
cp -r "$top/build/tropinets" "$top/build/Рассказы" "$top/build/Картинки" "$linux_folder/"
(cd "$linux_folder" && QT_QPA_PLATFORMTHEME= ./tropinets >"$out/linux.log" 2>&1) &
linux=$!
title=$(find_window 'Выбери продолжение рассказа')
[ -n "$title" ] && xdotool windowactivate --sync "$title" key Return
editor=$(find_window 'Создание нового рассказа')
if [ -n "$editor" ]; then
    sleep 2
    import -window root "$out/editor-linux.png"
    edit_story "$editor" "$out/story/fox.txt" linux.txt
    import -window root "$out/editor-linux-story.png"
    cp "$linux_folder"/Рассказы/linux.* "$out/" 2>/dev/null || true
fi
kill "$linux" 2>/dev/null || true
check "the story was changed by the keys" grep -q 'konec; da!' "$out/linux.txt"
check "the story file is byte-identical to Linux's" \
    cmp "$linux_folder/Рассказы/linux.txt" "$program/Рассказы/wine.txt"
check "the picture list is byte-identical to Linux's" \
    cmp "$linux_folder/Рассказы/linux.il" "$program/Рассказы/wine.il"
rm -rf "$linux_folder"

echo "== Silent uninstall"
$wine "C:\\Program Files\\Тропинец\\uninstall.exe" /S
wineserver -w
sleep 2
check "the uninstaller keeps a pupil's story" test -f "$program/Рассказы/wine.txt"
check "the uninstaller removes the program" test ! -e "$program/tropinets.exe"
check "the uninstaller removes the samples" test ! -e "$program/Рассказы/лиса.txt"
check "the uninstaller removes the shortcuts" \
    test ! -e "$WINEPREFIX/drive_c/users/Public/Desktop/Тропинец.lnk"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
