#!/usr/bin/env bash
# The virtual display of a build's window tests, a ctest fixture: an X server
# with a window manager, started before the first window test and stopped
# after the last. The display number is the build's own (TOVICONV_TEST_DISPLAY),
# so that builds testing at the same time never meet on one display.
#
#   virtual-display.sh start|stop DISPLAY_NUMBER STATE_DIR
#
# start exits 77 (skipped) where the display cannot start: the window tests
# then find no display and skip, and the other tests still run. A display
# number that another program holds is a failure, as the window tests would
# draw on that program's display.
set -euo pipefail
action=$1 n=$2 state=$3

# Ends the process whose id is in FILE, if it still is the program NAME
# (an id left by an interrupted run may since belong to another process).
end_process() {  # end_process FILE NAME
  local pid
  [ -f "$1" ] || return 0
  pid=$(cat "$1")
  if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ]; then
    kill "$pid" 2>/dev/null || true
    # Ended once gone or a zombie (whoever adopted it reaps it in its time).
    for _ in $(seq 50); do
      case "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" in "" | Z) break ;; esac
      sleep 0.1
    done
  fi
  rm -f "$1"
}

stop() {
  end_process "$state/openbox.pid" openbox
  end_process "$state/xvfb.pid" Xvfb
}

skip() { echo "virtual display: $*; the window tests skip" >&2; exit 77; }

case "$action" in
  stop)
    stop
    exit 0
    ;;
  start) ;;
  *) echo "usage: virtual-display.sh start|stop DISPLAY_NUMBER STATE_DIR" >&2; exit 2 ;;
esac

stop  # whatever an interrupted run left
mkdir -p "$state"
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed"
if [ -e "/tmp/.X$n-lock" ]; then
  holder=$(tr -d '[:space:]' <"/tmp/.X$n-lock" 2>/dev/null || true)
  if [ -n "$holder" ] && kill -0 "$holder" 2>/dev/null; then
    echo "virtual display: display :$n is held by process $holder;" \
         "configure the build with another -DTOVICONV_TEST_DISPLAY=NUMBER" >&2
    exit 1
  fi
fi

# Every output goes to files: a process that kept ctest's pipes open would
# keep ctest waiting for it. The server writes its number to the ready file
# once it accepts clients.
rm -f "$state/ready"
Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
  3>"$state/ready" </dev/null >"$state/xvfb.log" 2>&1 &
echo $! >"$state/xvfb.pid"
for _ in $(seq 100); do
  [ -s "$state/ready" ] && break
  kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$state/ready" ]; then
  sed 's/^/Xvfb: /' "$state/xvfb.log" >&2
  stop
  skip "the virtual display :$n did not start"
fi

# A window manager, as on a desktop: without one no window has the focus
# and the theme draws every window in its unfocused colours.
if command -v openbox >/dev/null 2>&1; then
  DISPLAY=":$n" openbox --sm-disable </dev/null >"$state/openbox.log" 2>&1 &
  echo $! >"$state/openbox.pid"
  if command -v xprop >/dev/null 2>&1; then
    for _ in $(seq 100); do
      DISPLAY=":$n" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.1
    done
  else
    sleep 1
  fi
else
  echo "virtual display: openbox is not installed; windows run without a window manager" >&2
fi
echo "virtual display :$n ready"
