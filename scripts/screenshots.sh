#!/usr/bin/env bash
# Photographs the real windows on the simulated bus, under a private virtual X server, so
# their look can be checked without a desktop: the main window at its design size, shrunk
# until its scroll bars show, after a Send Register that was acknowledged and one that was
# not, the Wisp debugger in its trace view, about view and trace-buffer dialog, and the
# register map of the simulated 16-bit sensor compared with a snapshot
# (docs/images/register-map.png is that picture).
#
#   scripts/screenshots.sh [FOLDER]      (default build/screenshots)
#
# Needs a built build/apps/gui/brelvion-i2c (or $BRELVION_GUI) and Xvfb, xdotool and
# ImageMagick (scripts/install-deps.sh). There is no window manager, so windows have no
# frames: each picture is the window's client area with its menu bar.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
program=${BRELVION_GUI:-${BUILD_DIR:-build}/apps/gui/brelvion-i2c}
main_title='^Brelvion I2C Debug Tool$'
wisp_title='^Wisp Debugger'
# The designs' client areas at the 96 DPI Qt uses on X11: 6450 x 4965 and 7335 x 3375 twips.
wisp_client_height=225
# Time for the program to take in an input and repaint before the next step.
settle=${SETTLE:-1}

for tool in Xvfb xdotool import convert identify; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshots: $program is not built (scripts/build.sh)" >&2; exit 1; }
# A private X server, so that the windows stand where the clicks below expect them.
[ "${BRELVION_XVFB:-}" = 1 ] || exec scripts/with-xvfb.sh "$0" "$@"
mkdir -p "$out"

work=$(mktemp -d)
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

find_window() {  # TITLE_REGEX -> window id, waiting up to 10 s for it to be mapped
  timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n1
}

start_program() {  # program options...
  "$program" "$@" >"$work/program.log" 2>&1 &
  app_pid=$!
  main=$(find_window "$main_title") || { echo "screenshots: no main window" >&2; cat "$work/program.log" >&2; exit 1; }
  sleep 1
  xdotool windowfocus --sync "$main"
  sleep "$settle"
}

