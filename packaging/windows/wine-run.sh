#!/usr/bin/env bash
# Runs a program cross-built for Windows under Wine, with Qt's libraries and
# plugins from the Qt that build.sh built; ctest calls it for every test.
# Wine needs an X display even for the offscreen platform: test-wine.sh
# starts one.
set -euo pipefail
cache=${TROPINETS_WINDOWS_CACHE:-$HOME/.cache/tropinets-windows}
export WINEPREFIX=${WINEPREFIX:-$cache/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
fi
export WINEPATH="$(/usr/lib/wine/wine64 winepath -w "$cache/qt/bin" 2>/dev/null);$(/usr/lib/wine/wine64 winepath -w /usr/lib/gcc/x86_64-w64-mingw32/12-posix 2>/dev/null);$(/usr/lib/wine/wine64 winepath -w /usr/x86_64-w64-mingw32/lib 2>/dev/null)"
export QT_PLUGIN_PATH=${QT_PLUGIN_PATH:-$(/usr/lib/wine/wine64 winepath -w "$cache/qt/plugins" 2>/dev/null)}
# Qt's offscreen platform on Windows reads its fonts from one folder: the
# Liberation fonts, which the Linux tests write with too.
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$(/usr/lib/wine/wine64 winepath -w /usr/share/fonts/truetype/liberation2 2>/dev/null)}
# Qt sends its messages and the tests' output to the debugger when the
# program has no console of its own, as under Wine; they belong in the log.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps the host's QT_ variables from Windows programs, which would
# take a Linux Qt's settings; it hands on WINEQT_X as QT_X.
while IFS='=' read -r name _; do
    export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Z_]*=')
exec /usr/lib/wine/wine64 "$@"
