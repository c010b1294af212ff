#!/usr/bin/env bash
# Installs what is missing, then runs every check CI runs, stopping at the first failure:
#   0. the layer check (scripts/check-layers.sh);
#   1. the Release build with warnings as errors, and every test under ctest;
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan);
#   3. the clang fuzz build (build-fuzz): each target's seed corpus under ctest, then each
#      target for FUZZ_SECONDS (default 20), two at a time.
# SKIP_SANITIZERS=1 or SKIP_FUZZ=1 leave out steps 2 or 3 for a quick local check.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
build_dir=${BUILD_DIR:-build}
export CCACHE_BASEDIR=$PWD
started=$SECONDS
timings=()

stage() {
  echo
  echo "=== $* ==="
  stage_name=$*
  stage_started=$SECONDS
}
stage_done() { timings+=("$(printf '%4ds  %s' $((SECONDS - stage_started)) "$stage_name")"); }
# Every build compiles its sources a folder at a time (CMake's unity build): the same
# standard library, GoogleTest and Qt headers are then parsed once per batch of files rather
# than once per file, which more than halves the compile time of each build.
unity=-DCMAKE_UNITY_BUILD=ON
# The Release tests mostly wait (on timers, pauses and child programs), so they run two a
# core; the sanitizer build's tests are busy and keep to one a core.
run_ctest() { (cd "$1" && ctest --output-on-failure --parallel "${2:-$jobs}" --timeout 300); }
# lld links the test programs three times faster than the system linker; every build uses it.
linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld)

# LeakSanitizer stops the process under ptrace to scan it; some containers forbid that even
# to root, and every test would then fail on LeakSanitizer's own error rather than a leak.
# Leak checks are only switched off when a program with a known leak shows they cannot run.
leak_checks_work() {
  local dir status=0
  dir=$(mktemp -d)
  printf '#include <cstdlib>\nvoid* volatile kept;\nint main() { kept = std::malloc(7); kept = nullptr; }\n' \
    > "$dir/leak.cpp"
  c++ -fsanitize=address -g "$dir/leak.cpp" -o "$dir/leak"
  ASAN_OPTIONS=detect_leaks=1 "$dir/leak" > "$dir/out" 2>&1 || status=$?
  grep -q 'detected memory leaks' "$dir/out" && status=0 || status=1
  rm -rf "$dir"
  return $status
}

stage "Layers"
scripts/check-layers.sh
stage_done

stage "Release build, warnings as errors"
# Tests and benchmark on, whatever a first start (scripts/start.sh) left in the folder's cache.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBRELVION_WERROR=ON "$unity" "${linker[@]}" \
  -DBRELVION_BUILD_TESTS=ON -DBRELVION_BUILD_BENCH=ON > /dev/null
cmake --build "$build_dir" --parallel "$jobs"
run_ctest "$build_dir" $((jobs * 2))
stage_done

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  stage "AddressSanitizer + UndefinedBehaviorSanitizer build"
  # Unoptimised, with line tables only: the sanitizers need nothing more to find a fault and
  # name its line, and the build takes half the time of -O1 with full debug information.
  # The tests run slower but are few seconds' work; the Release build's optimiser still
  # gives its warnings.
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O0" \
    -DBRELVION_SANITIZE=ON -DBRELVION_BUILD_BENCH=OFF -DBRELVION_BUILD_PDF_DOCS=OFF \
    -DBRELVION_WERROR=ON "$unity" "${linker[@]}" > /dev/null
  cmake --build build-asan --parallel "$jobs"
  leaks=1
  if ! leak_checks_work; then
    leaks=0
    echo "test: LeakSanitizer cannot run here (ptrace refused); leak checks are off" >&2
  fi
  ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=$leaks:strict_string_checks=1" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" run_ctest build-asan
  stage_done
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
  stage "Fuzz targets (clang, libFuzzer)"
  # Line tables are all a finding's stack trace needs.
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
    -DBRELVION_FUZZ=ON -DBRELVION_WERROR=ON -DBRELVION_BUILD_TESTS=OFF \
    -DBRELVION_BUILD_BENCH=OFF -DBRELVION_BUILD_GUI=OFF "$unity" "${linker[@]}" > /dev/null
  cmake --build build-fuzz --parallel "$jobs"
  run_ctest build-fuzz
  scripts/fuzz.sh -b build-fuzz -t "${FUZZ_SECONDS:-20}" -j "$jobs"
  stage_done
fi

echo
echo "=== All checks passed in $((SECONDS - started))s ==="
printf '%s\n' "${timings[@]}"
