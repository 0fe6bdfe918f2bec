#!/usr/bin/env bash
# led-walkthrough.sh: a recorded walk through the LED page of the real configuration program.
#
# Starts Xvfb, a virtual controller with current firmware and its LED window on a private bus, and
# `halcyra ui:N` on it; waits until the arrival read is over; then selects each of the seven effects in
# turn, changes a colour and drags the speed or brightness slider, clicking where the generated skin
# (Skins/<resolution>/Buttons.xml) places the widgets. After every step it saves the main window
# (NN-step-page.png) and three frames of the controller's LED window 0.4 s apart (NN-step-leds.png),
# and appends the controller's status line (effect, mode, the four LEDs at that moment) to status.txt.
#
# Usage: led-walkthrough.sh [--build DIR] [--out DIR] [--ui 0|1|2] [--check] [--quick]
#   --build DIR  build tree holding program/halcyra and simulator/virtual-controller (default build/debug)
#   --out DIR    folder for the pictures and status.txt (default DIR/walkthrough of the build tree)
#   --ui N       the skin: 0 1920x1080, 1 1366x768 (default), 2 960x540
#   --check      also check the controller's state after each step and exit 1 on the first mismatch
#   --quick      no pictures: only the status lines (with --check, the ctest led_walkthrough)
# Needs xvfb, xdotool, x11-apps (xwd), x11-utils (xwininfo) and imagemagick (`./run.sh walkthrough`
# installs them); without one of them it says which and exits 77 (a skipped test for CTest).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$ROOT/build/debug
OUT=
UI=1
CHECK=0
QUICK=0
while [ $# -gt 0 ]; do
  case $1 in
    --build) BUILD=$(cd "$2" && pwd); shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --ui) UI=$2; shift 2 ;;
    --check) CHECK=1; shift ;;
    --quick) QUICK=1; shift ;;
    *) echo "usage: $0 [--build DIR] [--out DIR] [--ui 0|1|2] [--check] [--quick]" >&2; exit 2 ;;
  esac
done
OUT=${OUT:-$BUILD/walkthrough}
case $UI in 0) RES=1920x1080 ;; 1) RES=1366x768 ;; 2) RES=960x540 ;; *) echo "--ui takes 0, 1 or 2" >&2; exit 2 ;; esac

HALCYRA=$BUILD/program/halcyra
CONTROLLER=$BUILD/simulator/virtual-controller
BUTTONS=$BUILD/program/Skins/$RES/Buttons.xml
for f in "$HALCYRA" "$CONTROLLER" "$BUTTONS"; do
  [ -e "$f" ] || { echo "missing $f (build the targets halcyra and virtual-controller)" >&2; exit 1; }
done
for tool in Xvfb xdotool xwd xwininfo script; do
  command -v "$tool" >/dev/null || { echo "missing $tool (./run.sh walkthrough installs it)" >&2; exit 77; }
done
# ImageMagick's own convert, whatever else PATH may hold under that name.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=$(command -v convert) || { echo "missing convert (imagemagick)" >&2; exit 77; }

