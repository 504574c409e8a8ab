#!/usr/bin/env bash
# Builds the shipped program and runs it on the demo configuration from a
# program folder of its own (build/run), under Xvfb when there is no display,
# then reports how it ended.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" release

run_dir=$root/build/run
rm -rf "$run_dir"
mkdir -p "$run_dir"
cp -r "$root/build/dist/." "$run_dir/"
# The demo web application, on a free loopback port; the program folder's
# configuration points at it.
port_file=$run_dir/demo-port
python3 "$root/demo/server.py" "$port_file" 2>"$run_dir/demo-server.log" &
demo_pid=$!
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
if [ ! -s "$port_file" ]; then
  echo "run: the demo server did not start (see $run_dir/demo-server.log)" >&2
  exit 1
fi
port=$(cat "$port_file")
printf '[System]\r\nloginurl=http://127.0.0.1:%s/app/login.jhtml\r\n' "$port" >"$run_dir/wex.ini"
echo "run: demo web application at http://127.0.0.1:$port/app/login.jhtml"

source "$root/scripts/wine-env.sh"
own_display=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  unset DISPLAY
  own_display=1
fi
cleanup() {
  kill "$demo_pid" 2>/dev/null || true
  [ "$own_display" = 1 ] && talmic_wine_stop
  return 0
}
trap cleanup EXIT
talmic_wine_ready

echo "run: starting $run_dir/Talmic.exe (display $DISPLAY)"
set +e
(cd "$run_dir" && wine ./Talmic.exe)
status=$?
set -e
echo "run: Talmic.exe ended with exit code $status"
if grep -q 'checkVersions.jhtml' "$run_dir/demo-server.log"; then
  echo "run: it asked the demo server for updates and was told it is current"
fi
exit "$status"
