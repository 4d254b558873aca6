#!/usr/bin/env bash
# The Wine prefix of a cross build's tests (the one its ctest runs the
# Windows test programs in), and the one persistent Wine server that serves
# them.
#
#   wine-prefix.sh start|stop PREFIX
#
# start makes the prefix where it is missing and leaves a server with its
# session's services running; stop ends that server. One persistent server
# is started first, its output away from ctest's pipes: a server that each
# test program started itself would hold those pipes open and keep ctest
# waiting.
set -uo pipefail
action=$1 prefix=$2
export WINEPREFIX=$prefix

# How long the server outlives its last program. Long enough for every gap
# of a test run (the desktop tests run in prefixes of their own, minutes
# long, while this one's server waits), and bounded, since a mere listing of
# the tests starts it as well and then nothing ends it.
persist=1800

case "$action" in
  stop)
    wineserver -k >/dev/null 2>&1 || true
    exit 0
    ;;
  start) ;;
  *) echo "usage: wine-prefix.sh start|stop PREFIX" >&2; exit 2 ;;
esac

mkdir -p "$prefix"
wineserver -p"$persist" >/dev/null 2>&1 || true  # (or one already runs)
# No offer to install Mono or Gecko: nothing here needs them.
WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot </dev/null >/dev/null 2>&1 || true
# The server writes the prefix's registry files only when it ends, and the
# desktop tests copy them: end it once, then keep one running for ctest.
wineserver -k >/dev/null 2>&1 || true
timeout 120 wineserver -w >/dev/null 2>&1 || true
wineserver -p"$persist" >/dev/null 2>&1 || true
# The first program of a server's session starts the session's services,
# which keep its standard error: start them here, away from ctest's pipes,
# or the first listing of tests waits for them until it times out.
WINEDEBUG=-all wine wineboot </dev/null >/dev/null 2>&1 || true
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix.sh: no Wine prefix was made at $prefix" >&2
  exit 1
fi
echo "Wine prefix $prefix ready"