rm -rf "$OUT"
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/led-walkthrough.XXXXXX")
XVFB_PID= CONTROLLER_PID= HALCYRA_PID=
cleanup() {
  local p
  for p in $HALCYRA_PID $CONTROLLER_PID $XVFB_PID; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  # What the controller printed, one status line per redraw, repeats left out.
  [ -f "$WORK/controller.typescript" ] && tr '\r' '\n' <"$WORK/controller.typescript" |
    sed -E 's/\x1b\[[0-9;]*[A-Za-z]//g' | grep -a -v '^ *$' | uniq >"$OUT/controller.log"
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Private folders: nothing of the user's settings, runtime files or bus is touched.
for d in config data runtime state; do mkdir -p "$WORK/$d"; done
chmod 700 "$WORK/runtime"
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/runtime \
  XDG_STATE_HOME=$WORK/state TARNLINK_BUS=$WORK/bus QT_QPA_PLATFORM=xcb
mkdir -p "$TARNLINK_BUS"

# fail MESSAGE: says what went wrong, with the last words of the controller, halcyra and Xvfb.
fail() {
  echo "led-walkthrough: $*" >&2
  local f
  for f in "$WORK/controller.typescript" "$WORK/script.log" "$OUT/halcyra.log" "$WORK/xvfb.log"; do
    [ -s "$f" ] || continue
    echo "--- $(basename "$f"), last lines:" >&2
    tail -c 2000 "$f" | tr '\r' '\n' | sed -E 's/\x1b\[[0-9;]*[A-Za-z]//g' | grep -a -v '^ *$' | tail -n 5 >&2
  done
  exit 1
}

# --- the display ---
# Xvfb picks a free display number itself and writes it to a file: a number chosen here could be taken
# by another X server between the look and the start, and the programs would end up on that server.
Xvfb -displayfd 4 -screen 0 2560x1440x24 -nolisten tcp 4>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
display_known() { kill -0 "$XVFB_PID" 2>/dev/null && [ -s "$WORK/display" ]; }
wait_for_display() {
  local end=$((SECONDS + 10))
  until display_known; do
    kill -0 "$XVFB_PID" 2>/dev/null || return 1
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}
wait_for_display || fail "Xvfb did not start"
export DISPLAY=:$(head -n 1 "$WORK/display")
xwininfo -root >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"

# --- the skin: rectangles of Buttons.xml entries ---
# skin_rect SECTION KEY: prints "x y w h" of the entry KEY in SECTION.
skin_rect() {
  awk -v sec="$1" -v key="$2" '
    $0 ~ "<" sec ">" { inside = 1; next }
    $0 ~ "</" sec ">" { inside = 0 }
    inside && $0 ~ "<" key "[ >]" {
      sub("^[^>]*>", ""); sub("<.*", ""); split($0, f, ",")
      print f[2], f[3], f[4], f[5]; exit }' "$BUTTONS"
}
PAGE_Y=$(awk '/<MAIN>/ { m = 1 } m && /<SUB_DLG>/ { gsub(/[^0-9]/, ""); print; exit }' "$BUTTONS")
[ -n "$PAGE_Y" ] || fail "no MAIN/SUB_DLG in $BUTTONS"

# led_point KEY [FX FY]: a point of an LED page entry in main-window coordinates, at the fractions FX,
# FY of its width and height (default the middle).
led_point() {
  local r
  r=$(skin_rect LED "$1")
  [ -n "$r" ] || fail "no LED/$1 in $BUTTONS"
  set -- $r "${2:-0.5}" "${3:-0.5}"
  awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v fx="$5" -v fy="$6" -v py="$PAGE_Y" \
    'BEGIN { printf "%d %d\n", x + w * fx, py + y + h * fy }'
}

# slider_point KEY LEVEL MAX: where the thumb of a slider stands at LEVEL of 0..MAX. The thumb's
# centre travels between half a thumb (the slider's height, roughly) from either end.
slider_point() {
  local r
  r=$(skin_rect LED "$1")
  set -- $r "$2" "$3"
  awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v l="$5" -v m="$6" -v py="$PAGE_Y" \
    'BEGIN { e = h * 0.36; printf "%d %d\n", x + e + (w - 2 * e) * l / m, py + y + h / 2 }'
}

# --- the virtual controller, on a terminal so that it redraws its status line with the LEDs ---
# Its terminal's input is a FIFO this shell holds open: at the end of its input `script` would hand the
# controller an end of file, and the controller would quit.
STATUS_LOG=$WORK/controller.typescript
mkfifo "$WORK/keys"
exec 3<>"$WORK/keys"
# A wide terminal: the controller cuts its live line to the terminal's width, and the whole line is read.
script -qfec "stty cols 250 2>/dev/null; exec $(printf '%q ' "$CONTROLLER" --bus "$TARNLINK_BUS" --no-state --firmware 1.1.0)" \
  "$STATUS_LOG" <"$WORK/keys" >"$WORK/script.log" 2>&1 &
CONTROLLER_PID=$!

# controller_status: the controller's latest status line, its four LEDs as #rrggbb in front.
controller_status() {
  tail -c 3000 "$STATUS_LOG" | tr '\r' '\n' | grep -a 'virtual-controller: ' | tail -n 1 |
    sed -E 's/\x1b\[38;2;([0-9]+);([0-9]+);([0-9]+)m[^\x1b]*\x1b\[0m/<\1,\2,\3>/g; s/\x1b\[[0-9;]*[A-Za-z]//g' |
    awk '{
      line = $0; leds = ""
      while (match(line, /<[0-9]+,[0-9]+,[0-9]+>/)) {
        split(substr(line, RSTART + 1, RLENGTH - 2), c, ",")
        leds = leds sprintf("#%02x%02x%02x ", c[1], c[2], c[3])
        line = substr(line, RSTART + RLENGTH)
      }
      sub(/^ +/, "", line); sub(/virtual-controller: /, "", line)
      printf "LEDs %s| %s\n", leds, line }'
}
# leds_of STATUS: the four LED colours of a status line.
leds_of() { echo "$1" | sed -E 's/^LEDs (.*) \|.*/\1/'; }

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_for() {  # wait_for SECONDS COMMAND...: polls COMMAND every 0.1 s
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}
VC_WIN=
controller_window() {
  kill -0 "$CONTROLLER_PID" 2>/dev/null || fail "the virtual controller ended at its start"
  VC_WIN=$(window_of '^Virtual controller$')
  [ -n "$VC_WIN" ]
}
wait_for 15 controller_window || fail "the virtual controller's window did not appear"

