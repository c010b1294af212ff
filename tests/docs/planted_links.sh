#!/bin/sh
# Usage: planted_links.sh CHECKOUT
# check-doc-links passes on the checkout and names what is planted in copies of its pages:
# a link to a missing page, to a missing heading, and a guide page the README leaves out.
set -eu
checkout=$1
script=$checkout/scripts/check-doc-links.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$script" "$checkout"

expect_refusal() {
  what=$1 edit=$2 message=$3
  rm -rf "$work/tree"
  mkdir -p "$work/tree/docs"
  cp "$checkout/README.md" "$work/tree/"
  cp -R "$checkout/docs/guide" "$checkout/docs/images" "$work/tree/docs/"
  (cd "$work/tree" && sh -c "$edit")
  if "$script" "$work/tree" 2>"$work/err"; then
    echo "check-doc-links passed $what" >&2
    exit 1
  fi
  grep -q -- "$message" "$work/err" || { echo "for $what it said:" >&2; cat "$work/err" >&2; exit 1; }
}

expect_refusal "a link to a missing page" \
  'echo "[gone](gone.md)" >>docs/guide/scan.md' "docs/guide/scan.md: broken link (gone.md): no such file"
expect_refusal "a link to a missing heading" \
  'echo "[x](scan.md#no-such-heading)" >>docs/guide/scan.md' "(scan.md#no-such-heading): no such heading"
expect_refusal "a page the README does not link" \
  'echo "# New" >docs/guide/new.md' "docs/guide/new.md): the guide's page is not linked"
