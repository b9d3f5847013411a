#!/bin/sh
# Runs the handheld zip's launcher as a handheld would, once for each ARM CPU, under qemu-user: a
# BusyBox of the target (from Debian's busybox-static package, unpacked here, not installed) runs
# Mirabo.sh, so uname reports the emulated CPU, and binfmt_misc, registered in a user namespace of this
# script's own, hands every ARM program to qemu. The game (SDL's dummy drivers, the test stage) must
# start the binary for that CPU and write the hiscore table into mirabo/conf/mirabo/.
# Usage: scripts/check-handheld.sh build-handheld/mirabo.zip
# Exit status 77: skipped (no user namespaces here, or BusyBox could not be downloaded).
set -eu
if [ "${1:-}" = --inside ]; then
    work=$2
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    for cpu in aarch64 arm; do
        magic=$(sed -n 's/^magic //p' /usr/share/binfmts/qemu-$cpu)
        mask=$(sed -n 's/^mask //p' /usr/share/binfmts/qemu-$cpu)
        printf ':qemu-%s:M::%s:%s:%s:F\n' $cpu "$magic" "$mask" "$(command -v qemu-$cpu-static)" \
            >/proc/sys/fs/binfmt_misc/register
    done
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    for arch in arm64 armhf; do
        applets=$work/applets-$arch
        mkdir -p "$applets"
        for applet in sh uname dirname mkdir; do
            ln -sf "$work/busybox-$arch/bin/busybox" "$applets/$applet"
        done
        rm -rf "$work/port/mirabo/conf"
        PATH=$applets sh "$work/port/Mirabo.sh" -t >"$work/out-$arch.txt" 2>&1 &
        game=$!
        tries=0
        until [ -f "$work/port/mirabo/conf/mirabo/hiscores.dat" ]; do
            tries=$((tries + 1))
            if [ $tries -gt 600 ] || ! kill -0 $game 2>/dev/null; then
                echo "$arch: the game did not start:"; cat "$work/out-$arch.txt"; exit 1
            fi
            sleep 0.1
        done
        started=$(tr '\0' ' ' </proc/$game/cmdline)
        kill -KILL $game
        wait $game 2>/dev/null || true
        echo "$arch: uname -m says $("$applets/uname" -m); running: $started"
        echo "$arch: the game wrote $(ls "$work/port/mirabo/conf/mirabo")"
    done
    exit 0
fi

self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unshare --user --map-root-user --mount true 2>/dev/null || { echo "no user namespaces: skipped"; exit 77; }
unzip -q "$zip" -d "$work/port"
for arch in arm64 armhf; do
    (cd "$work" && apt-get download -q "busybox-static:$arch" >/dev/null 2>&1) ||
        { echo "cannot download busybox-static:$arch: skipped"; exit 77; }
    dpkg-deb -x "$work"/busybox-static_*_$arch.deb "$work/busybox-$arch"
done
unshare --user --map-root-user --mount sh "$self" --inside "$work"
