#!/usr/bin/env bash
# The viewer from start to end under a private X server with no window manager, whatever starts
# it: the program itself, or a launcher (Wine, valgrind) with the program as its argument.
#   full (default): the hint box before the window; the window's place and size; its picture; f;
#     a refused resize; a held drag, slow and as a burst, that leaves the model spinning; Esc.
#   --short: the hint, the window's place and size, its picture, f, Esc and exit code 0.
#   E2E_RESIZE=0 skips the resize (Wine), E2E_BURST_CHECK=0 only reports the burst figure;
#   E2E_WM_CLASS checks the window's class, E2E_ICON=ICO the icon against the file's 256 colours.
# Usage: scenario.sh [--full | --short] PROGRAM [ARGUMENTS...]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
mode=full
[[ ${1:-} == --full || ${1:-} == --short ]] && { mode=${1#--}; shift; }
(($# > 0)) || e2e_fail "usage: scenario.sh [--full | --short] PROGRAM [ARGUMENTS...]"
shots=$(e2e_artifact_dir "scenario-$mode-$(basename "${@: -1}")")
e2e_start_xvfb

# With the SDL build a preloaded library reads the context's depth bits (its record's word 9).
record=$shots/swap-counter counter=()
[[ -n ${E2E_SWAP_COUNTER:-} ]] && counter=(env LD_PRELOAD="$E2E_SWAP_COUNTER" RIBBON_SWAP_COUNTER="$record")
e2e_launch_viewer "${counter[@]}" "$@"
pid=$E2E_VIEWER_PID
window=$E2E_MAIN_WINDOW
e2e_screenshot_window "$window" "$shots/default.png"
class=${E2E_WM_CLASS:-}
[[ -z $class ]] || xprop -id "$window" WM_CLASS | grep -q "= \"$class\", \"$class\"$" ||
  e2e_fail "WM_CLASS is not $class: $(xprop -id "$window" WM_CLASS)"
# The icon as the window manager reads it: the size, then 0xAARRGGBB pixels.
[[ -z ${E2E_ICON:-} ]] || [[ $(xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+' _NET_WM_ICON |
  tr -dc '0-9,') == $(convert "$E2E_ICON[1]" -depth 8 rgba:- | od -An -tu1 -v -w4 | awk '
  BEGIN { printf "32,32" } { printf ",%.0f", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }') ]] ||
  e2e_fail "the window's icon is not the 256-colour image of $E2E_ICON"

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

# The 16 depth bits asked for: a triangle's two windings tie in depth and show as clean bands.
depth=$(od -An -t u8 -j 72 -N 8 "$record" 2>/dev/null | tr -d ' ')
[[ -z ${E2E_SWAP_COUNTER:-} || $depth == 16 ]] || e2e_fail "the context has ${depth:-no} depth bits"

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

  # Press on the model, four moves 0.3 s (E2E_SETTLE) apart, a shot while the button is still
  # down. Following the pointer, the model turns about 35 degrees and a quarter of the window
  # changes; a layer that missed the moves changed 0.08 of it (a stale position, then nothing).
  cx=$((left + width / 2)) cy=$((top + height / 2))
  share() { e2e_diff_pixels "$1" "$2" | awk -v n=$((width * height)) '{ printf "%.3f", $1 / n }'; }
  path() { for i in "$@"; do echo mousemove $((cx + 120 * i / 48)) $((cy + 32 * i / 48)); done; }
  xdotool mousemove $cx $cy sleep 0.1 mousedown 1
  for i in 12 24 36 48; do xdotool sleep "${E2E_SETTLE:-0.3}" $(path $i); done
  slow=$(e2e_wait_still_picture "$window" "$shots" held) || e2e_fail "the held model never stills"
  held=$(share "$shots/default.png" "$slow")
  e2e_number "$held" '>' 0.15 || e2e_fail "the model does not follow a held drag ($held)"

  # Back to the press point, where the release stops the model as it started; then the same drag
  # as one burst of 48 moves, sent while the program is stopped. Waiting together, they merge and
  # turn the model as far; taken one by one, each would overwrite the increment before it.
  for i in 36 24 12 0; do xdotool sleep "${E2E_SETTLE:-0.3}" $(path $i); done
  xdotool sleep 0.3 mouseup 1 sleep 0.3 mousedown 1 sleep 0.1
  kill -STOP "$pid"
  xdotool $(path $(seq 48)) sleep 0.2
  kill -CONT "$pid"
  burst=$(e2e_wait_still_picture "$window" "$shots" burst) || e2e_fail "the model never stills"
  apart=$(share "$slow" "$burst")
  e2e_log "burst of 48 moves: $(share "$shots/default.png" "$burst") of the window" \
    "changed, $apart differs from the slow drag"
  ((${E2E_BURST_CHECK:-1})) && e2e_number "$apart" '* 4 >' "$held" &&
    e2e_fail "a burst of moves turns the model less far than a slow drag"

  # Released, then pressed with the keyboard focus on the root window, where SDL takes no grab:
  # outside, only the X server knows the pointer. Out and back in along a ray from the trackball's
  # centre, which meets the rim at one point, the model keeps still but where depths tie (not so
  # if a position is dropped or read unsigned); released right of the window, it turns on.
  xdotool mouseup 1 windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')" mousedown 1
  to() { xdotool mousemove $((left + $1)) $((top + $2)) sleep "${E2E_SETTLE:-0.3}"; }
  still() { e2e_wait_still_picture "$window" "$shots" "$1"; }
  out_and_in() { # LEAVING_X Y, OUTSIDE_X Y, INSIDE_X Y
    to "$1" "$2" && to "$3" "$4" && out=$(still "out-$3-$4") && to "$5" "$6" &&
      moved=$(share "$out" "$(still "in-$5-$6")") && e2e_number "$moved" '<' 0.01 ||
      e2e_fail "back from ($3, $4) the model turned (${moved:-?} of the window changed)"
  }
  out_and_in $((width + 40)) -40 $((side / 2)) -40 $((side / 2)) 0
  out_and_in -40 -40 -40 $((side / 2)) 0 $((side / 2))
  to -40 $((side / 2)) && to $((width + 40)) $((side * 3 / 4)) && last=$(still right)
  xdotool mouseup 1
  e2e_wait_picture "$window" "$shots/spinning.png" eval '! e2e_same_picture "$last"' ||
    e2e_fail "the model does not keep turning after a release right of the window"
  xdotool windowfocus "$window"
fi

xdotool key Escape
e2e_expect_exit "$pid" 0 Esc
e2e_window_exists "$window" && e2e_fail "the window outlives the program"
e2e_log "$mode: passed (screenshots in $shots)"
