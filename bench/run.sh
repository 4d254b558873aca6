#!/usr/bin/env bash
# Runs every benchmark of a build folder: bench/run.sh BUILD_DIR
# Each *_bench binary is a Google Benchmark; each bench/*_bench.sh script
# compares the program with a reference command, alternately, and reports
# medians and ratios against the goals. A missed goal is reported, not a
# failure; the exit status is 1 only when a benchmark could not run or a run
# gave a wrong result.
set -euo pipefail
build=${1:?usage: bench/run.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
for s in startup convert walk; do
  echo "== ${s}_bench.sh"
  bash "$here/${s}_bench.sh" "$build" || status=1
done
exit $status
