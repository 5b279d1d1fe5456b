#!/usr/bin/env bash
# The viewer on SDL's Wayland driver with no X server, under a headless sway (as nobody for root,
# which sway refuses): the hint box alone first, Return, a 614 x 614 window on a 768-pixel-high
# output, a held drag, f, p, Esc and exit status 0. grim takes the shots.
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

# "X Y WIDTH HEIGHT" of the window whose title starts with $1, from sway's tree.
view() { swaymsg -t get_tree | python3 -c 'import json, sys
def tree(n): yield n; yield from (v for c in n["nodes"] + n["floating_nodes"] for v in tree(c))
r = next(v["rect"] for v in tree(json.load(sys.stdin)) if (v.get("name") or "").startswith(sys.argv[1]))
print(r["x"], r["y"], r["width"], r["height"])' "$1" 2>/dev/null; }
shot() { grim -g "$x,$y ${width}x$height" "$shots/$1.png"; }
# The share of the window's pixels that differ between two shots; the colour at (5, 5).
share() { e2e_diff_pixels "$shots/$1.png" "$shots/$2.png" | awk -v n=$((width * height)) '{ print $1 / n }'; }
corner() { [[ $(convert "$shots/$1.png" -crop 1x1+5+5 -depth 8 txt:- |
  awk -F'[(),]' '/^0,0:/ { print $3, $4, $5 }') == "$2" ]]; }
pointer() { echo "$@" >&3; sleep 0.3; }

"$1" & pid=$!
e2e_track_pid $pid
e2e_wait_until "$E2E_WINDOW_DEADLINE" view "$E2E_HINT_PREFIX" >/dev/null ||
  e2e_fail_process $pid "no hint box appeared"
sleep 0.5
view "$E2E_MAIN_TITLE" >/dev/null && e2e_fail "the main window exists while the hint box is up"
wtype -k Return
e2e_wait_until "$E2E_WINDOW_DEADLINE" view "$E2E_MAIN_TITLE" >/dev/null ||
  e2e_fail_process $pid "no main window after Return"
read -r x y width height < <(view "$E2E_MAIN_TITLE")
e2e_log "window ${width}x$height at ($x, $y)"
((width == 614 && height == 614)) || e2e_fail "window ${width}x$height, not 614x614"
# Held and moved, the model follows (an empty window would not change); released where pressed.
cx=$((x + width / 2)) cy=$((y + height / 2))
e2e_wait_until 10 eval 'shot default && corner default "$E2E_BACKGROUND"' ||
  e2e_fail "the window does not show the background"
pointer move $cx $cy
pointer down
for i in 1 2 3 4; do pointer move $((cx + 30 * i)) $((cy + 8 * i)); done
e2e_wait_until 10 eval 'shot held && e2e_number "$(share default held)" ">" 0.15' ||
  e2e_fail "the model does not follow a held drag"
for i in 3 2 1 0; do pointer move $((cx + 30 * i)) $((cy + 8 * i)); done
pointer up
wtype f
e2e_wait_until 10 eval 'shot fog && corner fog "$E2E_FOG_BACKGROUND"' || e2e_fail "f brings no fog"
wtype p
e2e_wait_until 10 eval 'shot wireframe && e2e_number "$(share fog wireframe)" ">" 0.1' ||
  e2e_fail "p does not draw the wireframe"
wtype -k Escape
e2e_wait_exit $pid || e2e_fail "the program still runs after Esc"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc"
e2e_log "passed (screenshots in $shots)"