# --- halcyra ---
"$HALCYRA" "ui:$UI" >"$OUT/halcyra.log" 2>&1 &
HALCYRA_PID=$!
MAIN_WIN=
main_window() { MAIN_WIN=$(window_of '^Halcyra$'); [ -n "$MAIN_WIN" ]; }
wait_for 20 main_window || fail "halcyra's main window did not appear"
# The arrival read runs under the loading pop-up (also titled "Halcyra"); it is over when the main window
# is the only one left and the page has put the controller into preview mode (0x80).
arrival_done() {
  [ "$(xdotool search --onlyvisible --name '^Halcyra$' 2>/dev/null | wc -l)" -le 1 ] &&
    controller_status | grep -q 'mode 0x80'
}
wait_for 30 arrival_done || fail "the arrival read did not end: $(controller_status)"
sleep 1

# The main window where the clicks expect it (it opens where the desktop places it, here the screen's
# centre), and the LED window beside it, so that neither covers the other in the captures.
xdotool windowmove "$MAIN_WIN" 0 0
main_width=$(xwininfo -id "$MAIN_WIN" | awk '/Width:/ { print $2 }')
xdotool windowmove "$VC_WIN" $((main_width + 20)) 0
sleep 0.5

# --- steps ---
STEP=0
STATUS=
# capture NAME: the page, three frames of the LEDs, the status lines.
capture() {
  STEP=$((STEP + 1))
  local base frames=() i
  base=$(printf '%s/%02d-%s' "$OUT" "$STEP" "$1")
  sleep 0.6
  kill -0 "$HALCYRA_PID" 2>/dev/null || fail "halcyra ended before step $STEP ($1)"
  xwininfo -id "$VC_WIN" >/dev/null 2>&1 || fail "the controller's window is gone before step $STEP ($1)"
  [ "$QUICK" = 1 ] || xwd -id "$MAIN_WIN" -silent | "$CONVERT" xwd:- "$base-page.png"
  for i in 1 2 3; do
    if [ "$QUICK" = 0 ]; then
      xwd -id "$VC_WIN" -silent | "$CONVERT" xwd:- "$WORK/frame$i.png"
      frames+=("$WORK/frame$i.png")
    fi
    STATUS=$(controller_status)
    printf '%02d %-22s frame %d: %s\n' "$STEP" "$1" "$i" "$STATUS" >>"$OUT/status.txt"
    if [ $i -lt 3 ]; then sleep 0.4; fi
  done
  [ "$QUICK" = 1 ] || "$CONVERT" "${frames[@]}" -bordercolor grey50 -border 2 +append "$base-leds.png"
  echo "$(basename "$base"): $STATUS"
}

