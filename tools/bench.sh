#!/bin/sh
# The project's throughput figures in one command: builds in Release into build-bench, runs
# the microbenchmarks, then the whole-program runs in turn with the plain event loop they
# are compared with, and prints the medians. Every time is processor time (the simulator's
# "CPU time (s): " line, the loop's own clock), so the figures stay comparable on a machine
# that others share; each ratio is the median of the ratios of runs taken side by side.
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
cmake --build "$dir" -j2 --target mm1k_sim nqueue_sim l2_cache_sim queues_direct \
  eventlist_bench simstep_bench composed_bench composed_file_bench tavrin_gen tavrin > /dev/null
src="$PWD"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"

# The middle value of the numbers on standard input, one a line (the lower one of the two
# middle values for an even count).
median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# per_firing NAME COMMAND...: runs a program that ends with the lines "Actions fired: " and
# "CPU time (s): " and prints its processor nanoseconds per firing. A run that fails or
# prints no figure stops the script, so a broken figure is never passed off as one.
per_firing() {
  name="$1"
  shift
  if ! "$@" > run.out 2> run.err; then
    cat run.err >&2
    echo "bench.sh: $name: run failed" >&2
    exit 1
  fi
  awk -v name="$name" '
    /^Actions fired: / { fired = $3 }
    /^CPU time \(s\): / { seconds = $4 }
    END {
      if (fired <= 0 || seconds <= 0) {
        print "bench.sh: " name ": no firing count or CPU time in the output" > "/dev/stderr"
        exit 1
      }
      printf "%.3f\n", seconds * 1e9 / fired
    }' run.out
}

# sim_rate COUNT COMMAND...: COUNT per processor second, from the simulator's last line.
sim_rate() {
  count="$1"
  shift
  "$@" > run.out 2> run.err || { cat run.err >&2; return 1; }
  awk -v count="$count" '
    /^CPU time \(s\): / { seconds = $4 }
    END {
      if (seconds <= 0) { print "no CPU time in the output" > "/dev/stderr"; exit 1 }
      printf "%.0f\n", count / seconds
    }' run.out
}

# The M/M/1/K queue at rho 0.8 with K = 100 (mm1k experiment 3), one terminating batch of
# some 20 million firings, and the plain loop over the same queue and horizon.
mm1k_horizon=12500000
# The N-queue model, each run some 10 million firings (1.6 N firings per unit of time).
nqueue_experiments="0:10 1:100 2:1000"

echo
echo "== Microbenchmarks"
"$bin/eventlist_bench" 2> /dev/null
"$bin/simstep_bench" 2> /dev/null

echo
echo "== Firing cost against the plain event loop ($runs runs of each, taken in turn)"
: > mm1k.ratio
: > mm1k.ns
for n in 10 100 1000; do : > "nq$n.ns"; : > "nq$n.ratio"; done
: > flat.ratio
i=0
while [ "$i" -lt "$runs" ]; do
  sim=$(per_firing mm1k_sim "$bin/mm1k_sim" -t 1 -N 1 -e 3 -O "d:horizon:$mm1k_horizon")
  direct=$(per_firing "plain loop" "$bin/queues_direct" 1 100 "$mm1k_horizon")
  echo "$sim $direct" | awk '{ printf "%.4f\n", $1 / $2 }' >> mm1k.ratio
  echo "$sim" >> mm1k.ns
  for entry in $nqueue_experiments; do
    e=${entry%%:*}
    n=${entry#*:}
    horizon=$((100000000 / (16 * n)))
    sim=$(per_firing "nqueue_sim N=$n" "$bin/nqueue_sim" -t 1 -N 1 -e "$e" -O "d:horizon:$horizon")
    direct=$(per_firing "plain loop N=$n" "$bin/queues_direct" "$n" 100 "$horizon")
    echo "$sim" >> "nq$n.ns"
    echo "$sim $direct" | awk '{ printf "%.4f\n", $1 / $2 }' >> "nq$n.ratio"
  done
  paste -d' ' nq10.ns nq1000.ns | tail -n 1 | awk '{ printf "%.4f\n", $2 / $1 }' >> flat.ratio
  i=$((i + 1))
done
awk -v ns="$(median < mm1k.ns)" -v ratio="$(median < mm1k.ratio)" 'BEGIN {
  printf "mm1k_sim (M/M/1/100, rho 0.8):   %7.1f ns per firing, %6.3f x the plain loop   (target at most 1.6)\n", ns, ratio
}'
for n in 10 100 1000; do
  awk -v n="$n" -v ns="$(median < "nq$n.ns")" -v ratio="$(median < "nq$n.ratio")" 'BEGIN {
    printf "nqueue_sim, N = %-4d:            %7.1f ns per firing, %6.3f x the plain loop\n", n, ns, ratio
  }'
