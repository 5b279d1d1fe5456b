#!/usr/bin/env bash
# Runs the Windows test programs of a build tree under Wine: one throwaway prefix per build tree
# and, while CTest runs, one private X server shared by every Wine process of that prefix.
#
#   wine-run.sh PREFIX --start      create the prefix if needed and start the X server
#   wine-run.sh PREFIX --stop       end the prefix's Wine processes and the X server
#   wine-run.sh PREFIX PROGRAM ARGS run PROGRAM, on that X server when it runs (else on $DISPLAY)
#
# Every program of the prefix must reach that one X server. The server picks a free display itself
# (-displayfd) and is taken as ours only while it holds that display's socket: a number chosen
# here and trusted because a socket for it existed could belong to another server started at the
# same moment (every build tree's tests draw from the same numbers), and once ours exited the
# programs ran with no display, CreateWindowExA returning NULL in every one. --start also ends
# any wineserver session of the prefix and waits for its processes to go, and checks after
# wineboot that all of them use the new display; a program started after the server died gets a
# new one.
set -euo pipefail
export WINEPREFIX=$1
export WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml=
shift
state=$WINEPREFIX.display  # "<display number> <Xvfb pid>"

running_display() {
  local number pid
  [[ -f $state ]] || return 1
  read -r number pid <"$state"
  kill -0 "$pid" 2>/dev/null && listens_on "$number" "$pid" && echo ":$number"
}

# Succeeds when process PID holds the socket that clients of display NUMBER reach first (the
# abstract one): the server there is ours, not one that took the number after ours ended.
listens_on() {
  local inode
  inode=$(awk -v name="@/tmp/.X11-unix/X$1" '$NF == name { print $7; exit }' /proc/net/unix)
  [[ -n $inode ]] && find "/proc/$2/fd" -lname "socket:\[$inode\]" 2>/dev/null | grep -q .
}

# Prints "PID DISPLAY" for each process of this prefix (the wineserver and Wine's programs), "-"
# for a process without a display. The search itself runs without the prefix in its environment.
prefix_processes() {
  local found environ display
  found=$(env -u WINEPREFIX grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null) ||
    true
  for environ in $found; do
    display=$(grep -azm1 '^DISPLAY=' "$environ" 2>/dev/null | tr -d '\0') || true
    display=${display#DISPLAY=}
    environ=${environ#/proc/}
    echo "${environ%/environ} ${display:--}"
  done
}

# Ends the prefix's wineserver session and waits until none of its processes is left.
end_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  for _ in $(seq 50); do
    [[ -z $(prefix_processes) ]] && return 0
    sleep 0.1
  done
  prefix_processes | while read -r pid _; do kill -9 "$pid" 2>/dev/null || true; done
}

# Starts Xvfb on a display it picks and records it once it runs, holds the display's socket and
# answers. -noreset: a server resets when its last client leaves, refusing whoever connects then.
start_display() {
  local number= pid
  setsid env -u WINEPREFIX Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$state" </dev/null >/dev/null 2>&1 9>&- &
  pid=$!
  for _ in $(seq 100); do
    read -r number <"$state" || true
    [[ -n $number ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -n $number ]]; then
    echo "$number $pid" >"$state"
    running_display >/dev/null && DISPLAY=:$number xwininfo -root >/dev/null 2>&1 && return 0
  fi
  kill "$pid" 2>/dev/null || true
  rm -f "$state"
  echo "wine-run: cannot start Xvfb" >&2
  return 1
}

stop_all() {
  local number pid
  end_session
  if [[ -f $state ]]; then
    read -r number pid <"$state"
    listens_on "$number" "$pid" && kill "$pid" 2>/dev/null
    rm -f "$state"
  fi
}

# Succeeds when every process of the prefix that has a display has ours.
wine_uses() {
  ! prefix_processes | awk -v d="$1" '$2 != "-" && $2 != d { bad = 1 } END { exit !bad }'
}

case ${1:-} in
  --start)
    exec 9>"$WINEPREFIX.lock"
    flock 9
    # A new prefix's first start now and then fails to launch wineboot (seen once on a loaded
    # machine); a fresh prefix on the second try has always worked.
    for attempt in 1 2 3; do
      stop_all
      start_display
      display=$(running_display)
      DISPLAY=$display wine wineboot.exe --init 9>&- && wine_uses "$display" && exit 0
      echo "wine-run: preparing the Wine prefix on $display failed (try $attempt of 3)" >&2
      ((attempt == 1)) || rm -rf "$WINEPREFIX"
    done
    exit 1
    ;;
  --stop)
    exec 9>"$WINEPREFIX.lock"
    flock 9
    stop_all
    ;;
  *)
    if [[ -f $state ]] && ! running_display >/dev/null; then
      # The X server went away while tests ran: the prefix's processes on it are of no use now.
      echo "wine-run: the prefix's X server is gone; starting another" >&2
      (flock 9 && { running_display >/dev/null || { stop_all && start_display; }; }) \
        9>"$WINEPREFIX.lock"
    fi
    if display=$(running_display); then
      export DISPLAY=$display
    fi
    exec wine "$@"
    ;;
esac
