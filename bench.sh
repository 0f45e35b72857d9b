#!/usr/bin/env bash
# Builds the program and runs every benchmark in bench/: one table of the
# program's times against their floors.
set -euo pipefail
# bench_pictures measures pictures that ImageMagick writes.
extra_packages=(imagemagick libimage-exiftool-perl)
# The build talks on standard error, so standard output is the table alone.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" >&2
export QT_QPA_PLATFORM=offscreen
# One table: the first program prints the header, the rest only their rows
# (see bench/BenchSupport.h).
for b in build/bench/bench_*; do
    if [ -f "$b" ] && [ -x "$b" ]; then
        "$b"
        export TROPINETS_BENCH_ROWS_ONLY=1
    fi
done
