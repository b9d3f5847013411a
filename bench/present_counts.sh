#!/bin/sh
# Instructions per drawn tick of every present_bench case (and start-up), counted by callgrind.
#   bench/present_counts.sh BUILD_DIR [PATTERN]     e.g. bench/present_counts.sh build 'stage/'
# Prints "case millions" lines; start-up is counted once, the ticks as the mean of TIMES runs.
set -e
build=${1:-build}
pattern=${2:-.}
times=10
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
count() { # NAME REPEATS
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='measured*' \
        --callgrind-out-file="$out/cg" "$build/bench/present_bench" --repeat "$1" "$2" >/dev/null 2>&1
    awk -v n="$2" -v name="$1" '/^summary:/ { printf "%-28s %8.3f\n", name, $2 / n / 1e6 }' "$out/cg"
}
for name in startup startupFloor; do
    echo "$name" | grep -q -- "$pattern" && count "$name" 1
done
"$build/bench/present_bench" --list | grep -- "$pattern" | while read -r name; do
    count "$name" $times
done
