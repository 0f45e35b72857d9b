#!/usr/bin/env bash
# Builds Тропинец for 64-bit Windows on Debian 12, from a fresh clone to
# build-windows/tropinets-VERSION-setup.exe:
#   1. installs the MinGW-w64 cross compiler, Wine, NSIS and Qt's host tools;
#   2. fetches Debian's own Qt source (qtbase) from the
#      mirror this machine's apt uses, and builds the modules the program
#      needs as shared libraries, into a cache outside the tree that later
#      runs reuse ($TROPINETS_WINDOWS_CACHE, default ~/.cache/tropinets-windows);
#   3. cross-builds the program and its core tests;
#   4. packs the Russian setup program with NSIS.
#
#   packaging/windows/build.sh [qt|program|installer]   (default: all of it)
#
# Tests under Wine: packaging/windows/test-wine.sh, after this.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here=$top/packaging/windows
cache=${TROPINETS_WINDOWS_CACHE:-$HOME/.cache/tropinets-windows}
prefix=$cache/qt
out=$top/build-windows
stage=${1:-all}
jobs=$(nproc)
export LC_ALL=C.UTF-8

extra_packages=(g++-mingw-w64-x86-64-posix wine64 nsis dpkg-dev pkg-config hunspell-ru xvfb
                imagemagick)
setup_builds=no
source "$top/setup.sh"
source "$top/packaging/apt-mirrors.sh"

step() { echo "== $(date +%T) $*"; }

# Debian's source package NAME unpacked under $cache/src, by a private apt
# list that holds deb-src lines for this machine's own mirrors, so that the
# machine's sources stay as they are.
fetch_source() {
    local name=$1 dir
    dir=$(ls -d "$cache/src/$name"-[0-9]*/ 2>/dev/null | head -n 1 || true)
    if [ -n "$dir" ]; then
        echo "${dir%/}"
        return
    fi
    local apt=$cache/apt
    mkdir -p "$apt/lists/partial" "$cache/src"
    apt_mirrors_or_fail deb-src bookworm bookworm-updates bookworm-security >"$apt/sources.list"
    local opts=(-o "Dir::Etc::sourcelist=$apt/sources.list" -o Dir::Etc::sourceparts=-
                -o "Dir::State::Lists=$apt/lists")
    apt-get "${opts[@]}" update -qq >&2 || return 1
    if ! (cd "$cache/src" && apt-get "${opts[@]}" source -qq "$name" >&2); then
        echo "apt-get source $name failed: the mirrors in $apt/sources.list do not serve it" >&2
        return 1
    fi
    dir=$(ls -d "$cache/src/$name"-[0-9]*/ | head -n 1)
    echo "${dir%/}"
}

build_qtbase() {
    [ -f "$prefix/.qtbase-done" ] && return
    local src
    src=$(fetch_source qt6-base) || exit 1
    step "Configuring qtbase from $src"
    rm -rf "$cache/build-qtbase"
    # Only what the program and its tests use: no network, SQL, D-Bus or
    # OpenGL widgets. Windows' wintab is not in Debian's source; OpenGL stays
    # at its default, as the Windows platform plugin of 6.4 needs it.
    cmake -S "$src" -B "$cache/build-qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF \
        -DBUILD_SHARED_LIBS=ON -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF \
        -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_opengl_widgets=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        >"$cache/qtbase-configure.log"
    step "Building qtbase (an hour or more on two cores)"
    cmake --build "$cache/build-qtbase" -j"$jobs" >"$cache/qtbase-build.log"
    cmake --install "$cache/build-qtbase" >/dev/null
    touch "$prefix/.qtbase-done"
}

# Hunspell, for the spelling check: Debian's source, its library's few
# files compiled as they are into a static library, found by pkg-config
# (its folder given to the linker: the cross build finds no library outside
# its own roots).
build_hunspell() {
    local lib=$cache/hunspell
    [ -f "$lib/.done" ] && return
    local src
    src=$(fetch_source hunspell) || exit 1
    step "Building Hunspell"
    rm -rf "$lib"
    mkdir -p "$lib/obj" "$lib/lib/pkgconfig" "$lib/include/hunspell"
    local file
    for file in "$src"/src/hunspell/*.cxx; do
        x86_64-w64-mingw32-g++-posix -O2 -std=c++11 -DHUNSPELL_STATIC -I"$src/src/hunspell" \
            -c "$file" -o "$lib/obj/$(basename "$file" .cxx).o"
    done
    x86_64-w64-mingw32-ar rcs "$lib/lib/libhunspell.a" "$lib"/obj/*.o
    cp "$src"/src/hunspell/{hunspell.hxx,hunspell.h,hunvisapi.h,w_char.hxx,atypes.hxx,htypes.hxx} \
        "$lib/include/hunspell/"
    cat >"$lib/lib/pkgconfig/hunspell.pc" <<PC
Name: hunspell
Description: Hunspell, built for Windows
Version: $(basename "$src" | sed 's/^hunspell-//')
Cflags: -I$lib/include -DHUNSPELL_STATIC
Libs: -L$lib/lib -lhunspell
PC
    touch "$lib/.done"
}

build_qt() {
    build_qtbase
    build_hunspell
}

version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")

# The program and its core tests, and the installed folder in $out/stage.
build_program() {
    step "Building the program and its core tests"
    # ctest in $out/build runs each test through Wine.
    PKG_CONFIG_LIBDIR=$cache/hunspell/lib/pkgconfig \
        "$prefix/bin/qt-cmake" -S "$top" -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=ON -DCMAKE_INSTALL_PREFIX="$out/stage" \
        -DCMAKE_EXE_LINKER_FLAGS="-L$cache/hunspell/lib" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-run.sh" >/dev/null
    cmake --build "$out/build" -j"$jobs"
    rm -rf "$out/stage"
    cmake --install "$out/build" >/dev/null
    # Debug information is of no use at school and is most of the size.
    find "$out/stage" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
}

# The setup program, and the list of what its uninstaller removes: the
# installed files by name, then their folders deepest first, each only when
# empty.
pack_installer() {
    step "Packing the setup program"
    cp "$top/widgets/assets/tropinets.ico" "$out/tropinets.ico"
    (
        cd "$out/stage"
        find . -type f | sort | sed 's:^\./::; s:/:\\:g; s:.*:    Delete "$INSTDIR\\&":'
        find . -mindepth 1 -type d | sort -r | sed 's:^\./::; s:/:\\:g; s:.*:    RMDir "$INSTDIR\\&":'
    ) >"$out/files.nsh"
    makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DSTAGE="$out/stage" \
        -DOUTFILE="$out/tropinets-$version-setup.exe" "$here/tropinets.nsi"
    ls -l "$out/tropinets-$version-setup.exe"
}

case $stage in
qt) build_qt ;;
program) build_program ;;
installer) pack_installer ;;
all)
    build_qt
    build_program
    pack_installer
    ;;
*) echo "usage: $0 [qt|program|installer]" >&2; exit 2 ;;
esac
step "Done"
