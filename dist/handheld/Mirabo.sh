#!/bin/sh
# Starts Mirabo on an ARM handheld: picks the binary for this CPU, keeps the player's files in a
# writable folder beside the game (conf/, or MIRABO_CONF_DIR) and starts the game there, full screen.
# The binary finds its data in data/ beside it. Arguments are passed to the game.
GAMEDIR=$(cd "$(dirname "$0")/mirabo" && pwd) || exit 1
case $(uname -m) in
aarch64 | arm64) binary=mirabo.aarch64 ;;
arm*) binary=mirabo.armhf ;;
*)
    echo "Mirabo: no binary for a $(uname -m) CPU" >&2
    exit 1
    ;;
esac
CONFDIR=${MIRABO_CONF_DIR:-$GAMEDIR/conf}
mkdir -p "$CONFDIR" || exit 1
# SDL keeps the player's files in $XDG_DATA_HOME/mirabo.
export XDG_DATA_HOME="$CONFDIR"
cd "$CONFDIR" || exit 1
exec "$GAMEDIR/$binary" -fs "$@"