geometry_of() {  # WINDOW -> X, Y, WIDTH, HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Buttons of the main window by their design centres in pixels (twips / 15), relative to
# its client area. The menu bar above and the status line below share what the window has
# beyond the client area; a guess of half each is off by a few pixels at most, well inside
# a 25-pixel button.
declare -A main_button=([Command2]="116 276" [Command3]="308 36")
main_client_height=331
click_main() {  # BUTTON
  geometry_of "$main"
  local x y
  read -r x y <<<"${main_button[$1]}"
  xdotool mousemove --window "$main" "$x" $((y + (HEIGHT - main_client_height) / 2)) click 1
  sleep "$settle"
}

stop_program() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

keys() {  # WINDOW KEY... : one key at a time, so that none overtakes the repaint before it
  local window=$1
  shift
  xdotool windowfocus --sync "$window"
  for key in "$@"; do
    xdotool key "$key"
    sleep "$settle"
  done
}

shoot() {  # WINDOW NAME
  sleep "$settle"
  import -window "$1" "$out/$2.png"
  echo "$out/$2.png  $(identify -format '%wx%h' "$out/$2.png")  $3"
}

pixels_of() {  # FILE COLOUR -> how many pixels have exactly that colour
  convert "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

expect_colour() {  # NAME COLOUR WHAT
  local count
  count=$(pixels_of "$out/$1.png" "$2")
  if [ "$count" -gt 0 ]; then
    echo "  ok: $3 ($count pixels of $2)"
  else
    echo "  CHECK: $3 not found in $1.png (no pixel of $2)"
    failures=$((failures + 1))
  fi
}

failures=0
echo "Display $DISPLAY; pictures in $out"

# --- A bus with the simulated camera sensor at 42h.
start_program --backend sim
geometry_of "$main"
width=$WIDTH
height=$HEIGHT
shoot "$main" main-design "main window at its design size"

# Shrunk in both directions, then in one: the scroll bars appear only where needed.
xdotool windowsize --sync "$main" 300 250
shoot "$main" main-scroll-both "300x250: both scroll bars"
xdotool windowsize --sync "$main" 300 "$height"
shoot "$main" main-scroll-horizontal "narrower only: horizontal bar"
xdotool windowsize --sync "$main" "$width" 260
shoot "$main" main-scroll-vertical "lower only: vertical bar"
xdotool windowsize --sync "$main" "$width" "$height"

click_main Command2
shoot "$main" main-ack "after Send Register: ACK"
expect_colour main-ack '#00ff00' "green ACK"

click_main Command3
wisp=$(find_window "$wisp_title") || { echo "screenshots: no debugger window" >&2; exit 1; }
shoot "$wisp" wisp-trace "debugger: trace view"

keys "$wisp" alt+f a
shoot "$wisp" wisp-about "debugger: File > About"

# Back to the trace with the about view's Hide button (6360,3000 855x375 twips), below
# the menu bar.
geometry_of "$wisp"
xdotool mousemove --window "$wisp" 452 $((HEIGHT - wisp_client_height + 212)) click 1
sleep "$settle"

# Options is the fourth menu: File, Clear, RunMode, Options.
keys "$wisp" alt+f Right Right Right
import -window root -crop "${WIDTH}x$((HEIGHT + 60))+$X+$Y" "$out/wisp-options-menu.png"
echo "$out/wisp-options-menu.png  debugger: Options menu open"
keys "$wisp" Return
shoot "$wisp" wisp-tracebuffer "debugger: Options > Tracebuffer"
stop_program

# --- A bus where nothing answers.
start_program --backend sim --sim-device none
click_main Command2
shoot "$main" main-noack "no device: NO ACK"
expect_colour main-noack '#ff0000' "red NO ACK"
stop_program

# --- The register map of the 16-bit sensor: read, saved, changed, read again and compared
# with what was saved. Its buttons are reached by their Alt keys, its table from the first
# row's Address cell by the arrow keys.
map_title='^Register Map$'
in_dialog() {  # TITLE PATH: types PATH into the file dialog and takes it
  local dialog
  dialog=$(find_window "$1") || { echo "screenshots: no dialog $1" >&2; exit 1; }
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 10 "$2"
  xdotool key Return
  sleep "$settle"
  xdotool windowfocus --sync "$map"
}
typed_value() {  # DOWNS VALUE: down so many rows, and type the value into its cell
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool type "$2"
  xdotool key Return
  sleep "$settle"
}
start_program --backend sim --sim-device 42,20:sensor16
# Bus is the fourth menu: File, Help, Option, Bus; Register Map... is its third item.
keys "$main" alt+f Right Right Right Down Down Return
map=$(find_window "$map_title") || { echo "screenshots: no register map window" >&2; exit 1; }
xdotool windowfocus --sync "$map"
xdotool key alt+o
in_dialog "Open Register Map" "$PWD/data/sim-sensor16.yaml"
keys "$map" alt+r alt+s
in_dialog "Save Snapshot" "$work/base.snap"
xdotool mousemove --window "$map" 40 152 click 1
keys "$map" Right Right Right Right
typed_value 4 01     # MODE_SELECT: streaming
typed_value 3 0500   # EXPOSURE
typed_value 11 02    # TEST_PATTERN: colour bars
keys "$map" alt+r alt+c
in_dialog "Compare with Snapshot" "$work/base.snap"
keys "$map" Home
shoot "$map" register-map "register map: compared with a snapshot, TEST_PATTERN's field"
expect_colour register-map '#ffeca0' "rows that differ from the snapshot"
stop_program

if [ "$failures" -gt 0 ]; then
  echo "screenshots: $failures check(s) failed" >&2
  exit 1
fi
