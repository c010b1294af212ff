#!/bin/sh
# Usage: readme_is_plain_text.sh README_TXT
# The help document made from the guide keeps no Markdown (code marks, links, bold, tables'
# bars, comments, markers) and has a numbered chapter for each of its pages.
set -eu
readme=$1
if grep -n -e '`' -e '](' -e '\*\*' -e '<!--' -e '@COMPANION' -e '^|' "$readme" >&2; then
  echo "$readme: Markdown left in the lines above" >&2
  exit 1
fi
for chapter in "1. The windows" "2. Command files and register dumps" \
               "5. The command-line companion" "7. Bring-up scripts"; do
  grep -qx -- "$chapter" "$readme" || { echo "$readme: no chapter '$chapter'" >&2; exit 1; }
done
