#!/usr/bin/env bash
# The shipped recorder and home modules under real X input: Alt+Shift+X and the home
# screenshot button save a PNG of the whole screen in the documents product folder; Alt+Shift+C
# and Z, and then the home start and stop buttons, record about 3 s into an MP4 that ffprobe
# reads back with the screen's size, 30 fps and the recorded duration; starting twice,
# stopping while idle and an output folder that cannot be made each give an alert and leave
# no file; dragging the home title bar moves the window. The test module sits beside them
# (one pixel in size) to run scripts and to hear the alerts and tips.
# Usage: recorder_test.sh APP_DIR TEST_MODULE_DIR CTL_EXE (run by CTest, under scripts/test)
set -euo pipefail
app_dir="$1" module_dir="$2" ctl="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/scripts/wine-env"
[ -n "${DISPLAY:-}" ] || { echo "needs the test display"; exit 1; }

work="$(mktemp -d)"
app_pid=""
made=()
cleanup() {
  if [ -n "$app_pid" ]; then
    "$WINE" "$ctl" module "main:pref recorder:output-dir" >/dev/null 2>&1 || true
    kill "$app_pid" 2>/dev/null || true
  fi
  for f in "${made[@]}"; do rm -f "$f"; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; "$WINE" "$ctl" windows 2>/dev/null || true; echo "--- test module log:"; cat "$log" 2>/dev/null || true; exit 1; }
module() { "$WINE" "$ctl" module "$1" || fail "the test module took no script: $1"; }

cp -r "$app_dir" "$work/app"
probe="$work/app/testrecorder/1.0.0"
mkdir -p "$probe/x64"
cp "$module_dir/recorder_module.dll" "$probe/x64/testrecorder.dll"
cat >"$probe/plugin.load" <<'JSON'
{"path": "testrecorder.dll", "x64": "x64", "win32": "x86", "type": 1, "version": "1.0.0",
 "id": "testrecorder", "command-create": "RECORDER_CREATE",
 "command-recv": ["RECORDER_CREATE", "LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE",
                  "LIBPLATFORM_COMMAND_SHOW_SHEET_TIP"]}
JSON
cat >"$work/app/ApplicationManifest.json" <<'JSON'
{"manifest": {"windows::version": 1, "application": {"modules": [
  {"windows:name": "recorder"},
  {"windows:name": "home", "windows:parentHwnd": "${topViewHwnd}",
   "windows:parameters": {"windows:rect": {"rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
                                          "offset": ["0", "0", "0", "0"]}}, "window:hwnd": "home"},
  {"windows:name": "testrecorder", "windows:parentHwnd": "${topViewHwnd}",
   "windows:parameters": {"windows:rect": {"rect": ["0", "0", "1", "1"],
                                          "offset": ["0", "0", "0", "0"]}}}]}}}
JSON
log="$probe/x64/recorder.log"
out="$work/out"
mkdir -p "$out"
win_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

"$WINE" "$work/app/Pellavorne Screen Recorder.exe" >/dev/null 2>&1 &
app_pid=$!
"$WINE" "$ctl" wait 60

