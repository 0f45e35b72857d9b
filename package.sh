#!/usr/bin/env bash
# Builds the Debian package of the program and, from the same install rules,
# its RPM package (installing what is missing):
#   ./package.sh [build folder, ./build-deb by default]
# The packages install the program with its story and picture folders in
# /opt/tropinets, the tropinets command in /usr/bin, and the desktop entry,
# icons, AppStream metadata and manual pages under /usr/share.
# Install it with: sudo apt-get install ./<file>.deb
set -euo pipefail
# rpm provides rpmbuild for the .rpm.
extra_packages=(dpkg-dev rpm)
setup_builds=no
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
folder=${1:-build-deb}

# The changelogs' and the AppStream releases' newest entries name the version
# being packaged; a package whose changelog lags behind is refused by lintian.
version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
newest() { grep -m1 -E "$2" "packaging/$1" || true; }
for check in "changelog|^tropinets |^tropinets \($version\) " \
             "rpm-changelog|^\* |^\* .* - $version-1\$" \
             "tropinets.metainfo.xml|<release |<release version=\"$version\""; do
    IFS='|' read -r file entry wanted <<<"$check"
    if ! newest "$file" "$entry" | grep -qE "$wanted"; then
        echo "packaging/$file starts with \"$(newest "$file" "$entry")\", not with the version $version" >&2
        exit 1
    fi
done

# Debian's hardening flags, as every Debian package is built: fortified
# functions, read-only relocations, immediate binding. No debug information
# (-g), as the package strips it; no compiler name in the program (-fno-ident).
buildflags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cxxflags="$(buildflags CPPFLAGS) $(buildflags CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /') -fno-ident"

cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROPINETS_BUILD_TOOLS=OFF \
      -DCMAKE_INSTALL_PREFIX=/opt/tropinets -DTROPINETS_DESKTOP_PREFIX=/usr \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(buildflags LDFLAGS)" \
      -DCMAKE_SKIP_RPATH=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$folder" -j"$(nproc)" --target tropinets
rm -f "$folder"/tropinets_*.deb "$folder"/tropinets-*.rpm
(cd "$folder" && cpack -G "DEB;RPM")
echo "Packages: $(ls "$folder"/tropinets_*.deb "$folder"/tropinets-*.rpm)"
