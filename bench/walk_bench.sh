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
# print nothing. Reports the medians and the median ratio (goal <= 0.40,
# warm cache). Reports; fails only when a run fails its check.
#
# Builds nothing. Without TREE it creates, once, a tree of about 600,000
# entries under /tmp (hard-linked copies of /usr; where hard links are
# refused, a generated tree of empty files) and reuses it on later runs.
set -euo pipefail

build=${1:?usage: bench/walk_bench.sh BUILD_DIR [TREE]}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/lib.sh
. "$here/lib.sh"
program=$build/app/toviconv
goal_ratio=0.40
rounds=${WALK_BENCH_ROUNDS:-5}
tree=${2:-/tmp/toviconv-walk-tree}
export LC_ALL=C

if [ ! -x "$program" ]; then
  echo "walk_bench: $program is missing; build first" >&2
  exit 1
fi

if [ ! -e "$tree/.complete" ]; then
  echo "walk_bench: creating $tree (once)" >&2
  rm -rf "$tree"
  mkdir -p "$tree"
  for i in 1 2 3 4; do
    cp -al /usr "$tree/u$i" 2>/dev/null || true
  done
  if [ "$(find "$tree" | wc -l)" -lt 400000 ]; then
    # No hard links here (another file system): a generated tree shaped like
    # /usr, about ten entries to a folder: 50,000 folders of 10 empty files.
    rm -rf "$tree"
    mkdir -p "$tree"
    for a in $(seq 1 40); do
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

find "$tree" -iname tovi5.exe >/dev/null  # warm the cache
compare_alternately "$rounds" || { echo "walk: a run failed; no figures" >&2; exit 1; }
ratio=$(median "${RATIOS[@]}")
printf 'walk of %d entries (warm cache): toviconv %ss, find %ss, ratio %.2f (goal <= %s: %s)\n' "$entries" \
  "$(seconds "$(median "${A_NS[@]}")")" "$(seconds "$(median "${B_NS[@]}")")" "$ratio" "$goal_ratio" \
  "$(verdict "$ratio" "$goal_ratio")"
