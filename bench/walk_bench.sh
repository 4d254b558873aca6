#!/usr/bin/env bash
# Walk speed of the installation search: bench/walk_bench.sh BUILD_DIR [TREE]
#
# Times `toviconv --console --root TREE` (standard input empty, no
# installation anywhere in TREE, so the whole tree is walked and the run ends
# at the first question) against `find TREE -iname tovi5.exe`, which walks the
# same tree and compares every name. Prints both times and their ratio and
# fails when the ratio exceeds the target (WALK_BENCH_MAX_RATIO, 0.6).
#
# Builds nothing. Without TREE it creates, once, a tree of about 600,000
# entries under /tmp (hard-linked copies of /usr; where hard links are
# refused, a generated tree of empty files) and reuses it on later runs.
set -euo pipefail

build=${1:?usage: bench/walk_bench.sh BUILD_DIR [TREE]}
program=$build/app/toviconv
max_ratio=${WALK_BENCH_MAX_RATIO:-0.6}
runs=${WALK_BENCH_RUNS:-5}
tree=${2:-/tmp/toviconv-walk-tree}

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

# Best of several runs, in seconds; both commands walk a warm cache.
best_time() {
  local best="" start end t
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" </dev/null >/dev/null 2>&1 || true
    end=$(date +%s%N)
    t=$((end - start))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best"
}

find "$tree" -iname tovi5.exe >/dev/null  # warm the cache
tovi_ns=$(best_time "$program" --console --root "$tree")
find_ns=$(best_time find "$tree" -iname tovi5.exe)

awk -v t="$tovi_ns" -v f="$find_ns" -v n="$entries" -v max="$max_ratio" 'BEGIN {
  ratio = t / f
  printf "walk of %d entries: toviconv %.3f s, find %.3f s, ratio %.2f (target <= %s)\n", n, t / 1e9, f / 1e9, ratio, max
  exit (ratio > max) ? 1 : 0
}'
