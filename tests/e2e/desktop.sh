#!/usr/bin/env bash
# The viewer on a desktop. Under openbox: the frame at (50, 50), a maximise request that changes
# nothing, no frames and next to no CPU while minimised, the spin going on after restoring, Alt+f,
# and the frame's close button. Then on a bare portrait screen: a window that fits, and the X
# server going away under the viewer.
# Usage: desktop.sh PATH_TO_RIBBON PATH_TO_SWAP_COUNTER_LIBRARY
set -uo pipefail
source "$(dirname "$0")/lib.sh"
(($# == 2)) || e2e_fail "usage: desktop.sh PATH_TO_RIBBON PATH_TO_SWAP_COUNTER_LIBRARY"
viewer=$1 counter_library=$2
shots=$(e2e_artifact_dir desktop)
counter=$shots/swaps errors=$shots/stderr
e2e_start_xvfb
openbox --sm-disable >/dev/null 2>&1 &
e2e_track_pid $!
# openbox answers as the window manager before its theme is loaded (on a fresh system, with the
# fonts' cache built first); a window it is asked to map meanwhile never shows.
e2e_wait_until "$E2E_WINDOW_DEADLINE" eval "xprop -root _OB_THEME | grep -q =" || e2e_fail "no openbox"

swaps() { od -An -t u8 -N8 "$counter" 2>/dev/null | tr -d ' '; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Two shots 0.3 s apart, NAME-1.png and -2.png: does more than 1 % of the window change?
spins() {
  e2e_screenshot_window "$window" "$shots/$1-1.png" && sleep 0.3 && e2e_screenshot_window \
    "$window" "$shots/$1-2.png" && (($(e2e_diff_pixels "$shots/$1-"[12].png) > side * side / 100))
}

e2e_launch_viewer sh -c 'RIBBON_SWAP_COUNTER=$2 LD_PRELOAD=$3 exec "$1" 2>"$4"' sh "$viewer" \
  "$counter" "$counter_library" "$errors"
pid=$E2E_VIEWER_PID
window=$E2E_MAIN_WINDOW
side=$((E2E_SCREEN_HEIGHT * 8 / 10))
read -r left top _ < <(e2e_window_geometry "$window")
read -r frame_left _ frame_top _ < <(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ')
((left - frame_left == 50 && top - frame_top == 50)) ||
  e2e_fail "the frame is at ($((left - frame_left)), $((top - frame_top))), not at (50, 50)"
centre_x=$((left + side / 2)) centre_y=$((top + side / 2))

# The window manager sees one size, so maximising leaves the window as it was.
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
sleep 0.5
e2e_window_has_size "$window" "$side" "$side" ||
  e2e_fail "maximising gave $(e2e_window_geometry "$window")"

# Spinning, then minimised: no frames and under 1 % of a core over three seconds.
e2e_drag "$centre_x" "$centre_y" $((centre_x + 120)) $((centre_y + 30)) 8
spins spinning || e2e_fail "the model does not spin after a drag"
(($(swaps) > 0)) || e2e_fail "the swap counter counts nothing"
xdotool windowminimize "$window"
viewable() { xwininfo -id "$window" | grep -q 'Map State: IsViewable'; }
e2e_wait_until "$E2E_WINDOW_DEADLINE" eval '! viewable' || e2e_fail "not minimised"
sleep 0.5
swaps_before=$(swaps) ticks_before=$(cpu_ticks "$pid") ticks_in_3s=$((3 * $(getconf CLK_TCK)))
sleep 3
minimised_swaps=$(($(swaps) - swaps_before)) minimised_ticks=$(($(cpu_ticks "$pid") - ticks_before))
((minimised_swaps == 0)) || e2e_fail "$minimised_swaps frames drawn while minimised"
((minimised_ticks * 100 < ticks_in_3s)) ||
  e2e_fail "$minimised_ticks of $ticks_in_3s CPU ticks while minimised: 1 % of a core or more"

# Restored, the spin goes on.
wmctrl -i -a "$window"
e2e_wait_until "$E2E_WINDOW_DEADLINE" viewable || e2e_fail "not restored"
spins restored || e2e_fail "the spin does not go on after restoring"

# Alt+f is a system key and toggles nothing; the f after it toggles fog once.
xdotool windowactivate "$window"
xdotool key alt+f sleep 0.2 key f
e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$window" "$E2E_FOG_BACKGROUND" ||
  e2e_fail "Alt+f toggled fog"

wmctrl -i -c "$window"
e2e_expect_exit "$pid" 0 "the close button"

# A bare portrait screen: the square fits. Killing the server ends the viewer with status 1.
kill "$E2E_XVFB_PID" && wait "$E2E_XVFB_PID"
E2E_SCREEN_WIDTH=1080 E2E_SCREEN_HEIGHT=1920 e2e_start_xvfb
e2e_launch_viewer sh -c 'exec "$1" 2>"$2"' sh "$viewer" "$errors"
e2e_window_has_size "$E2E_MAIN_WINDOW" 864 864 ||
  e2e_fail "on a 1080 x 1920 screen the window is $(e2e_window_geometry "$E2E_MAIN_WINDOW")"
kill "$E2E_XVFB_PID"
e2e_expect_exit "$E2E_VIEWER_PID" 1 "the X server went away"
[[ $(wc -l <"$errors") == 1 && $(cat "$errors") == "ribbon: "* ]] ||
  e2e_fail "stderr without the X server: $(cat "$errors")"
e2e_log "desktop: passed (screenshots in $shots)"
