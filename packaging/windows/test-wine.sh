#!/usr/bin/env bash
# Tests the Windows build under Wine, after packaging/windows/build.sh:
#   1. every test, cross-built, under wine64 (ctest), offscreen: how many
#      passed, failed and were skipped, and why;
#   2. the setup program installed silently into a fresh Wine prefix, its
#      layout checked;
#   3. the installed program on an X display with a Latin and a Russian
#      keyboard layout: its first flowchart laid out for the maximized editor,
#      by Enter and by the title's timer, with openbox and in Wine's own
#      virtual desktop; a story written by keys in Russian and saved, whose
#      two files must be byte-identical to the Linux build's save by the same
#      keys; the story page and the reading window's page printed to a
#      private CUPS server's PDF printer and compared with the Linux build's;
#      a BMP and a JPEG loaded into frames; screenshots kept;
#   4. the silent uninstall, which must leave a pupil's story.
#
#   packaging/windows/test-wine.sh [OUT]   (TROPINETS_WINE_DISPLAY=:N for a display other than :73)
#
# OUT (default /tmp/tropinets-wine) keeps the screenshots, the printed pages
# and the logs. TROPINETS_WINE_DISPLAY (default :73) is the X display it
# starts.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here=$top/packaging/windows
out=${1:-/tmp/tropinets-wine}
win=$top/build-windows
version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
setup=$win/tropinets-$version-setup.exe
export LC_ALL=C.UTF-8

extra_packages=(wine64 xvfb xdotool openbox imagemagick x11-xkb-utils poppler-utils cups
                cups-client printer-driver-cups-pdf python3)
build_targets=(tropinets tst_pictureloader print_server)
source "$top/setup.sh"
cd "$top"

rm -rf "$out"
mkdir -p "$out"
started_all=$SECONDS
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

display=${TROPINETS_WINE_DISPLAY:-:73}
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.2; done
export DISPLAY=$display
# A Russian layout beside the Latin one: xdotool types Cyrillic by switching
# to it, and Wine receives real Cyrillic keys.
setxkbmap -layout us,ru
openbox >/dev/null 2>&1 &
wm=$!
prefix_dir=$(mktemp -d /tmp/tropinets-wineprefix.XXXXXX)
# The tests' private print server with its PDF printer, for both builds:
# Wine hands its print jobs to CUPS.
coproc SERVER { "$top/build/tests/print_server"; }
server=$SERVER_PID
read -r cups_folder <&"${SERVER[0]}" || true
cleanup() {
    WINEPREFIX=$prefix_dir wineserver -k 2>/dev/null || true
    kill "$wm" "$xvfb" 2>/dev/null || true
    exec {SERVER[1]}>&- 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$prefix_dir"
}
trap cleanup EXIT
check "the private print server runs" test -S "$cups_folder/cups.sock"

echo "== Every test under Wine"
# What ImageMagick writes of every picture kind, made here on Linux: no
# ImageMagick runs under Wine.
mkdir -p "$out/magick"
TROPINETS_MAGICK_KEEP=$out/magick QT_QPA_PLATFORM=offscreen \
    build/tests/tst_pictureloader writtenByOthers >"$out/magick.log" 2>&1
check "ImageMagick wrote every picture kind" test "$(ls "$out/magick" | wc -l)" -ge 40
started=$SECONDS
# tst_spelling reads the dictionary and the word list that the setup program
# ships, from the staged folder.
TROPINETS_MAGICK_MADE=$(/usr/lib/wine/wine64 winepath -w "$out/magick" 2>/dev/null) \
    TROPINETS_SPELLING_FOLDER=$(/usr/lib/wine/wine64 winepath -w "$win/stage/hunspell" 2>/dev/null) \
    ctest --test-dir "$win/build" -V -j2 --timeout 900 >"$out/tests.log" 2>&1 && tests_passed=yes
echo "every test under Wine took $((SECONDS - started)) s"
# Each test program's totals, and why what was skipped was.
grep -o 'Totals: [0-9]* passed, [0-9]* failed, [0-9]* skipped' "$out/tests.log" |
    awk '{p += $2; f += $4; s += $6} END {print "test functions under Wine:", p, "passed,", f, "failed,", s, "skipped"}'
sed -n 's/^[0-9]*: \(SKIP.*\)/  \1/p' "$out/tests.log" | sed 's/   *Loc:.*//' | sort -u
grep -E 'tests passed|Test +#.*(Failed|Skipped)' "$out/tests.log" | sed 's/^ */  /' || true
check "the tests pass under Wine" test "${tests_passed:-}" = yes
# Wine's SAPI has no voice: reading aloud must be off and say why.
check "under Wine, reading aloud is off and says why in Russian" \
    grep -q "PASS   : tst_ReadingAloud::withoutVoice()" "$out/tests.log"

