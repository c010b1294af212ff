#!/usr/bin/env bash
# Holds the source tree to its layers. Folders under src/ are layers, lowest first, as
# src/layers.txt lists them; a file may include headers of its own layer and of the layers
# below it, never of one above.
# Qt may be included only in src/gui and apps/gui.
#
#   scripts/check-layers.sh [TREE]      TREE: a checkout (default: this one)
#
# Prints every include that breaks a rule and exits 1 when there is one.
set -euo pipefail
tree=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# The order is src/layers.txt's, which the build reads too: one folder a line, lowest
# first, with # comments.
layers=()
while read -r folder _; do
  [[ -z $folder || $folder == \#* ]] || layers+=("$folder")
done < "$tree/src/layers.txt"
qt_allowed='^(src/gui|apps/gui)/'

# The rank of the layer a path (relative to src/) lies in; the longest folder wins.
rank_of() {
  local path=$1 best=-1 best_length=0 i
  for i in "${!layers[@]}"; do
    local folder=${layers[$i]}
    if [[ $path == "$folder"/* && ${#folder} -gt $best_length ]]; then
      best=$i
      best_length=${#folder}
    fi
  done
  echo "$best"
}

failures=0
cd "$tree"
while IFS= read -r file; do
  own=$(rank_of "${file#src/}")
  while IFS=: read -r line included; do
    target=$(rank_of "$included")
    if [ "$own" -ge 0 ] && [ "$target" -gt "$own" ]; then
      echo "$file:$line: includes \"$included\": ${layers[$target]} is above ${layers[$own]}"
      failures=$((failures + 1))
    fi
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"]+"' "$file" |
             sed -E 's/^([0-9]+):.*"([^"]+)"/\1:\2/')
done < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

while IFS= read -r hit; do
  file=${hit%%:*}
  if ! [[ $file =~ $qt_allowed ]]; then
    echo "$hit: Qt outside src/gui and apps/gui"
    failures=$((failures + 1))
  fi
done < <(find src apps -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z |
           xargs -0 grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+<Q[A-Za-z]*[/>]' || true)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) break the layers" >&2
  exit 1
fi
echo "check-layers: every include keeps to its layer"
