#!/bin/sh
# Runs a test program's tooltip tests on a virtual X server with a window manager (openbox) and no
# compositing manager. Usage: tool_tip_x11_check.sh TEST_PROGRAM SCRATCH_FOLDER TEST_NAME...
# The server's depth of 24 and its Composite extension give the 32-bit visual that a translucent
# window takes; with nothing composing, the server shows that window's own pixels, so see-through
# parts not painted over a capture come out black. The screen grabs stay in SCRATCH_FOLDER/grabs.
set -eu
tests="$1"
scratch="$2"
shift 2
rm -rf "$scratch"
mkdir -p "$scratch/grabs"
Xvfb -displayfd 3 -screen 0 1024x768x24 +extension Composite -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
trap 'kill $wm 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
wm=""
tries=0
until [ -s "$scratch/display" ]; do
  tries=$((tries + 1)); [ $tries -lt 200 ] || { echo "Xvfb did not start"; exit 1; }
  sleep 0.1
done
DISPLAY=":$(cat "$scratch/display")"
export DISPLAY
openbox >"$scratch/openbox.log" 2>&1 &
wm=$!
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
  tries=$((tries + 1)); [ $tries -lt 200 ] || { echo "openbox did not start"; exit 1; }
  sleep 0.1
done
# Each case in a program of its own, so that none starts with the pointer over an earlier window.
: >"$scratch/run.log"
for case in "$@"; do
  QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 LUMBRA_X11_GRABS="$scratch/grabs" "$tests" --gtest_filter="$case" >>"$scratch/run.log" 2>&1 || true
done
cat "$scratch/run.log"
if grep -q "SKIPPED" "$scratch/run.log"; then echo "skipped on X"; exit 1; fi
[ "$(grep -c "^\[  PASSED  \] 1 test" "$scratch/run.log")" -eq $# ]
