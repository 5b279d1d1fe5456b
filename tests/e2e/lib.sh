# Shared helpers for driving the viewer under a private X server: sourced by the end-to-end
# scripts and by scripts/run. Bash only. Everything that waits does so against a deadline and
# polls; nothing sleeps for a fixed long time.
#
# A script sources this file, calls e2e_start_xvfb, starts the program under test and registers
# its pid with e2e_track_pid so that the exit trap ends it too.

# Deadlines in seconds. The machine is shared, so they are generous: a passing run never comes
# near them, and they only bound how long a broken run hangs.
E2E_WINDOW_DEADLINE=${E2E_WINDOW_DEADLINE:-30}
E2E_EXIT_DEADLINE=${E2E_EXIT_DEADLINE:-20}
E2E_SCREEN_WIDTH=${E2E_SCREEN_WIDTH:-1024}
E2E_SCREEN_HEIGHT=${E2E_SCREEN_HEIGHT:-768}
# Two screenshots count as the same picture when no pixel differs by more than this fuzz.
E2E_SAME_FUZZ=${E2E_SAME_FUZZ:-2%}

E2E_XVFB_PID=
E2E_TRACKED_PIDS=()

e2e_log() { echo "e2e: $*" >&2; }

e2e_fail() {
  echo "e2e: FAIL: $*" >&2
  if [[ -n $E2E_XVFB_PID ]] && ! e2e_running "$E2E_XVFB_PID"; then
    echo "e2e: the X server $DISPLAY had ended by then (was it killed by someone else?)" >&2
  fi
  exit 1
}

