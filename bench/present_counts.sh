#!/bin/sh
# Instructions per drawn tick of every present_bench case (and start-up), counted by callgrind.
#   bench/present_counts.sh BUILD_DIR [PATTERN]     e.g. bench/present_counts.sh build 'stage/'
# Prints "case millions" lines; start-up is counted once, the ticks as the mean of TIMES runs.
# An ARM cross build (configured with -DMIRABO_BENCHMARKS=ON) is counted under qemu-user: the
# instructions of a run with the measured part repeated, less those of the same run without it.
set -e
here=$(dirname "$0")
build=${1:-build}
pattern=${2:-.}
times=10
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
case "$(od -An -tx1 -j18 -N1 "$build/bench/present_bench" | tr -d ' ')" in # the ELF machine
b7) emulator=qemu-aarch64-static ;;
28) emulator=qemu-arm-static ;;
*) emulator= ;;
esac
executed() { # NAME REPEATS: the guest instructions of the whole run
    "$emulator" -d in_asm,exec,nochain -D /dev/stderr "$build/bench/present_bench" --repeat "$1" "$2" \
        2>&1 >/dev/null | awk -f "$here/qemu_count.awk"
}
count() { # NAME REPEATS
    if [ -n "$emulator" ]; then
        echo "$1 $2 $(executed "$1" "$2") $(executed "$1" 0)" |
            awk '{ printf "%-28s %8.3f\n", $1, ($3 - $4) / $2 / 1e6 }'
        return
    fi
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='measured*' \
        --callgrind-out-file="$out/cg" "$build/bench/present_bench" --repeat "$1" "$2" >/dev/null 2>&1
    awk -v n="$2" -v name="$1" '/^summary:/ { printf "%-28s %8.3f\n", name, $2 / n / 1e6 }' "$out/cg"
}
for name in startup startupFloor; do
    echo "$name" | grep -q -- "$pattern" && count "$name" 1
done
${emulator:+"$emulator"} "$build/bench/present_bench" --list | grep -- "$pattern" | while read -r name; do
    count "$name" $times
done
