#!/usr/bin/env bash
# The SDK's template module builds with the commands of sdk/README.md, loads into the
# product and answers its command (asked by the test module, which logs the answer).
# Usage: sdk_template_test.sh APP_DIR TEST_MODULE_DIR CTL_EXE (run by CTest, under scripts/test)
set -euo pipefail
app_dir="$1" module_dir="$2" ctl="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/scripts/wine-env"
[ -n "${DISPLAY:-}" ] || { echo "needs the test display"; exit 1; }

work="$(mktemp -d)"
log="$work/app/testrecorder/1.0.0/x64/recorder.log"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$log" 2>/dev/null || true; exit 1; }

# The README's two commands, with the build folder in the test's own space.
(cd "$root" && cmake -S sdk/template -B "$work/sample-build" -G Ninja >/dev/null &&
  cmake --build "$work/sample-build" >/dev/null) || fail "the template did not build"
[ -f "$work/sample-build/sample/1.0.0/x64/sample.dll" ] || fail "no sample.dll"

cp -r "$app_dir" "$work/app"
cp -r "$work/sample-build/sample" "$work/app/sample"
probe="$work/app/testrecorder/1.0.0"
mkdir -p "$probe/x64"
cp "$module_dir/recorder_module.dll" "$probe/x64/testrecorder.dll"
cat >"$probe/plugin.load" <<'JSON'
{"path": "testrecorder.dll", "x64": "x64", "win32": "x86", "type": 1, "version": "1.0.0",
 "id": "testrecorder", "command-create": "RECORDER_CREATE", "command-recv": ["RECORDER_CREATE"]}
JSON
cat >"$work/app/ApplicationManifest.json" <<'JSON'
{"manifest": {"windows::version": 1, "application": {"modules": [
  {"windows:name": "sample"},
  {"windows:name": "testrecorder", "windows:parentHwnd": "${topViewHwnd}",
   "windows:parameters": {"windows:rect": {"rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
                                          "offset": ["0", "0", "0", "0"]}}}]}}}
JSON
log="$probe/x64/recorder.log"

"$WINE" "$work/app/Pellavorne Screen Recorder.exe" >/dev/null 2>&1 &
app_pid=$!
"$WINE" "$ctl" wait 60
answer() {
  local i
  for i in $(seq 1 100); do
    [ "$(grep -c "platform SAMPLE_COMMAND_HELLO" "$log" 2>/dev/null || true)" -ge "$1" ] && return 0
    sleep 0.1
  done
  fail "no answer $1"
}
"$WINE" "$ctl" module "main:platform SAMPLE_COMMAND_HELLO"
answer 1
"$WINE" "$ctl" module "worker:platform SAMPLE_COMMAND_HELLO"
answer 2
grep -q "platform SAMPLE_COMMAND_HELLO main=1 text=Hello from Pellavorne Screen Recorder .* value=1 " "$log" ||
  fail "first answer"
grep -q "platform SAMPLE_COMMAND_HELLO main=0 text=Hello from Pellavorne Screen Recorder .* value=2 " "$log" ||
  fail "second answer, from a worker thread"

"$WINE" "$ctl" close || true
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
echo "sdk template: 1 passed, 0 failed"
