#!/bin/sh
# Holds the README and the user guide to links that lead somewhere: every relative link in
# README.md and docs/guide/*.md names a file that exists and, after '#', a heading of that
# page (as GitHub makes its anchor), and the README links every page of the guide.
#
#   scripts/check-doc-links.sh [TREE]      TREE: a checkout (default: this one)
#
# Prints every broken link and exits 1 when there is one.
set -eu
tree=${1:-$(cd "$(dirname "$0")/.." && pwd)}
broken=0

# The anchors of a page's headings: lower case, punctuation gone, blanks as dashes.
anchors() {
  grep '^#' "$1" | sed 's/^#* *//' | tr 'A-Z' 'a-z' | tr -cd 'a-z0-9 _\n-' | tr ' ' '-'
}

report() {
  echo "$1: broken link ($2): $3" >&2
  broken=1
}

for page in "$tree/README.md" "$tree"/docs/guide/*.md; do
  dir=$(dirname "$page")
  name=${page#"$tree"/}
  for link in $(grep -o '](\([^) ]*\))' "$page" | sed 's/^](//; s/)$//'); do
    case $link in http:* | https:* | mailto:*) continue ;; esac
    file=${link%%#*}
    target=$page
    [ -n "$file" ] && target=$dir/$file
    if [ ! -e "$target" ]; then
      report "$name" "$link" "no such file"
      continue
    fi
    case $link in *#*) ;; *) continue ;; esac
    if ! anchors "$target" | grep -qx -- "${link#*#}"; then
      report "$name" "$link" "no such heading"
    fi
  done
done

for page in "$tree"/docs/guide/*.md; do
  guide=docs/guide/${page##*/}
  grep -q "]($guide)" "$tree/README.md" || report README.md "$guide" "the guide's page is not linked"
done
exit $broken