click_at() { xdotool mousemove $1 $2 click 1; sleep 0.3; }
click() { click_at $(led_point "$@"); }
# drag X1 Y1 X2 Y2: presses, moves in a few steps and releases.
drag() {
  local i
  xdotool mousemove "$1" "$2" mousedown 1
  for i in 1 2 3 4 5 6; do
    xdotool mousemove $(($1 + ($3 - $1) * i / 6)) $(($2 + ($4 - $2) * i / 6))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
}
# drag_slider KEY MAX FROM TO: drags a slider's thumb from level FROM to level TO of 0..MAX.
drag_slider() { drag $(slider_point "$1" "$3" "$2") $(slider_point "$1" "$4" "$2"); }
# pick_colour HUE: a hue (fraction of the hue bar), then the field's most saturated, brightest corner,
# 5 pixels inside it (the field's frame takes clicks nowhere).
pick_colour() {
  click SLIDER_RGB "$1" 0.5
  local r
  r=$(skin_rect LED BUTTON_SEL_BRIGHTNESS)
  set -- $r
  click_at $(($1 + $3 - 5)) $((PAGE_Y + $2 + 5))
}
menu_item() {  # menu_item SECTION N: clicks item N of a sub-menu of the LED page
  local m i
  m=$(skin_rect "$1" BUTTON_MENU)
  i=$(skin_rect "$1" "BUTTON_MENU_$2")
  set -- $m $i
  click_at $(($1 + $5 + $7 / 2)) $((PAGE_Y + $2 + $6 + $8 / 2))
}

