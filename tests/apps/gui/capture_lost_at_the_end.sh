#!/bin/sh
# The real windowed program on a private X server: a capture that could be written when the
# session started but not when it ends (its folder removed meanwhile) is not lost silently.
# The program shows a critical box with the numbered error and waits for its OK before it
# ends with status 1, and says the same on standard error.
#
#   capture_lost_at_the_end.sh SCRIPTS_DIR GUI_PROGRAM
# Skipped (77) without Xvfb or xdotool (scripts/install-deps.sh installs both).
set -u
scripts=$1
gui=$2
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
[ "${BRELVION_XVFB:-}" = 1 ] || exec "$scripts/with-xvfb.sh" sh "$0" "$@"

work=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/session"
capture="$work/session/bus.vcd"

"$gui" --backend sim --capture "$capture" >"$work/out" 2>"$work/err" &
pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brelvion I2C Debug Tool$' | head -n1)
[ -n "$main" ] || { echo "FAIL: no main window"; cat "$work/err"; exit 1; }
rmdir "$work/session"
# File > Exit.
xdotool windowfocus --sync "$main" key ctrl+x

box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Capture - Error$' | head -n1)
if [ -z "$box" ]; then
  echo "FAIL: no box about the lost capture"
  cat "$work/err"
  exit 1
fi
kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended without waiting for the box"; exit 1; }
expected="brelvion-i2c: capture not written: Cannot write $capture: No such file or directory"
grep -qxF "$expected" "$work/err" || { echo "FAIL: standard error:"; cat "$work/err"; exit 1; }

xdotool windowfocus --sync "$box" key Return
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status after the box, not 1"; exit 1; }
