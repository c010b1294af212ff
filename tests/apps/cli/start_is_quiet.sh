#!/bin/sh
# scripts/start.sh on a fresh machine says what it does in a few lines: one for the
# packages it installs, one a stage of the build, then the program. apt's and the build's
# own output stay out of sight unless something fails, and then what failed is shown.
# apt-get, dpkg-query, id and cmake are stand-ins on the PATH: nothing is installed or
# built, and no network is needed.
#
#   start_is_quiet.sh SOURCE_DIR
set -u
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  echo "  exit status: $status; output:"
  sed 's/^/    /' "$work/output"
  failures=$((failures + 1))
}

# A copy of the scripts, so that the stand-in build happens under $work.
mkdir -p "$work/repo" "$work/bin" "$work/tmp"
cp -R "$source_dir/scripts" "$work/repo/"

cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
[ "${STUB_INSTALLED:-0}" = 1 ] && printf 'install ok installed' && exit 0
echo "dpkg-query: no packages found matching $*" >&2
exit 1
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$STUB_CALLS"
i=0
while [ $i -lt 300 ]; do echo "apt noise $1 $i"; i=$((i + 1)); done
if [ "$1" = install ] && [ "${STUB_APT_FAILS:-0}" = 1 ]; then
  echo "E: Unable to locate package xdotool" >&2
  exit 100
fi
exit 0
STUB
cat >"$work/bin/id" <<'STUB'
#!/bin/sh
echo 0
STUB
cat >"$work/bin/cmake" <<'STUB'
#!/bin/sh
echo "cmake $*" >>"$STUB_CALLS"
case " $* " in
  *" --build "*)
    i=0
    while [ $i -lt 300 ]; do echo "[ $((i / 3))%] Building CXX object noise$i.o"; i=$((i + 1)); done
    if [ "${STUB_BUILD_FAILS:-0}" = 1 ]; then
      echo "src/bus/Primitives.cpp:12:3: error: expected ';' before '}' token" >&2
      echo "gmake[2]: *** [src/CMakeFiles/brelvion_core.dir/build.make:76: x.o] Error 1" >&2
      exit 2
    fi
    mkdir -p build/apps/cli build/apps/gui
    printf '#!/bin/sh\necho 28\n' >build/apps/cli/brelvion-i2c-cli
    chmod +x build/apps/cli/brelvion-i2c-cli
    ;;
  *)
    i=0
    while [ $i -lt 40 ]; do echo "-- configure noise $i"; i=$((i + 1)); done
    ;;
esac
STUB
chmod +x "$work/bin/"*

# start ENV... : runs start.sh read 42 00 (the companion, so no display is needed).
start() {
  rm -rf "$work/repo/build"
  : >"$work/calls"
  env PATH="$work/bin:$PATH" TMPDIR="$work/tmp" STUB_CALLS="$work/calls" "$@" \
    "$work/repo/scripts/start.sh" read 42 00 >"$work/output" 2>&1
  status=$?
}
lines() { wc -l <"$work/output" | tr -d ' '; }
noise() { grep -c -e 'noise' "$work/output"; }

# A fresh machine: everything missing, every step works.
start
expected="install-deps: installing"
if [ "$status" -ne 0 ] || [ "$(lines)" -ne 5 ] || [ "$(noise)" -ne 0 ] ||
   ! head -n1 "$work/output" | grep -q "^$expected [0-9]* Debian packages (apt-get): build-essential " ||
   [ "$(sed -n 2,5p "$work/output")" != "build: configuring in build
build: compiling (a few minutes the first time)
build: done
28" ]; then
  fail "a fresh machine: one line for apt, one a build stage, then the result"
fi
[ -z "$(ls "$work/tmp")" ] || fail "apt's log left behind after it worked: $(ls "$work/tmp")"

# Everything installed already: not a word about packages.
start STUB_INSTALLED=1
if [ "$status" -ne 0 ] || grep -q install-deps "$work/output" || grep -q apt-get "$work/calls"; then
  fail "nothing to install"
fi

# apt fails: its log is named, with its last lines, and nothing is built.
start STUB_APT_FAILS=1
log=$(sed -n 's/.*its whole output is in \([^ ]*\)\. Its last lines:$/\1/p' "$work/output")
if [ "$status" -eq 0 ] || [ -z "$log" ] || [ ! -f "$log" ] ||
   ! grep -q 'E: Unable to locate package xdotool' "$work/output" ||
   [ "$(grep -c noise "$log")" -ne 600 ] || [ "$(lines)" -gt 20 ] || grep -q '^cmake' "$work/calls"; then
  fail "apt-get failing: its log named, its last lines shown, no build"
fi

# The build fails: the compiler's errors in full, without the progress lines.
start STUB_INSTALLED=1 STUB_BUILD_FAILS=1
if [ "$status" -eq 0 ] || [ "$(noise)" -ne 0 ] ||
   ! grep -q "^src/bus/Primitives.cpp:12:3: error: expected ';' before '}' token$" "$work/output" ||
   ! grep -q 'build: compiling failed (the whole output is in build/build.log)' "$work/output" ||
   grep -q '^28$' "$work/output"; then
  fail "a failed build: its errors shown, the program not started"
fi

[ "$failures" -eq 0 ]
