# Bash helpers driving the viewer under a private X server. After e2e_start_xvfb, a program
# registered with e2e_track_pid is ended on exit. Waits poll against generous deadlines (seconds).
E2E_WINDOW_DEADLINE=${E2E_WINDOW_DEADLINE:-30}
E2E_EXIT_DEADLINE=${E2E_EXIT_DEADLINE:-20}
E2E_SCREEN_WIDTH=${E2E_SCREEN_WIDTH:-1024}
E2E_SCREEN_HEIGHT=${E2E_SCREEN_HEIGHT:-768}
E2E_XVFB_PID=
declare -gA E2E_TRACKED=() # pids of the programs under test
E2E_HINT_PREFIX="soft by Valmorin - "
E2E_MAIN_TITLE=" soft by Valmorin"
# Background colours: (0.15, 0.15, 0.15) and, with fog, (0.5, 0.25, 0.25), times 255.
E2E_BACKGROUND="38 38 38"
E2E_FOG_BACKGROUND="128 64 64"

e2e_log() { echo "e2e: $*" >&2; }
e2e_fail() { e2e_log "FAIL: $*" && exit 1; }
e2e_track_pid() { E2E_TRACKED[$1]=1; }
e2e_cleanup() { for pid in "${!E2E_TRACKED[@]}" $E2E_XVFB_PID; do kill "$pid" && wait "$pid"; done 2>/dev/null; }
e2e_running() { [[ $(ps -o stat= -p "$1" 2>/dev/null) == [^Z]* ]]; }
# e2e_number A '<' B compares decimal numbers.
e2e_number() { awk -v a="$1" -v b="$3" "BEGIN { exit !((a + 0) $2 (b + 0)) }"; }

# Runs "$@" every 0.1 s until it succeeds or DEADLINE seconds have passed.
e2e_wait_until() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# Directory for screenshots: $E2E_ARTIFACTS/NAME, emptied, when set, else a fresh temporary one.
e2e_artifact_dir() {
  [[ -n ${E2E_ARTIFACTS:-} ]] || { mktemp -d "/tmp/e2e-$1.XXXXXX"; return; }
  rm -rf "${E2E_ARTIFACTS:?}/$1" && mkdir -p "$E2E_ARTIFACTS/$1" && echo "$E2E_ARTIFACTS/$1"
}

# Starts Xvfb on a free display, exports DISPLAY and ends the server on exit. Numbers start at a
# pid-dependent point; when another server takes the same number at the same moment, ours exits
# (its lock file names the other) and the next number is tried.
e2e_start_xvfb() {
  local number=$((200 + $$ % 500)) tries
  trap e2e_cleanup EXIT
  unset WAYLAND_DISPLAY SDL_VIDEODRIVER # the program must use this server, through X11
  for ((tries = 0; tries < 50; tries++, number++)); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    # -noreset: a server resets when its last client leaves, refusing whoever connects meanwhile.
    Xvfb ":$number" -screen 0 "${E2E_SCREEN_WIDTH}x${E2E_SCREEN_HEIGHT}x24" -nolisten tcp \
      -noreset >/dev/null 2>&1 &
    E2E_XVFB_PID=$! DISPLAY=:$number
    export DISPLAY
    e2e_wait_until "$E2E_WINDOW_DEADLINE" eval '! e2e_running $E2E_XVFB_PID ||
      xwininfo -root >/dev/null 2>&1' && e2e_running "$E2E_XVFB_PID" &&
      [[ $(tr -d " " 2>/dev/null <"/tmp/.X$number-lock") == "$E2E_XVFB_PID" ]] &&
      { e2e_log "Xvfb on $DISPLAY"; return 0; }
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  done
  e2e_fail "could not start Xvfb"
}

# Prints the id of a window whose whole title matches the extended regular expression PATTERN
# (xwininfo also shows titles set only as UTF-8, as SDL's message boxes have).
e2e_window_by_title() {
  xwininfo -root -tree 2>/dev/null | awk -v pattern="^ *0x[0-9a-f]+ \"$1\": \\(" '
    !id && $0 ~ pattern { id = $1 }
    END { if (id) print id; exit !id }'
}
e2e_wait_window() { e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_by_title "$1"; }
e2e_wait_window_prefix() { e2e_wait_window "$1.*"; }
e2e_window_exists() { xwininfo -id "$1" >/dev/null 2>&1; }

# Prints "X Y WIDTH HEIGHT" of window ID: position on the screen, size of the X window.
e2e_window_geometry() {
  xwininfo -id "$1" 2>/dev/null |
    awk '/Absolute upper-left [XY]:|^ *(Width|Height):/ { v[n++] = $NF }
    END { if (n == 4) print v[0], v[1], v[2], v[3]; else exit 1 }'
}
e2e_window_has_size() { [[ $(e2e_window_geometry "$1") == *" $2 $3" ]]; }

