#!/usr/bin/env bash
# Builds the program alone (installing what is missing) and starts it.
set -euo pipefail
build_targets=(tropinets)
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec ./build/tropinets
