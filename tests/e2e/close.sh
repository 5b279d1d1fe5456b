#!/usr/bin/env bash
# Closing the viewer's window the way a window manager does (the frame's close button sends
# WM_DELETE_WINDOW) ends the program with exit code 0.
# Usage: close.sh PATH_TO_RIBBON
set -uo pipefail
source "$(dirname "$0")/lib.sh"
viewer=${1:?usage: close.sh PATH_TO_RIBBON}
e2e_start_xvfb

e2e_launch_viewer "$viewer"
e2e_request_close "$E2E_MAIN_WINDOW" || e2e_fail "could not send the close request"
e2e_wait_exit "$E2E_VIEWER_PID" || e2e_fail "the program still runs after the close request"
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after the close request"
e2e_log "close: passed"
