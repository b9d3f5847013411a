#!/usr/bin/env bash
# Builds the game for ARM handhelds on this Debian machine, in build-ARCH/: installs what is missing,
# makes the content with tools built for this machine (build-host/, or the build folder named by
# MIRABO_HOST_BUILD), cross-compiles the game and its tests, runs the tests that need no display under
# qemu-user, and makes the handheld zip once both ARM builds exist.
# Usage: scripts/cross.sh aarch64|armhf [--no-test]
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-}
case "$arch" in
aarch64) toolchain=cmake/toolchain-aarch64-linux-gnu.cmake ;;
armhf) toolchain=cmake/toolchain-arm-linux-gnueabihf.cmake ;;
*) echo "usage: $0 aarch64|armhf [--no-test]" >&2; exit 2 ;;
esac
tests=ON
[ "${2:-}" != "--no-test" ] || tests=OFF

scripts/install-deps.sh play
scripts/install-deps.sh cross "$arch"
scripts/install-deps.sh package
host=${MIRABO_HOST_BUILD:-}
if [ -z "$host" ]; then
    host=build-host
    scripts/build.sh "$host" -DMIRABO_GAME=OFF
fi
build=build-$arch
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DMIRABO_HOST_BUILD="$(cd "$host" && pwd)" -DMIRABO_TESTS=$tests -DMIRABO_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
file "$build/mirabo"
if [ $tests = ON ]; then
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
fi
if [ -x build-aarch64/mirabo ] && [ -x build-armhf/mirabo ]; then
    scripts/package.sh handheld
else
    echo "The handheld zip needs both ARM builds: run scripts/cross.sh for the other one too."
fi
