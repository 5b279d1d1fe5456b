#!/usr/bin/env bash
# The viewer from start to Esc under a private X server with no window manager: the hint box
# comes before the window, the window's place and size, a refused resize, the key commands and
# the exit code.
# Usage: startup.sh PATH_TO_RIBBON
set -uo pipefail
source "$(dirname "$0")/lib.sh"
viewer=${1:?usage: startup.sh PATH_TO_RIBBON}
shots=$(e2e_artifact_dir startup)
e2e_start_xvfb

e2e_launch_to_hint "$viewer"
pid=$E2E_VIEWER_PID
box=$E2E_HINT_BOX

xdotool key --window "$box" Return 2>/dev/null
window=$(e2e_wait_window "$E2E_MAIN_TITLE") || e2e_fail_process "$pid" "no main window after Return"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_gone "$box" || e2e_fail "hint box still shown"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_viewable "$window" || e2e_fail "window not mapped"

# Square at 0.8 of the 768-pixel screen height, at (50, 50).
side=$((E2E_SCREEN_HEIGHT * 8 / 10))
placed=$(xdotool getwindowgeometry "$window")
e2e_log "$placed"
grep -q "Position: 50,50 " <<<"$placed" || e2e_fail "window not at (50, 50)"
grep -q "Geometry: ${side}x${side}\$" <<<"$placed" || e2e_fail "window not ${side} x ${side}"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$E2E_BACKGROUND" ||
  e2e_fail "the window does not show the background colour (38, 38, 38)"
e2e_screenshot_window "$window" "$shots/default.png"

# A resize is undone. The program is held stopped while the server resizes its window, so that
# the new size is seen to take effect before the program answers it.
kill -STOP "$pid"
xdotool windowsize "$window" 400 300
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_has_size "$window" 400 300
resized=$?
kill -CONT "$pid"
((resized == 0)) || e2e_fail "the server did not resize the window"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_has_size "$window" "$side" "$side" ||
  e2e_fail "size not restored: $(e2e_window_geometry "$window")"
e2e_window_geometry "$window" | grep -q "^50 50 " || e2e_fail "the resize moved the window"

# Keys go to the window under the pointer (no window manager: focus follows the pointer).
xdotool mousemove 60 60

# f toggles fog: the background turns (0.5, 0.25, 0.25) and back.
for expected in "$E2E_FOG_BACKGROUND" "$E2E_BACKGROUND"; do
  xdotool key f
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$expected" ||
    e2e_fail "after f the background is not ($expected)"
done

# p toggles wireframe: the lines leave far more of the background showing than the filled model.
filled=$(e2e_share_unlike "$shots/default.png" "$E2E_BACKGROUND")
e2e_number "$filled" '>' 0.05 || e2e_fail "the model covers only $filled of the window"
wire_limit=$(awk -v f="$filled" 'BEGIN { print f * 0.7 }')
shows_wireframe() {
  local share
  share=$(e2e_share_unlike "$1" "$E2E_BACKGROUND") &&
    e2e_number "$share" '<' "$wire_limit" && e2e_number "$share" '>' 0.01
}
same_as_default() { e2e_same_picture "$1" "$shots/default.png"; }
xdotool key p
e2e_wait_picture "$window" "$shots/wireframe.png" shows_wireframe ||
  e2e_fail "no wireframe: model covers $(e2e_share_unlike "$shots/wireframe.png" \
    "$E2E_BACKGROUND") of the window after p, $filled before"
e2e_log "model covers $filled of the window filled," \
  "$(e2e_share_unlike "$shots/wireframe.png" "$E2E_BACKGROUND") as wireframe"
xdotool key p
e2e_wait_picture "$window" "$shots/filled.png" same_as_default ||
  e2e_fail "a second p does not bring the filled model back"

# j and k step a value that nothing shown depends on; the program goes on. The fog toggles that
# follow are handled after them, so seeing fog come and go shows that j and k were handled too.
xdotool key j j k j k k k
for expected in "$E2E_FOG_BACKGROUND" "$E2E_BACKGROUND"; do
  xdotool key f
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$expected" ||
    e2e_fail "the program does not answer f after j and k"
done
e2e_wait_picture "$window" "$shots/after_jk.png" same_as_default ||
  e2e_fail "j and k changed the picture"

# Esc closes the window and the program ends with exit code 0.
xdotool key Escape
e2e_wait_exit "$pid" || e2e_fail "the program still runs after Esc"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc"
e2e_window_exists "$window" && e2e_fail "the window outlives the program"
e2e_log "startup: passed (screenshots in $shots)"
