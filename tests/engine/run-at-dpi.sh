#!/usr/bin/env bash
# Runs a test program once per screen DPI given after it, each run in a Wine
# prefix of its own whose LogPixels says that DPI.  Wine reads LogPixels
# when a process starts, from the prefix's registry, which every process of
# the prefix shares: changing it in the shared prefix would change the DPI
# of whatever other test starts meanwhile.
#   run-at-dpi.sh PROGRAM DPI... [-- PROGRAM-ARGUMENTS...]
set -u
program=$1
shift
dpis=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  dpis+=("$1")
  shift
done
[ $# -gt 0 ] && shift

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${TALMIC_BUILD_ROOT:-$here/../../build}
export TALMIC_WINEPREFIX=$build/wineprefix-dpi
# The prefix's wineserver goes soon after the last program; the run ends it
# itself too.
export TALMIC_WINESERVER_PERSIST=5
source "$here/../../scripts/wine-env.sh"
talmic_wine_ready

key='HKCU\Control Panel\Desktop'
finish() {
  wine reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f </dev/null >/dev/null 2>&1
  # A browser program a failed run left behind, then the prefix's server.
  pkill -f -- "--user-data-dir=$WINEPREFIX/" >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
}
trap finish EXIT

status=0
for dpi in "${dpis[@]}"; do
  if ! wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1; then
    echo "run-at-dpi: cannot set LogPixels to $dpi" >&2
    status=1
    continue
  fi
  echo "=== at $dpi DPI"
  TALMIC_TEST_DPI=$dpi wine "$program" "$@" || status=1
done
exit $status
