#!/bin/sh
# The project's throughput figures in one command: builds in Release into build-bench, runs
# the microbenchmarks and the whole-program runs, and prints the median of several runs of
# each whole-program figure. Every rate is per second of processor time, so the figures stay
# comparable on a machine that others share.
# Usage: tools/bench.sh [runs]   (default 5 runs per figure)
set -eu
cd "$(dirname "$0")/.."
dir="$PWD/build-bench"
bin="$dir/bin"
runs="${1:-5}"
case "$runs" in
  '' | *[!0-9]* | 0) echo "usage: tools/bench.sh [runs]   (runs: a positive whole number)" >&2; exit 2 ;;
esac

echo "Building in $dir (Release)"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$dir" -j2 --target mm1k_sim l2_cache_sim mm1_direct eventlist_bench simstep_bench \
  composed_bench > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"

# The middle value of the numbers on standard input, one a line (the lower one of the two
# middle values for an even count).
median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# sim_rate COUNT COMMAND...: runs a simulator and prints COUNT per processor second, from its
# closing "CPU time (s): " line; COUNT "fired" takes its "Actions fired: " line instead.
sim_rate() {
  count="$1"
  shift
  "$@" > run.out 2> run.err || { cat run.err >&2; return 1; }
  awk -v count="$count" '
    /^Actions fired: / { fired = $3 }
    /^CPU time \(s\): / { seconds = $4 }
    END {
      if (count == "fired") count = fired
      if (count <= 0) { print "no firing count in the output" > "/dev/stderr"; exit 1 }
      if (seconds <= 0) { print "no CPU time in the output" > "/dev/stderr"; exit 1 }
      printf "%.0f\n", count / seconds
    }' run.out
}

# repeat NAME COMMAND...: the median of the rates of $runs runs; a run that fails or prints
# no rate stops the script, so a broken figure is never passed off as a measurement.
repeat() {
  name="$1"
  shift
  : > rates
  i=0
  while [ "$i" -lt "$runs" ]; do
    if ! "$@" > rate; then
      echo "bench.sh: $name: run failed" >&2
      exit 1
    fi
    if ! grep -Eq '^[0-9]+$' rate; then
      echo "bench.sh: $name: no rate in the run's output" >&2
      exit 1
    fi
    cat rate >> rates
    i=$((i + 1))
  done
  median < rates
}

direct_rate() {
  "$bin/mm1_direct" 20000000 0.8 | sed -n 's/.*, \([0-9]*\) firings\/s,.*/\1/p'
}

# mm1k at rho = 0.8 (experiment 1: lambda 0.8, mu 1, K 10): one terminating batch whose
# window, and so the batch, ends at the horizon; about 1.56 firings per time unit (arrivals,
# blocked ones too, and services) make some 20 million firings.
mm1k_horizon=12800000
mm1k_rate() {
  sim_rate fired "$bin/mm1k_sim" -t 1 -N 1 -e 1 -O "d:horizon:$mm1k_horizon"
}

example_batches=5000000
example_rate() {
  sim_rate "$example_batches" "$bin/l2_cache_sim" -t 1 -N "$example_batches"
}
example_files_rate() {
  sim_rate "$example_batches" "$bin/l2_cache_sim" -t 1 -N "$example_batches" -a run.csv -b run.bin
}

echo
echo "== Microbenchmarks"
"$bin/eventlist_bench" 2> /dev/null
"$bin/simstep_bench" 2> /dev/null

echo
echo "== Whole program (median of $runs runs, per CPU second)"
direct=$(repeat "direct loop" direct_rate)
mm1k=$(repeat "mm1k_sim" mm1k_rate)
example=$(repeat "l2_cache_sim" example_rate)
example_files=$(repeat "l2_cache_sim with files" example_files_rate)
awk -v direct="$direct" -v mm1k="$mm1k" -v example="$example" -v files="$example_files" '
  BEGIN {
    printf "direct M/M/1 loop:               %12.0f firings/s\n", direct
    printf "mm1k_sim, rho 0.8:               %12.0f firings/s\n", mm1k
    printf "ratio framework/direct:          %12.3f   (target at least 0.5)\n", mm1k / direct
    printf "l2_cache_sim, no result files:   %12.0f batches/s   (target at least 5000000)\n", example
    printf "l2_cache_sim, with result files: %12.0f batches/s\n", files
  }'

# A replicated model of N M/M/1/K queues: set-up, memory and cost per firing at three sizes,
# one process per figure (see bench/ComposedBench.cpp). The reward mode sums every queue's
# length with one worker per copy; its firings are fewer at large N, as each visits every
# worker.
echo
echo "== Replicated model: N copies of an M/M/1/K queue (one run each)"
for n in 10 1000 100000; do
  "$bin/composed_bench" "$n" 2000000 plain
  "$bin/composed_bench" "$n" 2000000 direct
done
"$bin/composed_bench" 10 2000000 reward
"$bin/composed_bench" 1000 200000 reward
"$bin/composed_bench" 100000 4000 reward
