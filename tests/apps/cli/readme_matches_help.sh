#!/bin/sh
# The help document's chapter on the companion shows its options and exit statuses as
# --help does, line for line.
# Usage: readme_matches_help.sh CLI README
set -eu
cli=$1
readme=$2
section() { sed -n "/^$1:\$/,/^\$/p" | sed '/^$/d'; }
for name in Options "Exit status"; do
  "$cli" --help | section "$name" >"${TMPDIR:-/tmp}/help-section.$$"
  if ! section "$name" <"$readme" | cmp -s - "${TMPDIR:-/tmp}/help-section.$$"; then
    echo "$readme: its $name differ from brelvion-i2c-cli --help" >&2
    rm -f "${TMPDIR:-/tmp}/help-section.$$"
    exit 1
  fi
done
rm -f "${TMPDIR:-/tmp}/help-section.$$"
