#!/bin/sh
# Formats the man page with every warning of groff turned on; any warning fails (77: no groff here).
command -v groff >/dev/null 2>&1 || { echo "man page check: no groff, skipped"; exit 77; }
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