log_lines() { grep -c -F "$1" "$log" 2>/dev/null || true; }
wait_for_log() {  # TEXT COUNT: until the log holds TEXT at least COUNT times
  local i
  for i in $(seq 1 300); do
    [ "$(log_lines "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "waited for '$1' x$2"
}
# A finished file (no ".part" beside it) matching a pattern, new since the list in $2.
wait_for_file() {  # DIR GLOB BEFORE_LIST
  local i f
  for i in $(seq 1 600); do
    for f in "$1"/$2; do
      [ -f "$f" ] || continue
      grep -qxF "$(basename "$f")" <<<"$3" && continue
      [ -e "$f.part" ] && continue
      echo "$f"
      return 0
    done
    sleep 0.1
  done
  return 1
}
key() { xdotool key --clearmodifiers "alt+shift+$1"; }
# The alert the recorder asked for is on the screen: press its OK button.
dismiss_alert() { "$WINE" "$ctl" dismiss 30 || fail "no alert dialog appeared"; }
# Clicks the centre of the home module's control ID, wherever it is on the screen now, once
# no dialog covers it (the saving progress closes a moment after the file is done).
click() {
  local before_count line
  before_count="$(log_lines "children done")"
  module "main:children home"
  wait_for_log "children done" $((before_count + 1))
  line="$(grep "^child $1 " "$log" | tail -n 1)"
  [ -n "$line" ] || fail "no home control $1"
  set -- $line
  local x=$((($3 + $5) / 2)) y=$((($4 + $6) / 2))
  "$WINE" "$ctl" reachable "$x" "$y" 30 || fail "home control $1 stays covered"
  xdotool mousemove "$x" "$y" click 1
}
# The recorder's state as it answers now: 0 idle, 1 recording, 2 saving.
recorder_state() {
  local asked
  asked="$(log_lines "platform LIBRECORDER_COMMAND_GET_STATUS")"
  module "main:platform LIBRECORDER_COMMAND_GET_STATUS"
  wait_for_log "platform LIBRECORDER_COMMAND_GET_STATUS" $((asked + 1))
  grep "platform LIBRECORDER_COMMAND_GET_STATUS" "$log" | tail -n 1 | sed 's/.* value=\([0-9-]*\) .*/\1/'
}
# Until the recorder is in STATE (a loaded machine may take seconds to act on a key or a
# click: the clip is measured against when recording really started and stopped).
wait_for_state() {  # STATE
  local i
  for i in $(seq 1 100); do
    [ "$(recorder_state)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the recorder never reached state $1"
}
wait_for_state_not() {  # STATE
  local i
  for i in $(seq 1 100); do
    [ "$(recorder_state)" != "$1" ] && return 0
    sleep 0.1
  done
  fail "the recorder stayed in state $1"
}
# ffprobe reads CLIP back: H.264, the screen's size (even), 30 fps, lasting as long as the
# recorder says it recorded (within 10 %) and about as long as the test held it (START to STOP
# here; hot keys and clicks reach the product with some delay on a busy machine).
check_clip() {  # CLIP START STOP
  local asked recorded_ms
  asked="$(log_lines "platform LIBRECORDER_COMMAND_GET_STATUS")"
  module "main:platform LIBRECORDER_COMMAND_GET_STATUS"
  wait_for_log "platform LIBRECORDER_COMMAND_GET_STATUS" $((asked + 1))
  recorded_ms="$(grep "platform LIBRECORDER_COMMAND_GET_STATUS" "$log" | tail -n 1 | sed 's/.* extra1=//')"
  local probe_line
  probe_line="$(ffprobe -v error -select_streams v:0 -show_entries \
    stream=codec_name,width,height,r_frame_rate,avg_frame_rate,nb_frames:format=duration \
    -of default=nw=1 "$1" | tr '\n' ' ')"
  echo "ffprobe: $probe_line"
  python3 - "$probe_line" "$screen_w" "$screen_h" "$2" "$3" "$recorded_ms" <<'PY' || fail "recording: $probe_line"
import sys
fields = dict(part.split("=", 1) for part in sys.argv[1].split())
width, height = int(sys.argv[2]) & ~1, int(sys.argv[3]) & ~1
def rate(text):
    num, den = text.split("/")
    return float(num) / float(den)
# The stream runs at 30 frames a second; slots the machine was too busy to capture are
# dropped and the frame before lasts longer, so the average only says how busy it was.
fps = rate(fields["r_frame_rate"])
average = rate(fields["avg_frame_rate"])
held = float(sys.argv[5]) - float(sys.argv[4])
recorded = int(sys.argv[6]) / 1000
duration = float(fields["duration"])
ok = (fields["codec_name"] == "h264" and int(fields["width"]) == width
      and int(fields["height"]) == height and 29 <= fps <= 31 and int(fields["nb_frames"]) >= 3
      and abs(duration - recorded) <= 0.1 * recorded and abs(duration - held) <= 0.5 * held)
print(f"size {fields['width']}x{fields['height']} fps {fps:.2f} (average {average:.2f}) "
      f"duration {duration:.2f}, recorded {recorded:.2f}, held {held:.2f}")
sys.exit(0 if ok else 1)
PY
}

window="$(xdotool search --sync --onlyvisible --name '^Pellavorne Screen Recorder$' | sed -n 1p)"  # sed reads all: no SIGPIPE under pipefail
xdotool mousemove --window "$window" 40 200 click 1  # an empty spot of the home view
sleep 0.5
read -r screen_w screen_h < <(xdotool getdisplaygeometry)

# Screenshot into the documents product folder, as the host names it.
module "main:platform LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR"
wait_for_log "platform LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR" 1
docs_win="$(grep -F "platform LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR" "$log" | sed 's/.* wide=\(.*\) object=.*/\1/')"
docs="$("$WINE" winepath -u "$docs_win" 2>/dev/null | tr -d '\r')"
[ -d "$docs" ] || fail "documents folder '$docs' ($docs_win) missing"
before="$(ls "$docs" 2>/dev/null || true)"
key x
shot="$(wait_for_file "$docs" 'Screenshot*.png' "$before")" || fail "no screenshot in $docs"
made+=("$shot")
[ "$(identify -format '%w %h' "$shot")" = "$screen_w $screen_h" ] ||
  fail "screenshot is $(identify -format '%w %h' "$shot"), screen $screen_w $screen_h"
wait_for_log "sheet-tip Screenshot saved to $docs_win" 1
# The home module's screenshot button does the same.
before="$(ls "$docs" 2>/dev/null || true)"
click 3101
shot="$(wait_for_file "$docs" 'Screenshot*.png' "$before")" || fail "no screenshot from the button"
made+=("$shot")
[ "$(identify -format '%w %h' "$shot")" = "$screen_w $screen_h" ] || fail "button screenshot size"
wait_for_log "sheet-tip Screenshot saved to $docs_win" 2

# Recording by hot keys into an output folder of the test's own.
module "main:pref recorder:output-dir $(win_path "$out")"
wait_for_log "pref recorder:output-dir=" 1
key c
wait_for_state 1
start=$(date +%s.%N)
sleep 1
key c  # a second start while recording
wait_for_log "alert A recording is already running" 1
dismiss_alert
sleep 2
key z
wait_for_state_not 1
stop=$(date +%s.%N)
clip="$(wait_for_file "$out" 'Recording*.mp4' "")" || fail "no recording in $out"
wait_for_log "sheet-tip Recording saved to" 1
check_clip "$clip" "$start" "$stop"
ls "$out" | grep -q '\.part$' && fail "a temporary file was left: $(ls "$out")"

# The same by the home module's start and stop buttons.
before="$(ls "$out")"
click 3102
wait_for_state 1
start=$(date +%s.%N)
sleep 3
click 3103
wait_for_state_not 1
stop=$(date +%s.%N)
clip="$(wait_for_file "$out" 'Recording*.mp4' "$before")" || fail "no recording from the buttons"
wait_for_log "sheet-tip Recording saved to" 2
check_clip "$clip" "$start" "$stop"

# Stopping while idle.
key z
wait_for_log "alert No recording is running" 1
dismiss_alert

# An output folder that cannot be made: an alert, no file anywhere, and still idle.
printf 'a file, not a folder' >"$work/blocker"
module "main:pref recorder:output-dir $(win_path "$work/blocker")\\inside"
wait_for_log "pref recorder:output-dir=" 2
key c
wait_for_log "alert The output folder" 1
dismiss_alert
key z
wait_for_log "alert No recording is running" 2
dismiss_alert
[ "$(ls "$out" | wc -l)" -eq 2 ] || fail "unexpected files: $(ls "$out")"

# Dragging the home title bar moves the window.
position() { xdotool getwindowgeometry --shell "$window" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'; }
read -r x0 y0 < <(position)
"$WINE" "$ctl" reachable $((x0 + 200)) $((y0 + 20)) 30 || fail "the title bar stays covered"
xdotool mousemove --window "$window" 200 20 mousedown 1
# A loaded machine may take up the drag only after the pointer moved on and was let go.
"$WINE" "$ctl" moving 30 || fail "pressing the title bar started no drag"
for i in 1 2 3 4 5 6; do xdotool mousemove_relative -- 10 5; sleep 0.05; done
xdotool mouseup 1
moved=""
for i in $(seq 1 50); do
  read -r x1 y1 < <(position)
  [ "$x1" -eq $((x0 + 60)) ] && [ "$y1" -eq $((y0 + 30)) ] && { moved=1; break; }
  sleep 0.1
done
[ -n "$moved" ] || fail "the drag left the window at $x1,$y1 (from $x0,$y0)"

module "main:pref recorder:output-dir"
wait_for_log "pref recorder:output-dir=" 3
"$WINE" "$ctl" close || true
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
echo "recorder: 1 passed, 0 failed"
