#!/usr/bin/env bash
# Builds the program, its tests and benchmarks and runs every test
# (installing what is missing: the tests also need a print server with a PDF
# printer, poppler's PDF tools, clang-format, and ImageMagick and exiftool to
# write pictures as other programs do; the speech server that setup.sh brings
# runs privately in the test of reading aloud, its voice a script that needs
# only the shell; Chromium, driven by Selenium, reads the story's web page).
set -euo pipefail
extra_packages=(poppler-utils cups cups-client printer-driver-cups-pdf clang-format
                imagemagick libimage-exiftool-perl chromium chromium-driver python3-selenium)
# axe-core audits the web page; npm installs it. A Node.js that brings its own
# npm is kept.
command -v npm >/dev/null || extra_packages+=(npm)
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ctest --test-dir build --output-on-failure -j"$(nproc)"
