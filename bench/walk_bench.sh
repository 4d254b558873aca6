#!/usr/bin/env bash
# Walk speed of the installation search: bench/walk_bench.sh BUILD_DIR [TREE]
#
# Times `toviconv --console --root TREE` (standard input empty, no
# installation anywhere in TREE, so the whole tree is walked and the run ends
# at the first question) against `find TREE -iname tovi5.exe`, which walks the
# same tree and compares every name, alternately, WALK_BENCH_ROUNDS rounds
# (5), both with LC_ALL=C (a UTF-8 locale slows find's -iname down). Every
# toviconv run must end as a whole walk without a find does: exit status 1
# after the question about the old installation; every find must exit 0 and
# print nothing. Reports the medians and the median ratio, warm cache (goal
# <= 0.40), then cold: the page cache dropped before every run, untimed
# (`sync; echo 3 > /proc/sys/vm/drop_caches`; goal <= 0.50), in
# WALK_BENCH_COLD_ROUNDS rounds (3; 0 skips it). Where the cache cannot be
# dropped (no root, a read-only /proc/sys) it says so and measures nothing
# cold. Reports; fails only when a run fails its check.
#
# Builds nothing. Without TREE it creates, once, a tree of about 1,000,000
# entries under /tmp (hard-linked copies of /usr; where hard links are
# refused, a generated tree of empty files) and reuses it on later runs.
set -euo pipefail

build=${1:?usage: bench/walk_bench.sh BUILD_DIR [TREE]}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/lib.sh
. "$here/lib.sh"
program=$build/app/toviconv
goal_ratio=0.40
cold_goal_ratio=0.50
rounds=${WALK_BENCH_ROUNDS:-5}
cold_rounds=${WALK_BENCH_COLD_ROUNDS:-3}
tree=${2:-/tmp/toviconv-walk-1m}
export LC_ALL=C

if [ ! -x "$program" ]; then
  echo "walk_bench: $program is missing; build first" >&2
  exit 1
fi

if [ ! -e "$tree/.complete" ]; then
  echo "walk_bench: creating $tree (once)" >&2
  rm -rf "$tree"
  mkdir -p "$tree"
  # Copies of /usr until about a million entries.
  for i in 1 2 3 4 5 6 7 8 9 10; do
    [ "$(find "$tree" | wc -l)" -lt 950000 ] || break
    cp -al /usr "$tree/u$i" 2>/dev/null || break
  done
  if [ "$(find "$tree" | wc -l)" -lt 950000 ]; then
    # No hard links here (another file system), or a small /usr: a
    # generated tree shaped like /usr, about ten entries to a folder:
    # 90,000 folders of 10 empty files.
    rm -rf "$tree"
    mkdir -p "$tree"
    for a in $(seq 1 72); do
      mkdir -p "$tree/g$a"/m{1..25}/l{1..50}
      for d in "$tree/g$a"/m*/l*; do printf '%s\n' "$d"/f{1..10}.dat; done | xargs touch
    done
  fi
  touch "$tree/.complete"
fi

# The walk must see no installation, or it stops early.
if find "$tree" \( -iname tovi5.exe -o -iname tovipri.exe -o -iname tovi3.exe -o -iname tovi4.exe \) \
     -print -quit | grep -q .; then
  echo "walk_bench: $tree holds an installation marker; the walk would stop early" >&2
  exit 1
fi
entries=$(find "$tree" | wc -l)

work=$(mktemp -d /tmp/toviconv-walk-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

run_a() { "$program" --console --root "$tree" </dev/null >"$work/tovi.out" 2>&1; }
# Exit status 1 and the question that only a walk finding nothing asks.
check_a() {
  [ "$1" -eq 1 ] && grep -q '旧バージョンのToviがインストールされていません' "$work/tovi.out" ||
    { cat "$work/tovi.out" >&2; return 1; }
}
run_b() { find "$tree" -iname tovi5.exe </dev/null >"$work/find.out" 2>&1; }
check_b() { [ "$1" -eq 0 ] && [ ! -s "$work/find.out" ]; }

report() {  # report WHAT GOAL
  local ratio
  ratio=$(median "${RATIOS[@]}")
  printf 'walk of %d entries (%s): toviconv %ss, find %ss, ratio %.2f (goal <= %s: %s)\n' "$entries" "$1" \
    "$(seconds "$(median "${A_NS[@]}")")" "$(seconds "$(median "${B_NS[@]}")")" "$ratio" "$2" \
    "$(verdict "$ratio" "$2")"
}

find "$tree" -iname tovi5.exe >/dev/null  # warm the cache
compare_alternately "$rounds" || { echo "walk: a run failed; no figures" >&2; exit 1; }
report "warm cache" "$goal_ratio"

# A user's first search: nothing of the tree in memory.
drop_page_cache() { sync && echo 3 >/proc/sys/vm/drop_caches; }
if [ "$cold_rounds" -le 0 ]; then
  echo "walk (cold cache): skipped (WALK_BENCH_COLD_ROUNDS=0)"
elif ! drop_page_cache 2>/dev/null; then
  echo "walk (cold cache): not measured: the page cache cannot be dropped here (needs root and a writable /proc/sys/vm/drop_caches)"
else
  before_run() { drop_page_cache; }
  compare_alternately "$cold_rounds" || { echo "walk: a cold run failed; no figures" >&2; exit 1; }
  unset -f before_run
  report "page cache dropped before each run" "$cold_goal_ratio"
fi
