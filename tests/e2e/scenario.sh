#!/usr/bin/env bash
# The viewer from start to end under a private X server with no window manager, whatever starts
# it: the program itself, or a launcher (Wine, valgrind) with the program as its argument.
#   full (default): the hint box before the window; the window's place and size; its picture
#     (both sides); f; a refused resize; p; a drag that leaves the model spinning; Esc, exit 0.
#   --short: the hint, the window's place and size, its picture, f, Esc and exit code 0.
# Usage: scenario.sh [--full | --short] PROGRAM [ARGUMENTS...]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
mode=full
[[ ${1:-} == --full || ${1:-} == --short ]] && { mode=${1#--}; shift; }
(($# > 0)) || e2e_fail "usage: scenario.sh [--full | --short] PROGRAM [ARGUMENTS...]"
shots=$(e2e_artifact_dir "scenario-$mode-$(basename "${@: -1}")")
e2e_start_xvfb

# With the SDL build the preloaded swap counter reports the depth bits of the viewer's context
# (the record's tenth word).
counter_file=$shots/swap-counter
counter=()
[[ -n ${E2E_SWAP_COUNTER:-} ]] &&
  counter=(env LD_PRELOAD="$E2E_SWAP_COUNTER" RIBBON_SWAP_COUNTER="$counter_file")
e2e_launch_viewer "${counter[@]}" "$@"
pid=$E2E_VIEWER_PID
window=$E2E_MAIN_WINDOW
e2e_screenshot_window "$window" "$shots/default.png"

# Square at 0.8 of the screen height, at (50, 50). Without a window manager the SDL build's X
# window is the whole window; Wine draws a frame around its X window, the client area.
side=$((E2E_SCREEN_HEIGHT * 8 / 10))
read -r left top width height < <(e2e_window_geometry "$window")
border=$((left - 50)) caption=$((top - left))
e2e_log "client ${width}x${height} at ($left, $top): frame $border, caption $caption"
((border == 0 && caption == 0 || border > 0 && border < 16 && caption > 0 && caption < 40)) ||
  e2e_fail "window at ($left, $top) is not at (50, 50)"
((width + 2 * border == side && height + caption + 2 * border == side)) ||
  e2e_fail "window $((width + 2 * border)) x $((height + caption + 2 * border)), not $side x $side"

# The context has the 16 depth bits asked for, so each triangle's two windings tie in depth and
# the picture shows clean bands of rose and green, not speckle.
depth_bits() { od -An -t u8 -j 72 -N 8 "$counter_file" | tr -d ' '; }
[[ -z ${E2E_SWAP_COUNTER:-} || $(depth_bits) == 16 ]] ||
  e2e_fail "the viewer's context has $(depth_bits) depth bits"
speckle=$(e2e_speckle "$shots/default.png") || e2e_fail "no model pixels in the picture"
e2e_log "rose/green flips between neighbouring model pixels: $speckle"
e2e_number "$speckle" '<' 0.03 || e2e_fail "the picture speckles ($speckle)"

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
done

if [[ $mode == full ]]; then
  # A resize is undone. The program is held stopped while the server resizes its window, so
  # that the new size is seen to take effect before the program answers it.
  if ((${E2E_RESIZE:-1})); then
    kill -STOP "$pid"
    xdotool windowsize "$window" 400 300
    e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_has_size "$window" 400 300
    resized=$?
    kill -CONT "$pid"
    ((resized == 0)) || e2e_fail "the server did not resize the window"
    e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_has_size "$window" "$width" "$height" ||
      e2e_fail "size not restored: $(e2e_window_geometry "$window")"
  fi

  # p toggles wireframe (what it looks like is checked in process): the picture changes.
  same_as_default() { e2e_same_picture "$1" "$shots/default.png"; }
  xdotool key p
  e2e_wait_picture "$window" "$shots/wireframe.png" eval '! same_as_default' ||
    e2e_fail "p does not change the picture"
  xdotool key p
  e2e_wait_picture "$window" "$shots/filled.png" same_as_default ||
    e2e_fail "a second p does not bring back the first picture"

  # A drag released in motion leaves the model spinning.
  centre_x=$((left + width / 2)) centre_y=$((top + height / 2))
  e2e_drag "$centre_x" "$centre_y" $((centre_x + 120)) $((centre_y + 30)) 8
  e2e_screenshot_window "$window" "$shots/spinning-1.png"
  differs_from_first() { ! e2e_same_picture "$1" "$shots/spinning-1.png"; }
  e2e_wait_picture "$window" "$shots/spinning-2.png" differs_from_first ||
    e2e_fail "the model does not keep turning after the drag"
fi

xdotool key Escape
e2e_wait_exit "$pid" || e2e_fail "the program still runs after Esc"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc"
e2e_window_exists "$window" && e2e_fail "the window outlives the program"
e2e_log "$mode: passed (screenshots in $shots)"
