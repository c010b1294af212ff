#!/bin/sh
# The real companion on /dev/i2c-7 of a preloaded fake kernel: the path a user with an
# adapter takes, down to the C library's open and ioctl.
#   i2c_shim.sh CLI SHIM
cli=$1
shim=$2
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Runs the companion with the shim; sets out, err and status.
run() {
  out=$(LD_PRELOAD=$shim "$cli" "$@" 2>/tmp/brelvion-shim-err.$$)
  status=$?
  err=$(cat /tmp/brelvion-shim-err.$$)
}

run --port i2c-7 write 42 12 80
[ "$status" -eq 0 ] && [ "$out" = "80 ACK" ] || fail "write: $status '$out' '$err'"

run --port /dev/i2c-7 --trace --repeated-start read 42 11 3
[ "$out" = "9D C2 E7" ] || fail "read: '$out'"
echo "$err" | grep -q '^Wisp MSG007:  i2c-7 W 42 11 Sr R 43 (3) 9D C2 E7 ACK' || fail "trace: $err"

run --port i2c-7 read 60 00
[ "$status" -eq 1 ] && [ "$err" = "brelvion-i2c-cli: NO ACK from device 60" ] || fail "no ack: $status '$err'"

BRELVION_SHIM_SMBUS=1 run --port i2c-7 --trace read 42 00 40
[ "$status" -eq 0 ] || fail "smbus read: $status '$err'"
[ "$(echo "$err" | grep -c '^Wisp MSG008:  i2c-7 SMBus W 42 .. Sr R 43 ')" -eq 2 ] || fail "smbus trace: $err"

BRELVION_SHIM_SMBUS=1 run --port i2c-7 scan --list
[ "$status" -eq 0 ] && [ "$out" = "42" ] || fail "scan: $status '$out' '$err'"

run --port i2c-8 read 42 00
[ "$status" -eq 2 ] || fail "missing adapter: $status"
echo "$err" | grep -q '^brelvion-i2c-cli: error 53: No I2C adapter i2c-8' || fail "missing adapter: $err"

rm -f /tmp/brelvion-shim-err.$$
[ "$failures" -eq 0 ] && echo "i2c_shim: every check passed"
exit "$failures"
