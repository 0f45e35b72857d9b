#!/usr/bin/env bash
# A mouse user's tour of every window, one screenshot each: the title, the
# editor, the entry window, the picture, Save, web page and Open dialogs, a warning,
# the menus, the help (also scrolled), the reading walk's boxes and window,
# the print boxes and dialog, the exit question. Run it for two builds and
# compare the PNGs (`compare -metric AE a.png b.png null:`); the tour is the
# same every time, so equal windows give 0 (the text caret may blink).
#   tools/mouse-tour.sh PROGRAM_FOLDER OUT_FOLDER
# PROGRAM_FOLDER holds tropinets with Картинки and Рассказы (a build folder).
set -u
prog=$(realpath "$1"); out=$2
# The folders are fixed: one tour at a time. Not the lock a caller may hold
# around the tour (flock /tmp/mouse-tour.lock tools/mouse-tour.sh …), which
# a second open of the same file would wait for forever.
exec 9> /tmp/mouse-tour.folders.lock
flock 9
mkdir -p "$out"; rm -f "$out"/*.png
display=80
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -noreset -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
sleep 1
setxkbmap -layout ru,us
openbox > /dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2> /dev/null' EXIT
sleep 1
# Fixed folders: the dialogs show their paths.
work=/tmp/mouse-tour/program; rm -rf $work; mkdir -p $work; cp -a "$prog"/tropinets "$prog"/Картинки "$prog"/Рассказы "$work"/
saved=/tmp/mouse-tour/saved; rm -rf $saved; mkdir -p $saved
cd "$work"
QT_QPA_PLATFORMTHEME= ./tropinets > "$out/app.log" 2>&1 &
app=$!
shot() { sleep 1.2; import -window root "$out/$1.png"; }
click() { xdotool mousemove "$1" "$2"; sleep 0.2; xdotool click 1; }
# xdotool reports the client area 20 pixels lower than openbox places it.
win() { eval "$(xdotool getactivewindow getwindowgeometry --shell)"; Y=$((Y-20)); }
sleep 2; shot 01_title
click 640 500; sleep 1.5; shot 02_editor_empty
texts=("Жила-была лиса." "Пойдёт ли лиса к реке?" "Лиса осталась дома." "Лиса пошла к реке." "Испечёт ли она пирог?" "Встретит ли она бобра?" "Пирог сгорел." "Пирог удался." "Бобра не было." "Бобр построил ей мост.")
xs=(650 655 343 957 347 962 168 496 784 1111); ys=(132 206 247 247 322 322 382 382 382 382)
for b in 0 1 2 3 4 5 6 7 8 9; do
  click ${xs[$b]} ${ys[$b]}; sleep 1
  [ $b = 0 ] && shot 03_entry_empty
  xdotool type --delay 30 "${texts[$b]}"
  [ $b = 9 ] && shot 04_entry_text
  win; click $((X+8+148)) $((Y+208+16)); sleep 0.8
done
shot 05_editor_story
click 205 755; shot 06_picture_dialog
xdotool type --delay 20 "$work/Картинки/лиса_у_реки.jpg"; xdotool key Return; sleep 1
printf 'no picture' > "$saved/не картинка.jpg"
click 495 755; sleep 1.2; xdotool type --delay 20 "$saved/не картинка.jpg"; xdotool key Return; shot 07_warning
xdotool key Return; sleep 0.5
click 26 27; shot 08_menu_file
click 60 52; shot 09_save_dialog
xdotool type --delay 20 "$saved/лиса.txt"; xdotool key Return; sleep 1; shot 10_editor_saved
click 26 27; sleep 0.5; click 60 75; shot 10b_web_page_dialog
xdotool key Escape; sleep 0.5
click 26 27; sleep 0.5; click 60 98; shot 11_open_dialog
xdotool key Escape; sleep 0.5
click 162 27; shot 12_help
win; xdotool mousemove $((X+200)) $((Y+150)); for i in 1 2 3 4 5 6 7 8; do xdotool click 5; sleep 0.1; done; shot 12b_help_scrolled
win; click $((X+5)) $((Y+HEIGHT-5)); sleep 0.8
click 82 27; shot 13_menu_story
click 110 52; shot 14_question1
xdotool key Return; shot 15_question2
xdotool key Escape; shot 16_input_title
xdotool type --delay 30 "Лиса и пирог"; xdotool key Return; shot 17_input_name
xdotool type --delay 30 "Петя"; xdotool key Return; shot 18_reading
win; click $((X+150)) $((Y+10)); sleep 1.5; shot 19_editor_back
click 82 27; sleep 0.5; click 110 75; shot 20_input_author
xdotool type --delay 30 "Маша"; xdotool key Return; shot 21_input_story_title
xdotool key Return; shot 22_print_dialog
xdotool key Escape; sleep 1
click 238 27; shot 23_exit_question
xdotool key Return; sleep 1
kill $app 2>/dev/null
ls "$out" | wc -l
