#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz and runs each one
# for the given number of seconds (default 60), one after the other:
#   ./fuzz.sh [seconds] [storyfile|picturelist|codec|picture ...]
# Each starts from the committed corpus in fuzz/corpus/<target> and keeps
# what it finds new in build-fuzz/corpus/<target>. An input that breaks a
# check or a sanitizer is saved in build-fuzz/findings/ and fails the script.
set -euo pipefail
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(storyfile picturelist codec picture)

extra_packages=(clang libclang-rt-14-dev)
setup_builds=no
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DTROPINETS_FUZZ=ON -DTROPINETS_BUILD_TOOLS=OFF
fi
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

failed=0
mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$target"
    log="build-fuzz/findings/$target.log"
    echo "== $target: $seconds s"
    # A picture may claim 200 million points, which the program reads in a
    # fraction of a second and the instrumented fuzzer in about half a minute.
    timeout=10
    [ "$target" != picture ] || timeout=60
    if ! "./build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" \
            -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target-" \
            "build-fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
        failed=1
        echo "   FINDING, see $log:"
        grep -E "check failed|ERROR|SUMMARY|Test unit written" "$log" | sed 's/^/   /' || true
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" | sed 's/^/   /' || true
    echo "   corpus: $(ls "build-fuzz/corpus/$target" | wc -l) inputs"
done
exit $failed
