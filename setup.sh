#!/usr/bin/env bash
# Installs what building and running the program need on Debian, then
# configures and builds into ./build. Sourced by run.sh, test.sh, bench.sh,
# fuzz.sh, package.sh and tools/orca/story-by-ear.sh, which may set before
# sourcing it:
#   extra_packages  more packages to install (what their tests need)
#   build_targets   what to build (default: everything)
#   setup_builds=no install only
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
          qt6-image-formats-plugins libgl-dev libcups2-dev fonts-liberation2 fonts-dejavu-core)
# Reading aloud: Qt's text-to-speech, whose header includes one of Qt's QML
# headers, its speech-dispatcher engine and the server's Russian voice.
# Spelling: Hunspell with the Russian dictionary.
packages+=(qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher
           speech-dispatcher-espeak-ng libhunspell-dev hunspell-ru)
packages+=(${extra_packages[@]+"${extra_packages[@]}"})
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

if [ "${setup_builds:-yes}" = no ]; then
    return 0 2>/dev/null || exit 0
fi

if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -G Ninja
fi
targets=(${build_targets[@]+"${build_targets[@]}"})
cmake --build build -j"$(nproc)" ${targets[@]+--target "${targets[@]}"}
