#!/usr/bin/env bash
# The host probe: the forced answer for win32, and the target read from a PE header.
set -u
. "$(dirname "$0")/../lib/host.sh"
fails=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got '$2', want '$3'"; fails=$((fails + 1)); fi; }

ORVALEN_RUNS_WIN32=0
host_runs win32; check "forced off" "$?" 1
check "forced off names the variable" "${host_why%% *}" ORVALEN_RUNS_WIN32=0
ORVALEN_RUNS_WIN32=1
host_runs win32; check "forced on" "$?" 0
host_runs win16; check "unknown target" "$?" 1

# A PE header: "MZ", e_lfanew at 0x3C, then "PE\0\0" and the machine.
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
image() {
  { printf 'MZ'; head -c 58 /dev/zero; printf '\x40\x00\x00\x00'; printf 'PE\0\0'; printf "$2"; head -c 64 /dev/zero; } >"$tmp/$1"
}
image i386.exe '\x4c\x01'
image amd64.exe '\x64\x86'
image arm64.exe '\x64\xaa'
printf 'not a program' >"$tmp/text.exe"
check "i386 image" "$(pe_target "$tmp/i386.exe")" win32
check "AMD64 image" "$(pe_target "$tmp/amd64.exe")" win64
pe_target "$tmp/arm64.exe" >/dev/null; check "other machine" "$?" 1
pe_target "$tmp/text.exe" >/dev/null; check "no PE header" "$?" 1
pe_target "$tmp/missing.exe" >/dev/null 2>&1; check "no file" "$?" 1

[ "$fails" = 0 ] && echo "host probe: all checks passed"
[ "$fails" = 0 ]
