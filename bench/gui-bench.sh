#!/usr/bin/env bash
# Prints the windows' speed figures with the goals they are held to, under a private
# virtual X server so painting costs what it does on a desktop: a burst of trace lines
# into the shown debugger window, Send Register with it shown, the register map's table
# after a read of 5,000 registers, and the real program's start to the first paint of its
# main window. Figures to read, not a test: a busy machine makes them worse.
#
#   bench/gui-bench.sh [STARTS]     (default 10 timed starts)
#
# Needs a build with the benchmarks (cmake -DBRELVION_BUILD_BENCH=ON, the default) in
# build/ or $BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
starts=${1:-10}
for program in bench/brelvion-gui-bench bench/brelvion-gui-start-bench apps/gui/brelvion-i2c; do
  if [ ! -x "$build/$program" ]; then
    echo "gui-bench: $build/$program is not built (cmake -DBRELVION_BUILD_BENCH=ON, then build)" >&2
    exit 1
  fi
done
[ "${BRELVION_XVFB:-}" = 1 ] || exec scripts/with-xvfb.sh "$0" "$@"

"$build/bench/brelvion-gui-bench"
"$build/bench/brelvion-gui-start-bench" "$build/apps/gui/brelvion-i2c" "$starts"
