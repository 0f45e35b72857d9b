#!/usr/bin/env bash
# Builds the program and runs every benchmark in bench/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
    if [ -f "$b" ] && [ -x "$b" ]; then
        "$b"
    fi
done
