#!/bin/sh
# Installs the Debian packages the build and the tests need, when any is missing. Both
# README commands call it first, so a fresh machine needs nothing else. Needs root (or sudo)
# only when something has to be installed.
set -eu
packages="cmake g++ libgtest-dev libgmock-dev libbenchmark-dev libboost-dev libtomlplusplus-dev
libsqlite3-dev gnuplot-nox"
need=""
for pkg in $packages; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need="$need $pkg"
done
[ -z "$need" ] && exit 0
echo "Installing missing Debian packages:$need" >&2
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "tools/deps.sh: missing packages:$need; install them as root (apt-get install$need)" >&2
  exit 1
fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $need
