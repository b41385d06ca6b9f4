#!/bin/bash
# Fuzzes the simulators' command line: random words made of the options, boundary numbers,
# file names and override strings, each run under a time limit, best on a sanitizer build
# (cmake -S . -B build-asan -DTAVRIN_SANITIZE=ON -DTAVRIN_BUILD_BENCH=OFF). Not part of CI.
#
# Usage: tools/fuzz_cli.sh [build-dir] [runs] [seed]      (defaults: build-asan 2000 1)
#
# A finding is a run that ends by a signal or with a status other than 0 and 1, a sanitizer
# report, a result file holding nan or inf, or a time-out of a run whose batch limit is
# finite. Each finding is listed with its command line; the exit status is the number of
# findings (0 when none).
set -u
dir="${1:-build-asan}"
runs="${2:-2000}"
RANDOM="${3:-1}"
case "$dir" in
  /*) bin="$dir/bin" ;;
  *) bin="$(cd "$(dirname "$0")/.." && pwd)/$dir/bin" ;;
esac
[ -x "$bin/mm1k_sim" ] || { echo "fuzz_cli: no simulators in $bin" >&2; exit 2; }
scratch="$(mktemp -d /tmp/tavrin_fuzz_XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
# The sanitizers end a faulty run with a status of their own, so it cannot pass for a
# refusal (1); an allocation that cannot be made is returned as a failure, as without them.
export ASAN_OPTIONS="exitcode=86:allocator_may_return_null=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:exitcode=87:print_stacktrace=1"

programs=()
for p in l2_cache_sim mm1k_sim md1_sim availability_sim; do
  [ -x "$bin/$p" ] && programs+=("$p")
done
letters=(a b c e f l m x n N p r s t O L q - "" A)
long128="$(printf 'x%.0s' $(seq 1 128))"
numbers=(0 1 2 3 -1 -5 7 1000 65535 65536 70000 2147483647 2147483648 4294967295 4294967296
  -2147483648 -2147483649 99999999999999999999 1e10 0x10 010 1.5 abc "" " " nan inf 200000000)
files=(out.csv out.bin sub/x.csv /dev/full /nonexistent/x "$long128" . "")
overrides=("d:lambda:0.5" "d:lambda:nan" "d:lambda:inf" "d:lambda:-1" "d:lambda:0" "i:K:0"
  "i:K:-3" "i:K:2147483647" "d:K:20" "i:lambda:1" "d:mu:1e-300" "d:horizon:-1"
  "d:horizon:0" "d:horizon:5" "d:transient:-5" "d:batchLength:0" "d:batchLength:1e-9"
  "q:lambda:1" "d:nosuch:1" "d" "d:lambda" "::d::lambda:::2" "s:K:1" "c:K:x" "b:K:1"
  "l:K:5" "f:mu:2")
addresses=(127.0.0.1 0.0.0.0 256.0.0.1 localhost 1.2.3 "" ::1)

# Sets picked to a random element of the named list. No command substitution: a subshell
# would draw from a stream of its own, and a seed would not repeat a session.
pick() {
  local -n list=$1
  picked="${list[RANDOM % ${#list[@]}]}"
}

# One random word list: a few options with parameters drawn by kind, sometimes glued to
# the letter, sometimes stray words.
make_words() {
  words=(-N 2)
  local count=$((RANDOM % 7))
  for ((k = 0; k < count; k++)); do
    local letter value
    pick letters
    letter="$picked"
    case "$letter" in
      a | b | f) pick files ;;
      O) pick overrides ;;
      L) pick addresses ;;
      m | x) picked="" ;;
      *) pick numbers ;;
    esac
    value="$picked"
    case $((RANDOM % 6)) in
      0) words+=("-$letter$value") ;;
      1) words+=("-$letter") ;;
      2) words+=("stray") ;;
      *) words+=("-$letter" "$value") ;;
    esac
  done
}

findings=0
timeouts=0
ran=0       # runs that ended with status 0
refused=0   # runs that ended with status 1 (bad options, or a fatal error reported)
for ((i = 1; i <= runs; i++)); do
  pick programs
  program="$picked"
  make_words
  rm -rf "$scratch/run" && mkdir -p "$scratch/run/sub"
  (cd "$scratch/run" && timeout -s KILL 20 "$bin/$program" "${words[@]}" \
    >"$scratch/out" 2>"$scratch/err") 2>/dev/null
  status=$?
  line="$program$(printf ' %q' "${words[@]}")"
  problem=""
  if [ $status -eq 137 ]; then
    # Killed by the time limit: a finding only when the run had a finite batch limit.
    limit=2
    for ((k = 0; k < ${#words[@]}; k++)); do
      w="${words[k]}"
      if [ "$w" = "-N" ] && [ $((k + 1)) -lt ${#words[@]} ]; then limit="${words[k + 1]}"; fi
      case "$w" in -N?*) limit="${w#-N}" ;; esac
    done
    timeouts=$((timeouts + 1))
    case "$limit" in
      '' | *[!0-9]* | 0 | 0*) ;;   # no limit, or none a number gives: runs on by design
      *) [ ${#limit} -lt 4 ] && problem="time-out with a batch limit of $limit" ;;
    esac
    [ -z "$problem" ] && echo "time-out (no finite batch limit): $line"
  elif [ $status -ne 0 ] && [ $status -ne 1 ]; then
    problem="exit status $status"
  fi
  [ $status -eq 0 ] && ran=$((ran + 1))
  [ $status -eq 1 ] && refused=$((refused + 1))
  if grep -qE "AddressSanitizer|LeakSanitizer|runtime error:|Assertion failed" "$scratch/err"; then
    problem="${problem:+$problem; }sanitizer or assertion report"
  fi
  # Only ASCII result files are looked at (a binary one may be named .csv by -b, and its
  # bytes may spell anything), and only their observation lines.
  for f in "$scratch"/run/*.csv "$scratch"/run/sub/*.csv; do
    [ -f "$f" ] || continue
    [ "$(head -c 23 "$f")" = "#TAVRIN_SIM_ASCII_FILE," ] || continue
    grep -qiE '^[0-9]+,.*(nan|inf)' "$f" && problem="${problem:+$problem; }nan or inf in $(basename "$f")"
  done
  if [ -n "$problem" ]; then
    findings=$((findings + 1))
    echo "FINDING ($problem): $line"
    head -c 2000 "$scratch/err" | sed 's/^/    /'
  fi
done
echo "fuzz_cli: $runs runs ($ran ended 0, $refused ended 1, $timeouts stopped by the time limit)," \
  "$findings findings"
exit $((findings > 255 ? 255 : findings))
