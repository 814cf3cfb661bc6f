#!/bin/sh
# wayland_check.sh LUMBRA_NSS GRAB_TOOLKIT GUI_TESTS WORK_FOLDER
# The desktop program on a Wayland session: under weston's headless back-end and Qt's Wayland
# platform, the main window shows, and so do the help tooltip, a menu of the menu bar and a
# message box, the last two as windows of the main window placed by it (the popup tests of
# GUI_TESTS, which wait at each stage for its screenshot). The compositor's screenshots are kept
# in WORK_FOLDER (main_window.png, help_tooltip.png, menu_window.png, menu.png, message_window.png,
# message_box.png) to be looked at. Exits 77 (skipped) when weston or Qt's Wayland platform is
# not installed.
set -eu
program=$1 grab=$2 gui_tests=$3 work=$4
fail() { echo "FAIL: $*"; exit 1; }
if ! command -v weston >/dev/null 2>&1 || ! command -v weston-screenshooter >/dev/null 2>&1; then
  echo "weston is not installed (sh scripts/install-dependencies.sh)"; exit 77
fi
if ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1; then
  echo "Qt's Wayland platform is not installed (qt6-wayland)"; exit 77
fi
rm -rf "$work"
mkdir -p "$work/runtime" "$work/shots"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=lumbra-check QT_QPA_PLATFORM=wayland ASAN_OPTIONS=detect_leaks=0
unset DISPLAY
weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --debug --width=1024 --height=768 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
app_pid="" xvfb_pid=""
cleanup() {
  set +e  # a program that already ended must not keep weston from being ended
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  kill "$weston_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

# Waits (up to about 30 s, in tenths) for a command to succeed.
wait_for() {
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || return 1
    sleep 0.1
  done
}
wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start: $(tail -n 5 "$work/weston.log")"

# One screenshot of the compositor's output into $1.
shoot() {
  rm -f "$work/shots/"*.png
  (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1) || return 1
  mv "$work/shots/"*.png "$1"
}
# A window covers the middle of the output: it is light there, where the desktop's background is
# a middle grey (and black before the shell has drawn it).
window_in_middle() {
  brightness=$(convert "$1" -crop 400x300+312+234 -colorspace Gray -format '%[fx:mean > 0.75 ? 1 : 0]' info:)
  [ "$brightness" = 1 ]
}
# The tooltip's yellow body is on the screen: more than a thousand pixels of its colour.
tooltip_shown() {
  pixels=$(convert "$1" -fuzz 6% -fill magenta -opaque 'srgb(253,255,171)' -fill black +opaque magenta \
           -format '%[fx:mean.b * w * h > 1000 ? 1 : 0]' info:)
  [ "$pixels" = 1 ]
}

"$program" --no-drives >"$work/program.log" 2>&1 &
app_pid=$!
window_shown() { shoot "$work/main_window.png" && window_in_middle "$work/main_window.png"; }
wait_for window_shown || fail "the main window did not show: $(tail -n 5 "$work/program.log")"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$work/program.log")"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""

# The help tooltip, shown by the toolkit's grabber, which keeps it on the screen until the file
# "release" exists.
"$grab" "$work/pictures" --keep-open "$work/release" >"$work/grab.log" 2>&1 &
app_pid=$!
wait_for grep -q '^shown$' "$work/grab.log" || fail "the tooltip was not shown: $(tail -n 5 "$work/grab.log")"
tip_shown() { shoot "$work/help_tooltip.png" && tooltip_shown "$work/help_tooltip.png"; }
wait_for tip_shown || fail "the tooltip is not on the screen"
touch "$work/release"
wait "$app_pid" || fail "the grabber failed: $(cat "$work/grab.log")"
app_pid=""
[ -s "$work/pictures/help_tooltip_b.png" ] || fail "no picture of the tooltip"

# The region where two screenshots differ below the panel (whose clock goes on), as W H X Y.
changed_region() {
  convert "$1" "$2" -compose difference -composite -crop 1024x736+0+32 +repage -colorspace Gray -threshold 4% \
    -format '%@' info: | sed 's/[x+]/ /g' | awk '{ print $1, $2, $3, $4 + 32 }'
}
# A menu grabs the pointer, which Wayland allows only with the serial of a real input event, and
# the headless back-end has no seat: the popup tests run on a second weston, on its X11 back-end
# over Xvfb, whose window a click of xdotool reaches as pointer input.
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
  echo "Xvfb or xdotool is not installed"; exit 77
fi
kill "$weston_pid"
wait "$weston_pid" 2>/dev/null || true
Xvfb -displayfd 3 -screen 0 2200x900x24 3>"$work/xvfb.display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for test -s "$work/xvfb.display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/xvfb.display")" WAYLAND_DISPLAY=lumbra-check-popups
weston --backend=x11-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --debug --width=1024 --height=768 \
  --idle-time=0 >"$work/weston-x11.log" 2>&1 &
weston_pid=$!
wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston on X did not start: $(tail -n 5 "$work/weston-x11.log")"
# The main window is wider and taller than half the output, so wherever weston puts it, it
# covers the output's middle.
# The screenshot of the window is taken again once the click has settled (two screenshots alike),
# so that neither the pointer it moved nor the window it activated counts as the menu.
settled() {
  cp "$work/menu_window.png" "$work/menu_window_before.png" && shoot "$work/menu_window.png" &&
    [ "$(changed_pixels "$work/menu_window_before.png" "$work/menu_window.png")" -eq 0 ]
}
click_middle() {
  # Xvfb starts with the pointer in the middle of its screen, which is wider than twice weston's
  # window: the pointer then enters the window, which weston needs to follow it.
  xdotool mousemove 512 384; sleep 0.3
  xdotool mousedown 1; sleep 0.1; xdotool mouseup 1
  wait_for settled || fail "the window does not settle after the click"
}
changed_pixels() { compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | sed 's/[^0-9.e+].*//' | awk '{ printf "%d", $1 }'; }
# Runs the popup tests; at each stage waits for it, takes its screenshot into $work/STAGE.png
# once it shows more than $2 changed pixels against the screenshot named $3 (none: any), and
# lets the tests go on, after running $4 if given.
stage_shown() { shoot "$work/$name.png" && [ "$(changed_pixels "$work/$against.png" "$work/$name.png")" -gt "$least" ]; }
stage() {
  name=$1 least=$2 against=$3
  wait_for test -e "$work/handshake/$name.shown" || fail "the popup tests did not reach $name: $(tail -n 20 "$work/popups.log")"
  if [ "$against" = none ]; then
    shoot "$work/$name.png" || fail "no screenshot of $name"
  else
    wait_for stage_shown || fail "$name is not on the screen"
  fi
  [ -z "${4:-}" ] || "$4"
  touch "$work/handshake/$name.seen"
}
# Whether the rectangle W H X Y of $2 lies inside the rectangle of $1 (with a margin of 40 for a
# window's frame and shadow).
inside() {
  set -- $1 $2
  [ "$5" -gt 0 ] && [ "$7" -ge $(($3 - 40)) ] && [ "$8" -ge $(($4 - 40)) ] &&
    [ $(($7 + $5)) -le $(($3 + $1 + 40)) ] && [ $(($8 + $6)) -le $(($4 + $2 + 40)) ]
}
desktop_drawn() {
  shoot "$work/desktop.png" &&
    [ "$(convert "$work/desktop.png" -colorspace Gray -format '%[fx:mean > 0.2 ? 1 : 0]' info:)" = 1 ]
}
wait_for desktop_drawn || fail "weston on X drew no desktop"
mkdir -p "$work/handshake"
LUMBRA_POPUP_HANDSHAKE="$work/handshake" "$gui_tests" --gtest_filter='PopupPlacement.*' >"$work/popups.log" 2>&1 &
app_pid=$!
stage menu_window 5000 desktop click_middle
stage menu 1000 menu_window
stage message_window 0 none
stage message_box 5000 message_window
wait "$app_pid" || fail "the popup tests failed: $(tail -n 30 "$work/popups.log")"
app_pid=""
window=$(changed_region "$work/desktop.png" "$work/menu_window.png")
menu=$(changed_region "$work/menu_window.png" "$work/menu.png")
box=$(changed_region "$work/message_window.png" "$work/message_box.png")
echo "window $window, menu $menu, message box $box (W H X Y)"
# The menu opens under the menu bar, in the window's upper part.
set -- $window
top_part="$1 $(($2 / 2)) $3 $4"
inside "$top_part" "$menu" || fail "the menu ($menu) is not under the window's menu bar ($window)"
# Weston places a dialog where it likes; that it shows at all, over the window, is what counts.
[ "$(echo "$box" | cut -d' ' -f1)" -gt 100 ] || fail "the message box is not on the screen ($box)"
if grep -i -E "could not|failed|error" "$work/program.log" "$work/grab.log"; then fail "warnings on Wayland"; fi
if grep -i -E "qt\.qpa|wayland" "$work/popups.log"; then fail "warnings of the popups on Wayland"; fi
echo "main window, help tooltip, menu and message box shown under weston: $work/main_window.png" \
  "$work/help_tooltip.png $work/menu.png $work/message_box.png"
