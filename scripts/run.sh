#!/usr/bin/env bash
# Builds the shipped program and runs it on the demo web application from a
# program folder of its own (build/run).  It waits for the main window and
# the demo login page in it and saves a screenshot.  With a display of the
# user's the program then stays open until its user closes it; under an Xvfb
# of our own (no display) it is asked to quit once the screenshot is taken.
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
server_log=$run_dir/demo-server.log
python3 "$root/demo/server.py" "$port_file" 2>"$server_log" &
demo_pid=$!
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
if [ ! -s "$port_file" ]; then
  echo "run: the demo server did not start (see $server_log)" >&2
  kill "$demo_pid" 2>/dev/null || true
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

screenshot=$run_dir/screenshot.png
rm -f "$screenshot"
launcher_args=("$(winepath -w "$run_dir/Talmic.exe" 2>/dev/null)" "$(winepath -w "$screenshot" 2>/dev/null)")
# Nobody sees an Xvfb of our own: once the picture is taken the program is
# asked to quit, through the main window's own quit request.
[ "$own_display" = 1 ] && launcher_args+=(--quit)

echo "run: starting $run_dir/Talmic.exe (display $DISPLAY)"
# The launcher starts the program, watches its windows from outside and
# prints one "name: value" line per event.
report=$run_dir/launcher.log
set +e
(cd "$run_dir" && wine "$root/build/release/demo/DemoLauncher.exe" "${launcher_args[@]}") |
  tr -d '\r' | tee "$report" | while IFS= read -r line; do
  case "$line" in
    window:*) echo "run: the main window showed ${line#window: } after the start" ;;
    page:*) echo "run: the login page was painted ${line#page: } after the start" ;;
    running:*) echo "run: Talmic.exe is running; close its window to end it" ;;
    gave-up:*) echo "run: gave up waiting: ${line#gave-up: }" >&2 ;;
    ended:*) echo "run: Talmic.exe ended ${line#ended: }" ;;
    failed:*) echo "run: ${line#failed: }" >&2 ;;
  esac
done
set -e

value() { sed -n "s/^$1: //p" "$report" | tail -n 1; }
status=$(value exit)
if grep -q 'checkVersions.jhtml' "$server_log"; then
  echo "run: it asked the demo server for updates and was told it is current"
fi
if answered=$(grep -m1 '^demo: page api-answered' "$server_log"); then
  mac=${answered#demo: page api-answered}
  echo "run: the page's functions answered (getMac gave '${mac# }')"
fi
if [ -s "$screenshot" ] && grep -q '^screenshot:' "$report"; then
  echo "run: screenshot saved to $screenshot"
else
  echo "run: no screenshot was taken (the program showed no window)"
fi
if [ -z "$status" ]; then
  echo "run: the launcher did not report how Talmic.exe ended (see $report)" >&2
  exit 1
fi
echo "run: Talmic.exe ended with exit code $status"
if grep -q '^gave-up:' "$report"; then
  exit 1
fi
exit "$status"
