#!/usr/bin/env bash
# Builds the program and runs every test (installing what is missing).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ctest --test-dir build --output-on-failure -j"$(nproc)"
