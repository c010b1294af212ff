#!/usr/bin/env bash
# Configures and builds everything into build/ (or $BUILD_DIR).
#
#   scripts/build.sh [--quiet] [--programs]
#
# --quiet (as start.sh runs it) prints one line a stage (configure, build, done) instead of
# the build's progress, which goes to configure.log and build.log in the build folder; on
# a failure the errors are shown in full all the same.
# --programs (as start.sh runs it) builds only what running the tool needs: the two
# programs and their help documents. The tests and the benchmark, most of a first build's
# time, are left to scripts/test.sh.
#
# The build is a Release unity build, as CI's (scripts/test.sh): a folder's files are
# compiled a batch at a time, which halves a first build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
quiet=0
targets=()
everything=ON
for arg in "$@"; do
  case "$arg" in
    --quiet) quiet=1 ;;
    --programs)
      targets=(--target brelvion-i2c-cli brelvion-i2c brelvion_docs)
      everything=OFF
      ;;
    *) sed -n '2,14p' "$0" >&2; exit 2 ;;
  esac
done
# Without the tests configured, a fresh machine needs no test framework to start the tool.
configure=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DBRELVION_BUILD_TESTS=$everything
  -DBRELVION_BUILD_BENCH=$everything)

if [ "$quiet" = 0 ]; then
  cmake -S . -B "$build_dir" "${configure[@]}" >/dev/null
  cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
  exit 0
fi

mkdir -p "$build_dir"
# Everything but make's progress lines, which say nothing about what went wrong.
show_errors() {  # STAGE LOG
  echo "build: $1 failed (the whole output is in $2):" >&2
  grep -Ev '^\[ *[0-9]+%\] |^g?make\[[0-9]+\]: (Entering|Leaving) directory' "$2" >&2 || true
  exit 1
}
echo "build: configuring in $build_dir"
cmake -S . -B "$build_dir" "${configure[@]}" >"$build_dir/configure.log" 2>&1 ||
  show_errors configuring "$build_dir/configure.log"
echo "build: compiling (a few minutes the first time)"
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}" >"$build_dir/build.log" 2>&1 ||
  show_errors compiling "$build_dir/build.log"
echo "build: done"
