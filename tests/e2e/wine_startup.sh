#!/usr/bin/env bash
# ribbon.exe under Wine from start to Esc, on a private X server with no window manager: the hint
# box comes before the window, the window's place and outer size, the picture on grey, fog on f
# and the exit code. Wine draws the frame itself here, so the X window is the client area inside
# a frame of `border` pixels on three sides and `border + caption` on top.
# Usage: wine_startup.sh PATH_TO_LAUNCHER (a program that starts ribbon.exe under Wine)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
viewer=${1:?usage: wine_startup.sh PATH_TO_LAUNCHER}
shots=$(e2e_artifact_dir wine_startup)
e2e_start_xvfb

e2e_launch_to_hint "$viewer"
pid=$E2E_VIEWER_PID
box=$E2E_HINT_BOX
e2e_screenshot "$shots/hint.png"

xdotool key --window "$box" Return 2>/dev/null
window=$(e2e_wait_window "$E2E_MAIN_TITLE") || e2e_fail_process "$pid" "no main window after Return"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_gone "$box" || e2e_fail "hint box still shown"
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_viewable "$window" || e2e_fail "window not mapped"

# The outer window is square at 0.8 of the 768-pixel screen height, at (50, 50).
side=$((E2E_SCREEN_HEIGHT * 8 / 10))
read -r left top width height < <(e2e_window_geometry "$window")
border=$((left - 50))
caption=$((top - 50 - border))
e2e_log "client ${width}x${height} at ($left, $top): frame $border, caption $caption"
((border > 0 && border < 16 && caption > 0 && caption < 40)) ||
  e2e_fail "no frame of the expected kind around a window at (50, 50)"
((width + 2 * border == side && height + caption + 2 * border == side)) ||
  e2e_fail "outer size $((width + 2 * border)) x $((height + caption + 2 * border)), not $side x $side"

# The ribbon on grey, both of its sides in view.
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$E2E_BACKGROUND" ||
  e2e_fail "the window does not show the background colour ($E2E_BACKGROUND)"
e2e_screenshot_window "$window" "$shots/default.png"
read -r rose green < <(e2e_hue_shares "$shots/default.png")
e2e_log "rose pixels: $rose, green pixels: $green of the window"
e2e_number "$rose" '>' 0.01 || e2e_fail "no rose front faces in view ($rose)"
e2e_number "$green" '>' 0.01 || e2e_fail "no green back faces in view ($green)"

# Keys go to the window under the pointer (no window manager: focus follows the pointer).
xdotool mousemove $((left + 10)) $((top + 10))
for expected in "$E2E_FOG_BACKGROUND" "$E2E_BACKGROUND"; do
  xdotool key f
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$expected" ||
    e2e_fail "after f the background is not ($expected)"
  e2e_screenshot_window "$window" "$shots/after-f-${expected// /-}.png"
done

# Esc closes the window and the program ends with exit code 0.
xdotool key Escape
e2e_wait_exit "$pid" || e2e_fail "the program still runs after Esc"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc"
e2e_window_exists "$window" && e2e_fail "the window outlives the program"
e2e_log "wine_startup: passed (screenshots in $shots)"
