# Sourced by tools/setup, tools/wine-env and tools/run-tests: which Windows targets this host
# runs under Wine, found by starting each of Wine's loaders (Wine's 32-bit loader is a 32-bit
# Linux program, which some kernels do not run).
# ORVALEN_RUNS_WIN32=0 or 1 forces the answer for win32.

wine_loader_win32=/usr/lib/wine/wine
wine_loader_win64=/usr/lib/wine/wine64

# host_runs win32|win64: true when the host runs that target; otherwise $host_why says why.
host_runs() {
  local loader out
  host_why=
  case "$1" in
    win32) loader=$wine_loader_win32 ;;
    win64) loader=$wine_loader_win64 ;;
    *) host_why="no such target: $1"; return 1 ;;
  esac
  if [ "$1" = win32 ] && [ -n "${ORVALEN_RUNS_WIN32:-}" ]; then
    [ "$ORVALEN_RUNS_WIN32" = 1 ] && return 0
    host_why="ORVALEN_RUNS_WIN32=$ORVALEN_RUNS_WIN32 says this host runs no 32-bit program"
    return 1
  fi
  if [ ! -x "$loader" ]; then host_why="$loader is not installed"; return 1; fi
  if ! out=$("$loader" --version 2>&1 </dev/null); then
    host_why="$loader does not start here: ${out##*: }"
    return 1
  fi
  return 0
}

# The targets the host runs, in order, separated by blanks.
host_targets() {
  local t list=
  for t in win32 win64; do host_runs "$t" && list="$list${list:+ }$t"; done
  echo "$list"
}

# The target of a Windows program from its PE header: win32 (i386), win64 (AMD64) or nothing.
pe_target() {
  local off machine
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$off" ] || return 1
  [ "$(od -An -c -j"$off" -N2 "$1" 2>/dev/null | tr -d ' ')" = PE ] || return 1
  machine=$(od -An -tx2 -j$((off + 4)) -N2 "$1" | tr -d ' ')
  case "$machine" in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) return 1 ;;
  esac
}
