#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Run as root; does nothing
# when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6svg6 fonts-liberation2
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  sigrok-cli
  # The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
  clang libclang-rt-14-dev
  # Faster rebuilds when present; the build uses it on its own.
  ccache
  # Screenshots and the windows' benchmarks on a private X server.
  xvfb xdotool imagemagick
)

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
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
