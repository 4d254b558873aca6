#!/usr/bin/env bash
# Runs every benchmark of a build folder: bench/run.sh BUILD_DIR
# Each *_bench binary is a Google Benchmark; each bench/*_bench.sh script
# compares the program with a reference command and fails when it misses its
# target.
set -euo pipefail
build=${1:?usage: bench/run.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
for s in "$here"/*_bench.sh; do
  [ -f "$s" ] || continue
  echo "== $(basename "$s")"
  bash "$s" "$build" || status=1
done
exit $status
