#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Run as root; does nothing
# when everything is already there, and says in one line what it installs otherwise.
#
#   scripts/install-deps.sh [--programs]
#
# --programs (as start.sh runs it) installs only what building and running the two programs
# needs; the test tools, clang and the private X server are test.sh's, and would double a
# fresh machine's first start.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6svg6 fonts-liberation2
  # Device descriptions of register maps are YAML.
  libyaml-cpp-dev
  # The adapter batch files (XML) of the script importers.
  libpugixml-dev
  # Faster rebuilds when present; the build uses it on its own.
  ccache
)
test_packages=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  sigrok-cli
  # The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
  clang libclang-rt-14-dev
  # The linker CI's builds use (scripts/test.sh): three times faster than the system one.
  lld
  # Screenshots and the windows' benchmarks on a private X server.
  xvfb xdotool imagemagick
)
case "${1:-}" in
  --programs) ;;
  "") packages+=("${test_packages[@]}") ;;
  *) sed -n '5,9p' "$0" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run this as root (or install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# apt's own output runs to hundreds of lines; it goes to a log, which is named (with its
# last lines) only when something fails.
log=$(mktemp "${TMPDIR:-/tmp}/brelvion-install-deps.XXXXXX.log")
echo "install-deps: installing ${#missing[@]} Debian packages (apt-get): ${missing[*]}"
if ! { apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
  >"$log" 2>&1; then
  echo "install-deps: apt-get failed; its whole output is in $log. Its last lines:" >&2
  tail -n 15 "$log" | sed 's/^/  /' >&2
  exit 1
fi
rm -f "$log"
