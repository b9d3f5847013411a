#!/usr/bin/env bash
# Makes the packages players install.
# Usage: scripts/package.sh deb       the Debian package for this machine: build-deb/mirabo_VERSION_ARCH.deb
#        scripts/package.sh handheld  the zip for handheld port managers, from the ARM builds that
#                                     scripts/cross.sh makes in build-aarch64/ and build-armhf/:
#                                     build-handheld/mirabo.zip (Mirabo.sh and mirabo/)
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
deb)
    scripts/install-deps.sh play
    scripts/install-deps.sh package
    scripts/build.sh build-deb -DCMAKE_INSTALL_PREFIX=/usr -DMIRABO_TESTS=OFF -DMIRABO_BENCHMARKS=OFF
    (cd build-deb && cpack -G DEB)
    ;;
handheld)
    scripts/install-deps.sh package
    for arch in aarch64 armhf; do
        [ -x build-$arch/mirabo ] || { echo "no build-$arch/mirabo: run scripts/cross.sh $arch" >&2; exit 1; }
    done
    stage=build-handheld/zip
    rm -rf build-handheld
    mkdir -p "$stage/mirabo"
    install -m 755 dist/handheld/Mirabo.sh "$stage/"
    aarch64-linux-gnu-strip -o "$stage/mirabo/mirabo.aarch64" build-aarch64/mirabo
    arm-linux-gnueabihf-strip -o "$stage/mirabo/mirabo.armhf" build-armhf/mirabo
    cp -r build-aarch64/data "$stage/mirabo/data"
    cp build-aarch64/dist/port.json build-aarch64/dist/README.md build-aarch64/screenshot.png LICENSE "$stage/mirabo/"
    (cd "$stage" && zip -q -r ../mirabo.zip Mirabo.sh mirabo)
    unzip -l build-handheld/mirabo.zip
    scripts/check-handheld.sh build-handheld/mirabo.zip || [ $? -eq 77 ]
    ;;
*)
    echo "usage: $0 deb|handheld" >&2
    exit 2
    ;;
esac
