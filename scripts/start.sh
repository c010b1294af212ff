#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool. Until the windows exist this is
# the command-line companion; without arguments it writes a register of the simulated
# camera sensor (or of a real device, when a parallel port is present) and reads a run of
# registers back, with the bus trace on standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
cli="${BUILD_DIR:-build}/apps/cli/brelvion-i2c-cli"
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi
"$cli" --trace write 42 12 80 || true
"$cli" read 42 00 32 || true
echo "More: $cli --help"
