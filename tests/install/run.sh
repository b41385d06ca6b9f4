#!/bin/sh
# Installs Tavrin from a build folder into a scratch prefix, then builds and runs the
# project beside this script against it, as a user outside the tree would:
#   find_package(Tavrin REQUIRED) + tavrin_add_model(twoqueues twoqueues.toml).
# Also checks that editing the model file regenerates the simulator, and that a C++ error
# in a model file's code is reported at the model file's line.
# Usage: tests/install/run.sh BUILD_DIR [extra cmake arguments for the project]
set -eu
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "install check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" || fail "cmake --install failed"
cp -r "$here" "$work/project"
cmake -S "$work/project" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" "$@" > "$work/configure.log" \
  || { cat "$work/configure.log"; fail "configuring the project failed"; }
cmake --build "$work/build" > "$work/build.log" 2>&1 || { cat "$work/build.log"; fail "building the project failed"; }

sim="$work/build/bin/twoqueues_sim"
[ -x "$sim" ] || fail "no simulator $sim"
grep -q '"name": "K", "type": "int"' "$work/build/bin/twoqueues_sim.study.json" || fail "study description missing"
(cd "$work" && "$sim" -t 1 -N 20 -a run.csv > run.log) || fail "the simulator failed"
lines=$(grep -c '^0,' "$work/run.csv")
[ "$lines" -eq 20 ] || fail "expected 20 observations, found $lines"

# An edited model file is regenerated and rebuilt by the next build.
sed -i 's/^K = 5$/K = [5, 7]/' "$work/project/twoqueues.toml"
cmake --build "$work/build" > "$work/rebuild.log" 2>&1 || { cat "$work/rebuild.log"; fail "rebuilding failed"; }
grep -q '"name": "K=7"' "$work/build/bin/twoqueues_sim.study.json" || fail "the edited model was not regenerated"
(cd "$work" && "$sim" -t 1 -e 1 -N 2 > run.log) || fail "the second experiment did not run"

# A C++ error in a predicate points at the model file.
sed -i 's/enabled = "First->Mark() < K"/enabled = "First->Mark() < Kapacity"/' "$work/project/twoqueues.toml"
line=$(grep -n 'Kapacity' "$work/project/twoqueues.toml" | cut -d: -f1)
if cmake --build "$work/build" > "$work/broken.log" 2>&1; then fail "a model with a C++ error built"; fi
grep -q "twoqueues.toml:$line:.*Kapacity" "$work/broken.log" || { cat "$work/broken.log"; fail "the error is not reported at twoqueues.toml:$line"; }
echo "install check: passed"
