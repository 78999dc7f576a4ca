#!/usr/bin/env bash
# `make run` without a display, ended as its user ends it: the interrupt (SIGINT to its process
# group, as Ctrl+C sends it) after the screenshot line stops the program, Wine and the private
# display quietly, and the run exits 0.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ORVALEN_BUILD:-$root/build}
prefix=$build/wineprefix
out=$(mktemp)
trap 'rm -f "$out"' EXIT
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }

# A session of its own (its process group is the session's), with the interrupt at its default
# whatever the caller ignores.
env --default-signal=INT -u DISPLAY -u ORVALEN_WINE_NESTED -u MAKEFLAGS -u MAKELEVEL -u MFLAGS ORVALEN_WINEPREFIX="$prefix" \
  setsid "$root/tools/run" "$build" >"$out" 2>&1 </dev/null &
run=$!

for _ in $(seq 1200); do
  grep -q 'screenshot in' "$out" && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.25
done
grep -q 'screenshot in' "$out" || fail "no screenshot line"
members=$(pgrep -s "$run" | tr '\n' ' ')
kill -INT -- "-$run"

rc=
for _ in $(seq 240); do
  if ! kill -0 "$run" 2>/dev/null; then wait "$run"; rc=$?; break; fi
  sleep 0.25
done
[ -n "$rc" ] || { fail "still running a minute after the interrupt"; kill -KILL -- "-$run" 2>/dev/null; }
[ "${rc:-x}" = 0 ] || fail "exit status ${rc:-none}, want 0"
if grep -q -e 'make: \*\*\*' -e 'X connection' -e 'Error [0-9]' "$out"; then fail "noise on the way out"; fi
sleep 1
left=$(pgrep -s "$run" | tr '\n' ' ')
[ -z "$left" ] || fail "processes left behind: $left (of $members)"
dev=$(stat -c %D "$prefix") && ino=$(stat -c %i "$prefix") &&
  [ -S "$(printf '/tmp/.wine-%s/server-%s-%x/socket' "$(id -u)" "$dev" "$ino")" ] && fail "the prefix's wineserver still runs"

if [ "$fails" != 0 ]; then
  echo "--- output of tools/run"
  cat "$out"
  exit 1
fi
echo "run: ended quietly by the interrupt"
