#!/usr/bin/env bash
# Installs the Debian packages Mirabo needs to build, test and play, skipping those already present.
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libmodplug-dev zlib1g-dev
          libgtest-dev libbenchmark-dev xvfb xauth libx11-dev)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
