#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private virtual X server (Xvfb, 1280x1024, 24 bits,
# no window manager) and stops the server afterwards; the command's exit status is kept.
#
#   scripts/with-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "with-xvfb: Xvfb is missing (scripts/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  echo "with-xvfb: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
# Tells scripts that re-run themselves under this one that they are there.
export BRELVION_XVFB=1
# Qt wants a private runtime folder and warns on every start without one.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
status=0
"$@" || status=$?
exit "$status"
