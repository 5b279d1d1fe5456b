#!/usr/bin/env bash
# What the viewer shows: the ribbon with its rose front and green back, unmoved until the first
# input although frames are drawn continuously; a drag released in motion leaves it spinning and
# a click stops it.
# Usage: picture.sh PATH_TO_RIBBON
set -uo pipefail
source "$(dirname "$0")/lib.sh"
viewer=${1:?usage: picture.sh PATH_TO_RIBBON}
shots=$(e2e_artifact_dir picture)
e2e_start_xvfb

# With the SDL build a preloaded probe reports the depth bits of the viewer's context.
depth_file=$shots/depth-bits
probe=()
[[ -n ${E2E_DEPTH_PROBE:-} ]] && probe=(env LD_PRELOAD="$E2E_DEPTH_PROBE" RIBBON_DEPTH_PROBE="$depth_file")
e2e_launch_viewer "${probe[@]}" "$viewer"
window=$E2E_MAIN_WINDOW
read -r left top width height < <(e2e_window_geometry "$window")
centre_x=$((left + width / 2))
centre_y=$((top + height / 2))

# Before any input the model does not move, although frames keep coming.
e2e_screenshot_window "$window" "$shots/default.png"
for n in 1 2 3; do
  sleep 0.2
  e2e_screenshot_window "$window" "$shots/unmoved-$n.png"
  e2e_same_picture "$shots/default.png" "$shots/unmoved-$n.png" ||
    e2e_fail "the model moves before any input ($(e2e_diff_pixels "$shots/default.png" \
      "$shots/unmoved-$n.png") pixels changed)"
done

# The context has the 16 depth bits asked for, so each triangle's two windings tie in depth and
# the picture shows clean bands of rose and green, not speckle.
[[ -z ${E2E_DEPTH_PROBE:-} || $(<"$depth_file") == 16 ]] ||
  e2e_fail "the viewer's context has $(<"$depth_file") depth bits"
speckle=$(e2e_speckle "$shots/default.png") || e2e_fail "no model pixels in the picture"
e2e_log "rose/green flips between neighbouring model pixels: $speckle"
e2e_number "$speckle" '<' 0.03 || e2e_fail "the picture speckles ($speckle)"

# Both sides of the ribbon are in view: rose front faces and green back faces.
read -r rose green < <(e2e_hue_shares "$shots/default.png")
e2e_log "rose pixels: $rose, green pixels: $green of the window"
e2e_number "$rose" '>' 0.01 || e2e_fail "no rose front faces in view ($rose)"
e2e_number "$green" '>' 0.01 || e2e_fail "no green back faces in view ($green)"

# A drag to the right, released while moving, leaves the model spinning.
e2e_drag "$centre_x" "$centre_y" $((centre_x + 120)) $((centre_y + 30)) 8
e2e_screenshot_window "$window" "$shots/spinning-1.png"
sleep 0.3
e2e_screenshot_window "$window" "$shots/spinning-2.png"
moved=$(e2e_diff_pixels "$shots/spinning-1.png" "$shots/spinning-2.png")
e2e_log "$moved pixels changed between two pictures of the spinning model"
((moved > width * height / 100)) || e2e_fail "the model does not keep turning after the drag"
e2e_same_picture "$shots/default.png" "$shots/spinning-2.png" &&
  e2e_fail "the model is back in its first orientation"

# A click stops it: the picture comes to rest and stays so.
e2e_click $((centre_x - 40)) $((centre_y + 40))
still=$(e2e_wait_still_picture "$window" "$shots" stopping) ||
  e2e_fail "the model still turns after a click"
sleep 0.5
e2e_screenshot_window "$window" "$shots/stopped.png"
e2e_same_picture "$still" "$shots/stopped.png" || e2e_fail "the model moves again after stopping"
e2e_same_picture "$shots/default.png" "$shots/stopped.png" &&
  e2e_fail "the model stopped in its first orientation"

xdotool key Escape
e2e_wait_exit "$E2E_VIEWER_PID" || e2e_fail "the program still runs after Esc"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc"
e2e_log "picture: passed (screenshots in $shots)"