# Runs "$@" every 0.1 s until it succeeds or DEADLINE seconds have passed. Returns its status.
e2e_wait_until() {
  local deadline=$1
  shift
  local end=$((SECONDS + deadline))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# Directory for screenshots: $E2E_ARTIFACTS/<name> when set, else a fresh temporary directory.
e2e_artifact_dir() {
  local dir
  if [[ -n ${E2E_ARTIFACTS:-} ]]; then
    dir=$E2E_ARTIFACTS/$1
    rm -rf "$dir"
    mkdir -p "$dir"
  else
    dir=$(mktemp -d "/tmp/e2e-$1.XXXXXX")
  fi
  echo "$dir"
}

e2e_track_pid() { E2E_TRACKED_PIDS+=("$1"); }

# Forgets a process that has been collected, so that the exit trap never signals its reused pid.
e2e_untrack_pid() {
  local pid kept=()
  for pid in "${E2E_TRACKED_PIDS[@]}"; do
    [[ $pid == "$1" ]] || kept+=("$pid")
  done
  E2E_TRACKED_PIDS=("${kept[@]}")
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_TRACKED_PIDS[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  if [[ -n $E2E_XVFB_PID ]]; then
    kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  E2E_TRACKED_PIDS=()
  E2E_XVFB_PID=
}

# Starts Xvfb 1024 x 768 x 24 on a free display number, exports DISPLAY, and ends the server on
# exit. Numbers are tried upward from a point that depends on this shell's pid, far above the
# ones people and tools use by habit (0, 1, 99); a number some other server takes at the same
# moment makes ours exit, and the next one is tried.
e2e_start_xvfb() {
  local number=$((200 + $$ % 500)) tries
  trap e2e_cleanup EXIT
  # The program must use this server through X11, whatever the caller's session has.
  unset WAYLAND_DISPLAY SDL_VIDEODRIVER
  for ((tries = 0; tries < 50; tries++, number++)); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    # -noreset: by default the server resets whenever its last client leaves, and a program
    # that connects during the reset (right after one of our probes) is refused.
    Xvfb ":$number" -screen 0 "${E2E_SCREEN_WIDTH}x${E2E_SCREEN_HEIGHT}x24" -nolisten tcp \
      -noreset >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=:$number
    if e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_xvfb_answers && e2e_running "$E2E_XVFB_PID"; then
      e2e_log "Xvfb on $DISPLAY"
      return 0
    fi
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
  done
  e2e_fail "could not start Xvfb"
}

# Succeeds once our server answers, and at once if it has exited (the caller tells the two apart).
# The lock file holding our server's pid shows that the display is ours and not that of a server
# started at the same moment by someone else.
e2e_xvfb_answers() {
  e2e_running "$E2E_XVFB_PID" || return 0
  [[ $(tr -d ' ' <"/tmp/.X${DISPLAY#:}-lock" 2>/dev/null) == "$E2E_XVFB_PID" ]] &&
    xwininfo -root >/dev/null 2>&1
}

# --- Windows ---------------------------------------------------------------------------------

# Prints the id of a window whose title is exactly TITLE (xdotool reads WM_NAME).
e2e_window_by_title() {
  local title=$1 id
  id=$(xdotool search --name "^$(e2e_regex_quote "$title")\$" 2>/dev/null | head -n 1)
  [[ -n $id ]] && echo "$id"
}

# Prints the id of a top-level window whose title starts with PREFIX. Reads `xwininfo -root
# -tree`, which also shows titles set only as UTF-8 (SDL's message boxes).
e2e_window_by_title_prefix() {
  local prefix=$1
  xwininfo -root -tree 2>/dev/null | awk -v prefix="$prefix" '
    {
      start = index($0, "\"")
      if (start == 0) next
      rest = substr($0, start + 1)
      if (substr(rest, 1, length(prefix)) == prefix) { print $1; exit 0 }
    }' | grep .
}

# Prints the full title of window ID as xwininfo shows it.
e2e_window_title() {
  xwininfo -id "$1" 2>/dev/null | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p'
}

e2e_regex_quote() { sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1"; }

# Waits for a window titled exactly TITLE and prints its id.
e2e_wait_window() {
  local title=$1 end=$((SECONDS + E2E_WINDOW_DEADLINE)) id
  while ((SECONDS < end)); do
    id=$(e2e_window_by_title "$title") && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits for a window whose title starts with PREFIX (UTF-8 titles too) and prints its id.
e2e_wait_window_prefix() {
  local prefix=$1 end=$((SECONDS + E2E_WINDOW_DEADLINE)) id
  while ((SECONDS < end)); do
    id=$(e2e_window_by_title_prefix "$prefix") && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

e2e_window_exists() { xwininfo -id "$1" >/dev/null 2>&1; }

e2e_window_gone() { ! e2e_window_exists "$1"; }

e2e_window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Prints "X Y WIDTH HEIGHT" of window ID: position on the screen, size of the X window.
e2e_window_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    END { if (w != "") print x, y, w, h; else exit 1 }'
}

# Succeeds when window ID has size WIDTH x HEIGHT.
e2e_window_has_size() {
  local x y width height
  read -r x y width height < <(e2e_window_geometry "$1") || return 1
  [[ $width == "$2" && $height == "$3" ]]
}

# --- Processes -------------------------------------------------------------------------------

e2e_running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  [[ $state != Z* ]]
}

# Waits until child process PID has ended (deadline $E2E_EXIT_DEADLINE) and sets E2E_EXIT_STATUS
# to its exit status; returns 1 if it is still running at the deadline. Call it directly, not in
# $(...): only the shell that started the process can collect its status.
e2e_wait_exit() {
  local pid=$1
  E2E_EXIT_STATUS=
  e2e_wait_until "$E2E_EXIT_DEADLINE" eval "! e2e_running $pid" || return 1
  wait "$pid" && E2E_EXIT_STATUS=0 || E2E_EXIT_STATUS=$?
  e2e_untrack_pid "$pid"
}

# Fails the test with MESSAGE, adding whether process PID still runs or how it ended.
e2e_fail_process() {
  local pid=$1 message=$2
  if e2e_running "$pid"; then
    e2e_fail "$message (the program is still running)"
  fi
  wait "$pid" && E2E_EXIT_STATUS=0 || E2E_EXIT_STATUS=$?
  e2e_untrack_pid "$pid"
  e2e_fail "$message (the program ended with status $E2E_EXIT_STATUS)"
}

# --- Pictures --------------------------------------------------------------------------------

# Saves the whole screen as an 8-bit PNG.
e2e_screenshot() { import -window root -depth 8 "$1"; }

# Saves the region X Y WIDTH HEIGHT of the screen as an 8-bit PNG.
e2e_screenshot_region() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  import -window root -depth 8 -crop "${w}x${h}+${x}+${y}" +repage "$file"
}

# Saves the part of the screen covered by window ID.
e2e_screenshot_window() {
  local x y width height
  read -r x y width height < <(e2e_window_geometry "$1") || return 1
  e2e_screenshot_region "$2" "$x" "$y" "$width" "$height"
}

# Prints the number of pixels that differ between two pictures of the same size by more than
# FUZZ (default $E2E_SAME_FUZZ).
e2e_diff_pixels() {
  local count
  count=$(compare -metric AE -fuzz "${3:-$E2E_SAME_FUZZ}" "$1" "$2" null: 2>&1 >/dev/null)
  [[ $count =~ ^[0-9.e+]+$ ]] || { e2e_log "compare: $count"; return 1; }
  printf '%.0f\n' "$count"
}

e2e_same_picture() {
  local count
  count=$(e2e_diff_pixels "$1" "$2") && ((count == 0))
}

# Succeeds when the top-left corner pixel of window ID (5, 5 inside it) has colour "R G B".
e2e_window_shows() {
  local x y width height
  read -r x y width height < <(e2e_window_geometry "$1") || return 1
  e2e_colour_near "$(e2e_screen_pixel $((x + 5)) $((y + 5)))" "$2" 2
}

# Prints "R G B" of the screen pixel at X Y.
e2e_screen_pixel() {
  import -window root -depth 8 -crop "1x1+$1+$2" +repage txt:- | e2e_rgb_of_txt
}

# Turns ImageMagick's txt: listing of one pixel into "R G B".
e2e_rgb_of_txt() {
  sed -n 's/^0,0: *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
    awk '{ printf "%d %d %d\n", $1 + 0.5, $2 + 0.5, $3 + 0.5 }'
}

# Succeeds when colour "R G B" is within TOLERANCE of "R2 G2 B2" on every channel.
e2e_colour_near() {
  local -a a b
  local tolerance=$3 i d
  read -ra a <<<"$1"
  read -ra b <<<"$2"
  for i in 0 1 2; do
    d=$((a[i] - b[i]))
    ((d < 0)) && d=$((-d))
    ((d <= tolerance)) || return 1
  done
}

# Prints the share (0 to 1) of pixels of a picture that differ from colour "R G B" by more than
# FUZZ (default 4%).
e2e_share_unlike() {
  local file=$1 fuzz=${3:-4%} size count
  local -a rgb
  read -ra rgb <<<"$2"
  size=$(identify -format '%w %h' "$file") || return 1
  count=$(compare -metric AE -fuzz "$fuzz" "$file" \
    \( -size "${size/ /x}" "xc:rgb(${rgb[0]},${rgb[1]},${rgb[2]})" \) null: 2>&1 >/dev/null)
  [[ $count =~ ^[0-9.e+]+$ ]] || { e2e_log "compare: $count"; return 1; }
  awk -v c="$count" -v s="$size" 'BEGIN { split(s, d, " "); printf "%.4f\n", c / (d[1] * d[2]) }'
}

# Prints the shares of red-dominant and of green-dominant pixels of a picture: "RED GREEN".
# A pixel counts when its dominant channel exceeds both others by more than 20 (of 255).
e2e_hue_shares() {
  convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 > $2 + 20 && $1 > $3 + 20 { red++ }
    $2 > $1 + 20 && $2 > $3 + 20 { green++ }
    END { if (NR == 0) exit 1; printf "%.4f %.4f\n", red / NR, green / NR }'
}

# Compares a decimal number with a threshold: e2e_number A '<' B.
e2e_number() { awk -v a="$1" -v b="$3" "BEGIN { exit !((a + 0) $2 (b + 0)) }"; }

# Takes screenshots of window ID into FILE until PREDICATE FILE succeeds, against the deadline.
e2e_wait_picture() {
  local id=$1 file=$2
  shift 2
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_shot_and "$id" "$file" "$@"
}

e2e_shot_and() {
  local id=$1 file=$2
  shift 2
  e2e_screenshot_window "$id" "$file" && "$@" "$file"
}

# Takes screenshots of window ID into DIR/NAME-N.png until two in a row are the same picture, and
# prints the name of the last one; fails if the picture still changes at the deadline.
e2e_wait_still_picture() {
  local id=$1 dir=$2 name=$3 end=$((SECONDS + E2E_WINDOW_DEADLINE)) n=0 previous=
  while ((SECONDS < end)); do
    e2e_screenshot_window "$id" "$dir/$name-$n.png" || return 1
    if [[ -n $previous ]] && e2e_same_picture "$previous" "$dir/$name-$n.png"; then
      echo "$dir/$name-$n.png"
      return 0
    fi
    previous=$dir/$name-$n.png
    n=$((n + 1))
    sleep 0.2
  done
  return 1
}

# --- Input -----------------------------------------------------------------------------------

# Drags with the left button held from (X1, Y1) to (X2, Y2) in STEPS moves, in screen
# coordinates; the button comes up at the last position.
e2e_drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4 steps=${5:-8} i
  xdotool mousemove "$x1" "$y1"
  sleep 0.05
  xdotool mousedown 1
  for ((i = 1; i <= steps; i++)); do
    sleep 0.03
    xdotool mousemove $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
  done
  sleep 0.05
  xdotool mouseup 1
}

# Press and release of the left button on one pixel.
e2e_click() {
  xdotool mousemove "$1" "$2"
  sleep 0.05
  xdotool mousedown 1
  sleep 0.05
  xdotool mouseup 1
}

# Sends the close request a window manager sends when the frame's close button is used: a
# WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
e2e_request_close() {
  python3 "$(dirname "${BASH_SOURCE[0]}")/wm_delete_window.py" "$1"
}

# --- The viewer ------------------------------------------------------------------------------

E2E_HINT_PREFIX="soft by Valmorin - "
E2E_MAIN_TITLE=" soft by Valmorin"
# Background colours: (0.15, 0.15, 0.15) and, with fog, (0.5, 0.25, 0.25), times 255.
E2E_BACKGROUND="38 38 38"
E2E_FOG_BACKGROUND="128 64 64"

# Starts the viewer (the command and its arguments, e.g. a path, or wine64 and a path),
# dismisses its hint box with Return and waits for its window to show its first frame. Sets
# E2E_VIEWER_PID and E2E_MAIN_WINDOW.
e2e_launch_viewer() {
  local box
  "$@" &
  E2E_VIEWER_PID=$!
  e2e_track_pid "$E2E_VIEWER_PID"
  box=$(e2e_wait_window_prefix "$E2E_HINT_PREFIX") ||
    e2e_fail_process "$E2E_VIEWER_PID" "no hint box"
  xdotool key --window "$box" Return 2>/dev/null
  E2E_MAIN_WINDOW=$(e2e_wait_window "$E2E_MAIN_TITLE") ||
    e2e_fail_process "$E2E_VIEWER_PID" "no main window"
  e2e_wait_until "$E2E_WINDOW_DEADLINE" e2e_window_shows "$E2E_MAIN_WINDOW" "$E2E_BACKGROUND" ||
    e2e_fail "the window never shows the background colour"
}
