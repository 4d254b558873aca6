#!/usr/bin/env bash
# Start-up time: bench/startup_bench.sh BUILD_DIR
#
# Times `toviconv --version` against `/bin/true`, in blocks of
# STARTUP_BENCH_BLOCK (50) starts each, alternately, STARTUP_BENCH_ROUNDS
# rounds (11). Every start must exit 0 and print "toviconv VERSION". Reports
# the median time of one start of each and the median ratio (goal <= 5).
# Reports; fails only when a start fails its check.
set -euo pipefail

build=${1:?usage: bench/startup_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/lib.sh
. "$here/lib.sh"
program=$build/app/toviconv
block=${STARTUP_BENCH_BLOCK:-50}
rounds=${STARTUP_BENCH_ROUNDS:-11}
goal_ratio=5

if [ ! -x "$program" ]; then
  echo "startup_bench: $program is missing; build first" >&2
  exit 1
fi
work=$(mktemp -d /tmp/toviconv-startup-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# A block fails when any of its starts does; the output of each start is kept
# apart, so that every one of them is checked.
run_a() {
  local i failed=0
  for ((i = 0; i < block; i++)); do
    "$program" --version </dev/null >"$work/version.$i" 2>&1 || failed=1
  done
  return $failed
}
check_a() {
  [ "$1" -eq 0 ] || return 1
  local i
  for ((i = 0; i < block; i++)); do
    grep -qx 'toviconv [0-9][0-9.]*' "$work/version.$i" || { cat "$work/version.$i" >&2; return 1; }
  done
}
run_b() {
  local i failed=0
  for ((i = 0; i < block; i++)); do
    /bin/true </dev/null >"$work/true.$i" 2>&1 || failed=1
  done
  return $failed
}
check_b() { [ "$1" -eq 0 ]; }

compare_alternately "$rounds" || { echo "start-up: a start failed; no figures" >&2; exit 1; }
tovi=$(median "${A_NS[@]}")
ref=$(median "${B_NS[@]}")
ratio=$(median "${RATIOS[@]}")
awk -v t="$tovi" -v r="$ref" -v n="$block" -v q="$ratio" -v v="$(verdict "$ratio" "$goal_ratio")" -v g="$goal_ratio" \
  -v k="$(peak_kib "$program" --version || true)" 'BEGIN {
  printf "start-up: toviconv --version %.2f ms, /bin/true %.2f ms, ratio %.1fx (goal <= %sx: %s)", t / n / 1e6, r / n / 1e6, q, g, v
  if (k != "") printf ", peak memory %d KiB", k
  printf "\n"
}'
echo "shared libraries loaded by toviconv --version: $(LD_TRACE_LOADED_OBJECTS=1 "$program" --version 2>/dev/null | grep -c '=>' || true)"
