#!/usr/bin/env bash
# Installs the Debian packages a task needs, skipping those already present.
# Usage: scripts/install-deps.sh play            the game and its content tools
#        scripts/install-deps.sh test            the tests, benchmarks and checkers of the installed files
#        scripts/install-deps.sh package         the packaging tools
#        scripts/install-deps.sh cross ARCH      a cross build for aarch64 or armhf, its tests under qemu
set -euo pipefail

play=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libmodplug-dev zlib1g-dev)
test=(libgtest-dev libbenchmark-dev xvfb xauth libx11-dev desktop-file-utils appstream groff-base
      qemu-user-static)
package=(dpkg-dev zip unzip file)

packages=()
foreign=""
case "${1:-play}" in
play) packages=("${play[@]}") ;;
test) packages=("${play[@]}" "${test[@]}") ;;
package) packages=("${package[@]}") ;;
cross)
    case "${2:-}" in
    aarch64) foreign=arm64 ;;
    armhf) foreign=armhf ;;
    *) echo "usage: $0 cross aarch64|armhf" >&2; exit 2 ;;
    esac
    # The target's SDL_mixer runtime library only: its development package cannot sit beside the
    # build machine's, whose header serves every architecture. JACK is named as the build machine has
    # it (libjack0, which its libjack-dev pulls in): left to choose, apt may take the other JACK for
    # one target and then give up on SDL_mixer's dependencies for the second.
    packages=(crossbuild-essential-$foreign qemu-user-static libsdl2-dev:$foreign libjack0:$foreign
               libsdl2-mixer-2.0-0:$foreign libmodplug-dev:$foreign zlib1g-dev:$foreign libgtest-dev:$foreign)
    ;;
*) echo "usage: $0 [play|test|package|cross aarch64|armhf]" >&2; exit 2 ;;
esac

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
update=false
if [ -n "$foreign" ] && ! dpkg --print-foreign-architectures | grep -qx "$foreign"; then
    $sudo_cmd dpkg --add-architecture "$foreign"
    update=true
fi
missing=()
for name in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' || missing+=("$name")
done
if [ ${#missing[@]} -gt 0 ] || $update; then
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -q
    [ ${#missing[@]} -eq 0 ] ||
        DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
