#!/bin/sh
# Usage: planted_includes.sh CHECKOUT
# check-layers passes on the checkout and fails on copies of it with an upward include or a
# Qt include planted where they do not belong.
set -eu
checkout=$1
script=$checkout/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$script" "$checkout" > /dev/null

copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cp -R "$checkout/src" "$checkout/apps" "$work/tree/"
}

expect_refusal() {
  what=$1 pattern=$2
  if "$script" "$work/tree" > "$work/out" 2>&1; then
    echo "check-layers passed with $what planted" >&2
    exit 1
  fi
  grep -q -- "$pattern" "$work/out" || { cat "$work/out" >&2; exit 1; }
}

copy
printf '#include "core/ToolCore.h"\n' >> "$work/tree/src/bus/BusTrace.h"
expect_refusal "the bus including the core" 'src/bus/BusTrace.h:[0-9]*: includes "core/ToolCore.h": core is above bus'

copy
printf '#include "gui/mainwindow/MainWindow.h"\n' >> "$work/tree/src/gui/debugger/DebuggerWindow.h"
expect_refusal "one window including a later one" 'gui/mainwindow is above gui/debugger'

copy
printf '#include <QString>\n' >> "$work/tree/src/core/ToolCore.h"
expect_refusal "Qt in the core" 'src/core/ToolCore.h:[0-9]*:#include <QString>: Qt outside src/gui and apps/gui'

copy
printf '#include <QtCore/QString>\n' >> "$work/tree/apps/cli/CliRun.h"
expect_refusal "Qt in the companion" 'apps/cli/CliRun.h'
