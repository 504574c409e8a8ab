#!/usr/bin/env bash
# Builds every benchmark in bench/ (in the shipped build, with its
# optimisation) and runs each under Wine; each prints one line per figure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" release --target benchmarks

source "$root/scripts/wine-env.sh"
unset DISPLAY
trap talmic_wine_stop EXIT
talmic_wine_ready
shopt -s nullglob
found=0
for bench in "$root"/build/release/bench/bench_*.exe; do
  found=1
  wine "$bench" | tr -d '\r'
done
[ "$found" = 1 ] || echo "bench: no benchmarks are built"
