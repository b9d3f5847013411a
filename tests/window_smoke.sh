#!/bin/sh
# Runs the real-window smoke test on a virtual X display; skipped (77) where Xvfb is missing.
command -v xvfb-run >/dev/null 2>&1 || { echo "window smoke: no xvfb-run, skipped"; exit 77; }
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
