#!/usr/bin/env bash
# The viewer on SDL's Wayland driver with no X server, under a headless sway (as nobody for root,
# which sway refuses): the hint box alone first, Return, a 614 x 614 window on a 768-pixel-high
# output, a held drag, f, Esc and exit status 0. grim takes the shots.
# Usage: wayland.sh RIBBON WL_POINTER
set -uo pipefail
source "$(dirname "$0")/lib.sh"
shots=$(e2e_artifact_dir wayland)
run=$(mktemp -d /tmp/e2e-wayland.XXXXXX)
trap 'e2e_cleanup; rm -rf "$run"' EXIT
printf '%s\n' "output HEADLESS-1 resolution 1024x768" "xwayland disable" "default_border none" \
  "default_floating_border none" >"$run/config"
as=()
((EUID == 0)) && as=(setpriv --reuid=65534 --regid=65534 --clear-groups) && chown 65534 "$run"
chmod 700 "$run"
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export XDG_RUNTIME_DIR=$run
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${as[@]}" \
  sway -c "$run/config" >"$shots/sway.log" 2>&1 &
e2e_track_pid $!
e2e_wait_until 10 eval 'compgen -G "$run/sway-ipc.*" >/dev/null' || e2e_fail "sway did not start"
export WAYLAND_DISPLAY=wayland-1 SWAYSOCK=$(compgen -G "$run/sway-ipc.*")
# A keyboard for the whole run, as on a desktop, holding a key when the box first gets the focus:
# SDL looked such a key up in a layout it had not been told and died.
wtype -P x -s 600000 &
e2e_track_pid $!
exec 3> >(exec "$2" 1024 768)

# lib.sh's window helpers on sway: a window's id is "X Y WIDTH HEIGHT" from sway's tree, grim
# takes the shots and wtype presses the keys (in the focused window).
e2e_window_by_title() { swaymsg -t get_tree | python3 -c 'import json, re, sys
def tree(n): yield n; yield from (v for c in n["nodes"] + n["floating_nodes"] for v in tree(c))
r = next(v["rect"] for v in tree(json.load(sys.stdin)) if re.fullmatch(sys.argv[1], v.get("name") or ""))
print(r["x"], r["y"], r["width"], r["height"])' "$1" 2>/dev/null; }
e2e_window_geometry() { echo "$1"; }
e2e_screenshot_window() { grim -g "$(awk '{ print $1 "," $2, $3 "x" $4 }' <<<"$1")" - | convert - "$2"; }
e2e_key() { wtype -k "$2"; }

e2e_launch_viewer "$1"
pid=$E2E_VIEWER_PID window=$E2E_MAIN_WINDOW
read -r x y width height <<<"$window"
((width == 614 && height == 614)) || e2e_fail "window ${width}x$height, not 614x614"
shot() { e2e_screenshot_window "$window" "$shots/$1.png"; }
# The share of the window's pixels that differ between two shots.
share() { e2e_diff_pixels "$shots/$1.png" "$shots/$2.png" | awk -v n=$((width * height)) '{ print $1 / n }'; }
pointer() { echo "$@" >&3; sleep 0.3; }
# Held and moved, the model follows (an empty window would not change); released where pressed.
cx=$((x + width / 2)) cy=$((y + height / 2))
shot default
pointer move $cx $cy
pointer down
for i in 1 2 3 4; do pointer move $((cx + 30 * i)) $((cy + 8 * i)); done
e2e_wait_until 10 eval 'shot held && e2e_number "$(share default held)" ">" 0.15' ||
  e2e_fail "the model does not follow a held drag"
for i in 3 2 1 0; do pointer move $((cx + 30 * i)) $((cy + 8 * i)); done
pointer up
wtype f
e2e_wait_until 10 e2e_window_shows "$window" "$E2E_FOG_BACKGROUND" || e2e_fail "f brings no fog"
wtype -k Escape
e2e_expect_exit $pid 0 Esc
e2e_log "passed (screenshots in $shots)"
