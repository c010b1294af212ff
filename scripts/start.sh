#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool: the windows (brelvion-i2c), on the
# simulated camera sensor when the machine has no parallel port.
#
#   scripts/start.sh [WINDOW OPTIONS]          e.g. --sim-device none, --port lpt2
#   scripts/start.sh [OPTIONS] COMMAND ARGS    COMMAND is write, read, send, dump, scan,
#                                              ports, recover, import, export, read-all,
#                                              snapshot, diff or write-back: runs the
#                                              command-line companion brelvion-i2c-cli
#
# Without a display (neither $DISPLAY nor $WAYLAND_DISPLAY) the windows cannot open: the
# script says so and shows the companion instead, writing a register of the sensor with
# the bus trace shown and reading a run of registers back.
#
# Setting up is quiet: one line for the packages it installs (apt's output goes to a log,
# named when it fails) and one a stage of the build (its errors in full when it fails).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --programs
scripts/build.sh --quiet --programs
build=${BUILD_DIR:-build}
cli="$build/apps/cli/brelvion-i2c-cli"
gui="$build/apps/gui/brelvion-i2c"

for arg in "$@"; do
  case "$arg" in
    write | read | send | dump | scan | ports | recover | import | export | read-all | snapshot | \
      diff | write-back) exec "$cli" "$@" ;;
  esac
done

# A display, or a window system chosen for Qt (QT_QPA_PLATFORM, -platform offscreen): the
# windows say themselves what is wrong with it, if anything.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$gui" "$@"
fi
for arg in "$@"; do
  case "$arg" in
    -platform | --platform | -display | --display) exec "$gui" "$@" ;;
  esac
done

echo "start: no display (\$DISPLAY and \$WAYLAND_DISPLAY are empty), so the windows cannot open;" >&2
echo "start: here is the command-line companion on the same bus instead." >&2
"$cli" --trace write 42 12 80 || true
"$cli" read 42 00 32 || true
echo "More: $cli --help; the windows: $gui --help"