# Waits for child PID to end and sets E2E_EXIT_STATUS; fails at $E2E_EXIT_DEADLINE. Call it
# directly, not in $(...): only the shell that started the process can collect its status.
e2e_wait_exit() {
  E2E_EXIT_STATUS=
  e2e_wait_until "$E2E_EXIT_DEADLINE" eval "! e2e_running $1" || return 1
  wait "$1" && E2E_EXIT_STATUS=0 || E2E_EXIT_STATUS=$?
  unset "E2E_TRACKED[$1]" # collected: the exit trap must not signal its reused pid
}
# Fails unless child PID ends after EVENT with exit status STATUS.
e2e_expect_exit() { # PID STATUS EVENT
  e2e_wait_exit "$1" || e2e_fail "the program still runs after $3"
  ((E2E_EXIT_STATUS == $2)) || e2e_fail "exit status $E2E_EXIT_STATUS after $3"
}

# Fails with MESSAGE, adding whether process PID still runs or how it ended.
e2e_fail_process() {
  e2e_running "$1" || { e2e_wait_exit "$1"; e2e_fail "$2 (the program ended: $E2E_EXIT_STATUS)"; }
  e2e_fail "$2 (the program is still running)"
}

# e2e_screenshot_window ID FILE: an 8-bit PNG of the window's area of the screen.
e2e_screenshot_window() {
  local x y w h
  read -r x y w h < <(e2e_window_geometry "$1") &&
    import -window root -depth 8 -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# Prints how many pixels of the two pictures differ by more than 2 %.
e2e_diff_pixels() {
  local count
  count=$(compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 >/dev/null)
  [[ $count =~ ^[0-9.e+]+$ ]] || { e2e_log "compare: $count"; return 1; }
  printf '%.0f\n' "$count"
}
e2e_same_picture() { [[ $(e2e_diff_pixels "$1" "$2") == 0 ]]; }
# e2e_wait_picture ID FILE PREDICATE... screenshots window ID into FILE until PREDICATE FILE holds.
e2e_wait_picture() { e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_shot_and "$@"; }
e2e_shot_and() { e2e_screenshot_window "$1" "$2" && "${@:3}" "$2"; }

# Screenshots window ID into DIR/NAME-N.png until two in a row are the same picture, and prints
# the last one's name; fails if the picture still changes at the deadline.
e2e_wait_still_picture() {
  local end=$((SECONDS + E2E_WINDOW_DEADLINE)) n=0 previous= shot
  while ((SECONDS < end)); do
    shot=$2/$3-$((n++)).png
    e2e_screenshot_window "$1" "$shot" || return 1
    [[ -n $previous ]] && e2e_same_picture "$previous" "$shot" && { echo "$shot"; return 0; }
    previous=$shot
    sleep 0.2
  done
  return 1
}

# Succeeds when the pixel at (5, 5) in window ID has colour "R G B", give or take 2.
e2e_window_shows() {
  e2e_screenshot_window "$1" png:- | convert - -crop 1x1+5+5 -depth 8 txt:- |
    awk -F'[(),]' -v want="$2" 'BEGIN { split(want, c, " ") } /^0,0:/ {
      ok = ($3 - c[1]) ^ 2 <= 4 && ($4 - c[2]) ^ 2 <= 4 && ($5 - c[3]) ^ 2 <= 4 } END { exit !ok }'
}

# Drags with the left button from (X1, Y1) to (X2, Y2) in STEPS moves, releasing at the end.
e2e_drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4 steps=${5:-8} i moves=()
  for ((i = 1; i <= steps; i++)); do
    moves+=(sleep 0.03 mousemove $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps)))
  done
  xdotool mousemove "$x1" "$y1" sleep 0.05 mousedown 1 "${moves[@]}" sleep 0.05 mouseup 1
}
e2e_click() { e2e_drag "$1" "$2" "$1" "$2" 0; }
e2e_key() { xdotool key --window "$1" "$2" 2>/dev/null; } # ID KEY

# Starts the viewer ("$@": a program, or a launcher and its arguments) and checks that its hint
# box comes first, with its caption, while no main window exists; dismisses it with Return and
# waits for the first frame. Sets E2E_VIEWER_PID, E2E_HINT_BOX and E2E_MAIN_WINDOW.
e2e_launch_viewer() {
  "$@" &
  E2E_VIEWER_PID=$!
  e2e_track_pid "$E2E_VIEWER_PID"
  E2E_HINT_BOX=$(e2e_wait_window "$E2E_HINT_PREFIX.*@.* ") ||
    e2e_fail_process "$E2E_VIEWER_PID" "no hint box titled \"$E2E_HINT_PREFIX...@... \" appeared"
  # Read for half a second, as a person would: a window that did not wait for the box shows by then.
  sleep 0.5
  e2e_window_by_title "$E2E_MAIN_TITLE" >/dev/null &&
    e2e_fail "the main window exists while the hint box is still up"
  e2e_key "$E2E_HINT_BOX" Return
  E2E_MAIN_WINDOW=$(e2e_wait_window "$E2E_MAIN_TITLE") ||
    e2e_fail_process "$E2E_VIEWER_PID" "no main window after Return"
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$E2E_MAIN_WINDOW" "$E2E_BACKGROUND" ||
    e2e_fail "the window never shows the background colour ($E2E_BACKGROUND)"
}
