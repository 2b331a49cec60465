#!/usr/bin/env bash
# Real hot keys: the product runs with the recorder module, gets X focus from a click, and
# Alt+Shift+X, C and Z reach the recorder in that order. Then the window goes to the tray,
# where the X server can deliver no key to it, so the hot-key message is posted directly.
# Usage: hotkeys_test.sh APP_DIR TEST_MODULE_DIR CTL_EXE (run by CTest, under scripts/test)
set -euo pipefail
app_dir="$1" module_dir="$2" ctl="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/scripts/wine-env"
[ -n "${DISPLAY:-}" ] || { echo "needs the test display"; exit 1; }

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$app_dir" "$work/app"
module="$work/app/recorder/1.0.0"
mkdir -p "$module/x64"
cp "$module_dir/recorder_module.dll" "$module/x64/recorder.dll"
cat >"$module/plugin.load" <<'JSON'
{"path": "recorder.dll", "x64": "x64", "win32": "x86", "type": 1, "version": "1.0.0",
 "id": "recorder", "command-create": "RECORDER_CREATE",
 "command-recv": ["RECORDER_CREATE", "LIBRECORDER_COMMAND_START_SCREEN_CAPTURE",
                  "LIBRECORDER_COMMAND_START_SCREEN_RECORDER",
                  "LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER"]}
JSON
cat >"$work/app/ApplicationManifest.json" <<'JSON'
{"manifest": {"windows::version": 1, "application": {"modules": [
  {"windows:name": "recorder", "windows:parentHwnd": "${topViewHwnd}",
   "windows:parameters": {"windows:rect": {"rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
                                          "offset": ["0", "0", "0", "0"]}}}]}}}
JSON
log="$module/x64/recorder.log"

"$WINE" "$work/app/Pellavorne Screen Recorder.exe" >/dev/null 2>&1 &
app_pid=$!
"$WINE" "$ctl" wait 60

commands() { grep -E '^LIBRECORDER_COMMAND_' "$log" 2>/dev/null | tr '\n' ' ' || true; }
wait_for_commands() {
  local expected="$1" i
  for i in $(seq 1 100); do
    [ "$(commands)" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "recorder received: '$(commands)'; expected: '$expected'"
  return 1
}

window="$(xdotool search --sync --onlyvisible --name '^Pellavorne Screen Recorder$' | sed -n 1p)"  # sed reads all: no SIGPIPE under pipefail
xdotool mousemove --window "$window" 300 120 click 1
sleep 0.5
for key in x c z; do
  xdotool key --clearmodifiers "alt+shift+$key"
  sleep 0.3
done
first="LIBRECORDER_COMMAND_START_SCREEN_CAPTURE LIBRECORDER_COMMAND_START_SCREEN_RECORDER LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER "
wait_for_commands "$first"

"$WINE" "$ctl" module "main:platform LIBPLATFORM_COMMAND_CLOSE_WINDOW"
[ "$("$WINE" "$ctl" visible | tr -d '\r')" = "0" ] || { echo "window not hidden"; exit 1; }
for id in 1002 1003 1004; do "$WINE" "$ctl" hotkey "$id"; done
wait_for_commands "$first$first"
[ "$("$WINE" "$ctl" visible | tr -d '\r')" = "0" ] || { echo "a hot key showed the window"; exit 1; }

"$WINE" "$ctl" close || true
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || { echo "exit code $status"; exit 1; }
echo "hot keys: 1 passed, 0 failed"