echo "== Saves killed on exFAT and FAT32 sticks, under Wine, in a prefix of their own"
sticks_prefix=$(mktemp -d /tmp/tropinets-sticks.XXXXXX)
started=$SECONDS
WINEPREFIX=$sticks_prefix WINE=$here/wine-run.sh TROPINETS_KILL_ROUNDS=${TROPINETS_WINE_KILL_ROUNDS:-300} \
    check "saves killed on sticks under Wine" bash tests/sticks.sh --wine "$win/build/tst_storysave.exe"
echo "the sticks took $((SECONDS - started)) s"
WINEPREFIX=$sticks_prefix wineserver -k 2>/dev/null || true
rm -rf "$sticks_prefix"

echo "== Silent install into a fresh Wine prefix"
# The tests' pages are not the private server's: it takes only the two
# builds' pages from here on.
export CUPS_SERVER=$cups_folder/cups.sock
export WINEPREFIX=$prefix_dir WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine=/usr/lib/wine/wine64
$wine wineboot --init >/dev/null 2>&1
# Windows' face for the dialog font is a sans-serif one (Microsoft Sans
# Serif). Debian's Wine finds none of its own (Tahoma), falls back to a
# serif CFF face, and its PostScript driver then crashes downloading that
# face for a printed page; a TrueType sans-serif face as on Windows.
for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
    $wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$face" /d "Liberation Sans" /f >/dev/null 2>&1
done
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

sentence=" Жила-была лиса (1), ёжик и конец; да!"
# The same keys for both builds: Ctrl+O and the sample story «лиса»'s copy,
# a Russian sentence added to its first chapter by Enter, Tab, Enter; then
# Ctrl+S and the new file's name («Рассказы» is where the dialog starts).
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
    xdotool type --delay 40 "$sentence"
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

