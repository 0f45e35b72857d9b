#!/usr/bin/env bash
# Builds the Debian package of the program (installing what is missing):
#   ./package.sh [build folder, ./build-deb by default]
# The package installs the program with its story and picture folders in
# /opt/tropinets, the tropinets command in /usr/bin, and the desktop entry
# and icons under /usr/share. Install it with: sudo apt-get install ./<file>.deb
set -euo pipefail
extra_packages=(dpkg-dev)
setup_builds=no
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
folder=${1:-build-deb}

cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROPINETS_BUILD_TOOLS=OFF \
      -DCMAKE_INSTALL_PREFIX=/opt/tropinets -DTROPINETS_DESKTOP_PREFIX=/usr \
      -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$folder" -j"$(nproc)" --target tropinets
rm -f "$folder"/tropinets_*.deb
(cd "$folder" && cpack -G DEB)
echo "Package: $(ls "$folder"/tropinets_*.deb)"