checks_failed=0
expect() {  # expect WHAT TEST...: in --check mode, TEST must hold
  local what=$1; shift
  [ "$CHECK" = 1 ] || return 0
  if "$@"; then echo "  ok: $what"; else echo "  FAILED: $what ($STATUS)"; checks_failed=1; fi
}
effect_is() { [[ $STATUS == *"  $1  mode 0x80"* ]]; }
all_leds() { local l; for l in $(leds_of "$STATUS"); do [ "$l" = "$1" ] || return 1; done; }
leds_equal() { local a; a=($(leds_of "$STATUS")); [ "${a[0]}" = "${a[1]}" ] && [ "${a[1]}" = "${a[2]}" ] && [ "${a[2]}" = "${a[3]}" ]; }
led_is() { local a; a=($(leds_of "$STATUS")); [ "${a[$(($1 - 1))]}" = "$2" ]; }
led_not() { ! led_is "$@"; }
# near A B: two #rrggbb colours whose channels differ by at most 24
near() {
  local a=${1#\#} b=${2#\#} i d
  for i in 0 2 4; do
    d=$((16#${a:$i:2} - 16#${b:$i:2}))
    [ ${d#-} -le 24 ] || return 1
  done
}
led_near() { local a; a=($(leds_of "$STATUS")); near "${a[$(($1 - 1))]}" "$2"; }
all_near() { local l; for l in $(leds_of "$STATUS"); do near "$l" "$1" || return 1; done; }
# sum of a LED's channels, to compare brightness
led_sum() { local a; a=($(leds_of "$STATUS")); a=${a[$(($1 - 1))]#\#}; echo $((16#${a:0:2} + 16#${a:2:2} + 16#${a:4:2})); }
frames_differ() { [ "$(grep -c "^$(printf %02d "$STEP") " "$OUT/status.txt")" = 3 ] &&
  [ "$(grep "^$(printf %02d "$STEP") " "$OUT/status.txt" | sed 's/.*frame [0-9]: //' | sort -u | wc -l)" -gt 1 ]; }

capture start
expect "after the arrival read the controller previews static white" effect_is static
expect "  ... on all four LEDs" all_leds '#ffffff'

# 1. Static: a green, then brightness from 2 to 1.
click BUTTON_STATIC;                 capture static-selected
expect "static selected" effect_is static
pick_colour 0.333;                   capture static-green
expect "static shows green on all four LEDs" all_near '#00ff00'
expect "  ... the same on all four" leds_equal
before=$(led_sum 1)
drag_slider SLIDER_L 2 2 1;          capture static-brightness-1
expect "static brightness 1 is dimmer" test "$(led_sum 1)" -lt "$before"
expect "  ... and still the same on all four" leds_equal

# 2. Per LED: a red, given to LEDs 1 and 3; brightness from 2 to 1.
click BUTTON_CUSTOMIZE;              capture customize-selected
expect "per-LED colours selected" effect_is 'per-LED colours'
pick_colour 0.0
click BUTTON_LED_1
click BUTTON_LED_3;                  capture customize-red-led1-led3
expect "LED 1 red" led_near 1 '#ff0000'
expect "LED 3 red" led_near 3 '#ff0000'
expect "LED 2 stays dark" led_is 2 '#000000'
before=$(led_sum 1)
drag_slider SLIDER_L 2 2 1;          capture customize-brightness-1
expect "per-LED brightness 1 dims LED 1" test "$(led_sum 1)" -lt "$before"
expect "  ... LED 2 stays dark" led_is 2 '#000000'

# 3. Stars: a blue star colour, then speed from 2 to 0 (fastest).
click BUTTON_STARS;                  capture stars-selected
expect "stars selected" effect_is stars
pick_colour 0.667;                   capture stars-blue
drag_slider SLIDER_S 4 2 0;          capture stars-speed-0
expect "stars twinkle (the frames differ)" frames_differ

# 4. Colour cycle: no colour (a click in the picker changes nothing), speed from 2 to 0.
click BUTTON_COLOR_CYCLE;            capture cycle-selected
expect "colour cycle selected" effect_is 'colour cycle'
pick_colour 0.333;                   capture cycle-picker-clicked
expect "colour cycle still shown" effect_is 'colour cycle'
drag_slider SLIDER_S 4 2 0;          capture cycle-speed-0
expect "the colours cycle (the frames differ)" frames_differ

# 5. Breathing: an orange, then speed from 2 to 0.
click BUTTON_BREATHING;              capture breathing-selected
expect "breathing selected" effect_is breathing
pick_colour 0.083;                   capture breathing-orange
drag_slider SLIDER_S 4 2 0;          capture breathing-speed-0
expect "breathing fades (the frames differ)" frames_differ

# 6. Layers: LEDs 1 and 2 in the static layer in magenta, LEDs 3 and 4 in the colour-cycle layer;
#    then the static layer's brightness from 2 to 1.
click BUTTON_MULTI_LAYER;            capture layers-selected
expect "multi-layer selected" effect_is multi-layer
menu_item LED_MULTI_MENU 1
pick_colour 0.833
click BUTTON_LED_1
click BUTTON_LED_2;                  capture layers-static-magenta-led1-led2
expect "LED 1 magenta" led_near 1 '#ff00ff'
expect "LED 2 magenta" led_near 2 '#ff00ff'
menu_item LED_MULTI_MENU 3
click BUTTON_LED_3
click BUTTON_LED_4;                  capture layers-cycle-led3-led4
expect "LED 1 stays magenta" led_near 1 '#ff00ff'
expect "LED 3 cycles (not dark)" led_not 3 '#000000'
menu_item LED_MULTI_MENU 1
before=$(led_sum 1)
drag_slider SLIDER_L 2 2 1;          capture layers-static-brightness-1
expect "the static layer is dimmer" test "$(led_sum 1)" -lt "$before"

# 7. Off: dark; the colour picker does nothing. Last, a drag on the disabled brightness slider: the
#    press reaches the page behind it, and a press on a page's background moves the window.
click BUTTON_TURN_OFF;               capture off-selected
expect "off selected" effect_is off
expect "  ... all four LEDs dark" all_leds '#000000'
pick_colour 0.333;                   capture off-picker-clicked
expect "still dark" all_leds '#000000'
drag_slider SLIDER_L 2 2 1;          capture off-disabled-slider-dragged
expect "still dark after the drag" all_leds '#000000'
echo "main window after the drag: $(xwininfo -id "$MAIN_WIN" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x "," y }')" |
  tee -a "$OUT/status.txt"

kill -0 "$HALCYRA_PID" 2>/dev/null || fail "halcyra ended during the walk-through"
echo "Pictures and status.txt in $OUT"
exit $checks_failed
