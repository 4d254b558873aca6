#!/usr/bin/env bash
# The whole interactive run through its real windows, as a Japanese desktop
# user meets it: a virtual display of its own with a window manager, the
# program started with --root on a temporary tree, every window answered
# with real key presses (xdotool), the output's bytes checked, and a
# screenshot of each window kept.
#
#   real_window_test.sh TOVICONV SLOW_LISTING_SO DATA_DIR SCREENSHOT_DIR
#
# Exit status 77 (skipped) where the tools, the locale or the windows are
# not to be had. Every wait is bounded; whatever it started is ended.
set -euo pipefail
BIN=$1 SLOW_LISTING=$2 DATA=$3 SHOTS=$4

skip() { echo "skipped: $*"; exit 77; }
[ -z "${TOVICONV_SKIP_GUI_TESTS:-}" ] || skip "TOVICONV_SKIP_GUI_TESTS is set"
for tool in Xvfb openbox xdotool xprop import convert timeout; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8' || skip "no ja_JP.UTF-8 locale"

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  local i
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do wait "${PIDS[i]}" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  import -window root "$SHOTS/failure.png" 2>/dev/null || true
  [ -f "$WORK/run.log" ] && sed 's/^/toviconv: /' "$WORK/run.log" >&2
  exit 1
}

# A display and a window manager of their own; Xvfb picks a free display
# number and writes it once it accepts clients.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$WORK/display" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || skip "the virtual display did not start"
n=$(tr -d '[:space:]' <"$WORK/display")
export DISPLAY=":$n"
openbox --sm-disable >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
mkdir -p "$SHOTS"
rm -f "$SHOTS"/*.png

# The old and the new installation, and a tree whose search lasts: every
# folder listing takes 10 ms longer (preloaded), 3,000 folders a minute.
mkdir -p "$WORK/old" "$WORK/new" "$WORK/walk"
cp "$DATA/card_v2.FDF" "$WORK/old/USER.FDF"
: > "$WORK/old/Tovipri.exe"
: > "$WORK/new/Tovi5.exe"
(cd "$WORK/walk" && mkdir d{0000..2999})

env LANG=ja_JP.UTF-8 LANGUAGE= LC_ALL= GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 \
  LD_PRELOAD="$SLOW_LISTING" TOVICONV_SLOW_LISTING_MS=10 \
  timeout 120 "$BIN" --root "$WORK/walk" >"$WORK/run.log" 2>&1 &
RUN=$!
PIDS+=($RUN)

# Waits up to 15 s for a shown window of the program titled $1; its id.
wait_window() {
  local w
  for _ in $(seq 150); do
    for w in $(xdotool search --onlyvisible --class toviconv 2>/dev/null); do
      [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && { echo "$w"; return 0; }
    done
    kill -0 "$RUN" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Saves the window with its frame once it has had time to draw.
shoot() {  # shoot WINDOW NAME
  sleep 0.5
  import -frame -window "$1" "$SHOTS/$2.png" || fail "no screenshot of $2"
}

# Dark (text) pixels of a box's message: right of its icon, above its buttons.
text_pixels() {  # text_pixels WINDOW
  import -window "$1" "$WORK/contents.png"
  convert "$WORK/contents.png" -gravity northeast -crop 70%x55%+0+0 +repage -colorspace gray \
    -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:
}

w=$(wait_window "検索しています") || fail "no progress window"
shoot "$w" 1-progress
xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
xdotool key Escape

w=$(wait_window "ToviConv") || fail "no question after Cancel"
shoot "$w" 2-cancel-question
dark=$(text_pixels "$w")
[ "$dark" -ge 100 ] || fail "the question after Cancel is not drawn ($dark text pixels)"
xdotool key Return  # はい: the search ends

w=$(wait_window "ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定") || fail "no confirm window"
shoot "$w" 3-confirm
xdotool key shift+Tab  # from OK back to the field
xdotool type --delay 20 "$WORK/old/USER.FDF"
xdotool key Return

w=$(wait_window "Tovi５のユーザシート情報ファイルを指定してください") || fail "no file dialog for the new file"
shoot "$w" 4-save-file
xdotool key ctrl+a
xdotool type --delay 20 "$WORK/new/USER.YLI"
xdotool key Return

w=$(wait_window "ToviConv") || fail "no final message"
shoot "$w" 5-written
dark=$(text_pixels "$w")
[ "$dark" -ge 100 ] || fail "the final message is not drawn ($dark text pixels)"
xdotool key Return

status=0
for _ in $(seq 100); do kill -0 "$RUN" 2>/dev/null || break; sleep 0.1; done
wait "$RUN" || status=$?
[ "$status" -eq 0 ] || fail "toviconv ended with status $status"
cmp "$WORK/new/USER.YLI" "$DATA/card_v5.YLI" || fail "the written file differs from the expected bytes"
echo "passed; screenshots in $SHOTS"