# Waits for the print server's next page and moves it to the file named;
# what the program handed to the server goes beside it as .job (the page
# itself, printed through the server's filters, keeps no words for
# pdftotext).
take_page() {
    local page
    for _ in $(seq 300); do
        page=$(ls "$cups_folder"/out/*.pdf 2>/dev/null | head -1 || true)
        if [ -n "$page" ]; then
            sleep 1
            mv "$page" "$1"
            cp "$(ls -t "$cups_folder"/spool/d* | head -1)" "${1%.pdf}.job"
            return
        fi
        sleep 0.2
    done
}

# Enter in the print dialog, Qt's on Linux and Windows' own under Wine: the
# default printer, the private server's.
print_in_dialog() {
    local dialog
    dialog=$(find_window '(Печать|Print)')
    sleep 1
    [ -n "$dialog" ] && xdotool windowactivate --sync "$dialog" key Return
    take_page "$1"
}

# The story page: «Рассказ», «Печатать», the author and the title.
print_story() {
    xdotool windowactivate --sync "$1" key alt+Cyrillic_er
    sleep 1
    xdotool key Cyrillic_pe
    sleep 2
    xdotool type --delay 40 "Маша Петрова"
    xdotool key Return
    sleep 1
    xdotool type --delay 40 "Лиса у реки"
    xdotool key Return
    print_in_dialog "$2"
}

# The reading: «Рассказ», «Читать», Yes to the first question and No to the
# second, a title and a name; the reading window's «Печать рассказа», then
# back to the editor.
read_and_print() {
    xdotool windowactivate --sync "$1" key alt+Cyrillic_er
    sleep 1
    xdotool key Cyrillic_che
    sleep 2
    xdotool key Return
    sleep 2
    xdotool key Escape
    sleep 2
    xdotool type --delay 40 "Лиса и пирог"
    xdotool key Return
    sleep 1
    xdotool type --delay 40 "Петя"
    xdotool key Return
    local reading
    reading=$(find_window 'Чтение рассказа с выбором продолжения')
    [ -n "$reading" ] || return 0
    sleep 2
    import -window root "$3"
    xdotool windowactivate --sync "$reading" key alt+Cyrillic_pe
    print_in_dialog "$2"
    xdotool windowactivate --sync "$reading" key alt+Cyrillic_ve
    sleep 2
}

# The letters of what a build handed to the print server (Qt's PDF on
# Linux, Wine's PostScript), one a line, and the printed page's size: the
# two group the words of a line differently.
page_words() {
    if head -c 4 "$1" | grep -q '%PDF'; then
        pdftotext -raw "$1" -
    else
        ps2pdf "$1" - | pdftotext -raw - -
    fi 2>/dev/null | tr -d '[:space:]' | grep -o . | sort
}
same_pages() {
    [ -s "$1" ] && [ -s "$2" ] &&
        diff <(page_words "${1%.pdf}.job") <(page_words "${2%.pdf}.job") >"${2%.pdf}.diff" &&
        [ "$(pdfinfo "$1" | grep '^Page size')" = "$(pdfinfo "$2" | grep '^Page size')" ]
}

echo "== The Linux build, by the same keys"
linux_folder=$(mktemp -d /tmp/tropinets-linux.XXXXXX)
cp -r "$top/build/tropinets" "$top/build/Рассказы" "$top/build/Картинки" "$linux_folder/"
mkdir -p "$out/story"
cp "$top/samples/Рассказы/лиса.txt" "$out/story/fox.txt"
cp "$top/samples/Рассказы/лиса.il" "$out/story/fox.il"
(cd "$linux_folder" && QT_QPA_PLATFORMTHEME= exec ./tropinets >"$out/linux.log" 2>&1) &
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
    # The menus' Russian letters with the Russian layout held, as a pupil
    # holds it: xdotool flips to it and back for each letter, and Qt on X
    # may read the letter after the flip back, as Alt and a Latin key.
    setxkbmap -layout ru,us
    print_story "$editor" "$out/story-linux.pdf"
    read_and_print "$editor" "$out/reading-linux.pdf" "$out/reading-linux.png"
    setxkbmap -layout us,ru
fi
kill "$linux" 2>/dev/null || true
check "the story was changed by the keys, in Russian" \
    env LC_ALL=C grep -qF "$(printf %s "$sentence" | iconv -f UTF-8 -t CP1251)" "$out/linux.txt"
check "the Linux build printed the story page" test -s "$out/story-linux.pdf"
check "the Linux build printed the reading window" test -s "$out/reading-linux.pdf"

# Starts the installed program, by Enter on its title window or by the
# title's timer, and checks the maximized editor's first flowchart; leaves it
# running. Prints the editor's window id (empty in the virtual desktop, where
# Wine's windows are no X windows).
first_flowchart() {
    local how=$1 shot=$out/first-$1-$2.png window=root
    if [ "$2" = desktop ]; then
        (cd "$program" &&
            $wine explorer /desktop=school,1280x1000 tropinets.exe >>"$out/program.log" 2>&1) &
        # Wine's windows are drawn inside the desktop's one X window; the
        # title picture's colours tell that the title window is up.
        for _ in $(seq 60); do
            sleep 0.5
            window=$(xdotool search --name 'Wine desktop' | head -1 || true)
            [ -n "$window" ] &&
                [ "$(import -window "$window" png:- | convert - -format %k info:)" -gt 1000 ] && break
        done
        if [ "$how" = enter ]; then
            [ -n "$window" ] && xdotool windowfocus --sync "$window" key Return
        else
            sleep 11
        fi
        sleep 4
    else
        (cd "$program" && $wine tropinets.exe >>"$out/program.log" 2>&1) &
        local title
        title=$(find_window 'Выбери продолжение рассказа')
        if [ "$how" = enter ]; then
            [ -n "$title" ] && xdotool windowactivate --sync "$title" key Return
        fi
        editor=$(find_window 'Создание нового рассказа')
        sleep 2
    fi
    import -window "${window:-root}" "$shot"
    check "the first flowchart at full width, by $how, $2" layout_as_linux "$shot"
}

# layout-check.py's findings go beside the screenshot.
layout_as_linux() {
    python3 "$here/layout-check.py" "$1" "$out/editor-linux.png" >"${1%.png}.log"
}

echo "== The installed program"
: >"$out/program.log"
started=$SECONDS
editor=
first_flowchart enter openbox
echo "start to the editor (Enter on the title window): $((SECONDS - started)) s"
check "Enter opens the editor" test -n "$editor"
if [ -n "$editor" ]; then
    saved="$program/Рассказы/wine.txt"
    edit_story "$editor" "$(winepath -w "$out/story/fox.txt" 2>/dev/null)" wine.txt
    check "the story is saved" test -f "$saved"
    cp "$saved" "${saved%.txt}.il" "$out/" 2>/dev/null || true
    print_story "$editor" "$out/story-wine.pdf"
    read_and_print "$editor" "$out/reading-wine.pdf" "$out/reading-wine.png"
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
check "the story file is byte-identical to Linux's" cmp "$out/linux.txt" "$program/Рассказы/wine.txt"
check "the picture list is byte-identical to Linux's" cmp "$out/linux.il" "$program/Рассказы/wine.il"
check "the story page is Linux's: its words and page size" \
    same_pages "$out/story-linux.pdf" "$out/story-wine.pdf"
check "the reading window's page is Linux's: its words and page size" \
    same_pages "$out/reading-linux.pdf" "$out/reading-wine.pdf"
wineserver -k 2>/dev/null || true
sleep 1
first_flowchart timer openbox
wineserver -k 2>/dev/null || true
# Wine's own virtual desktop manages its windows as Windows does.
kill "$wm" 2>/dev/null || true
sleep 1
for how in enter timer; do
    first_flowchart "$how" desktop
    wineserver -k 2>/dev/null || true
    sleep 1
done
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

echo "test-wine.sh took $((SECONDS - started_all)) s"
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
