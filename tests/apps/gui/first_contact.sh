#!/bin/sh
# The windowed program as a new user first meets it, on a machine without a display
# (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset): what it refuses before Qt starts,
# in one clear line and with exit status 2, and what still works.
#
#   first_contact.sh GUI_PROGRAM CLI_PROGRAM CASE
set -u
gui=$1
cli=$2
case_name=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Qt warns on every start without a private runtime folder.
mkdir -m 700 "$work/runtime"
failures=0

fail() {
  echo "FAIL: $*"
  echo "  exit status: $status"
  echo "  standard output:"; sed 's/^/    /' "$work/out"
  echo "  standard error:"; sed 's/^/    /' "$work/err"
  failures=$((failures + 1))
}

# run PROGRAM ARGS...: without any display, at most half a minute; $extra_env (NAME=VALUE
# words) is set for it.
extra_env=
run() {
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" \
    $extra_env timeout 30 "$@" >"$work/out" 2>"$work/err"
  status=$?
}

# refused LINE ARGS...: exit status 2, nothing on standard output, and exactly LINE on
# standard error.
refused() {
  line=$1
  shift
  run "$gui" "$@"
  if [ "$status" -ne 2 ] || [ -s "$work/out" ] || [ "$(cat "$work/err")" != "$line" ]; then
    fail "brelvion-i2c $*: wanted exit 2 and only: $line"
  fi
}

# painted ARGS...: starts offscreen, paints its window once and ends with status 0.
painted() {
  saved_env=$extra_env
  extra_env="$extra_env BRELVION_EXIT_AFTER_FIRST_PAINT=1"
  run "$gui" "$@"
  extra_env=$saved_env
  if [ "$status" -ne 0 ] || ! grep -q '^first paint [0-9.]* ms after main()$' "$work/out"; then
    fail "brelvion-i2c $*: wanted a first paint and exit 0"
  fi
}

no_display="brelvion-i2c: no display to open the windows on (\$DISPLAY and \$WAYLAND_DISPLAY are not set): set DISPLAY, start with -platform offscreen, or use brelvion-i2c-cli for the same commands"

case $case_name in
  without_a_display)
    refused "$no_display"
    refused "$no_display" --backend sim --sim-device none
    # Set but empty is no display either.
    extra_env="DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM="
    refused "$no_display"
    extra_env=
    ;;
  bad_arguments)
    # Found before Qt starts, so they are said even without a display.
    refused "brelvion-i2c: unknown option '--bogus' (--help explains)" --bogus
    refused "brelvion-i2c: --port must be lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA, not 'lpt9' (--help explains)" --port lpt9
    refused "brelvion-i2c: unknown option '--bogus' (--help explains)" -platform offscreen -display :1 --bogus
    refused "brelvion-i2c: -style wants a value (--help explains)" -platform offscreen -style
    run "$gui" --help
    if [ "$status" -ne 0 ] || ! grep -q '^Usage: brelvion-i2c' "$work/out"; then fail "--help"; fi
    ;;
  capture_refused)
    refused "brelvion-i2c: --capture: Cannot write /no/such/dir/bus.vcd: No such file or directory" \
      --capture /no/such/dir/bus.vcd
    refused "brelvion-i2c: --capture: Cannot write /no/such/dir/bus.vcd: No such file or directory" \
      -platform offscreen --backend sim --capture /no/such/dir/bus.vcd
    refused "brelvion-i2c: --capture: Cannot write $work: Is a directory" \
      -platform offscreen --capture "$work"
    ln -s "$work/gone/bus.vcd" "$work/link.vcd"
    refused "brelvion-i2c: --capture: Cannot write $work/link.vcd: No such file or directory" \
      -platform offscreen --capture "$work/link.vcd"
    # Where it can be written, the session's capture is there when the program ends.
    painted -platform offscreen --backend sim --capture "$work/bus.vcd"
    grep -q '^\$var wire 1 . scl \$end' "$work/bus.vcd" 2>/dev/null || fail "no capture in $work/bus.vcd"
    ;;
  qt_options_pass)
    painted -platform offscreen -style Fusion -qwindowgeometry 640x480+0+0 -qwindowtitle Bring-up \
      --backend sim -reverse
    painted --platform offscreen --style=Fusion -display :7 --port lpt2
    extra_env=QT_QPA_PLATFORM=offscreen
    painted --backend sim
    extra_env=
    ;;
  version)
    run "$gui" --version
    gui_version=$(cat "$work/out")
    run "$cli" --version
    cli_version=$(cat "$work/out")
    if ! echo "$gui_version" | grep -Eq '^brelvion-i2c [0-9]+\.[0-9]+\.[0-9]+$' ||
       [ "brelvion-i2c-cli ${gui_version#brelvion-i2c }" != "$cli_version" ]; then
      fail "versions: '$gui_version' and '$cli_version'"
    fi
    ;;
  *)
    echo "first_contact.sh: no case $case_name" >&2
    exit 2
    ;;
esac
[ "$failures" -eq 0 ]
