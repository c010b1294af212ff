#!/bin/sh
# Usage: dump_round_trip.sh PATH-TO-brelvion-i2c-cli
set -eu
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

"$cli" --backend sim dump 42 255 before.i2c
"$cli" --backend sim send before.i2c > sent.txt
"$cli" --backend sim dump 42 255 after.i2c
cmp before.i2c after.i2c

# Every dumped line came back as the write of that register with that value.
tr -d '\r' < before.i2c | while read -r device reg value; do
  printf '%02X %02X %02X ACK\n' $((0x$device & 0xFE)) "0x$reg" "0x$value"
done > expected.txt
cmp expected.txt sent.txt
test "$(wc -l < sent.txt)" -eq 256
test ! -e tmpI2C.txt
