#!/usr/bin/env bash
# A blind pupil's whole story, by ear, with the real screen reader: Orca in
# Russian on a private X server, session bus and speech server, the program
# driven by keys only, and what Orca said checked against what a pupil must
# hear. Not run by CI: it needs Orca and takes a few minutes.
#   tools/orca/story-by-ear.sh [PROGRAM]      (default: build/tropinets)
# What was spoken is kept in the folder it names at the end. Run it as root:
# the private print server needs it.
set -euo pipefail
trap 'echo "story-by-ear: failed at line $LINENO" >&2' ERR
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
program="$(realpath "${1:-$root/build/tropinets}")"

# Installed as the build's own packages are, when missing.
extra_packages=(orca speech-dispatcher at-spi2-core python3-pyatspi xdotool openbox xvfb
                x11-xkb-utils dbus cups cups-client)
setup_builds=no
source "$root/setup.sh"
# Orca will not start beside another Orca.
if pgrep -x orca > /dev/null; then
    echo "story-by-ear: another Orca runs (pid $(pgrep -x orca | tr '\n' ' ')); stop it first." >&2
    exit 1
fi

work="$(mktemp -d /tmp/story-by-ear.XXXXXX)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
}
trap cleanup EXIT

# A display number nobody uses, from STORY_BY_EAR_DISPLAY (a number) on.
display=${STORY_BY_EAR_DISPLAY:-90}
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
# -noreset: otherwise the server resets when its first client leaves and
# forgets the keyboard layout.
Xvfb ":$display" -screen 0 1280x1024x24 -noreset -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
# Russian first, as a pupil types; Latin beside it, or Ctrl+S and Ctrl+O
# find no letter.
setxkbmap -layout ru,us
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)

# Everything of the session lives in the work folder: settings of Orca and
# of the speech server, the runtime folder, the spoken texts.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The speech server's only voice writes each text it is given into a file.
cat > "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" << CONF
AddModule "file" "sd_generic" "file.conf"
DefaultModule file
LanguageDefaultModule "ru" "file"
DefaultLanguage "ru"
AudioOutputMethod "libao"
LogLevel 3
LogDir "$work"
CONF
cat > "$XDG_CONFIG_HOME/speech-dispatcher/modules/file.conf" << CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $work/spoken.txt"
GenericMaxChunkLength 100000
GenericDelimiters ""
GenericLanguage "ru" "ru" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "ru" "MALE1" "ru"
AddVoice "en" "MALE1" "en"
CONF
: > "$work/spoken.txt"

# A print server of its own, with one queue that throws the pages away.
mkdir -p "$work/cups/"{etc,spool,cache,state,tmp,log}
chmod 755 "$work" "$work/cups"
chmod 1777 "$work/cups/tmp"
cat > "$work/cups/cupsd.conf" << CONF
Listen $work/cups/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$work/cups/cups-files.conf" << CONF
ServerRoot $work/cups/etc
RequestRoot $work/cups/spool
CacheDir $work/cups/cache
StateDir $work/cups/state
TempDir $work/cups/tmp
AccessLog $work/cups/log/access_log
ErrorLog $work/cups/log/error_log
PageLog $work/cups/log/page_log
FileDevice Yes
CONF
/usr/sbin/cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" &
pids+=($!)
export CUPS_SERVER="$work/cups/cups.sock"
for _ in $(seq 100); do lpstat -r 2> /dev/null | grep -q "is running" && break; sleep 0.1; done
lpadmin -p pdf -E -v file:/dev/null -m raw 2> /dev/null
lpadmin -d pdf

export LANGUAGE=ru LC_ALL=C.UTF-8
export QT_QPA_PLATFORMTHEME= QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
echo "story-by-ear: work folder $work"
status=0
dbus-run-session -- python3 "$here/story_by_ear.py" "$program" "$work" || status=$?
echo "story-by-ear: spoken texts in $work/spoken.txt, Orca's own log in $work/orca-debug.txt"
exit $status
