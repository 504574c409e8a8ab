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
# The start-up figures again at 150 % display scaling, in a Wine prefix of
# its own whose DPI is 144, named as their own lines.
startup=$root/build/release/bench/bench_startup.exe
if [ -f "$startup" ]; then
  STARTUP_BENCH_SUFFIX=_144dpi bash "$root/tests/engine/run-at-dpi.sh" "$startup" 144 |
    tr -d '\r' | grep -v '^=== '
fi
