#!/usr/bin/env bash
# Conversion speed and memory: bench/convert_bench.sh BUILD_DIR
#
# For each shape users have (many sheets of a dozen elements; one sheet of
# very many fixed elements; one sheet of very many free elements) and each
# legacy version (2 and 3/4), generates a file of CONVERT_BENCH_MB megabytes
# (100) and times `toviconv convert IN OUT` against `iconv -f CP932 -t UTF-8
# IN > OUT` on the same file, alternately, CONVERT_BENCH_ROUNDS rounds (5).
# Every conversion must exit 0 and write the same bytes each time, a
# version-5 file from its header to its "END"; iconv must exit 0.
# Reports the medians, the ratio to iconv (goal <= 3) and the peak memory
# against the input's size (goal <= 4). Reports; fails only when a run fails
# its check.
set -euo pipefail

build=${1:?usage: bench/convert_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/lib.sh
. "$here/lib.sh"
program=$build/app/toviconv
generator=$build/bench/make_legacy_file
megabytes=${CONVERT_BENCH_MB:-100}
rounds=${CONVERT_BENCH_ROUNDS:-5}
goal_ratio=3
goal_memory=4

for tool in "$program" "$generator"; do
  if [ ! -x "$tool" ]; then
    echo "convert_bench: $tool is missing; build with -DTOVICONV_BENCHMARKS=ON" >&2
    exit 1
  fi
done
command -v iconv >/dev/null || { echo "convert_bench: iconv is missing" >&2; exit 1; }

work=$(mktemp -d /tmp/toviconv-convert-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

input="" output="$work/out.YLI" reference_sum=""
run_a() { "$program" convert "$input" "$output" </dev/null >/dev/null 2>"$work/err"; }
check_a() {
  [ "$1" -eq 0 ] || { cat "$work/err" >&2; return 1; }
  head -c 48 "$output" | grep -q '^;=============================================;' || return 1
  [ "$(tail -c 7 "$output" | od -An -c | tr -d ' ')" = '\r\nEND\r\n' ] || return 1
  local sum
  sum=$(sha256sum <"$output")
  [ -z "$reference_sum" ] && reference_sum=$sum
  [ "$sum" = "$reference_sum" ]
}
run_b() { iconv -f CP932 -t UTF-8 "$input" >"$work/iconv.out" 2>/dev/null; }
# The legacy files are code page 932 throughout, so iconv must take them whole.
check_b() { [ "$1" -eq 0 ] && [ -s "$work/iconv.out" ]; }

printf '%-28s %9s %9s %7s %9s %7s %7s\n' "conversion ($megabytes MB)" toviconv iconv ratio MB/s memory goals
status=0
for version in 2 34; do
  for shape in sheets fixed free; do
    input=$work/USER.YLI
    [ "$version" = 2 ] && input=$work/USER.FDF
    "$generator" "$shape" "$version" "$megabytes" "$input"
    bytes=$(stat -c %s "$input")
    reference_sum=""
    name="v$version $shape"
    [ "$version" = 34 ] && name="v3/4 $shape"
    if ! compare_alternately "$rounds"; then
      echo "$name: a run failed; no figures" >&2
      status=1
      rm -f "$input"
      continue
    fi
    tovi=$(median "${A_NS[@]}")
    ref=$(median "${B_NS[@]}")
    ratio=$(median "${RATIOS[@]}")
    kib=$(peak_kib "$program" convert "$input" "$output") || kib=""
    memory=$(awk -v k="$kib" -v b="$bytes" 'BEGIN { if (k == "") print "n/a"; else printf "%.2fx", k * 1024 / b }')
    memory_verdict=$(awk -v k="$kib" -v b="$bytes" -v g="$goal_memory" 'BEGIN { if (k == "") print "-"; else print (k * 1024 / b <= g) ? "met" : "MISSED" }')
    printf '%-28s %8ss %8ss %6.2fx %9.0f %7s %s/%s\n' "$name" "$(seconds "$tovi")" "$(seconds "$ref")" "$ratio" \
      "$(awk -v b="$bytes" -v t="$tovi" 'BEGIN { print b / 1048576 / (t / 1e9) }')" "$memory" \
      "$(verdict "$ratio" "$goal_ratio")" "$memory_verdict"
    rm -f "$input"
  done
done
echo "goals: time <= ${goal_ratio}x iconv's, peak memory <= ${goal_memory}x the input; medians of $rounds alternating rounds"
exit $status
