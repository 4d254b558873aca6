# Shared by the bench/*_bench.sh scripts (sourced, not run).
#
# A comparison runs the program and its reference alternately (A B, B A,
# A B, ...), so that a machine that gets busier or quieter during the
# benchmark weighs on both alike, and reports medians: the median time of
# each and the median of the per-round ratios. Every run's exit status and
# result are checked by the caller's functions; a run that fails its check
# makes the comparison fail (a fast wrong answer is no result).
#
# The caller defines, before calling compare_alternately:
#   run_a / run_b      run one timed command (stdin, stdout, stderr as they need)
#   check_a / check_b  return non-zero when the run just made went wrong;
#                      they get its exit status as $1

# Nanoseconds of the wall clock.
now_ns() { date +%s%N; }

# The median of the numbers given as arguments.
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs one side once, timed; sets LAST_NS. Returns non-zero when its check fails.
timed_side() {  # timed_side a|b
  local side=$1 start end status=0
  # An optional untimed step before every run (the walk benchmark drops the
  # page cache there).
  if declare -F before_run >/dev/null; then before_run; fi
  start=$(now_ns)
  "run_$side" || status=$?
  end=$(now_ns)
  LAST_NS=$((end - start))
  if ! "check_$side" "$status"; then
    echo "bench: a run of side $side failed its check (exit status $status)" >&2
    return 1
  fi
}

# compare_alternately ROUNDS: fills A_NS, B_NS and RATIOS (a / b per round).
compare_alternately() {
  local rounds=$1 i a b
  A_NS=() B_NS=() RATIOS=()
  for ((i = 0; i < rounds; i++)); do
    if ((i % 2 == 0)); then
      timed_side a || return 1; a=$LAST_NS
      timed_side b || return 1; b=$LAST_NS
    else
      timed_side b || return 1; b=$LAST_NS
      timed_side a || return 1; a=$LAST_NS
    fi
    A_NS+=("$a") B_NS+=("$b")
    RATIOS+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.4f", a / b }')")
  done
}

# Seconds from nanoseconds, for printing.
seconds() { awk -v n="$1" 'BEGIN { printf "%.3f", n / 1e9 }'; }

# "met" or "MISSED": whether the ratio is at most the goal.
verdict() {  # verdict RATIO GOAL
  awk -v r="$1" -v g="$2" 'BEGIN { print (r <= g) ? "met" : "MISSED" }'
}

# Peak resident memory in KiB of one run of the command, or "" when
# /usr/bin/time (package time) is missing. Output goes to /dev/null.
peak_kib() {
  [ -x /usr/bin/time ] || return 0
  local f status=0
  f=$(mktemp)
  /usr/bin/time -f %M -o "$f" "$@" </dev/null >/dev/null 2>&1 || status=$?
  tail -n 1 "$f"
  rm -f "$f"
  return "$status"
}
