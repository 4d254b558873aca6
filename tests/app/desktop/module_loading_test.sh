#!/usr/bin/env bash
# The windowing toolkit is loaded only for a run that shows windows: neither
# --version, nor convert, nor a --console run loads it, while a run with a
# display named opens the windows' module, beside the program in the build
# tree and from LIBDIR/toviconv once installed. The display named is one that
# does not exist, so the toolkit cannot start and the run goes on at the
# console, answered by empty input, as it does wherever windows fail.
#
#   module_loading_test.sh BUILD_DIR TOVICONV DATA_DIR
set -euo pipefail
BUILD=$1 BIN=$2 DATA=$3

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/root"

fail() { echo "FAILED: $*" >&2; exit 1; }

# run PROGRAM ARGS...: the libraries the run loaded, one path a line, in
# $WORK/libs; the run's exit status is checked by the caller.
run() {
  local status=0
  LD_DEBUG=libs LD_DEBUG_OUTPUT="$WORK/ld" "$@" </dev/null >"$WORK/out" 2>&1 || status=$?
  cat "$WORK"/ld.* | sed -n 's/.*calling init: //p' | sort -u >"$WORK/libs"
  rm -f "$WORK"/ld.*
  return "$status"
}
no_toolkit() {  # no_toolkit WHAT
  if grep -E 'libwx_|libgtk-3|toviconv-wx\.so' "$WORK/libs"; then fail "$1 loaded the toolkit"; fi
}
with_module() {  # with_module WHAT MODULE_PATH
  local wanted lib
  wanted=$(readlink -f "$2")
  while read -r lib; do [ "$(readlink -f "$lib")" = "$wanted" ] && return 0; done <"$WORK/libs"
  fail "$1 did not load $2"
}

run env -u DISPLAY -u WAYLAND_DISPLAY "$BIN" --version || fail "--version failed"
no_toolkit "--version"
run env DISPLAY=:31999 "$BIN" convert "$DATA/card_v2.FDF" "$WORK/out.YLI" || fail "convert failed"
no_toolkit "convert"
cmp -s "$WORK/out.YLI" "$DATA/card_v5.YLI" || fail "convert wrote other bytes"
run env DISPLAY=:31999 "$BIN" --console --root "$WORK/root" || true
no_toolkit "--console"

# A display named: the module is opened (and the run falls back to the console).
run env DISPLAY=:31999 "$BIN" --root "$WORK/root" || true
with_module "the run in the build tree" "$(dirname "$BIN")/toviconv-wx.so"
grep -q . "$WORK/out" || fail "the run without its windows said nothing"

# Installed: the module from LIBDIR/toviconv, found from the program's own place.
cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null
module=$(find "$WORK/prefix" -name toviconv-wx.so)
[ -n "$module" ] || fail "no module installed"
run env DISPLAY=:31999 "$WORK/prefix/bin/toviconv" --root "$WORK/root" || true
with_module "the installed run" "$module"
echo "passed"
