#!/usr/bin/env bash
# Runs the Windows test programs of a build tree under Wine: one throwaway prefix per build tree
# and, while CTest runs, one private X server shared by every Wine process of that prefix. A
# prefix's wineserver and desktop process stay bound to the display they started with, so all
# its programs must see the same one.
#
#   wine-run.sh PREFIX --start      create the prefix if needed and start the X server
#   wine-run.sh PREFIX --stop       end the prefix's Wine processes and the X server
#   wine-run.sh PREFIX PROGRAM ARGS run PROGRAM, on that X server when it runs (else on $DISPLAY)
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
  kill -0 "$pid" 2>/dev/null && [[ -S /tmp/.X11-unix/X$number ]] && echo ":$number"
}

start_display() {
  local number pid
  for ((number = 90; number < 200; number++)); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    setsid Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    pid=$!
    for _ in $(seq 100); do
      [[ -S /tmp/.X11-unix/X$number ]] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [[ -S /tmp/.X11-unix/X$number ]] && kill -0 "$pid" 2>/dev/null; then
      echo "$number $pid" >"$state"
      return 0
    fi
  done
  echo "wine-run: cannot start Xvfb" >&2
  return 1
}

stop_all() {
  local number pid
  wineserver -k 2>/dev/null || true
  if [[ -f $state ]]; then
    read -r number pid <"$state"
    kill "$pid" 2>/dev/null || true
    rm -f "$state"
  fi
}

case ${1:-} in
  --start)
    exec 9>"$WINEPREFIX.lock"
    flock 9
    stop_all
    start_display
    # A new prefix's first start now and then fails to launch wineboot (seen once on a loaded
    # machine); a fresh prefix on the second try has always worked.
    for attempt in 1 2 3; do
      DISPLAY=$(running_display) wine wineboot.exe --init 9>&- && exit 0
      echo "wine-run: preparing the Wine prefix failed (try $attempt of 3)" >&2
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    done
    exit 1
    ;;
  --stop)
    exec 9>"$WINEPREFIX.lock"
    flock 9
    stop_all
    ;;
  *)
    if display=$(running_display); then
      export DISPLAY=$display
    fi
    exec wine "$@"
    ;;
esac
