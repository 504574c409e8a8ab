#!/usr/bin/env bash
# Configures and builds one of the two build trees:
#   release  the shipped program, whose folder lands in build/dist;
#   checked  the same code with undefined-behaviour traps, plus the tests
#            (build/test, with its own program folder build/test/dist).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-release}
case "$kind" in
  release) dir=$root/build/release; extra=(-DTALMIC_CHECKED=OFF -DTALMIC_DIST_DIR="$root/build/dist") ;;
  checked) dir=$root/build/test; extra=(-DTALMIC_CHECKED=ON) ;;
  *) echo "build: unknown kind $kind" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" "${extra[@]}" >/dev/null
fi
cmake --build "$dir" "${@:2}"
