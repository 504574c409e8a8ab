#!/usr/bin/env bash
# Runs one Windows program (a test, usually) under Wine with the project's
# prefix, display and locale.  With TALMIC_HEAP_CHECK=1, Wine checks the
# heap on every operation and any heap complaint fails the run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
talmic_wine_ready

if [ "${TALMIC_HEAP_CHECK:-0}" = 1 ]; then
  export WINEDEBUG=-all,err+heap,warn+heap
  errors=$(mktemp)
  wine "$@" 2>"$errors"
  status=$?
  cat "$errors" >&2
  if grep -qE '^[0-9a-f]+:(err|warn):heap' "$errors"; then
    echo "wine-test: the heap checks reported faults (see above)" >&2
    [ "$status" -eq 0 ] && status=1
  fi
  rm -f "$errors"
  exit "$status"
fi
exec wine "$@"
