#!/usr/bin/env bash
# Builds the checked tree and runs every test under Wine and one Xvfb
# display, then ends the display and the wineserver it started.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" checked

source "$root/scripts/wine-env.sh"
unset DISPLAY
# One wineserver for the whole run, ended with the display afterwards.
export TALMIC_WINESERVER_PERSIST=
trap talmic_wine_stop EXIT
talmic_wine_ready
ctest --test-dir "$root/build/test" --output-on-failure --timeout 900 -j2 "$@"