done
awk -v ratio="$(median < flat.ratio)" 'BEGIN {
  printf "nqueue_sim cost per firing at N = 1000 over N = 10: %6.3f   (target at most 1.5)\n", ratio
}'

echo
echo "== The example (median of $runs runs, per CPU second)"
example_batches=5000000
: > example.rate
: > files.rate
i=0
while [ "$i" -lt "$runs" ]; do
  sim_rate "$example_batches" "$bin/l2_cache_sim" -t 1 -N "$example_batches" >> example.rate
  sim_rate "$example_batches" "$bin/l2_cache_sim" -t 1 -N "$example_batches" -a run.csv \
    -b run.bin >> files.rate
  i=$((i + 1))
done
awk -v example="$(median < example.rate)" -v files="$(median < files.rate)" 'BEGIN {
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

# The same queues from a model file (bench/queues/queues.toml: a replicated submodel and a
# reward summing every queue, one worker per copy). Build: the generator and one compile of
# the simulator (Release flags, as the build compiles a model) for a study whose N is 10,
# 1000 and 100000, in processor seconds of the two commands, with the size of what they
# make. Runs: set-up, memory and cost per firing (bench/ComposedFileBench.cpp), each the
# median of the runs, beside the plain event loop over the same N queues.
echo
echo "== Composed model file: N copies of an M/M/1/K queue ($runs runs of each)"
for n in 10 1000 100000; do
  sed "s/^N = 10 *\$/N = $n/" "$src/bench/queues/queues.toml" > "queues$n.toml"
  grep -q "^N = $n\$" "queues$n.toml" || { echo "bench.sh: cannot set N in the queues model" >&2; exit 1; }
  /usr/bin/time -f "%U %S" -o gen.time "$bin/tavrin_gen" "queues$n.toml" -o "gen$n"
  /usr/bin/time -f "%U %S" -o cc.time g++ -std=c++17 -O2 -I"$src/src" -I"gen$n" "gen$n/model_sources.cpp" \
    "$src/src/engine/main.cpp" "$dir/src/libtavrin.a" -o "sim$n"
  awk -v n="$n" -v code="$(cat "gen$n"/model_sources.cpp $(sed -n 's/^#include "\(.*\)"$/gen'"$n"'\/\1/p' "gen$n/model_sources.cpp") | wc -c)" \
      -v binary="$(wc -c < "sim$n")" '
    FNR == 1 { cpu += $1 + $2 }
    END { printf "build, N = %-6d: %6.2f s (generation and compile), %7d bytes of generated code, %8d bytes of simulator\n", n, cpu, code, binary }' gen.time cc.time
done
firings=2000000
for n in 10 1000 100000; do
  : > "plain$n.txt"; : > "reward$n.txt"; : > "direct$n.txt"
  i=0
  while [ "$i" -lt "$runs" ]; do
    "$bin/composed_file_bench" "$n" "$firings" plain >> "plain$n.txt"
    "$bin/composed_file_bench" "$n" "$firings" reward >> "reward$n.txt"
    "$bin/composed_bench" "$n" "$firings" direct >> "direct$n.txt"
    i=$((i + 1))
  done
done
# field FILE NAME: the median of NAME=value over the lines of FILE.
field() {
  sed -n "s/.* $2=\([^ ]*\).*/\1/p" "$1" | median
}
for n in 10 1000 100000; do
  awk -v n="$n" -v setup="$(field "reward$n.txt" setup_s)" -v bytes="$(field "reward$n.txt" bytes_per_replica)" \
      -v peak="$(field "reward$n.txt" peak_kb)" -v plain="$(field "plain$n.txt" ns_per_firing)" \
      -v reward="$(field "reward$n.txt" ns_per_firing)" -v direct="$(field "direct$n.txt" ns_per_firing)" 'BEGIN {
    printf "N = %-6d: set-up %6.3f s, %6.0f bytes per copy, peak %8d KB; per firing %6.1f ns without the sum, %6.1f ns with it, plain loop %6.1f ns: %5.2f x\n", n, setup, bytes, peak, plain, reward, direct, reward / direct
  }'
done
awk -v small="$(field reward10.txt ns_per_firing)" -v large="$(field reward100000.txt ns_per_firing)" 'BEGIN {
  printf "cost per firing with the sum at N = 100000 over N = 10: %5.2f   (target at most 2)\n", large / small
}'
