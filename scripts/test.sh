#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
# Usage: scripts/test.sh            the normal build, in build/
#        scripts/test.sh --sanitize the AddressSanitizer + UndefinedBehaviorSanitizer build, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    scripts/build.sh "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DMIRABO_SANITIZE=ON -DMIRABO_TESTS=ON \
        -DMIRABO_BENCHMARKS=OFF
    export ASAN_OPTIONS=detect_leaks=1
else
    build_dir=build
    scripts/build.sh "$build_dir" -DMIRABO_TESTS=ON -DMIRABO_BENCHMARKS=ON
fi
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
