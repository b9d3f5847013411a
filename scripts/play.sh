#!/usr/bin/env bash
# Installs what is missing, builds the game and its content (no tests, no benchmarks), and starts it
# in the run folder. Arguments are passed to the game (for example -w, -fs, -t; -h lists them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
scripts/build.sh build -DMIRABO_TESTS=OFF -DMIRABO_BENCHMARKS=OFF
cd build
exec ./mirabo "$@"
