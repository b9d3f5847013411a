#!/bin/sh
# The installed game, started from / with a fresh home, finds its data and keeps the player's files in
# ~/.local/share/mirabo; the game binary started in a folder that holds data/ keeps them there.
# Usage: install_smoke.sh BUILD_DIR (headless: the test stage under SDL's dummy drivers, stopped once
# the hiscore table is written, by SIGTERM).
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
unset XDG_DATA_HOME

# Runs the game in the folder $1 with HOME $2 until the file $3 appears (at most 30 s).
run_until() {
    (cd "$1" && HOME=$2 exec "$game" -t >"$work/out.txt" 2>&1) &
    pid=$!
    tries=0
    while [ ! -f "$3" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then
            echo "no $3; the game said:"; cat "$work/out.txt"; exit 1
        fi
        sleep 0.1
    done
    # Stopped as a session ends: the game finishes its tick and leaves with status 0.
    kill -TERM "$pid"
    status=0; wait "$pid" || status=$?; pid=
    [ $status -eq 0 ] || { echo "the game ended with status $status on SIGTERM"; cat "$work/out.txt"; exit 1; }
    if grep -q -e Cannot -e Error -e Unable "$work/out.txt"; then cat "$work/out.txt"; exit 1; fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
game=$(find "$work/prefix" -type f -name mirabo -perm -u+x)
mkdir "$work/home"
run_until / "$work/home" "$work/home/.local/share/mirabo/hiscores.dat"
echo "installed: $game keeps the player's files in ~/.local/share/mirabo"

game=$build/mirabo
mkdir "$work/run" "$work/home2"
ln -s "$build/data" "$work/run/data"
run_until "$work/run" "$work/home2" "$work/run/hiscores.dat"
[ ! -e "$work/home2/.local/share/mirabo" ] || { echo "folder mode touched the per-user folder"; exit 1; }
echo "folder mode: the player's files stay beside data/"
